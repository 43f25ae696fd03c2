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

// IFind against the plain search of the lower-cased texts, over every short text of a few bytes with
// and without another case (the `%`, blank and `1` that no other byte lower-cases to, a, A, é, É), from
// every start: needles of up to three bytes, so that the byte searched for may stand anywhere in them.
TEST(Cp1252, IFindFindsWhatTheLowerCasedSearchFinds) {
    const std::string alphabet = "% 1aA\xE9\xC9";
    auto text = [&](size_t code, size_t length) {
        std::string s;
        for (size_t k = 0; k < length; ++k, code /= alphabet.size()) s += alphabet[code % alphabet.size()];
        return s;
    };
    const size_t letters = alphabet.size();
    for (size_t hayCode = 0; hayCode < letters * letters * letters * letters; ++hayCode) {
        const std::string hay = text(hayCode, 4), lowerHay = Lower(hay);
        for (size_t length : {1u, 2u, 3u})
            for (size_t needleCode = 0, count = length == 1 ? letters : length == 2 ? letters * letters : letters * letters * letters;
                 needleCode < count; ++needleCode) {
                const std::string needle = text(needleCode, length), lowerNeedle = Lower(needle);
                for (size_t from = 0; from <= hay.size() + 1; ++from)
                    ASSERT_EQ(IFind(hay, needle, from), lowerHay.find(lowerNeedle, from))
                        << hay << " / " << needle << " / " << from;
            }
    }
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
