#pragma once
// The channel edit window: every setting of one channel; it follows the
// channel table's edit row, and choosing another channel moves that row.

#include <optional>

#include <QWidget>

#include "shell/window_state.h"
#include "platform/shell/app_services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zr {

class frmCommChInfo;

class FrmCHInfoEdit : public QWidget, public ChildHooks, private DocumentView {
    Q_OBJECT
public:
    explicit FrmCHInfoEdit(AppServices& app, QWidget* parent = nullptr);
    ~FrmCHInfoEdit() override;

    void SetGridEditData(bool rIsGridChange);
    void ReShowEditTxFre(bool rOffSet);
    // The channel shown (1..129).
    int shownChannel() const;

    // ChildHooks
    void commitEdit() override;
    void useOffsetChanged(bool useOffset) override { ReShowEditTxFre(useOffset); }
    void languageChanged() override;
    bool recaptionsInPlace() const override { return true; }

    bool WandToSave = true;

    QComboBox* ComboCh = nullptr;        // channel selector
    QComboBox* ComboRx = nullptr;
    QComboBox* ComboTx = nullptr;
    QLineEdit* TextName[6] = {};
    QComboBox* ComboRxTone = nullptr;
    QComboBox* ComboTxTone = nullptr;
    QComboBox* ComboPower = nullptr;     // always disabled
    QComboBox* ComboOptSignal = nullptr;
    QComboBox* ComboAutoDial = nullptr;
    QComboBox* ComboPttId = nullptr;
    QComboBox* ComboSpacing = nullptr;   // always disabled
    QComboBox* ComboBusyLock = nullptr;
    QComboBox* ComboRelation = nullptr;
    QLineEdit* TextIdCode = nullptr;
    QCheckBox* CheckScanSkip = nullptr;
    QCheckBox* CheckTxInhibit = nullptr;
    QCheckBox* CheckWhisper = nullptr;
    QCheckBox* CheckCompander = nullptr;
    QLabel* LabelTx = nullptr;
    QPushButton* CommandClose = nullptr;
    QPushButton* CommandHelp = nullptr;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void caption();
    void fill(int k);
    void fillEmpty();
    void rebuildBusyLock(int count);
    void writeChooser(QComboBox* box);
    void writeName();
    void writeIdCode();
    void writeFrequency(QComboBox* box);
    void fillFrequencyLists();
    int itemOf(QComboBox* box) const;
    frmCommChInfo* table() const;

    // DocumentView: the window shows the table's edit row again after every
    // change of the document.
    void channelChanged(int) override { SetGridEditData(true); }
    void channelsChanged() override { SetGridEditData(true); }
    void documentReplaced() override {
        fillFrequencyLists();
        SetGridEditData(true);
    }

    AppServices& app_;
    Session& s_;
    QStringList busyLockTexts_;          // the four entries, values 0..3
    QList<QLabel*> labels_;
    bool filling_ = false;
    std::optional<ViewSubscription> subscription_;   // while the window is open
};

}  // namespace zr
