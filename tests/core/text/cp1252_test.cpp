#include "text/cp1252.h"

#include <gtest/gtest.h>

namespace vex::text {
namespace {

TEST(Cp1252, LowerFollowsTheCodePage) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"ABC xyz", "abc xyz"},
        {"\xC9T\xC9", "\xE9t\xE9"},           // ÉTÉ -> été
        {"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},  // Š Œ Ž Ÿ
        {"\xD7\xDF", "\xD7\xDF"},               // × and ß have no other case
    };
    for (const auto& c : cases) EXPECT_EQ(Lower(c.in), c.out) << c.in;
    EXPECT_TRUE(IEquals("%GESTI\xD3N ERROR%", "%gesti\xF3n error%"));
    EXPECT_EQ(IFind("x = 1 ' %GESTI\xD3N%", "%gesti\xF3n%"), 8u);
    EXPECT_EQ(IFind("abc", ""), 0u);
    EXPECT_EQ(IFind("abc", "abcd"), std::string_view::npos);
}

TEST(Cp1252, Utf8ConversionAndEveryByteRoundTrips) {
    bool lossy = false;
    EXPECT_EQ(ToUtf8("Gesti\xF3n \x80"), "Gesti\xC3\xB3n \xE2\x82\xAC");
    EXPECT_EQ(FromUtf8("Gesti\xC3\xB3n \xE2\x82\xAC", &lossy), "Gesti\xF3n \x80");
    EXPECT_FALSE(lossy);
    EXPECT_EQ(FromUtf8("\xE2\x9C\x93 ok", &lossy), "? ok");  // ✓ has no place in the code page
    EXPECT_TRUE(lossy);
    EXPECT_EQ(FromUtf8("caf\xE9"), "caf\xE9");  // already Windows-1252: kept as it stands
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    lossy = false;
    EXPECT_EQ(FromUtf8(ToUtf8(all), &lossy), all);
    EXPECT_FALSE(lossy);
}

TEST(Cp1252, TrimRemovesBlanksOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
}

}  // namespace
}  // namespace vex::text
