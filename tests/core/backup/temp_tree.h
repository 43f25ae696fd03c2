#pragma once
// A temporary directory tree for backup tests, removed at the end of the test.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace vex::testing {

class TempTree {
public:
    TempTree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vextools-backup-XXXXXX").string();
        if (::mkdtemp(pattern.data())) root_ = pattern;
    }
    ~TempTree() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path operator/(const std::filesystem::path& rel) const { return root_ / rel; }

    /// Writes `bytes` to root/rel, creating folders.
    std::filesystem::path Write(const std::filesystem::path& rel, const std::string& bytes) const {
        const auto p = root_ / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    std::filesystem::path MakeDir(const std::filesystem::path& rel) const {
        std::filesystem::create_directories(root_ / rel);
        return root_ / rel;
    }

    static std::string Read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    /// The names in a folder.
    static std::set<std::string> Names(const std::filesystem::path& dir) {
        std::set<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir)) out.insert(e.path().filename().string());
        return out;
    }

private:
    std::filesystem::path root_;
};

}  // namespace vex::testing
