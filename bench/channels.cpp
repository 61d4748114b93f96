// Times of the channel windows on a full document: opening the channel
// table, redrawing it, and a batch over all 128 memory channels.

#include <QApplication>
#include <QElapsedTimer>
#include <QComboBox>
#include <QMdiArea>
#include <QTableWidget>
#include <cstdio>
#include <filesystem>

#include "channels/channel_batch.h"
#include "channels/channel_ops.h"
#include "channels/channel_order.h"
#include "platform/shell/document_history.h"
#include "control/document_controller.h"
#include "platform/channels/channel_command_runner.h"
#include "platform/channels/channel_focus.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/shell/app_services.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace {

class QuietPrompter : public zr::Prompter {
public:
    zr::Answer ask(const zr::Question&) override { return zr::Answer::Ok; }
    std::optional<std::string> chooseFile(const zr::FileDialogRequest&) override { return {}; }
    std::optional<std::string> askPassword() override { return {}; }
};

class BenchApp : public zr::AppServices {
public:
    explicit BenchApp(zr::Session& s) : s_(s), ctl_(s) {}
    zr::Session& session() override { return s_; }
    zr::DocumentController& controller() override { return ctl_; }
    zr::ChannelFocus& channelFocus() override { return focus_; }
    zr::ChannelCommandRunner& channelCommands() override { return commands_; }
    QWidget* mainWidget() override { return nullptr; }
    QMdiArea* mdiArea() override { return nullptr; }
    QWidget* ShowChild(const QString&) override { return nullptr; }
    int ShowModal(const QString&) override { return 0; }
    QWidget* FindChildWindow(const QString& name) const override {
        return name == QLatin1String("frmCommChInfo") ? table : nullptr;
    }
    void UnloadByName(const QString&) override {}
    void CloseCurAllWindows() override {}
    void CloseCurAllOtherWindows(QWidget*) override {}
    void CascadeChildren() override {}
    void ShowMainTxt() override {}
    void LoadTree() override {}
    void LoadNewDoc() override {}
    void ShowCHInfo(bool) override {}
    void SetSaveEditData() override {}
    void StartChannelCommand(int) override {}
    void PopupChannelMenu(const QPoint&) override {}
    void ShowHelp(int) override {}
    void StartRead() override {}
    void StartWrite() override {}
    void StartDealerRead() override {}
    QWidget* table = nullptr;

private:
    zr::Session& s_;
    zr::DocumentController ctl_;
    zr::ChannelFocus focus_;
    zr::ChannelCommandRunner commands_{*this};
};

double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QuietPrompter prompter;
    zr::Session s;
    s.prompter = &prompter;
    // The shipped English texts of the source tree.
    s.paths.programFolder = (std::filesystem::path(__FILE__).parent_path().parent_path() / "install").string();
    s.doc.currentBand = "400 - 470 MHz";
    s.doc.bandLower = 400;
    s.doc.bandUpper = 470;
    for (int n = 1; n <= zr::kVfoChannel; ++n) {
        zr::NewChannel(s, n, 400.0 + n * 0.5);
        auto& c = s.doc.stored.Channels.entries[s.doc.stored.Channels.count - 1];
        c.RxTone = static_cast<int16_t>(n * 7 % zr::kToneCount);
        c.ChannelName.set("CH" + std::to_string(n));
    }
    BenchApp app(s);

    QElapsedTimer t;
    // In the program the main window is already up: fonts and styles are
    // loaded before the table opens. Pay that once here, and show it apart.
    t.start();
    {
        QTableWidget warm(2, 2);
        QComboBox combo(&warm);
        combo.addItem("x");
        warm.show();
        qapp.processEvents();
    }
    const double warmMs = ms(t);
    t.restart();
    auto* table = new zr::frmCommChInfo(app);
    app.table = table;
    table->show();
    qapp.processEvents();
    const double openMs = ms(t);

    t.restart();
    table->SetGridData();
    qapp.processEvents();
    const double redrawMs = ms(t);

    zr::BatchFlags items;
    items.fill(1);
    zr::BatchFields f = zr::DefaultBatchFields(zr::LimitsOf(s.doc));
    f.rxStart = "440";
    f.rxStep = "12.5";
    f.txMode = zr::BatchTxMode::Offset;
    f.offset = "5";
    f.nameNumbered = true;
    f.nameText = "CH";
    f.nameStart = "001";
    f.nameStep = "1";
    f.rxToneStart = 1;
    f.rxToneInterval = "1";
    // The batch as one undo step: undo and redo put the 11 KB snapshot back
    // and the table shows it again.
    zr::DocumentHistory history(s, [&] {
        s.doc.changes.allChannels();
        app.controller().publishChanges();
    });
    t.restart();
    app.controller().applyBatch(items, f);   // the table redraws on the event
    qapp.processEvents();
    const double batchMs = ms(t);
    t.restart();
    history.checkpoint(QStringLiteral("Batch programming 1-128"));
    const double checkpointMs = ms(t);
    t.restart();
    history.undo();
    qapp.processEvents();
    const double undoMs = ms(t);
    t.restart();
    history.redo();
    qapp.processEvents();
    const double redoMs = ms(t);

    // Sort 128 channels whose names run backwards, by name.
    for (int i = 0; i < s.doc.stored.Channels.count; ++i) {
        auto& c = s.doc.stored.Channels.entries[i];
        if (c.ChannelNumber <= zr::kMemoryChannels) c.ChannelName.set("N" + std::to_string(1000 - c.ChannelNumber));
    }
    t.restart();
    zr::ReorderChannels(s, zr::ChannelOrder::Name);
    app.controller().publishChanges();
    qapp.processEvents();
    const double sortMs = ms(t);

    t.restart();
    {
        const zr::TableLists lists = zr::MakeTableLists(s);
        const double listsMs = ms(t);
        t.restart();
        size_t n = 0;
        for (int i = 0; i < s.doc.stored.Channels.count; ++i)
            n += zr::ChannelRowTexts(s, lists, s.doc.stored.Channels.entries[i]).size();
        std::printf("value lists: %8.2f ms, row texts of all channels: %8.2f ms (%zu)\n", listsMs, ms(t), n);
    }
    std::printf("first window of the run (fonts, style): %8.2f ms\n", warmMs);
    std::printf("open channel table (129 channels): %8.2f ms\n", openMs);
    std::printf("redraw whole table:                %8.2f ms\n", redrawMs);
    std::printf("batch over 128 channels + redraw:  %8.2f ms\n", batchMs);
    // Against the 50 ms within which an edit command should feel immediate.
    const auto ofBudget = [](double v) { return 100.0 * v / 50.0; };
    std::printf("undo step of the batch (snapshot): %8.2f ms\n", checkpointMs);
    std::printf("undo of the batch + redraw:        %8.2f ms (%5.1f %% of 50 ms)\n", undoMs, ofBudget(undoMs));
    std::printf("redo of the batch + redraw:        %8.2f ms (%5.1f %% of 50 ms)\n", redoMs, ofBudget(redoMs));
    std::printf("sort of 128 channels + redraw:     %8.2f ms (%5.1f %% of 50 ms)\n", sortMs, ofBudget(sortMs));
    delete table;
    return 0;
}
