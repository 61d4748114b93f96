// File New, Open, Save, Save As, the tool bar's new document and the close
// question, driven through a scripted prompter and recorded windows.

#include <gtest/gtest.h>

#include "files/change_tracking.h"
#include "files/document_file.h"
#include "files/file_commands.h"
#include "files_fixture.h"

using namespace zr;
using zrtest::FilesFixture;
using zrtest::RecordingWindows;

namespace {

// A fixture whose document was opened from a file and then edited.
struct OpenedDocument : FilesFixture {
    std::string file;
    OpenedDocument() {
        file = writeFile("doc.dat");
        EXPECT_EQ(OpenChecked(s, file), OpenResult::Opened);
        prompter.asked.clear();
    }
    void edit() { s.doc.stored.Channels.entries[0].TxPower = 2; }
};

std::vector<std::string> without(std::vector<std::string> calls, const std::string& what) {
    std::erase(calls, what);
    return calls;
}

}  // namespace

TEST(FileNew, AsksToSaveChangesThenToStartANewDocument) {
    OpenedDocument f;
    RecordingWindows w;
    f.edit();
    const auto before = zrtest::readBytes(f.file);
    f.prompter.answers = {Answer::Yes, Answer::Ok};
    EXPECT_EQ(FileNew(f.s, w), CommandResult::Done);
    ASSERT_EQ(f.prompter.asked.size(), 2u);
    EXPECT_EQ(f.prompter.asked[0].text, f.text(9006));
    EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(f.prompter.asked[0].icon, Icon::Warning);
    EXPECT_EQ(f.prompter.asked[1].text, f.text(9026));
    EXPECT_EQ(f.prompter.asked[1].buttons, Buttons::OkCancel);
    // Yes wrote the document under its own name.
    EXPECT_NE(zrtest::readBytes(f.file), before);
    EXPECT_FALSE(IsModified(f.s));
    EXPECT_EQ(without(w.calls, "commit"),
              (std::vector<std::string>{"title", "close", "timer"}));
    EXPECT_EQ(w.calls.front(), "commit");
}

TEST(FileNew, NoAndCancelWriteNothingAndStillAskTheSecondQuestion) {
    for (Answer first : {Answer::No, Answer::Cancel}) {
        OpenedDocument f;
        RecordingWindows w;
        f.edit();
        const auto before = zrtest::readBytes(f.file);
        f.prompter.answers = {first, Answer::Cancel};
        EXPECT_EQ(FileNew(f.s, w), CommandResult::Cancelled);
        EXPECT_EQ(f.prompter.texts(), (std::vector<std::string>{f.text(9006), f.text(9026)}));
        EXPECT_EQ(zrtest::readBytes(f.file), before);
        EXPECT_FALSE(w.called("close"));
        EXPECT_FALSE(w.called("timer"));
    }
}

TEST(FileNew, AnUnchangedDocumentGoesStraightToTheSecondQuestion) {
    OpenedDocument f;
    RecordingWindows w;
    // Typing a name and typing the old one back leaves it unchanged.
    auto& name = f.s.doc.stored.Channels.entries[0].ChannelName;
    const auto old = name;
    name.set("NEW");
    name = old;
    f.prompter.answers = {Answer::Ok};
    EXPECT_EQ(FileNew(f.s, w), CommandResult::Done);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{f.text(9026)});
    EXPECT_TRUE(w.called("timer"));
}

TEST(FileNew, YesOnANeverSavedDocumentAsksForAName) {
    FilesFixture f;
    RecordingWindows w;
    f.s.doc.stored.Channels.count = 2;   // e.g. read from a radio
    ASSERT_TRUE(f.s.doc.neverSaved);

    // Cancelling the dialog cancels the command, and no "new.dat" appears.
    f.prompter.answers = {Answer::Yes};
    f.prompter.files = {std::nullopt};
    EXPECT_EQ(FileNew(f.s, w), CommandResult::Cancelled);
    EXPECT_EQ(f.prompter.fileRequests.size(), 1u);
    EXPECT_TRUE(f.prompter.fileRequests[0].save);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{f.text(9006)});
    EXPECT_FALSE(std::filesystem::exists("new.dat"));
    EXPECT_FALSE(w.called("timer"));
    EXPECT_TRUE(IsModified(f.s));

    // A chosen name is written, then the command goes on.
    f.prompter.answers = {Answer::Yes, Answer::Ok};
    f.prompter.files = {f.path("radio")};
    EXPECT_EQ(FileNew(f.s, w), CommandResult::Done);
    EXPECT_EQ(f.s.doc.fileName, f.path("radio.dat"));
    EXPECT_EQ(std::filesystem::file_size(f.path("radio.dat")), 11037u);
    EXPECT_FALSE(f.s.doc.neverSaved);
    EXPECT_TRUE(w.called("timer"));
}

