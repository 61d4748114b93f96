#include "platform/shell/frm_main.h"
#include "platform/compare/compare_tools.h"
#include "platform/extras/extras.h"

#include <filesystem>
#include <stdexcept>

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "channels/channel_plans.h"
#include "control/document_controller.h"
#include "platform/shell/file_drop.h"
#include "platform/shell/help_window.h"
#include "platform/shell/main_editing.h"
#include "platform/shell/texts.h"
#include "shell/prompter.h"
#include "shell/language.h"
#include "shell/languages.h"
#include "shell/session.h"

// The icons live in a resource of this static library.
static void initShellResources() { Q_INIT_RESOURCE(icons); }

namespace zr {

namespace {

const char* const kModelShown = "ZR-M83KGMRS";
const char* const kChannelTable = "frmCommChInfo";
const char* const kChannelEdit = "FrmCHInfoEdit";
const char* const kDealerWindow = "FrmRadioInfo";
const char* const kNameProperty = "zrChildName";

// The MDI frame of a page. The page goes first when the frame is destroyed,
// so that the page's own clean-up still finds an intact main window.
class PageFrame : public QMdiSubWindow {
public:
    PageFrame() = default;
    ~PageFrame() override {
        setProperty("zrClosing", true);
        delete widget();
    }
};

// Watches a page inside its MDI frame: when the page itself was closed, the
// frame closes too, so no empty frame stays behind.
class ChildCloseWatcher : public QObject {
public:
    explicit ChildCloseWatcher(QMdiSubWindow* frame) : QObject(frame), frame_(frame) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Close) {
            QPointer<QWidget> page = qobject_cast<QWidget*>(o);
            QPointer<QMdiSubWindow> frame = frame_;
            QTimer::singleShot(0, frame_, [page, frame] {
                if (frame && frame->isVisible() && !frame->isMinimized() && (!page || !page->isVisible())) {
                    frame->setProperty("zrClosing", true);
                    frame->close();
                }
            });
        }
        return false;
    }

private:
    QMdiSubWindow* frame_;
};

ChildHooks* hooksOf(QWidget* w) { return w ? dynamic_cast<ChildHooks*>(w) : nullptr; }

QIcon icon(const char* name) { return QIcon(QString(":/zrcps/icons/%1.svg").arg(name)); }

}  // namespace

// --- splitter bar -------------------------------------------------------------

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent) {
    setObjectName("CommandMove");
    setCursor(Qt::SizeHorCursor);
    setFixedWidth(5);
}

void SplitterBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) dragging_ = true;
}

void SplitterBar::mouseMoveEvent(QMouseEvent* e) {
    if (dragging_) emit dragMoved(int(e->position().x()));
}

void SplitterBar::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void SplitterBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(palette().mid().color());
    p.drawLine(width() / 2, 0, width() / 2, height());
}

// --- construction ---------------------------------------------------------------

frmMain::frmMain(Session& s, DocumentController& controller, QWidget* parent)
    : QMainWindow(parent), s_(s), ctl_(controller) {
    initShellResources();
    setObjectName("frmMain");
    setAcceptDrops(true);
    setWindowIcon(icon("zrcps"));

    mdi_ = new QMdiArea;
    mdi_->setObjectName("MDIClient");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    buildSidePanel();
    auto* central = new QWidget;
    auto* h = new QHBoxLayout(central);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    h->addWidget(sidePanel_);
    h->addWidget(CommandMove_);
    h->addWidget(mdi_, 1);
    setCentralWidget(central);

    editing_ = new MainEditing(*this, s_);
    channelCommands_ = std::make_unique<ChannelCommandRunner>(*this);
    connect(&focus_, &ChannelFocus::selectionChanged, this,
            [this] { ShowChannelCommands(channelCommands_->states(focus_.selection())); });
    buildMenus();
    buildToolBar();
    buildStatusBar();

    channelEditTimer_.setSingleShot(true);
    channelEditTimer_.setInterval(20);
    connect(&channelEditTimer_, &QTimer::timeout, this, [this] { channelEditTimer_Timer(); });
    // The controller's waits (the 100 ms before a new document is built)
    // run on this window's event loop.
    ctl_.setDeferral([this](int ms, std::function<void()> f) {
        QTimer::singleShot(ms, this, [this, f = std::move(f)] { runGuarded("NewDocTimer_Timer", f); });
    });
    subscription_.emplace(ctl_.listeners(), static_cast<DocumentListener*>(this));
    connect(&focus_, &ChannelFocus::editWindowRequested, this, [this] { ShowChild(kChannelEdit); });

    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
        // The channel-edit commands are offered while the channel table is the
        // active page.
        const bool table = w && w->widget() && w->widget()->objectName() == kChannelTable;
        ShowCHInfo(table);
    });
}

frmMain::~frmMain() {
    delete editing_;
    editing_ = nullptr;
    // The MDI area outlives this part of the object while it is destroyed.
    disconnect(mdi_, nullptr, this, nullptr);
    channelEditTimer_.stop();
    subscription_.reset();
    ctl_.setDeferral({});
    // Child windows go first, while they can still call this window.
    for (QMdiSubWindow* sw : mdi_->findChildren<QMdiSubWindow*>()) {
        sw->setProperty("zrClosing", true);
    }
    for (QPointer<QMdiSubWindow> sw : mdi_->findChildren<QMdiSubWindow*>()) delete sw.data();
}

QMenu* frmMain::addMenu(const QString& name, int textKey, int helpContext) {
    QMenu* m = menuBar()->addMenu(QString());
    m->setObjectName(name);
    m->installEventFilter(this);
    actions_[name] = m->menuAction();
    textKeys_[m->menuAction()] = textKey;
    helpContexts_[m->menuAction()] = helpContext;
    return m;
}

