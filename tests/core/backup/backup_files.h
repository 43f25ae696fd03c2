#pragma once
// File helpers for the backup tests, over the shared scratch directory.

#include <filesystem>
#include <set>
#include <string>

#include "fakes/scratch_dir.h"

namespace vex::testing {

/// Writes `bytes` to dir/rel, creating its folders; returns the file's path.
inline std::filesystem::path Put(const ScratchDir& dir, const std::string& rel, const std::string& bytes) {
    std::filesystem::create_directories((dir / rel).parent_path());
    WriteFile(dir / rel, bytes);
    return dir / rel;
}

inline std::filesystem::path Folder(const ScratchDir& dir, const std::string& rel) {
    std::filesystem::create_directories(dir / rel);
    return dir / rel;
}

/// The names in a folder.
inline std::set<std::string> Names(const std::filesystem::path& folder) {
    std::set<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(folder)) out.insert(e.path().filename().string());
    return out;
}

}  // namespace vex::testing
