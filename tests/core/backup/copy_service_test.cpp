#include "backup/copy_service.h"

#include <gtest/gtest.h>

#include "backup_files.h"

namespace vex::backup {
namespace {

namespace fs = std::filesystem;
using testing::Folder;
using testing::Names;
using testing::Put;
using testing::ReadFile;
using testing::ScratchDir;

TEST(FileSystemCopyService, CopiesBytesTimeAndPermissionsAndReplaces) {
    ScratchDir t;
    const std::string bytes("VERSION 5.00\r\n\x00\xff\x80", 17);
    const auto src = Put(t, "src/frmMain.frx", bytes);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(src, old);
    fs::permissions(src, fs::perms::owner_read | fs::perms::group_read);
    const auto dst = Folder(t, "out") / "frmMain.frx";
    FileSystemCopyService service;
    std::string why;
    ASSERT_TRUE(service.Copy(src, dst, &why)) << why;
    EXPECT_EQ(ReadFile(dst), bytes);
    EXPECT_EQ(fs::last_write_time(dst), old);
    EXPECT_EQ(fs::status(dst).permissions(), fs::perms::owner_read | fs::perms::group_read);

    // The read-only copy of an earlier run is replaced; no temporary file stays behind.
    fs::permissions(src, fs::perms::owner_read | fs::perms::owner_write);
    Put(t, "src/frmMain.frx", "new");
    ASSERT_TRUE(service.Copy(src, dst, &why)) << why;
    EXPECT_EQ(ReadFile(dst), "new");
    EXPECT_EQ(Names(t / "out"), std::set<std::string>{"frmMain.frx"});

    // Onto itself: nothing lost.
    EXPECT_TRUE(service.Copy(src, t / "src/./frmMain.frx", nullptr));
    EXPECT_EQ(ReadFile(src), "new");
}

TEST(FileSystemCopyService, FailuresSayWhyAndLeaveTheDestinationAlone) {
    ScratchDir t;
    const auto existing = Put(t, "out/modUtil.bas", "earlier copy");
    const auto a = Put(t, "src/a.bas", "a");
    const struct {
        fs::path source, destination;
        const char* reasonHas;
    } cases[] = {
        {t / "src/missing.bas", existing, "missing.bas"},
        {Folder(t, "src/folder"), existing, "not a regular file"},
        {a, existing / "a.bas", "modUtil.bas"},  // its folder would be a file
        {a, Folder(t, "out/a.bas"), "a.bas"},
    };
    FileSystemCopyService service;
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(service.Copy(c.source, c.destination, &why)) << c.source;
        EXPECT_NE(why.find(c.reasonHas), std::string::npos) << why;
    }
    EXPECT_EQ(ReadFile(existing), "earlier copy");
    EXPECT_EQ(Names(t / "out"), (std::set<std::string>{"a.bas", "modUtil.bas"}));
    // A destination folder that does not exist yet is made, as the shell does when it may not ask.
    EXPECT_TRUE(service.Copy(a, t / "new/deeper/a.bas", nullptr));
    EXPECT_EQ(ReadFile(t / "new/deeper/a.bas"), "a");
}

}  // namespace
}  // namespace vex::backup
