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
        {"\xEF\xBB\xBF" "a\r\n", {"m.bas: starts with a UTF-8 byte order mark, which VB6 does not write; kept as it is"}},
        {"a\r\nb\r\nc\nd\re\r\n", {"m.bas:3: line ends in LF where line 1 ends in CR LF; each line keeps its own ending"}},
        {"a\rb\r\n", {"m.bas:2: line ends in CR LF where line 1 ends in CR; each line keeps its own ending"}},
    };
    for (const auto& c : cases) EXPECT_EQ(TextShapeWarnings(c.bytes, "m.bas"), c.warnings) << c.bytes;
}

}  // namespace
}  // namespace vex::ide
