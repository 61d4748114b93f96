// The document controller: the file commands (New, Open, Save, Save As, the
// tool bar's new document, the close question) driven through a scripted
// prompter, and the events every listener hears from them, from channel
// edits and from a read of a simulated radio.

#include <gtest/gtest.h>

#include <algorithm>

#include "control/document_controller.h"
#include "channels/channel_ops.h"
#include "data/bands.h"
#include "files/backups.h"
#include "files/change_tracking.h"
#include "files/document_file.h"
#include "files/files_fixture.h"
#include "link/fake_link.h"
#include "shell/language.h"
#include "shell/settings_files.h"
#include "shell/version.h"

using namespace zr;
using zrtest::FilesFixture;

namespace {

// A window as the controller sees it: it records every event, in order.
class RecordingWindows : public DocumentListener {
public:
    std::vector<std::string> calls;
    std::vector<int> channels;
    std::vector<SettingsRecord> records;

    void commitEdits() override { calls.push_back("commit"); }
    void documentClosing() override { calls.push_back("close"); }
    void documentReplaced() override { calls.push_back("replaced"); }
    void channelChanged(int n) override {
        calls.push_back("channel");
        channels.push_back(n);
    }
    void channelsChanged() override { calls.push_back("channels"); }
    void settingsChanged(SettingsRecord r) override {
        calls.push_back("settings");
        records.push_back(r);
    }
    void titleChanged() override { calls.push_back("title"); }
    void habitsChanged() override { calls.push_back("habits"); }
    void transferStarted(link::TransferKind) override { calls.push_back("started"); }
    void transferProgressShown(link::TransferKind, const std::string&) override { calls.push_back("progress"); }
    void transferProgressClosed() override { calls.push_back("progress closed"); }
    void transferEnded(link::TransferKind, bool ok) override { calls.push_back(ok ? "ended" : "failed"); }
    void readDecoded() override { calls.push_back("decoded"); }
    void programEnding() override { calls.push_back("end"); }

    bool called(const std::string& what) const { return std::find(calls.begin(), calls.end(), what) != calls.end(); }
    std::vector<std::string> without(const std::string& what) const {
        std::vector<std::string> out = calls;
        std::erase(out, what);
        return out;
    }
};

// A controller on a fixture's session with one recording window; the wait
// before a new document is built is recorded as "timer" and kept.
struct Controlled {
    FilesFixture& f;
    DocumentController ctl{f.s};
    RecordingWindows w;
    ListenerSubscription open{ctl.listeners(), &w};
    std::vector<std::function<void()>> waiting;
    explicit Controlled(FilesFixture& fixture) : f(fixture) {
        ctl.setDeferral([this](int ms, std::function<void()> run) {
            EXPECT_EQ(ms, 100);
            w.calls.push_back("timer");
            waiting.push_back(std::move(run));
        });
    }
};

// A fixture whose document was opened from a file and then edited.
struct OpenedDocument : FilesFixture {
    std::string file;
    OpenedDocument() {
        file = writeFile("doc.dat");
        EXPECT_EQ(OpenChecked(s, file).result, OpenResult::Opened);
        s.doc.changes.take();
        prompter.asked.clear();
    }
    void edit() { s.doc.stored.Channels.entries[0].TxPower = 2; }
};

}  // namespace

TEST(FileNew, AsksToSaveChangesThenToStartANewDocument) {
    OpenedDocument f;
    Controlled c(f);
    f.edit();
    const auto before = zrtest::readBytes(f.file);
    f.prompter.answers = {Answer::Yes, Answer::Ok};
    EXPECT_EQ(c.ctl.fileNew(), CommandResult::Done);
    ASSERT_EQ(f.prompter.asked.size(), 2u);
    EXPECT_EQ(f.prompter.asked[0].text, f.text(9006));
    EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(f.prompter.asked[0].icon, Icon::Warning);
    EXPECT_EQ(f.prompter.asked[1].text, f.text(9026));
    EXPECT_EQ(f.prompter.asked[1].buttons, Buttons::OkCancel);
    // Yes wrote the document under its own name.
    EXPECT_NE(zrtest::readBytes(f.file), before);
    EXPECT_FALSE(IsModified(f.s));
    EXPECT_EQ(c.w.without("commit"),
              (std::vector<std::string>{"title", "close", "timer"}));
    EXPECT_EQ(c.w.calls.front(), "commit");
}

TEST(FileNew, NoAndCancelWriteNothingAndStillAskTheSecondQuestion) {
    for (Answer first : {Answer::No, Answer::Cancel}) {
        OpenedDocument f;
        Controlled c(f);
        f.edit();
        const auto before = zrtest::readBytes(f.file);
        f.prompter.answers = {first, Answer::Cancel};
        EXPECT_EQ(c.ctl.fileNew(), CommandResult::Cancelled);
        EXPECT_EQ(f.prompter.texts(), (std::vector<std::string>{f.text(9006), f.text(9026)}));
        EXPECT_EQ(zrtest::readBytes(f.file), before);
        EXPECT_FALSE(c.w.called("close"));
        EXPECT_FALSE(c.w.called("timer"));
    }
}

