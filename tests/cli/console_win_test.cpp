#include "cli/console.h"

#include <gtest/gtest.h>

namespace vex::cli {
namespace {

TEST(ConsoleText, MessagesAreUtf8AndDiffedCodeWindows1252LineByLine) {
    const struct {
        std::string bytes;
        std::wstring shown;
    } cases[] = {
        {"vextools: d\xc3\xa9j\xc3\xa0 fait\n", L"vextools: d\u00e9j\u00e0 fait\n"},
        {"+    MsgBox \"Erreur \xe9\x80\"\r\n", L"+    MsgBox \"Erreur \u00e9\u20ac\"\r\n"},  // Windows-1252 code
        {"--- a/M\xc3\xa9thodes.bas\n+' caf\xe9\r\n", L"--- a/M\u00e9thodes.bas\n+' caf\u00e9\r\n"},  // one of each
        {"no line end", L"no line end"},
        {"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(ConsoleText(c.bytes), c.shown) << c.bytes;
}

}  // namespace
}  // namespace vex::cli
