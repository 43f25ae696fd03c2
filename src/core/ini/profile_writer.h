#pragma once
// Writing one "key=value" into an INI file the way the Windows profile writer does: the key is replaced in
// place when its section holds it, added at the end of the section otherwise, and the section is added at
// the end of the file when missing. Every other line stays byte for byte as it was, so values that an INI
// reader would trim (a trailing blank) survive later writes. Section and key names compare without regard
// to case (Windows-1252 rules) and to blanks around them. Names and values are written as given: callers
// keep line breaks out of them.

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vex::ini {

/// `text` with each (key, value) of `entries` written into `section`, in order.
std::string SetProfileStrings(std::string_view text, std::string_view section,
                              const std::vector<std::pair<std::string, std::string>>& entries);

/// The same on a file, under its lock, written atomically; a missing file is created (its directory must
/// exist). Throws RuntimeError naming the file on failure.
void WriteProfileStrings(const std::filesystem::path& file, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& entries);

}  // namespace vex::ini
