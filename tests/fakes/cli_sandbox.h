#pragma once
// Runs vextools in-process inside a scratch folder that holds a writable copy of the sample project.

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/app.h"
#include "fakes/scoped_env.h"
#include "fakes/scratch_dir.h"

namespace vex::testing {

/// How many times `what` stands in `text`.
inline size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

struct CliResult {
    int code;
    std::string out, err;
};

/// The sample project under `project`, a settings file of its own, and the add-in's directory (where the
/// error log goes) inside the same scratch folder.
class CliSandbox {
public:
    CliSandbox() {
        namespace fs = std::filesystem;
        fs::copy(fs::path(VEXTOOLS_SOURCE_DIR) / "examples" / "sample", dir / "sample");
        for (const auto& e : fs::directory_iterator(dir / "sample"))
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    }

    /// Runs vextools with this sandbox's settings file and `--on-error abort` in front of `args`.
    CliResult Vex(std::vector<std::string> args) const {
        args.insert(args.begin(), {"vextools", "--settings", settings.string(), "--on-error", "abort"});
        std::vector<const char*> argv;
        for (const auto& a : args) argv.push_back(a.c_str());
        std::ostringstream out, err;
        const int code = cli::Run(static_cast<int>(argv.size()), argv.data(), out, err);
        return {code, out.str(), err.str()};
    }

    /// The sample project's files (its README aside), by name.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(dir / "sample"))
            if (e.path().extension() != ".md") files[e.path().filename().string()] = ReadFile(e.path());
        return files;
    }

    ScratchDir dir;
    std::filesystem::path settings = dir / "settings.ini";
    std::string project = (dir / "sample" / "Sample.vbp").string();
    std::string home_dir = dir.Path().string();
    ScopedEnv home{{"VEXTOOLS_HOME", home_dir.c_str()}};
};

}  // namespace vex::testing
