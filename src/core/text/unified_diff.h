#pragma once
// A unified diff of two versions of a source file, for --dry-run and the IDE's diff view: byte-exact, so that it applies with
// `git apply` and `patch -p1`, and computed in about linear time.

#include <string>
#include <string_view>

namespace vex::text {

struct TextDiff {
    /// "--- a/LABEL", "+++ b/LABEL" and the hunks, grouped as `diff -u` groups them (three lines of
    /// context, touching hunks merged). Each line keeps the file's own bytes and line end (CR LF stays
    /// CR LF, Windows-1252 stays Windows-1252); a last line without a line break is followed by
    /// "\ No newline at end of file". A label holding a blank is followed by a tab, as git writes it.
    /// Empty when the texts are equal.
    std::string unified;
    long linesChanged = 0;  ///< per run of changes the larger of lines removed and lines added, summed
};

/// Compares two module texts line by line; `label` names the file (relative names get a/ and b/).
TextDiff DiffTexts(std::string_view before, std::string_view after, std::string_view label);

/// DiffTexts(before, after, ...).linesChanged, without writing the diff.
long ChangedLineCount(std::string_view before, std::string_view after);

}  // namespace vex::text
