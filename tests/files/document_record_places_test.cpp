// Every member of the document record at its offset, written down from the
// file format on its own (not from the record code's offsets or walks): a
// document whose members all hold distinct values is written with each
// member at its place, and a record laid out by the test is read into the
// same document; so two neighbouring members swapped, shifted or skipped
// show up, which a round trip through the same walk cannot see.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "files/document_record.h"
#include "support/record_fields.h"

using namespace zr;

namespace {

using Bytes = std::vector<uint8_t>;

// One member: its place in the record, and its value in file form (16-bit
// integers little-endian, bytes as they are, texts byte for byte).
struct Member {
    std::string name;
    std::size_t offset;
    std::size_t size;
    std::function<Bytes(StoredDocument&)> get;
    std::function<void(StoredDocument&, const Bytes&)> set;
};

class Layout {
public:
    template <class Access>
    void i16(std::string name, std::size_t at, Access access) {
        members.push_back({std::move(name), at, 2,
                           [=](StoredDocument& d) {
                               const auto u = static_cast<uint16_t>(access(d));
                               return Bytes{static_cast<uint8_t>(u & 0xFF), static_cast<uint8_t>(u >> 8)};
                           },
                           [=](StoredDocument& d, const Bytes& b) {
                               access(d) = static_cast<int16_t>(b[0] | (b[1] << 8));
                           }});
    }
    template <class Access>
    void u8(std::string name, std::size_t at, Access access) {
        members.push_back({std::move(name), at, 1, [=](StoredDocument& d) { return Bytes{access(d)}; },
                           [=](StoredDocument& d, const Bytes& b) { access(d) = b[0]; }});
    }
    template <class Access>
    void text(std::string name, std::size_t at, std::size_t size, Access access) {
        members.push_back({std::move(name), at, size,
                           [=](StoredDocument& d) {
                               const auto& t = access(d);
                               return Bytes(t.bytes.begin(), t.bytes.end());
                           },
                           [=](StoredDocument& d, const Bytes& b) {
                               auto& t = access(d);
                               std::copy(b.begin(), b.end(), t.bytes.begin());
                           }});
    }
    std::vector<Member> members;
};

using D = StoredDocument;

// The 129 channel entries of 78 bytes from offset 6.
void channelEntries(Layout& L) {
    struct Int { const char* name; std::size_t at; int16_t ChannelRecord::*field; };
    const Int ints[] = {
        {"ChannelNumber", 0, &ChannelRecord::ChannelNumber}, {"IsEmpty", 2, &ChannelRecord::IsEmpty},
        {"RxTone", 20, &ChannelRecord::RxTone},          {"TxTone", 22, &ChannelRecord::TxTone},
        {"RxStep", 24, &ChannelRecord::RxStep},          {"OffsetStep", 26, &ChannelRecord::OffsetStep},
        {"Scramble", 28, &ChannelRecord::Scramble},      {"BusyLock", 30, &ChannelRecord::BusyLock},
        {"ReverseTalkaround", 32, &ChannelRecord::ReverseTalkaround},
        {"TxInhibit", 34, &ChannelRecord::TxInhibit},    {"Talkaround", 36, &ChannelRecord::Talkaround},
        {"Spare", 38, &ChannelRecord::Spare},            {"PttId", 40, &ChannelRecord::PttId},
        {"Whisper", 42, &ChannelRecord::Whisper},        {"Bandwidth", 44, &ChannelRecord::Bandwidth},
        {"OptSignal", 46, &ChannelRecord::OptSignal},    {"Compander", 48, &ChannelRecord::Compander},
        {"Reverse", 50, &ChannelRecord::Reverse},        {"TxPower", 52, &ChannelRecord::TxPower},
        {"AutoDialMemory", 54, &ChannelRecord::AutoDialMemory},
        {"ScanSkip", 56, &ChannelRecord::ScanSkip},      {"IdCodeLength", 74, &ChannelRecord::IdCodeLength},
        {"SignalRelation", 76, &ChannelRecord::SignalRelation},
    };
    for (std::size_t i = 0; i < 129; ++i) {
        const std::size_t base = 6 + 78 * i;
        const std::string entry = "channel entry " + std::to_string(i) + " ";
        auto ch = [i](D& d) -> ChannelRecord& { return d.Channels.entries[i]; };
        for (const Int& f : ints)
            L.i16(entry + f.name, base + f.at, [ch, field = f.field](D& d) -> int16_t& { return ch(d).*field; });
        L.text(entry + "RxFreq", base + 4, 8, [ch](D& d) -> auto& { return ch(d).RxFreq; });
        L.u8(entry + "OffsetDir", base + 12, [ch](D& d) -> uint8_t& { return ch(d).OffsetDir; });
        L.text(entry + "Offset", base + 13, 7, [ch](D& d) -> auto& { return ch(d).Offset; });
        L.text(entry + "ChannelName", base + 58, 6, [ch](D& d) -> auto& { return ch(d).ChannelName; });
        L.text(entry + "IdCode", base + 64, 10, [ch](D& d) -> auto& { return ch(d).IdCode; });
    }
}

void settingsRecords(Layout& L) {
    // Optional features: fields 1..34 as 16-bit integers in their order.
    static_assert(std::size(zrtest::kOptFeatLeadingFields) == 34);
    for (std::size_t k = 0; k < 34; ++k)
        L.i16("OptFeat field " + std::to_string(k + 1), 10453 + 2 * k,
              [f = zrtest::kOptFeatLeadingFields[k]](D& d) -> int16_t& { return d.OptFeat.*f; });
    L.text("PowerOnText", 10453 + 68, 12, [](D& d) -> auto& { return d.OptFeat.PowerOnText; });
    L.i16("ChLock", 10453 + 80, [](D& d) -> int16_t& { return d.OptFeat.ChLock; });
    L.i16("AlarmSwitch", 10453 + 82, [](D& d) -> int16_t& { return d.OptFeat.AlarmSwitch; });
    L.i16("DirectCh1", 10453 + 84, [](D& d) -> int16_t& { return d.OptFeat.DirectCh1; });
    L.i16("DirectCh2", 10453 + 86, [](D& d) -> int16_t& { return d.OptFeat.DirectCh2; });

    // DTMF: twelve 16-bit fields, then 4 + 16 code entries of 18 bytes.
    static_assert(std::size(zrtest::kDtmfLeadingFields) == 12);
    for (std::size_t k = 0; k < 12; ++k)
        L.i16("Dtmf field " + std::to_string(k + 1), 10541 + 2 * k,
              [f = zrtest::kDtmfLeadingFields[k]](D& d) -> int16_t& { return d.Dtmf.*f; });
    auto code = [&L](std::string name, std::size_t at, std::function<DtmfCodeEntry&(D&)> entry) {
        L.i16(name + " Length", at, [entry](D& d) -> int16_t& { return entry(d).Length; });
        L.text(name + " Digits", at + 2, 16, [entry](D& d) -> auto& { return entry(d).Digits; });
    };
    code("BotCode", 10541 + 24, [](D& d) -> DtmfCodeEntry& { return d.Dtmf.BotCode; });
    code("EotCode", 10541 + 42, [](D& d) -> DtmfCodeEntry& { return d.Dtmf.EotCode; });
    code("StunCode", 10541 + 60, [](D& d) -> DtmfCodeEntry& { return d.Dtmf.StunCode; });
    code("KillCode", 10541 + 78, [](D& d) -> DtmfCodeEntry& { return d.Dtmf.KillCode; });
    for (std::size_t k = 1; k <= 16; ++k)
        code("GroupCodes " + std::to_string(k), 10541 + 96 + 18 * (k - 1),
             [k](D& d) -> DtmfCodeEntry& { return d.Dtmf.GroupCodes[k - 1]; });

    for (std::size_t k = 0; k < 4; ++k)
        L.text("EmbMsg line " + std::to_string(k + 1), 10925 + 16 * k, 16,
               [k](D& d) -> auto& { return d.EmbMsg.Lines[k]; });

    static_assert(std::size(zrtest::kKeyFields) == 13);
    for (std::size_t k = 0; k < 13; ++k)
        L.i16("Keys field " + std::to_string(k), 10989 + 2 * k,
              [f = zrtest::kKeyFields[k]](D& d) -> int16_t& { return d.Keys.*f; });
    static_assert(std::size(zrtest::kAlertFields) == 9);
    for (std::size_t k = 0; k < 9; ++k)
        L.u8("Alert field " + std::to_string(k + 1), 11015 + k,
             [f = zrtest::kAlertFields[k]](D& d) -> uint8_t& { return d.Alert.*f; });
    static_assert(std::size(zrtest::kScanFields) == 12);
    for (std::size_t k = 0; k < 12; ++k)
        L.u8("Scan field " + std::to_string(k + 1), 11024 + k,
             [f = zrtest::kScanFields[k]](D& d) -> uint8_t& { return d.Scan.*f; });

    L.u8("AlarmMode", 11036, [](D& d) -> uint8_t& { return d.AlarmMode; });
}

const std::vector<Member>& recordLayout() {
    static const std::vector<Member> members = [] {
        Layout L;
        L.text("format version", 0, 4, [](D& d) -> auto& { return d.FormatVersion; });
        L.i16("channel count", 4, [](D& d) -> int16_t& { return d.Channels.count; });
        channelEntries(L);
        for (std::size_t i = 0; i < 20; ++i) {
            const std::string fm = "FM channel " + std::to_string(i + 1) + " ";
            L.i16(fm + "IsEmpty", 10068 + 10 * i, [i](D& d) -> int16_t& { return d.FmChannels[i].IsEmpty; });
            L.text(fm + "FmFreq", 10068 + 10 * i + 2, 8, [i](D& d) -> auto& { return d.FmChannels[i].FmFreq; });
        }
        for (std::size_t i = 0; i < 11; ++i) {
            const std::string t = "test frequency " + std::to_string(i) + " ";
            L.text(t + "1", 10268 + 16 * i, 8, [i](D& d) -> auto& { return d.TestFreqs[i].TestFreq1; });
            L.text(t + "2", 10268 + 16 * i + 8, 8, [i](D& d) -> auto& { return d.TestFreqs[i].TestFreq2; });
        }
        L.text("ModelId", 10444, 7, [](D& d) -> auto& { return d.ModelBand.ModelId; });
        L.i16("BandCode", 10451, [](D& d) -> int16_t& { return d.ModelBand.BandCode; });
        settingsRecords(L);
        std::sort(L.members.begin(), L.members.end(),
                  [](const Member& a, const Member& b) { return a.offset < b.offset; });
        return L.members;
    }();
    return members;
}

// Every member a different value: 16-bit integers with two different bytes,
// texts of printable bytes that change from member to member.
StoredDocument distinctMembers() {
    StoredDocument d;
    int n = 0;
    for (const Member& m : recordLayout()) {
        ++n;
        Bytes b(m.size);
        if (m.size == 2) {
            b = {static_cast<uint8_t>(n & 0xFF), static_cast<uint8_t>(0x10 + n / 256)};
        } else {
            for (std::size_t j = 0; j < m.size; ++j) b[j] = static_cast<uint8_t>(0x21 + (n * 7 + j) % 94);
        }
        m.set(d, b);
    }
    d.Channels.count = 129;   // a count the reader accepts
    return d;
}

std::string membersThatDiffer(StoredDocument& got, StoredDocument& want) {
    std::string out;
    int shown = 0;
    for (const Member& m : recordLayout())
        if (m.get(got) != m.get(want) && ++shown <= 20) out += "\n  " + m.name;
    return out;
}

}  // namespace

