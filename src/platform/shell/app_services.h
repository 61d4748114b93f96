#pragma once
// The services the main window offers to its child windows. frmMain
// implements them; tests use a small fake. Child windows get an AppServices&
// when their factory is called and keep it for their lifetime.
//
// Child windows are created by name through factories registered with
// RegisterChildWindow (see src/platform/register_windows.cpp). The widget a
// factory returns gets the registered name as its objectName. A page widget
// is placed in the MDI area by ShowChild; a dialog (a QDialog) is shown
// modally by ShowModal.

#include <functional>

#include <QPoint>
#include <QString>

class QWidget;
class QMdiArea;

namespace zr {

struct Session;
class AppServices;
class DocumentController;
class ChannelFocus;
class ChannelCommandRunner;

using ChildWindowFactory = std::function<QWidget*(AppServices&)>;

// Registers (or replaces) the factory of the window called `name`.
void RegisterChildWindow(const QString& name, ChildWindowFactory factory);
// The factory registered under `name`, or an empty function.
ChildWindowFactory ChildWindowFactoryFor(const QString& name);
// Every registered name, sorted.
QStringList RegisteredChildWindows();
// Calls every window module's register function; defined in
// src/platform/register_windows.cpp.
void RegisterAllWindows();

// What a child window does when the user chose another language. A child
// widget that also derives from ChildHooks is asked through these; the
// defaults do nothing. (Everything else reaches the windows as events of
// the document controller or through ChannelFocus.)
class ChildHooks {
public:
    virtual ~ChildHooks() = default;

    // The main window re-captioned everything (language change).
    virtual void languageChanged() {}
    // Whether languageChanged re-captions the whole window where it stands.
    // A window that does not is opened anew in its place after the user
    // chose another language (its edit committed first); the document keeps
    // every value, so nothing is lost.
    virtual bool recaptionsInPlace() const { return false; }
};

class AppServices {
public:
    virtual ~AppServices() = default;

    virtual Session& session() = 0;
    // The document and every command on it; windows subscribe to its events.
    virtual DocumentController& controller() = 0;
    // The channel the channel table and the channel edit window share.
    virtual ChannelFocus& channelFocus() = 0;
    // The channel commands, on the rows the channel table published.
    virtual ChannelCommandRunner& channelCommands() = 0;

    // The main window, as owner for dialogs and message boxes.
    virtual QWidget* mainWidget() = 0;
    // The multiple-document area holding the page windows.
    virtual QMdiArea* mdiArea() = 0;

    // --- child windows ---------------------------------------------------
    // If a window called `name` is open, brings it to the front; otherwise
    // creates it with its factory, shows it in the MDI area and cascades the
    // child windows. Returns the window's widget (nullptr for an unknown name).
    virtual QWidget* ShowChild(const QString& name) = 0;
    // Creates the dialog called `name` and shows it modally over the main
    // window; returns the QDialog result (0 for an unknown name).
    virtual int ShowModal(const QString& name) = 0;
    // The open window called `name`, or nullptr.
    virtual QWidget* FindChildWindow(const QString& name) const = 0;
    // Closes every open window called `name`.
    virtual void UnloadByName(const QString& name) = 0;
    // Closes every child window.
    virtual void CloseCurAllWindows() = 0;
    // Closes every child window but `keep`.
    virtual void CloseCurAllOtherWindows(QWidget* keep) = 0;
    // Cascades the child windows.
    virtual void CascadeChildren() = 0;

    // --- main window state -----------------------------------------------
    // Refreshes the window title, the side panel label and the tree root.
    virtual void ShowMainTxt() = 0;
    // Rebuilds the navigation tree (and the DTMF menu item's visibility).
    virtual void LoadTree() = 0;
    // Closes all child windows and starts the 100 ms new-document timer.
    virtual void LoadNewDoc() = 0;
    // Shows or hides the channel-edit menu and tool bar buttons; the channel
    // table calls it when it becomes or stops being the active page.
    virtual void ShowCHInfo(bool show) = 0;
    // Gives the open channel table the focus; every window takes what is
    // being edited into the document (the controller's commitEdits).
    virtual void SetSaveEditData() = 0;
    // Channel-edit command 1..8: SetSaveEditData, then the command runs from
    // the 20 ms one-shot timer once the current event has been handled.
    virtual void StartChannelCommand(int command) = 0;
    // Pops up the channel-edit menu at a global screen position.
    virtual void PopupChannelMenu(const QPoint& globalPos) = 0;
    // Around a change of the document that no menu command starts (a drop):
    // what came before becomes its own undo step, the change one named `name`.
    virtual void BeginDocumentCommand() {}
    virtual void EndDocumentCommand(const QString& /*name*/) {}
    // A short message in the status bar ("Exported 42 channels to list.csv").
    virtual void ShowStatusMessage(const QString& /*text*/) {}

    // --- help --------------------------------------------------------------
    // Opens the program's help at a context number (0: the default topic).
    virtual void ShowHelp(int context) = 0;

    // --- transfers --------------------------------------------------------
    virtual void StartRead() = 0;
    virtual void StartWrite() = 0;
    // Closes the dealer information window and reads it from the radio.
    virtual void StartDealerRead() = 0;
};

}  // namespace zr
