#include "ini/locked_file.h"

#include "errors/runtime_error.h"
#include "util/file_io.h"

namespace vex::ini {
namespace fs = std::filesystem;

std::optional<std::string> ReadIfExists(const fs::path& path) {
    try {
        return util::ReadFile(path);
    } catch (const errors::RuntimeError& e) {
        if (e.Number() == errors::code::kFileNotFound) return std::nullopt;
        throw;
    }
}

fs::path LockFileFor(const fs::path& path) {
    fs::path name = ".";
    name += path.filename();
    name += ".lock";
    return path.has_parent_path() ? path.parent_path() / name : name;
}

void RemoveLegacyLockFile(const fs::path& path) {
    fs::path legacy = path;
    legacy += ".lock";
    std::error_code ec;
    if (fs::is_regular_file(fs::symlink_status(legacy, ec)) && fs::file_size(legacy, ec) == 0 && !ec)
        fs::remove(legacy, ec);
}

fs::path ResolveSymlink(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path target = fs::canonical(path, ec);
    return ec ? path : target;
}

}  // namespace vex::ini
