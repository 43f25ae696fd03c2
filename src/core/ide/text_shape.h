#pragma once
// What a source file's bytes may hold that VB6 does not write but that the tools keep as they are: a
// UTF-8 byte order mark, and line endings of more than one kind.

#include <string>
#include <string_view>
#include <vector>

namespace vex::ide {

/// The UTF-8 byte order mark.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

/// One warning per such thing found in `bytes`, each naming `fileName` (and the line where one applies):
/// "modA.bas: starts with a UTF-8 byte order mark ...", "modA.bas:12: line ends in LF where line 1 ends in
/// CR LF ...". Empty for a file as VB6 writes it.
std::vector<std::string> TextShapeWarnings(std::string_view bytes, std::string_view fileName);

}  // namespace vex::ide
