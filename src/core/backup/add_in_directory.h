#pragma once
// Where the add-in lives: the default backup directory.

#include <filesystem>

namespace vex::backup {

/// The add-in's own directory: $VEXTOOLS_HOME when set and not empty, else $XDG_DATA_HOME/vextools, else
/// ~/.local/share/vextools. It is not created here.
std::filesystem::path AddInDirectory();

}  // namespace vex::backup
