#pragma once
// How a --dry-run diff reaches stdout: into a pipe or a file, its exact bytes (so that `git apply` and
// `patch -p1` take it); on a terminal, for reading: module lines decoded from Windows-1252 and without
// the CR of CR LF, and in colour unless --color or NO_COLOR say otherwise.

#include <string>
#include <string_view>

namespace vex::cli {

struct DiffLook {
    bool colour = false;    ///< ANSI colours: headers bold, hunk heads cyan, removed red, added green
    bool readable = false;  ///< module lines as UTF-8 text without CR
};

/// `color` is "auto", "always" or "never". "auto" colours on a terminal unless NO_COLOR is set to a
/// non-empty text; "always" colours even into a pipe (the bytes of the lines are still exact).
DiffLook ChooseLook(std::string_view color, bool terminal);

/// The diff of one file (as text::DiffTexts writes it) as `look` shows it.
std::string ShowDiff(std::string_view unified, const DiffLook& look);

}  // namespace vex::cli
