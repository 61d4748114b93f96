// The differences of two documents and of two memory images: one readable
// line for every changed item, grouped by channel and page, numbers with
// "."; items the radio does not keep marked in documents and left out of
// images; image bytes that no item shows still reported.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "data/bands.h"
#include "data/image_codec.h"
#include "data/new_document_defaults.h"
#include "files/document_record.h"
#include "link/differences.h"
#include "shell/session.h"
#include "../data/radio_image_builder.h"
#include "support/record_fields.h"
#include "support/support.h"

using namespace zr;
using namespace zr::link;

namespace {

StoredDocument NewDocument() {
    Session s;
    s.doc.currentModel = kModelId;
    s.doc.currentBand = kDefaultBand;
    RefreshBandLimits(s.doc);
    NewDocumentDefaults(s, CivilDate{2024, 5, 6});
    return s.doc.stored;
}

ChannelRecord& Channel(StoredDocument& d, int number) {
    for (int i = 0; i < d.Channels.count; ++i)
        if (d.Channels.entries[static_cast<std::size_t>(i)].ChannelNumber == number)
            return d.Channels.entries[static_cast<std::size_t>(i)];
    ChannelRecord& c = d.Channels.entries[static_cast<std::size_t>(d.Channels.count++)];
    c = ChannelRecord{};
    c.ChannelNumber = static_cast<int16_t>(number);
    c.IdCode.set("000");
    return c;
}

std::vector<std::string> Texts(const std::vector<Difference>& d) {
    std::vector<std::string> t;
    for (const auto& x : d) t.push_back(x.text);
    return t;
}

// Changes a field to a different value that fits its bits in the radio.
template <class T>
void Toggle(T& v) {
    v = static_cast<T>(v == 1 ? 0 : 1);
}

}  // namespace

TEST(Differences, EveryKindOfItemReadsAsOneLine) {
    const StoredDocument a = NewDocument();
    StoredDocument b = a;
    ASSERT_EQ(Channel(b, 1).RxFreq.text(), "46500000");

    ChannelRecord& c1 = Channel(b, 1);
    c1.RxFreq.set("46256250");
    c1.RxStep = 1;
    c1.OffsetDir = 2;
    c1.Offset.set("0500000");
    c1.ChannelName.set("BASE");
    c1.RxTone = 70;       // D023N
    c1.TxTone = 1;        // 67.0
    c1.TxPower = 0;
    c1.ScanSkip = 1;
    c1.Bandwidth = 2;
    c1.IdCode.set("12345");
    c1.Talkaround = 1;    // not in the radio
    ChannelRecord& c7 = Channel(b, 7);
    c7.RxFreq.set("46257500");
    c7.ChannelName.set("Q\"7");
    c7.TxPower = 2;
    Channel(b, kVfoChannel).RxFreq.set("46300000");
    b.FmChannels[3].IsEmpty = 0;
    b.FmChannels[3].FmFreq.set("08810000");
    b.Scan.PriorityCh1 = 5;
    b.Scan.LookBackA = 25;
    b.OptFeat.PowerOnText.set("HELLO");
    b.OptFeat.PriorityCh = 3;   // not in the radio
    b.Dtmf.GroupCodes[3].Length = 3;
    b.Dtmf.GroupCodes[3].Digits.set("1*#");
    b.Dtmf.DtmfRate = 2;
    b.Keys.Pf1Long = 1;
    b.Alert.AlertCycles = 4;
    b.AlarmMode = 1;
    b.EmbMsg.Lines[1].set("ON AIR");
    b.ModelBand.BandCode = 16;
    b.TestFreqs[2].TestFreq1.set("46200000");

    const auto d = CompareDocuments(a, b);
    const std::vector<std::string> expected = {
        "Model and band: band 460 - 470 MHz -> 350 - 390 MHz",
        "CH 1 RX 465.00000 -> 462.56250",
        "CH 1 TX offset simplex -> +5.00000",
        "CH 1 name \"\" -> \"BASE\"",
        "CH 1 decode none -> D023N",
        "CH 1 encode none -> 67.0",
        "CH 1 power high -> low",
        "CH 1 scan scan -> skip",
        "CH 1 bandwidth 12.5 kHz -> 25 kHz",
        "CH 1 ID code \"000\" -> \"12345\"",
        "CH 1 RX step 5 kHz -> 6.25 kHz",
        "CH 1 talkaround off -> on (document only)",
        "CH 7 empty -> RX 462.57500 \"Q\\\"7\"",
        "VFO RX 465.00000 -> 463.00000",
        "FM preset 4 empty -> 88.10000",
        "Optional features: power-on text \"\" -> \"HELLO\"",
        "Optional features: priority channel 0 -> 3 (document only)",
        "DTMF: DTMF rate 0 ms -> 100 ms",
        "DTMF: group code 4 \"\" -> \"1*#\"",
        "Scan: priority channel 1 0 -> 5",
        "Scan: look-back time A 2.0 s -> 2.5 s",
        "Alert and emergency: cycles continuous -> 4",
        "Alert and emergency: alarm mode 0 -> 1",
        "Programmable keys: PF1 long press none -> monitor",
        "Embedded message: line 2 \"\" -> \"ON AIR\"",
        "Test frequencies: entry 3 first none -> 462.00000 (document only)",
    };
    EXPECT_EQ(Texts(d), expected);

    // Lines of a channel carry its number and group; settings lines do not.
    for (const auto& x : d) {
        if (x.text.rfind("CH 1 ", 0) == 0) {
            EXPECT_EQ(x.channel, 1);
            EXPECT_EQ(x.group, "CH 1");
        } else if (x.text.rfind("VFO", 0) == 0) {
            EXPECT_EQ(x.channel, kVfoChannel);
        } else if (x.text.rfind("Scan:", 0) == 0) {
            EXPECT_EQ(x.channel, 0);
            EXPECT_EQ(x.group, "Scan");
        }
    }

    // The other way round every arrow turns; a removed channel reads "-> empty".
    const auto back = Texts(CompareDocuments(b, a));
    ASSERT_EQ(back.size(), expected.size());
    EXPECT_EQ(back[1], "CH 1 RX 462.56250 -> 465.00000");
    EXPECT_EQ(back[12], "CH 7 RX 462.57500 \"Q\\\"7\" -> empty");

    EXPECT_TRUE(CompareDocuments(a, a).empty());
    EXPECT_EQ(DifferencesText(CompareDocuments(a, a)), "");
    EXPECT_EQ(DifferencesText({{"Scan", 0, "x"}, {"CH 2", 2, "y"}}), "x\ny\n");
}

