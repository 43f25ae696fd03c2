#include "backup/backup_names.h"

#include <system_error>

namespace vex::backup {

namespace fs = std::filesystem;

namespace {

std::string Fold(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

}  // namespace

fs::path BackupNames::Identity(const fs::path& p) {
    fs::path canonical = canonical_.Of(p);
    return canonical.empty() ? p.lexically_normal() : canonical;
}

std::string BackupNames::Claim(const std::string& name, const fs::path& source, bool& renamed) {
    renamed = false;
    if (name.empty()) return name;
    const fs::path self = Identity(source);
    const fs::path asPath(name);
    const std::string stem = asPath.stem().string();
    const std::string ext = asPath.extension().string();
    std::string candidate = name;
    for (int n = 2;; ++n) {
        auto [it, inserted] = owners_.try_emplace(Fold(candidate), self);
        if (inserted || it->second == self) break;
        candidate = stem + " (" + std::to_string(n) + ")" + ext;
    }
    renamed = candidate != name;
    return candidate;
}

}  // namespace vex::backup
