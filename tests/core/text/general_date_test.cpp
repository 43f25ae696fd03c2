#include "text/general_date.h"

#include <gtest/gtest.h>

#include <ctime>

#include "fakes/scoped_env.h"

namespace vex::text {
namespace {

TEST(GeneralDate, TheCLocaleGivesDayMonthYearAndTwentyFourHourTime) {
    const auto when = std::chrono::system_clock::time_point{std::chrono::seconds(1'800'000'000 + 13 * 3600 + 5)};
    for (const char* locale : {"C", "POSIX", "C.UTF-8", "xx_NOT.installed"}) {
        vex::testing::ScopedEnv env{{"TZ", "UTC"}, {"LC_ALL", locale}};
        ::tzset();
        EXPECT_EQ(GeneralDate(when), "15/01/2027 21:00:05") << locale;
    }
    {
        vex::testing::ScopedEnv env{{"TZ", "UTC-2"}, {"LC_ALL", nullptr}, {"LC_TIME", nullptr}, {"LANG", nullptr}};
        ::tzset();
        EXPECT_EQ(GeneralDate(when), "15/01/2027 23:00:05") << "local time";
    }
    ::tzset();
}

}  // namespace
}  // namespace vex::text
