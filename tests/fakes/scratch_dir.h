#pragma once
// A fresh directory under the test temp directory, removed with everything in it at the end of the test.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include "fakes/platform.h"

namespace vex::testing {

class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::path(::testing::TempDir()) /
                ("vextools-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        Remove(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() { Remove(path_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    // Read-only files first made writable: Windows refuses to delete them.
    static void Remove(const std::filesystem::path& path) {
        std::error_code ec;
        for (std::filesystem::recursive_directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow, ec);
        std::filesystem::remove_all(path, ec);
    }

    std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

/// Writes `text` to `p`, making its folders first.
inline void WriteFile(const std::filesystem::path& p, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(p.parent_path(), ec);
    std::ofstream(p, std::ios::binary) << text;
}

/// The files directly in `folder`, by name, with their bytes (folders map to the empty text).
inline std::map<std::string, std::string> Listing(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        files[e.path().filename().string()] = e.is_regular_file() ? ReadFile(e.path()) : "";
    return files;
}

}  // namespace vex::testing
