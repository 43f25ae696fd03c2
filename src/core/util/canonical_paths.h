#pragma once
// Paths resolved to one spelling per file, for telling whether two spellings name the same file.

#include <filesystem>
#include <map>

namespace vex::util {

/// Resolves paths as std::filesystem::weakly_canonical does (links and dots resolved as far as the path
/// exists), each folder once: the files of a project mostly share a few folders, and resolving a path
/// whole costs a call to the system for every part of it.
class CanonicalPaths {
public:
    /// `path` resolved; empty when that fails.
    std::filesystem::path Of(const std::filesystem::path& path);

private:
    std::map<std::filesystem::path, std::filesystem::path> folders_;  // as given -> resolved
};

}  // namespace vex::util
