#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tarvek {
namespace {

constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

// Rounded to 15 significant digits by the C library, independently of the code under
// test. Near DBL_MAX that rounding overflows; the largest 15-digit double stands in.
double RoundTo15Digits(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", x);
    const double r = std::strtod(buf, nullptr);
    if (std::isinf(r)) return std::copysign(1.79769313486231e308, x);
    return r;
}

TEST(IntegerText, WritesDecimal) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(kInt64Min), "-9223372036854775808");
    EXPECT_EQ(IntToStr(kInt64Max), "9223372036854775807");

    EXPECT_EQ(ColorToStr(-1), "4294967295");
    EXPECT_EQ(ColorToStr(0x00FF00), "65280");
    EXPECT_EQ(ColorToStr(static_cast<std::int32_t>(0xFF00000Fu)), "4278190095");
    EXPECT_EQ(ColorToStr(kInt32Min), "2147483648");
}

TEST(IntegerText, ParsesIntegers) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> int64;
        std::optional<std::int32_t> int32;
    };
    const std::vector<Case> cases = {
        {"0", 0, 0},
        {"-0", 0, 0},
        {"+7", 7, 7},
        {"007", 7, 7},
        {" \t-42\t ", -42, -42},
        {"2147483647", 2147483647, kInt32Max},
        {"-2147483648", -2147483648LL, kInt32Min},
        {"2147483648", 2147483648LL, std::nullopt},
        {"-2147483649", -2147483649LL, std::nullopt},
        {"9223372036854775807", kInt64Max, std::nullopt},
        {"-9223372036854775808", kInt64Min, std::nullopt},
        {"9223372036854775808", std::nullopt, std::nullopt},
        {"-9223372036854775809", std::nullopt, std::nullopt},
        {"99999999999999999999999", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"  ", std::nullopt, std::nullopt},
        {"+", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {"+-1", std::nullopt, std::nullopt},
        {"-+1", std::nullopt, std::nullopt},
        {"--1", std::nullopt, std::nullopt},
        {"- 1", std::nullopt, std::nullopt},
        {"1 2", std::nullopt, std::nullopt},
        {"12a", std::nullopt, std::nullopt},
        {"1.0", std::nullopt, std::nullopt},
        {"1e3", std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt},
        {"\n5", std::nullopt, std::nullopt},
        {"5\r", std::nullopt, std::nullopt},
        {"\xEF\xBC\x95", std::nullopt, std::nullopt},  // full-width digit five
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        EXPECT_EQ(StrToInt64(c.text), c.int64);
        EXPECT_EQ(StrToInt(c.text), c.int32);
    }
}

TEST(IntegerText, ParsesColorsKeepingLow32Bits) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> color;
    };
    const std::vector<Case> cases = {
        {"0", 0},
        {"65280", 0x00FF00},
        {"4294967295", -1},
        {"-1", -1},
        {"2147483648", kInt32Min},
        {"-2147483648", kInt32Min},
        {"4278190095", static_cast<std::int32_t>(0xFF00000Fu)},
        {" 255 ", 255},
        {"4294967296", 0},
        {"9223372036854775808", std::nullopt},
        {"red", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        EXPECT_EQ(StrToColor(c.text), c.color);
    }
    for (const std::int32_t color : {0, -1, 0x00FF00, kInt32Min, kInt32Max, 0x1FFFFFFF}) {
        SCOPED_TRACE(color);
        EXPECT_EQ(StrToColor(ColorToStr(color)), color);
    }
}

