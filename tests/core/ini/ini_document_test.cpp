#include "ini/ini_document.h"

#include <gtest/gtest.h>

#include "fakes/raised.h"

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

}  // namespace
}  // namespace vex::ini
