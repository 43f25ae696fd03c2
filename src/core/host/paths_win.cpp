#include "host/paths.h"

#include <windows.h>

#include "text/cp1252.h"

namespace vex::host {
namespace {

// libstdc++ reads a char string given to a path in the C library's code page, but spells path::string()
// in UTF-8: going through char8_t keeps both ways in UTF-8.
std::u8string AsU8(std::string_view utf8) { return std::u8string(utf8.begin(), utf8.end()); }

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view utf8) { return std::filesystem::path(AsU8(utf8)); }

std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

std::vector<std::filesystem::path> DiskSpellings(std::string_view cp1252Name) {
    return {PathFromUtf8(text::ToUtf8(cp1252Name))};
}

std::string Cp1252Name(const std::filesystem::path& entry) { return text::FromUtf8(Utf8Path(entry)); }

bool IsNamed(const std::filesystem::path& entry, std::string_view cp1252Name) {
    return text::IEquals(Cp1252Name(entry), cp1252Name);
}

std::filesystem::path SpelledOnDisk(const std::filesystem::path& path) {
    WIN32_FIND_DATAW found{};
    const HANDLE h = ::FindFirstFileW(path.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return path;
    ::FindClose(h);
    return path.has_parent_path() ? path.parent_path() / found.cFileName : std::filesystem::path(found.cFileName);
}

}  // namespace vex::host