QAction* frmMain::addItem(QMenu* menu, const QString& name, int textKey, int helpContext,
                          const QKeySequence& shortcut, std::function<void()> run) {
    QAction* a = menu->addAction(QString());
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    actions_[name] = a;
    if (textKey) textKeys_[a] = textKey;
    helpContexts_[a] = helpContext;
    if (run) {
        connect(a, &QAction::triggered, this, [this, a, name, run] {
            editing_->beforeCommand();
            runGuarded(name.toLatin1().constData(), run);
            editing_->afterCommand(a->text());
        });
    }
    return a;
}

void frmMain::buildMenus() {
    QMenu* file = addMenu("mnuFile", 10000, 100);
    addItem(file, "mnuFileNew", 10001, 101, QKeySequence("Ctrl+N"), [this] { mnuFileNew_Click(); });
    addItem(file, "mnuFileOpen", 10002, 102, QKeySequence("Ctrl+O"), [this] { mnuFileOpen_Click(); });
    QAction* save = addItem(file, "mnuFileSave", 10003, 103, QKeySequence("Ctrl+S"), [this] { mnuFileSave_Click(); });
    editing_->addRecentMenu(file, save);
    addItem(file, "mnuFileSaveAs", 10004, 104, QKeySequence("Ctrl+Shift+S"), [this] { mnuFileSaveAs_Click(); });
    file->addSeparator();
    addItem(file, "mnuFilePrint", 10005, 100, {}, [this] { PrintSheetCommand(*this); });
    file->addSeparator();
    addItem(file, "mnuFileExit", 10006, 105, QKeySequence("Ctrl+Q"), [this] { close(); });
    AddExtrasFileMenuEntries(file, *this);

    QMenu* model = addMenu("mnuModel", 10100, 200);
    addItem(model, "mnuModelInfo", 10101, 201, {}, [this] { mnuModelInfo_Click(); });

    // The channel-edit menu stands before the Edit menu; it is shown only
    // while the channel table is the active page.
    MnuCHEdit_ = addMenu("MnuCHEdit", 10800, 900);
    const struct { const char* name; int key; int ctx; const char* shortcut; int cmd; } ch[] = {
        {"MnuCHCut", 10801, 901, "Ctrl+X", 1},     {"MnuCHCopy", 10802, 902, "Ctrl+C", 2},
        {"MnuCHPaste", 10803, 903, "Ctrl+V", 3},   {"MnuCHInsert", 10804, 904, "Ctrl+I", 4},
        {"MnuCHDelete", 10805, 905, "Del", 5},     {"MnuCHMoveUp", 10806, 906, "Ctrl+U", 6},
        {"MnuCHMoveDown", 10807, 907, "Ctrl+D", 7},
    };
    for (const auto& c : ch) {
        const int cmd = c.cmd;
        QAction* a = addItem(MnuCHEdit_, c.name, c.key, c.ctx, QKeySequence(c.shortcut),
                             [this, cmd] { StartChannelCommand(cmd); });
        channelMenuActions_ << a;
        commandActions_[cmd] = a;
        if (cmd == 3) MnuCHEdit_->addSeparator();
    }
    // Commands on the selected rows and on the whole list.
    MnuCHEdit_->addSeparator();
    const struct { const char* name; int key; const char* shortcut; int cmd; } more[] = {
        {"MnuCHSelectAll", 33013, "Ctrl+A", kCmdSelectAll}, {"MnuCHEditSelected", 33012, "", kCmdEditSelected},
        {nullptr, 0, "", 0},
        {"MnuCHSortRx", 33007, "", kCmdSortRx}, {"MnuCHSortName", 33008, "", kCmdSortName},
        {"MnuCHCompact", 33009, "", kCmdCompact},
    };
    for (const auto& c : more) {
        if (!c.name) {
            MnuCHEdit_->addSeparator();
            continue;
        }
        const int cmd = c.cmd;
        commandActions_[cmd] = addItem(MnuCHEdit_, c.name, c.key, 900, QKeySequence(c.shortcut),
                                       [this, cmd] { StartChannelCommand(cmd); });
    }
    QMenu* plans = MnuCHEdit_->addMenu(QString());
    plans->setObjectName("MnuCHPlans");
    actions_["MnuCHPlans"] = plans->menuAction();
    textKeys_[plans->menuAction()] = 33010;
    // The plans the band of the document holds.
    connect(plans, &QMenu::aboutToShow, this, [this, plans] {
        plans->clear();
        const auto& all = ChannelPlans();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (!BandHoldsPlan(s_, all[i])) continue;
            const int cmd = kCmdPlan + int(i);
            QAction* a = plans->addAction(Tx(s_, 33011).arg(FromText(all[i].name)).arg(all[i].channels.size()));
            a->setObjectName(QString("MnuCHPlan_") + FromText(all[i].name));
            commandActions_[cmd] = a;
            connect(a, &QAction::triggered, this, [this, cmd] { StartChannelCommand(cmd); });
        }
    });

    QMenu* edit = addMenu("mnuEdit", 10200, 300);
    addItem(edit, "mnuChannelInfo", 10201, 3100, {}, [this] { ShowChild(kChannelTable); });
    editing_->addUndoRedo(edit);
    edit->addSeparator();
    addItem(edit, "mnuOptFeature", 10202, 3200, {}, [this] { ShowChild("FrmOptFeatures"); });
    addItem(edit, "MnuRadioFre", 10203, 3300, {}, [this] { ShowChild("FrmRadio"); });
    addItem(edit, "MnuDTMF", 10204, 3400, {}, [this] { ShowChild("FrmDTMF"); });
    addItem(edit, "MnuKey", 10208, 3400, {}, [this] { ShowChild("FrmKey"); });
    addItem(edit, "MnuScan", 10209, 3500, {}, [this] { ShowChild("FrmScan"); });
    addItem(edit, "MnuAlert", 10210, 3600, {}, [this] { ShowChild("FrmAlert"); });
    addItem(edit, "MnuTestFre", 10205, 300, {}, [] {});
    addItem(edit, "mnuTestData", 10212, 300, {}, [this] { ShowModal("FrmTestData"); });
    edit->addSeparator();
    addItem(edit, "mnuEmbeddedMsg", 10206, 3500, {}, [this] { ShowChild("FrmEmbMsg"); });
    addItem(edit, "MnuLocalInfo", 10207, 3600, {}, [this] { StartDealerRead(); });
    edit->addSeparator();
    addItem(edit, "MnuCHBatch", 10211, 3700, {}, [this] { ShowModal("FrmCHBatch"); });

    QMenu* prog = addMenu("mnuProgram", 10300, 400);
    addItem(prog, "mnuReadFromRadio", 10301, 401, QKeySequence("Ctrl+R"), [this] { StartRead(); });
    addItem(prog, "mnuWriteToRadio", 10302, 402, QKeySequence("Ctrl+W"), [this] { StartWrite(); });
    addItem(prog, "MnuProPassWord", 10303, 403, QKeySequence("Ctrl+P"), [this] { mnuProPassWord_Click(); });
    addItem(prog, "mnuCheckConnection", 10304, 400, {}, [this] {
        if (checkConnection_) checkConnection_();
    });

    QMenu* set = addMenu("mnuSet", 10400, 500);
    addItem(set, "mnuComm", 10401, 501, {}, [this] { mnuComm_Click(); });
    addItem(set, "mnuLanguage", 10402, 502, {}, [this] { mnuLanguage_Click(); });
    addItem(set, "MnuInit", 10403, 503, {}, [this] { mnuFileNew_Click(); });
    set->addSeparator();
    addItem(set, "MnuCHHabits", 10808, 504, QKeySequence("Ctrl+H"), [this] { StartChannelCommand(8); });

    QMenu* view = addMenu("mnuView", 10500, 600);
    QAction* tv = addItem(view, "mnuTreeView", 10501, 601, {}, {});
    tv->setCheckable(true);
    tv->setChecked(true);
    connect(tv, &QAction::toggled, this, [this](bool on) {
        sidePanel_->setVisible(on);
        CommandMove_->setVisible(on);
    });
    view->addSeparator();
    QAction* tb = addItem(view, "mnuViewToolbar", 10502, 602, {}, {});
    tb->setCheckable(true);
    tb->setChecked(true);
    connect(tb, &QAction::toggled, this, [this](bool on) { tbToolBar_->setVisible(on); });
    QAction* sb = addItem(view, "mnuViewStatusBar", 10503, 603, {}, {});
    sb->setCheckable(true);
    sb->setChecked(true);
    connect(sb, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });

    QMenu* win = addMenu("mnuWindow", 10600, 700);
    addItem(win, "mnuWindowCascade", 10601, 701, {}, [this] { CascadeChildren(); });
    addItem(win, "mnuWindowTileHorizontal", 0, 700, {}, [this] { mdi_->tileSubWindows(); })
        ->setText(tr("Tile Windows &Horizontally"));
    addItem(win, "mnuWindowTileVertical", 0, 700, {}, [this] { mdi_->tileSubWindows(); })
        ->setText(tr("Tile Windows &Vertically"));
    addItem(win, "mnuWindowArrangeIcons", 0, 700, {}, {})->setText(tr("&Arrange Icons"));
    win->addSeparator();
    addItem(win, "mnuCloseAll", 10602, 702, {}, [this] { CloseCurAllWindows(); });
    // The open child windows are listed below the items.
    QAction* listSep = win->addSeparator();
    connect(win, &QMenu::aboutToShow, this, [this, win, listSep] {
        const auto acts = win->actions();
        bool after = false;
        for (QAction* a : acts) {
            if (after) {
                win->removeAction(a);
                a->deleteLater();
            }
            if (a == listSep) after = true;
        }
        const auto subs = mdi_->subWindowList();
        listSep->setVisible(!subs.isEmpty());
        int n = 1;
        for (QMdiSubWindow* sw : subs) {
            if (sw->isHidden()) continue;
            QAction* a = win->addAction(QString("&%1 %2").arg(n++).arg(sw->windowTitle()));
            a->setCheckable(true);
            a->setChecked(sw == mdi_->activeSubWindow());
            connect(a, &QAction::triggered, this, [this, sw] { mdi_->setActiveSubWindow(sw); });
        }
    });

    QMenu* help = addMenu("mnuHelp", 10700, 800);
    addItem(help, "mnuHelpTopic", 10701, 801, QKeySequence(), [this] { mnuHelpTopic_Click(); });
    help->addSeparator();
    addItem(help, "mnuHelpAbout", 10702, 802, {}, [this] { mnuHelpAbout_Click(); });
}