TEST(RealText, WritesGeneralFormatWith15Digits) {
    struct Case {
        double value;
        const char* text;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases = {
        {0.0, "0"},
        {-0.0, "0"},
        {nan, "0"},
        {inf, "0"},
        {-inf, "0"},
        {1.0, "1"},
        {1000.0, "1000"},
        {-12.5, "-12.5"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1 / 3.0, "0.333333333333333"},
        {2.0 / 3 * 1000, "666.666666666667"},
        {12345.678, "12345.678"},
        {100000000000000.0, "100000000000000"},
        {123456789012345.0, "123456789012345"},
        {999999999999999.0, "999999999999999"},
        // Rounding to 15 digits carries into a new digit and so into exponent form.
        {999999999999999.9, "1E15"},
        {1e15, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {-2.5e15, "-2.5E15"},
        {1e20, "1E20"},
        {1.5e20, "1.5E20"},
        {0.00001, "0.00001"},
        {0.0000123, "0.0000123"},
        {-0.00001, "-0.00001"},
        // Rounds up to 1E-5 and so stays in fixed notation.
        {0.0000099999999999999999, "0.00001"},
        {0.000001, "1E-6"},
        {1.5e-7, "1.5E-7"},
        {-1.25e-100, "-1.25E-100"},
        // 1.79769313486232E308 would be past the largest double and not read back.
        {std::numeric_limits<double>::max(), "1.79769313486231E308"},
        {-std::numeric_limits<double>::max(), "-1.79769313486231E308"},
        {1.7976931348623e308, "1.7976931348623E308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FloatToStr(c.value), c.text);
    }
}

TEST(RealText, ParsesDecimalAndExponentForms) {
    struct Case {
        const char* text;
        double value;
    };
    const std::vector<Case> cases = {
        {"0", 0.0},
        {"1", 1.0},
        {"-12.5", -12.5},
        {"+2.5", 2.5},
        {".5", 0.5},
        {"-.5", -0.5},
        {"5.", 5.0},
        {" \t0.1 \t", 0.1},
        {"1e5", 1e5},
        {"1E5", 1e5},
        {"1.5E-7", 1.5e-7},
        {"2.5e+3", 2500.0},
        {"-2.5E15", -2.5e15},
        {"1.79769313486231E308", 1.79769313486231e308},
        {"000123.4500", 123.45},
        {"4.94065645841247E-324", 4.94065645841247e-324},
        // Too small to hold: zero rather than an error.
        {"1E-400", 0.0},
        {"0.000000001e-320", 0.0},
        {"0e999999999999", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto v = StrToFloat(c.text);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, c.value);
    }
}

TEST(RealText, RejectsWhatIsNoFiniteNumber) {
    for (const char* text :
         {"", " ", "+", "-", ".", "-.", "e5", ".e5", "1e", "1e+", "1E-", "abc", "1,5", "1.2.3",
          "1..2", "--1", "+-1", "1 2", "1.5x", "nan", "NaN", "inf", "-inf", "infinity", "0x10",
          "1e5.5", "1E400", "-1E400", "1000000000000000000000e300", "1e99999999999999999999",
          "1.7976931348623159e308", "1.79769313486232E308"}) {
        SCOPED_TRACE(std::string("text \"") + text + "\"");
        EXPECT_EQ(StrToFloat(text), std::nullopt);
    }
}

TEST(RealText, WriteReadWriteIsStable) {
    std::vector<double> values = {
        0.0,   1.0,      -1.0,    0.1,      0.5,       1 / 3.0,         2 / 3.0,
        1e15,  1e-5,     1e-6,    9.99e-6,  123.456,   -98765.4321,     3.141592653589793,
        1e300, -1e-300,  6.02214076e23,     123456789012345.6,          0.30000000000000004,
        std::numeric_limits<double>::max(), 1.797693134862315e308,
        std::nextafter(1.797693134862315e308, 0.0), std::numeric_limits<double>::min(),
        std::numeric_limits<double>::denorm_min(),
    };
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 3000; ++i) values.push_back(mantissa(rng) * std::pow(10.0, exponent(rng)));
    // Any bit pattern at all that is a finite double.
    for (int i = 0; i < 3000; ++i) {
        const std::uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isfinite(d)) values.push_back(d);
    }

    for (const double x : values) {
        const std::string text = FloatToStr(x);
        SCOPED_TRACE(text);
        const auto back = StrToFloat(text);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, RoundTo15Digits(x));
        EXPECT_EQ(FloatToStr(*back), text);
    }
}

TEST(RealText, IgnoresTheUserLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            switched = true;
            break;
        }
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(FloatToStr(-12.5), "-12.5");
    EXPECT_EQ(FloatToStr(1.5e-7), "1.5E-7");
    EXPECT_EQ(StrToFloat("0.25"), 0.25);
    EXPECT_EQ(StrToFloat("0,25"), std::nullopt);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(FlagText, WritesAndParsesFlags) {
    EXPECT_EQ(BoolToStr(true), "-1");
    EXPECT_EQ(BoolToStr(false), "0");

    struct Case {
        const char* text;
        std::optional<bool> value;
    };
    const std::vector<Case> cases = {
        {"-1", true},      {"0", false},      {"1", true},         {"+2", true},
        {" 0 ", false},    {"-0", false},     {"True", true},      {"TRUE", true},
        {"false", false},  {" FaLsE\t", false}, {"yes", std::nullopt}, {"t", std::nullopt},
        {"", std::nullopt}, {"1.0", std::nullopt}, {"truex", std::nullopt},
        {"99999999999999999999", std::nullopt},
        // Flags are integer fields: the same 32-bit bound as every other.
        {"2147483647", true}, {"-2147483648", true}, {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt}, {"4294967296", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        EXPECT_EQ(StrToBool(c.text), c.value);
    }
}

TEST(Rounding, HalvesGoToEven) {
    struct Case {
        double value;
        std::int64_t rounded;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases = {
        {0.0, 0},
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999999, 2},
        {2.5000001, 3},
        {-2.5000001, -3},
        {0.49999999999999994, 0},           // largest double below 0.5: floor(x + 0.5) gets 1
        {4503599627370497.0, 4503599627370497},  // 2^52 + 1: x + 0.5 is not exact
        {9007199254740993.0, 9007199254740992},  // not representable, already integral
        {9223372036854774784.0, 9223372036854774784},  // largest double below 2^63
        {9223372036854775808.0, kInt64Max},
        {-9223372036854775808.0, kInt64Min},
        {1e300, kInt64Max},
        {-1e300, kInt64Min},
        {inf, kInt64Max},
        {-inf, kInt64Min},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded);
    }
}

