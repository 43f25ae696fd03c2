#include "ini/ini_escape.h"

#include <gtest/gtest.h>

#include "ini/ini_document.h"

namespace vex::ini {
namespace {

// Texts an INI reader would trim, split or misread if written as they stand.
const std::string kTricky[] = {
    "",
    " %No Manage Error%",
    "trailing  ",
    "   ",
    "Exit $$SubFunction$$\r\nErreurOrvel:\r\n   Case vbRetry",
    "lone\rcr and lone\nlf",
    "a=b;c#d[e]f\"g\"",
    ";starts like a comment",
    "#also",
    "[looks like a section]",
    "\"quoted\"",
    "<<<END",
    "C:\\Work\\new",
    "\\r\\n literally",
    "tab\tinside\t",
    std::string("nul\0inside", 10),
    "\x01\x1f\x7f",
    "Gestión Ærøskøbing 日本 €",
};

TEST(IniEscape, EveryValueAndNameSurvivesAFileRoundTrip) {
    for (const auto& text : kTricky) {
        IniDocument doc;
        const std::string section = EscapeName(text) + "/s";
        doc.Set(section, EscapeName("k" + text), EscapeValue(text));
        doc.Set(section, "after", "x");
        const IniDocument back = IniDocument::Parse(doc.Text(), "test");
        const auto value = back.Get(section, EscapeName("k" + text));
        ASSERT_TRUE(value.has_value()) << doc.Text();
        EXPECT_EQ(Unescape(*value), text) << doc.Text();
        EXPECT_EQ(back.Get(section, "after"), "x") << "the value must not swallow the next line";
    }
}

TEST(IniEscape, AStrayBackslashReadsAsTyped) {
    EXPECT_EQ(Unescape("C:\\Work\\q"), "C:\\Work\\q");
    EXPECT_EQ(Unescape("end\\"), "end\\");
    EXPECT_EQ(Unescape("\\xZZ"), "\\xZZ");
}

}  // namespace
}  // namespace vex::ini
