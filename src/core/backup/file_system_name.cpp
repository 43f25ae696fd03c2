#include "backup/file_system_name.h"

#include <algorithm>
#include <system_error>

#include "host/paths.h"

namespace vex::backup {

namespace fs = std::filesystem;

namespace {

// The host file system ignores letter case; names on disk are not Windows-1252, so only ASCII folds.
bool AsciiIEquals(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

fs::path FindOnDisk(const fs::path& path) {
    if (path.empty()) return {};
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec))) return host::SpelledOnDisk(path);
    const std::string wanted = host::Utf8Path(path.filename());
    if (wanted.empty()) return {};
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string best;
    fs::path bestEntry;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = host::Utf8Path(it->path().filename());
        if (AsciiIEquals(name, wanted) && (best.empty() || name < best)) {
            best = name;
            bestEntry = it->path().filename();
        }
    }
    if (best.empty()) return {};
    return path.has_parent_path() ? path.parent_path() / bestEntry : bestEntry;
}

std::string Dir(const fs::path& path) { return host::Utf8Path(FindOnDisk(path).filename()); }

}  // namespace vex::backup
