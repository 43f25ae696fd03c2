#pragma once
// The names given out in one backup run: two different files of the same name never share a destination.

#include <filesystem>
#include <map>
#include <string>

#include "util/canonical_paths.h"

namespace vex::backup {

class BackupNames {
public:
    /// The name under which `source`, whose own name is `name`, is stored in this run. The first file to
    /// ask for a name gets it; another file asking for a name already given (compared without regard to
    /// ASCII letter case, since the backup may go to a file system that ignores it) gets "stem (2).ext",
    /// else "(3)", and so on. The same file asking again gets the name it got before. An empty name stays
    /// empty. `renamed` is set when the answer differs from `name`.
    std::string Claim(const std::string& name, const std::filesystem::path& source, bool& renamed);

private:
    /// The same file however it is spelled.
    std::filesystem::path Identity(const std::filesystem::path& file);
    std::map<std::string, std::filesystem::path> owners_;  // folded name -> the file it was given to
    util::CanonicalPaths canonical_;
};

}  // namespace vex::backup
