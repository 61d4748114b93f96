#pragma once
// Settings codec: the radio-wide settings records <-> their RadioImage bytes.
//
//   DecodeSettings(image, doc)  optional features, DTMF, embedded message,
//                               keys, scan, alert (with AlarmMode)
//   EncodeSettings(doc, image)  the same records into their bytes; bytes
//                               between the fields are written as 0
//   TakeRadioFlags(image, current, capability)
//                               the four radio flags of byte 5116; the
//                               capability flags are only ever set, never
//                               cleared
//   DecodeDtmfCode / EncodeDtmfCode  one 16-byte DTMF code entry
//
// Fields not kept by the radio are left as they are. Multi-field bytes mask
// each field to its bits, so an out-of-range value cannot disturb another.

#include <array>
#include <cstdint>

#include "data/document.h"

namespace zr {

inline constexpr int kRadioFlagsOffset = 5116;

using RadioFlags = std::array<uint8_t, 4>;

void DecodeSettings(const RadioImage& image, StoredDocument& doc);
void EncodeSettings(const StoredDocument& doc, RadioImage& image);

// current[3 - i] = bit i of byte 5116; capability[3 - i] becomes that bit
// while it is 0.
void TakeRadioFlags(const RadioImage& image, RadioFlags& current, RadioFlags& capability);

// One DTMF code entry at image offset `offset` (16 bytes).
DtmfCodeEntry DecodeDtmfCode(const RadioImage& image, int offset);
void EncodeDtmfCode(const DtmfCodeEntry& entry, RadioImage& image, int offset);

}  // namespace zr
