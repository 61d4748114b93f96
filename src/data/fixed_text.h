#pragma once
// Fixed-length texts as the radio and the document files keep them: one byte
// per character of the single-byte code page, padded on the right with blanks.
// A cleared text is a NUL followed by blanks. A text is used after removing
// everything from the first NUL on and the trailing blanks.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zr {

template <std::size_t N>
struct FixedText {
    std::array<char, N> bytes{};

    FixedText() { bytes.fill(' '); }
    explicit FixedText(std::string_view s) { set(s); }

    static constexpr std::size_t size() { return N; }

    // Stores s, cut to N bytes and blank-padded.
    void set(std::string_view s) {
        bytes.fill(' ');
        std::copy_n(s.begin(), std::min(s.size(), N), bytes.begin());
    }
    // NUL followed by blanks: reads back as the empty text.
    void clear() {
        bytes.fill(' ');
        if constexpr (N > 0) bytes[0] = '\0';
    }
    // The meaningful part: cut at the first NUL, trailing blanks removed.
    std::string text() const {
        std::size_t end = 0;
        while (end < N && bytes[end] != '\0') ++end;
        while (end > 0 && bytes[end - 1] == ' ') --end;
        return std::string(bytes.data(), end);
    }
    // All N bytes as stored, NULs and blanks included.
    std::string raw() const { return std::string(bytes.data(), N); }

    bool operator==(const FixedText&) const = default;
};

}  // namespace zr
