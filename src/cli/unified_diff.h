#pragma once
// A unified diff of two versions of a source file, for --dry-run.

#include <string>
#include <string_view>

namespace vex::cli {

struct TextDiff {
    std::string unified;    ///< "--- a/LABEL", "+++ b/LABEL" and the hunks (UTF-8, LF line ends); empty when equal
    long linesChanged = 0;  ///< per hunk the larger of lines removed and lines added, summed
};

/// Compares two module texts (Windows-1252 bytes, any line ends) line by line; `label` names the file.
TextDiff DiffTexts(std::string_view before, std::string_view after, std::string_view label);

}  // namespace vex::cli
