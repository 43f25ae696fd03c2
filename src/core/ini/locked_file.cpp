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

fs::path ResolveSymlink(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path target = fs::canonical(path, ec);
    return ec ? path : target;
}

}  // namespace vex::ini