TEST(Differences, EverySettingsFieldIsComparedOnceAndTheRadioOnesReachTheImage) {
    const StoredDocument a = NewDocument();
    const RadioImage imageA = DocumentImage(a);
    const auto check = [&](const StoredDocument& b, const std::string& group, const std::string& what) {
        SCOPED_TRACE(what);
        const auto d = CompareDocuments(a, b);
        ASSERT_EQ(d.size(), 1u);
        EXPECT_EQ(d[0].group, group);
        EXPECT_EQ(d[0].channel, 0);
        const bool documentOnly = d[0].text.find("(document only)") != std::string::npos;
        // The same change seen in the memory images: one line when the
        // radio keeps the field, none when only the document does.
        const auto inImage = CompareImages(imageA, DocumentImage(b));
        ASSERT_EQ(inImage.size(), documentOnly ? 0u : 1u);
        if (!documentOnly) {
            EXPECT_EQ(inImage[0].text, d[0].text);
        }
    };
    int documentOnly = 0;
    for (std::size_t i = 0; i < std::size(zrtest::kOptFeatLeadingFields); ++i) {
        StoredDocument b = a;
        Toggle(b.OptFeat.*zrtest::kOptFeatLeadingFields[i]);
        check(b, "Optional features", "optional features field " + std::to_string(i + 1));
        documentOnly += CompareDocuments(a, b)[0].text.find("(document only)") != std::string::npos;
    }
    for (auto field : {&OptFeatRecord::ChLock, &OptFeatRecord::AlarmSwitch, &OptFeatRecord::DirectCh1,
                       &OptFeatRecord::DirectCh2}) {
        StoredDocument b = a;
        Toggle(b.OptFeat.*field);
        check(b, "Optional features", "optional features trailing field");
        documentOnly += CompareDocuments(a, b)[0].text.find("(document only)") != std::string::npos;
    }
    // PriorityCh, CableClone, FactoryTest, WhisperFunc, ToneScanMode, AlarmSwitch.
    EXPECT_EQ(documentOnly, 6);

    for (std::size_t i = 0; i < std::size(zrtest::kDtmfLeadingFields); ++i) {
        StoredDocument b = a;
        Toggle(b.Dtmf.*zrtest::kDtmfLeadingFields[i]);
        check(b, "DTMF", "DTMF field " + std::to_string(i + 1));
    }
    for (int i = 0; i < 20; ++i) {
        StoredDocument b = a;
        auto& code = zrtest::DtmfCodeAt(b.Dtmf, i);
        code.Length = 2;
        code.Digits.set("9D");
        check(b, "DTMF", "DTMF code " + std::to_string(i));
    }
    for (std::size_t i = 0; i < std::size(zrtest::kKeyFields); ++i) {
        StoredDocument b = a;
        Toggle(b.Keys.*zrtest::kKeyFields[i]);
        check(b, "Programmable keys", "key field " + std::to_string(i));
    }
    for (std::size_t i = 0; i < std::size(zrtest::kAlertFields); ++i) {
        StoredDocument b = a;
        Toggle(b.Alert.*zrtest::kAlertFields[i]);
        check(b, "Alert and emergency", "alert field " + std::to_string(i));
    }
    for (std::size_t i = 0; i < std::size(zrtest::kScanFields); ++i) {
        StoredDocument b = a;
        Toggle(b.Scan.*zrtest::kScanFields[i]);
        check(b, "Scan", "scan field " + std::to_string(i));
    }
    for (std::size_t k = 0; k < 4; ++k) {
        StoredDocument b = a;
        b.EmbMsg.Lines[k].set("LINE");
        check(b, "Embedded message", "message line " + std::to_string(k));
    }
    for (std::size_t k = 0; k < a.FmChannels.size(); ++k) {
        StoredDocument b = a;
        b.FmChannels[k].IsEmpty = 0;
        b.FmChannels[k].FmFreq.set("09050000");
        check(b, "FM radio frequencies", "FM preset " + std::to_string(k));
    }
}

