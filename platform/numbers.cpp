#include "platform/numbers.h"

#include <charconv>
#include <cstring>
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
    char buf[IntegerTextMax];
    return std::string(buf, FormatInteger(value, buf));
}

std::string ColorToStr(std::int32_t color) { return IntToStr(static_cast<std::uint32_t>(color)); }

namespace numbers_detail {

std::optional<std::int64_t> StrToInt64General(std::string_view text) {
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

}  // namespace numbers_detail

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// u's digits ending just before last, two at a time; returns where they begin.
char* DigitsBefore(char* last, std::uint64_t u) {
    char* d = last;
    while (u >= 100) {
        d -= 2;
        std::memcpy(d, kDigitPairs + (u % 100) * 2, 2);
        u /= 100;
    }
    if (u >= 10) {
        d -= 2;
        std::memcpy(d, kDigitPairs + u * 2, 2);
    } else {
        *--d = static_cast<char>('0' + u);
    }
    return d;
}

// A value within a few units in the last place of m / 10^k, for an integer m of at most
// 15 digits, 1e-5 <= |value| < 1e15: rounded to 15 significant digits it is m / 10^k
// (half a step of the 15th digit is at least five such units), so its text is m's digits
// with k decimals. Drawings are entered in thousandths, and sums and differences of
// thousandths land within a unit or two of one: nearly every real of a file is one.
std::size_t FormatDecimal(double value, char* out) {
    const double a = std::fabs(value);
    if (!(a >= 1e-5 && a < 1e15)) return 0;
    // Thousandths first: they hold the integers too.
    for (const int k : {3, 0, 1, 2, 4, 5, 6, 7, 8, 9, 10}) {
        const double scaled = a * kPowersOfTen[k];
        if (scaled >= 1e15) continue;
        // The nearest integer is the one candidate. Two units of scaled away from it at
        // most, with one more for the product's rounding in any rounding mode, stays
        // below the five.
        auto m = static_cast<std::int64_t>(scaled + 0.5);
        if (m >= 1000000000000000 || std::fabs(scaled - static_cast<double>(m)) > scaled * 2e-16) continue;
        int decimals = k;
        while (decimals > 0 && m % 10 == 0) {
            m /= 10;
            --decimals;
        }
        // The digits right-aligned in a padded buffer, then copied in fixed-size blocks,
        // which cost less than copies of their exact length.
        char digits[48];
        char* const last = digits + 32;
        const char* const d = DigitsBefore(last, static_cast<std::uint64_t>(m));
        const auto n = static_cast<int>(last - d);
        char* p = out;
        *p = '-';
        p += value < 0 ? 1 : 0;
        if (n > decimals) {
            const int whole = n - decimals;
            std::memcpy(p, d, 16);
            p += whole;
            if (decimals > 0) {
                *p++ = '.';
                std::memcpy(p, d + whole, 16);
                p += decimals;
            }
        } else {  // below 1: "0." and zeros before the digits
            std::memcpy(p, "0.0000000000000000", 18);
            p += 2 + (decimals - n);
            std::memcpy(p, d, 16);
            p += n;
        }
        return static_cast<std::size_t>(p - out);
    }
    return 0;
}

}  // namespace

std::size_t FormatInteger(std::int64_t value, char* out) {
    const bool negative = value < 0;
    const std::uint64_t u = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char digits[48];
    char* const last = digits + 24;
    const char* const d = DigitsBefore(last, u);
    *out = '-';
    std::memcpy(out + (negative ? 1 : 0), d, 24);
    return static_cast<std::size_t>(last - d) + (negative ? 1 : 0);
}

std::size_t FormatFloat(double value, char* out) {
    if (value == 0) {
        out[0] = '0';
        return 1;
    }
    if (const std::size_t n = FormatDecimal(value, out)) return n;
    // Where the library's general form of 15 digits comes out as plain digits, it is the
    // same text; near 1e15 it may round up into an exponent, which is written otherwise.
    const double a = std::fabs(value);
    if (a >= 1e-4 && a < 1e15) {
        const auto r = std::to_chars(out, out + FloatTextMax, value, std::chars_format::general, 15);
        const auto n = static_cast<std::size_t>(r.ptr - out);
        if (r.ec == std::errc() && !std::memchr(out, 'e', n)) return n;
    }
    const std::string text = numbers_detail::FloatToStrGeneral(value);
    std::memcpy(out, text.data(), text.size());
    return text.size();
}

std::string FloatToStr(double value) {
    char buf[FloatTextMax];
    return std::string(buf, FormatFloat(value, buf));
}

std::string numbers_detail::FloatToStrGeneral(double value) {
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

std::optional<double> numbers_detail::StrToFloatGeneral(std::string_view text) {
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

std::optional<bool> numbers_detail::StrToBoolWords(std::string_view text) {
    const std::string_view s = trimBlanks(text);
    if (equalsNoCase(s, "true")) return true;
    if (equalsNoCase(s, "false")) return false;
    return std::nullopt;
}

std::int64_t numbers_detail::RoundHalfEvenGeneral(double value) {
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

}  // namespace tarvek
