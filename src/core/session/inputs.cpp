#include "session/inputs.h"

#include <algorithm>
#include <system_error>

#include "host/paths.h"
#include "text/cp1252.h"
#include "util/canonical_paths.h"

namespace vex::session {
namespace fs = std::filesystem;
namespace {

/// The same file under any spelling of its path (symlinks, `..`), for telling shared files apart.
fs::path Identity(util::CanonicalPaths& resolved, const fs::path& file) {
    fs::path canonical = resolved.Of(file);
    return canonical.empty() ? file.lexically_normal() : canonical;
}

std::vector<fs::path> ProjectsBelow(const fs::path& dir) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_regular_file(typeEc) && text::IEquals(it->path().extension().string(), ".vbp"))
            found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::vector<fs::path> ExpandInputs(const std::vector<std::string>& paths) {
    std::vector<fs::path> files;
    std::set<fs::path> seen;
    util::CanonicalPaths resolved;
    auto keep = [&](const fs::path& file) {
        if (seen.insert(Identity(resolved, file)).second) files.push_back(file);
    };
    for (const auto& arg : paths) {
        // Arguments arrive as UTF-8; a plain conversion would read them in the ANSI code page on Windows.
        const fs::path p = host::PathFromUtf8(arg);
        std::error_code ec;
        if (fs::is_directory(p, ec))
            for (const auto& vbp : ProjectsBelow(p)) keep(vbp);
        else
            keep(p);
    }
    return files;
}

bool ChooseProject(ide::Workspace& workspace, std::string_view name) {
    auto& projects = workspace.Projects();
    for (size_t i = 0; i < projects.size(); ++i)
        if (text::IEquals(projects[i].Name(), text::FromUtf8(name))) {
            workspace.SetActive(i);
            return true;
        }
    return false;
}

bool WorkedFiles::Claim(const fs::path& file) { return files_.insert(Identity(resolved_, file)).second; }

}  // namespace vex::session