TEST(FileNew, AFailedSaveIsReportedAndTheCommandGoesOn) {
    OpenedDocument f;
    RecordingWindows w;
    f.edit();
    f.s.doc.fileName = f.path("gone/doc.dat");
    f.prompter.answers = {Answer::Yes, Answer::Ok, Answer::Cancel};
    EXPECT_EQ(FileNew(f.s, w), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.asked.size(), 3u);
    EXPECT_EQ(f.prompter.asked[1].text.rfind(f.text(9002), 0), 0u);
    EXPECT_EQ(f.prompter.asked[2].text, f.text(9026));
    EXPECT_TRUE(IsModified(f.s));
}

TEST(ToolbarNewDocument, AsksNothing) {
    OpenedDocument f;
    RecordingWindows w;
    f.edit();
    ToolbarNewDocument(f.s, w);
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_EQ(w.calls, (std::vector<std::string>{"close", "timer"}));
}

TEST(FileOpen, OpensTheChosenFile) {
    FilesFixture f;
    RecordingWindows w;
    const std::string other = f.writeFile("other.dat", [](StoredDocument& d) { d.Keys.Pf1Long = 9; });
    f.prompter.files = {other};
    EXPECT_EQ(FileOpen(f.s, w), CommandResult::Done);
    EXPECT_TRUE(f.prompter.asked.empty());
    ASSERT_EQ(f.prompter.fileRequests.size(), 1u);
    EXPECT_FALSE(f.prompter.fileRequests[0].save);
    EXPECT_EQ(f.prompter.fileRequests[0].filter, f.text(9001) + " (*.dat)|*.dat");
    EXPECT_EQ(f.s.doc.fileName, other);
    EXPECT_EQ(f.s.doc.stored.Keys.Pf1Long, 9);
    EXPECT_FALSE(f.s.doc.neverSaved);
    EXPECT_EQ(w.calls, (std::vector<std::string>{"commit", "close", "table", "title", "recaption",
                                                 "cascade"}));
}

TEST(FileOpen, ChangesAreOfferedForSavingFirst) {
    // Cancel stops before the dialog.
    {
        OpenedDocument f;
        RecordingWindows w;
        f.edit();
        f.prompter.answers = {Answer::Cancel};
        EXPECT_EQ(FileOpen(f.s, w), CommandResult::Cancelled);
        EXPECT_TRUE(f.prompter.fileRequests.empty());
        EXPECT_TRUE(IsModified(f.s));
    }
    // Yes saves, then the dialog; cancelling it leaves the document.
    {
        OpenedDocument f;
        RecordingWindows w;
        f.edit();
        f.prompter.answers = {Answer::Yes};
        f.prompter.files = {std::nullopt};
        EXPECT_EQ(FileOpen(f.s, w), CommandResult::Cancelled);
        EXPECT_EQ(f.prompter.fileRequests.size(), 1u);
        EXPECT_FALSE(IsModified(f.s));
        EXPECT_EQ(f.s.doc.fileName, f.file);
        EXPECT_FALSE(w.called("close"));
    }
    // A never-saved document: Yes asks for a name; Cancel there stops.
    {
        FilesFixture f;
        RecordingWindows w;
        f.s.doc.stored.Channels.count = 2;
        f.prompter.answers = {Answer::Yes};
        f.prompter.files = {std::nullopt, f.writeFile("x.dat")};
        EXPECT_EQ(FileOpen(f.s, w), CommandResult::Cancelled);
        EXPECT_EQ(f.prompter.fileRequests.size(), 1u);
        EXPECT_TRUE(f.prompter.fileRequests[0].save);
        EXPECT_EQ(f.s.doc.stored.Channels.count, 2);
    }
}

TEST(FileOpen, AFailedOpenKeepsTheDocumentAndItsName) {
    OpenedDocument f;
    RecordingWindows w;
    zrtest::writeBytes(f.path("broken.dat"), {'V', '1', '0', '0', 0, 0});
    f.prompter.files = {f.path("broken.dat")};
    f.prompter.answers = {Answer::Ok};   // 9002
    const StoredDocument before = f.s.doc.stored;
    EXPECT_EQ(FileOpen(f.s, w), CommandResult::Cancelled);
    EXPECT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_TRUE(f.s.doc.stored == before);
    EXPECT_EQ(f.s.doc.fileName, f.file);
    EXPECT_FALSE(w.called("recaption"));
    EXPECT_TRUE(w.called("table"));

    // Switching versions ends the program.
    f.s.settings.versions.pairs = {{"V100", "V100"}, {"V300", "V300"}};
    f.prompter.files = {f.writeFile("v3.dat", [](StoredDocument& d) { d.FormatVersion.set("V300"); })};
    f.prompter.answers = {Answer::Yes, Answer::Ok};   // switch; V300 is not installed
    w.calls.clear();
    EXPECT_EQ(FileOpen(f.s, w), CommandResult::Cancelled);
    EXPECT_TRUE(w.called("end"));
}

