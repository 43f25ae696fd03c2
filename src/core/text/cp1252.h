#pragma once
// Text rules of Windows-1252 code: case mapping, case-insensitive comparison, and conversion to and from
// UTF-8. Module text is kept as Windows-1252 bytes everywhere; exact comparisons are byte comparisons.

#include <string>
#include <string_view>

namespace vex::text {

/// Lower-cases one Windows-1252 byte (A-Z, and the accented capitals: É becomes é).
char LowerChar(char c);
/// Upper-cases one Windows-1252 byte.
char UpperChar(char c);

/// `s` lower-cased byte by byte with Windows-1252 rules.
std::string Lower(std::string_view s);

/// Equal when lower-cased with Windows-1252 rules.
bool IEquals(std::string_view a, std::string_view b);

/// True when `s` begins with `prefix`, compared without regard to case.
bool IStartsWith(std::string_view s, std::string_view prefix);

/// Position of the first occurrence of `needle` in `hay`, compared without regard to case; npos if none.
size_t IFind(std::string_view hay, std::string_view needle, size_t from = 0);

/// Converts Windows-1252 bytes to UTF-8. Bytes the code page leaves undefined map to the C1 control of
/// the same value, as Windows does, so every byte string converts and converts back unchanged.
std::string ToUtf8(std::string_view cp1252);

/// Converts UTF-8 text to Windows-1252. A character the code page cannot hold becomes "?" and `lossy`
/// (when given) is set. Invalid UTF-8 bytes are taken as Windows-1252 bytes as they stand.
std::string FromUtf8(std::string_view utf8, bool* lossy = nullptr);

/// Blanks (spaces only) removed at both ends / at the start / at the end, as VB's Trim, LTrim, RTrim.
std::string_view Trim(std::string_view s);
std::string_view LTrim(std::string_view s);
std::string_view RTrim(std::string_view s);

}  // namespace vex::text
