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
std::optional<std::int32_t> StrToInt(std::string_view text);
// The same without the 32-bit bound; for colours only (below), never for a file's field.
std::optional<std::int64_t> StrToInt64(std::string_view text);

// A 64-bit decimal keeping only its low 32 bits (colours written unsigned).
std::optional<std::int32_t> StrToColor(std::string_view text);

// General format with up to 15 significant digits and "." as separator: integral
// values without a fraction, exponent form ("1.5E20", "1E-6") only for very large
// or small magnitudes. A value that is not finite is written as "0", so that a file
// written is always a file that reads back.
std::string FloatToStr(double value);

// Reads what FloatToStr writes, plus the usual decimal and exponent forms ("1e5",
// "+2.5", ".5"). Not finite or not a number: nullopt.
std::optional<double> StrToFloat(std::string_view text);

// Flags are written "-1" (true) and "0" (false).
std::string BoolToStr(bool value);

// Any 32-bit integer (non-zero = true) or the words "True" / "False" in any case.
std::optional<bool> StrToBool(std::string_view text);

// Every conversion of a real to whole pixels or history integers: nearest, halves to even.
std::int64_t RoundHalfEven(double value);
// The same, saturated to the int32 range (pixel coordinates of huge zooms stay defined).
std::int32_t RoundToInt32(double value);

}  // namespace tarvek
