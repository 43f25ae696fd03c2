#include "ini/profile_writer.h"

#include <gtest/gtest.h>

namespace vex::ini {
namespace {

TEST(ProfileWriter, AddsReplacesAndKeepsOtherLinesExactly) {
    struct Case {
        const char* name;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const Case cases[] = {
        {"new file", "", "S", "k", "v", "[S]\nk=v\n"},
        {"new section after others", "[A]\nx=1 \n", "B", "k", "v", "[A]\nx=1 \n\n[B]\nk=v\n"},
        {"no final line break", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        {"replace in place", "[A]\nx=1\ny=2\n[B]\nx=9\n", "a", "X", "5", "[A]\nX=5\ny=2\n[B]\nx=9\n"},
        {"add at the end of the section", "[A]\nx=1\n\n[B]\ny=2\n", "A", "z", "3", "[A]\nx=1\nz=3\n\n[B]\ny=2\n"},
        {"same key in another section untouched", "[A]\nk=1\n[B]\nk=2\n", "B", "k", "3", "[A]\nk=1\n[B]\nk=3\n"},
        {"CR LF file keeps its line end", "[A]\r\nk=1\r\n", "A", "k", "2", "[A]\r\nk=2\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetProfileStrings(c.before, c.section, {{c.key, c.value}}), c.after) << c.name;
}

}  // namespace
}  // namespace vex::ini
