#pragma once
// Small builders for the page tests: a document with chosen channels and a
// language lookup that names every text by its number.

#include <initializer_list>
#include <string>

#include "data/document.h"
#include "pages/page_lists.h"

namespace pagestest {

inline zr::pages::TextFn numberedTexts() {
    return [](int n) { return "T" + std::to_string(n); };
}

inline void setChannels(zr::StoredDocument& d, std::initializer_list<int> numbers) {
    d.Channels.count = 0;
    for (int n : numbers) {
        zr::ChannelRecord r;
        r.ChannelNumber = static_cast<int16_t>(n);
        r.RxFreq.set("46256250");
        d.Channels.entries[d.Channels.count++] = r;
    }
}

inline void setFm(zr::StoredDocument& d, std::initializer_list<int> used) {
    for (auto& f : d.FmChannels) f.IsEmpty = 1;
    for (int k : used) {
        d.FmChannels[k - 1].IsEmpty = 0;
        d.FmChannels[k - 1].FmFreq.set("09050000");
    }
}

}  // namespace pagestest
