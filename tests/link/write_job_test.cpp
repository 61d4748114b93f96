// A radio's turn of a write against the simulated radio: the backup read
// before the write keeps the radio's memory as it was, the question lists
// what the write changes, and nothing is written when the backup read, the
// backup file or the answer fails; dealer mode over radios in a row, one of
// them failing and tried again, with the rows of its log.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "fake_link.h"
#include "files/backups.h"
#include "files/document_record.h"
#include "link/dealer_run.h"
#include "link/differences.h"
#include "link/scratch_engine.h"
#include "link/write_job.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;
using namespace zr::link;

namespace {

ChannelRecord& FirstChannel(StoredDocument& d) {
    for (int i = 0; i < d.Channels.count; ++i)
        if (d.Channels.entries[static_cast<std::size_t>(i)].ChannelNumber == 1)
            return d.Channels.entries[static_cast<std::size_t>(i)];
    throw std::runtime_error("no channel 1");
}

// The radio's own bytes (version, flags) are not the document's.
bool SameMemory(const RadioImage& a, const std::array<uint8_t, 5120>& b) {
    return std::equal(a.begin(), a.begin() + 5104, b.begin());
}

class WriteJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.prompter = &prompter;
        s.settings.versions.pairs = {{"V100", "V100"}};
        s.doc.currentModel = kModelId;
        s.doc.currentBand = BandText(1);
        RefreshBandLimits(s.doc);
        NewDocumentDefaults(s, CivilDate{2024, 5, 6});
        s.doc.fileName = "mine.dat";
        s.doc.neverSaved = false;
        FirstChannel(s.doc.stored).RxFreq.set("46256250");
        FirstChannel(s.doc.stored).RxStep = 1;
        s.doc.saved = s.doc.stored;

        // The radio holds another programming: channel 1 on 461 MHz.
        StoredDocument before = s.doc.stored;
        FirstChannel(before).RxFreq.set("46100000");
        FirstChannel(before).RxStep = 0;
        before.Scan.PriorityCh1 = 3;
        radioBefore = DocumentImage(before);
        std::copy(radioBefore.begin(), radioBefore.end(), radio.memory.begin());
        radio.applyPassword();
        port.radio = &radio;
        options.backupFolder = dir.str("backups");
    }
    WriteJobResult run(const WriteJobOptions& o) {
        WriteJobResult got;
        int calls = 0;
        EXPECT_TRUE(job.start(o, [&](const WriteJobResult& r) {
            got = r;
            ++calls;
        }));
        EXPECT_TRUE(zrtest::RunEngine(job.engine(), port, timers));
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(job.running());
        return got;
    }
    void expectDocumentUntouched() {
        EXPECT_EQ(s.doc.stored, s.doc.saved);
        EXPECT_EQ(s.doc.fileName, "mine.dat");
        EXPECT_FALSE(s.doc.neverSaved);
    }

    Session s;
    zrtest::ScriptedPrompter prompter;
    RadioSim radio;
    zrtest::LosingPort port;
    zrtest::FakeTimers timers;
    zrtest::TempDir dir;
    RadioImage radioBefore{};
    WriteJob job{s, port, timers};
    WriteJobOptions options;
};

}  // namespace

