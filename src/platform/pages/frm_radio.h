#pragma once
// The FM broadcast page, the dealer information window and the factory test
// data dialog.

#include <array>

#include <QDialog>
#include <QTableWidget>

#include "pages/other_pages.h"
#include "platform/pages/page_widgets.h"

class QGroupBox;

namespace zr {

class FrmRadio : public PageWindow {
    Q_OBJECT
public:
    explicit FrmRadio(AppServices& app, QWidget* parent = nullptr);

    QTableWidget* MSFlexGrid1 = nullptr;
    PageLineEdit* Text1 = nullptr;   // the editing box

    // Enters cell (row 1..20, column 1) and shows the editing box over it.
    void enterCell(int row);
    // Commits the editing box into the entered row.
    void commitEdit() override;
    int enteredRow() const { return editRow_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void reshow() override;
    void showRow(int row);
    void placeEditor();
    pages::FmPage model_;
    int editRow_ = 0;
};

class FrmRadioInfo : public PageWindow {
    Q_OBJECT
public:
    explicit FrmRadioInfo(AppServices& app, QWidget* parent = nullptr);
    // Fills the fields from the dealer information of the document.
    void ShowByData();

    std::vector<QWidget*> fields;   // in the order of the dealer information view
    QComboBox* ComboModel = nullptr;
    QComboBox* ComboBand = nullptr;
    QGroupBox* FrameDealer = nullptr;

private:
    void reshow() override { ShowByData(); }
    void settingsChanged(SettingsRecord r) override {
        if (r == SettingsRecord::RadioInfo) ShowByData();
    }
};

class FrmTestData : public QDialog {
    Q_OBJECT
public:
    explicit FrmTestData(AppServices& app, QWidget* parent = nullptr);

    std::array<PageLineEdit*, pages::TestDataDialogModel::kBoxes> boxes{};
    QPushButton* CommandLoad = nullptr;
    QPushButton* CommandSave = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;

    void accept() override;

private:
    void showBoxes();
    void load();
    void save();
    AppServices& app_;
    pages::TestDataDialogModel model_;
};

}  // namespace zr
