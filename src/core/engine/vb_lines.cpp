#include "engine/vb_lines.h"

#include <cstdint>

#include "errors/runtime_error.h"
#include "ide/code_module.h"
#include "text/cp1252.h"

namespace vex::engine {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Letters of the code page, accented ones included, as names may hold them.
bool IsNameStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= 0xC0 && u != 0xD7 && u != 0xF7);
}
bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c) || c == '_'; }
}  // namespace

bool EndsWithUnderscore(std::string_view line) {
    std::string_view t = text::RTrim(line);
    return !t.empty() && t.back() == '_';
}

bool StartsWithLabel(std::string_view line) {
    std::string_view t = text::LTrim(line);
    if (t.empty() || !IsNameStart(t[0])) return false;
    size_t i = 1;
    while (i < t.size() && IsNameChar(t[i])) ++i;
    return i < t.size() && t[i] == ':' && (i + 1 == t.size() || t[i + 1] != '=');
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
