// Opening, loading and writing the document of a session.

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include "data/bands.h"
#include "factory/test_data.h"
#include "files/change_tracking.h"
#include "files/document_file.h"
#include "files_fixture.h"

using namespace zr;
using zrtest::FilesFixture;

namespace {

std::vector<unsigned char> fileBytes(const std::string& p) { return zrtest::readBytes(p); }

}  // namespace

TEST(WriteDocument, WritesOneCompleteRecord) {
    FilesFixture f;
    f.s.doc.fileName = f.path("a.dat");
    f.s.doc.currentModel = "ZR614";
    f.s.doc.currentBand = "446 - 447 MHz";
    f.s.doc.stored.FormatVersion.set("V999");   // as a template may bring it
    f.s.doc.stored.Channels.count = 2;
    f.s.doc.stored.Channels.entries[1].ChannelName.set("ABC");
    ASSERT_TRUE(WriteDocument(f.s));

    auto b = fileBytes(f.path("a.dat"));
    ASSERT_EQ(b.size(), 11037u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "V100");
    EXPECT_EQ(std::string(b.begin() + 10444, b.begin() + 10451), "ZR614  ");
    EXPECT_EQ(b[10451], 4);   // band code refreshed from the current band
    EXPECT_EQ(std::string(b.begin() + 6 + 78 + 58, b.begin() + 6 + 78 + 64), "ABC   ");
    EXPECT_FALSE(f.s.doc.neverSaved);
    EXPECT_FALSE(IsModified(f.s));
    EXPECT_TRUE(f.prompter.asked.empty());

    // Over a longer file: its bytes beyond the record stay.
    std::vector<unsigned char> old(12000, 0x5A);
    zrtest::writeBytes(f.path("b.dat"), old);
    f.s.doc.fileName = f.path("b.dat");
    ASSERT_TRUE(WriteDocument(f.s));
    auto b2 = fileBytes(f.path("b.dat"));
    ASSERT_EQ(b2.size(), 12000u);
    EXPECT_TRUE(std::equal(b.begin(), b.end(), b2.begin()));
    EXPECT_EQ(b2[11037], 0x5A);
    EXPECT_EQ(b2[11999], 0x5A);
}

TEST(WriteDocument, AFailedWriteChangesNothing) {
    FilesFixture f;
    f.s.doc.fileName = f.path("no-such-folder/a.dat");
    f.s.doc.neverSaved = true;
    f.s.doc.stored.Channels.count = 2;   // an unsaved change
    ASSERT_TRUE(IsModified(f.s));

    // The error comes back to the caller; the write itself tells no one.
    f.s.prompter = nullptr;
    const Result written = WriteDocument(f.s);
    EXPECT_FALSE(written);
    EXPECT_EQ(written.message().rfind(f.text(9002) + "\r\n\r\n", 0), 0u) << written.message();
    EXPECT_NE(written.message().find("a.dat"), std::string::npos) << written.message();
    EXPECT_EQ(f.s.doc.fileName, f.path("no-such-folder/a.dat"));
    EXPECT_TRUE(f.s.doc.neverSaved);
    // Still unsaved: leaving now must still ask.
    EXPECT_TRUE(IsModified(f.s));
}

TEST(WriteDocument, AFullDiskLeavesTheOldFileIntact) {
    FilesFixture f;
    const std::string p = f.writeFile("keep.dat");
    const auto before = fileBytes(p);
    ASSERT_EQ(OpenChecked(f.s, p).result, OpenResult::Opened);
    f.s.doc.stored.Channels.entries[0].TxPower = 2;

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim = old;
    lim.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &lim);
    const Result written = WriteDocument(f.s);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);

    EXPECT_FALSE(written);
    EXPECT_EQ(written.message().rfind(f.text(9002), 0), 0u) << written.message();
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_EQ(fileBytes(p), before);
    EXPECT_FALSE(f.s.doc.neverSaved);
    EXPECT_TRUE(IsModified(f.s));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path()),
                            std::filesystem::directory_iterator()),
              2);   // prog/ and keep.dat: no temporary left behind
}