TEST(FileNew, AnUnchangedDocumentGoesStraightToTheSecondQuestion) {
    OpenedDocument f;
    Controlled c(f);
    // Typing a name and typing the old one back leaves it unchanged.
    auto& name = f.s.doc.stored.Channels.entries[0].ChannelName;
    const auto old = name;
    name.set("NEW");
    name = old;
    f.prompter.answers = {Answer::Ok};
    EXPECT_EQ(c.ctl.fileNew(), CommandResult::Done);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{f.text(9026)});
    EXPECT_TRUE(c.w.called("timer"));
}

TEST(FileNew, YesOnANeverSavedDocumentAsksForAName) {
    FilesFixture f;
    Controlled c(f);
    f.s.doc.stored.Channels.count = 2;   // e.g. read from a radio
    ASSERT_TRUE(f.s.doc.neverSaved);

    // Cancelling the dialog cancels the command, and no "new.dat" appears.
    f.prompter.answers = {Answer::Yes};
    f.prompter.files = {std::nullopt};
    EXPECT_EQ(c.ctl.fileNew(), CommandResult::Cancelled);
    EXPECT_EQ(f.prompter.fileRequests.size(), 1u);
    EXPECT_TRUE(f.prompter.fileRequests[0].save);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{f.text(9006)});
    EXPECT_FALSE(std::filesystem::exists("new.dat"));
    EXPECT_FALSE(c.w.called("timer"));
    EXPECT_TRUE(IsModified(f.s));

    // A chosen name is written, then the command goes on.
    f.prompter.answers = {Answer::Yes, Answer::Ok};
    f.prompter.files = {f.path("radio")};
    EXPECT_EQ(c.ctl.fileNew(), CommandResult::Done);
    EXPECT_EQ(f.s.doc.fileName, f.path("radio.dat"));
    EXPECT_EQ(std::filesystem::file_size(f.path("radio.dat")), 11037u);
    EXPECT_FALSE(f.s.doc.neverSaved);
    EXPECT_TRUE(c.w.called("timer"));
}

TEST(FileNew, AFailedSaveIsReportedAndTheCommandGoesOn) {
    OpenedDocument f;
    Controlled c(f);
    f.edit();
    f.s.doc.fileName = f.path("gone/doc.dat");
    f.prompter.answers = {Answer::Yes, Answer::Ok, Answer::Cancel};
    EXPECT_EQ(c.ctl.fileNew(), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.asked.size(), 3u);
    EXPECT_EQ(f.prompter.asked[1].text.rfind(f.text(9002), 0), 0u);
    EXPECT_EQ(f.prompter.asked[2].text, f.text(9026));
    EXPECT_TRUE(IsModified(f.s));
}

TEST(ToolbarNewDocument, AsksNothing) {
    OpenedDocument f;
    Controlled c(f);
    f.edit();
    c.ctl.startNewDocument();
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_EQ(c.w.calls, (std::vector<std::string>{"close", "timer"}));
}

TEST(FileOpen, OpensTheChosenFile) {
    FilesFixture f;
    Controlled c(f);
    const std::string other = f.writeFile("other.dat", [](StoredDocument& d) { d.Keys.Pf1Long = 9; });
    f.prompter.files = {other};
    EXPECT_EQ(c.ctl.fileOpen(), CommandResult::Done);
    EXPECT_TRUE(f.prompter.asked.empty());
    ASSERT_EQ(f.prompter.fileRequests.size(), 1u);
    EXPECT_FALSE(f.prompter.fileRequests[0].save);
    EXPECT_EQ(f.prompter.fileRequests[0].filter, f.text(9001) + " (*.dat)|*.dat");
    EXPECT_EQ(f.s.doc.fileName, other);
    EXPECT_EQ(f.s.doc.stored.Keys.Pf1Long, 9);
    EXPECT_FALSE(f.s.doc.neverSaved);
    // The windows close, then show the opened document with its name.
    EXPECT_EQ(c.w.calls, (std::vector<std::string>{"commit", "close", "replaced", "title"}));
}

