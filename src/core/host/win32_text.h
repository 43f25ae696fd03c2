#pragma once
// Windows only: UTF-8 to and from the UTF-16 of the wide-character API, and the text of an error code.

#include <string>
#include <string_view>

namespace vex::host::win32 {

/// UTF-16 of UTF-8 text (invalid bytes become U+FFFD).
std::wstring Wide(std::string_view utf8);

/// UTF-8 of UTF-16 text.
std::string Utf8(std::wstring_view wide);

/// The system's message for a GetLastError() code, in UTF-8, without the trailing line break.
std::string ErrorText(unsigned long code);

}  // namespace vex::host::win32
