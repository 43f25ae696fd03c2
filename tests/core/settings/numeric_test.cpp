#include "settings/numeric.h"

#include <gtest/gtest.h>

#include "fakes/raised.h"

namespace vex::settings {
namespace {

using vex::testing::Raised;

TEST(Numeric, IsNumericAcceptsTheDocumentedFormsOnly) {
    for (const char* yes : {"0", "10", "-5", "+7", "2.5", ".5", "5.", " 42 ", "\t3\t", "1E3", "1e-2", "-0"})
        EXPECT_TRUE(IsNumeric(yes)) << '"' << yes << '"';
    for (const char* no : {"", " ", "x", "1x", "1,000", "$5", "(5)", "5-", "- 5", "&H10", "1e", ".", "+",
                           "True", "inf", "NaN", "1.2.3", "0x10", "1 2"})
        EXPECT_FALSE(IsNumeric(no)) << '"' << no << '"';
}

TEST(Numeric, WholeNumbersRoundHalvesToEven) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {{"2.5", 2},  {"3.5", 4},   {"-2.5", -2}, {"-3.5", -4}, {"2.4999", 2},
                          {"2.51", 3}, {" 7 ", 7},   {"1E2", 100}, {"0.5", 0},   {"1.5", 2},
                          {"32767", 32767}, {"-32768", -32768}, {"-32768.5", -32768}, {"1e-400", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ToInt16(c.text), c.expected) << c.text;
        EXPECT_EQ(ToLong32(c.text), c.expected) << c.text;
    }
    EXPECT_EQ(ToLong32("2147483647"), 2147483647);
    EXPECT_EQ(ToLong32("40000"), 40000);
}

TEST(Numeric, ConversionsRaiseOverflowAndTypeMismatch) {
    struct Case {
        const char* text;
        bool sixteen;
        int number;
    };
    const Case cases[] = {{"32767.5", true, errors::code::kOverflow},   {"-32769", true, errors::code::kOverflow},
                          {"2147483648", false, errors::code::kOverflow}, {"1e400", false, errors::code::kOverflow},
                          {"x", true, errors::code::kTypeMismatch},       {"", false, errors::code::kTypeMismatch},
                          {"1,5", true, errors::code::kTypeMismatch}};
    for (const auto& c : cases) {
        EXPECT_EQ(Raised([&] { c.sixteen ? (void)ToInt16(c.text) : (void)ToLong32(c.text); }).Number(), c.number)
            << c.text;
    }
}

TEST(Numeric, BooleanIsAnyNonZeroNumber) {
    for (const char* yes : {"1", "-1", "0.1", "1e400"}) EXPECT_TRUE(ToBoolean(yes)) << yes;
    for (const char* no : {"0", " 0.0 "}) EXPECT_FALSE(ToBoolean(no)) << no;
    EXPECT_EQ(Raised([] { (void)ToBoolean("yes"); }).Number(), errors::code::kTypeMismatch);
}

}  // namespace
}  // namespace vex::settings