// The rule as first written (floor, the fraction, the parity by fmod): every value must
// round as it does, the short path for small magnitudes included.
std::int64_t RoundByFloorAndFmod(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 9223372036854775808.0;
    if (value >= kLimit) return kInt64Max;
    if (value < -kLimit) return kInt64Min;
    double r = std::floor(value);
    const double frac = value - r;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0)) r += 1.0;
    if (r >= kLimit) return kInt64Max;
    return static_cast<std::int64_t>(r);
}

TEST(Rounding, EveryValueRoundsAsTheFloorRuleDoes) {
    std::mt19937_64 gen(7);
    std::vector<double> values = {-0.0, 0.5, -0.5, 0.49999999999999994, -0.49999999999999994,
                                  -0.5 + 0x1p-54, 0.5 + 0x1p-53, 4503599627370495.5, -4503599627370495.5,
                                  4503599627370496.0, -4503599627370496.0, 0x1p-1074, -0x1p-1074};
    for (int k = 0; k < 200000; ++k) {
        const std::uint64_t bits = gen();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        values.push_back(d);
        // Pixel-sized values, halves and near-halves among them.
        const double units = static_cast<double>(static_cast<std::int64_t>(gen() % 2000001) - 1000000);
        values.push_back(units * 20 / 1000.0);
        values.push_back(units / 2 + (k % 3 - 1) * 1e-12);
        values.push_back(std::ldexp(static_cast<double>(gen() >> 11), static_cast<int>(gen() % 70) - 60));
    }
    for (const double v : values) ASSERT_EQ(RoundHalfEven(v), RoundByFloorAndFmod(v)) << v;
}

TEST(NumberReading, WrittenNumbersReadAsTheLibraryReadsThem) {
    // What the files hold: reals as FloatToStr writes them, integers and colours; the
    // value must be the correctly rounded one from_chars gives.
    std::mt19937_64 gen(11);
    for (int k = 0; k < 200000; ++k) {
        const double x = static_cast<double>(static_cast<std::int64_t>(gen() % 2000000000001) - 1000000000000) /
                         static_cast<double>(std::int64_t{1} << (gen() % 40));
        for (const std::string& text : {FloatToStr(x), FloatToStr(x / 1000), std::to_string(gen() % 100000) + "." +
                                                                                 std::to_string(gen() % 1000000)}) {
            double expected = 0;
            const char* b = text.data() + (text[0] == '-' ? 1 : 0);
            const auto r = std::from_chars(b, text.data() + text.size(), expected);
            ASSERT_EQ(r.ptr, text.data() + text.size()) << text;
            if (text[0] == '-') expected = -expected;
            const auto got = StrToFloat(text);
            ASSERT_TRUE(got.has_value()) << text;
            ASSERT_EQ(std::signbit(*got), std::signbit(expected)) << text;
            ASSERT_EQ(*got, expected) << text;
        }
        const std::int64_t i = static_cast<std::int64_t>(gen()) >> (gen() % 64);
        const std::string digits = IntToStr(i);
        ASSERT_EQ(StrToInt64(digits), i) << digits;
        ASSERT_EQ(StrToInt64("00" + IntToStr(i < 0 ? -(i / 2) : i / 2)), i < 0 ? -(i / 2) : i / 2);
    }
    EXPECT_EQ(StrToFloat("-0"), -0.0);
    EXPECT_TRUE(std::signbit(*StrToFloat("-0")));
    EXPECT_TRUE(std::signbit(*StrToFloat("-0.000")));
    EXPECT_EQ(StrToFloat("5."), 5.0);  // the long way decides forms the short one leaves
    EXPECT_EQ(StrToFloat("."), std::nullopt);
    EXPECT_EQ(StrToFloat("-"), std::nullopt);
    EXPECT_EQ(StrToFloat("1.2.3"), std::nullopt);
    EXPECT_EQ(StrToFloat("1234567890123456789"), 1234567890123456789.0);
    EXPECT_EQ(StrToInt("-"), std::nullopt);
    EXPECT_EQ(StrToInt("2147483648"), std::nullopt);
    EXPECT_EQ(StrToInt("-2147483648"), kInt32Min);
    EXPECT_EQ(StrToInt64("9223372036854775807"), kInt64Max);
    EXPECT_EQ(StrToInt64("9223372036854775808"), std::nullopt);
}

