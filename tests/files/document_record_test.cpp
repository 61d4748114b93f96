// The 11037-byte document record: layout, round trips and refusals.

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "files/document_record.h"
#include "support/support.h"

using namespace zr;

namespace {

int16_t le16(const std::vector<uint8_t>& b, std::size_t at) {
    return static_cast<int16_t>(b[at] | (b[at + 1] << 8));
}

std::string bytesAt(const std::vector<uint8_t>& b, std::size_t at, std::size_t n) {
    return std::string(b.begin() + at, b.begin() + at + n);
}

// A document in which every member holds a distinct value, so a member
// written at the wrong place or skipped shows up in a round trip.
StoredDocument distinctDocument() {
    StoredDocument d;
    d.FormatVersion.set("V100");
    d.Channels.count = 129;
    int16_t v = 1;
    for (int i = 0; i < kMaxChannels; ++i) {
        ChannelRecord& c = d.Channels.entries[i];
        c.ChannelNumber = static_cast<int16_t>(i + 1);
        c.IsEmpty = v++;
        c.RxFreq.set(std::to_string(44600000 + i));
        c.OffsetDir = static_cast<uint8_t>(i % 3);
        c.Offset.set(std::to_string(1000000 + i));
        int16_t* fields[] = {&c.RxTone, &c.TxTone, &c.RxStep, &c.OffsetStep, &c.Scramble,
                             &c.BusyLock, &c.ReverseTalkaround, &c.TxInhibit, &c.Talkaround,
                             &c.Spare, &c.PttId, &c.Whisper, &c.Bandwidth, &c.OptSignal,
                             &c.Compander, &c.Reverse, &c.TxPower, &c.AutoDialMemory,
                             &c.ScanSkip, &c.IdCodeLength, &c.SignalRelation};
        for (auto* f : fields) *f = v++;
        c.ChannelName.set("CH" + std::to_string(i));
        c.IdCode.set(std::to_string(1000 + i));
    }
    for (int i = 0; i < kFmChannels; ++i) {
        d.FmChannels[i].IsEmpty = static_cast<int16_t>(i % 2);
        d.FmChannels[i].FmFreq.set("0" + std::to_string(8800000 + i));
    }
    for (int i = 0; i < kTestFreqEntries; ++i) {
        d.TestFreqs[i].TestFreq1.set(std::to_string(43500000 + i));
        d.TestFreqs[i].TestFreq2.set(std::to_string(43600000 + i));
    }
    d.ModelBand.ModelId.set("ZR614");
    d.ModelBand.BandCode = 8;
    int16_t* opt[] = {&d.OptFeat.FreqStep, &d.OptFeat.SquelchLevel, &d.OptFeat.InhibitInit,
                      &d.OptFeat.ChLock, &d.OptFeat.AlarmSwitch, &d.OptFeat.DirectCh1,
                      &d.OptFeat.DirectCh2, &d.OptFeat.FmCurrentCh, &d.OptFeat.TotTime};
    for (auto* f : opt) *f = v++;
    d.OptFeat.PowerOnText.set("HELLO");
    d.Dtmf.DtmfRate = v++;
    d.Dtmf.AutoResetTime = v++;
    d.Dtmf.BotCode.Length = 3;
    d.Dtmf.BotCode.Digits.set("123");
    d.Dtmf.KillCode.Length = 4;
    d.Dtmf.KillCode.Digits.set("*#AB");
    for (int k = 0; k < 16; ++k) {
        d.Dtmf.GroupCodes[k].Length = static_cast<int16_t>(k);
        d.Dtmf.GroupCodes[k].Digits.set(std::string(k, '7'));
    }
    for (int i = 0; i < 4; ++i) d.EmbMsg.Lines[i].set("LINE" + std::to_string(i));
    d.Keys.LongPressTime = 25;
    d.Keys.Key6Short = 29;
    d.Alert.EmergencyAlarm = 3;
    d.Alert.AlertCycles = 255;
    d.Scan.ScanMode = 1;
    d.Scan.WaitTime = 200;
    d.AlarmMode = 1;
    return d;
}

}  // namespace

