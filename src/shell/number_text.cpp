#include "shell/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace zr {
namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

struct Decimal {
    bool negative = false;
    std::string digits;   // all significant digits, integer and fraction
    long exponent = 0;    // value = digits * 10^exponent
};

std::optional<Decimal> Split(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    Decimal d;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        d.negative = s[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    bool point = false;
    long fractionDigits = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            d.digits.push_back(c);
            if (point) ++fractionDigits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return std::nullopt;
    long exp = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool eneg = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            eneg = s[i] == '-';
            ++i;
        }
        bool expDigit = false;
        for (; i < s.size(); ++i) {
            char c = s[i];
            if (c < '0' || c > '9') break;
            expDigit = true;
            if (exp < 100000) exp = exp * 10 + (c - '0');
        }
        if (!expDigit) return std::nullopt;
        if (eneg) exp = -exp;
    }
    if (i != s.size()) return std::nullopt;
    d.exponent = exp - fractionDigits;
    // Drop leading zeros (keep one digit).
    std::size_t nz = d.digits.find_first_not_of('0');
    if (nz == std::string::npos) {
        d.digits = "0";
        d.exponent = 0;
    } else {
        d.digits.erase(0, nz);
    }
    return d;
}

}  // namespace

bool IsNumericText(std::string_view text) { return Split(text).has_value(); }

std::optional<int64_t> ParseScaled(std::string_view text, int decimals) {
    auto d = Split(text);
    if (!d) return std::nullopt;
    long shift = d->exponent + decimals;  // value*10^decimals = digits * 10^shift
    std::string intPart;
    std::string dropped;
    if (shift >= 0) {
        if (d->digits != "0" && static_cast<long>(d->digits.size()) + shift > 19) return std::nullopt;
        intPart = d->digits + std::string(d->digits == "0" ? 0 : static_cast<std::size_t>(shift), '0');
    } else {
        std::size_t cut = static_cast<std::size_t>(-shift);
        if (cut >= d->digits.size()) {
            intPart = "0";
            dropped = std::string(cut - d->digits.size(), '0') + d->digits;
        } else {
            intPart = d->digits.substr(0, d->digits.size() - cut);
            dropped = d->digits.substr(d->digits.size() - cut);
        }
    }
    if (intPart.size() > 19) return std::nullopt;
    uint64_t v = 0;
    for (char c : intPart) v = v * 10 + static_cast<uint64_t>(c - '0');
    if (v > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
    // Round half to even on the dropped digits.
    if (!dropped.empty()) {
        int first = dropped[0] - '0';
        bool restNonZero = dropped.find_first_not_of('0', 1) != std::string::npos;
        bool up = first > 5 || (first == 5 && (restNonZero || (v % 2 == 1)));
        if (up) ++v;
    }
    if (v > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
    int64_t r = static_cast<int64_t>(v);
    return d->negative ? -r : r;
}

std::optional<double> ParseNumber(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    if (!Split(s)) return std::nullopt;
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size()) {
        // from_chars does not take a leading "." ("".5""): read it as 0.5.
        std::string fixed(s);
        std::size_t at = (fixed[0] == '-') ? 1 : 0;
        if (at < fixed.size() && fixed[at] == '.') fixed.insert(at, "0");
        auto [p2, ec2] = std::from_chars(fixed.data(), fixed.data() + fixed.size(), v);
        if (ec2 != std::errc() || p2 != fixed.data() + fixed.size()) return std::nullopt;
    }
    return v;
}

std::string FormatScaled(int64_t value, int decimals, int minWholeDigits) {
    bool neg = value < 0;
    uint64_t mag = neg ? (~static_cast<uint64_t>(value) + 1) : static_cast<uint64_t>(value);
    std::string digits = std::to_string(mag);
    std::size_t need = static_cast<std::size_t>(decimals + std::max(minWholeDigits, 1));
    if (digits.size() < need) digits.insert(0, need - digits.size(), '0');
    std::string out = neg ? "-" : "";
    out += digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) {
        out += '.';
        out += digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    }
    return out;
}

std::string FormatScaledShortest(int64_t value, int decimals) {
    std::string s = FormatScaled(value, decimals, 1);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string FormatShortest(double value) {
    if (!std::isfinite(value)) return "0";
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return "0";
    std::string s(buf, p);
    // Keep plain decimal notation for the magnitudes this program uses.
    if (s.find('e') != std::string::npos) {
        auto [p2, ec2] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
        if (ec2 == std::errc()) s.assign(buf, p2);
    }
    if (s == "-0") s = "0";
    return s;
}

int64_t ScaleRound(double value, int decimals) {
    auto v = ParseScaled(FormatShortest(value), decimals);
    return v ? *v : 0;
}

std::string FormatFixed(double value, int decimals) {
    return FormatScaled(ScaleRound(value, decimals), decimals, 1);
}

std::string IntText(long long value) { return std::to_string(value); }

}  // namespace zr
