// Frames, checksums, reply classification and the password check, without
// any port.

#include <gtest/gtest.h>

#include "link/protocol.h"

using namespace zr::link;

namespace {

Bytes BlockReply(int address, uint8_t fill = 0x11) {
    Bytes r{0x57, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF), 0x10};
    for (int i = 0; i < 16; ++i) r.push_back(static_cast<uint8_t>(fill + i));
    r.push_back(Checksum(std::span<const uint8_t>(r).subspan(1)));
    r.push_back(0x06);
    return r;
}

Bytes WithEcho(std::size_t n, Bytes r) {
    Bytes out(n, 0xEE);
    out.insert(out.end(), r.begin(), r.end());
    return out;
}

}  // namespace

TEST(Frames, RequestBytes) {
    EXPECT_EQ(HandshakeFrame(), (Bytes{0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4D}));
    EXPECT_EQ(IdentRequestFrame(), Bytes{0x02});
    EXPECT_EQ(ReadRequestFrame(4096), (Bytes{0x52, 0x10, 0x00, 0x10}));
    EXPECT_EQ(ReadRequestFrame(5152), (Bytes{0x52, 0x14, 0x20, 0x10}));
    EXPECT_EQ(EndFrame(), (Bytes{0x45, 0x4E, 0x44}));

    const std::array<uint8_t, 16> zeros{};
    Bytes expected{0x57, 0x00, 0x00, 0x10};
    expected.insert(expected.end(), 16, 0x00);
    expected.push_back(0x10);
    expected.push_back(0x06);
    EXPECT_EQ(WriteBlockFrame(0, zeros), expected);

    // Checksum over address, length and data, modulo 256.
    std::array<uint8_t, 16> ff;
    ff.fill(0xFF);
    const Bytes w = WriteBlockFrame(0x1234, ff);
    ASSERT_EQ(w.size(), 22u);
    EXPECT_EQ(w[20], static_cast<uint8_t>((0x12 + 0x34 + 0x10 + 16 * 0xFF) & 0xFF));
}

TEST(Classify, ShortReplies) {
    const ClassifyContext none{};
    EXPECT_EQ(ClassifyReply(Bytes{0x06}, none), ReplyKind::Accepted);
    EXPECT_EQ(ClassifyReply(Bytes{0x0A}, none), ReplyKind::Repeat);
    EXPECT_EQ(ClassifyReply(Bytes{0x4C, 0x57, 0x06}, none), ReplyKind::HandshakeAccepted);
    EXPECT_EQ(ClassifyReply(Bytes{0x4C, 0x57, 0x07}, none), ReplyKind::None);
    EXPECT_EQ(ClassifyReply(Bytes{0x06, 0x06}, none), ReplyKind::None);
    EXPECT_EQ(ClassifyReply(Bytes{}, none), ReplyKind::None);

    // With the cable's echo the leading bytes are skipped, not compared.
    const ClassifyContext echo7{7, -1, false};
    EXPECT_EQ(ClassifyReply(WithEcho(7, {0x4C, 0x57, 0x06}), echo7), ReplyKind::HandshakeAccepted);
    // A cable that does not echo delivers 3 bytes where 10 are expected.
    EXPECT_EQ(ClassifyReply(Bytes{0x4C, 0x57, 0x06}, echo7), ReplyKind::None);
}

TEST(Classify, Identification) {
    Bytes id{0x50, 'Z', 'R', '6', '1', '4', 0, 0, 0x01, 'V', '1', '0', '0', 0x0C, 0x00, 0x06};
    EXPECT_EQ(ClassifyReply(id, {}), ReplyKind::Identification);
    Bytes longer = id;
    longer.push_back(0x06);
    EXPECT_EQ(ClassifyReply(longer, {}), ReplyKind::None);   // one byte too many
    Bytes wrongEnd = id;
    wrongEnd[15] = 0x07;
    EXPECT_EQ(ClassifyReply(wrongEnd, {}), ReplyKind::None);

    const Identification p = ParseIdentification(WithEcho(1, id), 1);
    EXPECT_EQ(p.model, "ZR614");
    EXPECT_EQ(p.band, 1);
    EXPECT_EQ(p.version, "V100");
    EXPECT_EQ(p.flags, 0x0C);
    EXPECT_EQ(p.modelBytes[5], 0);
    EXPECT_EQ(p.versionBytes[3], '0');
}