TEST(FileOpen, ChangesAreOfferedForSavingFirst) {
    // Cancel stops before the dialog.
    {
        OpenedDocument f;
        Controlled c(f);
        f.edit();
        f.prompter.answers = {Answer::Cancel};
        EXPECT_EQ(c.ctl.fileOpen(), CommandResult::Cancelled);
        EXPECT_TRUE(f.prompter.fileRequests.empty());
        EXPECT_TRUE(IsModified(f.s));
    }
    // Yes saves, then the dialog; cancelling it leaves the document.
    {
        OpenedDocument f;
        Controlled c(f);
        f.edit();
        f.prompter.answers = {Answer::Yes};
        f.prompter.files = {std::nullopt};
        EXPECT_EQ(c.ctl.fileOpen(), CommandResult::Cancelled);
        EXPECT_EQ(f.prompter.fileRequests.size(), 1u);
        EXPECT_FALSE(IsModified(f.s));
        EXPECT_EQ(f.s.doc.fileName, f.file);
        EXPECT_FALSE(c.w.called("close"));
    }
    // A never-saved document: Yes asks for a name; Cancel there stops.
    {
        FilesFixture f;
        Controlled c(f);
        f.s.doc.stored.Channels.count = 2;
        f.prompter.answers = {Answer::Yes};
        f.prompter.files = {std::nullopt, f.writeFile("x.dat")};
        EXPECT_EQ(c.ctl.fileOpen(), CommandResult::Cancelled);
        EXPECT_EQ(f.prompter.fileRequests.size(), 1u);
        EXPECT_TRUE(f.prompter.fileRequests[0].save);
        EXPECT_EQ(f.s.doc.stored.Channels.count, 2);
    }
}

TEST(FileOpen, AFailedOpenKeepsTheDocumentAndItsName) {
    OpenedDocument f;
    Controlled c(f);
    zrtest::writeBytes(f.path("broken.dat"), {'V', '1', '0', '0', 0, 0});
    f.prompter.files = {f.path("broken.dat")};
    f.prompter.answers = {Answer::Ok};   // 9002
    const StoredDocument before = f.s.doc.stored;
    EXPECT_EQ(c.ctl.fileOpen(), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, f.text(9002) + "\r\n\r\n" + f.path("broken.dat"));
    EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::Ok);
    EXPECT_EQ(f.prompter.asked[0].icon, Icon::Critical);
    EXPECT_TRUE(f.s.doc.stored == before);
    EXPECT_EQ(f.s.doc.fileName, f.file);
    // The kept document is shown again, under its old name.
    EXPECT_EQ(c.w.calls, (std::vector<std::string>{"commit", "close", "replaced"}));

    // Not a version text at all: text 9065, critical.
    f.prompter.asked.clear();
    f.prompter.files = {f.writeFile("x.dat", [](StoredDocument& d) { d.FormatVersion.set("X100"); })};
    f.prompter.answers = {Answer::Ok};
    EXPECT_EQ(c.ctl.fileOpen(), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, f.text(9065));
    EXPECT_EQ(f.prompter.asked[0].icon, Icon::Critical);
    EXPECT_EQ(f.s.doc.fileName, f.file);
}

TEST(FileOpen, ADocumentOfAnotherVersionAsksToSwitchVersions) {
    OpenedDocument f;
    Controlled c(f);
    f.s.settings.versions.pairs = {{"V100", "V100"}, {"V300", "V300"}};
    const std::string v3 = f.writeFile("v3.dat", [](StoredDocument& d) { d.FormatVersion.set("V300"); });
    const StoredDocument before = f.s.doc.stored;

    // No: the document stays, shown again under its name; the program runs on.
    f.prompter.files = {v3};
    f.prompter.answers = {Answer::No};
    EXPECT_EQ(c.ctl.fileOpen(), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, VersionQuestion(f.s, "V100", "V300", 1));
    EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::YesNo);
    EXPECT_EQ(f.prompter.asked[0].icon, Icon::Question);
    EXPECT_TRUE(f.s.doc.stored == before);
    EXPECT_EQ(f.s.doc.fileName, f.file);
    EXPECT_FALSE(c.w.called("end"));
    EXPECT_EQ(c.w.calls, (std::vector<std::string>{"commit", "close", "replaced"}));

    // Yes: V300's program is not installed, which is said (text 9066 and
    // its path, critical) after the question; the program ends all the same.
    f.prompter.asked.clear();
    f.prompter.files = {v3};
    f.prompter.answers = {Answer::Yes, Answer::Ok};
    c.w.calls.clear();
    EXPECT_EQ(c.ctl.fileOpen(), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.asked.size(), 2u);
    EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::YesNo);
    EXPECT_EQ(f.prompter.asked[1].text, f.text(9066) + "\r\n" + ProgramVersionPath(f.s, "V300"));
    EXPECT_EQ(f.prompter.asked[1].icon, Icon::Critical);
    EXPECT_TRUE(c.w.called("end"));
    EXPECT_FALSE(c.w.called("replaced"));
    EXPECT_TRUE(f.s.doc.stored == before);

    // A version no program version handles: text 9063 after Yes.
    f.s.settings.versions.pairs = {{"V100", "V100"}};
    f.prompter.asked.clear();
    f.prompter.files = {v3};
    f.prompter.answers = {Answer::Yes, Answer::Ok};
    EXPECT_EQ(c.ctl.fileOpen(), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.asked.size(), 2u);
    EXPECT_EQ(f.prompter.asked[1].text, f.text(9063));
}

