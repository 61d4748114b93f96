#include "pages/page_lists.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace zr::pages {

int Choice::find(const std::string& text) const {
    for (int i = 0; i < count(); ++i)
        if (entries[i] == text) return i;
    return -1;
}

int Choice::selectAt(int pos) {
    if (entries.empty()) {
        selected = -1;
    } else {
        selected = (pos >= 0 && pos < count()) ? pos : 0;
    }
    return selected;
}

int Choice::selectText(const std::string& text) {
    if (entries.empty()) {
        selected = -1;
    } else {
        int at = find(text);
        selected = at >= 0 ? at : 0;
    }
    return selected;
}

std::string Choice::textAt(int pos) const {
    if (entries.empty()) return {};
    if (pos < 0 || pos >= count()) return entries[0];
    return entries[pos];
}

std::vector<std::string> NumberTexts(int from, int to, const std::string& suffix) {
    std::vector<std::string> out;
    for (int v = from; v <= to; ++v) out.push_back(std::to_string(v) + suffix);
    return out;
}

std::vector<std::string> TenthsTexts(int first, int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        int v = first + i;
        out.push_back(std::to_string(v / 10) + "." + std::to_string(v % 10));
    }
    return out;
}

int ParseInt(const std::string& text, int fallback) {
    if (text.empty()) return fallback;
    const char* b = text.data();
    const char* e = b + text.size();
    if (*b == '+') ++b;
    int v = 0;
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || p != e) return fallback;
    return v;
}

std::vector<int> MemoryChannelsInUse(const ChannelList& list) {
    std::vector<int> out;
    int n = std::clamp<int>(list.count, 0, kMaxChannels);
    for (int i = 0; i < n; ++i) {
        int ch = list.entries[i].ChannelNumber;
        if (ch >= 1 && ch <= kMemoryChannels) out.push_back(ch);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::vector<int> FmChannelsInUse(const std::array<FmChannel, kFmChannels>& fm) {
    std::vector<int> out;
    for (int k = 0; k < kFmChannels; ++k)
        if (fm[k].IsEmpty == 0) out.push_back(k + 1);
    return out;
}

void FillChannelList(Choice& list, const ChannelList& channels) {
    list.entries.clear();
    list.selected = -1;
    std::vector<int> numbers;
    int n = std::clamp<int>(channels.count, 0, kMaxChannels);
    for (int i = 0; i < n; ++i) numbers.push_back(channels.entries[i].ChannelNumber);
    std::sort(numbers.begin(), numbers.end());
    for (int v : numbers) list.entries.push_back(std::to_string(v));
}

namespace {
bool isClipboardKey(int c) { return c == 3 || c == 22 || c == 24; }
}

int FilterAsciiKey(int code) {
    if (code <= 0 || code > 127 || isClipboardKey(code)) return 0;
    return code;
}

int FilterPowerOnKey(int code) {
    if (code <= 0 || code > 127 || isClipboardKey(code)) return 0;
    if (code < 32 || code == 127) return code;
    if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
        (code >= '0' && code <= '9'))
        return code;
    return 0;
}

int FilterDtmfCodeKey(int code) {
    if (code <= 0 || code > 127 || isClipboardKey(code)) return 0;
    if (code < 32 || code == 127) return code;
    if (code >= 'a' && code <= 'd') return code - 'a' + 'A';
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'D') || code == '*' ||
        code == '#')
        return code;
    return 0;
}

int FilterFmKey(int code) {
    if (code <= 0 || code > 127 || isClipboardKey(code)) return 0;
    if (code < 32 || code == 127) return code;
    if ((code >= '0' && code <= '9') || code == '.') return code;
    return 0;
}

int FilterDigitKey(int code) {
    if (code <= 0 || code > 127 || isClipboardKey(code)) return 0;
    if (code < 32 || code == 127) return code;
    if (code >= '0' && code <= '9') return code;
    return 0;
}

}  // namespace zr::pages
