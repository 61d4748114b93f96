#pragma once
// Dealer information: DecodeRadioInfo turns the RmgImage (radio addresses
// 5120..5631) into the RadioInfoRecord. Each text ends before its first 0x00
// or 0xFF byte or at the end of its range. BandCode, SpareText, VersionInfo
// and ModelText are left unchanged. Nothing encodes the RmgImage.

#include "data/document.h"

namespace zr {

void DecodeRadioInfo(const RmgImage& image, RadioInfoRecord& info);

}  // namespace zr
