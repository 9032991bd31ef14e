// Truncating every copy of the unknown-command message in the game's
// ordinary writable memory, and only there, against the copies fake_game.exe
// plants in every kind of region.

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "game/GameLocator.h"
#include "game/ProcessMemory.h"
#include "support/FakeGame.h"
#include "support/FakeGameControl.h"
#include "system/game/HandleCheck.h"

namespace vireo::test {
namespace {

using fake_game::CopyPlace;
using fake_game::PlantedCopy;

const std::string kText(landmarks::kUnknownCommandText);

std::string describe(const PlantedCopy& copy) {
    std::ostringstream out;
    out << "copy at 0x" << std::hex << copy.address << " place " << std::dec << copy.place
        << " (region 0x" << std::hex << copy.regionSize << " protect 0x" << copy.regionProtect
        << " type 0x" << copy.regionType << ")";
    return out.str();
}

void expectAllIntact(const fake_game::ControlBlock& block, const char* when) {
    for (std::uint32_t i = 0; i < block.copyCount; ++i) {
        const PlantedCopy& copy = block.copies[i];
        EXPECT_TRUE(copy.firstByte == static_cast<unsigned char>(kText[0]) && copy.restIntact)
            << when << ": " << describe(copy);
    }
}

TEST(ScanTest, EveryCopyInOrdinaryWritableDataIsTruncatedAndNothingElse) {
    FakeGameProcess game;
    ASSERT_TRUE(game.start()) << game.failure();
    const auto planted = game.report();
    ASSERT_TRUE(planted);
    std::set<std::uint32_t> places;
    for (std::uint32_t i = 0; i < planted->copyCount; ++i) places.insert(planted->copies[i].place);
    EXPECT_EQ(places.size(), static_cast<std::size_t>(CopyPlace::MappedView))
        << "a place is missing";
    expectAllIntact(*planted, "before the scan");

    const HANDLE thread = ::GetCurrentThread();
    ASSERT_TRUE(::SetThreadPriority(thread, THREAD_PRIORITY_NORMAL));
    EXPECT_TRUE(truncateAllCopies("Unknown command: %t"));
    auto block = game.report();
    ASSERT_TRUE(block);
    expectAllIntact(*block, "after a scan for a text that is not there");

    EXPECT_TRUE(truncateAllCopies(kText));
    EXPECT_EQ(::GetThreadPriority(thread), THREAD_PRIORITY_NORMAL);
    block = game.report();
    ASSERT_TRUE(block);
    for (std::uint32_t i = 0; i < block->copyCount; ++i) {
        const PlantedCopy& copy = block->copies[i];
        const unsigned expectedFirst =
            copy.mustBePatched ? 0 : static_cast<unsigned char>(kText[0]);
        EXPECT_EQ(copy.firstByte, expectedFirst) << describe(copy);
        EXPECT_TRUE(copy.restIntact) << "only the first byte may change: " << describe(copy);
    }

    // Once more: nothing is left to patch, and the scan still completes,
    // handing back whatever priority the caller's thread had.
    for (int priority :
         {THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL}) {
        ASSERT_TRUE(::SetThreadPriority(thread, priority));
        EXPECT_TRUE(truncateAllCopies(kText));
        EXPECT_EQ(::GetThreadPriority(thread), priority);
    }
    expectNoHandleLeft("truncateAllCopies", [] { truncateAllCopies(kText); });
}

TEST(ScanTest, PatternsShorterThanTwoBytesAreRefused) {
    FakeGameProcess game;
    ASSERT_TRUE(game.start()) << game.failure();
    EXPECT_FALSE(truncateAllCopies(""));
    EXPECT_FALSE(truncateAllCopies("U"));
    const auto block = game.report();
    ASSERT_TRUE(block);
    expectAllIntact(*block, "after a one-byte pattern");
}

TEST(ScanTest, WithoutAGameTheScanFailsAtOnce) {
    ASSERT_EQ(findGameWindow(), nullptr);
    const HANDLE thread = ::GetCurrentThread();
    ASSERT_TRUE(::SetThreadPriority(thread, THREAD_PRIORITY_NORMAL));
    EXPECT_FALSE(truncateAllCopies(kText));
    EXPECT_EQ(::GetThreadPriority(thread), THREAD_PRIORITY_NORMAL);
    expectNoHandleLeft("truncateAllCopies", [] { truncateAllCopies(kText); });
}

}  // namespace
}  // namespace vireo::test
