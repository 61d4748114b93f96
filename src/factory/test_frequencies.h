#pragma once
// The document's list of factory test frequency pairs.

#include <array>
#include <string>

#include "data/records.h"

namespace zr {

using TestFreqList = std::array<TestFreqEntry, kTestFreqEntries>;

// New-document values: entry 0 holds "15510000" twice on band
// "136 - 174 MHz" and "43510000" twice on every other band; entries 1..10
// are cleared (a NUL followed by blanks) in both fields.
void SetDefaultTestFrequencies(TestFreqList& list, const std::string& bandText);

}  // namespace zr
