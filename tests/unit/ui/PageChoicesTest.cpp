// What the pages show for stored values that lie outside the choices, and
// the Status window's lines.

#include <gtest/gtest.h>

#include <climits>

#include "ui/PageChoices.h"

namespace vireo::test {
namespace {

TEST(PageChoicesTest, StoredValuesOutsideTheChoicesShowTheNeutralOne) {
    struct Row {
        std::int32_t stored;
        int colour, autoPause;
    };
    const Row rows[] = {
        {0, IDC_COLOR_WHITE, IDC_AUTOPAUSE_OFF},
        {1, IDC_COLOR_BLACK, IDC_AUTOPAUSE_VOLUME},
        {2, IDC_COLOR_GRAY, IDC_AUTOPAUSE_PAUSE},
        {3, IDC_COLOR_RED, IDC_AUTOPAUSE_OFF},
        {4, IDC_COLOR_WHITE, IDC_AUTOPAUSE_OFF},
        {7, IDC_COLOR_WHITE, IDC_AUTOPAUSE_OFF},
        {-1, IDC_COLOR_WHITE, IDC_AUTOPAUSE_OFF},
        {INT_MIN, IDC_COLOR_WHITE, IDC_AUTOPAUSE_OFF},
        {INT_MAX, IDC_COLOR_WHITE, IDC_AUTOPAUSE_OFF},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(colourControlFor(row.stored), row.colour) << row.stored;
        EXPECT_EQ(autoPauseControlFor(row.stored), row.autoPause) << row.stored;
    }
}

// The Status window's edit control ends its lines with CR LF.
TEST(PageChoicesTest, EditControlLinesEndWithCarriageReturnAndLineFeed) {
    struct Row {
        const char* text;
        const char* lines;
    };
    const Row rows[] = {
        {"", ""},
        {"Game: not running.\n", "Game: not running.\r\n"},
        {"\n\nlast", "\r\n\r\nlast"},
        {"a\r\nb\n", "a\r\nb\r\n"},  // a CR LF already there is not doubled
        {"a\rb", "a\rb"},
    };
    for (const Row& row : rows) EXPECT_EQ(editControlLines(row.text), row.lines) << row.text;
}

}  // namespace
}  // namespace vireo::test
