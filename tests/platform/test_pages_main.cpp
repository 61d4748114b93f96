// The settings pages inside the real main window: one window per page, the
// channel re-check reaching the open optional-features page, Close.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "channels/channel_ops.h"
#include "platform/pages/frm_opt_features.h"
#include "platform/pages/frm_radio.h"
#include "control/document_controller.h"
#include "platform/shell/frm_main.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;

namespace {
int windowsNamed(QMdiArea* area, const QString& name) {
    int n = 0;
    for (QMdiSubWindow* sub : area->subWindowList())
        if (sub->widget() && sub->widget()->objectName() == name) ++n;
    return n;
}
QTreeWidgetItem* treeItem(QTreeWidget* t, const QString& key) {
    for (QTreeWidgetItemIterator it(t); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key) return *it;
    return nullptr;
}
}  // namespace

class TestPagesMain : public QObject {
    Q_OBJECT
    zrtest::TempDir root_;
    Session s_;
    zrtest::ScriptedPrompter p_;
    std::unique_ptr<DocumentController> c_;
    std::unique_ptr<frmMain> w_;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        RegisterAllWindows();
        s_.paths.programFolder = (zrtest::sourceDir() / "install").string();
        s_.paths.installRoot = root_.path().string();
        s_.paths.programName = "zrcps";
        s_.prompter = &p_;
        c_ = std::make_unique<DocumentController>(s_);
        w_ = std::make_unique<frmMain>(s_, *c_);
        w_->Load();
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanupTestCase() {
        w_.reset();
        c_.reset();
    }

    void pageOpenedTwiceIsOneWindow() {
        QWidget* first = w_->ShowChild("FrmOptFeatures");
        QVERIFY(qobject_cast<FrmOptFeatures*>(first));
        QTreeWidgetItem* n2 = treeItem(w_->tree(), "N2");
        QVERIFY(n2);
        emit w_->tree()->itemClicked(n2, 0);
        QCoreApplication::processEvents();
        QCOMPARE(w_->ShowChild("FrmOptFeatures"), first);
        QCOMPARE(windowsNamed(w_->mdiArea(), "FrmOptFeatures"), 1);
        for (const char* name : {"FrmScan", "FrmAlert", "FrmKey", "FrmEmbMsg", "FrmRadio"}) {
            QWidget* p = w_->ShowChild(name);
            QVERIFY2(p, name);
            QCOMPARE(w_->ShowChild(name), p);
            QCOMPARE(windowsNamed(w_->mdiArea(), name), 1);
        }
    }

    void channelChangesReachTheOpenOptionsPage() {
        auto* page = qobject_cast<FrmOptFeatures*>(w_->ShowChild("FrmOptFeatures"));
        QVERIFY(page);
        // The main window, the table, this page and the pages still open.
        const size_t openViews = c_->listeners().size();
        QVERIFY(openViews >= 3);
        const int before = page->combo(17)->count();
        c_->edit([&] { QVERIFY(NewChannel(s_, 77, "462.56250")); });
        QCOMPARE(page->combo(17)->count(), before + 1);
        QCOMPARE(page->combo(17)->itemText(page->combo(17)->count() - 1), QString("77"));

        page->CommandClose->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w_->FindChildWindow("FrmOptFeatures"));
        QCOMPARE(c_->listeners().size(), openViews - 1);
        // With the page closed the re-check works on the record itself.
        RevalidateChannelRefs(s_);
    }

    void fmCommitBeforeClosing() {
        auto* fm = qobject_cast<FrmRadio*>(w_->ShowChild("FrmRadio"));
        QVERIFY(fm);
        fm->enterCell(3);
        fm->Text1->setText("100.07");
        fm->CommandClose->click();
        QCOMPARE(QString::fromStdString(s_.doc.stored.FmChannels[2].FmFreq.raw()), QString("10005000"));
        QCOMPARE(s_.doc.stored.FmChannels[2].IsEmpty, 0);
    }
};

QTEST_MAIN(TestPagesMain)
#include "test_pages_main.moc"
