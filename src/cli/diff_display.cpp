#include "cli/diff_display.h"

#include <cstdlib>

#include "text/cp1252.h"

namespace vex::cli {
namespace {

constexpr std::string_view kBold = "\x1b[1m", kCyan = "\x1b[36m", kRed = "\x1b[31m", kGreen = "\x1b[32m",
                           kReset = "\x1b[m";

std::string_view ColourOf(std::string_view line, bool header) {
    if (header) return kBold;
    switch (line.empty() ? ' ' : line.front()) {
        case '@': return kCyan;
        case '-': return kRed;
        case '+': return kGreen;
        default: return {};
    }
}

}  // namespace

DiffLook ChooseLook(std::string_view color, bool terminal) {
    const char* noColor = std::getenv("NO_COLOR");
    const bool refused = noColor && *noColor;
    return {color == "always" || (color == "auto" && terminal && !refused), terminal};
}

std::string ShowDiff(std::string_view unified, const DiffLook& look) {
    if (!look.colour && !look.readable) return std::string(unified);
    std::string out;
    out.reserve(unified.size() + unified.size() / 8);
    size_t start = 0;
    for (int index = 0; start < unified.size(); ++index) {
        size_t end = unified.find('\n', start);
        end = end == std::string_view::npos ? unified.size() : end + 1;
        std::string_view line = unified.substr(start, end - start);
        start = end;
        // The line's own end, kept apart so that the colour stops before it.
        size_t body = line.size();
        if (body > 0 && line[body - 1] == '\n') --body;
        if (body > 0 && line[body - 1] == '\r') --body;
        std::string_view ending = line.substr(body);
        line = line.substr(0, body);
        const bool header = index < 2;  // "--- a/..." and "+++ b/...": paths, already UTF-8
        const std::string_view colour = look.colour ? ColourOf(line, header) : std::string_view{};
        out += colour;
        if (look.readable && !header && !line.empty() && line.front() != '@')
            out += text::ToUtf8(line);
        else
            out += line;
        if (!colour.empty()) out += kReset;
        out += look.readable && ending == "\r\n" ? std::string_view("\n") : ending;
    }
    return out;
}

}  // namespace vex::cli
