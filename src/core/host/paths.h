#pragma once
// File names between text and the file system. Text is UTF-8 (command line, settings) or Windows-1252
// (project files); the file system has bytes on POSIX systems and UTF-16 names on Windows.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vex::host {

/// The path that UTF-8 text names. On Windows the text becomes UTF-16 (never the ANSI code page).
std::filesystem::path PathFromUtf8(std::string_view utf8);

/// The path as UTF-8 text. On POSIX systems the bytes are passed through as they are.
std::string Utf8Path(const std::filesystem::path& path);

/// The spellings on disk of a file name that a project file gives in Windows-1252, the likeliest first.
/// POSIX file systems may hold the name in either encoding; Windows holds it in UTF-16.
std::vector<std::filesystem::path> DiskSpellings(std::string_view cp1252Name);

/// The Windows-1252 text of a name on disk (a component's or project's name taken from its file name).
/// Characters Windows-1252 lacks become "?"; on POSIX systems, bytes that are not UTF-8 are taken as
/// Windows-1252 already.
std::string Cp1252Name(const std::filesystem::path& entry);

/// True when the directory entry `entry` (a last part) is the Windows-1252 `cp1252Name`, letter case aside.
bool IsNamed(const std::filesystem::path& entry, std::string_view cp1252Name);

/// `path` with its last part spelled as its directory holds it. On Windows, where a name found without
/// regard to case may differ from the file's, that is the file's own spelling; elsewhere `path` itself.
std::filesystem::path SpelledOnDisk(const std::filesystem::path& path);

}  // namespace vex::host
