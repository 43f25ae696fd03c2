#pragma once
// Reads a .vbp project, a .vbg group or a single module file from disk.

#include <filesystem>

#include "ide/project.h"

namespace vex::ide {

/// How much of each source file a load keeps.
enum class LoadMode {
    Code,   ///< every component's code, ready to edit and save
    Names,  ///< checked and warned alike, but every component is left unloaded (for copying files)
};

/// Loads `path` (.vbp, .vbg, or a module file). Throws errors::RuntimeError naming the file when the
/// project or group file cannot be read, or when a lone module file cannot be taken for editing. A
/// project's source file that is missing, unreadable, not VB6 text or holds a procedure never closed is
/// kept as a component without code and named in Workspace::Failures() (Warnings() for LoadMode::Names,
/// which needs no code and does not look for unclosed procedures); the other components load as usual.
Workspace LoadWorkspace(const std::filesystem::path& path, LoadMode mode = LoadMode::Code);

/// The file that `vbpPath` (a path as a .vbp or .vbg writes it: `\` separators, any letter case,
/// Windows-1252 bytes) names, relative to `base`, as the file system spells it. Empty when none exists.
std::filesystem::path ResolvePath(const std::filesystem::path& base, std::string_view vbpPath);

}  // namespace vex::ide
