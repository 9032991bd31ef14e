#include <cstring>
#include <string_view>

#include "fake_game/FakeGame.h"
#include "game/Landmarks.h"

namespace vireo::test::fake_game {
namespace {

constexpr std::string_view kText = landmarks::kUnknownCommandText;
constexpr std::size_t kChunk = 1024;                // the read size of the plain scan
constexpr std::size_t kScanRegionLimit = 0x450000;  // the largest region a scan searches
constexpr std::size_t kPage = 0x1000;
constexpr std::size_t kArenaSize = 0x10000;
constexpr std::size_t kInside = 100;  // a copy well inside a page

// A copy in the program's own initialised data. Whether the system reports
// its page PAGE_READWRITE once written differs between Windows and Wine.
char gImageData[256] = "fake game data";

unsigned char* allocate(std::size_t size, DWORD protect) {
    return static_cast<unsigned char*>(::VirtualAlloc(nullptr, size, kAllocationFlags, protect));
}

MEMORY_BASIC_INFORMATION regionOf(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    ::VirtualQuery(address, &info, sizeof info);
    return info;
}

// Runs f with the copy's page readable and writable, lifting a guard or a
// read-only protection for the time of the call.
template <typename F>
void withAccess(std::uintptr_t address, F f) {
    const DWORD protect = regionOf(reinterpret_cast<void*>(address)).Protect;
    const DWORD writable =
        PAGE_READWRITE | PAGE_EXECUTE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_WRITECOPY;
    const bool plain = (protect & writable) != 0 && (protect & PAGE_GUARD) == 0;
    void* at = reinterpret_cast<void*>(address);
    DWORD old = 0;
    if (!plain) ::VirtualProtect(at, kText.size(), PAGE_READWRITE, &old);
    f(static_cast<unsigned char*>(at));
    if (!plain) ::VirtualProtect(at, kText.size(), old, &old);
}

bool plant(ControlBlock& block, unsigned char* at, CopyPlace place, bool mustBePatched) {
    writeCopy(reinterpret_cast<std::uintptr_t>(at));
    return recordCopy(block, at, place, mustBePatched);
}

}  // namespace

void writeCopy(std::uintptr_t address) {
    withAccess(address, [](unsigned char* at) { std::memcpy(at, kText.data(), kText.size()); });
}

bool recordCopy(ControlBlock& block, void* address, CopyPlace place, bool mustBePatched) {
    if (block.copyCount >= kMaxPlantedCopies) return false;
    const MEMORY_BASIC_INFORMATION info = regionOf(address);
    PlantedCopy& copy = block.copies[block.copyCount++];
    copy.address = reinterpret_cast<std::uintptr_t>(address);
    copy.place = static_cast<std::uint32_t>(place);
    copy.mustBePatched = mustBePatched ? 1 : 0;
    copy.firstByte = static_cast<unsigned char>(kText[0]);
    copy.restIntact = 1;
    copy.regionProtect = info.Protect;
    copy.regionType = info.Type;
    copy.regionSize = info.RegionSize;
    return true;
}

bool plantTestCopies(ControlBlock& block) {
    const std::size_t n = kText.size();
    bool ok = true;

    // Ordinary private data: placements that trip a scan reading fixed chunks.
    unsigned char* arena = allocate(kArenaSize, PAGE_READWRITE);
    if (!arena) return false;
    ok &= plant(block, arena + kInside, CopyPlace::PrivateData, true);
    ok &= plant(block, arena + 2 * kChunk - 7, CopyPlace::AcrossChunk, true);
    ok &= plant(block, arena + 4 * kChunk - n, CopyPlace::AtChunkEnd, true);
    ok &= plant(block, arena + 8 * kChunk, CopyPlace::BackToBack, true);
    ok &= plant(block, arena + 8 * kChunk + n, CopyPlace::BackToBack, true);
    ok &= plant(block, arena + kArenaSize - n, CopyPlace::AtRegionEnd, true);

    auto* heapBlock = static_cast<unsigned char*>(::HeapAlloc(::GetProcessHeap(), 0, 64));
    if (!heapBlock) return false;
    ok &= plant(block, heapBlock + 8, CopyPlace::Heap, true);

    auto* imageCopy = reinterpret_cast<unsigned char*>(gImageData + 16);
    writeCopy(reinterpret_cast<std::uintptr_t>(imageCopy));
    const MEMORY_BASIC_INFORMATION image = regionOf(imageCopy);
    ok &= recordCopy(block, imageCopy, CopyPlace::ImageData,
                     image.Protect == PAGE_READWRITE && image.RegionSize <= kScanRegionLimit);

    // The largest region searched, with copies across and at the ends of
    // 256 KB pieces as well, and one a page larger that is skipped.
    unsigned char* limit = allocate(kScanRegionLimit, PAGE_READWRITE);
    unsigned char* overLimit = allocate(kScanRegionLimit + kPage, PAGE_READWRITE);
    if (!limit || !overLimit) return false;
    ok &= plant(block, limit + 0x100000, CopyPlace::LimitSizeRegion, true);
    ok &= plant(block, limit + 0x40000 - 7, CopyPlace::AcrossChunk, true);
    ok &= plant(block, limit + 0x80000 - n, CopyPlace::AtChunkEnd, true);
    ok &= plant(block, limit + kScanRegionLimit - n, CopyPlace::AtRegionEnd, true);
    ok &= plant(block, overLimit + 0x100000, CopyPlace::OverLimitRegion, false);
    ok &= plant(block, overLimit + kScanRegionLimit + kPage - n, CopyPlace::OverLimitRegion, false);

    unsigned char* executable = allocate(kPage, PAGE_EXECUTE_READWRITE);
    unsigned char* guarded = allocate(kPage, PAGE_READWRITE);
    unsigned char* readOnly = allocate(kPage, PAGE_READWRITE);
    if (!executable || !guarded || !readOnly) return false;
    DWORD old = 0;
    writeCopy(reinterpret_cast<std::uintptr_t>(guarded + kInside));
    writeCopy(reinterpret_cast<std::uintptr_t>(readOnly + kInside));
    ::VirtualProtect(guarded, kPage, PAGE_READWRITE | PAGE_GUARD, &old);
    ::VirtualProtect(readOnly, kPage, PAGE_READONLY, &old);
    ok &= plant(block, executable + kInside, CopyPlace::ExecuteReadWrite, false);
    ok &= recordCopy(block, guarded + kInside, CopyPlace::Guarded, false);
    ok &= recordCopy(block, readOnly + kInside, CopyPlace::ReadOnly, false);

    // The mapping stays open for the life of the process.
    HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          static_cast<DWORD>(kArenaSize), nullptr);
    if (!mapping) return false;
    auto* view = static_cast<unsigned char*>(
        ::MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kArenaSize));
    if (!view) return false;
    ok &= plant(block, view + kInside, CopyPlace::MappedView, false);
    return ok;
}

void reportCopies(ControlBlock& block) {
    for (std::uint32_t i = 0; i < block.copyCount; ++i) {
        PlantedCopy& copy = block.copies[i];
        withAccess(copy.address, [&copy](unsigned char* at) {
            copy.firstByte = at[0];
            copy.restIntact = std::memcmp(at + 1, kText.data() + 1, kText.size() - 1) == 0;
        });
    }
    ++block.reportCount;
}

void replantCopies(ControlBlock& block) {
    for (std::uint32_t i = 0; i < block.copyCount; ++i) writeCopy(block.copies[i].address);
}

}  // namespace vireo::test::fake_game
