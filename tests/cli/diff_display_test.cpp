#include "cli/diff_display.h"

#include <gtest/gtest.h>

#include "fakes/scoped_env.h"

namespace vex::cli {
namespace {

// A CR LF module with Windows-1252 text ("é" is the byte E9) and a last line without a line break.
const std::string kDiff =
    "--- a/my dir/modUtil.bas\t\n+++ b/my dir/modUtil.bas\t\n@@ -1,2 +1,2 @@\r\n"
    " Sub A()\r\n-    x = \"\xE9t\xE9\"\r\n+10     x = \"\xE9t\xE9\"\r\n-End Sub\n\\ No newline at end of file\n";

TEST(DiffDisplay, ExactIntoAPipeReadableAndColouredOnATerminal) {
    const struct {
        DiffLook look;
        std::string shown;
    } cases[] = {
        {{false, false}, kDiff},
        {{false, true},
         "--- a/my dir/modUtil.bas\t\n+++ b/my dir/modUtil.bas\t\n@@ -1,2 +1,2 @@\n Sub A()\n"
         "-    x = \"\xC3\xA9t\xC3\xA9\"\n+10     x = \"\xC3\xA9t\xC3\xA9\"\n-End Sub\n\\ No newline at end of file\n"},
        {{true, false},
         "\x1b[1m--- a/my dir/modUtil.bas\t\x1b[m\n\x1b[1m+++ b/my dir/modUtil.bas\t\x1b[m\n"
         "\x1b[36m@@ -1,2 +1,2 @@\x1b[m\r\n Sub A()\r\n\x1b[31m-    x = \"\xE9t\xE9\"\x1b[m\r\n"
         "\x1b[32m+10     x = \"\xE9t\xE9\"\x1b[m\r\n\x1b[31m-End Sub\x1b[m\n\\ No newline at end of file\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShowDiff(kDiff, c.look), c.shown) << c.look.colour << c.look.readable;
}

TEST(DiffDisplay, ColourFollowsTheOptionTheTerminalAndNoColor) {
    const struct {
        const char* option;
        bool terminal;
        const char* noColor;
        bool colour;
    } cases[] = {{"auto", true, nullptr, true},   {"auto", false, nullptr, false}, {"auto", true, "1", false},
                 {"auto", true, "", true},        {"always", false, "1", true},    {"never", true, nullptr, false}};
    for (const auto& c : cases) {
        vex::testing::ScopedEnv env{{"NO_COLOR", c.noColor}};
        const DiffLook look = ChooseLook(c.option, c.terminal);
        EXPECT_EQ(look.colour, c.colour) << c.option << c.terminal << (c.noColor ? c.noColor : "-");
        EXPECT_EQ(look.readable, c.terminal);
    }
}

}  // namespace
}  // namespace vex::cli
