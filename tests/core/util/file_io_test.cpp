#include <gtest/gtest.h>

#include "errors/runtime_error.h"
#include "fakes/scratch_dir.h"
#include "util/file_io.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vex::util {
namespace {
namespace fs = std::filesystem;

TEST(FileHolds, ComparesTheWholeFileWithoutRegardToReadSize) {
    vex::testing::ScratchDir dir;
    const std::string big(200'000, 'x');  // several reads
    const fs::path p = dir / "f";
    vex::testing::WriteFile(p, big);
    struct Case {
        std::string bytes;
        bool holds;
    } cases[] = {{big, true}, {big.substr(1), false}, {big + "x", false}, {big.substr(0, 100'000) + "y" + big.substr(100'001), false},
                 {"", false}};
    for (const auto& c : cases) EXPECT_EQ(FileHolds(p, c.bytes), c.holds) << c.bytes.size();
    vex::testing::WriteFile(p, "");
    EXPECT_TRUE(FileHolds(p, ""));
    EXPECT_THROW(FileHolds(dir / "missing", ""), errors::RuntimeError);
}

TEST(ReadFile, ReadsEveryByteWhateverSizeTheFileReports) {
    vex::testing::ScratchDir dir;
    for (const std::string& bytes : {std::string(), std::string("x"), std::string(200'000, 'y')}) {
        vex::testing::WriteFile(dir / "f", bytes);
        EXPECT_EQ(ReadFile(dir / "f"), bytes) << bytes.size();
    }
#ifdef __linux__
    // A file that reports no size yet has bytes to read.
    EXPECT_NE(ReadFile("/proc/self/status").find("Name:"), std::string::npos);
#endif
    EXPECT_THROW(ReadFile(dir / "missing"), errors::RuntimeError);
}

TEST(StagedFiles, ManyFilesStayOutOfPlaceUntilCommitAndLeaveNoTemporaryFile) {
    vex::testing::ScratchDir dir;
    constexpr int kFiles = 600;  // more than a process may hold open below (one descriptor each, if all were)
    auto stage = [&] {
        // Made, then replaced: a replaced file is held open across its rename.
        for (const std::string_view mark : {"", "!"}) {
            StagedFiles staged;
            for (int i = 0; i < kFiles; ++i)
                staged.Write(dir / (std::to_string(i) + ".bas"), std::to_string(i) + std::string(mark));
            if ((fs::exists(dir / "0.bas") == mark.empty()) || staged.Count() != size_t{kFiles}) return 1;
            size_t renamed = 0;
            staged.Commit(&renamed);
            if (renamed != size_t{kFiles}) return 2;
        }
        return 0;
    };
#ifdef _WIN32
    ASSERT_EQ(stage(), 0);
#else
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit few{300, 300};
        ::setrlimit(RLIMIT_NOFILE, &few);
        try {
            ::_exit(stage());
        } catch (const errors::RuntimeError&) {
            ::_exit(3);  // "Too many open files"
        }
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
#endif
    EXPECT_EQ(ReadFile(dir / "599.bas"), "599!");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), kFiles);
    {
        StagedFiles dropped;  // never committed: nothing replaced, nothing left
        dropped.Write(dir / "0.bas", "lost");
    }
    EXPECT_EQ(ReadFile(dir / "0.bas"), "0!");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), kFiles);
}

}  // namespace
}  // namespace vex::util