TEST_F(WriteJobTest, BackupKeepsTheRadioAsItWasAndTheQuestionListsTheChanges) {
    options.backup = true;
    options.askChanges = true;
    prompter.answers = {Answer::Yes};
    const WriteJobResult r = run(options);
    ASSERT_TRUE(r.success) << r.message;
    EXPECT_EQ(r.stage, WriteStage::Done);
    EXPECT_EQ(r.message, "written");

    // The backup is a document file in the folder, listed as backups are,
    // and holds what the radio held before the write.
    const auto backups = ListBackups(options.backupFolder);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].path, r.backupPath);
    const auto backup = ReadDocumentRecordFile(r.backupPath);
    ASSERT_TRUE(backup);
    EXPECT_TRUE(CompareImages(radioBefore, DocumentImage(*backup)).empty())
        << DifferencesText(CompareImages(radioBefore, DocumentImage(*backup)));

    // One question, Yes/No, naming the backup and every change.
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].buttons, Buttons::YesNo);
    const std::string& q = prompter.asked[0].text;
    EXPECT_NE(q.find(r.backupPath), std::string::npos) << q;
    EXPECT_NE(q.find("CH 1 RX 461.00000 -> 462.56250\n"), std::string::npos) << q;
    EXPECT_NE(q.find("Scan: priority channel 1 3 -> 0\n"), std::string::npos) << q;
    ASSERT_EQ(r.changes.size(), 3u) << DifferencesText(r.changes);   // RX, RX step, priority channel
    EXPECT_EQ(r.changes[2].text, "Scan: priority channel 1 3 -> 0");

    // The radio now holds the document; the document itself is untouched.
    EXPECT_TRUE(SameMemory(DocumentImage(s.doc.stored), radio.memory));
    expectDocumentUntouched();
}

TEST_F(WriteJobTest, NothingIsWrittenWithoutABackupOrAYes) {
    options.backup = true;
    options.askChanges = true;

    // The radio does not answer the backup read; the user gives up.
    radio.config().silent = true;
    prompter.answers = {Answer::Cancel};   // 9008
    WriteJobResult r = run(options);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.stage, WriteStage::Backup);
    EXPECT_EQ(r.message, "the radio could not be read for the backup");
    EXPECT_EQ(radio.blockWrites, 0);
    EXPECT_TRUE(ListBackups(options.backupFolder).empty());
    radio.config().silent = false;

    // The backup cannot be saved: a file stands where its folder should be.
    std::ofstream(options.backupFolder) << "x";
    r = run(options);
    EXPECT_EQ(r.stage, WriteStage::Backup);
    EXPECT_NE(r.message.find("the backup could not be saved"), std::string::npos) << r.message;
    EXPECT_EQ(radio.blockWrites, 0);
    std::filesystem::remove(options.backupFolder);

    // The user answers No to the changes.
    prompter.answers = {Answer::No};
    r = run(options);
    EXPECT_EQ(r.stage, WriteStage::Question);
    EXPECT_EQ(r.message, "the write was cancelled");
    EXPECT_EQ(radio.blockWrites, 0);
    EXPECT_EQ(ListBackups(options.backupFolder).size(), 1u);   // the backup is kept all the same
    EXPECT_TRUE(SameMemory(radioBefore, radio.memory));
    expectDocumentUntouched();
}

TEST_F(WriteJobTest, CheckAfterTheWriteNamesWhatTheRadioLost) {
    options.verify = true;
    WriteJobResult r = run(options);
    EXPECT_TRUE(r.success);
    EXPECT_EQ(r.message, "written and checked");
    EXPECT_TRUE(prompter.asked.empty());   // no confirmation, no "finished"

    radio.memory.fill(0x77);
    port.lose = 352;   // channel 12's slot, empty in the document
    r = run(options);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.stage, WriteStage::Check);
    EXPECT_EQ(r.message, "written, but the check found differences: channel 12: 16 bytes differ (addresses 352-367)");
}

TEST_F(WriteJobTest, APortThatCannotOpenWritesNothing) {
    // The first transfer is the backup read: it does not start.
    port.failOpen = true;
    options.backup = true;
    prompter.answers = {Answer::Ok};   // 9003
    int calls = 0;
    EXPECT_FALSE(job.start(options, [&](const WriteJobResult&) { ++calls; }));
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(job.running());

    // A plain write opens the port after the open windows had their moment.
    options.backup = false;
    prompter.answers = {Answer::Ok};   // 9003
    const WriteJobResult r = run(options);
    EXPECT_EQ(r.stage, WriteStage::Write);
    EXPECT_EQ(r.message, "the write failed");
    EXPECT_EQ(radio.blockWrites, 0);
    EXPECT_EQ(prompter.asked.size(), 2u);
}

