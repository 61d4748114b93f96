// The transfer engine against a simulated radio on a fake port and a virtual
// clock: the sequences, retries, checks and the fate of the document.

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_link.h"
#include "link/transfer.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;
using namespace zr::link;
using zrtest::FakePort;
using zrtest::FakeTimers;
using zrtest::RecordingObserver;

namespace {

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.prompter = &prompter;
        s.doc.stored.ModelBand.BandCode = 1;
        s.doc.currentModel = "ZR614";
        s.settings.versions.pairs = {{"V100", "V100"}, {"V101", "V102"}};
        for (int i = 0; i < 5120; ++i) radio.memory[i] = static_cast<uint8_t>((i * 7 + 3) & 0xFF);
        for (int i = 0; i < 512; ++i) radio.dealer[i] = static_cast<uint8_t>(0x40 + i % 50);
        radio.applyPassword();
        port.radio = &radio;
        engine.setObserver(&observer);
        engine.services().isModified = [this] { return modified; };
        engine.services().save = [this] {
            ++saves;
            return saveWorks;
        };
        engine.services().decodeImage = [this](RadioDocument&) { ++decodes; };
    }
    // Drives the engine until nothing is left to do; false while a transfer
    // still runs, so that its outcome is never read half-way.
    [[nodiscard]] bool run(std::size_t chunk = 1000) { return zrtest::RunEngine(engine, port, timers, chunk); }
    int handshakes() const { return port.count('P', 7); }
    int writeBlocks() const {
        int n = 0;
        for (const auto& f : port.frames)
            if (f.size() == 22 && f[0] == 'W' && ((f[1] << 8) | f[2]) < 5120) ++n;
        return n;
    }
    bool asked(const std::string& text) const {
        const auto t = prompter.texts();
        return std::find(t.begin(), t.end(), text) != t.end();
    }

    Session s;
    zrtest::ScriptedPrompter prompter;
    RadioSim radio;
    FakePort port;
    FakeTimers timers;
    RecordingObserver observer;
    TransferEngine engine{s, port, timers};
    bool modified = false, saveWorks = true;
    int saves = 0, decodes = 0;
};

}  // namespace

TEST_F(TransferTest, ReadWithEchoingCable) {
    s.doc.image.fill(0x00);
    prompter.answers = {Answer::Ok, Answer::Ok};   // 9004, 9009
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run(7));
    EXPECT_TRUE(engine.lastSucceeded());
    EXPECT_FALSE(engine.busy());
    EXPECT_EQ(handshakes(), 1);
    EXPECT_TRUE(s.settings.CableEcho);
    EXPECT_TRUE(std::equal(radio.memory.begin(), radio.memory.end(), s.doc.image.begin()));
    ASSERT_FALSE(radio.readAddresses.empty());
    EXPECT_EQ(radio.readAddresses.front(), 5152);            // password block first
    EXPECT_EQ(radio.readAddresses.back(), 5104);             // last memory block
    EXPECT_EQ(radio.blockReads, 321);
    EXPECT_EQ(radio.ends, 1);
    EXPECT_FALSE(radio.inSession());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Read the data from the radio?", "Reading finished."}));
    ASSERT_FALSE(observer.percents.empty());
    EXPECT_TRUE(std::is_sorted(observer.percents.begin(), observer.percents.end()));
    EXPECT_EQ(observer.percents.back(), 100);
    EXPECT_EQ(observer.closed, 1);
    // Decoding waits for ReadOKTimer.
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(observer.received, 1);
    EXPECT_EQ(observer.decoded, 1);
    EXPECT_EQ(observer.starting, std::vector<TransferKind>{TransferKind::Read});
    EXPECT_EQ(s.doc.fileName, "new.dat");
    EXPECT_TRUE(s.doc.neverSaved);
}

TEST_F(TransferTest, NonEchoingCableAnswersOnSecondHandshake) {
    radio.config().echo = false;
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());
    EXPECT_EQ(handshakes(), 2);
    EXPECT_FALSE(s.settings.CableEcho);   // kept for the next transfer
    EXPECT_TRUE(std::equal(radio.memory.begin(), radio.memory.end(), s.doc.image.begin()));

    // The next transfer starts with the flag as found: one handshake.
    port.frames.clear();
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_EQ(handshakes(), 1);
}