void frmMain::buildToolBar() {
    tbToolBar_ = new QToolBar;
    tbToolBar_->setObjectName("tbToolBar");
    tbToolBar_->setMovable(false);
    tbToolBar_->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, tbToolBar_);
    const struct { const char* key; int tip; const char* icon; std::function<void()> run; } items[] = {
        {"NewFile", 11000, "new", [this] { toolNewFile_Click(); }},
        {"OpenFile", 11001, "open", [this] { mnuFileOpen_Click(); }},
        {"SaveFile", 11002, "save", [this] { mnuFileSave_Click(); }},
        {nullptr, 0, nullptr, {}},
        {"Print", 11003, "print", [this] { PrintSheetCommand(*this); }},
        {nullptr, 0, nullptr, {}},
        {"ReadRadio", 11004, "read", [this] { StartRead(); }},
        {"CommSet", 11005, "port", [this] { mnuComm_Click(); }},
        {"WriteRadio", 11006, "write", [this] { StartWrite(); }},
        {nullptr, 0, nullptr, {}},
        {"CHCut", 11010, "cut", [this] { StartChannelCommand(1); }},
        {"CHCopy", 11011, "copy", [this] { StartChannelCommand(2); }},
        {"CHPaste", 11012, "paste", [this] { StartChannelCommand(3); }},
        {nullptr, 0, nullptr, {}},
        {"CHInsert", 11013, "insert", [this] { StartChannelCommand(4); }},
        {"CHDelete", 11014, "delete", [this] { StartChannelCommand(5); }},
        {"CHMoveUp", 11015, "up", [this] { StartChannelCommand(6); }},
        {"CHMoveDown", 11016, "down", [this] { StartChannelCommand(7); }},
        {nullptr, 0, nullptr, {}},
        {"About", 11007, "about", [this] { mnuHelpAbout_Click(); }},
    };
    int pos = 0;
    for (const auto& it : items) {
        ++pos;
        QAction* a = nullptr;
        if (!it.key) {
            a = tbToolBar_->addSeparator();
        } else {
            a = tbToolBar_->addAction(icon(it.icon), QString());
            a->setObjectName(QString("tb_") + it.key);
            toolActions_[it.key] = a;
            textKeys_[a] = it.tip;
            if (it.run) {
                auto run = it.run;
                const QString key = it.key;
                connect(a, &QAction::triggered, this, [this, a, key, run] {
                    editing_->beforeCommand();
                    runGuarded(key.toLatin1().constData(), run);
                    editing_->afterCommand(a->toolTip());
                });
            }
        }
        if (pos >= 11 && pos <= 19) channelToolActions_ << a;
    }
}

