#include "settings/locations.h"

#include <cstdlib>
#include <string>

#include "errors/runtime_error.h"

namespace vex::settings {
namespace fs = std::filesystem;
namespace {

std::optional<fs::path> Env(const char* name, bool mustBeAbsolute = false) {
    const char* v = std::getenv(name);
    if (!v || !*v) return std::nullopt;
    fs::path p(v);
    if (mustBeAbsolute && !p.is_absolute()) return std::nullopt;
    return p;
}

// $xdgVariable, else $HOME/homeFallback.
fs::path XdgDirectory(const char* xdgVariable, const char* homeFallback) {
    if (auto dir = Env(xdgVariable, true)) return *dir;
    if (auto home = Env("HOME")) return *home / homeFallback;
    throw errors::RuntimeError(errors::code::kPathNotFound,
                               std::string("cannot tell where per-user files live: neither ") + xdgVariable +
                                   " nor HOME is set");
}

}  // namespace

std::optional<fs::path> ExplicitSettingsFile(const std::optional<fs::path>& explicitFile) {
    if (explicitFile && !explicitFile->empty()) return *explicitFile;
    return Env("VEXTOOLS_SETTINGS");
}

fs::path SettingsFilePath(const std::optional<fs::path>& explicitFile) {
    if (auto file = ExplicitSettingsFile(explicitFile)) return *file;
    return XdgDirectory("XDG_CONFIG_HOME", ".config") / "vextools" / "settings.ini";
}

fs::path AddinDirectory() {
    if (auto dir = Env("VEXTOOLS_HOME")) return *dir;
    return XdgDirectory("XDG_DATA_HOME", ".local/share") / "vextools";
}

}  // namespace vex::settings
