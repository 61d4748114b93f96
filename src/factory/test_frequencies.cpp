#include "factory/test_frequencies.h"

namespace zr {

void SetDefaultTestFrequencies(TestFreqList& list, const std::string& bandText) {
    const char* first = bandText == "136 - 174 MHz" ? "15510000" : "43510000";
    list[0].TestFreq1.set(first);
    list[0].TestFreq2.set(first);
    for (std::size_t i = 1; i < list.size(); ++i) {
        list[i].TestFreq1.clear();
        list[i].TestFreq2.clear();
    }
}

}  // namespace zr
