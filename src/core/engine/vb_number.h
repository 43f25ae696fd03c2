#pragma once
// The run time's number rules for text: the numeric test and the conversions of stored options.

#include <cstdint>
#include <string_view>

namespace vex::engine {

/// True when the text converts to a number as a whole: blanks around it, a sign, digits with an
/// optional decimal point and exponent (E or D), or &H / &O notation.
bool IsNumeric(std::string_view s);

/// The text as a 32-bit whole number, rounded to the nearest, halves to the even neighbour.
/// errors::RuntimeError 13 "Type mismatch" when not numeric, errors::Overflow when out of range.
int32_t ToLong(std::string_view s);

/// The text as a Boolean: true when numeric and not zero. Error 13 when not numeric.
bool ToBoolean(std::string_view s);

}  // namespace vex::engine
