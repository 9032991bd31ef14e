#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fake_game/FakeGame.h"
#include "game/Landmarks.h"

namespace vireo::test::fake_game {
namespace {

constexpr std::size_t kMegabyte = 1024 * 1024;
constexpr std::size_t kPage = 0x1000;
constexpr std::size_t kChunk = 1024;
// Regions of a game's heaps and pools come in mixed sizes, none above 4 MB.
constexpr std::size_t kRegionSizes[] = {4 * kMegabyte, 1 * kMegabyte, 2 * kMegabyte, 512 * 1024,
                                        64 * 1024,     3 * kMegabyte, 256 * 1024};

struct Random {
    std::uint32_t state = 2463534242u;
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};

}  // namespace

bool plantFootprint(const Options& options, ControlBlock& block) {
    if (options.footprintMb == 0) return true;
    const std::size_t total = options.footprintMb * kMegabyte;
    const std::size_t n = landmarks::kUnknownCommandText.size();
    Random random;
    std::vector<std::pair<unsigned char*, std::size_t>> regions;
    for (std::size_t placed = 0, i = 0; placed < total; ++i) {
        std::size_t size = std::min(kRegionSizes[i % std::size(kRegionSizes)], total - placed);
        size = (size + kPage - 1) & ~(kPage - 1);
        auto* region = static_cast<unsigned char*>(
            ::VirtualAlloc(nullptr, size, kAllocationFlags, PAGE_READWRITE));
        if (!region) return false;
        // Arbitrary bytes, every page touched so it is really there.
        auto* words = reinterpret_cast<std::uint32_t*>(region);
        for (std::size_t w = 0; w < size / sizeof(std::uint32_t); ++w) words[w] = random.next();
        regions.emplace_back(region, size);
        placed += size;
    }
    block.regionCount = static_cast<std::uint32_t>(regions.size());
    for (const auto& region : regions) block.footprintBytes += region.second;

    // One copy per region, spread over the footprint; a third of them run
    // across a 1024-byte boundary and a third end exactly at one.
    for (unsigned c = 0; c < options.footprintCopies; ++c) {
        const auto& [base, size] = regions[(c * regions.size()) / options.footprintCopies];
        const std::size_t chunk = 1 + random.next() % (size / kChunk - 1);
        std::size_t offset = 0;
        switch (c % 3) {
            case 0:
                offset = chunk * kChunk - 7;
                break;
            case 1:
                offset = chunk * kChunk - n;
                break;
            default:
                offset = random.next() % (size - n);
                break;
        }
        writeCopy(reinterpret_cast<std::uintptr_t>(base + offset));
        if (!recordCopy(block, base + offset, CopyPlace::Footprint, true)) return false;
    }
    return true;
}

}  // namespace vireo::test::fake_game
