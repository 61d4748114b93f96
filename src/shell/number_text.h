#pragma once
// Numbers as text, always with "." as the decimal separator whatever the
// user's locale (std::to_chars / std::from_chars and own digit handling; the
// C and C++ locales are never consulted or changed).
//
// Decimal texts can be read exactly as scaled integers: ParseScaled("446.00625", 5)
// gives 44600625, with rounding to the nearest unit, halves to even. This is
// how frequencies are handled (units of 10 Hz = 0.00001 MHz), so no binary
// floating point rounding can creep into a stored frequency.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zr {

// True for an optional sign, digits with at most one ".", at least one digit,
// and an optional exponent ("e" or "E", optional sign, digits); blanks around
// the number are allowed. "", ".", "+", "1x", "1,5" are not numbers.
bool IsNumericText(std::string_view text);

// The value of a numeric text times 10^decimals, rounded to the nearest
// integer with halves to even. Nothing for a non-numeric text or a value
// outside the 64-bit range.
std::optional<int64_t> ParseScaled(std::string_view text, int decimals);

// The numeric text as a double (nothing when not numeric).
std::optional<double> ParseNumber(std::string_view text);

// value / 10^decimals with exactly that many decimals and at least
// minWholeDigits whole digits: FormatScaled(46256250, 5) = "462.56250",
// FormatScaled(500000, 5, 2) = "05.00000". A negative value gets "-".
std::string FormatScaled(int64_t value, int decimals, int minWholeDigits = 1);

// value / 10^decimals in its shortest form: 43500000,5 -> "435",
// 44650000,5 -> "446.5", -60000,5 -> "-0.6".
std::string FormatScaledShortest(int64_t value, int decimals);

// A double in its shortest round-trip decimal form ("435", "446.5").
std::string FormatShortest(double value);

// A double with a fixed number of decimals, halves to even on the decimal
// digits of its shortest form ("#0.00000" with decimals 5).
std::string FormatFixed(double value, int decimals);

// Nearest integer, halves to even, of value * 10^decimals, computed from the
// shortest decimal form of value (so 446.00625 * 10^5 is exactly 44600625).
int64_t ScaleRound(double value, int decimals);

// Whole number in decimal.
std::string IntText(long long value);

}  // namespace zr
