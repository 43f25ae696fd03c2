#pragma once
// The host run time's numeric test and the conversions that option readers apply to stored text.
//
// Numeric text, as accepted here:
//   [blanks] [+ or -] digits [. digits] [exponent] [blanks]     with at least one digit before or after
//   the point (".5" and "5." are numbers); exponent is E or e, an optional sign and digits ("1E3");
//   blanks are spaces and tabs.
// The decimal separator is always ".", whatever the locale. Not accepted (though some BASIC run times do):
// thousands separators ("1,000"), currency signs, parentheses for negatives, a trailing sign, a blank between
// the sign and the digits, &H / &O prefixes, "True" / "False", "Inf" / "NaN", and the empty text.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vex::settings {

/// True when `text` is a number in the form above.
bool IsNumeric(std::string_view text);

/// The number `text` stands for, or nothing when it is not numeric (or beyond the range of a double).
std::optional<double> ParseNumber(std::string_view text);

/// Rounds `text` to the nearest whole number, halves to the even neighbour ("2.5" gives 2, "3.5" gives 4).
/// Throws RuntimeError 13 (type mismatch) when not numeric and 6 (overflow) when outside 16 bits.
int16_t ToInt16(std::string_view text);

/// As ToInt16, for the 32-bit range.
int32_t ToLong32(std::string_view text);

/// True when `text` is a number other than zero. Throws RuntimeError 13 when not numeric.
bool ToBoolean(std::string_view text);

}  // namespace vex::settings
