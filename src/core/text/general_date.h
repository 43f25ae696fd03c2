#pragma once
// The host's "general date" text of a moment: the user's short date and long time, to the second, in local
// time. Used for the section names of the error log and for the heads of result logs.
//
// The format comes from the environment's time locale (LC_ALL, else LC_TIME, else LANG), as a program on
// this platform expects: "%x %X" of that locale, e.g. "12/06/2026 14:05:09" under en_US, "06/12/2026
// 14:05:09" under fr_FR, "06.12.2026 14:05:09" under de_DE. Under the C or POSIX locale, or when the named
// locale is not installed, it is "dd/mm/yyyy hh:mm:ss" with 24-hour time, which reads the same way in most
// of the world (the C locale's own "%x" would give a two-digit year). The text is UTF-8 under a UTF-8
// locale.

#include <chrono>
#include <string>

namespace vex::text {

/// `when` as local date and time in the environment's format (see above).
std::string GeneralDate(std::chrono::system_clock::time_point when);

}  // namespace vex::text
