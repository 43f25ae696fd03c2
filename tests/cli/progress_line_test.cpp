#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

namespace vex::cli {
namespace {

using std::chrono::milliseconds;

// Waits (up to a few seconds) until the drawing thread has put `what` on the stream. The stream is read
// under a Hold, which keeps the drawing thread from writing to it meanwhile.
bool Shows(ProgressLine& line, const std::ostringstream& s, const std::string& what) {
    for (int i = 0; i < 500; ++i) {
        {
            const ProgressLine::Hold hold(line);
            if (s.str().find(what) != std::string::npos) return true;
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
    return false;
}

TEST(ProgressLine, DrawsNothingWhenOffOrBeforeTheQuietStart) {
    for (const bool enabled : {false, true}) {
        std::ostringstream err;
        {
            ProgressLine line(err, enabled, nullptr, enabled ? std::chrono::hours(1) : milliseconds(0));
            line.Stage("Sample.vbp: loading");
            line.Project().SetMax(4);
            err << "a message\n";
        }
        EXPECT_EQ(err.str(), "a message\n") << enabled;
    }
}

TEST(ProgressLine, DrawsTheStageAndBarsAndErasesBeforeOtherText) {
    std::ostringstream err, out;
    ProgressLine line(err, true, &out, milliseconds(0), milliseconds(5));
    line.Stage("Sample.vbp:");
    line.Project().SetMax(4);
    line.Project().SetValue(2);
    line.File().SetMax(200);
    line.File().SetValue(50);
    ASSERT_TRUE(Shows(line, err, "\r\x1b[2KSample.vbp:  component 2/4  lines  25%"));
    {
        const ProgressLine::Hold hold(line);  // a question: erased, not drawn again meanwhile
        out << "stdout text\n";
        err << "Retry? ";
        std::this_thread::sleep_for(milliseconds(50));
        const std::string text = err.str();
        EXPECT_NE(text.find("25%\r\x1b[2KRetry? "), std::string::npos) << text;
        EXPECT_EQ(text.substr(text.size() - 7), "Retry? ") << "nothing drawn over the question";
    }
    line.Finish();
    EXPECT_EQ(out.str(), "stdout text\n");
}

}  // namespace
}  // namespace vex::cli
