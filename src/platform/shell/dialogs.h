#pragma once
// The small dialogs of the main window: language, about, model and band,
// serial port, programming password and the transfer progress window.

#include <functional>
#include <string>
#include <vector>

#include <QDialog>
#include <QTimer>

#include "shell/languages.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zr {

struct Session;

// OK/Cancel captions (texts 9017, 9018) on a dialog's buttons.
void SetOkCancelCaptions(const Session& s, QPushButton* ok, QPushButton* cancel);
// Close/Help captions (texts 9023, 9025).
void SetCloseHelpCaptions(const Session& s, QPushButton* close, QPushButton* help);

class FrmSetLanguage : public QDialog {
    Q_OBJECT
public:
    FrmSetLanguage(Session& s, QWidget* parent = nullptr);
    QComboBox* Combo1 = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;
    // OK: the chosen language becomes the run's language and is stored in
    // mysetup.ini; the main window then re-captions every open window.
    void accept() override;

private:
    Session& s_;
    std::vector<LanguageEntry> languages_;
};

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(Session& s, QWidget* parent = nullptr);
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
};

class FrmModelInfo : public QDialog {
    Q_OBJECT
public:
    // `apply` changes model and band and starts the new document; it runs
    // only after the change question was answered with OK.
    FrmModelInfo(Session& s, std::function<void(const std::string& model, const std::string& band)> apply,
                 QWidget* parent = nullptr);
    QComboBox* ComboModel = nullptr;
    QComboBox* ComboBand = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;
    void accept() override;

private:
    Session& s_;
    std::function<void(const std::string&, const std::string&)> apply_;
};

// A port the dialog can offer: its shown name ("COM3") and number.
// The demo radio has number -1 and its pseudo-terminal as device.
struct PortChoice {
    std::string name;
    int number = 0;
    std::string device;
};
inline constexpr int kDemoPortNumber = -1;

class FrmComSet : public QDialog {
    Q_OBJECT
public:
    using PortLister = std::function<std::vector<PortChoice>()>;
    // `demo` starts the simulated radio and returns its port (number 0 when
    // it could not be started); empty: no demo choice.
    using DemoStarter = std::function<PortChoice()>;

    FrmComSet(Session& s, PortLister lister, DemoStarter demo = {}, QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;
    QPushButton* CommandDemo = nullptr;
    QTimer ReShowComPortTimer;
    int PortID = 0;

    void accept() override;
    void refreshPorts();   // one tick of the 1000 ms refresh
    // The entry chosen with OK (number 0 when nothing was selected).
    PortChoice selected() const { return selected_; }

private:
    void fill(int wanted);
    Session& s_;
    PortLister lister_;
    DemoStarter demo_;
    std::vector<PortChoice> ports_;
    std::vector<PortChoice> demoPort_;   // once the demo radio runs
    PortChoice selected_;
};

class FrmPassWord : public QDialog {
    Q_OBJECT
public:
    FrmPassWord(Session& s, QWidget* parent = nullptr);
    QLineEdit* Text1 = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;
    // The typed password, right-trimmed and cut at the first NUL.
    std::string password() const;
    void accept() override;

private:
    Session& s_;
};

class FrmProgress : public QDialog {
    Q_OBJECT
public:
    FrmProgress(Session& s, int captionText, QWidget* parent = nullptr);
    QLabel* Label1 = nullptr;
    QLabel* LabelPercent = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    void setPercent(int p);
    void reset() { setPercent(0); }
    int percent() const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace zr
