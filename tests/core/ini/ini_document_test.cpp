#include "ini/ini_document.h"

#include <gtest/gtest.h>

#include "fakes/raised.h"
#include "ini/ini_escape.h"

namespace vex::ini {
namespace {

TEST(IniDocument, ReadsWhatAnIniReaderReads) {
    const auto doc = IniDocument::Parse(
        "; comment\n\n[One]\nKey=1\r\n  spaced = two  \n[two]\nempty=\n", "f.ini");
    EXPECT_EQ(doc.Get("One", "Key"), "1");
    EXPECT_EQ(doc.Get("one", "KEY"), "1") << "names compare without regard to case";
    EXPECT_EQ(doc.Get("One", "spaced"), "two");
    EXPECT_EQ(doc.Get("Two", "empty"), "") << "an empty value is not an absent one";
    EXPECT_EQ(doc.Get("Two", "missing"), std::nullopt);
}

TEST(IniDocument, RefusesLinesAReaderWouldDropAndNamesTheLine) {
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        {"[s]\nkey=1\ngarbage line\n", 3},
        {"[s\nkey=1\n", 1},
        {"[s]x\n", 1},
        {"[s]\n=value\n", 2},
        {"[s]\rkey=1\rno equals\r", 3},
    };
    for (const auto& c : cases) {
        const auto e = vex::testing::Raised([&] { (void)IniDocument::Parse(c.text, "/x/settings.ini"); });
        EXPECT_NE(e.Description().find("/x/settings.ini line " + std::to_string(c.line)), std::string::npos)
            << c.text << ": " << e.Description();
    }
}

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
