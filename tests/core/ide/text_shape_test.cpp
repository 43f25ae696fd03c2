#include "ide/text_shape.h"

#include <gtest/gtest.h>

namespace vex::ide {
namespace {

TEST(TextShape, NamesAByteOrderMarkAndTheFirstLineWhoseBreakDiffers) {
    const struct {
        std::string bytes;
        std::vector<std::string> warnings;
    } cases[] = {
        {"a\r\nb\r\nc", {}},
        {"a\nb\n", {}},
        {"", {}},
        {"\xEF\xBB\xBF"
         "a\r\n",
         {"m.bas: starts with a UTF-8 byte order mark, which VB6 does not write; kept as it is"}},
        {"a\r\nb\r\nc\nd\re\r\n",
         {"m.bas:3: line ends in LF where line 1 ends in CR LF; each line keeps its own ending"}},
        {"a\rb\r\n", {"m.bas:2: line ends in CR LF where line 1 ends in CR; each line keeps its own ending"}},
    };
    for (const auto& c : cases) EXPECT_EQ(TextShapeWarnings(c.bytes, "m.bas"), c.warnings) << c.bytes;
}

// Files of every break kind, with and without a last break, with one byte turned into a break at every
// place: a file is told uniform in blocks of many bytes, so a stray break at a block's edge or at the
// very end is the case to catch.
TEST(TextShape, AStrayBreakIsFoundWhereverItStands) {
    for (const std::string eol : {"\r\n", "\n", "\r"})
        for (const bool lastBreak : {true, false}) {
            std::string uniform;
            while (uniform.size() < 300) uniform += "Dim x As Long" + eol;
            if (!lastBreak) uniform.resize(uniform.size() - eol.size());
            ASSERT_TRUE(TextShapeWarnings(uniform, "m.bas").empty()) << eol.size();
            for (const char stray : {'\r', '\n'}) {
                for (size_t at = 0; at < uniform.size(); ++at) {
                    std::string bytes = uniform;
                    bytes[at] = stray;
                    // The first line whose break differs from line 1's, as the lines themselves tell.
                    std::vector<std::string_view> eols;
                    ForEachPhysicalLine(bytes, [&](std::string_view, std::string_view e) {
                        eols.push_back(e);
                        return true;
                    });
                    bool differs = false;
                    for (size_t k = 1; k < eols.size() && !eols[k - 1].empty() && !differs; ++k)
                        differs = !eols[k].empty() && eols[k] != eols[0];
                    EXPECT_EQ(TextShapeWarnings(bytes, "m.bas").size(), differs ? 1u : 0u)
                        << "break of " << eol.size() << (lastBreak ? "" : ", no last break,") << " stray " << int(stray)
                        << " at " << at;
                }
            }
        }
}

}  // namespace
}  // namespace vex::ide