TEST_F(TransferTest, SilentRadioSixteenHandshakesThenDialog) {
    radio.config().silent = true;
    s.doc.image.fill(0x42);
    prompter.answers = {Answer::Ok, Answer::Ok, Answer::Cancel};   // 9004, 9008 retry, 9008 cancel
    ASSERT_TRUE(engine.startRead());
    const long long t0 = timers.now;
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    EXPECT_EQ(handshakes(), 32);                  // 16, the retry, 16 more
    EXPECT_EQ(timers.now - t0, 32 * 150);
    ASSERT_EQ(prompter.texts().size(), 3u);
    EXPECT_EQ(prompter.asked[1].buttons, Buttons::OkCancel);
    EXPECT_EQ(observer.resets, 1);
    ASSERT_FALSE(port.frames.empty());
    EXPECT_EQ(port.frames.back(), EndFrame());    // failure still sends the end frame
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(std::all_of(s.doc.image.begin(), s.doc.image.end(), [](uint8_t b) { return b == 0x42; }));
    EXPECT_EQ(decodes, 0);
}

TEST_F(TransferTest, SilentAtIdentificationOrPasswordGivesUpAfterThreeRequests) {
    // The requests as the radio sees them: identification 02, the password
    // block read 52 14 20 10 (address 5152).
    const Bytes identRequest{0x02};
    const Bytes passwordRead{0x52, 0x14, 0x20, 0x10};
    for (const Bytes& silentTo : {identRequest, passwordRead}) {
        for (bool write : {false, true}) {
            SCOPED_TRACE(std::string(silentTo == identRequest ? "identification" : "password") +
                         (write ? " of a write" : " of a read"));
            port.frames.clear();
            prompter.asked.clear();
            const int blocksBefore = radio.blockReads + radio.blockWrites;
            port.unanswered = [&](const Bytes& f) { return f == silentTo; };
            // Confirm; the no-answer question: OK tries again from the
            // handshake with fresh counters, then Cancel.
            prompter.answers = {Answer::Ok, Answer::Ok, Answer::Cancel};
            ASSERT_TRUE(write ? engine.startWrite() : engine.startRead());
            ASSERT_TRUE(run());
            EXPECT_FALSE(engine.lastSucceeded());
            EXPECT_EQ(std::count(port.frames.begin(), port.frames.end(), silentTo), 6);
            EXPECT_EQ(handshakes(), 2);
            ASSERT_EQ(prompter.asked.size(), 3u);
            EXPECT_EQ(prompter.asked[1].text, "The radio does not answer. Try again?");
            EXPECT_EQ(prompter.asked[2].text, "The radio does not answer. Try again?");
            EXPECT_EQ(writeBlocks(), 0);
            EXPECT_EQ(radio.blockReads + radio.blockWrites - blocksBefore,
                      silentTo == passwordRead ? 6 : 0);   // no data block
            ASSERT_FALSE(port.frames.empty());
            EXPECT_EQ(port.frames.back(), EndFrame());
        }
    }
}

TEST_F(TransferTest, WriteRoundTripAndRepeat) {
    engine.services().encodeImage = [](RadioDocument& d) {
        for (int i = 0; i < 5104; ++i) d.image[i] = static_cast<uint8_t>(i & 0xFF);
    };
    radio.config().repeatBlocks = {0, 2048};
    radio.config().flags = 0x03;
    radio.config().version = "V100";
    prompter.answers = {Answer::Ok, Answer::Ok};   // 9005, 9010
    ASSERT_TRUE(engine.startWrite());
    EXPECT_EQ(timers.due.count(TimerId::WaitSaveData), 1u);
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());
    EXPECT_TRUE(asked("Writing finished."));
    EXPECT_EQ(writeBlocks(), 320 + 2);          // two blocks asked for again
    EXPECT_EQ(radio.blockWrites, 320);
    for (int i = 0; i < 5104; ++i) ASSERT_EQ(radio.memory[i], static_cast<uint8_t>(i & 0xFF)) << i;
    // The identification block carries the radio's own texts and flags.
    EXPECT_EQ(radio.memory[5104], 'Z');
    EXPECT_EQ(radio.memory[5110], 0x00);
    EXPECT_EQ(radio.memory[5116], 0x03);
    EXPECT_TRUE(std::is_sorted(observer.percents.begin(), observer.percents.end()));
    EXPECT_EQ(std::adjacent_find(observer.percents.begin(), observer.percents.end()), observer.percents.end());
}

