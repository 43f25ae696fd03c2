#include "backup/file_system_name.h"

#include <gtest/gtest.h>

#include "backup/backup_names.h"
#include "temp_tree.h"

namespace vex::backup {
namespace {

using testing::TempTree;

TEST(Dir, AnswersTheNameTheFileSystemHolds) {
    TempTree t;
    t.Write("Src/modUtil.bas", "x");
    t.MakeDir("Src/Forms");
    struct Case {
        std::string path;
        std::string name;
    } cases[] = {
        {"Src/modUtil.bas", "modUtil.bas"},
        {"Src/MODUTIL.BAS", "modUtil.bas"},  // the .vbp may spell it in another case
        {"Src/Forms", "Forms"},              // directories count too
        {"Src/missing.bas", ""},
        {"Nowhere/modUtil.bas", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Dir(t / c.path), c.name) << c.path;
    EXPECT_EQ(Dir(""), "");
    EXPECT_EQ(FindOnDisk(t / "Src/modutil.BAS"), t / "Src/modUtil.bas");
}

TEST(BackupNames, KeepsDifferentFilesOfOneNameApart) {
    TempTree t;
    // (name, source) in the order a run asks; the answer expected.
    struct Step {
        std::string name;
        std::string source;
        std::string stored;
    } steps[] = {
        {"modUtil.bas", "a/modUtil.bas", "modUtil.bas"},
        {"modUtil.bas", "b/modUtil.bas", "modUtil (2).bas"},
        {"MODUTIL.BAS", "c/MODUTIL.BAS", "MODUTIL (3).BAS"},   // letter case does not keep names apart
        {"modUtil.bas", "a/../a/modUtil.bas", "modUtil.bas"},  // the same file keeps its name
        {"modUtil (2).bas", "d/modUtil (2).bas", "modUtil (2) (2).bas"},
        {"README", "a/README", "README"},
        {"README", "b/README", "README (2)"},
        {"", "a/missing.bas", ""},
        {"", "b/missing.bas", ""},
    };
    BackupNames names;
    for (const auto& s : steps) {
        bool renamed = true;
        EXPECT_EQ(names.Claim(s.name, t / s.source, renamed), s.stored) << s.source;
        EXPECT_EQ(renamed, s.stored != s.name) << s.source;
    }
}

}  // namespace
}  // namespace vex::backup
