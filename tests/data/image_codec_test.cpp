#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "data/image_codec.h"
#include "radio_image_builder.h"

namespace {

using zr::RadioDocument;
using zr::RadioImage;

RadioDocument emptyDocument() {
    RadioDocument doc;
    doc.stored.Channels.count = 0;
    for (auto& fm : doc.stored.FmChannels) fm.IsEmpty = 1;
    return doc;
}

zr::ChannelRecord channel(int number, const char* rx) {
    zr::ChannelRecord r;
    r.ChannelNumber = static_cast<int16_t>(number);
    r.RxFreq.set(rx);
    r.Offset.set("0000000");
    r.IdCode.set("000");
    r.TxPower = 2;
    return r;
}

TEST(ImageCodec, EmptyDocumentFills) {
    RadioDocument doc = emptyDocument();
    doc.image.fill(0x5A);  // whatever an earlier transfer left
    zr::EncodeImage(doc);
    const RadioImage& im = doc.image;
    for (int i = 0; i < 4128; ++i) ASSERT_EQ(im[i], 0x00) << i;
    for (int i = 4128; i < 4160; ++i) ASSERT_EQ(im[i], 0xFF) << i;
    for (int i = 4160; i < 4176; ++i) ASSERT_EQ(im[i], 0xFF) << i;
    EXPECT_EQ(im[4176], 0x09);
    EXPECT_EQ(im[4177], 0x05);
    EXPECT_EQ(im[4178], 0x00);
    EXPECT_EQ(im[4179], 0x00);
    for (int i = 4180; i < 4272; ++i) ASSERT_EQ(im[i], 0x00) << i;
    for (int i : {4284, 4287, 4623, 4639, 4668, 4669, 4678, 4679, 4686, 4863}) EXPECT_EQ(im[i], 0x00) << i;
    for (int i = 4928; i < 5104; ++i) ASSERT_EQ(im[i], 0xFF) << i;
    EXPECT_EQ(std::string(im.begin() + 5112, im.begin() + 5116), "V100");
    for (int i = 5116; i < 5120; ++i) EXPECT_EQ(im[i], 0xFF) << i;
}

TEST(ImageCodec, IdentificationBlock) {
    RadioDocument doc = emptyDocument();
    doc.currentModel = "ZR614";
    doc.currentBand = "446 - 447 MHz";
    zr::EncodeImage(doc);
    EXPECT_EQ(std::string(doc.image.begin() + 5104, doc.image.begin() + 5109), "ZR614");
    EXPECT_EQ(doc.image[5109], 0x00);
    EXPECT_EQ(doc.image[5110], 0x00);
    EXPECT_EQ(doc.image[5111], 4);
    EXPECT_EQ(doc.stored.ModelBand.ModelId.text(), "ZR614");
    EXPECT_EQ(doc.stored.ModelBand.BandCode, 4);

    // Reading: the text ends at 0xFF; model and band become the current ones.
    RadioDocument read = emptyDocument();
    read.currentModel = "OTHER";
    read.currentBand = "400 - 470 MHz";
    read.image.fill(0xFF);
    const char model[] = "ZR614";
    std::copy(model, model + 5, read.image.begin() + 5104);
    read.image[5111] = 8;
    zr::RadioFlags caps{};
    zr::DecodeImage(read, caps);
    EXPECT_EQ(read.stored.ModelBand.ModelId.raw(), "ZR614  ");  // cleaned and blank-padded
    EXPECT_EQ(read.currentModel, "ZR614");
    EXPECT_EQ(read.currentBand, "136 - 174 MHz");
    EXPECT_DOUBLE_EQ(read.bandLower, 136.0);
    EXPECT_DOUBLE_EQ(read.bandUpper, 174.0);
    EXPECT_EQ(read.radioInfo.ModelText, "ZR614");
    EXPECT_EQ(read.radioInfo.BandCode, 8);
    // An erased radio: flags byte 0xFF sets all four flags.
    EXPECT_EQ(read.radioFlags, (zr::RadioFlags{1, 1, 1, 1}));
    EXPECT_EQ(caps, (zr::RadioFlags{1, 1, 1, 1}));
    EXPECT_EQ(read.stored.Channels.count, 0);

    // Seven characters fill the field; an eighth byte is not part of it.
    read.image.fill(0xFF);
    const char seven[] = "ABCDEFG";
    std::copy(seven, seven + 7, read.image.begin() + 5104);
    read.image[5111] = 1;
    zr::DecodeImage(read, caps);
    EXPECT_EQ(read.currentModel, "ABCDEFG");
    EXPECT_EQ(read.currentBand, "460 - 470 MHz");
}

TEST(ImageCodec, ChannelListIsAscendingWithTheVfoLast) {
    RadioDocument doc = emptyDocument();
    auto& list = doc.stored.Channels;
    // In no particular order, as editing leaves it.
    for (int n : {129, 77, 3, 128, 1}) list.entries[list.count++] = channel(n, "44600000");
    zr::EncodeImage(doc);
    RadioDocument read = emptyDocument();
    read.image = doc.image;
    zr::RadioFlags caps{};
    zr::DecodeImage(read, caps);
    ASSERT_EQ(read.stored.Channels.count, 5);
    const int expected[] = {1, 3, 77, 128, 129};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(read.stored.Channels.entries[i].ChannelNumber, expected[i]);
    // Entries beyond the count hold nothing from before the read.
    EXPECT_EQ(read.stored.Channels.entries[5], zr::ChannelRecord{});
}

TEST(ImageCodec, OutOfRangeCountsAndNumbersAreSafe) {
    for (int count : {-1, -32768, 130, 32767}) {
        RadioDocument doc = emptyDocument();
        for (auto& e : doc.stored.Channels.entries) e = channel(1, "44600000");
        doc.stored.Channels.count = static_cast<int16_t>(count);
        doc.stored.OptFeat.FmCurrentCh = static_cast<int16_t>(count);
        doc.stored.OptFeat.UhfCurrentCh = static_cast<int16_t>(count);
        zr::EncodeImage(doc);
        // With a count above the list every entry is written: channel 1.
        EXPECT_EQ(doc.image[4128] & 1, count > 0 ? 0 : 1) << count;
        EXPECT_EQ(doc.image[4283], static_cast<uint8_t>(count & 0xFF));
    }
    RadioDocument doc = emptyDocument();
    doc.currentBand = "no such band";
    zr::EncodeImage(doc);
    EXPECT_EQ(doc.image[5111], 0);
}

// A radio image decoded and encoded again gives back every byte, except the
// bits the builder marks as not kept (radio_image_builder.h):
//  - slot bytes 10 and 28..31 (not used) and the VFO name bytes 16..21 -> 0;
//  - byte 6 bit 2, byte 8 bits 7-6 and 3-1, byte 9 bits 7-1 of a slot -> 0;
//  - slot byte 27 when the three-digit DTMF ID option is set -> 3;
//  - all 32 bytes of an empty slot -> 0, and its scan-skip bit -> 1;
//  - the 4 bytes of an empty FM preset -> 0, bits 7-4 of 4162 -> 1,
//    4163..4175 -> 0xFF, 4176..4179 -> 09 05 00 00, 4180..4191 -> 0;
//  - unused settings bytes 4284..4287, 4623..4639, the key gaps, 4668, 4669,
//    4678, 4679, 4686..4863 and bytes 9..15 of every DTMF code entry -> 0;
//    unused bits 4275 bits 2-1, 4277 bits 7-6, 4608 bits 5-2, 4616 bits 7-4
//    -> 0;
//  - 4928..5103 -> 0xFF (never read), 5112..5115 -> "V100", 5116..5119 ->
//    0xFF (the handshake supplies the radio's version and flags).
void checkRoundTrip(uint32_t seed, bool threeDigitIds) {
    const zrtest::BuiltImage built = zrtest::RadioImageBuilder(seed).build(threeDigitIds);
    RadioDocument doc;
    doc.image = built.image;
    zr::RadioFlags caps{};
    zr::DecodeImage(doc, caps);
    ASSERT_EQ(doc.stored.Channels.count, built.channels + (built.vfo ? 1 : 0));
    ASSERT_EQ(doc.stored.Dtmf.DtmfSignalling != 0, threeDigitIds);
    zr::EncodeImage(doc);
    for (int i = 0; i < zr::kRadioImageSize; ++i) {
        const uint8_t expected = static_cast<uint8_t>((built.image[i] & built.mask[i]) |
                                                      (built.forced[i] & ~built.mask[i]));
        ASSERT_EQ(doc.image[i], expected) << "offset " << i << " seed " << seed;
    }
}

TEST(ImageCodec, RoundTripKeepsEveryStoredByte) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        checkRoundTrip(seed, false);
        checkRoundTrip(seed + 1000, true);
    }
}

// On any content whatsoever, decoding and encoding settles: the image written
// after one more read of it is the same. (The first pass may still change an
// image: a frequency of more than 8 digits is cut to its first 8.)
TEST(ImageCodec, ArbitraryImagesSettleAfterOnePass) {
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        RadioDocument doc;
        for (auto& b : doc.image) b = static_cast<uint8_t>(rng());
        if (round % 3 == 0)  // mostly present channels
            std::fill(doc.image.begin() + 4128, doc.image.begin() + 4144, 0x00);
        zr::RadioFlags caps{};
        zr::DecodeImage(doc, caps);
        zr::EncodeImage(doc);
        zr::DecodeImage(doc, caps);
        zr::EncodeImage(doc);
        const RadioImage second = doc.image;
        const zr::StoredDocument records = doc.stored;
        zr::DecodeImage(doc, caps);
        EXPECT_EQ(doc.stored, records) << round;
        zr::EncodeImage(doc);
        ASSERT_EQ(doc.image, second) << round;
    }
}

}  // namespace