TEST(FileNew, AFallbackTemplateOfAnotherVersionAsksToSwitch) {
    FilesFixture f;
    std::filesystem::create_directories(f.dir.path() / "prog" / "Init");
    f.writeFile("prog/Init/ZR614_0.dat", [](StoredDocument& d) { d.FormatVersion.set("V200"); });
    f.s.doc.currentModel = "ZR614";
    f.s.doc.currentBand = "446 - 447 MHz";
    Controlled c(f);

    // No: the new document with the defaults is shown.
    f.prompter.answers = {Answer::No};
    c.ctl.newDocumentNow();
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, VersionQuestion(f.s, "V100", "V200", 1));
    EXPECT_TRUE(c.w.called("replaced"));
    EXPECT_FALSE(c.w.called("end"));

    // Yes: no program version handles V200, which is said; the program ends.
    c.w.calls.clear();
    f.prompter.answers = {Answer::Yes, Answer::Ok};
    c.ctl.newDocumentNow();
    ASSERT_EQ(f.prompter.asked.size(), 3u);
    EXPECT_EQ(f.prompter.asked[2].text, f.text(9063));
    EXPECT_TRUE(c.w.called("end"));
    EXPECT_FALSE(c.w.called("replaced"));
}

TEST(FileSave, AsksBeforeOverwritingAndWritesOnOk) {
    OpenedDocument f;
    Controlled c(f);
    f.edit();
    const auto before = zrtest::readBytes(f.file);
    f.prompter.answers = {Answer::Cancel};
    EXPECT_EQ(c.ctl.fileSave(), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, "\"doc.dat\"" + f.text(9007));
    EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(f.prompter.asked[0].icon, Icon::Question);
    EXPECT_EQ(zrtest::readBytes(f.file), before);
    EXPECT_TRUE(IsModified(f.s));

    f.prompter.answers = {Answer::Ok};
    EXPECT_EQ(c.ctl.fileSave(), CommandResult::Done);
    EXPECT_NE(zrtest::readBytes(f.file), before);
    EXPECT_FALSE(IsModified(f.s));
    EXPECT_TRUE(c.w.called("title"));
}

TEST(FileSave, ANeverSavedDocumentGoesThroughSaveAs) {
    FilesFixture f;
    Controlled c(f);
    f.prompter.files = {f.path("first.dat")};
    EXPECT_EQ(c.ctl.fileSave(), CommandResult::Done);
    EXPECT_TRUE(f.prompter.asked.empty());
    ASSERT_EQ(f.prompter.fileRequests.size(), 1u);
    EXPECT_EQ(f.prompter.fileRequests[0].initialPath, "new.dat");
    EXPECT_EQ(f.s.doc.fileName, f.path("first.dat"));
    EXPECT_FALSE(f.s.doc.neverSaved);
    EXPECT_TRUE(std::filesystem::exists(f.path("first.dat")));
}

TEST(FileSaveAs, CancelAndFailureKeepNameAndFlag) {
    FilesFixture f;
    Controlled c(f);
    f.prompter.files = {std::nullopt};
    EXPECT_EQ(c.ctl.fileSaveAs(), CommandResult::Cancelled);
    EXPECT_EQ(f.s.doc.fileName, "new.dat");
    EXPECT_TRUE(f.s.doc.neverSaved);

    f.prompter.files = {f.path("missing/folder.dat")};
    f.prompter.answers = {Answer::Ok};
    EXPECT_EQ(c.ctl.fileSaveAs(), CommandResult::Cancelled);
    EXPECT_EQ(f.prompter.asked.size(), 1u);   // 9002
    EXPECT_EQ(f.s.doc.fileName, "new.dat");
    EXPECT_TRUE(f.s.doc.neverSaved);
    EXPECT_FALSE(c.w.called("title"));

    // A name with an extension is taken as it is.
    f.prompter.files = {f.path("keep.bin")};
    EXPECT_EQ(c.ctl.fileSaveAs(), CommandResult::Done);
    EXPECT_EQ(f.s.doc.fileName, f.path("keep.bin"));
}

TEST(ConfirmCloseDocument, OnlyASavedOrDiscardedDocumentMayClose) {
    {
        FilesFixture f;
        Controlled c(f);
        EXPECT_EQ(c.ctl.confirmClose(), CommandResult::Done);
        EXPECT_TRUE(f.prompter.asked.empty());
    }
    for (Answer a : {Answer::No, Answer::Cancel}) {
        OpenedDocument f;
        Controlled c(f);
        f.edit();
        f.prompter.answers = {a};
        EXPECT_EQ(c.ctl.confirmClose(),
                  a == Answer::No ? CommandResult::Done : CommandResult::Cancelled);
    }
    {
        // Yes, then Cancel in the overwrite question: nothing was saved.
        OpenedDocument f;
        Controlled c(f);
        f.edit();
        f.prompter.answers = {Answer::Yes, Answer::Cancel};
        EXPECT_EQ(c.ctl.confirmClose(), CommandResult::Cancelled);
        f.prompter.answers = {Answer::Yes, Answer::Ok};
        EXPECT_EQ(c.ctl.confirmClose(), CommandResult::Done);
        EXPECT_FALSE(IsModified(f.s));
    }
}

