#include <algorithm>
#include <cstring>

#include "fake_game/FakeGame.h"
#include "game/Landmarks.h"

namespace vireo::test::fake_game {
namespace {

constexpr std::uintptr_t kAllocationGranularity = 0x10000;
constexpr std::uintptr_t kPageSize = 0x1000;

// Reserves the 64 KB block around the address and commits the pages that
// hold [address, address + size), so each landmark lies in a small region of
// its own. Answers the first committed page.
void* commitAt(std::uintptr_t address, std::size_t size = 1) {
    const std::uintptr_t block = address & ~(kAllocationGranularity - 1);
    const std::uintptr_t page = address & ~(kPageSize - 1);
    const std::uintptr_t end = (address + size + kPageSize - 1) & ~(kPageSize - 1);
    // Two landmarks may share a block: a second reservation then fails, and
    // the commit below still succeeds inside the first.
    ::VirtualAlloc(reinterpret_cast<void*>(block), kAllocationGranularity, MEM_RESERVE,
                   PAGE_NOACCESS);
    return ::VirtualAlloc(reinterpret_cast<void*>(page), end - page, MEM_COMMIT, PAGE_READWRITE);
}

}  // namespace

bool setUpLandmarks(const Options& options) {
    const std::uintptr_t pages[] = {
        landmarks::kPlayerStateAddress,
        landmarks::kLandmarks2343.capturedLine,
        landmarks::kLandmarksDefault.capturedLine,
        landmarks::kLandmarks2343.modName,
        landmarks::kLandmarksDefault.modName,
    };
    for (std::uintptr_t address : pages)
        if (!commitAt(address)) return false;

    const bool is2343 = options.buildMarker == landmarks::kBuildMarker2343;
    if (options.buildMarker) {
        auto* marker = static_cast<unsigned char*>(commitAt(landmarks::kBuildMarkerAddress));
        if (!marker) return false;
        marker += landmarks::kBuildMarkerAddress & (kPageSize - 1);
        marker[0] = static_cast<unsigned char>(*options.buildMarker & 0xFF);  // little-endian
        marker[1] = static_cast<unsigned char>(*options.buildMarker >> 8);
    }
    // Only the set the marker selects holds the mod name, so reading the
    // other set's address gives an empty name.
    const landmarks::LandmarkSet& set =
        is2343 ? landmarks::kLandmarks2343 : landmarks::kLandmarksDefault;
    const std::size_t length = std::min(options.modName.size(), landmarks::kModNameSize);
    std::memcpy(reinterpret_cast<char*>(set.modName), options.modName.data(), length);
    return true;
}

ControlBlock* setUpControlBlock() {
    auto* block = static_cast<ControlBlock*>(commitAt(kControlBlockAddress, sizeof(ControlBlock)));
    if (block) block->magic = kControlMagic;
    return block;
}

}  // namespace vireo::test::fake_game
