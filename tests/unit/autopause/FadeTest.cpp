#include <gtest/gtest.h>

#include "autopause/Fade.h"

namespace vireo {
namespace {

TEST(FadeTest, PercentToWinampVolume) {
    EXPECT_EQ(fadeVolume(25), 63);
    EXPECT_EQ(fadeVolume(100), 255);
    EXPECT_EQ(fadeVolume(50), 127);
    EXPECT_EQ(fadeVolume(0), 0);
    // Held to Winamp's scale, which keeps only the low byte of a volume.
    EXPECT_EQ(fadeVolume(120), 255);
    EXPECT_EQ(fadeVolume(101), 255);
    EXPECT_EQ(fadeVolume(-10), 0);
    EXPECT_EQ(fadeVolume(2147483647), 255);
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
    // FadeinTarget 120 fades exactly like 100: 63, 68, ..., 253 and 255, 250, ..., 65.
    EXPECT_EQ(fadeSteps(fadeVolume(25), fadeVolume(120), FadeDirection::Up),
              fadeSteps(63, 255, FadeDirection::Up));
    EXPECT_EQ(fadeSteps(fadeVolume(120), fadeVolume(25), FadeDirection::Down),
              fadeSteps(255, 63, FadeDirection::Down));
}

}  // namespace
}  // namespace vireo
