#pragma once
// FM broadcast presets: their RadioImage storage and the frequency texts of
// the FM page.
//
//   DecodeFmChannels / EncodeFmChannels  presence bitmap at 4160 (set =
//       empty) and 4 BCD bytes per preset at 4192 + 4 * (k - 1)
//   CheckRadioFre(text)        typed text -> checked "000.00000" text (76..108
//                              MHz on the 50 kHz raster; empty stays empty)
//   StepRadio(mhz)             value moved onto the 50 kHz raster
//   GetSaveRadioFreData(text)  checked text -> stored 8-digit text

#include <array>
#include <string>
#include <string_view>

#include "data/document.h"

namespace zr {

inline constexpr int kFmPresenceOffset = 4160;
inline constexpr int kFmFreqOffset = 4192;
inline constexpr double kFmLowestMhz = 76.0;
inline constexpr double kFmHighestMhz = 108.0;

using FmChannelList = std::array<FmChannel, kFmChannels>;

void DecodeFmChannels(const RadioImage& image, FmChannelList& channels);
// Expects the presence bytes set to 0xFF and the frequency bytes to 0x00.
void EncodeFmChannels(const FmChannelList& channels, RadioImage& image);

double StepRadio(double mhz);
std::string CheckRadioFre(std::string_view text);
std::string GetSaveRadioFreData(std::string_view text);

}  // namespace zr
