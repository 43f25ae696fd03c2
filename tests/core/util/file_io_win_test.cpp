// What Windows adds to saving: the read-only attribute and files other programs hold open.
#include <windows.h>

#include <gtest/gtest.h>

#include "errors/runtime_error.h"
#include "fakes/scratch_dir.h"
#include "host/paths.h"
#include "util/file_io.h"

namespace vex::util {
namespace {
namespace fs = std::filesystem;

TEST(WindowsFiles, ReadOnlyAttributeAndUnsharedHandlesCountAsReadOnly) {
    vex::testing::ScratchDir dir;
    const fs::path plain = dir / "plain.bas", readOnly = dir / "ro.bas", held = dir / "held.bas";
    for (const auto& p : {plain, readOnly, held}) vex::testing::WriteFile(p, "x");
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    const HANDLE lock = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(IsReadOnly(plain));
    EXPECT_TRUE(IsReadOnly(readOnly));
    EXPECT_TRUE(IsReadOnly(held));
    EXPECT_FALSE(IsReadOnly(dir / "missing.bas"));
    // A held file is not replaced behind its holder's back, and keeps its bytes.
    try {
        WriteFileAtomic(held, "y");
        ADD_FAILURE() << "replaced a file another program holds";
    } catch (const errors::RuntimeError& e) {
        EXPECT_EQ(e.Number(), errors::code::kPermissionDenied);
        EXPECT_NE(e.Description().find("held.bas"), std::string::npos) << e.Description();
    }
    ::CloseHandle(lock);
    EXPECT_EQ(ReadFile(held), "x");
    std::string names;
    for (const auto& [name, bytes] : vex::testing::Listing(dir.Path())) names += name + " ";
    EXPECT_EQ(names, "held.bas plain.bas ro.bas ") << "temporary file left";
}

TEST(WindowsFiles, NamesOutsideTheAnsiCodePageRoundTrip) {
    vex::testing::ScratchDir dir;
    const fs::path p = dir.Path() / host::PathFromUtf8("mod\xce\xa9\xe2\x82\xac.bas");  // Ω: outside Windows-1252
    WriteFileAtomic(p, "bytes");
    EXPECT_EQ(ReadFile(p), "bytes");
    EXPECT_EQ(host::Utf8Path(p.filename()), "mod\xce\xa9\xe2\x82\xac.bas");
    EXPECT_TRUE(Display(p).ends_with("\\mod\xce\xa9\xe2\x82\xac.bas")) << Display(p);
    EXPECT_EQ(host::SpelledOnDisk(dir.Path() / host::PathFromUtf8("MOD\xce\xa9\xe2\x82\xac.BAS")), p);
}

}  // namespace
}  // namespace vex::util
