#include <gtest/gtest.h>

#include "fakes/scratch_dir.h"
#include "util/canonical_paths.h"

namespace vex::util {
namespace {
namespace fs = std::filesystem;

#ifndef _WIN32  // links need no privilege here
TEST(CanonicalPaths, ResolvesAsWeaklyCanonicalDoesWhateverTheFolderWasResolvedAs) {
    vex::testing::ScratchDir dir;
    fs::create_directories(dir / "src/sub");
    vex::testing::WriteFile(dir / "src/a.bas", "x");
    fs::create_directory_symlink(dir / "src", dir / "linked");
    fs::create_symlink(dir / "src/a.bas", dir / "src/b.bas");
    CanonicalPaths paths;
    // Each twice: the second answer comes from the folder resolved the first time.
    for (int round = 0; round < 2; ++round)
        for (const fs::path& p : {dir / "src/a.bas", dir / "linked/a.bas", dir / "src/b.bas", dir / "linked/b.bas",
                                  dir / "src/missing.bas", dir / "gone/missing.bas", dir / "src/sub/../a.bas",
                                  dir / "linked/sub/..", dir / "src/.", fs::relative(dir / "linked/a.bas")})
            EXPECT_EQ(paths.Of(p), fs::weakly_canonical(p)) << p << ", round " << round;
}
#endif

}  // namespace
}  // namespace vex::util
