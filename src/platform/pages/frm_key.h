#pragma once
// The DTMF, scan, alert, programmable-key and embedded-message pages.

#include <array>

#include <QTabWidget>

#include "pages/settings_pages.h"
#include "platform/pages/page_widgets.h"

namespace zr {

class FrmDTMF : public PageWindow {
    Q_OBJECT
public:
    explicit FrmDTMF(AppServices& app, QWidget* parent = nullptr);
    QComboBox* combo(int id) const { return combos_[id]; }
    PageLineEdit* codeBox(int n) const { return codes_[n]; }
    QCheckBox* Check1 = nullptr;   // side tone
    QTabWidget* tabs = nullptr;

private:
    void showAll();
    void reshow() override {
        model_.open();
        showAll();
    }
    pages::DtmfPage model_;
    std::array<QComboBox*, pages::DtmfPage::ListCount> combos_{};
    std::array<PageLineEdit*, pages::DtmfPage::kCodeCount> codes_{};
};

class FrmScan : public PageWindow {
    Q_OBJECT
public:
    explicit FrmScan(AppServices& app, QWidget* parent = nullptr);
    QComboBox* combo(int id) const { return combos_[id]; }
    QCheckBox* CheckEntry = nullptr;
    QCheckBox* CheckExit = nullptr;

private:
    void showAll();
    void reshow() override {
        model_.open();
        showAll();
    }
    pages::ScanPage model_;
    std::array<QComboBox*, pages::ScanPage::ListCount> combos_{};
};

class FrmAlert : public PageWindow {
    Q_OBJECT
public:
    explicit FrmAlert(AppServices& app, QWidget* parent = nullptr);
    QComboBox* combo(int id) const { return combos_[id]; }

private:
    void showAll();
    void reshow() override {
        model_.open();
        showAll();
    }
    pages::AlertPage model_;
    std::array<QComboBox*, pages::AlertPage::ListCount> combos_{};
};

class FrmKey : public PageWindow {
    Q_OBJECT
public:
    explicit FrmKey(AppServices& app, QWidget* parent = nullptr);
    QComboBox* combo(int id) const { return combos_[id]; }
    // Re-selects the key lists from the document (RefreshKeyPage); runs
    // whenever the scan settings changed.
    void refreshKeys();

private:
    void settingsChanged(SettingsRecord r) override {
        if (r == SettingsRecord::Scan) refreshKeys();
    }
    void showAll();
    void reshow() override {
        model_.open();
        showAll();
    }
    pages::KeyPage model_;
    std::array<QComboBox*, pages::KeyPage::kListCount> combos_{};
};

class FrmEmbMsg : public PageWindow {
    Q_OBJECT
public:
    explicit FrmEmbMsg(AppServices& app, QWidget* parent = nullptr);
    PageLineEdit* line(int i) const { return lines_[i]; }

private:
    void reshow() override;
    std::array<PageLineEdit*, 4> lines_{};
};

}  // namespace zr