// Dealer mode: three radios in a row, each with its own memory and serial
// number; the second does not answer, is marked, and is tried again.
TEST_F(WriteJobTest, DealerModeGoesOnPastAFailedRadioAndLogsEveryRow) {
    DealerRun dealer(s, port, timers);
    dealer.setVerify(true);
    std::time_t now = 1715000000;
    dealer.setClock([&] { return now; });

    std::vector<RadioSim> radios(3);
    const char* serials[] = {"SN-0001", "SN-0002", "SN,0003"};
    for (std::size_t i = 0; i < radios.size(); ++i) {
        radios[i].memory.fill(static_cast<uint8_t>(0x11 * (i + 1)));
        radios[i].dealer.fill(0xFF);
        std::copy_n(serials[i], 7, radios[i].dealer.begin() + 48);
        radios[i].applyPassword();
    }
    radios[1].config().silent = true;

    std::vector<std::size_t> finished;
    for (std::size_t i = 0; i < radios.size(); ++i) {
        port.radio = &radios[i];
        const std::size_t row = dealer.next([&](std::size_t r) { finished.push_back(r); });
        EXPECT_EQ(row, i);
        ASSERT_TRUE(zrtest::RunEngine(dealer.engine(), port, timers));
        now += 60;
    }
    EXPECT_EQ(finished, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_TRUE(prompter.asked.empty());   // a silent radio asks nothing in dealer mode
    EXPECT_TRUE(SameMemory(DocumentImage(s.doc.stored), radios[0].memory));
    EXPECT_TRUE(SameMemory(DocumentImage(s.doc.stored), radios[2].memory));
    EXPECT_EQ(radios[1].blockWrites, 0);

    const auto& rows = dealer.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].ok);
    EXPECT_EQ(rows[0].serialNo, "SN-0001");
    EXPECT_EQ(rows[0].result, "written and checked");
    EXPECT_FALSE(rows[1].ok);
    EXPECT_EQ(rows[1].serialNo, "");
    EXPECT_EQ(rows[1].result, "the dealer information could not be read");
    EXPECT_TRUE(rows[2].ok);
    EXPECT_EQ(rows[2].time, LocalTimeText(1715000120));

    // The failed radio answers now and is tried again: its row is updated.
    radios[1].config().silent = false;
    port.radio = &radios[1];
    EXPECT_FALSE(dealer.retry(7, nullptr));
    ASSERT_TRUE(dealer.retry(1, [&](std::size_t r) { finished.push_back(r); }));
    EXPECT_FALSE(dealer.retry(0, nullptr));   // one turn at a time
    ASSERT_TRUE(zrtest::RunEngine(dealer.engine(), port, timers));
    EXPECT_EQ(finished.back(), 1u);
    EXPECT_TRUE(rows[1].ok);
    EXPECT_EQ(rows[1].serialNo, "SN-0002");
    EXPECT_EQ(rows[1].attempts, 2);
    EXPECT_TRUE(SameMemory(DocumentImage(s.doc.stored), radios[1].memory));

    const std::string csv = DealerLogCsv(rows);
    EXPECT_EQ(csv, "Radio,Time,Serial number,Result,Details,Attempts\r\n"
                   "1," + LocalTimeText(1715000000) + ",SN-0001,OK,written and checked,1\r\n"
                   "2," + LocalTimeText(1715000180) + ",SN-0002,OK,written and checked,2\r\n"
                   "3," + LocalTimeText(1715000120) + ",\"SN,0003\",OK,written and checked,1\r\n");
    expectDocumentUntouched();
}

TEST(DealerLog, FieldsAreQuotedOnlyWhenTheyMustBe) {
    DealerRow r;
    r.radio = 4;
    r.time = "2024-05-06 10:00:00";
    r.serialNo = "A\"B";
    r.result = "written, but the check found differences: channel 1; VFO";
    r.attempts = 3;
    EXPECT_EQ(DealerLogCsv({r}), "Radio,Time,Serial number,Result,Details,Attempts\r\n"
                                 "4,2024-05-06 10:00:00,\"A\"\"B\",FAILED,"
                                 "\"written, but the check found differences: channel 1; VFO\",3\r\n");
    EXPECT_EQ(LocalTimeText(0).size(), 19u);
}
