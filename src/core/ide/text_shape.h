#pragma once
// What a source file's bytes may hold that VB6 does not write but that the tools keep as they are: a
// UTF-8 byte order mark, and line endings of more than one kind.

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace vex::ide {

/// The UTF-8 byte order mark.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

/// Calls `line(text, eol)` for each physical line of `bytes`, in order, until it returns false. A line
/// ends at CR LF, a lone CR or a lone LF (`eol`); a last line without a break has an empty `eol`, and
/// bytes that end in a break have no empty line after it. Searches with memchr, one pass in all.
template <class Line>
void ForEachPhysicalLine(std::string_view bytes, Line line) {
    const char* p = bytes.data();
    const size_t n = bytes.size();
    size_t start = 0;
    while (start < n) {
        // The lines up to the next LF: lone CRs (rare) split it further.
        const void* lf = std::memchr(p + start, '\n', n - start);
        const size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - p) : n;
        while (const void* cr = std::memchr(p + start, '\r', end - start)) {
            const size_t at = static_cast<size_t>(static_cast<const char*>(cr) - p);
            if (lf && at + 1 == end) break;  // the CR of CR LF
            if (!line(bytes.substr(start, at - start), bytes.substr(at, 1))) return;
            start = at + 1;
        }
        if (!lf) {
            if (start < n) line(bytes.substr(start), std::string_view());
            return;
        }
        const bool crlf = end > start && p[end - 1] == '\r';
        const size_t textEnd = crlf ? end - 1 : end;
        if (!line(bytes.substr(start, textEnd - start), bytes.substr(textEnd, end + 1 - textEnd))) return;
        start = end + 1;
    }
}

/// One warning per such thing found in `bytes`, each naming `fileName` (and the line where one applies):
/// "modA.bas: starts with a UTF-8 byte order mark ...", "modA.bas:12: line ends in LF where line 1 ends in
/// CR LF ...". Empty for a file as VB6 writes it.
std::vector<std::string> TextShapeWarnings(std::string_view bytes, std::string_view fileName);

}  // namespace vex::ide
