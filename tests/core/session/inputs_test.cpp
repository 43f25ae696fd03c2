// The paths of one call as project files (a shared file worked on once: cli/code_verbs_test.cpp).

#include "session/inputs.h"

#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"

namespace vex::session {
namespace {

namespace fs = std::filesystem;
using vex::testing::ScratchDir;
using vex::testing::WriteFile;

TEST(Inputs, DirectoriesStandForTheirProjectsInSortedOrderAndRepeatsAreDropped) {
    ScratchDir dir;
    for (const char* f : {"b/Two.vbp", "a/deep/One.VBP", "a/notes.txt", "c/Three.vbg", "m.bas"}) WriteFile(dir / f, "");
    const auto got = ExpandInputs({dir.Path().string(), (dir / "b" / ".." / "b" / "Two.vbp").string(),
                                   (dir / "m.bas").string(), (dir / "missing.vbp").string()});
    const std::vector<fs::path> want{dir / "a/deep/One.VBP", dir / "b/Two.vbp", dir / "m.bas", dir / "missing.vbp"};
    EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace vex::session
