#include "ide/text_shape.h"

namespace vex::ide {
namespace {

std::string_view EndingName(std::string_view eol) { return eol == "\r\n" ? "CR LF" : eol == "\n" ? "LF" : "CR"; }

}  // namespace

std::vector<std::string> TextShapeWarnings(std::string_view bytes, std::string_view fileName) {
    std::vector<std::string> warnings;
    const std::string name(fileName);
    if (bytes.starts_with(kByteOrderMark))
        warnings.push_back(name + ": starts with a UTF-8 byte order mark, which VB6 does not write; kept as it is");
    // The first line whose ending differs from the first line's.
    std::string_view first;
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
