#include "engine/vb_lines.h"

#include <cstdint>

#include "errors/runtime_error.h"
#include "ide/code_module.h"
#include "ide/vb_syntax.h"
#include "text/cp1252.h"

namespace vex::engine {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool EndsWithUnderscore(std::string_view line) {
    std::string_view t = text::RTrim(line);
    return !t.empty() && t.back() == '_';
}

bool StartsWithLabel(std::string_view line) {
    // A leading name and colon; a leading number is a line number, not a label.
    const std::string_view t = text::LTrim(line);
    return !t.empty() && !IsDigit(t[0]) && !ide::syntax::LeadingLabel(line).empty();
}

bool IsDirective(std::string_view line) {
    std::string_view t = text::LTrim(line);
    return !t.empty() && t[0] == '#';
}

std::string LeadingNumber(std::string_view line) {
    size_t end = 0;
    while (end < line.size() && IsDigit(line[end])) ++end;
    if (end == 0) return {};
    size_t start = 0;
    while (start + 1 < end && line[start] == '0') ++start;
    return std::string(line.substr(start, end - start));
}

long CountOfLines16(const ide::CodeModule& code) {
    const long count = code.CountOfLines();
    if (count > INT16_MAX) throw errors::Overflow();
    return count;
}

}  // namespace vex::engine