TEST_F(TransferTest, CorruptedAndDroppedRepliesAreRetried) {
    radio.config().corruptShare = 0.05;
    radio.config().dropShare = 0.03;
    radio.config().seed = 7;
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    ASSERT_TRUE(engine.lastSucceeded());
    EXPECT_GT(radio.corrupted + radio.dropped, 10);
    EXPECT_TRUE(std::equal(radio.memory.begin(), radio.memory.end(), s.doc.image.begin()));
}

TEST_F(TransferTest, Passwords) {
    radio.config().password = "Ab1";
    radio.applyPassword();

    // Wrong password given in the dialog.
    prompter.answers = {Answer::Ok, Answer::Ok};
    prompter.passwords = {std::string("ab1")};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    EXPECT_EQ(prompter.passwordRequests, 1);
    EXPECT_TRUE(asked("PassWord Failure!"));
    EXPECT_EQ(radio.blockReads, 1);   // the password block only
    EXPECT_EQ(s.settings.ProgramPassword, "ab1");
    EXPECT_EQ(observer.closed, 1);

    // Cancel in the dialog: silent end.
    prompter.asked.clear();
    prompter.answers = {Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    EXPECT_EQ(prompter.passwordRequests, 2);
    EXPECT_EQ(prompter.texts().size(), 1u);   // 9004 only
    EXPECT_EQ(observer.closed, 2);

    // The right password given in the dialog (trailing blanks dropped).
    prompter.answers = {Answer::Ok, Answer::Ok};
    prompter.passwords = {std::string("Ab1  ")};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());
    EXPECT_EQ(s.settings.ProgramPassword, "Ab1");

    // Given once: the next transfer passes without the dialog.
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());
    EXPECT_EQ(prompter.passwordRequests, 3);
}

TEST_F(TransferTest, ModelBandAndVersionChecks) {
    // Band of another radio.
    radio.config().band = 0;
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    EXPECT_TRUE(asked("The radio is of another band."));
    EXPECT_EQ(radio.blockReads, 1);
    ASSERT_FALSE(port.frames.empty());
    EXPECT_EQ(port.frames.back(), EndFrame());

    // A read of a ZR614 into a document of another model passes; a write not.
    radio.config().band = 1;
    s.doc.currentModel = "ZR-M83K";
    prompter.asked.clear();
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startWrite());
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    EXPECT_TRUE(asked("The radio is of another model."));
    EXPECT_EQ(writeBlocks(), 0);
}

TEST_F(TransferTest, VersionSwitchAsksAboutUnsavedChanges) {
    radio.config().version = "V102";
    std::vector<std::string> started;
    engine.services().startProgramVersion = [&](const std::string& v) {
        started.push_back(v);
        return ProgramStart{};
    };
    engine.services().versionQuestion = [](const std::string& v) { return "switch to " + v; };

    // Yes to the switch, Cancel to saving: the program keeps running.
    modified = true;
    prompter.answers = {Answer::Ok, Answer::No, Answer::Yes, Answer::Cancel};  // 9004, 9006, switch, 9006
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    EXPECT_TRUE(asked("switch to V102"));
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(observer.endings, 0);
    EXPECT_FALSE(port.isOpen());

    // Yes and Yes: saved, then switched.
    prompter.answers = {Answer::Ok, Answer::No, Answer::Yes, Answer::Yes};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(started, std::vector<std::string>{"V102"});
    EXPECT_EQ(observer.endings, 1);

    // No to the switch: the transfer ends, nothing else.
    modified = false;
    prompter.answers = {Answer::Ok, Answer::No};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_EQ(observer.endings, 1);
    EXPECT_EQ(radio.blockReads, 3);   // the password block of each read

    // A switch to a program that cannot start: its message, as the start
    // gave it, then the end all the same.
    engine.services().startProgramVersion = [](const std::string&) {
        return ProgramStart{Result::Failed("cannot start V101"), Icon::Critical};
    };
    prompter.asked.clear();
    prompter.answers = {Answer::Ok, Answer::Yes, Answer::Ok};   // 9004, switch, the message
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().text, "cannot start V101");
    EXPECT_EQ(prompter.asked.back().icon, Icon::Critical);
    EXPECT_EQ(observer.endings, 2);
}