TEST(DocumentRecord, LayoutOfTheMembers) {
    StoredDocument d = distinctDocument();
    d.Channels.count = 2;
    d.Channels.entries[1].ChannelName.set("ABC");
    d.Channels.entries[1].ChannelNumber = 0x1234;
    d.Channels.entries[1].SignalRelation = -2;
    const auto b = SerializeDocumentRecord(d);

    ASSERT_EQ(b.size(), 11037u);
    EXPECT_EQ(bytesAt(b, 0, 4), "V100");
    EXPECT_EQ(le16(b, 4), 2);
    // Entry 1 starts at 6 + 78: channel number little-endian first.
    EXPECT_EQ(b[84], 0x34);
    EXPECT_EQ(b[85], 0x12);
    // A three-letter name keeps its blank padding.
    EXPECT_EQ(bytesAt(b, 84 + 58, 6), std::string("ABC   "));
    EXPECT_EQ(le16(b, 84 + 76), -2);
    EXPECT_EQ(b[84 + 12], d.Channels.entries[1].OffsetDir);
    EXPECT_EQ(bytesAt(b, 84 + 13, 7), d.Channels.entries[1].Offset.raw());
    // The last channel entry is written too.
    EXPECT_EQ(le16(b, 6 + 78 * 128), 129);

    EXPECT_EQ(le16(b, 10068 + 10 * 3), 1);
    EXPECT_EQ(bytesAt(b, 10068 + 10 * 3 + 2, 8), "08800003");
    EXPECT_EQ(bytesAt(b, 10268 + 16 * 10, 8), "43500010");
    EXPECT_EQ(bytesAt(b, 10268 + 16 * 10 + 8, 8), "43600010");
    EXPECT_EQ(bytesAt(b, 10444, 7), std::string("ZR614  "));
    EXPECT_EQ(le16(b, 10451), 8);
    EXPECT_EQ(le16(b, 10453), d.OptFeat.FreqStep);
    EXPECT_EQ(le16(b, 10453 + 66), d.OptFeat.InhibitInit);
    EXPECT_EQ(bytesAt(b, 10453 + 68, 12), std::string("HELLO       "));
    EXPECT_EQ(le16(b, 10453 + 80), d.OptFeat.ChLock);
    EXPECT_EQ(le16(b, 10453 + 86), d.OptFeat.DirectCh2);
    EXPECT_EQ(le16(b, 10541), d.Dtmf.DtmfRate);
    EXPECT_EQ(le16(b, 10541 + 22), d.Dtmf.AutoResetTime);
    EXPECT_EQ(le16(b, 10541 + 24), 3);
    EXPECT_EQ(bytesAt(b, 10541 + 26, 3), "123");
    EXPECT_EQ(le16(b, 10541 + 78), 4);
    EXPECT_EQ(bytesAt(b, 10541 + 80, 4), "*#AB");
    EXPECT_EQ(le16(b, 10541 + 96 + 18 * 15), 15);
    EXPECT_EQ(bytesAt(b, 10925 + 48, 16), std::string("LINE3           "));
    EXPECT_EQ(le16(b, 10989), 25);
    EXPECT_EQ(le16(b, 10989 + 24), 29);
    EXPECT_EQ(b[11015], 3);
    EXPECT_EQ(b[11023], 255);
    EXPECT_EQ(b[11024], 1);
    EXPECT_EQ(b[11035], 200);
    EXPECT_EQ(b[11036], 1);
}

TEST(DocumentRecord, RoundTripsEveryMemberAndEveryByte) {
    const StoredDocument d = distinctDocument();
    const auto bytes = SerializeDocumentRecord(d);
    auto back = ParseDocumentRecord(bytes);
    ASSERT_TRUE(back);
    EXPECT_TRUE(*back == d);

    // Arbitrary bytes with a valid count come back byte for byte: nothing is
    // normalised on the way through (NULs, out-of-range values, entries past
    // the count).
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::vector<uint8_t> raw(kDocumentRecordSize);
        for (auto& x : raw) x = static_cast<uint8_t>(rng());
        raw[4] = static_cast<uint8_t>(rng() % 130);
        raw[5] = 0;
        auto doc = ParseDocumentRecord(raw);
        ASSERT_TRUE(doc);
        EXPECT_EQ(SerializeDocumentRecord(*doc), raw);
    }
}

TEST(DocumentRecord, RefusesShortRecordsAndBadChannelCounts) {
    auto bytes = SerializeDocumentRecord(distinctDocument());
    RecordError err = RecordError::None;

    std::vector<uint8_t> shorter(bytes.begin(), bytes.end() - 1);
    EXPECT_FALSE(ParseDocumentRecord(shorter, &err));
    EXPECT_EQ(err, RecordError::TooShort);
    EXPECT_FALSE(ParseDocumentRecord(std::span<const uint8_t>{}, &err));

    for (int16_t count : {int16_t(-1), int16_t(130), int16_t(0x7FFF), int16_t(-32768)}) {
        auto bad = bytes;
        bad[4] = static_cast<uint8_t>(count & 0xFF);
        bad[5] = static_cast<uint8_t>((count >> 8) & 0xFF);
        EXPECT_FALSE(ParseDocumentRecord(bad, &err)) << count;
        EXPECT_EQ(err, RecordError::BadChannelCount);
    }
    for (int16_t count : {int16_t(0), int16_t(129)}) {
        auto ok = bytes;
        ok[4] = static_cast<uint8_t>(count);
        ok[5] = 0;
        EXPECT_TRUE(ParseDocumentRecord(ok, &err)) << count;
        EXPECT_EQ(err, RecordError::None);
    }
    // A longer buffer is read as its first record.
    auto longer = bytes;
    longer.resize(12000, 0xEE);
    auto doc = ParseDocumentRecord(longer);
    ASSERT_TRUE(doc);
    EXPECT_TRUE(*doc == distinctDocument());
}

TEST(DocumentRecord, FileWriteKeepsTheTailOfALongerFile) {
    zrtest::TempDir dir;
    const std::string path = dir.str("a.dat");
    const StoredDocument d = distinctDocument();

    ASSERT_TRUE(WriteDocumentRecordFile(path, d));
    EXPECT_EQ(std::filesystem::file_size(path), 11037u);

    std::vector<unsigned char> old(12000);
    for (std::size_t i = 0; i < old.size(); ++i) old[i] = static_cast<unsigned char>(i * 7);
    zrtest::writeBytes(path, old);
    ASSERT_TRUE(WriteDocumentRecordFile(path, d));
    auto now = zrtest::readBytes(path);
    ASSERT_EQ(now.size(), 12000u);
    auto record = SerializeDocumentRecord(d);
    EXPECT_TRUE(std::equal(record.begin(), record.end(), now.begin()));
    EXPECT_TRUE(std::equal(old.begin() + 11037, old.end(), now.begin() + 11037));

    RecordError err{};
    auto back = ReadDocumentRecordFile(path, &err);
    ASSERT_TRUE(back);
    EXPECT_TRUE(*back == d);
    EXPECT_FALSE(ReadDocumentRecordFile(dir.str("missing.dat"), &err));
    EXPECT_EQ(err, RecordError::Unreadable);
}