void frmMain::buildSidePanel() {
    sidePanel_ = new QFrame;
    sidePanel_->setObjectName("PicTree");
    auto* v = new QVBoxLayout(sidePanel_);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(2);
    auto* head = new QHBoxLayout;
    sideLabel_ = new QLabel(kModelShown);
    sideLabel_->setObjectName("LabelTree");
    QFont bold = sideLabel_->font();
    bold.setBold(true);
    sideLabel_->setFont(bold);
    auto* small = new QToolBar;
    small->setObjectName("tbTree");
    small->setIconSize(QSize(12, 12));
    QAction* hide = small->addAction(icon("close"), QString());
    hide->setObjectName(QString::fromUtf8("删除"));
    textKeys_[hide] = 12014;   // its tool tip
    connect(hide, &QAction::triggered, this, [this] {
        sidePanel_->hide();
        CommandMove_->hide();
        if (QAction* tv = actions_.value("mnuTreeView")) {
            QSignalBlocker b(tv);
            tv->setChecked(false);
        }
    });
    head->addWidget(sideLabel_, 1);
    head->addWidget(small);
    v->addLayout(head);
    TreeView1_ = new QTreeWidget;
    TreeView1_->setObjectName("TreeView1");
    TreeView1_->setHeaderHidden(true);
    TreeView1_->setRootIsDecorated(true);
    TreeView1_->setIconSize(QSize(16, 16));
    v->addWidget(TreeView1_, 1);
    connect(TreeView1_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (item) treeEntry_Click(item->data(0, Qt::UserRole).toString());
    });
    // Enter on an entry opens it as a click does.
    connect(TreeView1_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item) treeEntry_Click(item->data(0, Qt::UserRole).toString());
    });
    sidePanel_->setFixedWidth(sideWidthTwips_ / kTwipsPerPixel);
    CommandMove_ = new SplitterBar;
    connect(CommandMove_, &SplitterBar::dragMoved, this,
            [this](int x) { dragSplitter(x * kTwipsPerPixel); });
}

void frmMain::buildStatusBar() {
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel;
        panels_[i]->setObjectName(QString("Panel%1").arg(i + 1));
        panels_[i]->setContentsMargins(4, 0, 4, 0);
    }
    statusBar()->addWidget(panels_[0], 1);
    statusBar()->addPermanentWidget(panels_[1]);
    statusBar()->addPermanentWidget(panels_[2]);
}

QLabel* frmMain::statusPanel(int n) const { return n >= 1 && n <= 3 ? panels_[n - 1] : nullptr; }

// --- load ------------------------------------------------------------------

void frmMain::Load() {
    UseQtTranslations(s_);
    actions_["MnuTestFre"]->setVisible(false);
    MnuCHEdit_->menuAction()->setVisible(false);
    ShowCHInfo(false);
    channelEditTimer_.stop();
    pendingCommand_ = 0;
    // Every installed language can be chosen in every run.
    actions_["mnuLanguage"]->setVisible(true);
    actions_["mnuTestData"]->setVisible(s_.settings.factoryTestMode);
    actions_["mnuHelpTopic"]->setVisible(true);
    actions_["mnuFilePrint"]->setVisible(false);
    restorePlacement();
    for (const char* n : {"mnuWindowTileHorizontal", "mnuWindowTileVertical", "mnuWindowArrangeIcons"})
        actions_[n]->setVisible(false);
    Change_Language(false);
    LoadTree();
    LoadBKPic();
    // The first document; before the event loop runs, ending the program
    // waits for it.
    loading_ = true;
    runGuarded("Load", [this] { ctl_.newDocumentNow(); });
    loading_ = false;
}

QString frmMain::placementStoreName() const {
    // The English program title: the same store in every language.
    const QString title = FromText(LanguageTextFromFile(EnglishFilePath(s_), 12000));
    return title.isEmpty() ? QStringLiteral("zrcps") : title;
}