TEST_F(TransferTest, FlagBitsRefuseWriteBeforeAnyBlock) {
    for (uint8_t flags : {uint8_t(0x08), uint8_t(0x04)}) {
        radio.config().flags = flags;
        prompter.asked.clear();
        prompter.answers = {Answer::Ok, Answer::Ok};
        ASSERT_TRUE(engine.startWrite());
        ASSERT_TRUE(run());
        EXPECT_FALSE(engine.lastSucceeded());
        ASSERT_FALSE(prompter.asked.empty());
        EXPECT_EQ(prompter.asked.back().text, "This radio cannot be written.");
        EXPECT_EQ(radio.blockWrites, 0);
        EXPECT_EQ(radio.blockReads, 0);   // not even the password block
        EXPECT_EQ(radio.ends, 1 + (flags == 0x04 ? 1 : 0));
    }
}

TEST_F(TransferTest, DealerRead) {
    s.doc.image.fill(0x33);
    engine.services().decodeDealerInfo = [](RadioDocument& d) { d.radioInfo.SalesArea = "decoded"; };
    ASSERT_TRUE(engine.startDealerRead());
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());
    EXPECT_EQ(s.doc.rmgImage, radio.dealer);
    EXPECT_EQ(s.doc.radioInfo.SalesArea, "decoded");
    ASSERT_EQ(observer.ended.size(), 1u);
    EXPECT_EQ(observer.ended[0], std::make_pair(TransferKind::DealerRead, true));
    EXPECT_EQ(observer.received, 0);   // the document stays
    ASSERT_FALSE(radio.readAddresses.empty());
    EXPECT_EQ(radio.readAddresses.front(), 5120);
    EXPECT_EQ(radio.readAddresses.back(), 5616);
    EXPECT_TRUE(prompter.asked.empty());      // no confirmation, no message
    EXPECT_TRUE(observer.captions.empty());   // no progress window
    EXPECT_TRUE(std::all_of(s.doc.image.begin(), s.doc.image.end(), [](uint8_t b) { return b == 0x33; }));

    // A radio that stops answering: Retry starts over, Cancel ends.
    radio.config().silentAfterBlocks = radio.blockReads + 5;
    prompter.answers = {Answer::Cancel};
    const auto before = s.doc.rmgImage;
    s.doc.rmgImage.fill(0x01);
    ASSERT_TRUE(engine.startDealerRead());
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().buttons, Buttons::RetryCancel);
    EXPECT_TRUE(std::all_of(s.doc.rmgImage.begin(), s.doc.rmgImage.end(), [](uint8_t b) { return b == 0x01; }));
    (void)before;
}

TEST_F(TransferTest, FactoryTestDataExchange) {
    s.settings.factoryTestMode = true;
    for (int i = 0; i < 16; ++i) radio.testData[i] = static_cast<uint8_t>(i + 1);
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    ASSERT_TRUE(engine.lastSucceeded());
    EXPECT_EQ(s.doc.testData.bytes, radio.testData);
    ASSERT_GE(radio.readAddresses.size(), 3u);
    EXPECT_EQ(radio.readAddresses[1], 8176);   // after the password, before block 0
    EXPECT_EQ(radio.readAddresses[2], 0);
    EXPECT_EQ(s.doc.savedTestData.bytes[0], 0);

    s.doc.testData.bytes[0] = 99;
    s.doc.testData.bytes[15] = 0x00;
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startWrite());
    ASSERT_TRUE(run());
    ASSERT_TRUE(engine.lastSucceeded());
    EXPECT_EQ(radio.testData[0], 99);
    EXPECT_EQ(radio.testData[15], 0xA5);
    EXPECT_EQ(s.doc.testData.bytes[15], 0xA5);
    ASSERT_FALSE(radio.writeAddresses.empty());
    EXPECT_EQ(radio.writeAddresses.front(), 8176);
}

TEST_F(TransferTest, TestDataWithoutAnswerRetriesThreeTimes) {
    s.settings.factoryTestMode = true;
    // Write: the radio asks for the test data block again and again.
    radio.config().repeatBlocks = {8176};
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startWrite());
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());   // one 0A is retried
    EXPECT_EQ(port.count('W', 22) - writeBlocks(), 2);

    // Read: no answer to the test data request.
    radio.config().noTestDataAnswer = true;
    radio.config().repeatBlocks.clear();
    s.doc.testData.bytes.fill(7);
    port.frames.clear();
    prompter.asked.clear();
    prompter.answers = {Answer::Ok, Answer::Cancel};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    EXPECT_EQ(std::count(port.frames.begin(), port.frames.end(), ReadRequestFrame(8176)), 4);
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().text, "The radio does not answer. Try again?");
    EXPECT_EQ(s.doc.testData.bytes[0], 7);

    // Write: no answer either.
    port.frames.clear();
    prompter.answers = {Answer::Ok, Answer::Cancel};
    ASSERT_TRUE(engine.startWrite());
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    EXPECT_EQ(port.count('W', 22), 4);
    EXPECT_EQ(writeBlocks(), 0);
}

