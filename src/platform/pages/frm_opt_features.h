#pragma once
// The optional-features page.

#include <array>
#include <map>
#include <memory>
#include <optional>

#include "pages/opt_features_page.h"
#include "platform/pages/page_widgets.h"

namespace zr {

class FrmOptFeatures : public PageWindow {
    Q_OBJECT
public:
    explicit FrmOptFeatures(AppServices& app, QWidget* parent = nullptr);
    ~FrmOptFeatures() override;

    // The set of memory or FM channels changed.
    void ReshowByCh();
    void SaveOptFeat(int id) { model_.SaveOptFeat(id); }

    QComboBox* combo(int id) const { return combos_.count(id) ? combos_.at(id) : nullptr; }
    QCheckBox* checkBox(int id) const { return checks_.count(id) ? checks_.at(id) : nullptr; }
    PageLineEdit* powerOnBox(int n) const { return boxes_[n]; }
    const pages::OptFeatPage& model() const { return model_; }

private:
    void showAll();
    // The channel references were checked again (the set of channels
    // changed), or the document was replaced.
    void settingsChanged(SettingsRecord r) override {
        if (r == SettingsRecord::OptFeat) ReshowByCh();
    }
    void reshow() override {
        model_.open();
        showAll();
    }

    pages::OptFeatPage model_;
    std::map<int, QComboBox*> combos_;
    std::map<int, QCheckBox*> checks_;
    std::array<PageLineEdit*, 12> boxes_{};
};

}  // namespace zr