void frmMain::restorePlacement() {
    QSettings st(QStringLiteral("zrcps"), placementStoreName());
    st.beginGroup("Settings");
    auto twips = [&](const char* key, int def) {
        bool ok = false;
        int v = st.value(key, def).toInt(&ok);
        return ok ? v : def;
    };
    QRect r(twips("MainLeft", 1000) / kTwipsPerPixel, twips("MainTop", 1000) / kTwipsPerPixel,
            twips("MainWidth", 18000) / kTwipsPerPixel, twips("MainHeight", 12000) / kTwipsPerPixel);
    r.setWidth(std::max(r.width(), 400));
    r.setHeight(std::max(r.height(), 300));
    // A placement from another screen layout is brought back onto a screen,
    // and a first start on a small screen gets a window that fits.
    if (QScreen* sc = QApplication::primaryScreen()) {
        const QRect avail = sc->availableGeometry();
        if (!avail.isEmpty()) {
            if (!avail.intersects(r)) r.moveTopLeft(avail.topLeft() + QPoint(40, 40));
            r.setWidth(std::min(r.width(), std::max(400, avail.width() - 40)));
            r.setHeight(std::min(r.height(), std::max(300, avail.height() - 40)));
        }
    }
    move(r.topLeft());
    resize(r.size());
}

void frmMain::savePlacement() {
    QSettings st(QStringLiteral("zrcps"), placementStoreName());
    st.beginGroup("Settings");
    const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
    st.setValue("MainLeft", QString::number(pos().x() * kTwipsPerPixel));
    st.setValue("MainTop", QString::number(pos().y() * kTwipsPerPixel));
    st.setValue("MainWidth", QString::number(g.width() * kTwipsPerPixel));
    st.setValue("MainHeight", QString::number(g.height() * kTwipsPerPixel));
}

// --- captions, title, tree --------------------------------------------------------

void frmMain::Change_Language(bool withTree) {
    for (auto it = textKeys_.begin(); it != textKeys_.end(); ++it) {
        QAction* a = it.key();
        const QString text = Tx(s_, it.value());
        if (toolActions_.key(a).isEmpty()) a->setText(text);
        else a->setToolTip(text);
    }
    editing_->recaption();
    panels_[1]->setText(QString(kModelShown) + "[" + FromBytes(s_.doc.currentBand) + "]");
    showPortInUse();
    ShowMainTxt();
    if (withTree) LoadTree();
    for (QWidget* w : childWindows())
        if (auto* h = hooksOf(w)) h->languageChanged();
}

QString frmMain::titleText() const {
    const std::string base = std::filesystem::path(s_.doc.fileName).filename().string();
    return Tx(s_, 12000) + "[" + kModelShown + ":" + FromBytes(s_.doc.currentBand) + "]" + "[" +
           Tx(s_, 12009) + ":" + QString::fromStdString(base) + "]";
}

void frmMain::ShowMainTxt() {
    // "[*]" shows as "*" while the document holds unsaved changes.
    QString title = titleText();
    title.insert(title.size() - 1, QStringLiteral("[*]"));
    setWindowTitle(title);
    if (editing_) editing_->documentTitleShown();
    sideLabel_->setText(kModelShown);
    if (TreeView1_->topLevelItemCount() > 0) TreeView1_->topLevelItem(0)->setText(0, kModelShown);
    panels_[1]->setText(QString(kModelShown) + "[" + FromBytes(s_.doc.currentBand) + "]");
}

void frmMain::LoadTree() {
    TreeView1_->clear();
    auto* root = new QTreeWidgetItem(TreeView1_, QStringList{sideLabel_->text()});
    root->setData(0, Qt::UserRole, "N0");
    root->setIcon(0, icon("radio"));
    const bool dtmf = s_.settings.capabilityFlags[3] != 0;
    const struct { const char* key; int text; bool shown; } entries[] = {
        {"N1", 12001, true},  {"N2", 12002, true},  {"N3", 12003, true},
        {"N4", 12004, dtmf},  {"N8", 12010, true},  {"N9", 12011, true},
        {"N10", 12012, true}, {"N11", 12013, s_.settings.factoryTestMode},
        {"N6", 12006, true},  {"N7", 12007, true},
    };
    for (const auto& e : entries) {
        if (!e.shown) continue;
        auto* item = new QTreeWidgetItem(root, QStringList{Tx(s_, e.text)});
        item->setData(0, Qt::UserRole, e.key);
        item->setIcon(0, icon("page"));
    }
    root->setExpanded(true);
    actions_["MnuDTMF"]->setVisible(dtmf);
}

void frmMain::treeEntry_Click(const QString& key) {
    static const QHash<QString, QString> pages = {
        {"N1", kChannelTable}, {"N2", "FrmOptFeatures"}, {"N3", "FrmRadio"}, {"N4", "FrmDTMF"},
        {"N8", "FrmKey"},      {"N9", "FrmScan"},        {"N10", "FrmAlert"}, {"N6", "FrmEmbMsg"},
    };
    runGuarded("TreeView1_NodeClick", [&] {
        if (key == "N7") StartDealerRead();
        else if (key == "N11") ShowModal("FrmTestData");
        else if (pages.contains(key)) ShowChild(pages.value(key));
    });
}

void frmMain::LoadBKPic() {
    // The language's own picture, else the English one.
    const QString folder = FromText(s_.paths.programFolder) + "/PIC/BK_";
    QString file = folder + QString::number(s_.settings.CurrentLanguage) + ".jpg";
    if (!QFile::exists(file)) file = folder + "1.jpg";
    QPixmap pic;
    if (QFile::exists(file)) pic.load(file);
    if (pic.width() > 2 && pic.height() > 2) {
        // The picture without its outermost pixel is tiled edge to edge.
        mdi_->setBackground(QBrush(pic.copy(1, 1, pic.width() - 2, pic.height() - 2)));
    } else {
        mdi_->setBackground(QBrush(QColor(0x6d, 0x7f, 0x8f)));
    }
}

