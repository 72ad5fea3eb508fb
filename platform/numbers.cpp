#include "platform/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace tarvek {

namespace {

std::string_view trimBlanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

}  // namespace

std::string IntToStr(std::int64_t value) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::string ColorToStr(std::int32_t color) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<std::uint32_t>(color));
    return std::string(buf, r.ptr);
}

std::optional<std::int64_t> StrToInt64(std::string_view text) {
    std::string_view s = trimBlanks(text);
    // from_chars takes "-" but not "+", and must see a digit right after the sign.
    std::size_t firstDigit = 0;
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    else if (!s.empty() && s.front() == '-')
        firstDigit = 1;
    if (s.size() <= firstDigit || !isDigit(s[firstDigit])) return std::nullopt;
    std::int64_t value = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return value;
}

std::optional<std::int32_t> StrToInt(std::string_view text) {
    const auto v = StrToInt64(text);
    if (!v || *v < std::numeric_limits<std::int32_t>::min() ||
        *v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

std::optional<std::int32_t> StrToColor(std::string_view text) {
    const auto v = StrToInt64(text);
    if (!v) return std::nullopt;
    // Two's complement wrap (defined since C++20): "4294967295" is clNone, -1.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*v));
}

std::string FloatToStr(double value) {
    if (!std::isfinite(value) || value == 0) return "0";

    // 15 significant digits as "d.dddddddddddddde[+-]xx", already correctly rounded.
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                 std::chars_format::scientific, 14);
    const std::string_view sci(buf, static_cast<std::size_t>(r.ptr - buf));
    const std::size_t ePos = sci.find('e');
    std::string digits;
    digits += sci[0];
    digits.append(sci.substr(2, ePos - 2));
    int exp = 0;
    std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(),
                    exp);
    // Only the largest doubles round up past DBL_MAX; written so they would read back as
    // an overflow. Round those down instead.
    if (exp == 308 && digits > "179769313486231") digits = "179769313486231";
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out;
    if (value < 0) out += '-';
    const int nDigits = static_cast<int>(digits.size());
    if (exp >= -5 && exp < 15) {
        if (exp < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exp - 1), '0');
            out += digits;
        } else if (nDigits <= exp + 1) {
            out += digits;
            out.append(static_cast<std::size_t>(exp + 1 - nDigits), '0');
        } else {
            out.append(digits, 0, static_cast<std::size_t>(exp + 1));
            out += '.';
            out.append(digits, static_cast<std::size_t>(exp + 1));
        }
    } else {
        out += digits[0];
        if (nDigits > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(exp);
    }
    return out;
}

std::optional<double> StrToFloat(std::string_view text) {
    std::string_view s = trimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }

    // Check the whole form here: from_chars alone would take "inf", "nan" and stop
    // quietly before a trailing "e" or ",".
    std::size_t i = 0;
    std::size_t intDigits = 0;
    std::size_t fracDigits = 0;
    // The mantissa is 0.ddd x 10^leadExp with d the significant digits; used to tell
    // an underflow from an overflow below.
    long long leadExp = 0;
    bool seenNonZero = false;
    while (i < s.size() && isDigit(s[i])) {
        if (s[i] != '0') seenNonZero = true;
        if (seenNonZero) ++leadExp;
        ++intDigits;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            if (!seenNonZero) {
                if (s[i] != '0')
                    seenNonZero = true;
                else
                    --leadExp;
            }
            ++fracDigits;
            ++i;
        }
    }
    if (intDigits + fracDigits == 0) return std::nullopt;
    long long exp = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        if (i >= s.size() || !isDigit(s[i])) return std::nullopt;
        while (i < s.size() && isDigit(s[i])) {
            if (exp < 1'000'000'000) exp = exp * 10 + (s[i] - '0');
            ++i;
        }
        if (expNegative) exp = -exp;
    }
    if (i != s.size()) return std::nullopt;

    double value = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value,
                                   std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is no number.
        if (seenNonZero && leadExp + exp < 0) return negative ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::string BoolToStr(bool value) { return value ? "-1" : "0"; }

std::optional<bool> StrToBool(std::string_view text) {
    if (const auto v = StrToInt(text)) return *v != 0;
    const std::string_view s = trimBlanks(text);
    if (equalsNoCase(s, "true")) return true;
    if (equalsNoCase(s, "false")) return false;
    return std::nullopt;
}

std::int64_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    // 2^63 is exact as a double; anything at or beyond it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (value < -kLimit) return std::numeric_limits<std::int64_t>::min();
    // Done by hand so that a changed FPU rounding mode cannot move pixels.
    // value - floor(value) is exact for every double.
    double r = std::floor(value);
    const double frac = value - r;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0)) r += 1.0;
    if (r >= kLimit) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(r);
}

std::int32_t RoundToInt32(double value) {
    const std::int64_t v = RoundHalfEven(value);
    if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

}  // namespace tarvek
