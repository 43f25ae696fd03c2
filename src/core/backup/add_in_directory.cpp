#include "backup/add_in_directory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace vex::backup {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

}  // namespace

std::filesystem::path AddInDirectory() {
    if (auto home = Env("VEXTOOLS_HOME"); !home.empty()) return home;
    if (auto data = Env("XDG_DATA_HOME"); !data.empty()) return std::filesystem::path(data) / "vextools";
    std::string user = Env("HOME");
    if (user.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) user = pw->pw_dir;
    return std::filesystem::path(user) / ".local" / "share" / "vextools";
}

}  // namespace vex::backup