TEST(OpenBackup, AskedAboutChangesThenOpenedAsNeverSaved) {
    OpenedDocument f;
    Controlled c(f);
    const std::string backup = f.writeFile("backup.dat", [](StoredDocument& d) { d.Keys.Pf1Long = 7; });
    f.edit();
    f.prompter.answers = {Answer::Cancel};
    EXPECT_EQ(c.ctl.openBackup(backup), CommandResult::Cancelled);
    EXPECT_EQ(f.s.doc.fileName, f.file);
    EXPECT_FALSE(c.w.called("close"));

    f.prompter.answers = {Answer::No};
    EXPECT_EQ(c.ctl.openBackup(backup), CommandResult::Done);
    EXPECT_EQ(f.s.doc.stored.Keys.Pf1Long, 7);
    // Save asks for a new name: the backup stays as it was read.
    EXPECT_TRUE(f.s.doc.neverSaved);
    EXPECT_EQ(c.w.without("commit"), (std::vector<std::string>{"close", "replaced", "title"}));
    const auto before = zrtest::readBytes(backup);
    f.prompter.files = {std::nullopt};
    EXPECT_EQ(c.ctl.fileSave(), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.fileRequests.size(), 1u);
    EXPECT_TRUE(f.prompter.fileRequests[0].save);
    EXPECT_EQ(zrtest::readBytes(backup), before);
}

TEST(DocumentListeners, EveryOpenListenerHearsUntilItLeaves) {
    FilesFixture f;
    DocumentController ctl(f.s);
    RecordingWindows first, second;
    {
        ListenerSubscription a(ctl.listeners(), &first);
        ctl.setChannelItem(4, item::kRxFreq, "462.5625");
        {
            // A second window opens, and closes again: only its own
            // subscription ends.
            ListenerSubscription b(ctl.listeners(), &second);
            EXPECT_EQ(ctl.listeners().size(), 2u);
            ctl.setChannelItem(4, item::kName, "A");
        }
        ctl.setChannelItem(4, item::kName, "B");
        EXPECT_EQ(first.channels, (std::vector<int>{4, 4, 4}));
        EXPECT_EQ(second.channels, std::vector<int>{4});
        EXPECT_EQ(ctl.listeners().size(), 1u);
    }
    ctl.setChannelItem(4, item::kName, "C");   // every window closed
    EXPECT_EQ(first.channels.size(), 3u);
    EXPECT_EQ(ctl.listeners().size(), 0u);
}

// A window that notes how many messages had been told when it was asked
// to show a channel again.
struct ShowingAfterMessages : RecordingWindows {
    const zrtest::ScriptedPrompter* prompter = nullptr;
    std::vector<std::size_t> toldBeforeShown;
    void channelChanged(int n) override {
        RecordingWindows::channelChanged(n);
        toldBeforeShown.push_back(prompter->asked.size());
    }
    void channelsChanged() override {
        RecordingWindows::channelsChanged();
        toldBeforeShown.push_back(prompter->asked.size());
    }
};

