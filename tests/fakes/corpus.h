#pragma once
// The real-world projects kept beside the source tree (absent on some machines: tests skip then).

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace vex::testing {

#ifndef VEXTOOLS_CORPUS
#define VEXTOOLS_CORPUS VEXTOOLS_SOURCE_DIR "/../shared/corpus"
#endif

/// Every corpus file with one of `extensions` (".bas"...), sorted; empty when the corpus is absent.
inline std::vector<std::filesystem::path> CorpusFiles(const std::set<std::string>& extensions) {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(VEXTOOLS_CORPUS)) return files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(VEXTOOLS_CORPUS))
        if (e.is_regular_file() && extensions.count(e.path().extension().string())) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

inline const std::set<std::string> kModuleExtensions = {".bas", ".cls", ".frm", ".ctl", ".pag", ".dob", ".dsr"};

#define SKIP_WITHOUT_CORPUS(files) \
    if ((files).empty()) GTEST_SKIP() << "no corpus at " VEXTOOLS_CORPUS " (../shared is absent)"

}  // namespace vex::testing
