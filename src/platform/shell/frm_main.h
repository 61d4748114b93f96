#pragma once
// frmMain: the one top-level window. It holds the page windows in an MDI
// area and carries the menu bar, the tool bar, the status bar and the side
// panel with the navigation tree; it turns every command into a call of the
// code that does the work.

#include <functional>
#include <memory>
#include <optional>

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include "channels/channel_commands.h"
#include "control/document_events.h"
#include "platform/channels/channel_command_runner.h"
#include "platform/channels/channel_focus.h"
#include "platform/shell/app_services.h"
#include "platform/shell/dialogs.h"
#include "platform/shell/help_window.h"

class QAction;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace zr {

struct Session;
class FrmProgress;
class MainEditing;

// The thin bar on the right edge of the side panel; dragging it resizes the
// panel.
class SplitterBar : public QWidget {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget* parent = nullptr);
    bool dragging() const { return dragging_; }
signals:
    // Horizontal pointer position relative to the bar's left edge, in pixels.
    void dragMoved(int x);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    bool dragging_ = false;
};

// Twips of the stored window placement and the splitter rules.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kMinSidePanelTwips = 300;

class frmMain : public QMainWindow, public AppServices, private DocumentListener {
    Q_OBJECT
public:
    // Every command goes to the document controller; the window renders what
    // its events tell.
    frmMain(Session& s, DocumentController& controller, QWidget* parent = nullptr);
    ~frmMain() override;

    // Runs the load steps: placement, captions, tree, the new document and
    // the channel table. Called once after construction.
    void Load();

    // The port dialog (Settings > Port), the status bar's text of the port
    // in use, and Program > Check connection; the program sets them.
    void setPortCommand(std::function<void()> command) { portCommand_ = std::move(command); }
    void setPortLabel(std::function<QString()> label) { portLabel_ = std::move(label); }
    void setCheckConnection(std::function<void()> check) { checkConnection_ = std::move(check); }
    // Shows the port in use in the status bar.
    void showPortInUse();
    // Asked first by the write command; returning true takes the command
    // over (the write with a backup before it).
    void setWriteGuard(std::function<bool()> guard) { writeGuard_ = std::move(guard); }

    // --- AppServices ---
    Session& session() override { return s_; }
    DocumentController& controller() override { return ctl_; }
    ChannelFocus& channelFocus() override { return focus_; }
    ChannelCommandRunner& channelCommands() override { return *channelCommands_; }
    QWidget* mainWidget() override { return this; }
    QMdiArea* mdiArea() override { return mdi_; }
    QWidget* ShowChild(const QString& name) override;
    int ShowModal(const QString& name) override;
    QWidget* FindChildWindow(const QString& name) const override;
    void UnloadByName(const QString& name) override;
    void CloseCurAllWindows() override;
    void CloseCurAllOtherWindows(QWidget* keep) override;
    void CascadeChildren() override;
    void ShowMainTxt() override;
    void LoadTree() override;
    void LoadNewDoc() override;
    void ShowCHInfo(bool show) override;
    // Enables the channel-edit commands (menu items, tool bar buttons and
    // their shortcuts) as they apply to the channel table's selection.
    void ShowChannelCommands(const ChannelCommandStates& states);
    void SetSaveEditData() override;
    void StartChannelCommand(int command) override;
    void PopupChannelMenu(const QPoint& globalPos) override;
    void ShowHelp(int context) override;
    void StartRead() override;
    void StartWrite() override;
    void StartDealerRead() override;
    void ShowStatusMessage(const QString& text) override;
    void BeginDocumentCommand() override;
    void EndDocumentCommand(const QString& name) override;

    // Loads and shows the channel table for the document now held.
    void showChannelTable();
    // Ends the program at once, without further questions.
    void endProgram();

    // Re-captions menus, tool tips, status bar and title; rebuilds the tree
    // when asked.
    void Change_Language(bool withTree);
    // After a change of the run's language: the main window, the background,
    // every open page (in place, or opened anew at its place) and the help
    // window take the new language's texts.
    void RecaptionAll();
    // Redraws the tiled background picture.
    void LoadBKPic();
    // Opens every page that does not re-caption itself anew at its place
    // (after a language change); with commitFirst its edit is taken into the
    // document before.
    void reopenPages(bool commitFirst);
    // The name of the user's settings store of the program.
    QString settingsStoreName() const { return placementStoreName(); }
    // Undo, redo, recent documents and status messages.
    MainEditing& editing() { return *editing_; }