TEST(ChannelEvents, WhatAnEditMovedIntoTheBandIsToldOnceEachBeforeTheWindowsShowIt) {
    FilesFixture f;
    f.s.doc.currentBand = "400 - 470 MHz";
    RefreshBandLimits(f.s.doc);
    DocumentController ctl(f.s);
    ShowingAfterMessages w;
    w.prompter = &f.prompter;
    ListenerSubscription open(ctl.listeners(), &w);
    const std::string outOfBand = LanguageText(f.s, 9021);
    const auto rx = [&] { return FindChannelRecord(f.s, 3)->RxFreq.text(); };

    // In the band nothing is told.
    ctl.setChannelItem(3, item::kRxFreq, "450");
    f.s.settings.habits.UseOffset = true;
    ctl.setChannelItem(3, item::kTxFreq, "+19");
    EXPECT_TRUE(f.prompter.asked.empty());

    // The RX above the band, and the kept offset carrying the TX beyond it:
    // the warning for each, then the windows show the channel.
    f.prompter.answers = {Answer::Ok, Answer::Ok};
    w.toldBeforeShown.clear();
    ctl.setChannelItem(3, item::kRxFreq, "480");
    EXPECT_EQ(f.prompter.texts(), (std::vector<std::string>{outOfBand, outOfBand}));
    for (const Question& q : f.prompter.asked) EXPECT_EQ(q.icon, Icon::Warning);
    EXPECT_EQ(w.toldBeforeShown, std::vector<std::size_t>{2});
    EXPECT_EQ(rx(), "47000000");
    EXPECT_EQ(FindChannelRecord(f.s, 3)->OffsetDir, 0);   // TX held at 470 = RX

    // A typed text that is no frequency: its own message, nothing written.
    f.prompter.asked.clear();
    f.prompter.answers = {Answer::Ok};
    EXPECT_EQ(ctl.writeChooser(3, item::kRxFreq, "4,5"), ChooserWrite::Refused);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{LanguageText(f.s, 9083)});
    EXPECT_EQ(rx(), "47000000");
    // A chosen frequency below the band: moved, told once.
    f.prompter.asked.clear();
    f.prompter.answers = {Answer::Ok};
    EXPECT_EQ(ctl.writeChooser(3, item::kRxFreq, "145.5"), ChooserWrite::Written);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{outOfBand});
    EXPECT_EQ(rx(), "40000000");
    EXPECT_EQ(f.prompter.unscripted, 0);

    // Batch programming: one warning for the whole range.
    f.s.settings.habits.UseOffset = false;
    ctl.setChannelItem(3, item::kTxFreq, "405");
    ctl.setChannelItem(4, item::kRxFreq, "400");
    ctl.setChannelItem(4, item::kTxFreq, "405");
    BatchFlags items{};
    items[kBatchRxFreq] = 1;
    BatchFields fields = DefaultBatchFields(LimitsOf(f.s.doc));
    fields.allChannels = false;
    fields.fromText = "3";
    fields.toText = "4";
    fields.rxStart = "469";
    f.prompter.asked.clear();
    f.prompter.answers = {Answer::Ok};
    w.toldBeforeShown.clear();
    ctl.applyBatch(items, fields);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{outOfBand});
    EXPECT_EQ(w.toldBeforeShown, std::vector<std::size_t>{1});
    EXPECT_EQ(FindChannelRecord(f.s, 4)->Offset.text(), "0100000");
}

TEST(DocumentListeners, OneThatLeavesDuringAnEventIsNotCalledAgain) {
    FilesFixture f;
    DocumentController ctl(f.s);
    struct Closing : RecordingWindows {
        DocumentListeners* listeners = nullptr;
        DocumentListener* other = nullptr;
        void channelChanged(int n) override {
            RecordingWindows::channelChanged(n);
            listeners->unsubscribe(other);
        }
    } a;
    RecordingWindows b;
    a.listeners = &ctl.listeners();
    a.other = &b;
    ctl.listeners().subscribe(&a);
    ctl.listeners().subscribe(&b);
    ctl.listeners().subscribe(&b);   // twice is once
    EXPECT_EQ(ctl.listeners().size(), 2u);
    ctl.setChannelItem(4, item::kRxFreq, "462.5625");
    EXPECT_EQ(a.channels, std::vector<int>{4});
    EXPECT_TRUE(b.channels.empty());
    ctl.listeners().unsubscribe(&a);
}

TEST(ChannelEvents, EditsAndCommandsTellWhatChangedOnce) {
    FilesFixture f;
    f.s.doc.currentBand = "400 - 470 MHz";
    RefreshBandLimits(f.s.doc);
    DocumentController ctl(f.s);
    RecordingWindows w;
    ListenerSubscription open(ctl.listeners(), &w);
    // A channel created: channel n, the lists of channels the optional
    // features offer, then the title (the document is changed).
    ctl.setChannelItem(3, item::kRxFreq, "450");
    EXPECT_EQ(w.calls, (std::vector<std::string>{"channel", "settings", "title"}));
    EXPECT_EQ(w.channels, std::vector<int>{3});
    EXPECT_EQ(w.records, std::vector<SettingsRecord>{SettingsRecord::OptFeat});
    // The title is told only when it changes.
    w.calls.clear();
    ctl.setChannelItem(3, item::kName, "ABC");
    EXPECT_EQ(w.calls, std::vector<std::string>{"channel"});

    // A move tells both rows and the re-checked references; the row the
    // channel went to comes back.
    struct NoQuestions : ChannelCommandHost {
        ConfirmAnswer confirm(ConfirmMode) override { return {}; }
        bool allowLosingLastChannel() override { return false; }
    } host;
    w.calls.clear();
    w.channels.clear();
    w.records.clear();
    EXPECT_EQ(ctl.runChannelCommand(kCmdMoveDown, 3, host), 4);
    EXPECT_EQ(w.channels, (std::vector<int>{3, 4}));
    EXPECT_EQ(w.records, std::vector<SettingsRecord>{SettingsRecord::OptFeat});
    ASSERT_NE(FindChannelRecord(f.s, 4), nullptr);
    EXPECT_EQ(FindChannelRecord(f.s, 3), nullptr);

    // Insert renumbers: every channel at once, not one by one.
    w.calls.clear();
    w.channels.clear();
    EXPECT_EQ(ctl.runChannelCommand(kCmdInsert, 1, host), 1);
    EXPECT_TRUE(w.called("channels"));
    EXPECT_TRUE(w.channels.empty());
    EXPECT_NE(FindChannelRecord(f.s, 5), nullptr);

    // Copy changes nothing and tells nothing.
    w.calls.clear();
    EXPECT_EQ(ctl.runChannelCommand(kCmdCopy, 5, host), 5);
    EXPECT_TRUE(w.calls.empty());

    // The habits and a commit are passed on as they are.
    ctl.habitsChanged();
    ctl.commitEdits();
    EXPECT_EQ(w.calls, (std::vector<std::string>{"habits", "commit"}));
}

