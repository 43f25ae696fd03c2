#include "ide/vb_lexer.h"

#include <gtest/gtest.h>

namespace vex::ide::lex {
namespace {

// One row per line: what each rule of the lexer says of it.
TEST(Lexer, RulesOfOneLine) {
    struct Case {
        const char* line;
        const char* code;   // CodeOf
        bool continues;     // Continues
        const char* label;  // LeadingLabel
        size_t statements;  // Statements(...).size()
    } cases[] = {
        {"x = \"it's\" ' note", "x = \"it's\" ", false, "", 1},
        {"If s = \"Then\" Then y = 1", "If s = \"Then\" Then y = 1", false, "", 1},
        {"s = \"a \"\" b: c\": t = 1", "s = \"a \"\" b: c\": t = 1", false, "", 2},
        {"Rem x = 1 _", "", true, "", 0},
        {"x = 1: Rem GoTo 9", "x = 1: ", false, "", 1},
        {"Remark = 1", "Remark = 1", false, "", 1},
        {"' comment _", "", true, "", 0},
        {"x = a + _   ", "x = a + _   ", true, "", 1},
        {"Sub A(a,\t_  ", "Sub A(a,\t_  ", true, "", 1},  // a tab is a blank too
        {"x = a_", "x = a_", false, "", 1},
        {"_", "_", true, "", 1},
        {"Fin: Exit Sub", "Fin: Exit Sub", false, "Fin: ", 1},
        {"\xC9tape1: x = 1", "\xC9tape1: x = 1", false, "\xC9tape1: ", 1},
        {"Else: x = 1", "Else: x = 1", false, "", 2},
        {"f x := 1", "f x := 1", false, "", 1},
        {"10 x = 1", "10 x = 1", false, "10 ", 1},
        {"10: x = 1", "10: x = 1", false, "10: ", 1},
        {"12x = 1", "12x = 1", false, "", 1},
        {"Public Function _", "Public Function _", true, "", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CodeOf(c.line), c.code) << c.line;
        EXPECT_EQ(Continues(c.line), c.continues) << c.line;
        EXPECT_EQ(LeadingLabel(c.line), c.label) << c.line;
        EXPECT_EQ(Statements(c.line).size(), c.statements) << c.line;
    }
}

TEST(Lexer, IdentifierCharactersOfWindows1252) {
    for (int c : {0x61, 0x5A, 0x8A, 0x9F, 0xB5, 0xC0, 0xE9, 0xFF}) EXPECT_TRUE(IsLetter(static_cast<char>(c))) << c;
    for (int c : {0x31, 0x5F, 0x20, 0x80, 0xA0, 0xD7, 0xF7}) EXPECT_FALSE(IsLetter(static_cast<char>(c))) << c;
    EXPECT_EQ(WithoutContinuation("x = a + _  "), "x = a +");
    EXPECT_EQ(LeadingNumber("0010 x"), "10");
    EXPECT_EQ(LeadingNumber(" 10 x"), "");
}

}  // namespace
}  // namespace vex::ide::lex