TEST(FileSave, AsksBeforeOverwritingAndWritesOnOk) {
    OpenedDocument f;
    RecordingWindows w;
    f.edit();
    const auto before = zrtest::readBytes(f.file);
    f.prompter.answers = {Answer::Cancel};
    EXPECT_EQ(FileSave(f.s, w), CommandResult::Cancelled);
    ASSERT_EQ(f.prompter.asked.size(), 1u);
    EXPECT_EQ(f.prompter.asked[0].text, "\"doc.dat\"" + f.text(9007));
    EXPECT_EQ(f.prompter.asked[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(f.prompter.asked[0].icon, Icon::Question);
    EXPECT_EQ(zrtest::readBytes(f.file), before);
    EXPECT_TRUE(IsModified(f.s));

    f.prompter.answers = {Answer::Ok};
    EXPECT_EQ(FileSave(f.s, w), CommandResult::Done);
    EXPECT_NE(zrtest::readBytes(f.file), before);
    EXPECT_FALSE(IsModified(f.s));
    EXPECT_TRUE(w.called("title"));
}

TEST(FileSave, ANeverSavedDocumentGoesThroughSaveAs) {
    FilesFixture f;
    RecordingWindows w;
    f.prompter.files = {f.path("first.dat")};
    EXPECT_EQ(FileSave(f.s, w), CommandResult::Done);
    EXPECT_TRUE(f.prompter.asked.empty());
    ASSERT_EQ(f.prompter.fileRequests.size(), 1u);
    EXPECT_EQ(f.prompter.fileRequests[0].initialPath, "new.dat");
    EXPECT_EQ(f.s.doc.fileName, f.path("first.dat"));
    EXPECT_FALSE(f.s.doc.neverSaved);
    EXPECT_TRUE(std::filesystem::exists(f.path("first.dat")));
}

TEST(FileSaveAs, CancelAndFailureKeepNameAndFlag) {
    FilesFixture f;
    RecordingWindows w;
    f.prompter.files = {std::nullopt};
    EXPECT_EQ(FileSaveAs(f.s, w), CommandResult::Cancelled);
    EXPECT_EQ(f.s.doc.fileName, "new.dat");
    EXPECT_TRUE(f.s.doc.neverSaved);

    f.prompter.files = {f.path("missing/folder.dat")};
    f.prompter.answers = {Answer::Ok};
    EXPECT_EQ(FileSaveAs(f.s, w), CommandResult::Cancelled);
    EXPECT_EQ(f.prompter.asked.size(), 1u);   // 9002
    EXPECT_EQ(f.s.doc.fileName, "new.dat");
    EXPECT_TRUE(f.s.doc.neverSaved);
    EXPECT_FALSE(w.called("title"));

    // A name with an extension is taken as it is.
    f.prompter.files = {f.path("keep.bin")};
    EXPECT_EQ(FileSaveAs(f.s, w), CommandResult::Done);
    EXPECT_EQ(f.s.doc.fileName, f.path("keep.bin"));
}

TEST(ConfirmCloseDocument, OnlyASavedOrDiscardedDocumentMayClose) {
    {
        FilesFixture f;
        RecordingWindows w;
        EXPECT_EQ(ConfirmCloseDocument(f.s, w), CommandResult::Done);
        EXPECT_TRUE(f.prompter.asked.empty());
    }
    for (Answer a : {Answer::No, Answer::Cancel}) {
        OpenedDocument f;
        RecordingWindows w;
        f.edit();
        f.prompter.answers = {a};
        EXPECT_EQ(ConfirmCloseDocument(f.s, w),
                  a == Answer::No ? CommandResult::Done : CommandResult::Cancelled);
    }
    {
        // Yes, then Cancel in the overwrite question: nothing was saved.
        OpenedDocument f;
        RecordingWindows w;
        f.edit();
        f.prompter.answers = {Answer::Yes, Answer::Cancel};
        EXPECT_EQ(ConfirmCloseDocument(f.s, w), CommandResult::Cancelled);
        f.prompter.answers = {Answer::Yes, Answer::Ok};
        EXPECT_EQ(ConfirmCloseDocument(f.s, w), CommandResult::Done);
        EXPECT_FALSE(IsModified(f.s));
    }
}
