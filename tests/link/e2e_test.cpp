// Transfers over a real serial path: the engine on QSerialPort opens the
// pseudo-terminal of a simulated radio.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <ctime>
#include <memory>

#include "data/image_codec.h"
#include "link/radio_sim.h"
#include "platform/serial/connection_check.h"
#include "platform/serial/pty_radio.h"
#include "platform/serial/qt_link.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;
using namespace zr::link;

namespace {

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_link";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
    }
    void SetUp() override {
        s.prompter = &prompter;
        s.doc.stored.ModelBand.BandCode = 1;
        s.doc.currentModel = "ZR614";
        s.settings.versions.pairs = {{"V100", "V100"}};
        for (int i = 0; i < 5120; ++i) radio.memory[i] = static_cast<uint8_t>((i * 13 + 5) & 0xFF);
        for (int i = 0; i < 512; ++i) radio.dealer[i] = static_cast<uint8_t>('A' + i % 26);
        radio.applyPassword();
        s.doc.saved = s.doc.stored;   // nothing unsaved
    }
    void plug(PtyRadioOptions o = {}) {
        pty = std::make_unique<PtyRadio>(radio, o);
        std::string error;
        ASSERT_TRUE(pty->open(error)) << error;
        link.port().setDevicePath(pty->devicePath());
        link.engine().services().isModified = [] { return false; };
        link.engine().services().startProgramVersion = [this](const std::string& v) {
            switched.push_back(v);
            return zr::ProgramStart{};
        };
    }
    // Runs the event loop until the engine is idle (or 30 s have passed).
    // A transfer still running then fails the test, and its outcome must
    // not be read: false.
    [[nodiscard]] bool wait(const std::function<void()>& during = {}) {
        QElapsedTimer t;
        t.start();
        while (link.engine().busy() && t.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
            if (during) during();
        }
        EXPECT_FALSE(link.engine().busy()) << "transfer did not end";
        return !link.engine().busy();
    }
    // A read or write confirmed with OK whose one message after the
    // transfer (finished, or why it was refused) is answered OK.
    bool read() {
        prompter.answers.push_back(Answer::Ok);   // 9004
        prompter.answers.push_back(Answer::Ok);   // 9009 or the refusal
        if (!link.engine().startRead()) return false;
        return wait() && link.engine().lastSucceeded();
    }
    bool write() {
        prompter.answers.push_back(Answer::Ok);   // 9005
        prompter.answers.push_back(Answer::Ok);   // 9010 or the refusal
        if (!link.engine().startWrite()) return false;
        return wait() && link.engine().lastSucceeded();
    }
    // A memory image as this program writes it, with channels of every ID
    // code length from 3 to 10 digits.
    RadioImage encodedMemory() {
        Session tmp;
        tmp.doc.stored.ModelBand.BandCode = 1;
        tmp.doc.stored.ModelBand.ModelId.set("ZR614");
        auto& list = tmp.doc.stored.Channels;
        const char* ids[] = {"123", "1234", "12345", "123456", "1234567", "12345678", "123456789", "1234567890"};
        for (int i = 0; i < 8; ++i) {
            ChannelRecord& c = list.entries[i];
            c.ChannelNumber = static_cast<int16_t>(i * 9 + 1);
            c.RxFreq.set(std::to_string(46200000 + i * 125 * 20));
            c.Offset.set("0000000");
            c.IdCode.set(ids[i]);
            c.IdCodeLength = 10;
            c.TxPower = static_cast<int16_t>(i % 3);
            c.ChannelName.set("CH" + std::to_string(i));
        }
        list.entries[8] = list.entries[0];
        list.entries[8].ChannelNumber = kVfoChannel;
        list.count = 9;
        tmp.doc.image.fill(0xFF);
        EncodeImage(tmp.doc);
        RadioImage m = tmp.doc.image;
        m[5116] = 0x00;   // the radio's flags
        return m;
    }

    Session s;
    zrtest::ScriptedPrompter prompter;
    RadioSim radio;
    std::unique_ptr<PtyRadio> pty;
    QtLink link{s};
    std::vector<std::string> switched;
};

}  // namespace