TEST(OpenChecked, OpensAndAppliesTheModelAndBand) {
    FilesFixture f;
    const std::string p = f.writeFile("band8.dat", [](StoredDocument& d) {
        d.ModelBand.BandCode = 8;
        d.FormatVersion.set("V100");
    });
    ASSERT_EQ(OpenChecked(f.s, p).result, OpenResult::Opened);
    EXPECT_EQ(f.s.doc.currentBand, "136 - 174 MHz");
    EXPECT_EQ(f.s.doc.bandLower, 136.0);
    EXPECT_EQ(f.s.doc.bandUpper, 174.0);
    EXPECT_EQ(f.s.doc.fileName, p);
    EXPECT_FALSE(f.s.doc.neverSaved);
    EXPECT_EQ(f.s.doc.stored.Channels.count, 1);
    EXPECT_EQ(f.s.doc.stored.Channels.entries[0].ChannelNumber, 5);
    EXPECT_FALSE(IsModified(f.s));
    EXPECT_TRUE(f.prompter.asked.empty());
}

TEST(OpenChecked, RefusesBadVersionsWithoutChangingTheDocument) {
    for (const char* v : {"X100", "V1A0", "v100", "V10 "}) {
        FilesFixture f;
        f.s.doc.stored.Channels.count = 2;   // unsaved work
        const RadioDocument before = f.s.doc;
        const std::string p =
            f.writeFile("bad.dat", [&](StoredDocument& d) { d.FormatVersion.set(v); });
        const OpenOutcome o = OpenChecked(f.s, p);
        EXPECT_EQ(o.result, OpenResult::Refused) << v;
        EXPECT_EQ(o.message, f.text(9065)) << v;
        EXPECT_TRUE(f.prompter.asked.empty()) << v;
        EXPECT_TRUE(f.s.doc.stored == before.stored && f.s.doc.saved == before.saved);
        EXPECT_EQ(f.s.doc.fileName, before.fileName);
        EXPECT_TRUE(f.s.doc.neverSaved);
    }
}

TEST(OpenChecked, AnUnpairedVersionIsLeftToTheCallerToAskAbout) {
    FilesFixture f;
    f.s.settings.versions.pairs = {{"V100", "V100"}, {"V101", "V102"}};
    const std::string p = f.writeFile("v102.dat", [](StoredDocument& d) {
        d.FormatVersion.set("V102");
        d.ModelBand.BandCode = 8;
    });
    f.s.doc.stored.Channels.count = 2;   // unsaved work
    const RadioDocument before = f.s.doc;

    const OpenOutcome o = OpenChecked(f.s, p);
    EXPECT_EQ(o.result, OpenResult::OtherVersion);
    EXPECT_EQ(o.version, "V102");
    EXPECT_TRUE(o.message.empty());
    // Nothing asked, nothing started, nothing changed.
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_TRUE(f.s.doc.stored == before.stored && f.s.doc.saved == before.saved);
    EXPECT_EQ(f.s.doc.currentBand, before.currentBand);
    EXPECT_EQ(f.s.doc.fileName, before.fileName);

    // A version no program version pairs with comes back the same way.
    const std::string q = f.writeFile("v200.dat", [](StoredDocument& d) { d.FormatVersion.set("V200"); });
    EXPECT_EQ(OpenChecked(f.s, q).version, "V200");
    EXPECT_TRUE(f.prompter.asked.empty());
}

TEST(OpenChecked, ShortDamagedAndUnreadableFilesAreRefused) {
    FilesFixture f;
    const std::string good = f.writeFile("good.dat");
    auto bytes = fileBytes(good);

    std::vector<std::string> paths;
    auto shortBytes = bytes;
    shortBytes.resize(11036);
    zrtest::writeBytes(f.path("short.dat"), shortBytes);
    paths.push_back(f.path("short.dat"));
    zrtest::writeBytes(f.path("tiny.dat"), {'V', '1', '0', '0'});
    paths.push_back(f.path("tiny.dat"));
    auto badCount = bytes;
    badCount[4] = 130;
    zrtest::writeBytes(f.path("count.dat"), badCount);
    paths.push_back(f.path("count.dat"));
    auto negCount = bytes;
    negCount[5] = 0xFF;
    zrtest::writeBytes(f.path("neg.dat"), negCount);
    paths.push_back(f.path("neg.dat"));
    paths.push_back(f.path("missing.dat"));
    paths.push_back(f.dir.str());   // a folder

    f.s.prompter = nullptr;
    for (const auto& p : paths) {
        f.s.doc.stored.Channels.count = 2;
        const RadioDocument before = f.s.doc;
        const OpenOutcome o = OpenChecked(f.s, p);
        EXPECT_EQ(o.result, OpenResult::Failed) << p;
        EXPECT_EQ(o.message, f.text(9002) + "\r\n\r\n" + p);
        EXPECT_TRUE(f.s.doc.stored == before.stored && f.s.doc.saved == before.saved) << p;
        EXPECT_EQ(f.s.doc.fileName, before.fileName);
    }
}

