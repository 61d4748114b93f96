// zrcps-cli end to end: the built program runs as a child process on real
// files, and against zrcps-sim behind a pseudo-terminal for the radio
// transfers.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/support.h"
#include "tools/cli_support.h"

namespace fs = std::filesystem;
using namespace clitest;

namespace {

const char* kCsvHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
    "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(CliPath())) << CliPath();
        ASSERT_TRUE(fs::exists(SimPath())) << SimPath();
    }
    std::string path(const std::string& name) const { return dir.str(name); }

    // A new document with two channels of our own from a CSV list.
    void makeDocument(const std::string& file) {
        const RunResult n = RunCli({"new", file});
        ASSERT_EQ(n.code, 0) << Describe(n);
        WriteText(path("list.csv"), std::string(kCsvHeader) +
                                        "40,RIDGE,462.562500,,0.000000,TSQL,100.0,100.0,023,NN,023,Tone->Tone,FM,"
                                        "6.25,,High,,,,,\n"
                                        "41,VALLEY,462.575000,+,5.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,"
                                        "6.25,S,Low,,,,,\n");
        const RunResult i = RunCli({"import-csv", file, path("list.csv")});
        ASSERT_EQ(i.code, 0) << Describe(i);
    }

    zrtest::TempDir dir;
};

}  // namespace

TEST_F(CliTest, NewDocumentIsShownWithItsChannelsAndBadFilesAreRefused) {
    const std::string doc = path("new.dat");
    const RunResult n = RunCli({"new", doc});
    ASSERT_EQ(n.code, 0) << Describe(n);
    ASSERT_TRUE(fs::exists(doc));
    EXPECT_NE(n.out.find("new document"), std::string::npos) << n.out;

    const RunResult s = RunCli({"show", doc});
    ASSERT_EQ(s.code, 0) << Describe(s);
    EXPECT_NE(s.out.find("Format version V100"), std::string::npos) << s.out;
    EXPECT_NE(s.out.find("Channels: "), std::string::npos) << s.out;
    EXPECT_NE(s.out.find("RX MHz"), std::string::npos) << s.out;
    // Channel 1 of the new document is listed with a frequency of the band.
    EXPECT_NE(s.out.find("\n1    46"), std::string::npos) << s.out;

    // An existing file is not replaced without -f.
    const auto before = zrtest::readBytes(doc);
    const RunResult again = RunCli({"new", doc});
    EXPECT_NE(again.code, 0);
    EXPECT_NE(again.err.find("already exists"), std::string::npos) << Describe(again);
    EXPECT_EQ(zrtest::readBytes(doc), before);

    // A damaged document is reported, not shown.
    zrtest::writeBytes(path("short.dat"), {1, 2, 3});
    const RunResult bad = RunCli({"show", path("short.dat")});
    EXPECT_NE(bad.code, 0);
    EXPECT_NE(bad.err.find("short.dat"), std::string::npos) << Describe(bad);
}

TEST_F(CliTest, EncodeDecodeRoundTripAndWrongSizeImageRefused) {
    const std::string doc = path("doc.dat");
    makeDocument(doc);
    ASSERT_EQ(RunCli({"encode", doc, path("a.bin")}).code, 0);
    const auto image = zrtest::readBytes(path("a.bin"));
    ASSERT_EQ(image.size(), 5120u);

    const RunResult d = RunCli({"decode", path("a.bin"), path("back.dat")});
    ASSERT_EQ(d.code, 0) << Describe(d);
    const RunResult shown = RunCli({"show", path("back.dat")});
    ASSERT_EQ(shown.code, 0) << Describe(shown);
    EXPECT_NE(shown.out.find("\"RIDGE\""), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\"VALLEY\""), std::string::npos) << shown.out;
    // The decoded document builds the same image again.
    ASSERT_EQ(RunCli({"encode", path("back.dat"), path("b.bin")}).code, 0);
    EXPECT_EQ(zrtest::readBytes(path("b.bin")), image);

    // One byte short, one byte long: refused with the reason, nothing written.
    for (std::size_t size : {std::size_t{5119}, std::size_t{5121}}) {
        std::vector<unsigned char> wrong(image.begin(), image.end());
        wrong.resize(size, 0xFF);
        zrtest::writeBytes(path("wrong.bin"), wrong);
        const RunResult r = RunCli({"decode", path("wrong.bin"), path("wrong.dat")});
        EXPECT_NE(r.code, 0) << size;
        EXPECT_NE(r.err.find("5120"), std::string::npos) << Describe(r);
        EXPECT_FALSE(fs::exists(path("wrong.dat"))) << size;
    }
}

TEST_F(CliTest, CsvListSurvivesImportAndExport) {
    const std::string doc = path("doc.dat");
    makeDocument(doc);
    const RunResult e = RunCli({"export-csv", doc, path("out.csv")});
    ASSERT_EQ(e.code, 0) << Describe(e);
    std::string csv = ReadText(path("out.csv"));
    // Rows end in CR LF, as spreadsheets write them.
    EXPECT_NE(csv.find("DVCODE\r\n"), std::string::npos) << csv;
    std::erase(csv, '\r');
    EXPECT_EQ(csv.rfind(kCsvHeader, 0), 0u) << csv;
    EXPECT_NE(csv.find("\n40,RIDGE,462.562500,,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\n41,VALLEY,462.575000,+,5.000000,"), std::string::npos) << csv;

    // Importing the exported list into a fresh document gives the same list.
    ASSERT_EQ(RunCli({"new", path("fresh.dat")}).code, 0);
    const RunResult i = RunCli({"import-csv", path("fresh.dat"), path("out.csv"), path("copy.dat")});
    ASSERT_EQ(i.code, 0) << Describe(i);
    ASSERT_EQ(RunCli({"export-csv", path("copy.dat"), path("again.csv")}).code, 0);
    std::string again = ReadText(path("again.csv"));
    std::erase(again, '\r');
    EXPECT_EQ(again, csv);

    // A list that is not CSV leaves the document as it was.
    const auto before = zrtest::readBytes(doc);
    zrtest::writeBytes(path("junk.csv"), {0x00, 0xFF, 0x01});
    const RunResult junk = RunCli({"import-csv", doc, path("junk.csv")});
    EXPECT_EQ(zrtest::readBytes(doc), before) << Describe(junk);
}