TEST_F(TransferTest, WithoutFactoryModeNoTestData) {
    prompter.answers = {Answer::Ok, Answer::Ok, Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    ASSERT_TRUE(engine.startWrite());
    ASSERT_TRUE(run());
    EXPECT_EQ(radio.testDataReads + radio.testDataWrites, 0);
}

TEST_F(TransferTest, CablePulledMidRead) {
    radio.config().silentAfterBlocks = 100;
    s.doc.image.fill(0x55);
    prompter.answers = {Answer::Ok, Answer::Cancel};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_FALSE(engine.lastSucceeded());
    // Block 100 was asked for 4 times: the request and three retries.
    EXPECT_EQ(std::count(port.frames.begin(), port.frames.end(), ReadRequestFrame(1600)), 4);
    EXPECT_TRUE(std::all_of(s.doc.image.begin(), s.doc.image.end(), [](uint8_t b) { return b == 0x55; }));
    EXPECT_EQ(decodes, 0);
}

TEST_F(TransferTest, PortErrorEndsTransferAndLeavesDocument) {
    s.doc.image.fill(0x55);
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    // Some blocks, then the port reports its device gone.
    for (int i = 0; i < 40 && !port.pending.empty(); ++i) {
        std::vector<uint8_t> b(port.pending.begin(), port.pending.end());
        port.pending.clear();
        engine.onBytes(b.data(), b.size());
    }
    ASSERT_TRUE(engine.busy());
    engine.onPortError("device removed");
    EXPECT_FALSE(engine.busy());
    EXPECT_FALSE(engine.lastSucceeded());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(timers.due.empty());
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_NE(prompter.asked.back().text.find("device removed"), std::string::npos);
    EXPECT_EQ(observer.closed, 1);
    EXPECT_TRUE(std::all_of(s.doc.image.begin(), s.doc.image.end(), [](uint8_t b) { return b == 0x55; }));
}

TEST_F(TransferTest, UnansweredEndFrameStillSucceeds) {
    radio.config().noEndAnswer = true;
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());
    EXPECT_EQ(handshakes(), 1);
}

TEST_F(TransferTest, UnsavedChangesBeforeRead) {
    modified = true;
    // Cancel: nothing read.
    prompter.answers = {Answer::Ok, Answer::Cancel};
    EXPECT_FALSE(engine.startRead());
    EXPECT_EQ(handshakes(), 0);
    // Yes saves first; a failed save stops the read.
    saveWorks = false;
    prompter.answers = {Answer::Ok, Answer::Yes};
    EXPECT_FALSE(engine.startRead());
    EXPECT_EQ(saves, 1);
    saveWorks = true;
    prompter.answers = {Answer::Ok, Answer::Yes, Answer::Ok};
    EXPECT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_EQ(saves, 2);
    EXPECT_TRUE(engine.lastSucceeded());
    // No goes on.
    prompter.answers = {Answer::Ok, Answer::No, Answer::Ok};
    EXPECT_TRUE(engine.startRead());
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());
    EXPECT_EQ(saves, 2);
}

TEST_F(TransferTest, PortThatCannotBeOpened) {
    port.failOpen = true;
    prompter.answers = {Answer::Ok};
    EXPECT_FALSE(engine.startRead());
    EXPECT_FALSE(engine.busy());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].icon, Icon::Critical);
    EXPECT_EQ(port.frames.size(), 0u);

    prompter.answers = {Answer::Ok};
    ASSERT_TRUE(engine.startWrite());   // the port is tried after WaitSaveDataTimer
    ASSERT_TRUE(run());
    EXPECT_EQ(prompter.asked.size(), 2u);
    EXPECT_FALSE(engine.busy());
    EXPECT_EQ(port.frames.size(), 0u);
}

TEST_F(TransferTest, SecondStartWhileBusyIsRefused) {
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(engine.startRead());
    EXPECT_FALSE(engine.startRead());
    EXPECT_FALSE(engine.startWrite());
    EXPECT_FALSE(engine.startDealerRead());
    ASSERT_TRUE(run());
    EXPECT_TRUE(engine.lastSucceeded());
}