TEST(Classify, DataBlocks) {
    const ClassifyContext at16{0, 16, false};
    EXPECT_EQ(ClassifyReply(BlockReply(16), at16), ReplyKind::DataBlock);
    EXPECT_EQ(ClassifyReply(BlockReply(32), at16), ReplyKind::None);    // another address

    Bytes bad = BlockReply(16);
    bad[20] = static_cast<uint8_t>(bad[20] + 1);                         // checksum off by one
    EXPECT_EQ(ClassifyReply(bad, at16), ReplyKind::None);
    Bytes noAck = BlockReply(16);
    noAck[21] = 0x00;
    EXPECT_EQ(ClassifyReply(noAck, at16), ReplyKind::None);
    Bytes shortLen = BlockReply(16);
    shortLen[3] = 0x0F;                                                   // length byte disagrees
    EXPECT_EQ(ClassifyReply(shortLen, at16), ReplyKind::None);

    // The password block only at the password step; test data at any step.
    EXPECT_EQ(ClassifyReply(BlockReply(5152), {0, 5152, true}), ReplyKind::PasswordBlock);
    EXPECT_EQ(ClassifyReply(BlockReply(5152), {0, 5152, false}), ReplyKind::DataBlock);
    EXPECT_EQ(ClassifyReply(BlockReply(5152), {0, 16, false}), ReplyKind::None);
    EXPECT_EQ(ClassifyReply(BlockReply(8176), {0, 16, false}), ReplyKind::TestData);
    EXPECT_EQ(ClassifyReply(WithEcho(4, BlockReply(4096)), {4, 4096, false}), ReplyKind::DataBlock);

    const Bytes r = WithEcho(4, BlockReply(4096, 0x30));
    const auto d = BlockData(r, 4);
    ASSERT_EQ(d.size(), 16u);
    EXPECT_EQ(d[0], 0x30);
    EXPECT_EQ(d[15], 0x3F);
}

TEST(Password, StoredAndChecked) {
    std::array<uint8_t, 16> block;
    block.fill(0x20);
    block[12] = block[13] = block[14] = block[15] = 0xFF;
    EXPECT_TRUE(CheckPassword(block, ""));          // not protected
    EXPECT_TRUE(CheckPassword(block, "abcd"));

    block[12] = 'a';
    block[13] = 'B';
    block[14] = 0x00;
    block[15] = 0x00;
    EXPECT_EQ(StoredPassword(block), "aB");
    EXPECT_TRUE(CheckPassword(block, "aB"));
    EXPECT_FALSE(CheckPassword(block, "ab"));       // case counts
    EXPECT_FALSE(CheckPassword(block, ""));
    EXPECT_FALSE(CheckPassword(block, "aB "));

    block[14] = 'c';
    block[15] = 0xFF;                               // FF ends the text too
    EXPECT_EQ(StoredPassword(block), "aBc");
    block[15] = ' ';
    EXPECT_EQ(StoredPassword(block), "aBc");        // trailing blank trimmed
}

TEST(Progress, RoundsHalvesToEven) {
    EXPECT_EQ(ProgressPercent(0, 5119), 0);
    EXPECT_EQ(ProgressPercent(5104, 5119), 100);
    EXPECT_EQ(ProgressPercent(1, 8), 12);    // 12.5
    EXPECT_EQ(ProgressPercent(3, 8), 38);    // 37.5
    EXPECT_EQ(ProgressPercent(2560, 5119), 50);
    EXPECT_EQ(ProgressPercent(16, 5119), 0);  // 0.31
}

#include "link/port_names.h"

TEST(PortNames, NumbersAndDevices) {
    EXPECT_EQ(PortNumberFromName("COM12"), 12);
    EXPECT_EQ(PortNumberFromName("COM3"), 3);
    EXPECT_EQ(PortNumberFromName("COM 4"), 4);
    EXPECT_EQ(PortNumberFromName("COM1234"), 123);   // at most three digits
    EXPECT_EQ(PortNumberFromName("COM"), 0);
    EXPECT_EQ(PortNumberFromName("COMx"), 0);

    // Fixed ranges: a USB cable keeps its number whatever else is present.
    const auto a = NumberPorts({"ttyUSB0", "/dev/ttyS0", "ttyACM1", "ttyS3"});
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0].name, "COM1");
    EXPECT_EQ(a[0].device, "/dev/ttyS0");
    EXPECT_EQ(a[1].number, 4);
    EXPECT_EQ(a[2].number, 101);
    EXPECT_EQ(a[2].device, "/dev/ttyUSB0");
    EXPECT_EQ(a[3].number, 202);
    const auto b = NumberPorts({"ttyUSB0"});
    EXPECT_EQ(b[0].number, 101);

    // Other devices follow from 256 on, sorted.
    const auto c = NumberPorts({"ttyAMA1", "ttyAMA0", "ttyS1"});
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[1].number, 256);
    EXPECT_EQ(c[1].device, "/dev/ttyAMA0");
    EXPECT_EQ(c[2].device, "/dev/ttyAMA1");

    EXPECT_EQ(DeviceForNumber(101, {}), "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForNumber(1, {"ttyS0"}), "/dev/ttyS0");
    EXPECT_EQ(DeviceForNumber(257, {"ttyAMA0", "ttyAMA1"}), "/dev/ttyAMA1");
    EXPECT_EQ(DeviceForNumber(300, {}), "");
    EXPECT_EQ(DeviceForNumber(0, {}), "");
}
