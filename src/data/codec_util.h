#pragma once
// Small helpers shared by the memory image codecs: rounding, and the nibble
// and hexadecimal forms in which the radio keeps digit strings. Everything
// here is bounds-safe on any input. Text clean-up and number reading are the
// program's common ones (shell/mod_fun.h, shell/number_text.h).

#include <cstdint>
#include <string>
#include <string_view>

namespace zr::codec {

// True when s is non-empty and holds only the digits 0..9.
bool allDigits(std::string_view s);

// Nearest integer, halves to the even neighbour.
double roundHalfEven(double x);

// Value of one hexadecimal digit (either case); 0 for any other character.
uint8_t hexNibble(char c);

// Two characters read as one hexadecimal byte ("12" gives 0x12).
inline uint8_t hexPair(char hi, char lo) {
    return static_cast<uint8_t>((hexNibble(hi) << 4) | hexNibble(lo));
}

// Two-character upper-case hexadecimal form of a byte (0x0A gives "0A").
std::string hexByte(uint8_t b);

// Unsigned value written in decimal, left-padded with "0" to minDigits.
std::string zeroPadded(uint64_t value, int minDigits);

// Characters of bytes [first, first + maxLen) up to the first 0x00 or 0xFF.
template <typename Bytes>
std::string textUntilEnd(const Bytes& bytes, std::size_t first, std::size_t maxLen) {
    std::string out;
    for (std::size_t i = first; i < first + maxLen && i < bytes.size(); ++i) {
        if (bytes[i] == 0x00 || bytes[i] == 0xFF) break;
        out.push_back(static_cast<char>(bytes[i]));
    }
    return out;
}

// Field of `width` bits at bit position `low` of a byte.
inline int bitsOf(uint8_t byte, int low, int width) {
    return (byte >> low) & ((1 << width) - 1);
}

// A field value placed at bit position `low`, masked to `width` bits so that
// an out-of-range value never spills into its neighbours.
inline uint8_t placeBits(int value, int low, int width) {
    return static_cast<uint8_t>((static_cast<unsigned>(value) & ((1u << width) - 1)) << low);
}

}  // namespace zr::codec
