#pragma once
// The whole RadioImage <-> the records of a RadioDocument.
//
//   DecodeImage(doc, capabilityFlags)
//       channels (slots 0..128, ascending, the VFO last), FM presets, model
//       identifier and band code (made the current model and band), settings,
//       radio flags (byte 5116 into doc.radioFlags and the capability flags).
//       The ID code lengths are not aligned here: the caller runs
//       AlignIdCodeLengths afterwards.
//   EncodeImage(doc)
//       rebuilds all 5120 bytes from the records: fills, channels, FM
//       presets, identification block ("V100" as firmware text), settings.
//       Bytes 4928..5103 and 5116..5119 are left 0xFF; the handshake puts the
//       radio's own model, version and flags into the identification block.
//
// Neither reads or writes outside the image on any record content.

#include "data/document.h"
#include "data/settings_codec.h"

namespace zr {

inline constexpr int kModelIdOffset = 5104;    // 7 bytes, 0x00 after the text
inline constexpr int kBandCodeOffset = 5111;
inline constexpr int kFirmwareOffset = 5112;   // 4 bytes

void DecodeImage(RadioDocument& doc, RadioFlags& capabilityFlags);
void EncodeImage(RadioDocument& doc);

}  // namespace zr
