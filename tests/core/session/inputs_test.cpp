// The paths of one call as project files, and a shared file recognised under any spelling.

#include "session/inputs.h"

#include <gtest/gtest.h>

#include "fakes/platform.h"
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

TEST(Inputs, AWorkedFileIsKnownThroughADotDotPathOrALink) {
    ScratchDir dir;
    WriteFile(dir / "src" / "modA.bas", "");
    WorkedFiles worked;
    worked.Add(dir / "src" / "modA.bas");
    EXPECT_TRUE(worked.Contains(dir / "src" / ".." / "src" / "modA.bas"));
    EXPECT_FALSE(worked.Contains(dir / "src" / "modB.bas"));

    VEX_SKIP_ON_WINDOWS("symbolic links need rights a user does not have by default");
    fs::create_symlink(dir / "src", dir / "link");
    WorkedFiles linked;
    linked.Add(dir / "link" / "modA.bas");
    EXPECT_TRUE(linked.Contains(dir / "src" / "modA.bas"));
}

}  // namespace
}  // namespace vex::session
