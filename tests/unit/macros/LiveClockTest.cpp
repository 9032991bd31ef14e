// The live wrappers' shape: they read the system's clock, so they run only
// in the Windows build.

#include <gtest/gtest.h>

#include <string>

#include "macros/Macros.h"

namespace vireo::test {
namespace {

TEST(ClockFormatTest, LiveTextsHaveTheirShape) {
    const std::string time = getTimeText();
    ASSERT_EQ(time.size(), 11u) << time;
    EXPECT_EQ(time[2], ':');
    EXPECT_EQ(time[5], ':');
    EXPECT_TRUE(time.substr(8) == " AM" || time.substr(8) == " PM") << time;

    const std::string shortDate = getShortDateText();
    ASSERT_EQ(shortDate.size(), 8u) << shortDate;
    EXPECT_EQ(shortDate[2], '/');
    EXPECT_EQ(shortDate[5], '/');

    // The long date ends in the four-digit year whose last two digits the
    // short date shows (read a moment apart: skip the stroke of New Year).
    const std::string date = getDateText();
    ASSERT_GE(date.size(), 6u) << date;
    if (date.substr(date.size() - 2) != shortDate.substr(6)) {
        EXPECT_EQ(shortDate.substr(0, 5), "01/01") << date << " vs " << shortDate;
    }
}

}  // namespace
}  // namespace vireo::test
