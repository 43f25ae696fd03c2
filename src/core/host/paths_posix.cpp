#include "host/paths.h"

#include "text/cp1252.h"

namespace vex::host {

std::filesystem::path PathFromUtf8(std::string_view utf8) { return std::filesystem::path(std::string(utf8)); }

std::string Utf8Path(const std::filesystem::path& path) { return path.string(); }

std::vector<std::filesystem::path> DiskSpellings(std::string_view cp1252Name) {
    return {std::string(cp1252Name), text::ToUtf8(cp1252Name)};
}

std::string Cp1252Name(const std::filesystem::path& entry) { return text::FromUtf8(entry.string()); }

bool IsNamed(const std::filesystem::path& entry, std::string_view cp1252Name) {
    const std::string name = entry.string();
    return text::IEquals(name, cp1252Name) || text::IEquals(text::FromUtf8(name), cp1252Name);
}

std::filesystem::path SpelledOnDisk(const std::filesystem::path& path) { return path; }

}  // namespace vex::host
