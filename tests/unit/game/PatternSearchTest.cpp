// Finding and patching every copy of a text in bytes read piece by piece.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/Landmarks.h"
#include "game/PatternSearch.h"

namespace vireo::test {
namespace {

using Offsets = std::vector<std::size_t>;

const std::string kText(landmarks::kUnknownCommandText);

Offsets findIn(const std::string& bytes, const std::string& pattern) {
    return CopyFinder(pattern).findAll(reinterpret_cast<const unsigned char*>(bytes.data()),
                                       bytes.size());
}

TEST(PatternSearchTest, FindsEveryCopyInABuffer) {
    const std::string filler(50, '.');
    EXPECT_EQ(findIn(kText, kText), Offsets{0});
    EXPECT_EQ(findIn(filler + kText + filler + kText, kText), (Offsets{50, 119}));
    EXPECT_EQ(findIn(kText + kText, kText), (Offsets{0, 19})) << "back to back";
    EXPECT_EQ(findIn(filler + kText, kText), Offsets{50}) << "at the very end";
    EXPECT_EQ(findIn(kText.substr(0, 18), kText), Offsets{}) << "shorter than the pattern";
    EXPECT_EQ(findIn(filler + kText.substr(0, 18) + "t" + filler, kText), Offsets{})
        << "last byte differs";
    EXPECT_EQ(findIn("Xnknown command: %s", kText), Offsets{}) << "first byte differs";
    EXPECT_EQ(findIn("unknown command: %s", kText), Offsets{}) << "case matters";
    EXPECT_EQ(findIn("", kText), Offsets{});
    EXPECT_EQ(findIn(std::string("\0Unknown command: %s\0", 21), kText), Offsets{1});
    // The search runs through both halves of the start positions at once.
    EXPECT_EQ(findIn(std::string(40, '.') + kText + std::string(40, '.'), kText), Offsets{40})
        << "at the first start of the second half";
    EXPECT_EQ(findIn(std::string(30, '.') + kText + std::string(50, '.'), kText), Offsets{30})
        << "across the middle";
    EXPECT_EQ(findIn(kText + filler + kText + kText, kText), (Offsets{0, 69, 88}))
        << "in both halves, in order";
}

TEST(PatternSearchTest, OverlappingCopiesAreAllFound) {
    EXPECT_EQ(findIn("aaaa", "aa"), (Offsets{0, 1, 2}));
    EXPECT_EQ(findIn("abababa", "aba"), (Offsets{0, 2, 4}));
    EXPECT_EQ(findIn("xxabcabcabx", "abcab"), (Offsets{2, 5}));
}

TEST(PatternSearchTest, PatternsShorterThanTwoBytesFindNothing) {
    EXPECT_FALSE(CopyFinder("").searchable());
    EXPECT_FALSE(CopyFinder("a").searchable());
    EXPECT_TRUE(CopyFinder("ab").searchable());
    EXPECT_EQ(findIn("aaaa", ""), Offsets{});
    EXPECT_EQ(findIn("aaaa", "a"), Offsets{});
    EXPECT_EQ(findIn(std::string(4, '\0'), std::string(1, '\0')), Offsets{});
}

// A region held in memory, read and patched through searchRegion as the scan
// does with the game's memory.
struct FakeRegion {
    explicit FakeRegion(std::string content) : bytes(std::move(content)) {}

    std::string bytes;
    Offsets patched;
    std::size_t reads = 0;
    std::size_t failReadAt = SIZE_MAX;   // the read covering this offset fails
    std::size_t failPatchAt = SIZE_MAX;  // the patch of this offset fails

    bool search(const std::string& pattern, std::size_t pieceSize) {
        std::vector<unsigned char> buffer;
        return searchRegion(
            CopyFinder(pattern), bytes.size(), pieceSize, buffer,
            [this](std::size_t offset, unsigned char* to, std::size_t count) {
                ++reads;
                if (failReadAt >= offset && failReadAt < offset + count) return false;
                bytes.copy(reinterpret_cast<char*>(to), count, offset);
                return true;
            },
            [this](std::size_t offset) {
                if (offset == failPatchAt) return false;
                bytes[offset] = '\0';
                patched.push_back(offset);
                return true;
            });
    }
};

std::string regionWith(std::size_t size, const Offsets& copies) {
    std::string bytes(size, '.');
    for (std::size_t at : copies) bytes.replace(at, kText.size(), kText);
    return bytes;
}

TEST(PatternSearchTest, CopiesAcrossAndAtTheEndsOfPiecesArePatchedOnce) {
    const std::size_t n = kText.size();
    const struct {
        const char* what;
        std::size_t size;
        std::size_t piece;
        Offsets copies;
    } cases[] = {
        {"across a 1024-byte piece border", 4096, 1024, {1024 - 7}},
        {"ending exactly at a piece's end", 4096, 1024, {1024 - n}},
        {"starting exactly at a piece border", 4096, 1024, {1024}},
        {"at the region's start and end", 4096, 1024, {0, 4096 - n}},
        {"back to back across a border", 4096, 1024, {1024 - n - 3, 1024 - 3}},
        {"in the overlap of two pieces", 4096, 1024, {1024 - n + 1}},
        {"many, small pieces", 4096, 64, {10, 64 - 7, 128 - n, 200, 200 + n, 4096 - n}},
        {"piece smaller than the pattern", 1024, 4, {0, 100, 1024 - n}},
        {"one piece for the whole region", 0x450000, 0x450000, {0x40000 - 7, 0x450000 - n}},
        {"256 KB pieces", 0x450000, 0x40000, {0x40000 - 7, 0x80000 - n, 0xC0000, 0x450000 - n}},
    };
    for (const auto& c : cases) {
        FakeRegion region{regionWith(c.size, c.copies)};
        EXPECT_TRUE(region.search(kText, c.piece)) << c.what;
        EXPECT_EQ(region.patched, c.copies) << c.what;
        EXPECT_EQ(region.bytes.find(kText.substr(1)),
                  c.copies.empty() ? std::string::npos : c.copies[0] + 1)
            << c.what << ": only the first byte of a copy changes";
    }
}

TEST(PatternSearchTest, ARegionTooSmallOrAShortPatternIsNotRead) {
    FakeRegion small{std::string(kText.size() - 1, 'U')};
    EXPECT_TRUE(small.search(kText, 1024));
    FakeRegion empty{""};
    EXPECT_TRUE(empty.search(kText, 1024));
    FakeRegion shortPattern{std::string(100, 'a')};
    EXPECT_TRUE(shortPattern.search("a", 1024));
    EXPECT_EQ(small.reads + empty.reads + shortPattern.reads, 0u);
    EXPECT_TRUE(shortPattern.patched.empty());
}

TEST(PatternSearchTest, AFailedReadOrPatchStopsTheSearchAndKeepsEarlierPatches) {
    const Offsets copies{100, 3000, 6000};
    FakeRegion readFails{regionWith(8192, copies)};
    readFails.failReadAt = 5000;
    EXPECT_FALSE(readFails.search(kText, 1024));
    EXPECT_EQ(readFails.patched, (Offsets{100, 3000}));

    FakeRegion patchFails{regionWith(8192, copies)};
    patchFails.failPatchAt = 3000;
    EXPECT_FALSE(patchFails.search(kText, 1024));
    EXPECT_EQ(patchFails.patched, Offsets{100});
}

}  // namespace
}  // namespace vireo::test
