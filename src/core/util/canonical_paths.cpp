#include "util/canonical_paths.h"

#include <system_error>

namespace vex::util {

namespace fs = std::filesystem;

namespace {
fs::path Whole(const fs::path& path) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? fs::path() : resolved;
}
}  // namespace

fs::path CanonicalPaths::Of(const fs::path& path) {
    const fs::path name = path.filename();
    // A name that is a link, or a dot, resolves against what it points to, not against its folder.
    std::error_code ec;
    if (name.empty() || name == "." || name == ".." || fs::is_symlink(fs::symlink_status(path, ec)))
        return Whole(path);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    auto found = folders_.find(folder);
    if (found == folders_.end()) found = folders_.emplace(folder, Whole(folder)).first;
    return found->second.empty() ? fs::path() : found->second / name;
}

}  // namespace vex::util