TEST(NumberWriting, ShortFormsAreTheGeneralFifteenDigitForms) {
    // Reals of drawings (thousandths) take a short way; the text must be the one the
    // 15-digit rounding of the C++ library gives.
    std::mt19937_64 gen(5);
    std::vector<double> values = {1e-5, 9.99999e-6, 1e15, 999999999999999.0, 99999999999999.95, 0.1, 0.2, 0.3,
                                  1.0 / 3, 2.0 / 3, 123456.789, -123456.789, 1e-5 * 3, 5e-324, 1.5e300, 0.000123,
                                  4503599627370497.0, 12345678901234.5, 1234567890123.45, 999999999999999.9,
                                  -999999999999999.9, 0.0001, 0.00009999999999999999, 14344.678000000001};
    for (int k = 0; k < 300000; ++k) {
        const auto units = static_cast<std::int64_t>(gen() % 2000000000001) - 1000000000000;
        values.push_back(static_cast<double>(units) / 1000);
        // Sums of thousandths, and values a few units in the last place off one.
        values.push_back(static_cast<double>(units) / 1000 + static_cast<double>(gen() % 3000000) / 1000);
        double near = static_cast<double>(units) / 1000;
        for (std::uint64_t steps = gen() % 8; steps > 0; --steps) near = std::nextafter(near, gen() % 2 ? 1e300 : -1e300);
        values.push_back(near);
        values.push_back(static_cast<double>(units) / static_cast<double>(std::int64_t{1} << (gen() % 50)));
        values.push_back(static_cast<double>(units % 100000) * std::pow(10.0, static_cast<int>(gen() % 30) - 15));
        std::uint64_t bits = gen();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        values.push_back(d);
    }
    for (const double v : values) {
        ASSERT_EQ(FloatToStr(v), numbers_detail::FloatToStrGeneral(v)) << v;
        char buf[FloatTextMax];
        ASSERT_EQ(std::string(buf, FormatFloat(v, buf)), FloatToStr(v));
    }
}

TEST(NumberWriting, IntegersAreTheLibrarysDecimalText) {
    std::mt19937_64 gen(7);
    std::vector<std::int64_t> values = {0, 9, 10, 99, 100, -1, -10, -99, -100, 4294967295, kInt64Max, kInt64Min};
    for (int k = 0; k < 100000; ++k) values.push_back(static_cast<std::int64_t>(gen()) >> (gen() % 64));
    for (const std::int64_t v : values) {
        char buf[IntegerTextMax];
        ASSERT_EQ(std::string(buf, FormatInteger(v, buf)), std::to_string(v));
        ASSERT_EQ(IntToStr(v), std::to_string(v));
    }
}

TEST(Rounding, DoesNotFollowTheFpuRoundingMode) {
    const int saved = std::fegetround();
    for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(std::fesetround(mode), 0);
        EXPECT_EQ(RoundHalfEven(2.5), 2);
        EXPECT_EQ(RoundHalfEven(-1.5), -2);
        EXPECT_EQ(RoundHalfEven(1.4), 1);
        EXPECT_EQ(RoundHalfEven(-1.6), -2);
    }
    std::fesetround(saved);
}

TEST(Rounding, Int32Saturates) {
    struct Case {
        double value;
        std::int32_t rounded;
    };
    const std::vector<Case> cases = {
        {2.5, 2},
        {-3.5, -4},
        {2147483646.5, 2147483646},
        {2147483647.4, kInt32Max},
        {2147483647.5, kInt32Max},  // rounds to 2^31, one past the end
        {-2147483648.5, kInt32Min},
        {-2147483649.0, kInt32Min},
        {1e10, kInt32Max},
        {-1e300, kInt32Min},
        {std::numeric_limits<double>::infinity(), kInt32Max},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundToInt32(c.value), c.rounded);
    }
}

}  // namespace
}  // namespace tarvek
