// The three clock formats on fixed times.

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "macros/Macros.h"

namespace vireo::test {
namespace {

std::tm at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    return local;
}

TEST(ClockFormatTest, TimeOnTheTwelveHourClock) {
    const struct {
        int hour, minute, second;
        const char* expected;
    } rows[] = {
        {0, 0, 0, "12:00:00 AM"},    {0, 5, 9, "12:05:09 AM"},    {1, 2, 3, "01:02:03 AM"},
        {11, 59, 59, "11:59:59 AM"}, {12, 0, 0, "12:00:00 PM"},   {13, 0, 0, "01:00:00 PM"},
        {15, 7, 9, "03:07:09 PM"},   {23, 59, 59, "11:59:59 PM"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(formatTimeText(at(2004, 1, 9, row.hour, row.minute, row.second)), row.expected)
            << row.expected;
}

TEST(ClockFormatTest, ShortAndLongDates) {
    const struct {
        int year, month, day;
        const char* shortDate;
        const char* longDate;
    } rows[] = {
        {2004, 1, 9, "01/09/04", "January 09, 2004"},
        {2003, 3, 5, "03/05/03", "March 05, 2003"},
        {2000, 12, 31, "12/31/00", "December 31, 2000"},
        {1999, 2, 28, "02/28/99", "February 28, 1999"},
        {2010, 4, 1, "04/01/10", "April 01, 2010"},
        {2011, 5, 2, "05/02/11", "May 02, 2011"},
        {2012, 6, 3, "06/03/12", "June 03, 2012"},
        {2013, 7, 4, "07/04/13", "July 04, 2013"},
        {2014, 8, 15, "08/15/14", "August 15, 2014"},
        {2015, 9, 16, "09/16/15", "September 16, 2015"},
        {2016, 10, 17, "10/17/16", "October 17, 2016"},
        {2017, 11, 30, "11/30/17", "November 30, 2017"},
    };
    for (const auto& row : rows) {
        const std::tm local = at(row.year, row.month, row.day);
        EXPECT_EQ(formatShortDateText(local), row.shortDate);
        EXPECT_EQ(formatDateText(local), row.longDate);
    }
}

}  // namespace
}  // namespace vireo::test
