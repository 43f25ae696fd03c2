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

/// What a conversion gives: the number, or "error N" for the run-time error it raises.
template <class Convert>
std::string Converted(Convert convert) {
    try {
        return std::to_string(convert());
    } catch (const errors::RuntimeError& e) {
        return "error " + std::to_string(e.Number());
    }
}

// Each text to 16 and to 32 bits: halves round to even; too big is Overflow (6), not a number Type mismatch (13).
TEST(Numeric, WholeNumbersRoundHalvesToEvenOrRaiseOverflowAndTypeMismatch) {
    const struct {
        const char *text, *sixteen, *thirtyTwo;
    } cases[] = {
        {"2.5", "2", "2"},       {"3.5", "4", "4"},      {"-2.5", "-2", "-2"},        {"-3.5", "-4", "-4"},
        {"2.4999", "2", "2"},    {"2.51", "3", "3"},     {" 7 ", "7", "7"},           {"1E2", "100", "100"},
        {"0.5", "0", "0"},       {"1.5", "2", "2"},      {"1e-400", "0", "0"},        {"32767", "32767", "32767"},
        {"-32768", "-32768", "-32768"},     {"-32768.5", "-32768", "-32768"},  {"32767.5", "error 6", "32768"},
        {"-32769", "error 6", "-32769"},    {"40000", "error 6", "40000"},
        {"2147483647", "error 6", "2147483647"}, {"2147483648", "error 6", "error 6"},
        {"1e400", "error 6", "error 6"},    {"x", "error 13", "error 13"},     {"", "error 13", "error 13"},
        {"1,5", "error 13", "error 13"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Converted([&] { return ToInt16(c.text); }), c.sixteen) << c.text;
        EXPECT_EQ(Converted([&] { return ToLong32(c.text); }), c.thirtyTwo) << c.text;
    }
}

TEST(Numeric, BooleanIsAnyNonZeroNumber) {
    for (const char* yes : {"1", "-1", "0.1", "1e400"}) EXPECT_TRUE(ToBoolean(yes)) << yes;
    for (const char* no : {"0", " 0.0 "}) EXPECT_FALSE(ToBoolean(no)) << no;
    EXPECT_EQ(Raised([] { (void)ToBoolean("yes"); }).Number(), errors::code::kTypeMismatch);
}

}  // namespace
}  // namespace vex::settings
