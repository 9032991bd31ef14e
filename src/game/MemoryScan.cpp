#include "game/MemoryScan.h"

#include <cstdint>
#include <new>

namespace vireo {

#if !defined(_WIN64)
static_assert(sizeof(MEMORY_BASIC_INFORMATION) == 28, "region record");
#endif

bool isScannableRegion(const MEMORY_BASIC_INFORMATION& region) noexcept {
    return region.RegionSize <= kMaxScannedRegionSize && region.State == MEM_COMMIT &&
           region.Type != MEM_MAPPED && region.Protect == PAGE_READWRITE;
}

bool truncateCopiesInProcess(HANDLE process, const CopyFinder& finder,
                             CopyCounts& counts) noexcept {
    try {
        std::vector<unsigned char> buffer;
        MEMORY_BASIC_INFORMATION region{};
        std::uintptr_t address = 0;
        while (::VirtualQueryEx(process, reinterpret_cast<LPCVOID>(address), &region,
                                sizeof region) != 0) {
            const auto base = reinterpret_cast<std::uintptr_t>(region.BaseAddress);
            if (isScannableRegion(region)) {
                const RegionReader read = [&](std::size_t offset, unsigned char* to,
                                              std::size_t count) {
                    SIZE_T got = 0;
                    return ::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(base + offset),
                                               to, count, &got) &&
                           got == count;
                };
                // One NUL at the start turns the copy into an empty text.
                const CopyPatcher patch = [&](std::size_t offset) {
                    const unsigned char nul = 0;
                    SIZE_T put = 0;
                    ++counts.found;
                    const bool patched =
                        ::WriteProcessMemory(process, reinterpret_cast<LPVOID>(base + offset),
                                             &nul, 1, &put) &&
                        put == 1;
                    if (patched) ++counts.silenced;
                    return patched;
                };
                if (!searchRegion(finder, region.RegionSize, kScanPieceSize, buffer, read, patch))
                    return false;
            }
            const std::uintptr_t next = base + region.RegionSize;
            if (next <= address) break;  // the top of the address space
            address = next;
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace vireo
