#include "data/fm_channels.h"

#include <cmath>
#include <cstdint>

#include "data/codec_util.h"
#include "shell/mod_fun.h"
#include "shell/number_text.h"

namespace zr {

using namespace codec;

void DecodeFmChannels(const RadioImage& image, FmChannelList& channels) {
    for (int k = 0; k < kFmChannels; ++k) {
        FmChannel& ch = channels[k];
        ch.IsEmpty = static_cast<int16_t>((image[kFmPresenceOffset + k / 8] >> (k % 8)) & 1);
        std::string freq;
        for (int i = 0; i < 4; ++i) freq += hexByte(image[kFmFreqOffset + 4 * k + i]);
        ch.FmFreq.set(freq);
    }
}

void EncodeFmChannels(const FmChannelList& channels, RadioImage& image) {
    for (int k = 0; k < kFmChannels; ++k) {
        const FmChannel& ch = channels[k];
        if (ch.IsEmpty != 0) continue;
        image[kFmPresenceOffset + k / 8] &= static_cast<uint8_t>(~(1u << (k % 8)));
        std::string t = CleanText(ch.FmFreq.raw());
        if (t.empty()) continue;
        if (t.size() < 8) t.append(8 - t.size(), '0');
        for (int i = 0; i < 4; ++i) image[kFmFreqOffset + 4 * k + i] = hexPair(t[2 * i], t[2 * i + 1]);
    }
}

double StepRadio(double mhz) {
    double c = roundHalfEven(mhz * 100);
    double d = std::fmod(c, 5.0);  // keeps the sign of c
    c -= d;
    if (d > 2) c += 5;
    return c / 100;
}

std::string CheckRadioFre(std::string_view text) {
    if (CleanText(text).empty()) return {};
    double v = ParseNumber(text).value_or(kFmLowestMhz);
    if (v < kFmLowestMhz) v = kFmLowestMhz;
    else if (v > kFmHighestMhz) v = kFmHighestMhz;
    else v = StepRadio(v);
    // Pattern "000.00000": at least three whole digits, five decimals.
    const auto units = static_cast<uint64_t>(roundHalfEven(v * 100000));
    return zeroPadded(units / 100000, 3) + "." + zeroPadded(units % 100000, 5);
}

std::string GetSaveRadioFreData(std::string_view text) {
    if (text.empty()) return {};
    if (!ParseNumber(text)) return "76";
    std::string s(text);
    const auto dot = s.find('.');
    if (dot != std::string::npos) s.erase(dot, 1);
    return s;
}

}  // namespace zr