TEST_F(EndToEnd, ReadAndWriteRoundTripByteExact) {
    const RadioImage m = encodedMemory();
    std::copy(m.begin(), m.end(), radio.memory.begin());
    plug();
    ASSERT_TRUE(read());
    EXPECT_TRUE(std::equal(m.begin(), m.end(), s.doc.image.begin()));
    // Decoded after ReadOKTimer: every ID code length survives.
    ASSERT_GE(s.doc.stored.Channels.count, 8);
    std::vector<std::string> ids;
    for (int i = 0; i < s.doc.stored.Channels.count; ++i) ids.push_back(s.doc.stored.Channels.entries[i].IdCode.text());
    for (const char* id : {"123", "1234", "12345678", "1234567890"})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    EXPECT_EQ(s.doc.fileName, "new.dat");

    // Written back: the radio holds the same bytes again.
    radio.memory.fill(0x00);
    ASSERT_TRUE(write());
    for (int i = 0; i < 5120; ++i) ASSERT_EQ(radio.memory[i], m[i]) << "address " << i;
}

TEST_F(EndToEnd, ReadPreservesArbitraryMemoryAndWriteSendsDocument) {
    plug();
    ASSERT_TRUE(read());
    EXPECT_TRUE(std::equal(radio.memory.begin(), radio.memory.end(), s.doc.image.begin()));
    EXPECT_EQ(radio.ends, 1);
}

TEST_F(EndToEnd, NonEchoingCableAndCorruptedReplies) {
    radio.config().echo = false;
    radio.config().corruptShare = 0.04;
    radio.config().seed = 3;
    plug();
    ASSERT_TRUE(read());
    EXPECT_FALSE(s.settings.CableEcho);
    EXPECT_EQ(radio.handshakes, 2);
    EXPECT_GT(radio.corrupted, 0);
    EXPECT_TRUE(std::equal(radio.memory.begin(), radio.memory.end(), s.doc.image.begin()));
}

TEST_F(EndToEnd, SilentRadio) {
    radio.config().silent = true;
    plug();
    prompter.answers = {Answer::Ok, Answer::Cancel};
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(link.engine().startRead()) << (prompter.asked.empty() ? "" : prompter.asked.back().text);
    ASSERT_TRUE(wait());
    EXPECT_FALSE(link.engine().lastSucceeded());
    EXPECT_EQ(radio.handshakes, 16);
    EXPECT_GE(t.elapsed(), 16 * 150 - 50);
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].buttons, Buttons::OkCancel);
    // The end frame after Cancel; the radio reads it on a later turn of the
    // event loop, as nothing waits for its answer.
    QElapsedTimer late;
    late.start();
    while (radio.ends == 0 && late.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(radio.ends, 1);
}

TEST_F(EndToEnd, Passwords) {
    radio.config().password = "7Qx";
    radio.applyPassword();
    plug();
    prompter.passwords = {std::string("7qx")};
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(link.engine().startRead());
    ASSERT_TRUE(wait());
    EXPECT_FALSE(link.engine().lastSucceeded());
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().text, "PassWord Failure!");

    prompter.answers = {Answer::Ok};   // Cancel in the dialog
    ASSERT_TRUE(link.engine().startRead());
    ASSERT_TRUE(wait());
    EXPECT_FALSE(link.engine().lastSucceeded());
    EXPECT_EQ(prompter.passwordRequests, 2);

    s.settings.ProgramPassword = "7Qx";   // given through the menu beforehand
    ASSERT_TRUE(read());
    EXPECT_EQ(prompter.passwordRequests, 2);
}

TEST_F(EndToEnd, RepeatRequestAndChecks) {
    radio.config().repeatBlocks = {16, 5104};
    plug();
    ASSERT_TRUE(write());
    EXPECT_EQ(radio.blockWrites, 320);
    EXPECT_EQ(std::count(radio.writeAddresses.begin(), radio.writeAddresses.end(), 16), 1);

    radio.config().band = 3;
    EXPECT_FALSE(write());
    const auto texts = prompter.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "The radio is of another band."), texts.end());
    radio.config().band = 1;
    radio.config().model = "ZR999";
    EXPECT_FALSE(read());
    radio.config().model = "ZR614";
    radio.config().version = "V107";
    prompter.answers = {Answer::Ok, Answer::No};   // 9004, no version switch
    ASSERT_TRUE(link.engine().startRead());
    ASSERT_TRUE(wait());
    EXPECT_FALSE(link.engine().lastSucceeded());
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().buttons, Buttons::YesNo);
    EXPECT_TRUE(switched.empty());

    radio.config().version = "V100";
    const int before = radio.blockWrites;
    for (uint8_t flags : {uint8_t(0x08), uint8_t(0x04)}) {
        radio.config().flags = flags;
        EXPECT_FALSE(write());
    }
    EXPECT_EQ(radio.blockWrites, before);
}