namespace {
// Answers every paste or delete question with Yes and "do not ask again".
struct YesDontAskAgain : ChannelCommandHost {
    int asked = 0;
    ConfirmAnswer confirm(ConfirmMode) override {
        ++asked;
        return {true, true, true};
    }
    bool allowLosingLastChannel() override { return false; }
};
}  // namespace

// A paste answered "insert, do not ask again" is kept in Habit.ini by the
// command, and a command that asks nothing leaves the file as it is.
TEST(ChannelCommands, HabitsChangedByAnAnswerAreKept) {
    FilesFixture f;
    DocumentController ctl(f.s);
    ctl.setChannelItem(3, item::kRxFreq, "462.5625");
    YesDontAskAgain host;
    ctl.runChannelCommand(kCmdCopy, 3, host);
    std::filesystem::remove(HabitFilePath(f.s));
    ctl.runChannelCommand(kCmdPaste, 3, host);
    EXPECT_EQ(host.asked, 1);
    EXPECT_EQ(zrtest::readBytes(HabitFilePath(f.s)),
              (std::vector<unsigned char>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(f.prompter.asked.empty());

    std::filesystem::remove(HabitFilePath(f.s));
    ctl.runChannelCommand(kCmdPaste, 3, host);   // not asked: nothing to keep
    EXPECT_EQ(host.asked, 1);
    EXPECT_FALSE(std::filesystem::exists(HabitFilePath(f.s)));
}

TEST(ChannelCommands, HabitsThatCannotBeKeptAreToldOnce) {
    FilesFixture f;
    DocumentController ctl(f.s);
    f.prompter.answers = {Answer::Ok, Answer::Ok};   // outside the band
    ctl.setChannelItem(3, item::kRxFreq, "450");
    ctl.setChannelItem(4, item::kRxFreq, "451");
    f.prompter.asked.clear();
    std::filesystem::create_directories(HabitFilePath(f.s));   // a folder where the file should be
    YesDontAskAgain host;
    const int count = f.s.doc.stored.Channels.count;
    f.prompter.answers = {Answer::Ok};
    ctl.runChannelCommand(kCmdDelete, 3, host);
    EXPECT_EQ(host.asked, 1);
    EXPECT_TRUE(f.s.settings.habits.DeleteNoAsk);
    EXPECT_EQ(f.s.doc.stored.Channels.count, count - 1);
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, f.text(9067) + "\n" + HabitFilePath(f.s));
    EXPECT_EQ(f.prompter.asked[0].icon, Icon::Warning);

    // Not asked again, the habits unchanged: nothing more to keep or tell.
    ctl.runChannelCommand(kCmdDelete, FindChannelRecord(f.s, 3) ? 3 : 4, host);
    EXPECT_EQ(host.asked, 1);
    EXPECT_EQ(f.s.doc.stored.Channels.count, count - 2);
    EXPECT_EQ(f.prompter.asked.size(), 1u);
}

// A read of a simulated radio through the controller's one binding of the
// engine: the windows hear it start, close, show the read document, and the
// backup is kept once the read is decoded, without anybody polling.
struct ControlledRead : ::testing::Test {
    FilesFixture f;
    link::RadioSim radio;
    zrtest::FakePort port;
    zrtest::FakeTimers timers;
    link::TransferEngine engine{f.s, port, timers};
    DocumentController ctl{f.s};
    RecordingWindows w;
    ListenerSubscription open{ctl.listeners(), &w};

    void SetUp() override {
        radio.memory.fill(0xFF);
        std::fill(radio.memory.begin(), radio.memory.begin() + 32, 0x00);   // channel 1 slot
        radio.memory[1] = 0xB4;
        radio.memory[2] = 0x33;
        radio.memory[4128] = 0xFE;   // channel 1 present
        const uint8_t ident[] = {'Z', 'R', '6', '1', '4', 0, 0, 1, 'V', '1', '0', '0', 0};
        std::copy(std::begin(ident), std::end(ident), radio.memory.begin() + 5104);
        radio.applyPassword();
        port.radio = &radio;
        ctl.attachLink(&engine);
    }
    bool read() {
        f.prompter.answers.push_back(Answer::Ok);   // read?
        f.prompter.answers.push_back(Answer::Ok);   // finished
        if (!ctl.startRead()) return false;
        return zrtest::RunEngine(engine, port, timers) && engine.lastSucceeded();
    }
};

TEST_F(ControlledRead, WindowsFollowAndTheBackupIsKeptOnceDecoded) {
    ctl.setBackupFolder(f.path("backups"));
    ASSERT_TRUE(read());
    EXPECT_EQ(w.calls, (std::vector<std::string>{"commit", "started", "progress", "progress closed", "close",
                                                 "ended", "replaced", "title", "decoded"}));
    EXPECT_EQ(f.s.doc.fileName, "new.dat");
    ASSERT_NE(FindChannelRecord(f.s, 1), nullptr);
    EXPECT_EQ(FindChannelRecord(f.s, 1)->RxFreq.text(), "23065500");
    // The backup holds the decoded document.
    const auto backups = ListBackups(f.path("backups"));
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ctl.lastBackup(), backups[0].path);
    const auto kept = ReadDocumentRecordFile(backups[0].path);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->Channels.entries[0].RxFreq.text(), "23065500");
    EXPECT_FALSE(ctl.transferBusy());
}

