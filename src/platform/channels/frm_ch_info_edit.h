#pragma once
// The channel edit window: every setting of one channel; it follows the
// channel table's edit row, and choosing another channel moves that row.

#include <optional>

#include <QWidget>

#include "control/document_events.h"
#include "platform/shell/app_services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zr {

class DocumentController;

class FrmCHInfoEdit : public QWidget, public ChildHooks, private DocumentListener {
    Q_OBJECT
public:
    explicit FrmCHInfoEdit(AppServices& app, QWidget* parent = nullptr);
    ~FrmCHInfoEdit() override;

    void SetGridEditData(bool rIsGridChange);
    void ReShowEditTxFre(bool rOffSet);
    // The channel shown (1..129).
    int shownChannel() const;

    // Writes the name or ID code being typed.
    void commitEdit();

    // ChildHooks
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

    // DocumentListener: the window shows the shared channel again after every
    // change of the document.
    void commitEdits() override { commitEdit(); }
    void channelChanged(int) override { SetGridEditData(true); }
    void channelsChanged() override { SetGridEditData(true); }
    void settingsChanged(SettingsRecord r) override {
        if (r == SettingsRecord::Dtmf) SetGridEditData(true);   // the auto-dial memories
    }
    void documentReplaced() override {
        fillFrequencyLists();
        SetGridEditData(true);
    }
    void habitsChanged() override;

    AppServices& app_;
    Session& s_;
    DocumentController& ctl_;
    QStringList busyLockTexts_;          // the four entries, values 0..3
    QList<QLabel*> labels_;
    bool filling_ = false;
    std::optional<ListenerSubscription> subscription_;   // while the window is open
};

}  // namespace zr