TEST(Differences, EveryChannelItemIsComparedOnceAndTheRadioOnesReachTheImage) {
    StoredDocument a = NewDocument();
    Channel(a, 2).RxFreq.set("46100000");
    const RadioImage imageA = DocumentImage(a);
    using Change = void (*)(ChannelRecord&);
    const std::vector<std::pair<const char*, Change>> changes = {
        {"CH 2 RX", [](ChannelRecord& c) { c.RxFreq.set("46100500"); }},
        {"CH 2 TX offset", [](ChannelRecord& c) { c.OffsetDir = 1; c.Offset.set("0010000"); }},
        {"CH 2 name", [](ChannelRecord& c) { c.ChannelName.set("X"); }},
        {"CH 2 decode", [](ChannelRecord& c) { c.RxTone = 600; }},
        {"CH 2 encode", [](ChannelRecord& c) { c.TxTone = 50; }},
        {"CH 2 power", [](ChannelRecord& c) { c.TxPower = 1; }},
        {"CH 2 scan", [](ChannelRecord& c) { c.ScanSkip = 1; }},
        {"CH 2 signalling", [](ChannelRecord& c) { c.OptSignal = 1; }},
        {"CH 2 bandwidth", [](ChannelRecord& c) { c.Bandwidth = 1; }},
        {"CH 2 ID code", [](ChannelRecord& c) { c.IdCode.set("4711"); }},
        {"CH 2 PTT ID", [](ChannelRecord& c) { c.PttId = 3; }},
        {"CH 2 busy lockout", [](ChannelRecord& c) { c.BusyLock = 2; }},
        {"CH 2 scramble", [](ChannelRecord& c) { c.Scramble = 1; }},
        {"CH 2 TX inhibit", [](ChannelRecord& c) { c.TxInhibit = 1; }},
        {"CH 2 whisper", [](ChannelRecord& c) { c.Whisper = 1; }},
        {"CH 2 compander", [](ChannelRecord& c) { c.Compander = 1; }},
        {"CH 2 signalling relation", [](ChannelRecord& c) { c.SignalRelation = 1; }},
        {"CH 2 auto-dial memory", [](ChannelRecord& c) { c.AutoDialMemory = 9; }},
        {"CH 2 RX step", [](ChannelRecord& c) { c.RxStep = 1; }},   // 461.00000 lies on both rasters
        {"CH 2 offset step", [](ChannelRecord& c) { c.OffsetStep = 1; }},
        {"CH 2 reverse/talkaround", [](ChannelRecord& c) { c.ReverseTalkaround = 1; }},
        {"CH 2 talkaround", [](ChannelRecord& c) { c.Talkaround = 1; }},
        {"CH 2 reverse", [](ChannelRecord& c) { c.Reverse = 1; }},
        {"CH 2 ID code length", [](ChannelRecord& c) { c.IdCodeLength = 10; }},
    };
    int documentOnly = 0;
    for (const auto& [head, change] : changes) {
        SCOPED_TRACE(head);
        StoredDocument b = a;
        change(Channel(b, 2));
        const auto d = CompareDocuments(a, b);
        ASSERT_EQ(d.size(), 1u);
        EXPECT_EQ(d[0].text.rfind(std::string(head) + " ", 0), 0u) << d[0].text;
        EXPECT_EQ(d[0].channel, 2);
        const bool only = d[0].text.find("(document only)") != std::string::npos;
        documentOnly += only;
        const auto inImage = CompareImages(imageA, DocumentImage(b));
        ASSERT_EQ(inImage.size(), only ? 0u : 1u);
        if (!only) {
            EXPECT_EQ(inImage[0].text, d[0].text);
        }
    }
    EXPECT_EQ(documentOnly, 4);
}

