#include "cli/unified_diff.h"

#include <dtl/dtl.hpp>
#include <sstream>
#include <vector>

#include "text/cp1252.h"

namespace vex::cli {

namespace {

// Lines for display: split at LF, a CR before it dropped, converted to UTF-8. A lone CR stays inside
// its line, so a change of line ends alone still shows as a changed line.
std::vector<std::string> DisplayLines(std::string_view s) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < s.size()) {
        size_t lf = s.find('\n', start);
        size_t end = lf == std::string_view::npos ? s.size() : lf;
        size_t textEnd = (end > start && s[end - 1] == '\r' && lf != std::string_view::npos) ? end - 1 : end;
        lines.push_back(text::ToUtf8(s.substr(start, textEnd - start)));
        if (lf == std::string_view::npos) break;
        start = lf + 1;
    }
    return lines;
}

}  // namespace

TextDiff DiffTexts(std::string_view before, std::string_view after, std::string_view label) {
    TextDiff result;
    if (before == after) return result;
    auto a = DisplayLines(before);
    auto b = DisplayLines(after);
    dtl::Diff<std::string, std::vector<std::string>> diff(a, b);
    diff.compose();

    // Lines changed: each run of removals and additions counts as its larger side.
    long removed = 0, added = 0;
    for (const auto& [line, info] : diff.getSes().getSequence()) {
        if (info.type == dtl::SES_DELETE) {
            ++removed;
        } else if (info.type == dtl::SES_ADD) {
            ++added;
        } else {
            result.linesChanged += std::max(removed, added);
            removed = added = 0;
        }
    }
    result.linesChanged += std::max(removed, added);

    std::ostringstream out;
    // Relative names get git's a/ and b/ prefixes, so the diff applies with `patch -p1` or `git apply`.
    const bool relative = !label.empty() && label.front() != '/';
    out << "--- " << (relative ? "a/" : "") << label << "\n+++ " << (relative ? "b/" : "") << label << "\n";
    diff.composeUnifiedHunks();
    diff.printUnifiedFormat(out);
    result.unified = out.str();
    if (result.linesChanged == 0) result.linesChanged = 1;  // the texts differ in line ends only
    return result;
}

}  // namespace vex::cli