TEST_F(ControlledRead, ABackupThatCannotBeWrittenIsToldAndTheReadStands) {
    zrtest::writeBytes(f.path("file"), {'x'});
    ctl.setBackupFolder(f.path("file/backups"));   // under a file: cannot exist
    f.prompter.answers = {Answer::Ok, Answer::Ok, Answer::Ok};
    ASSERT_TRUE(ctl.startRead());
    ASSERT_TRUE(zrtest::RunEngine(engine, port, timers));
    EXPECT_TRUE(engine.lastSucceeded());
    ASSERT_EQ(f.prompter.asked.size(), 3u);
    EXPECT_EQ(f.prompter.asked[2].text.rfind("The backup of this read could not be saved:", 0), 0u);
    EXPECT_EQ(f.prompter.asked[2].icon, Icon::Warning);
    EXPECT_TRUE(ctl.lastBackup().empty());
    EXPECT_NE(FindChannelRecord(f.s, 1), nullptr);
}

TEST_F(ControlledRead, TheSaveQuestionBeforeAReadSavesAsFileSaveDoes) {
    // A changed, never-saved document: Yes asks for a name, Cancel there
    // stops the read before the radio is touched.
    f.s.doc.stored.Channels.count = 2;
    f.prompter.answers = {Answer::Ok, Answer::Yes};
    f.prompter.files = {std::nullopt};
    EXPECT_FALSE(ctl.startRead());
    EXPECT_FALSE(ctl.transferBusy());
    EXPECT_TRUE(port.frames.empty());
    ASSERT_EQ(f.prompter.fileRequests.size(), 1u);
    EXPECT_TRUE(f.prompter.fileRequests[0].save);
    EXPECT_FALSE(w.called("replaced"));
    EXPECT_EQ(f.s.doc.stored.Channels.count, 2);
}

TEST_F(ControlledRead, AWriteIsCheckedWhenTheCheckIsOnAndNoneRunsTwice) {
    struct RecordingCheck : WriteCheck {
        int starts = 0;
        std::function<void(const link::VerifyOutcome&)> finish;
        bool start(const RadioImage&, link::TransferObserver& progress,
                   std::function<void(const link::VerifyOutcome&)> done) override {
            ++starts;
            progress.progressShown(link::TransferKind::Read, "checking");
            finish = std::move(done);
            return true;
        }
    } check;
    ctl.setWriteCheck(&check);
    ASSERT_TRUE(read());
    std::filesystem::create_directories(f.path("prog/language"));
    ASSERT_TRUE(link::SaveVerifyWrite(f.s, true));
    f.prompter.answers = {Answer::Ok, Answer::Ok};   // write?, finished
    ASSERT_TRUE(ctl.startWrite());
    ASSERT_TRUE(zrtest::RunEngine(engine, port, timers));
    ASSERT_TRUE(engine.lastSucceeded());
    EXPECT_EQ(check.starts, 1);
    // While the check runs, no transfer starts.
    EXPECT_TRUE(ctl.transferBusy());
    EXPECT_FALSE(ctl.startRead());
    // Its outcome is told once, after it ended.
    f.prompter.asked.clear();
    f.prompter.answers = {Answer::Ok};
    check.finish(link::VerifyOutcome{true, {}});
    EXPECT_FALSE(ctl.transferBusy());
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, link::VerifyOutcomeText(link::VerifyOutcome{true, {}}));

    // Switched off: a write is not checked.
    ASSERT_TRUE(link::SaveVerifyWrite(f.s, false));
    f.prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(ctl.startWrite());
    ASSERT_TRUE(zrtest::RunEngine(engine, port, timers));
    EXPECT_EQ(check.starts, 1);
    ctl.setWriteCheck(nullptr);
}

TEST_F(ControlledRead, AnUnboundEngineTellsNobody) {
    ctl.attachLink(nullptr);
    EXPECT_FALSE(ctl.startRead());
    f.prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(zrtest::RunEngine(engine, port, timers));
    EXPECT_TRUE(w.calls.empty());
}
