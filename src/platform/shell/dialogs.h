#pragma once
// The small dialogs of the main window: language, about, model and band,
// serial port, programming password, the transfer progress window and the
// connection report.

#include <functional>
#include <string>
#include <vector>

#include <QDialog>
#include <QTimer>

#include "shell/languages.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
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

// A port the dialog can offer: its shown name ("COM101 - /dev/ttyUSB0 -
// FT232R USB UART"), its number n of "COM" n and its device. The demo radio
// has number -1, a device typed by the user number 0.
struct PortChoice {
    PortChoice(std::string name = {}, int number = 0, std::string device = {}, std::string byId = {},
               std::string details = {})
        : name(std::move(name)), number(number), device(std::move(device)), byId(std::move(byId)),
          details(std::move(details)) {}
    std::string name;
    int number = 0;
    std::string device;
    std::string byId;      // its /dev/serial/by-id/ name, kept as "PortPath" when chosen
    std::string details;   // manufacturer, USB ids, serial number (tool tip)
};
inline constexpr int kDemoPortNumber = -1;
inline constexpr int kOtherPortNumber = 0;

// The serial port dialog. It shows the port in use: the device kept under
// "PortPath" (a USB cable by its by-id name, a device typed under "Other
// device..."), else "COM" comPort. OK keeps the choice: the number under
// "comPort", and for a USB cable its by-id name (a typed device: the device)
// under "PortPath"; a numbered port without one clears "PortPath"; the demo
// radio is kept for the run only.
class FrmComSet : public QDialog {
    Q_OBJECT
public:
    // The present ports (with the demo radio while it runs).
    using PortLister = std::function<std::vector<PortChoice>()>;
    // `demo` starts the simulated radio and returns its port (empty device
    // when it could not be started); empty: no demo choice.
    using DemoStarter = std::function<PortChoice()>;

    FrmComSet(Session& s, PortLister lister, DemoStarter demo = {}, QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;
    QPushButton* CommandDemo = nullptr;
    QPushButton* CommandOther = nullptr;
    QTimer ReShowComPortTimer;
    int PortID = 0;

    void accept() override;
    void refreshPorts();   // one tick of the 1000 ms refresh
    // Shows the entry of this device as the one in use (the demo radio).
    void selectDevice(const std::string& device);
    // Adds a device path typed by the user and selects it ("Other device...").
    void useOtherDevice(const std::string& device);
    // The entry chosen with OK (number 0 and no device when nothing was selected).
    PortChoice selected() const { return selected_; }

private:
    void fill(const PortChoice& wanted);
    PortChoice current() const;
    Session& s_;
    PortLister lister_;
    DemoStarter demo_;
    std::vector<PortChoice> ports_;
    std::vector<PortChoice> extra_;   // the demo radio once started here, typed devices
    PortChoice selected_;
};

// The connection report of Program > Check connection: the text, read-only,
// with Copy (to the clipboard, for a bug report) and Close.
class FrmConnectionReport : public QDialog {
    Q_OBJECT
public:
    FrmConnectionReport(Session& s, const QString& report, QWidget* parent = nullptr);
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* CommandCopy = nullptr;
    QPushButton* CommandClose = nullptr;
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
