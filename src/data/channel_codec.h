#pragma once
// Channel codec: one 32-byte slot of the RadioImage <-> one ChannelRecord,
// plus the channel presence and scan-skip bitmaps.
//
//   DecodeChannel(image, k, list)   slot k (0..127 memory, 128 VFO) appended
//                                   to the list when it holds a channel
//   EncodeChannel(rec, ids3, image) writes the record's slot and bitmap bits
//
// Both are run by DecodeImage / EncodeImage (image_codec.h). Neither indexes
// outside the image on any input: slot indexes and channel numbers outside
// their ranges are ignored, over-wide field values are masked to their bits.

#include "data/document.h"

namespace zr {

inline constexpr int kSlotSize = 32;
inline constexpr int kVfoSlotOffset = 4096;
inline constexpr int kPresenceBitmapOffset = 4128;   // 16 bytes, set = empty
inline constexpr int kScanSkipBitmapOffset = 4144;   // 16 bytes, set = skipped
inline constexpr int kNoChannelSteps = 200000;       // R at or above: no channel

// Decodes slot k (k = 128 is the VFO) and appends a ChannelRecord numbered
// k + 1 to `list` when the slot holds a channel. Nothing happens for k outside
// 0..128 or when the list is already full.
void DecodeChannel(const RadioImage& image, int k, ChannelList& list);

// Writes the record's slot and clears its bitmap bits. Normalises the record
// as the radio needs it (IsEmpty, RxStep, OffsetStep, TxPower). `threeDigitIds`
// is the DTMF option that fixes ID codes at three digits. A record whose
// ChannelNumber is outside 1..129 or whose RxFreq is not a number writes
// nothing.
void EncodeChannel(ChannelRecord& rec, bool threeDigitIds, RadioImage& image);

}  // namespace zr
