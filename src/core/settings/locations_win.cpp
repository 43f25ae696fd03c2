// Windows: the user's files under %APPDATA%, as other per-user programs keep them.
#include <cstdlib>
#include <string>

#include "errors/runtime_error.h"
#include "settings/locations.h"

namespace vex::settings {
namespace fs = std::filesystem;
namespace {

// _wgetenv: the variable's real UTF-16 text, not its ANSI code page rendering.
std::optional<fs::path> Env(const wchar_t* name) {
    const wchar_t* v = ::_wgetenv(name);
    if (!v || !*v) return std::nullopt;
    return fs::path(v);
}

fs::path AppData() {
    if (auto dir = Env(L"APPDATA"); dir && dir->is_absolute()) return *dir / L"VexTools";
    throw errors::RuntimeError(errors::code::kPathNotFound,
                               "cannot tell where per-user files live: APPDATA is not set");
}

}  // namespace

std::optional<fs::path> ExplicitSettingsFile(const std::optional<fs::path>& explicitFile) {
    if (explicitFile && !explicitFile->empty()) return *explicitFile;
    return Env(L"VEXTOOLS_SETTINGS");
}

fs::path SettingsFilePath(const std::optional<fs::path>& explicitFile) {
    if (auto file = ExplicitSettingsFile(explicitFile)) return *file;
    return AppData() / L"settings.ini";
}

fs::path AddinDirectory() {
    if (auto dir = Env(L"VEXTOOLS_HOME")) return *dir;
    return AppData();
}

}  // namespace vex::settings