TEST(OpenChecked, OutOfRangeValuesLoadAsStoredAndSaveBackByteForByte) {
    FilesFixture f;
    const std::string p = f.writeFile("wild.dat", [](StoredDocument& d) {
        d.Channels.count = 129;
        for (int i = 0; i < 129; ++i) {
            auto& c = d.Channels.entries[i];
            c.ChannelNumber = static_cast<int16_t>(i % 2 ? -300 + i : 1000 + i);
            c.RxTone = static_cast<int16_t>(-1 - i);
            c.TxTone = static_cast<int16_t>(30000);
            c.OffsetDir = 250;
            c.IdCodeLength = 10;
            c.RxFreq.set(std::string("\xFF\x00\x01zzzzz", 8));
            c.ChannelName.set("\xE4\xF6\xFC");
        }
        d.OptFeat.FmCurrentCh = 999;
        d.OptFeat.UhfCurrentCh = -7;
        d.Dtmf.BotCode.Length = 200;
        d.Dtmf.GroupCodes[3].Length = -5;
        d.Dtmf.SeparatorCode = 99;
        d.Scan.RevertChannel = 255;
        d.Alert.EmgIdGroup = 200;
        d.ModelBand.BandCode = 15;   // a code without a band
    });
    const auto original = fileBytes(p);
    ASSERT_EQ(OpenChecked(f.s, p).result, OpenResult::Opened);
    EXPECT_EQ(f.s.doc.stored.Channels.entries[1].ChannelNumber, -299);
    EXPECT_EQ(f.s.doc.stored.OptFeat.FmCurrentCh, 999);
    EXPECT_EQ(f.s.doc.stored.Dtmf.BotCode.Length, 200);
    EXPECT_EQ(f.s.doc.currentBand, "");
    EXPECT_FALSE(IsModified(f.s));

    f.s.doc.fileName = f.path("copy.dat");
    // The band code stays 15 although no band text belongs to it.
    f.s.doc.currentBand = BandText(15);
    ASSERT_TRUE(WriteDocument(f.s));
    auto copy = fileBytes(f.path("copy.dat"));
    // Only the band code may differ: a band without text maps back to 0.
    copy[10451] = original[10451];
    EXPECT_EQ(copy, original);
}

TEST(OpenChecked, DocumentsRoundTripByteForByte) {
    FilesFixture f;
    // Arbitrary content everywhere the record allows it.
    std::vector<unsigned char> raw(kDocumentRecordSize);
    uint32_t x = 12345;
    for (auto& b : raw) b = static_cast<unsigned char>((x = x * 1103515245 + 12345) >> 16);
    const std::string head = "V100";
    std::copy(head.begin(), head.end(), raw.begin());
    raw[4] = 129;
    raw[5] = 0;
    const std::string model = "ZR614  ";
    std::copy(model.begin(), model.end(), raw.begin() + 10444);
    raw[10451] = 1;
    raw[10452] = 0;
    // No DTMF signalling and ID code length 10 everywhere, so the ID codes
    // need no alignment after the load.
    raw[10541 + 12] = raw[10541 + 13] = 0;
    for (int i = 0; i < 129; ++i) {
        raw[6 + 78 * i + 74] = 10;
        raw[6 + 78 * i + 75] = 0;
    }
    zrtest::writeBytes(f.path("in.dat"), raw);
    ASSERT_EQ(OpenChecked(f.s, f.path("in.dat")).result, OpenResult::Opened);
    f.s.doc.fileName = f.path("out.dat");
    ASSERT_TRUE(WriteDocument(f.s));
    EXPECT_EQ(fileBytes(f.path("out.dat")), raw);
}

TEST(OpenChecked, AlignsIdCodeLengthsAfterTheLoad) {
    FilesFixture f;
    const std::string p = f.writeFile("dtmf.dat", [](StoredDocument& d) {
        d.Dtmf.DtmfSignalling = 1;
        d.Channels.count = 2;
        d.Channels.entries[1].ChannelNumber = 6;
        d.Channels.entries[1].IdCode.set("1234567890");
        d.Channels.entries[1].IdCodeLength = 10;
    });
    ASSERT_EQ(OpenChecked(f.s, p).result, OpenResult::Opened);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(f.s.doc.stored.Channels.entries[i].IdCodeLength, 3);
        EXPECT_LE(f.s.doc.stored.Channels.entries[i].IdCode.text().size(), 3u);
    }
}