TEST(Differences, ImagesReportBytesNoItemShowsAndSkipTheRadiosOwnBytes) {
    const StoredDocument doc = NewDocument();
    const RadioImage a = DocumentImage(doc);
    EXPECT_TRUE(CompareImages(a, a).empty());

    RadioImage b = a;
    b[4928] = 0x12;                 // unused area
    b[4929] = 0x34;
    b[(1 - 1) * 32 + 10] = 0x5A;    // byte 10 of channel 1's slot, not used
    b[5112] = 'X';                  // firmware version: the radio's own
    b[5116] = 0x0F;                 // flags: the radio's own
    b[4192] = 0x09;                 // FM preset 1 frequency, preset still marked empty
    b[2] ^= 0x10;                   // channel 1 RX
    const auto d = CompareImages(a, b);
    const std::vector<std::string> expected = {
        "CH 1 RX 465.00000 -> 465.08000",
        "channel 1: 1 byte differs that no item shows (address 10: 00 -> 5A)",
        "FM broadcast channel 1: 1 byte differs that no item shows (address 4192: 00 -> 09)",
        "unused area: 2 bytes differ that no item shows (addresses 4928-4929)",
    };
    EXPECT_EQ(Texts(d), expected);
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[1].channel, 1);
    EXPECT_EQ(d[1].group, "CH 1");
    EXPECT_EQ(d[3].channel, 0);
}

TEST(Differences, ARadioImageAgainstItsOwnDecodingShowsNoItem) {
    // A write of what a read decoded changes no item of the radio; what it
    // does change is only what the program never reads.
    for (uint32_t seed : {1u, 2u, 3u}) {
        zrtest::RadioImageBuilder builder(seed);
        const auto built = builder.build(false);
        RadioDocument doc;
        doc.image = built.image;
        RadioFlags capability{};
        DecodeImage(doc, capability);
        const auto d = CompareImages(built.image, DocumentImage(doc.stored));
        for (const auto& x : d) EXPECT_NE(x.text.find("that no item shows"), std::string::npos) << x.text;
        EXPECT_FALSE(d.empty());   // the builder puts noise into unused bytes
    }
}

TEST(Differences, FilesAreReadAsDocumentsOrImagesAndRefusedOtherwise) {
    zrtest::TempDir dir;
    StoredDocument a = NewDocument();
    StoredDocument b = a;
    Channel(b, 1).RxFreq.set("46257500");
    ASSERT_TRUE(WriteDocumentRecordFile(dir.str("a.dat"), a).ok());
    ASSERT_TRUE(WriteDocumentRecordFile(dir.str("b.dat"), b).ok());
    const RadioImage image = DocumentImage(b);
    zrtest::writeBytes(dir.path() / "b.bin", std::vector<unsigned char>(image.begin(), image.end()));

    CompareSide da, db, ib;
    ASSERT_TRUE(LoadCompareSide(dir.str("a.dat"), da).ok());
    ASSERT_TRUE(LoadCompareSide(dir.str("b.dat"), db).ok());
    const Result readImage = LoadCompareSide(dir.str("b.bin"), ib);
    ASSERT_TRUE(readImage.ok()) << readImage.message();
    EXPECT_FALSE(da.isImage);
    EXPECT_TRUE(ib.isImage);
    EXPECT_EQ(Texts(CompareSides(da, db)), std::vector<std::string>{"CH 1 RX 465.00000 -> 462.57500"});
    // A document against an image: compared as the radio keeps them.
    EXPECT_EQ(Texts(CompareSides(da, ib)), std::vector<std::string>{"CH 1 RX 465.00000 -> 462.57500"});
    EXPECT_TRUE(CompareSides(db, ib).empty());
    EXPECT_TRUE(CompareSides(ib, ib).empty());

    CompareSide other;
    zrtest::writeBytes(dir.path() / "short.bin", std::vector<unsigned char>(5119, 0xFF));
    EXPECT_EQ(LoadCompareSide(dir.str("short.bin"), other).message(),
              dir.str("short.bin") + ": " + DescribeRecordError(RecordError::TooShort));
    EXPECT_EQ(LoadCompareSide(dir.str("missing.dat"), other).message(),
              dir.str("missing.dat") + ": cannot be read (" + std::strerror(ENOENT) + ")");
    EXPECT_EQ(LoadCompareSide(dir.str(), other).message(),   // a folder
              dir.str() + ": cannot be read (" + std::strerror(EISDIR) + ")");
    a.FormatVersion.set("????");
    ASSERT_TRUE(WriteDocumentRecordFile(dir.str("odd.dat"), a).ok());
    const Result odd = LoadCompareSide(dir.str("odd.dat"), other);
    EXPECT_FALSE(odd.ok());
    EXPECT_NE(odd.message().find("not a document of this program"), std::string::npos) << odd.message();
}
