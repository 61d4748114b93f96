#include "data/image_codec.h"

#include <algorithm>
#include <string>

#include "data/channel_codec.h"
#include "data/codec_util.h"
#include "data/fm_channels.h"

namespace zr {

using namespace codec;

namespace {

// Model and band bookkeeping of the document.
struct BandEntry {
    int code;
    const char* text;
};
constexpr BandEntry kBands[] = {
    {0, "400 - 470 MHz"}, {1, "460 - 470 MHz"},  {2, "400 - 440 MHz"},  {3, "440 - 470 MHz"},
    {4, "446 - 447 MHz"}, {5, "430 - 432 MHz"},  {6, "430 - 440 MHz"},  {7, "430 - 470 MHz"},
    {8, "136 - 174 MHz"}, {9, "136 - 150 MHz"},  {10, "150 - 174 MHz"}, {11, "136 - 145 MHz"},
    {12, "145 - 174 MHz"}, {13, "144 - 146 MHz"}, {14, "144 - 148 MHz"}, {16, "350 - 390 MHz"},
    {32, "450 - 520 MHz"},
};

std::string bandText(int code) {
    for (const auto& b : kBands)
        if (b.code == code) return b.text;
    return {};
}

int bandCode(const std::string& text) {
    for (const auto& b : kBands)
        if (text == b.text) return b.code;
    return 0;
}

void refreshBandLimits(RadioDocument& doc) {
    const std::string& t = doc.currentBand;
    auto lo = parseNumber(t.substr(0, std::min<std::size_t>(3, t.size())));
    auto hi = parseNumber(t.size() > 6 ? t.substr(6, 3) : std::string{});
    if (lo && hi) {
        doc.bandLower = *lo;
        doc.bandUpper = *hi;
    }
}

void applyModelBand(RadioDocument& doc) {
    ModelBandRecord& mb = doc.stored.ModelBand;
    doc.currentModel = cleanText(mb.ModelId.raw());
    mb.ModelId.set(doc.currentModel);
    doc.currentBand = bandText(mb.BandCode);
    doc.radioInfo.ModelText = doc.currentModel;
    doc.radioInfo.BandCode = mb.BandCode;
    refreshBandLimits(doc);
}

void refreshModelBand(RadioDocument& doc) {
    doc.stored.ModelBand.ModelId.set(doc.currentModel);
    doc.stored.ModelBand.BandCode = static_cast<int16_t>(bandCode(doc.currentBand));
}

void fill(RadioImage& image, int first, int endExclusive, uint8_t value) {
    std::fill(image.begin() + first, image.begin() + endExclusive, value);
}

}  // namespace

void DecodeImage(RadioDocument& doc, RadioFlags& capabilityFlags) {
    const RadioImage& image = doc.image;
    StoredDocument& s = doc.stored;

    s.Channels = ChannelList{};
    for (int k = 0; k <= kMemoryChannels; ++k) DecodeChannel(image, k, s.Channels);

    DecodeFmChannels(image, s.FmChannels);

    s.ModelBand.ModelId.set(textUntilEnd(image, kModelIdOffset, 7) + '\0');
    s.ModelBand.BandCode = image[kBandCodeOffset];
    applyModelBand(doc);

    DecodeSettings(image, s);
    TakeRadioFlags(image, doc.radioFlags, capabilityFlags);
}

void EncodeImage(RadioDocument& doc) {
    RadioImage& image = doc.image;
    StoredDocument& s = doc.stored;

    // Every byte is rebuilt, so nothing of an earlier image leaks through.
    image.fill(0xFF);
    fill(image, 0, kPresenceBitmapOffset, 0x00);
    fill(image, kPresenceBitmapOffset, kFmPresenceOffset, 0xFF);
    fill(image, kFmPresenceOffset, 4928, 0x00);

    const bool threeDigitIds = s.Dtmf.DtmfSignalling != 0;
    const int count = std::clamp<int>(s.Channels.count, 0, kMaxChannels);
    for (int i = 0; i < count; ++i) EncodeChannel(s.Channels.entries[i], threeDigitIds, image);

    fill(image, kFmPresenceOffset, 4176, 0xFF);
    EncodeFmChannels(s.FmChannels, image);
    const uint8_t fmDefault[] = {0x09, 0x05, 0x00, 0x00};
    std::copy(std::begin(fmDefault), std::end(fmDefault), image.begin() + 4176);

    refreshModelBand(doc);
    const std::string model = cleanText(s.ModelBand.ModelId.raw());
    for (int i = 0; i < 7; ++i)
        image[kModelIdOffset + i] = i < static_cast<int>(model.size()) ? static_cast<uint8_t>(model[i]) : 0;
    image[kBandCodeOffset] = static_cast<uint8_t>(s.ModelBand.BandCode & 0xFF);
    const char firmware[] = "V100";
    for (int i = 0; i < 4; ++i) image[kFirmwareOffset + i] = static_cast<uint8_t>(firmware[i]);

    EncodeSettings(s, image);
}

}  // namespace zr
