#include "util/temporary_files.h"

#include <mutex>
#include <set>
#include <string>

namespace vex::util {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kMark = ".vextools-";

}  // namespace

fs::path TemporaryPrefix(const fs::path& target) {
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path name = ".";
    name += target.filename();
    name += std::string(kMark) + std::to_string(CurrentProcessId()) + "-";
    return dir / name;
}

std::optional<long> TemporaryOwner(const fs::path& path) {
    // The native spelling: on Windows a name need not fit any narrow code page.
    const fs::path::string_type name = path.filename().native();
    const fs::path::string_type markText(kMark.begin(), kMark.end());
    const size_t mark = name.rfind(markText);
    if (name.size() < 2 || name.front() != '.' || mark == std::string::npos || mark < 2) return std::nullopt;
    size_t at = mark + markText.size();
    long pid = 0;
    const size_t digits = at;
    for (; at < name.size() && name[at] >= '0' && name[at] <= '9' && at - digits < 10; ++at)
        pid = pid * 10 + (name[at] - '0');
    if (at == digits || at >= name.size() || name[at] != '-' || at + 1 == name.size()) return std::nullopt;
    for (size_t k = at + 1; k < name.size(); ++k) {
        const auto c = name[k];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return std::nullopt;
    }
    return pid;
}

void RemoveStaleTemporaries(const fs::path& folder) {
    const long self = CurrentProcessId();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const auto pid = TemporaryOwner(it->path());
        if (!pid || *pid == self || ProcessRunning(*pid)) continue;
        std::error_code kept;
        if (it->is_regular_file(kept) && !it->is_symlink(kept)) fs::remove(it->path(), kept);
    }
}

void RemoveStaleTemporariesOnce(const fs::path& folder) {
    static std::mutex mutex;
    static std::set<fs::path> swept;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!swept.insert(folder.lexically_normal()).second) return;
    }
    RemoveStaleTemporaries(folder);
}

}  // namespace vex::util
