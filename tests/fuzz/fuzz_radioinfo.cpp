// Fuzz target: dealer information decoded from an arbitrary 512-byte area.
// Every text must stay within its field and end where the bytes say.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "data/radio_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zr::RmgImage rmg;
    rmg.fill(0xFF);
    std::copy_n(data, std::min<size_t>(size, rmg.size()), rmg.begin());
    zr::RadioInfoRecord info;
    zr::DecodeRadioInfo(rmg, info);
    if (info.SalesArea.size() > 4) std::abort();
    for (char c : info.SalesArea)
        if (c == '\0' || c == static_cast<char>(0xFF)) std::abort();
    // Decoding twice gives the same record.
    zr::RadioInfoRecord again = info;
    zr::DecodeRadioInfo(rmg, again);
    if (!(again == info)) std::abort();
    return 0;
}
