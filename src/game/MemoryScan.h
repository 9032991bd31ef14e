#pragma once
// The walk over the game's address space that truncates copies of a text:
// which regions are searched and how they are read.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "game/PatternSearch.h"

namespace vireo {

// Rights for the walk: query the regions, read them and write the patches.
inline constexpr DWORD kScanAccess =
    PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION;
static_assert(kScanAccess == 0x438);

// Regions larger than this are never the game's ordinary data.
inline constexpr std::size_t kMaxScannedRegionSize = 0x450000;
// How much of a region is read at once. Each read is a round trip through the
// system, so small pieces cost calls, yet whole regions of a few megabytes
// read slower than pieces of this size (bench_scan shows both), and a piece
// this size is still in the processor's cache when it is searched.
inline constexpr std::size_t kScanPieceSize = 256 * 1024;

// Committed, not a mapped view, exactly PAGE_READWRITE (no guard, no cache
// modifier, not executable), and no larger than kMaxScannedRegionSize.
[[nodiscard]] bool isScannableRegion(const MEMORY_BASIC_INFORMATION& region) noexcept;

// The copies a walk met, and those it patched.
struct CopyCounts {
    std::uint32_t found = 0;
    std::uint32_t silenced = 0;
};

// Walks every region of the process from address 0 and patches every copy in
// the searchable ones with a single NUL byte, counting them. False at the
// first failed read or write (copies patched until then stay patched), or
// when memory for the search cannot be had.
[[nodiscard]] bool truncateCopiesInProcess(HANDLE process, const CopyFinder& finder,
                                           CopyCounts& counts) noexcept;

}  // namespace vireo
