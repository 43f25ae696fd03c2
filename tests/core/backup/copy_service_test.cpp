#include "backup/copy_service.h"

#include <gtest/gtest.h>

#include "temp_tree.h"

namespace vex::backup {
namespace {

namespace fs = std::filesystem;
using testing::TempTree;

TEST(FileSystemCopyService, CopiesBytesAndKeepsModificationTimeAndPermissions) {
    TempTree t;
    const std::string bytes("VERSION 5.00\r\n\x00\xff\x80 binary", 25);
    const auto src = t.Write("src/frmMain.frx", bytes);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(src, old);
    fs::permissions(src, fs::perms::owner_read | fs::perms::group_read);
    const auto dst = t.MakeDir("out") / "frmMain.frx";

    FileSystemCopyService service;
    std::string why;
    ASSERT_TRUE(service.Copy(src, dst, &why)) << why;
    EXPECT_EQ(TempTree::Read(dst), bytes);
    EXPECT_EQ(fs::last_write_time(dst), old);
    EXPECT_EQ(fs::status(dst).permissions(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(TempTree::Names(t / "out"), std::set<std::string>{"frmMain.frx"});  // no temporary left

    // A read-only copy from an earlier run is replaced as well.
    t.Write("src/frmMain.frx", "new");
    fs::permissions(src, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(service.Copy(src, dst, &why)) << why;
    EXPECT_EQ(TempTree::Read(dst), "new");
}

TEST(FileSystemCopyService, FailuresNameTheFileAndLeaveTheDestinationAlone) {
    TempTree t;
    const auto existing = t.Write("out/modUtil.bas", "earlier copy");
    const auto folderSource = t.MakeDir("src/folder");
    struct Case {
        const char* what;
        fs::path source;
        fs::path destination;
        const char* reasonHas;
    } cases[] = {
        {"missing source", t / "src/missing.bas", existing, "missing.bas"},
        {"source is a folder", folderSource, existing, "not a regular file"},
        {"destination folder missing", t.Write("src/a.bas", "a"), t / "nowhere/a.bas", "nowhere"},
        {"destination is a folder", t / "src/a.bas", t.MakeDir("out/a.bas"), "a.bas"},
    };
    FileSystemCopyService service;
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(service.Copy(c.source, c.destination, &why)) << c.what;
        EXPECT_NE(why.find(c.reasonHas), std::string::npos) << c.what << ": " << why;
    }
    EXPECT_EQ(TempTree::Read(existing), "earlier copy");
    EXPECT_EQ(TempTree::Names(t / "out"), (std::set<std::string>{"a.bas", "modUtil.bas"}));
}

TEST(FileSystemCopyService, CopyOntoItselfKeepsTheFile) {
    TempTree t;
    const auto src = t.Write("p/Module1.bas", "code");
    FileSystemCopyService service;
    EXPECT_TRUE(service.Copy(src, t / "p/./Module1.bas", nullptr));
    EXPECT_EQ(TempTree::Read(src), "code");
    EXPECT_EQ(TempTree::Names(t / "p"), std::set<std::string>{"Module1.bas"});
}

}  // namespace
}  // namespace vex::backup
