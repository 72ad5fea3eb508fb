// Number <-> text conversions of the data files. Locale-independent on purpose: the
// files are read on other machines and by the ledger, whatever the user's settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvek {

std::string IntToStr(std::int64_t value);

// Colours are kept as signed 32-bit TColor values and written as the unsigned
// decimal of the same 32 bits.
std::string ColorToStr(std::int32_t color);

// Signed decimal with an optional sign; blanks around the number are allowed.
// Out of the int32 range or not a number: nullopt. This is the one reader of every
// integer field of every file (flags included), so that a value is taken or refused
// alike wherever it stands.
inline std::optional<std::int32_t> StrToInt(std::string_view text);
// The same without the 32-bit bound; for colours only (below), never for a file's field.
inline std::optional<std::int64_t> StrToInt64(std::string_view text);

// A 64-bit decimal keeping only its low 32 bits (colours written unsigned).
inline std::optional<std::int32_t> StrToColor(std::string_view text);

// General format with up to 15 significant digits and "." as separator: integral
// values without a fraction, exponent form ("1.5E20", "1E-6") only for very large
// or small magnitudes. A value that is not finite is written as "0", so that a file
// written is always a file that reads back.
std::string FloatToStr(double value);
// IntToStr's text into out, which holds at least IntegerTextMax bytes (any of which
// may be written, past the text too); returns its length.
constexpr std::size_t IntegerTextMax = 25;
std::size_t FormatInteger(std::int64_t value, char* out);

// The same text into out, which holds at least FloatTextMax bytes (any of which may be
// written, past the text too); returns its length.
constexpr std::size_t FloatTextMax = 32;
std::size_t FormatFloat(double value, char* out);

// Reads what FloatToStr writes, plus the usual decimal and exponent forms ("1e5",
// "+2.5", ".5"). Not finite or not a number: nullopt.
inline std::optional<double> StrToFloat(std::string_view text);

// Flags are written "-1" (true) and "0" (false).
std::string BoolToStr(bool value);

// Any 32-bit integer (non-zero = true) or the words "True" / "False" in any case.
inline std::optional<bool> StrToBool(std::string_view text);

// Every conversion of a real to whole pixels or history integers: nearest, halves to even.
inline std::int64_t RoundHalfEven(double value);
// The same, saturated to the int32 range (pixel coordinates of huge zooms stay defined).
inline std::int32_t RoundToInt32(double value);

// ---- Readers: the forms every file writes are read inline (a drawing holds some
// 750000 numbers); anything else takes the general path, with the same results.

namespace numbers_detail {

std::optional<std::int64_t> StrToInt64General(std::string_view text);
std::optional<double> StrToFloatGeneral(std::string_view text);
std::optional<bool> StrToBoolWords(std::string_view text);
// FloatToStr by the C++ library's 15-digit rounding, for every value.
std::string FloatToStrGeneral(double value);
// RoundHalfEven for every value, the largest and the non-finite ones included.
std::int64_t RoundHalfEvenGeneral(double value);

// "[-]digits", at most 18 digits (which never overflow).
inline bool PlainInt(std::string_view s, std::int64_t& out) {
    const bool negative = !s.empty() && s.front() == '-';
    const std::size_t first = negative ? 1 : 0;
    const std::size_t digits = s.size() - first;
    if (digits == 0 || digits > 18) return false;
    std::int64_t v = 0;
    for (std::size_t i = first; i < s.size(); ++i) {
        const unsigned d = static_cast<unsigned char>(s[i]) - unsigned('0');
        if (d > 9) return false;
        v = v * 10 + d;
    }
    out = negative ? -v : v;
    return true;
}

// Exact powers of ten: every one up to 1e22 is a double.
inline constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// "[-]digits[.digits]" with at most 15 digits, as FloatToStr writes reals: the digits
// form an integer m below 2^53, and m / 10^k is one division of two exact doubles, so
// correctly rounded: the value from_chars gives.
inline bool PlainReal(std::string_view s, double& out) {
    const bool negative = !s.empty() && s.front() == '-';
    std::size_t i = negative ? 1 : 0;
    std::uint64_t m = 0;
    int digits = 0, fraction = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        const unsigned d = static_cast<unsigned char>(c) - unsigned('0');
        if (d <= 9) {
            if (++digits > 15) return false;
            m = m * 10 + d;
            fraction += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    // "5." and "." go the general way, which decides what they mean.
    if (digits == 0 || (point && fraction == 0)) return false;
    const double v = static_cast<double>(m) / ExactPowersOfTen[fraction];
    out = negative ? -v : v;
    return true;
}

}  // namespace numbers_detail

inline std::optional<std::int64_t> StrToInt64(std::string_view text) {
    if (std::int64_t v; numbers_detail::PlainInt(text, v)) return v;
    return numbers_detail::StrToInt64General(text);
}

inline std::optional<std::int32_t> StrToInt(std::string_view text) {
    const auto v = StrToInt64(text);
    if (!v || *v < -2147483648LL || *v > 2147483647LL) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

inline std::optional<std::int32_t> StrToColor(std::string_view text) {
    const auto v = StrToInt64(text);
    if (!v) return std::nullopt;
    // Two's complement wrap (defined since C++20): "4294967295" is clNone, -1.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*v));
}

inline std::optional<double> StrToFloat(std::string_view text) {
    if (double v; numbers_detail::PlainReal(text, v)) return v;
    return numbers_detail::StrToFloatGeneral(text);
}

// Below 2^52 in magnitude the truncation is exact and gives floor(value) in one step,
// without a library call; the fraction and the decision are then the general path's.
// Every pixel of a paint goes through here.
inline std::int64_t RoundHalfEven(double value) {
    constexpr double fast = 4503599627370496.0;  // 2^52; false for NaN
    if (!(value > -fast && value < fast)) return numbers_detail::RoundHalfEvenGeneral(value);
    auto r = static_cast<std::int64_t>(value);
    double floored = static_cast<double>(r);
    if (floored > value) {
        --r;
        floored -= 1.0;
    }
    const double frac = value - floored;
    if (frac > 0.5 || (frac == 0.5 && (r & 1) != 0)) ++r;
    return r;
}

inline std::int32_t RoundToInt32(double value) {
    const std::int64_t v = RoundHalfEven(value);
    if (v < -2147483648LL) return -2147483647 - 1;
    if (v > 2147483647LL) return 2147483647;
    return static_cast<std::int32_t>(v);
}

inline std::optional<bool> StrToBool(std::string_view text) {
    if (const auto v = StrToInt(text)) return *v != 0;
    return numbers_detail::StrToBoolWords(text);
}

}  // namespace tarvek
