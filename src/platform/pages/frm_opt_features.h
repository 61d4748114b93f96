#pragma once
// The optional-features page.

#include <array>
#include <map>
#include <memory>
#include <optional>

#include "pages/opt_features_page.h"
#include "shell/window_state.h"
#include "platform/pages/page_widgets.h"

namespace zr {

class FrmOptFeatures : public PageWindow, private DocumentView {
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
    // DocumentView: the channel references were re-checked.
    void channelRefsChecked() override { ReshowByCh(); }

    pages::OptFeatPage model_;
    std::map<int, QComboBox*> combos_;
    std::map<int, QCheckBox*> checks_;
    std::array<PageLineEdit*, 12> boxes_{};
    std::optional<ViewSubscription> subscription_;   // while the page is open
};

}  // namespace zr
