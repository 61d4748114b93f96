// Backups of radio reads: naming, newest-first listing, pruning to the
// newest 50, and a backup after every simulated read.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "files/backups.h"
#include "files/document_record.h"
#include "link/fake_link.h"
#include "link/transfer.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;
namespace fs = std::filesystem;

namespace {

std::time_t At(int year, int mon, int day, int h, int m, int sec) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = mon - 1;
    t.tm_mday = day;
    t.tm_hour = h;
    t.tm_min = m;
    t.tm_sec = sec;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

}  // namespace

TEST(Backups, NamedByModelDateAndTimeAndListedNewestFirst) {
    zrtest::TempDir dir;
    const std::string folder = dir.str("backups/nested");   // created on demand
    Session s;
    s.doc.currentModel = "ZR614";
    s.doc.fileName = "mine.dat";
    s.doc.neverSaved = false;
    s.doc.stored.Channels.count = 1;
    s.doc.stored.Channels.entries[0].ChannelNumber = 7;
    const StoredDocument saved = s.doc.saved;

    std::string p1, p2, p3;
    const Result first = SaveReadBackup(s, folder, p1, At(2026, 12, 9, 13, 45, 2));
    ASSERT_TRUE(first.ok()) << first.message();
    EXPECT_EQ(fs::path(p1).filename(), "ZR-E271_20261209-134502.dat");
    ASSERT_TRUE(SaveReadBackup(s, folder, p2, At(2026, 12, 9, 13, 45, 2)).ok());
    EXPECT_EQ(fs::path(p2).filename(), "ZR-E271_20261209-134502-2.dat");
    ASSERT_TRUE(SaveReadBackup(s, folder, p3, At(2025, 1, 31, 23, 59, 59)).ok());

    // The backup holds the document; the document's own file state is untouched.
    const auto back = ReadDocumentRecordFile(p1);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, s.doc.stored);
    EXPECT_EQ(s.doc.fileName, "mine.dat");
    EXPECT_FALSE(s.doc.neverSaved);
    EXPECT_EQ(s.doc.saved, saved);

    zrtest::writeBytes(fs::path(folder) / "notes.txt", {'x'});
    zrtest::writeBytes(fs::path(folder) / "ZR-E271_2026-12-09.dat", {'x'});
    const auto list = ListBackups(folder);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].path, p2);
    EXPECT_EQ(list[1].path, p1);
    EXPECT_EQ(list[2].path, p3);
    EXPECT_EQ(list[1].when, "2026-12-09 13:45:02");
    EXPECT_EQ(list[2].model, "ZR-E271");
}

TEST(Backups, OnlyTheNewestFiftyAreKept) {
    zrtest::TempDir dir;
    Session s;
    std::string path;
    std::vector<std::string> made;
    for (int i = 0; i < 53; ++i) {
        const Result r = SaveReadBackup(s, dir.str(), path, At(2026, 1, 1 + i / 24, i % 24, 0, 0));
        ASSERT_TRUE(r.ok()) << r.message();
        made.push_back(path);
    }
    zrtest::writeBytes(dir.path() / "keep-me.dat", {'x'});
    const auto list = ListBackups(dir.str());
    ASSERT_EQ(list.size(), kBackupsKept);
    EXPECT_EQ(list.front().path, made.back());
    EXPECT_EQ(list.back().path, made[3]);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(fs::exists(made[i])) << i;
    EXPECT_TRUE(fs::exists(dir.path() / "keep-me.dat"));
    EXPECT_EQ(PruneBackups(dir.str(), 10), 40u);
    EXPECT_EQ(ListBackups(dir.str()).size(), 10u);
}

TEST(Backups, AFolderThatCannotBeMadeIsReported) {
    zrtest::TempDir dir;
    zrtest::writeBytes(dir.path() / "file", {'x'});
    Session s;
    std::string path;
    const Result r = SaveReadBackup(s, dir.str("file/backups"), path);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.message().find("backups folder"), std::string::npos);
    EXPECT_TRUE(path.empty());
    EXPECT_TRUE(ListBackups(dir.str("missing")).empty());
}

TEST(Backups, EverySimulatedReadLeavesOneBackup) {
    zrtest::TempDir dir;
    Session s;
    zrtest::ScriptedPrompter prompter;
    s.prompter = &prompter;
    s.doc.stored.ModelBand.BandCode = 1;
    s.settings.versions.pairs = {{"V100", "V100"}};
    link::RadioSim radio;
    radio.memory.fill(0xFF);
    std::fill(radio.memory.begin(), radio.memory.begin() + 32, 0x00);   // channel 1 slot
    const uint8_t ident[] = {'Z', 'R', '6', '1', '4', 0, 0, 1, 'V', '1', '0', '0', 0};
    std::copy(std::begin(ident), std::end(ident), radio.memory.begin() + 5104);
    radio.applyPassword();
    zrtest::FakePort port;
    port.radio = &radio;
    zrtest::FakeTimers timers;
    link::TransferEngine engine(s, port, timers);
    engine.services().isModified = [] { return false; };
    // Each decoded read is kept, one second after the one before.
    struct BackupEveryRead : link::TransferObserver {
        Session& s;
        std::string folder;
        std::vector<std::string> saved;
        BackupEveryRead(Session& session, std::string f) : s(session), folder(std::move(f)) {}
        void readDecoded() override {
            std::string path;
            ASSERT_TRUE(SaveReadBackup(s, folder, path, At(2026, 6, 1, 8, 0, static_cast<int>(saved.size()))).ok());
            saved.push_back(path);
        }
    } keeper(s, dir.str());
    std::vector<std::string>& saved = keeper.saved;
    engine.setObserver(&keeper);
    for (int i = 0; i < 52; ++i) {
        // A different radio each time: channel 1 at another step count.
        radio.memory[1] = 0xB4;
        radio.memory[2] = static_cast<uint8_t>(i);
        radio.memory[4128] = 0xFE;   // channel 1 present
        prompter.answers = {Answer::Ok, Answer::Ok};   // 9004 confirm, 9009 finished
        ASSERT_TRUE(engine.startRead());
        ASSERT_TRUE(zrtest::RunEngine(engine, port, timers));
        ASSERT_TRUE(engine.lastSucceeded()) << prompter.asked.size() << " " << (prompter.asked.empty() ? "" : prompter.asked.back().text)
                                             << " hs=" << radio.handshakes << " reads=" << radio.blockReads
                                             << " i=" << i;
    }
    ASSERT_EQ(saved.size(), 52u);
    const auto list = ListBackups(dir.str());
    ASSERT_EQ(list.size(), kBackupsKept);
    EXPECT_FALSE(fs::exists(saved[0]));
    EXPECT_FALSE(fs::exists(saved[1]));
    // The newest backup holds the last read: channel 1 at step count 0xB433.
    const auto last = ReadDocumentRecordFile(list.front().path);
    ASSERT_TRUE(last.has_value());
    ASSERT_GE(last->Channels.count, 1);
    EXPECT_EQ(last->Channels.entries[0].ChannelNumber, 1);
    EXPECT_EQ(last->Channels.entries[0].RxFreq.text(), "23065500");   // 0xB433 x 500
}
