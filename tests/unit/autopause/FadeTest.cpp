#include <gtest/gtest.h>

#include "autopause/Fade.h"

namespace vireo {
namespace {

TEST(FadeTest, PercentToWinampVolume) {
    EXPECT_EQ(fadeVolume(25), 63);
    EXPECT_EQ(fadeVolume(100), 255);
    EXPECT_EQ(fadeVolume(50), 127);
    EXPECT_EQ(fadeVolume(120), 306);
    EXPECT_EQ(fadeVolume(0), 0);
    EXPECT_EQ(fadeVolume(-10), -25);
}

TEST(FadeTest, StepsStopOneShortOfTheTarget) {
    const std::vector<std::int32_t> in = fadeSteps(63, 255, FadeDirection::Up);
    ASSERT_EQ(in.size(), 39u);
    EXPECT_EQ(in.front(), 63);
    EXPECT_EQ(in[1], 68);
    EXPECT_EQ(in.back(), 253);
    const std::vector<std::int32_t> out = fadeSteps(255, 63, FadeDirection::Down);
    ASSERT_EQ(out.size(), 39u);
    EXPECT_EQ(out.front(), 255);
    EXPECT_EQ(out.back(), 65);
    EXPECT_TRUE(fadeSteps(127, 127, FadeDirection::Up).empty());
    EXPECT_TRUE(fadeSteps(127, 127, FadeDirection::Down).empty());
    EXPECT_EQ(fadeSteps(0, 255, FadeDirection::Up).size(), 51u);
    // Inverted targets (FadeinTarget 25, FadeoutTarget 100): a death fades up
    // from 255 to 63 and a spawn down from 63 to 255, so neither sends anything.
    EXPECT_TRUE(fadeSteps(255, 63, FadeDirection::Up).empty());
    EXPECT_TRUE(fadeSteps(63, 255, FadeDirection::Down).empty());
}

TEST(FadeTest, AbsurdTargetsCannotHoldWinampForMinutes) {
    EXPECT_EQ(fadeSteps(0, 2147483647, FadeDirection::Up).size(), kMaxFadeSteps);
    EXPECT_EQ(fadeSteps(2147483647, -2147483647 - 1, FadeDirection::Down).size(), kMaxFadeSteps);
    EXPECT_EQ(fadeSteps(63, 306, FadeDirection::Up).size(), 49u);  // 120 % still fades whole
}

}  // namespace
}  // namespace vireo
