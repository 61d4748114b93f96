// Write verification against the simulated radio: a radio that acknowledges
// a block without storing it is caught and named; a faithful radio passes;
// the read-back leaves the document alone.

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_link.h"
#include "link/transfer.h"
#include "link/verify.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;
using namespace zr::link;

namespace {

class VerifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.prompter = &prompter;
        s.doc.stored.ModelBand.BandCode = 1;
        s.doc.currentModel = "ZR614";
        s.settings.versions.pairs = {{"V100", "V100"}};
        s.doc.fileName = "mine.dat";
        s.doc.neverSaved = false;
        radio.memory.fill(0x00);
        radio.applyPassword();
        port.radio = &radio;
        engine.services().encodeImage = [](RadioDocument& d) {
            for (int i = 0; i < 5104; ++i) d.image[i] = static_cast<uint8_t>((i * 13 + 5) & 0xFF);
        };
    }
    void write() {
        prompter.answers = {Answer::Ok, Answer::Ok};   // 9005 confirm, 9010 finished
        ASSERT_TRUE(engine.startWrite());
        ASSERT_TRUE(zrtest::RunEngine(engine, port, timers));
        ASSERT_TRUE(engine.lastSucceeded());
    }
    VerifyOutcome verify() {
        VerifyOutcome got;
        int calls = 0;
        EXPECT_TRUE(verifier.start(s.doc.image, [&](const VerifyOutcome& o) {
            got = o;
            ++calls;
        }));
        EXPECT_TRUE(zrtest::RunEngine(verifier.engine(), port, timers));
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(verifier.running());
        return got;
    }

    Session s;
    zrtest::ScriptedPrompter prompter;
    RadioSim radio;
    zrtest::LosingPort port;
    zrtest::FakeTimers timers;
    TransferEngine engine{s, port, timers};
    WriteVerifier verifier{s, port, timers};
};

}  // namespace

TEST_F(VerifyTest, FaithfulRadioPassesAndTheDocumentIsUntouched) {
    write();
    const RadioImage written = s.doc.image;
    const StoredDocument stored = s.doc.stored;
    const std::size_t questions = prompter.asked.size();
    const int readsBefore = radio.blockReads;

    const VerifyOutcome o = verify();
    EXPECT_TRUE(o.readSucceeded);
    EXPECT_TRUE(o.ok()) << FormatVerifyReport(o.differences);
    EXPECT_EQ(radio.blockReads - readsBefore, 320 + 1);   // every block and the password block
    // Nothing asked (no read confirmation, no "read finished"), nothing changed.
    EXPECT_EQ(prompter.asked.size(), questions);
    EXPECT_EQ(s.doc.image, written);
    EXPECT_EQ(s.doc.stored, stored);
    EXPECT_EQ(s.doc.fileName, "mine.dat");
    EXPECT_FALSE(s.doc.neverSaved);
    EXPECT_FALSE(verifier.engine().busy());
}

TEST_F(VerifyTest, RadioThatDropsOneWrittenBlockIsCaughtAndNamed) {
    port.lose = 352;   // channel 12
    write();
    const VerifyOutcome o = verify();
    ASSERT_TRUE(o.readSucceeded);
    ASSERT_FALSE(o.ok());
    for (const auto& d : o.differences) {
        EXPECT_GE(d.address, 352);
        EXPECT_LT(d.address, 368);
        EXPECT_EQ(d.read, 0x00);
        EXPECT_EQ(d.written, s.doc.image[static_cast<std::size_t>(d.address)]);
    }
    EXPECT_EQ(o.differences.size(), 16u);
    const std::string text = VerifyOutcomeText(o);
    EXPECT_NE(text.find("channel 12: 16 bytes differ (addresses 352-367)"), std::string::npos) << text;

    // A lost settings block is named by its settings.
    port.lose = 4272;
    radio.memory.fill(0x00);
    write();
    const VerifyOutcome o2 = verify();
    ASSERT_FALSE(o2.differences.empty());
    EXPECT_NE(FormatVerifyReport(o2.differences).find("optional features: 12 bytes differ"), std::string::npos)
        << FormatVerifyReport(o2.differences);
}

TEST_F(VerifyTest, SilentRadioEndsTheReadBackAsFailed) {
    write();
    radio.config().silent = true;
    prompter.answers = {Answer::Cancel};   // 9008: do not try again
    const VerifyOutcome o = verify();
    EXPECT_FALSE(o.readSucceeded);
    EXPECT_FALSE(o.ok());
    EXPECT_NE(VerifyOutcomeText(o).find("could not be read back"), std::string::npos);
    // The one question the user saw was the no-answer question.
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().buttons, Buttons::OkCancel);
    // A new read-back can start after a failed one.
    radio.config().silent = false;
    EXPECT_TRUE(verify().ok());
}

TEST(VerifyAddressMap, EveryAreaHasItsName) {
    EXPECT_EQ(DescribeImageAddress(0), "channel 1");
    EXPECT_EQ(DescribeImageAddress(31), "channel 1");
    EXPECT_EQ(DescribeImageAddress(352), "channel 12");
    EXPECT_EQ(DescribeImageAddress(4095), "channel 128");
    EXPECT_EQ(DescribeImageAddress(4096), "VFO");
    EXPECT_EQ(DescribeImageAddress(4129), "channel list (channels 9-16)");
    EXPECT_EQ(DescribeImageAddress(4159), "scan skip list (channels 121-128)");
    EXPECT_EQ(DescribeImageAddress(4192 + 4 * 19), "FM broadcast channel 20");
    EXPECT_EQ(DescribeImageAddress(4283), "optional features");
    EXPECT_EQ(DescribeImageAddress(4284), "unused area");
    EXPECT_EQ(DescribeImageAddress(4336), "DTMF kill code");
    EXPECT_EQ(DescribeImageAddress(4352 + 16 * 15 + 15), "DTMF group code 16");
    EXPECT_EQ(DescribeImageAddress(4620), "alert and emergency settings");
    EXPECT_EQ(DescribeImageAddress(4667), "programmable keys");
    EXPECT_EQ(DescribeImageAddress(4685), "optional features (direct channels, power-on text)");
    EXPECT_EQ(DescribeImageAddress(4927), "embedded message line 4");
    EXPECT_EQ(DescribeImageAddress(5111), "identification");
    EXPECT_EQ(DescribeImageAddress(5120), "outside the memory");
    EXPECT_EQ(DescribeImageAddress(-1), "outside the memory");
}

TEST(VerifyCompare, EveryByteUpToTheIdentificationBlockIsCompared) {
    RadioImage a{}, b{};
    EXPECT_TRUE(CompareWrittenImage(a, b).empty());
    b[0] = 1;
    b[4100] = 2;
    // A damaged flags byte that went into the radio is a difference too.
    b[5116] = 0x40;
    const auto d = CompareWrittenImage(a, b);
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(FormatVerifyReport(d),
              "channel 1: 1 byte differs (address 0: written 00, read 01)\n"
              "VFO: 1 byte differs (address 4100: written 00, read 02)\n"
              "identification: 1 byte differs (address 5116: written 00, read 40)\n");
}
