#include "ini/profile_writer.h"

#include "ini/locked_file.h"
#include "util/file_io.h"
#include "text/cp1252.h"

namespace vex::ini {
namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// Lines with their own line ends, so that untouched lines are written back exactly.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// The name of a "[name]" line, or nothing.
bool SectionOf(std::string_view line, std::string_view& name) {
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[') return false;
    const size_t close = line.find(']');
    if (close == std::string_view::npos) return false;
    name = TrimBlanks(line.substr(1, close - 1));
    return true;
}

bool HoldsKey(std::string_view line, std::string_view key) {
    const size_t eq = line.find('=');
    return eq != std::string_view::npos && text::IEquals(TrimBlanks(line.substr(0, eq)), key);
}

void SetOne(std::vector<std::string>& lines, std::string_view section, std::string_view key,
            std::string_view value) {
    const std::string entry = std::string(key) + "=" + std::string(value) + "\n";
    size_t i = 0;
    std::string_view name;
    for (; i < lines.size(); ++i)
        if (SectionOf(lines[i], name) && text::IEquals(name, section)) break;

    if (i == lines.size()) {
        if (!lines.empty() && lines.back().back() != '\n') lines.back() += '\n';
        if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back("\n");
        lines.push_back("[" + std::string(section) + "]\n");
        lines.push_back(entry);
        return;
    }
    size_t lastEntry = i;  // the header, or the last non-blank line of the section
    for (size_t j = i + 1; j < lines.size() && !SectionOf(lines[j], name); ++j) {
        if (HoldsKey(lines[j], key)) {
            const bool crlf = lines[j].size() >= 2 && lines[j][lines[j].size() - 2] == '\r';
            lines[j] = entry;
            if (crlf) lines[j].insert(lines[j].size() - 1, "\r");
            return;
        }
        if (!TrimBlanks(lines[j]).empty()) lastEntry = j;
    }
    if (lines[lastEntry].back() != '\n') lines[lastEntry] += '\n';
    lines.insert(lines.begin() + static_cast<long>(lastEntry) + 1, entry);
}

}  // namespace

std::string SetProfileStrings(std::string_view text, std::string_view section,
                              const std::vector<std::pair<std::string, std::string>>& entries) {
    std::vector<std::string> lines = SplitLines(text);
    for (const auto& [key, value] : entries) SetOne(lines, section, key, value);
    std::string out;
    out.reserve(text.size() + 256);
    for (const auto& line : lines) out += line;
    return out;
}

void WriteProfileStrings(const std::filesystem::path& file, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& entries) {
    const auto target = ResolveSymlink(file);
    FileLock lock(target);
    const auto text = ReadIfExists(target);
    util::WriteFileAtomic(target, SetProfileStrings(text.value_or(std::string{}), section, entries));
}

}  // namespace vex::ini
