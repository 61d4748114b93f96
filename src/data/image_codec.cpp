#include "data/image_codec.h"

#include <algorithm>
#include <string>

#include "data/bands.h"
#include "data/channel_codec.h"
#include "data/codec_util.h"
#include "data/fm_channels.h"
#include "shell/mod_fun.h"

namespace zr {

using namespace codec;

namespace {

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
    ApplyModelBand(doc);

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

    RefreshModelBand(doc);
    const std::string model = CleanText(s.ModelBand.ModelId.raw());
    for (int i = 0; i < 7; ++i)
        image[kModelIdOffset + i] = i < static_cast<int>(model.size()) ? static_cast<uint8_t>(model[i]) : 0;
    image[kBandCodeOffset] = static_cast<uint8_t>(s.ModelBand.BandCode & 0xFF);
    const char firmware[] = "V100";
    for (int i = 0; i < 4; ++i) image[kFirmwareOffset + i] = static_cast<uint8_t>(firmware[i]);

    EncodeSettings(s, image);
}

}  // namespace zr
