#include "ini/locked_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "fakes/scratch_dir.h"

namespace vex::ini {
namespace {

// Each FileLock opens the lock file afresh, so two of them exclude each other even in one process, as
// two processes do (flock on POSIX systems, LockFileEx on Windows).
TEST(FileLock, ASecondHolderWaitsForTheFirst) {
    vex::testing::ScratchDir dir;
    const auto file = dir / "settings.ini";
    std::atomic<bool> released{false}, secondHeld{false}, heldEarly{false};
    std::thread second;
    {
        FileLock first(file);
        second = std::thread([&] {
            FileLock again(file);
            heldEarly = !released;
            secondHeld = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(secondHeld) << "the second lock did not wait";
        released = true;
    }
    second.join();
    EXPECT_TRUE(secondHeld);
    EXPECT_FALSE(heldEarly);
    EXPECT_TRUE(std::filesystem::exists(dir / ".settings.ini.lock"));  // left for the next locker
}

TEST(FileLock, TheLockFileIsHiddenAndAnEmptyOneLeftInSightByEarlierVersionsGoes) {
    vex::testing::ScratchDir dir;
    vex::testing::WriteFile(dir / "settings.ini.lock", "");
    vex::testing::WriteFile(dir / "List_Err.log.lock", "not ours");
    { FileLock lock(dir / "settings.ini"); }
    { FileLock lock(dir / "List_Err.log"); }
    EXPECT_EQ(LockFileFor(dir / "settings.ini"), dir / ".settings.ini.lock");
    const auto listing = vex::testing::Listing(dir.Path());
    EXPECT_FALSE(listing.count("settings.ini.lock")) << "the empty lock of an earlier version is removed";
    EXPECT_EQ(listing.at("List_Err.log.lock"), "not ours") << "a file with bytes in it is not a lock of ours";
    EXPECT_TRUE(listing.count(".List_Err.log.lock"));
#ifdef _WIN32
    EXPECT_TRUE(::GetFileAttributesW((dir / ".settings.ini.lock").c_str()) & FILE_ATTRIBUTE_HIDDEN);
#endif
}

}  // namespace
}  // namespace vex::ini
