#pragma once
// The batch programming dialog: a range of memory channels, the edit items
// taking part, and their fields.

#include <QDialog>

#include "channels/channel_batch.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace zr {

class AppServices;

class FrmCHBatch : public QDialog {
    Q_OBJECT
public:
    explicit FrmCHBatch(AppServices& app, QWidget* parent = nullptr);

    void InitShowList();
    void ChangShowByLanguage();
    void SetShowData();
    void ShowBatchFun();
    // The fields of the window as the rules see them, and back.
    BatchFields fields() const;
    void showFields(const BatchFields& f);
    void Apply();
    bool editPanelShown() const;
    void switchPanel();

    // range
    QRadioButton* OptionAll = nullptr;
    QRadioButton* OptionRange = nullptr;
    QLineEdit* TextFrom = nullptr;
    QLineEdit* TextTo = nullptr;
    QCheckBox* CheckClear = nullptr;
    // item selection
    QCheckBox* CheckItem[kBatchItems] = {};
    QPushButton* CommandAll = nullptr;
    QPushButton* CommandNone = nullptr;
    QPushButton* CommandSwitch = nullptr;
    QPushButton* CommandApply = nullptr;
    QLabel* LabelHint = nullptr;     // shown while no item is chosen
    QPushButton* CommandClose = nullptr;
    QStackedWidget* Panels = nullptr;
    QGroupBox* ItemGroup[kBatchItems] = {};
    // item 0
    QLineEdit* TextRxStart = nullptr;
    QLineEdit* TextRxStep = nullptr;
    QComboBox* ComboRxDir = nullptr;
    // item 1
    QComboBox* ComboTxMode = nullptr;
    QLineEdit* TextOffset = nullptr;
    QComboBox* ComboOffsetDir = nullptr;
    QLineEdit* TextTxStart = nullptr;
    QLineEdit* TextTxStep = nullptr;
    QComboBox* ComboTxDir = nullptr;
    // items 2, 3
    QComboBox* ComboToneStart[2] = {};
    QLineEdit* TextToneInterval[2] = {};
    QComboBox* ComboToneDir[2] = {};
    QCheckBox* CheckToneRandom[2] = {};
    QCheckBox* CheckTxToneDefault = nullptr;
    // item 4
    QComboBox* ComboNameMode = nullptr;
    QLineEdit* TextName = nullptr;
    QLineEdit* TextNameStart = nullptr;
    QLineEdit* TextNameStep = nullptr;
    QComboBox* ComboNameDir = nullptr;
    // item 5
    QLineEdit* TextIdStart = nullptr;
    QLineEdit* TextIdInterval = nullptr;
    QComboBox* ComboIdDir = nullptr;
    // items 6..13
    QComboBox* ComboList[8] = {};
    // items 14..20
    QCheckBox* CheckValue[7] = {};

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void validate(QLineEdit* field);
    void showHint();
    void selectionChanged(int item, bool on);
    void updateEnabled();
    QLineEdit* textField(int maxLength, int (*filter)(int));

    AppServices& app_;
    Session& s_;
    QList<QPair<QLineEdit*, int (*)(int)>> filters_;
};

}  // namespace zr