TEST(OpenChecked, FactoryTestDataTravelsInTheCompanionFile) {
    FilesFixture f;
    f.s.settings.factoryTestMode = true;
    const std::string p = f.writeFile("a.dat");
    FactoryTestData t;
    for (int i = 0; i < 16; ++i) t.bytes[i] = static_cast<uint8_t>(i + 1);
    ASSERT_TRUE(WriteTestDataFile(f.path("a.ted"), t));

    ASSERT_EQ(OpenChecked(f.s, p).result, OpenResult::Opened);
    EXPECT_EQ(f.s.doc.testData, t);
    EXPECT_EQ(f.s.doc.savedTestData, t);
    EXPECT_FALSE(IsModified(f.s));

    f.s.doc.testData.bytes[15] = 0xA5;
    EXPECT_TRUE(IsModified(f.s));
    f.s.doc.fileName = f.path("b.dat");
    ASSERT_TRUE(WriteDocument(f.s));
    EXPECT_FALSE(IsModified(f.s));
    FactoryTestData back;
    ReadTestDataFile(f.path("b.ted"), back);
    EXPECT_EQ(back, f.s.doc.testData);

    // Without the mode no companion file is read or written.
    FilesFixture g;
    const std::string q = g.writeFile("c.dat");
    ASSERT_TRUE(WriteTestDataFile(g.path("c.ted"), t));
    ASSERT_EQ(OpenChecked(g.s, q).result, OpenResult::Opened);
    EXPECT_EQ(g.s.doc.testData, FactoryTestData{});
    g.s.doc.fileName = g.path("d.dat");
    ASSERT_TRUE(WriteDocument(g.s));
    EXPECT_FALSE(std::filesystem::exists(g.path("d.ted")));
}

TEST(LoadTemplate, LoadsWithoutVersionCheckAndKeepsDefaultsOnFailure) {
    FilesFixture f;
    const std::string p = f.writeFile("t.dat", [](StoredDocument& d) {
        d.FormatVersion.set("XYZW");
        d.ModelBand.BandCode = 8;
    });
    ASSERT_TRUE(LoadTemplate(f.s, p));
    EXPECT_TRUE(f.prompter.asked.empty());
    EXPECT_EQ(f.s.doc.stored.FormatVersion.raw(), "XYZW");
    EXPECT_EQ(f.s.doc.currentBand, "136 - 174 MHz");
    EXPECT_FALSE(IsModified(f.s));

    // A damaged template: no message, the defaults stay and count as saved.
    FilesFixture g;
    g.s.doc.currentBand = "446 - 447 MHz";
    g.s.doc.stored.Channels.count = 2;
    zrtest::writeBytes(g.path("t.dat"), {1, 2, 3});
    EXPECT_FALSE(LoadTemplate(g.s, g.path("t.dat")));
    EXPECT_TRUE(g.prompter.asked.empty());
    EXPECT_EQ(g.s.doc.stored.Channels.count, 2);
    EXPECT_EQ(g.s.doc.stored.ModelBand.BandCode, 4);
    EXPECT_FALSE(IsModified(g.s));
}

TEST(OpenFallbackTemplate, TakesTheCurrentModelAndBandAndNoChannels) {
    FilesFixture f;
    f.s.doc.currentBand = "446 - 447 MHz";
    f.s.doc.stored.ModelBand.BandCode = 4;
    const std::string p = f.writeFile("ZR614_0.dat", [](StoredDocument& d) {
        d.ModelBand.BandCode = 8;
        d.Channels.count = 1;
        d.Keys.Pf1Long = 7;
    });
    ASSERT_EQ(OpenFallbackTemplate(f.s, p).result, OpenResult::Opened);
    EXPECT_EQ(f.s.doc.stored.ModelBand.BandCode, 4);
    EXPECT_EQ(f.s.doc.currentBand, "446 - 447 MHz");
    EXPECT_EQ(f.s.doc.stored.Channels.count, 0);
    EXPECT_EQ(f.s.doc.stored.Keys.Pf1Long, 7);
    EXPECT_TRUE(f.s.doc.neverSaved);
}
