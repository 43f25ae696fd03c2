#pragma once
// Dir: the name of a file as the file system holds it.

#include <filesystem>
#include <string>

namespace vex::backup {

/// The file or directory that `path` names, spelled as on disk: `path` itself when it exists, else the
/// entry of its folder whose name equals the last part of `path` without regard to ASCII letter case (the
/// first in name order when several do). Empty when nothing matches or `path` is empty.
std::filesystem::path FindOnDisk(const std::filesystem::path& path);

/// Dir(path, vbDirectory): the name, without its folder, of the file or directory `path` names, as the
/// file system spells it; empty when there is none.
std::string Dir(const std::filesystem::path& path);

}  // namespace vex::backup
