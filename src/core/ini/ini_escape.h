#pragma once
// The escapes that let any text survive an INI line. An INI reader trims blanks around keys and values,
// ends a value at the first CR or LF, stops a C string at NUL, splits a key at "=" and takes a line that
// starts with "[", ";" or "#" for a section or a comment. Values and names are therefore written with
// these escapes:
//
//   \\  backslash          \r  carriage return      \n  line feed      \t  tab
//   \s  blank (written only for blanks at either end, so inner blanks stay readable)
//   \xHH any other byte below 0x20, DEL, and in names also = [ ] ; # /
//
// Every other byte (UTF-8 included) is written as it stands. Reading back, a backslash that does not
// begin one of these escapes is kept as a plain backslash, so a hand-edited "C:\Work" reads as typed.

#include <string>
#include <string_view>

namespace vex::ini {

/// `value` as it is written after "key=".
std::string EscapeValue(std::string_view value);

/// A section or key name as it is written in the file.
std::string EscapeName(std::string_view name);

/// The text an escaped value or name stands for. Unescape(Escape(x)) == x for every x.
std::string Unescape(std::string_view escaped);

}  // namespace vex::ini
