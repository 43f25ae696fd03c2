#include "backup/file_system_name.h"

#include <gtest/gtest.h>

#include "backup/backup_names.h"
#include "backup_files.h"

namespace vex::backup {
namespace {

using testing::Folder;
using testing::Names;
using testing::Put;
using testing::ReadFile;
using testing::ScratchDir;

TEST(Dir, AnswersTheNameTheFileSystemHolds) {
    ScratchDir t;
    Put(t, "Src/modUtil.bas", "x");
    Folder(t, "Src/Forms");
    const std::pair<const char*, const char*> cases[] = {
        {"Src/modUtil.bas", "modUtil.bas"}, {"Src/MODUTIL.BAS", "modUtil.bas"}, {"Src/Forms", "Forms"},
        {"Src/missing.bas", ""},            {"Nowhere/modUtil.bas", ""},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(Dir(t / path), name) << path;
    EXPECT_EQ(Dir(""), "");
}

TEST(BackupNames, KeepsDifferentFilesOfOneNameApart) {
    ScratchDir t;
    const struct {
        std::string name, source, stored;
    } steps[] = {
        {"modUtil.bas", "a/modUtil.bas", "modUtil.bas"},
        {"modUtil.bas", "b/modUtil.bas", "modUtil (2).bas"},
        {"MODUTIL.BAS", "c/MODUTIL.BAS", "MODUTIL (3).BAS"},   // letter case does not keep names apart
        {"modUtil.bas", "a/../a/modUtil.bas", "modUtil.bas"},  // the same file keeps its name
        {"modUtil (2).bas", "d/modUtil (2).bas", "modUtil (2) (2).bas"},
        {"README", "b/README", "README"},
        {"README", "c/README", "README (2)"},
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