TEST_F(CliTest, ReadTakesWhatTheRadioHolds) {
    const std::string doc = path("doc.dat");
    makeDocument(doc);
    ASSERT_EQ(RunCli({"encode", doc, path("mem.bin")}).code, 0);
    const auto memory = zrtest::readBytes(path("mem.bin"));

    Sim sim;
    ASSERT_TRUE(sim.start({"--memory", path("mem.bin")}));
    const RunResult r = RunCli({"read", "--port", sim.device, path("read.dat")});
    ASSERT_EQ(r.code, 0) << Describe(r);

    // The document read builds the radio's memory again, channel names and all.
    ASSERT_EQ(RunCli({"encode", path("read.dat"), path("again.bin")}).code, 0);
    EXPECT_EQ(KeptPart(zrtest::readBytes(path("again.bin"))), KeptPart(memory));
    ASSERT_EQ(RunCli({"export-csv", path("read.dat"), path("read.csv")}).code, 0);
    EXPECT_NE(ReadText(path("read.csv")).find("\n40,RIDGE,462.562500,"), std::string::npos);
}

TEST_F(CliTest, WriteStoresTheDocumentAndVerifyChecksIt) {
    const std::string blank = path("blank.dat");
    ASSERT_EQ(RunCli({"new", blank}).code, 0);
    ASSERT_EQ(RunCli({"encode", blank, path("mem.bin")}).code, 0);
    const std::string doc = path("doc.dat");
    makeDocument(doc);
    ASSERT_EQ(RunCli({"encode", doc, path("doc.bin")}).code, 0);
    const auto expected = KeptPart(zrtest::readBytes(path("doc.bin")));
    ASSERT_NE(KeptPart(zrtest::readBytes(path("mem.bin"))), expected);

    {
        Sim sim;
        ASSERT_TRUE(sim.start({"--memory", path("mem.bin")}));
        const RunResult w = RunCli({"write", "--port", sim.device, doc});
        ASSERT_EQ(w.code, 0) << Describe(w);
        EXPECT_EQ(w.out.find("written data"), std::string::npos) << "no check without --verify";
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(KeptPart(zrtest::readBytes(path("mem.bin"))), expected);
    }

    // Write again with the check: the radio holds what was sent.
    {
        ASSERT_EQ(RunCli({"encode", "-f", blank, path("mem.bin")}).code, 0);
        Sim sim;
        ASSERT_TRUE(sim.start({"--memory", path("mem.bin")}));
        const RunResult w = RunCli({"write", "--port", sim.device, "--verify", doc});
        ASSERT_EQ(w.code, 0) << Describe(w);
        EXPECT_NE(w.out.find("The radio holds exactly the data that was written."), std::string::npos)
            << Describe(w);
        ASSERT_TRUE(sim.stop());
        EXPECT_EQ(KeptPart(zrtest::readBytes(path("mem.bin"))), expected);
    }

    // A radio that stops answering during the read-back fails the check.
    {
        Sim sim;
        ASSERT_TRUE(sim.start({"--memory", path("mem.bin"), "--silent-after", "340"}));
        const RunResult w = RunCli({"write", "--port", sim.device, "--verify", doc}, 45);
        EXPECT_NE(w.code, 0) << Describe(w);
        EXPECT_NE(w.err.find("could not be read back"), std::string::npos) << Describe(w);
    }
}

TEST_F(CliTest, SilentRadioFailsTheRead) {
    Sim sim;
    ASSERT_TRUE(sim.start({"--silent"}));
    const RunResult r = RunCli({"read", "--port", sim.device, path("read.dat")});
    EXPECT_GT(r.code, 0) << Describe(r);
    EXPECT_FALSE(fs::exists(path("read.dat")));
    EXPECT_NE(r.err.find("does not answer"), std::string::npos) << Describe(r);

    // With the source tree's program folder the shipped English texts are
    // used; an existing document survives the failed read.
    ASSERT_EQ(RunCli({"new", path("keep.dat")}).code, 0);
    const auto kept = zrtest::readBytes(path("keep.dat"));
    const Env shipped{{"ZRCPS_PROGRAM_FOLDER", (zrtest::sourceDir() / "install").string()}};
    const RunResult texts = RunCli({"read", "-f", "--port", sim.device, path("keep.dat")}, 30, shipped);
    EXPECT_GT(texts.code, 0) << Describe(texts);
    EXPECT_EQ(zrtest::readBytes(path("keep.dat")), kept);
    EXPECT_NE(texts.err.find("The radio does not answer. Check the cable"), std::string::npos) << Describe(texts);

    // Wrong use is told apart from a failed transfer.
    const RunResult noFile = RunCli({"read", "--port", sim.device});
    EXPECT_EQ(noFile.code, 2) << Describe(noFile);
    EXPECT_NE(noFile.err.find("usage: zrcps-cli read"), std::string::npos) << Describe(noFile);
}
