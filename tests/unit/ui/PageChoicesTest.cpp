// What the pages show for stored values that lie outside the choices.

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

}  // namespace
}  // namespace vireo::test
