#pragma once
// The process's arguments and standard streams as the command line needs them on each platform.

#include <string>
#include <string_view>
#include <vector>

namespace vex::cli {

/// Prepares std::cout and std::cerr and returns the arguments as UTF-8 text.
/// On Windows the arguments are read from the wide command line (names in any script survive), output is
/// written byte for byte when redirected (no CRLF translation, so a diff stays exact), and text shown on
/// a console is converted to the console's code page. Elsewhere the arguments are passed through as they are.
std::vector<std::string> StartConsole(int argc, char** argv);

/// True when the process's stdout (stderr) is a terminal that understands the ANSI escapes of colour
/// and line erasing.
bool StdoutIsTerminal();
bool StderrIsTerminal();

/// Windows only: the text a console shows for `bytes` written to it, line by line: UTF-8 where a line is
/// valid UTF-8 (messages), else Windows-1252 (module code in a diff).
std::wstring ConsoleText(std::string_view bytes);

}  // namespace vex::cli