// --- child windows --------------------------------------------------------------

QMdiSubWindow* frmMain::subWindowOf(const QString& name) const {
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        if (sw->isHidden() || sw->property("zrClosing").toBool()) continue;
        if (sw->property(kNameProperty).toString() == name) return sw;
    }
    return nullptr;
}

QList<QWidget*> frmMain::childWindows() const {
    QList<QWidget*> out;
    for (QMdiSubWindow* sw : mdi_->subWindowList())
        if (!sw->isHidden() && !sw->property("zrClosing").toBool() && sw->widget()) out << sw->widget();
    return out;
}

QWidget* frmMain::ShowChild(const QString& name) {
    if (QMdiSubWindow* sw = subWindowOf(name)) {
        if (sw->isMinimized()) sw->showNormal();
        mdi_->setActiveSubWindow(sw);
        sw->raise();
        return sw->widget();
    }
    ChildWindowFactory f = ChildWindowFactoryFor(name);
    if (!f) return nullptr;
    QWidget* w = f(*this);
    if (!w) return nullptr;
    w->setObjectName(name);
    auto* sw = new PageFrame;
    sw->setWidget(w);
    mdi_->addSubWindow(sw);
    sw->setProperty(kNameProperty, name);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    sw->setWindowIcon(w->windowIcon().isNull() ? icon("page") : w->windowIcon());
    // The frame closes with Ctrl+F4 only: Ctrl+W is Program > Write, which a
    // focused page must not swallow.
    if (QMenu* m = sw->systemMenu())
        for (QAction* a : m->actions())
            if (a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
                a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    // A page that closes itself (its Close button) takes its frame along.
    w->installEventFilter(new ChildCloseWatcher(sw));
    sw->show();
    CascadeChildren();
    mdi_->setActiveSubWindow(sw);
    return w;
}

int frmMain::ShowModal(const QString& name) {
    ChildWindowFactory f = ChildWindowFactoryFor(name);
    if (!f) return 0;
    QWidget* w = f(*this);
    auto* dlg = qobject_cast<QDialog*>(w);
    if (!dlg) {
        delete w;
        return 0;
    }
    dlg->setObjectName(name);
    if (!dlg->parentWidget()) dlg->setParent(this, dlg->windowFlags() | Qt::Dialog);
    const int r = dlg->exec();
    delete dlg;
    return r;
}

QWidget* frmMain::FindChildWindow(const QString& name) const {
    QMdiSubWindow* sw = subWindowOf(name);
    return sw ? sw->widget() : nullptr;
}

void frmMain::UnloadByName(const QString& name) {
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        if (sw->property(kNameProperty).toString() != name || sw->property("zrClosing").toBool()) continue;
        sw->setProperty("zrClosing", true);
        sw->close();
    }
}

void frmMain::CloseCurAllWindows() { CloseCurAllOtherWindows(nullptr); }

void frmMain::CloseCurAllOtherWindows(QWidget* keep) {
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        if (keep && (sw == keep || sw->widget() == keep)) continue;
        if (sw->property("zrClosing").toBool()) continue;
        sw->setProperty("zrClosing", true);
        sw->close();
    }
}

void frmMain::CascadeChildren() {
    mdi_->cascadeSubWindows();
    // Every page at its preferred size as far as the area allows, so that
    // nothing of it lies outside the visible area.
    const QSize area = mdi_->viewport()->size();
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        if (sw->isHidden() || sw->isMinimized() || sw->isMaximized()) continue;
        QSize want = sw->sizeHint().expandedTo(QSize(320, 200));
        // The channel table uses the height it is given.
        if (sw->property(kNameProperty).toString() == kChannelTable) want.setHeight(area.height());
        want.setWidth(std::min(want.width(), area.width() - sw->x()));
        want.setHeight(std::min(want.height(), area.height() - sw->y()));
        // Never below the page's smallest size, where its texts are whole:
        // the area scrolls instead.
        want = want.expandedTo(sw->minimumSizeHint());
        if (want.width() > 100 && want.height() > 80) sw->resize(want);
    }
}

void frmMain::ShowCHInfo(bool show) {
    channelCommandsShown_ = show;
    MnuCHEdit_->menuAction()->setVisible(show);
    for (QAction* a : channelToolActions_) a->setVisible(show);
    applyChannelCommandStates();
}

void frmMain::ShowChannelCommands(const ChannelCommandStates& states) {
    channelStates_ = states;
    applyChannelCommandStates();
}

void frmMain::applyChannelCommandStates() {
    // Menu items 1..7 in command order; the tool bar buttons by their keys.
    for (int i = 0; i < channelMenuActions_.size(); ++i)
        channelMenuActions_[i]->setEnabled(channelCommandsShown_ && channelStates_.enabled(i + 1));
    static const char* const keys[] = {"CHCut", "CHCopy", "CHPaste", "CHInsert", "CHDelete", "CHMoveUp", "CHMoveDown"};
    for (int i = 0; i < 7; ++i)
        if (QAction* a = toolActions_.value(keys[i])) a->setEnabled(channelCommandsShown_ && channelStates_.enabled(i + 1));
}

void frmMain::SetSaveEditData() {
    if (QWidget* table = FindChildWindow(kChannelTable)) table->setFocus();
    ctl_.commitEdits();
}

void frmMain::showChannelTable() {
    ShowChild(kChannelTable);
    CascadeChildren();
}

