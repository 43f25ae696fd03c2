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
/// project file cannot be read or a source file is not VB6 text; a component whose file is missing is
/// kept (unloaded) with a warning in Workspace::Warnings(). Both modes check and warn alike.
Workspace LoadWorkspace(const std::filesystem::path& path, LoadMode mode = LoadMode::Code);

/// The file that `vbpPath` (a path as a .vbp or .vbg writes it: `\` separators, any letter case,
/// Windows-1252 bytes) names, relative to `base`, as the file system spells it. Empty when none exists.
std::filesystem::path ResolvePath(const std::filesystem::path& base, std::string_view vbpPath);

}  // namespace vex::ide
