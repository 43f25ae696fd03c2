// The --dry-run diff applies: `git apply` and `patch -p1` turn the old bytes into the new ones exactly (the
// sample's own diffs: cli/code_verbs_test.cpp).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "text/unified_diff.h"
#include "fakes/scratch_dir.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;
using text::DiffTexts;
using text::TextDiff;
using vex::testing::ReadFile;
using vex::testing::ScratchDir;
using vex::testing::WriteFile;

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

/// Applies `patch` to copies of `before` (named `name`) with both tools; returns what each made.
std::pair<std::string, std::string> ApplyBoth(const std::string& name, const std::string& before,
                                              const std::string& patch) {
    ScratchDir dir;
    WriteFile(dir / "p.diff", patch);
    std::string made[2];
    const char* tools[] = {"git apply --unsafe-paths -p1 ", "patch -s -p1 -i "};
    for (int t = 0; t < 2; ++t) {
        const fs::path root = dir / std::to_string(t);
        WriteFile(root / name, before);
        EXPECT_TRUE(Shell("cd '" + root.string() + "' && " + tools[t] + "'" + (dir / "p.diff").string() + "'"))
            << tools[t] << "refused:\n" << patch;
        made[t] = ReadFile(root / name);
    }
    return {made[0], made[1]};
}

std::string Lines(int from, int to, const char* end, int changed = -1) {
    std::string s;
    for (int i = from; i <= to; ++i) s += (i == changed ? "x" : "L") + std::to_string(i) + end;
    return s;
}

TEST(UnifiedDiff, AppliesWithGitAndPatchByteForByte) {
    if (!Shell("git --version") || !Shell("patch --version")) GTEST_SKIP() << "git or patch is not installed";
    const struct {
        const char* what;
        std::string name, before, after;
        int hunks;
    } cases[] = {
        {"CR LF kept", "mod.bas", Lines(1, 30, "\r\n"), Lines(1, 30, "\r\n", 15), 1},
        {"LF", "dir/mod.bas", Lines(1, 30, "\n"), Lines(1, 30, "\n", 2), 1},
        {"Windows-1252 bytes", "m.bas", "a\r\n'\xE9t\xE9 \x80\r\nb\r\n", "a\r\n'\xE9t\xE9 \x80 \xE0\r\nb\r\n", 1},
        {"a blank in the path", "My Modules/mod 1.bas", Lines(1, 5, "\r\n"), Lines(1, 5, "\r\n", 3), 1},
        {"no final line break", "m.bas", "a\r\nb\r\nc", "a\r\nb\r\nd", 1},
        {"final line break added", "m.bas", "a\nb", "a\nb\n", 1},
        {"touching hunks merged", "m.bas", Lines(1, 40, "\n"), Lines(1, 40, "\n", 10).replace(0, 2, "x1"), 2},
        {"line ends only", "m.bas", Lines(1, 3, "\n"), Lines(1, 3, "\r\n"), 1},
        {"lines added and removed", "m.bas", Lines(1, 20, "\n"), Lines(1, 5, "\n") + "new\n" + Lines(9, 20, "\n"), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TextDiff d = DiffTexts(c.before, c.after, c.name);
        EXPECT_GT(d.linesChanged, 0);
        EXPECT_EQ(text::ChangedLineCount(c.before, c.after), d.linesChanged);
        size_t hunks = 0;
        for (size_t at = d.unified.find("\n@@ "); at != std::string::npos; at = d.unified.find("\n@@ ", at + 1)) ++hunks;
        EXPECT_EQ(hunks, size_t(c.hunks)) << d.unified;
        const auto [byGit, byPatch] = ApplyBoth(c.name, c.before, d.unified);
        EXPECT_EQ(byGit, c.after);
        EXPECT_EQ(byPatch, c.after);
    }
    EXPECT_EQ(DiffTexts("same\r\n", "same\r\n", "m.bas").unified, "");
    EXPECT_EQ(DiffTexts(Lines(1, 9, "\n"), Lines(1, 9, "\n", 5), "m.bas").linesChanged, 1);
}

}  // namespace
}  // namespace vex::cli
