#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vex::cli {
namespace {

TEST(ProgressLine, DrawsOneLineInPlaceOnlyWhenEnabledAndAfterTheQuietStart) {
    auto drive = [](std::ostream& err, bool enabled, std::chrono::milliseconds quietStart) {
        ProgressLine line(err, enabled, quietStart);
        line.Project().SetMax(4);
        line.Project().SetValue(2);
        line.File().SetMax(200);
        line.File().SetValue(50);
    };
    std::ostringstream off, quiet, on;
    drive(off, false, std::chrono::milliseconds(0));
    drive(quiet, true, std::chrono::hours(1));
    drive(on, true, std::chrono::milliseconds(0));
    EXPECT_EQ(off.str(), "");
    EXPECT_EQ(quiet.str(), "");
    EXPECT_EQ(on.str(), "\r\x1b[2Kcomponent 0/4  lines   -\r\x1b[2K");  // the first change drawn, then erased
}

}  // namespace
}  // namespace vex::cli