// --- channel-edit commands ---------------------------------------------------------

void frmMain::ShowStatusMessage(const QString& text) { editing_->showStatus(text); }
void frmMain::BeginDocumentCommand() { editing_->beforeCommand(); }
void frmMain::EndDocumentCommand(const QString& name) { editing_->afterCommand(name); }

void frmMain::StartChannelCommand(int command) {
    if (command < 1 || command > kCmdLast) return;
    SetSaveEditData();
    pendingCommand_ = command;
    channelEditTimer_.start();
}

void frmMain::channelEditTimer_Timer() {
    channelEditTimer_.stop();
    const int cmd = pendingCommand_;
    pendingCommand_ = 0;
    if (cmd == 0) return;
    runGuarded("ChEditTimer_Timer", [&] {
        if (cmd == 8) {
            const bool before = s_.settings.habits.UseOffset;
            ShowModal("FrmHabits");
            if (before != s_.settings.habits.UseOffset) ctl_.habitsChanged();
            return;
        }
        const int row = focus_.selection().current;
        if (row < 0) return;   // no channel table
        // Paste on the header row or the VFO row does nothing at all.
        if (cmd == kCmdPaste && (row < 1 || row > kMemoryChannels)) return;
        editing_->beforeCommand();
        channelCommands_->run(cmd);
        ShowChannelCommands(channelCommands_->states(focus_.selection()));
        if (QAction* a = commandActions_.value(cmd)) editing_->afterCommand(a->text());
    });
}

void frmMain::PopupChannelMenu(const QPoint& globalPos) { MnuCHEdit_->popup(globalPos); }

// --- dropped files ----------------------------------------------------------------

namespace {
// A drop is taken while no transfer runs.
DroppedFile TakenDrop(const QDropEvent* e, const DocumentController& ctl) {
    return ctl.transferBusy() ? DroppedFile{} : DroppedFileOf(e->mimeData());
}
}  // namespace

void frmMain::dragEnterEvent(QDragEnterEvent* e) { dragMoveEvent(e); }

void frmMain::dragMoveEvent(QDragMoveEvent* e) {
    if (TakenDrop(e, ctl_).kind != DroppedKind::None) e->acceptProposedAction();
    else e->ignore();
}

void frmMain::dropEvent(QDropEvent* e) {
    const DroppedFile file = TakenDrop(e, ctl_);
    if (file.kind == DroppedKind::None) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    // Once the drag is over: the questions and reports are windows of their own.
    QTimer::singleShot(0, this, [this, file] { runGuarded("Form_DragDrop", [&] { OpenDroppedFile(*this, file); }); });
}

// --- new document -----------------------------------------------------------------

void frmMain::LoadNewDoc() { ctl_.startNewDocument(); }

void frmMain::documentReplaced() {
    ShowMainTxt();
    LoadTree();
    Change_Language(false);
    showChannelTable();
    CascadeChildren();
}

void frmMain::programEnding() {
    // Before the event loop runs, quitting would be lost: it waits for it.
    if (loading_) QTimer::singleShot(0, this, [this] { endProgram(); });
    else endProgram();
}

// --- commands -------------------------------------------------------------------

void frmMain::mnuFileNew_Click() { ctl_.fileNew(); }
void frmMain::toolNewFile_Click() { ctl_.startNewDocument(); }
void frmMain::mnuFileOpen_Click() { ctl_.fileOpen(); }
void frmMain::mnuFileSave_Click() { ctl_.fileSave(); }
void frmMain::mnuFileSaveAs_Click() { ctl_.fileSaveAs(); }

void frmMain::mnuModelInfo_Click() {
    FrmModelInfo dlg(s_, [this](const std::string& m, const std::string& b) { ctl_.changeModelBand(m, b); }, this);
    dlg.exec();
}

void frmMain::mnuComm_Click() {
    if (portCommand_) {
        portCommand_();
    } else {
        FrmComSet dlg(s_, {}, {}, this);
        dlg.exec();
    }
    showPortInUse();
}

void frmMain::showPortInUse() {
    panels_[2]->setText(portLabel_ ? portLabel_() : Tx(s_, 12008) + QString::number(s_.settings.comPort));
}

void frmMain::mnuLanguage_Click() {
    FrmSetLanguage dlg(s_, this);
    dlg.exec();
    if (s_.settings.shownLanguage != s_.settings.CurrentLanguage) RecaptionAll();
}

void frmMain::RecaptionAll() {
    s_.settings.shownLanguage = s_.settings.CurrentLanguage;
    s_.settings.programTitle = LanguageText(s_, 12000);
    UseQtTranslations(s_);
    Change_Language(true);
    LoadBKPic();
    reopenPages(true);
    if (help_ && help_->isVisible()) {
        // The help window follows with its page and place.
        const int context = help_->currentContext();
        const QRect place = help_->geometry();
        delete help_.data();
        ShowHelp(context < 0 ? 0 : context);
        help_->setGeometry(place);
    }
}

