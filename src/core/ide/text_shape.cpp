#include "ide/text_shape.h"

#include <cstring>

namespace vex::ide {
namespace {

std::string_view EndingName(std::string_view eol) { return eol == "\r\n" ? "CR LF" : eol == "\n" ? "LF" : "CR"; }

// True when every line break of `bytes` is `first`, the first line's: the usual file, told at many bytes
// a step rather than line by line.
bool EveryBreakIs(std::string_view bytes, std::string_view first) {
    const size_t n = bytes.size();
    if (first == "\n") return !std::memchr(bytes.data(), '\r', n);
    if (first == "\r") return !std::memchr(bytes.data(), '\n', n);
    // CR LF throughout: each CR is followed by an LF, and each LF follows a CR.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (n == 0 || p[0] == '\n' || p[n - 1] == '\r') return false;
    auto unpaired = [p](size_t k) { return (p[k] == '\r') != (p[k + 1] == '\n'); };
    // In blocks of a fixed size, which the compiler turns into vector code; a block's count fits a byte.
    constexpr size_t kBlock = 128;
    size_t k = 0;
    for (; k + kBlock < n; k += kBlock) {
        unsigned char found = 0;
        for (size_t j = 0; j < kBlock; ++j) found += unpaired(k + j);
        if (found) return false;
    }
    for (; k + 1 < n; ++k)
        if (unpaired(k)) return false;
    return true;
}

}  // namespace

std::vector<std::string> TextShapeWarnings(std::string_view bytes, std::string_view fileName) {
    std::vector<std::string> warnings;
    const std::string name(fileName);
    if (bytes.starts_with(kByteOrderMark))
        warnings.push_back(name + ": starts with a UTF-8 byte order mark, which VB6 does not write; kept as it is");
    // The first line whose ending differs from the first line's, looked for only when there is one.
    std::string_view first;
    ForEachPhysicalLine(bytes, [&](std::string_view, std::string_view eol) {
        first = eol;
        return false;
    });
    if (first.empty() || EveryBreakIs(bytes, first)) return warnings;
    first = {};
    long line = 0;
    ForEachPhysicalLine(bytes, [&](std::string_view, std::string_view eol) {
        ++line;
        if (eol.empty()) return false;
        if (first.empty()) {
            first = eol;
        } else if (eol != first) {
            warnings.push_back(name + ":" + std::to_string(line) + ": line ends in " + std::string(EndingName(eol)) +
                               " where line 1 ends in " + std::string(EndingName(first)) +
                               "; each line keeps its own ending");
            return false;
        }
        return true;
    });
    return warnings;
}

}  // namespace vex::ide