TEST_F(EndToEnd, DealerReadAndFactoryTestData) {
    const RadioImage m = encodedMemory();
    std::copy(m.begin(), m.end(), radio.memory.begin());
    plug();
    ASSERT_TRUE(link.engine().startDealerRead());
    ASSERT_TRUE(wait());
    ASSERT_TRUE(link.engine().lastSucceeded());
    EXPECT_EQ(s.doc.rmgImage, radio.dealer);

    s.settings.factoryTestMode = true;
    for (int i = 0; i < 16; ++i) radio.testData[i] = static_cast<uint8_t>(0x10 + i);
    ASSERT_TRUE(read());
    EXPECT_EQ(s.doc.testData.bytes, radio.testData);
    s.doc.testData.bytes[3] = 0x77;
    ASSERT_TRUE(write());
    EXPECT_EQ(radio.testData[3], 0x77);
    EXPECT_EQ(radio.testData[15], 0xA5);
}

TEST_F(EndToEnd, CablePulledMidTransfer) {
    radio.config().silentAfterBlocks = 50;
    s.doc.image.fill(0x66);
    plug();
    prompter.answers = {Answer::Ok, Answer::Cancel};
    ASSERT_TRUE(link.engine().startRead());
    ASSERT_TRUE(wait());
    EXPECT_FALSE(link.engine().lastSucceeded());
    EXPECT_TRUE(std::all_of(s.doc.image.begin(), s.doc.image.end(), [](uint8_t b) { return b == 0x66; }));
    EXPECT_FALSE(link.port().isOpen());
}

TEST_F(EndToEnd, DeviceDisappearsDuringTransfer) {
    s.doc.image.fill(0x66);
    plug();
    bool unplugged = false;
    pty->onRequest = [&] {
        if (!unplugged && radio.blockReads == 40) {
            unplugged = true;
            pty->unplug();
        }
    };
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(link.engine().startRead());
    ASSERT_TRUE(wait());
    EXPECT_TRUE(unplugged);
    EXPECT_FALSE(link.engine().lastSucceeded());
    EXPECT_FALSE(link.port().isOpen());
    EXPECT_TRUE(std::all_of(s.doc.image.begin(), s.doc.image.end(), [](uint8_t b) { return b == 0x66; }));
}

namespace {
double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
}  // namespace

// The command line waits for a slow radio asleep, not by polling the port
// in a loop that keeps a processor busy (and slows the simulated radio
// beside it), and it starts a write without the pause the windows need to
// take in their edits.
TEST_F(EndToEnd, CommandLineWaitsAsleepAndWritesAtOnce) {
    plug();
    prompter.answers = {Answer::Ok, Answer::Ok};
    ASSERT_TRUE(link.engine().startWrite());
    EXPECT_EQ(link.engine().bytesSent(), 0u) << "a write waits for open windows first";
    link.engine().writeNow();
    const auto sent = link.engine().bytesSent();
    EXPECT_GT(sent, 0u) << "the handshake goes out at once";
    link.engine().writeNow();   // nothing more to start
    EXPECT_EQ(link.engine().bytesSent(), sent);
    RunUntilIdle(link.engine());
    EXPECT_TRUE(link.engine().lastSucceeded());

    // Slow, yet well inside the 150 ms the engine waits for an answer.
    PtyRadioOptions slow;
    slow.turnaroundMs = 60;
    plug(slow);
    const int answered = radio.answers;
    ASSERT_TRUE(link.engine().startIdentify());
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = ProcessCpuMs();
    RunUntilIdle(link.engine());
    const double cpu = ProcessCpuMs() - cpu0;
    const double ms = static_cast<double>(wall.elapsed());
    ASSERT_FALSE(link.engine().busy());
    EXPECT_GE(radio.answers - answered, 3);   // handshake, identification twice
    EXPECT_GE(ms, 3 * 60.0);
    EXPECT_LT(cpu, ms / 3) << "busy " << cpu << " ms of " << ms << " ms";
}