void frmMain::reopenPages(bool commitFirst) {
    struct Placed {
        QString name;
        QRect geometry;
        Qt::WindowStates state;
        bool reopen = false;
    };
    // What is being edited is in the document before a window is opened anew.
    if (commitFirst) ctl_.commitEdits();
    QList<Placed> placed;
    const QMdiSubWindow* active = mdi_->activeSubWindow();
    const QString activeName = active ? active->property(kNameProperty).toString() : QString();
    for (QMdiSubWindow* sw : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        if (sw->isHidden() || sw->property("zrClosing").toBool() || !sw->widget()) continue;
        ChildHooks* h = hooksOf(sw->widget());
        const bool reopen = !h || !h->recaptionsInPlace();
        placed << Placed{sw->property(kNameProperty).toString(), sw->geometry(), sw->windowState(), reopen};
    }
    for (const Placed& p : placed) {
        if (!p.reopen) continue;
        QPointer<QMdiSubWindow> sw = subWindowOf(p.name);
        if (!sw) continue;
        sw->setProperty("zrClosing", true);
        sw->close();
        delete sw.data();   // gone before its successor registers itself
    }
    for (const Placed& p : placed)
        if (p.reopen) ShowChild(p.name);
    // Opening cascades the windows: every one goes back to its place, in its
    // old stacking order.
    for (const Placed& p : placed) {
        QMdiSubWindow* sw = subWindowOf(p.name);
        if (!sw) continue;
        sw->setWindowState(p.state);
        if (!(p.state & (Qt::WindowMinimized | Qt::WindowMaximized))) sw->setGeometry(p.geometry);
        sw->raise();
    }
    if (QMdiSubWindow* sw = subWindowOf(activeName)) mdi_->setActiveSubWindow(sw);
}

void frmMain::mnuProPassWord_Click() {
    FrmPassWord dlg(s_, this);
    dlg.exec();
}

void frmMain::mnuHelpTopic_Click() { ShowHelp(0); }

void frmMain::mnuHelpAbout_Click() {
    frmAbout dlg(s_, this);
    dlg.exec();
}

void frmMain::ShowHelp(int context) {
    if (!help_) {
        const QString folder = FromText(s_.paths.programFolder) + "/";
        help_ = new HelpWindow(HelpWindow::Folders{folder + FromText(s_.settings.helpFolder),
                                                   folder + FromText(kEnglishHelpFolder)},
                               HelpWindow::textsOf(s_), Tx(s_, 12000), this);
        help_->setAttribute(Qt::WA_DeleteOnClose);
    }
    help_->showContext(context);
    help_->show();
    help_->raise();
    help_->activateWindow();
}


void frmMain::StartRead() { ctl_.startRead(); }
void frmMain::StartWrite() {
    if (!ctl_.transferBusy() && writeGuard_ && writeGuard_()) return;
    ctl_.startWrite();
}
void frmMain::StartDealerRead() { ctl_.startDealerRead(); }

// --- transfer progress ------------------------------------------------------------

void frmMain::transferStarted(link::TransferKind kind) {
    // The dealer information window opens again with what the read brings.
    if (kind == link::TransferKind::DealerRead) UnloadByName(kDealerWindow);
}

void frmMain::transferProgressShown(link::TransferKind kind, const std::string& caption) {
    if (progress_) progress_->deleteLater();
    progress_ = new FrmProgress(s_, kind == link::TransferKind::Write ? 9028 : 9027, this);
    if (!caption.empty()) progress_->setWindowTitle(FromText(caption));
    progress_->setWindowModality(Qt::ApplicationModal);
    progress_->reset();
    progress_->open();
}

void frmMain::transferProgress(int percent) {
    if (progress_) progress_->setPercent(percent);
}

void frmMain::transferProgressClosed() {
    if (!progress_) return;
    progress_->done(QDialog::Accepted);
    progress_->deleteLater();
    progress_ = nullptr;
}

void frmMain::transferEnded(link::TransferKind kind, bool success) {
    if (kind == link::TransferKind::DealerRead && success) ShowChild(kDealerWindow);
}

// --- splitter, resize -------------------------------------------------------------

int frmMain::sidePanelTwips() const { return sideWidthTwips_; }

void frmMain::dragSplitter(int xTwips) {
    const int wanted = sideWidthTwips_ + xTwips;
    const int inner = centralWidget()->width() * kTwipsPerPixel;
    if (wanted < kMinSidePanelTwips || wanted > inner) return;
    sideWidthTwips_ = wanted;
    sidePanel_->setFixedWidth(wanted / kTwipsPerPixel);
}

void frmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    mdi_->viewport()->update();
}

void frmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (shownOnce_) return;
    shownOnce_ = true;
    // The pages opened during the load are fitted once the area has its size.
    QTimer::singleShot(0, this, [this] { CascadeChildren(); });
}

// --- events ----------------------------------------------------------------------

bool frmMain::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && s_.settings.shownLanguage != s_.settings.CurrentLanguage)
        RecaptionAll();
    return QMainWindow::event(e);
}

bool frmMain::eventFilter(QObject* o, QEvent* e) {
    // F1 on a highlighted menu item opens the help at its context.
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1) {
        if (auto* menu = qobject_cast<QMenu*>(o)) {
            QAction* a = menu->activeAction();
            int ctx = helpContexts_.value(a ? a : menu->menuAction(), helpContexts_.value(menu->menuAction()));
            for (QWidget* w = menu; auto* m = qobject_cast<QMenu*>(w); w = m->parentWidget()) m->close();
            ShowHelp(ctx);
            return true;
        }
    }
    return QMainWindow::eventFilter(o, e);
}

void frmMain::closeEvent(QCloseEvent* e) {
    if (closing_) {
        e->accept();
        return;
    }
    if (ctl_.transferBusy()) {
        e->ignore();
        return;
    }
    if (!isMinimized()) savePlacement();
    // A save that did not happen (its dialog cancelled, the write failed)
    // keeps the program running, so nothing is lost unasked.
    if (ctl_.confirmClose() != CommandResult::Done) {
        e->ignore();
        return;
    }
    closing_ = true;
    CloseCurAllWindows();
    if (help_) help_->close();
    e->accept();
}

void frmMain::endProgram() {
    closing_ = true;
    close();
    QApplication::quit();
}

void frmMain::runGuarded(const char* routine, const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception&) {
        if (s_.prompter) s_.prompter->tell(std::string("frmMain_") + routine);
    }
}

}  // namespace zr
