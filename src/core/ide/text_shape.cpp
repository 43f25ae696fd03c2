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
    long line = 1;
    for (size_t at = 0; at < bytes.size(); ++line) {
        // A plain loop: find_first_of would search its set of two for every byte.
        size_t i = at;
        while (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') ++i;
        if (i == bytes.size()) break;
        const size_t len = (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        const std::string_view eol = bytes.substr(i, len);
        if (first.empty()) {
            first = eol;
        } else if (eol != first) {
            warnings.push_back(name + ":" + std::to_string(line) + ": line ends in " + std::string(EndingName(eol)) +
                               " where line 1 ends in " + std::string(EndingName(first)) +
                               "; each line keeps its own ending");
            break;
        }
        at = i + len;
    }
    return warnings;
}

}  // namespace vex::ide