    // The window title for the current document.
    QString titleText() const;
    // Side panel width in twips, and one splitter move by x twips.
    int sidePanelTwips() const;
    void dragSplitter(int xTwips);

    // Named parts, for the windows that need them and for tests.
    QAction* action(const QString& name) const { return actions_.value(name); }
    QAction* toolButton(const QString& key) const { return toolActions_.value(key); }
    QToolBar* toolBar() const { return tbToolBar_; }
    QTreeWidget* tree() const { return TreeView1_; }
    QWidget* sidePanel() const { return sidePanel_; }
    SplitterBar* splitterBar() const { return CommandMove_; }
    QLabel* statusPanel(int n) const;
    FrmProgress* progressWindow() const { return progress_; }
    QMenu* channelMenu() const { return MnuCHEdit_; }
    // Open page widgets (not yet closing).
    QList<QWidget*> childWindows() const;
    // The help window, once opened.
    HelpWindow* helpWindow() const { return help_; }
    int pendingChannelCommand() const { return pendingCommand_; }

    // Commands (menu, tool bar and tree call these).
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void toolNewFile_Click();
    void mnuModelInfo_Click();
    void mnuComm_Click();
    void mnuLanguage_Click();
    void mnuProPassWord_Click();
    void mnuHelpTopic_Click();
    void mnuHelpAbout_Click();
    void treeEntry_Click(const QString& key);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    // A document or a channel list dropped on the window (file_drop.h).
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // DocumentListener: what the window shows follows the document.
    void documentClosing() override { CloseCurAllWindows(); }
    void documentReplaced() override;
    void titleChanged() override { ShowMainTxt(); }
    void transferStarted(link::TransferKind kind) override;
    void transferProgressShown(link::TransferKind kind, const std::string& caption) override;
    void transferProgress(int percent) override;
    void transferProgressClosed() override;
    void transferEnded(link::TransferKind kind, bool success) override;
    void programEnding() override;

    void buildMenus();
    void buildToolBar();
    void buildSidePanel();
    void buildStatusBar();
    QAction* addItem(QMenu* menu, const QString& name, int textKey, int helpContext,
                     const QKeySequence& shortcut, std::function<void()> run);
    QMenu* addMenu(const QString& name, int textKey, int helpContext);
    void channelEditTimer_Timer();
    void restorePlacement();
    QString placementStoreName() const;
    void savePlacement();
    QMdiSubWindow* subWindowOf(const QString& name) const;
    void runGuarded(const char* routine, const std::function<void()>& f);

    Session& s_;
    DocumentController& ctl_;
    ChannelFocus focus_;
    std::unique_ptr<ChannelCommandRunner> channelCommands_;
    std::function<void()> portCommand_;
    std::function<QString()> portLabel_;
    std::function<void()> checkConnection_;
    std::function<bool()> writeGuard_;

    QMdiArea* mdi_ = nullptr;
    QToolBar* tbToolBar_ = nullptr;
    QWidget* sidePanel_ = nullptr;
    QLabel* sideLabel_ = nullptr;
    QTreeWidget* TreeView1_ = nullptr;
    SplitterBar* CommandMove_ = nullptr;
    QLabel* panels_[3] = {};
    QMenu* MnuCHEdit_ = nullptr;
    QHash<QString, QAction*> actions_;        // menu items and menus by name
    QHash<QString, QAction*> toolActions_;    // tool bar buttons by key
    QHash<QAction*, int> textKeys_;           // caption key of every menu action
    QHash<QAction*, int> helpContexts_;
    QList<QAction*> channelToolActions_;      // tool bar buttons 11..19
    QList<QAction*> channelMenuActions_;
    ChannelCommandStates channelStates_;      // of the table's current row
    bool channelCommandsShown_ = false;
    void applyChannelCommandStates();

    QTimer channelEditTimer_;   // 20 ms one-shot
    int pendingCommand_ = 0;
    int sideWidthTwips_ = 3450;

    MainEditing* editing_ = nullptr;
    QHash<int, QAction*> commandActions_;     // channel-edit menu items by command
    QPointer<FrmProgress> progress_;
    QPointer<HelpWindow> help_;
    bool closing_ = false;
    bool shownOnce_ = false;
    bool loading_ = false;
    std::optional<ListenerSubscription> subscription_;
};

}  // namespace zr