TEST(DocumentRecordPlaces, MembersFollowEachOtherWithoutGaps) {
    const auto& members = recordLayout();
    std::size_t end = 0;
    for (const Member& m : members) {
        ASSERT_EQ(m.offset, end) << m.name;
        end = m.offset + m.size;
    }
    EXPECT_EQ(end, 11037u);
}

TEST(DocumentRecordPlaces, EveryMemberIsWrittenAtItsOffset) {
    StoredDocument d = distinctMembers();
    const Bytes record = SerializeDocumentRecord(d);
    ASSERT_EQ(record.size(), 11037u);
    int wrong = 0;
    for (const Member& m : recordLayout()) {
        const Bytes at(record.begin() + static_cast<long>(m.offset),
                       record.begin() + static_cast<long>(m.offset + m.size));
        if (at != m.get(d) && ++wrong <= 20) ADD_FAILURE() << m.name << " is not at offset " << m.offset;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(DocumentRecordPlaces, EveryMemberIsReadFromItsOffset) {
    StoredDocument want = distinctMembers();
    Bytes record(11037, 0);
    for (const Member& m : recordLayout()) {
        const Bytes b = m.get(want);
        std::copy(b.begin(), b.end(), record.begin() + static_cast<long>(m.offset));
    }
    auto got = ParseDocumentRecord(record);
    ASSERT_TRUE(got);
    EXPECT_TRUE(*got == want) << "read from the wrong place:" << membersThatDiffer(*got, want);
}
