// The unknown-command scan over a game holding a realistic amount of writable
// data: fake_game.exe with a 200 MB footprint in regions of at most 4 MB and
// a few dozen copies. Prints, from one run, the time of the scan, of the
// plain 1024-byte loop it replaced (the baseline), and of just reading every
// searchable byte once (the floor), each the best of a few rounds.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/UniqueResource.h"
#include "game/Landmarks.h"
#include "game/MemoryScan.h"
#include "game/ProcessMemory.h"
#include "support/FakeGame.h"

namespace vireo::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kFootprintMb = 200;
constexpr unsigned kFootprintCopies = 40;
constexpr int kRounds = 3;
constexpr std::size_t kPlainChunk = 1024;
constexpr double kMegabyte = 1024.0 * 1024.0;

struct Walk {
    std::size_t regions = 0;
    std::size_t bytes = 0;
    bool completed = true;
};

template <typename PerRegion>
Walk walkSearchableRegions(HANDLE process, PerRegion perRegion) {
    Walk walk;
    MEMORY_BASIC_INFORMATION region{};
    std::uintptr_t address = 0;
    while (::VirtualQueryEx(process, reinterpret_cast<LPCVOID>(address), &region, sizeof region)) {
        const auto base = reinterpret_cast<std::uintptr_t>(region.BaseAddress);
        if (isScannableRegion(region)) {
            ++walk.regions;
            walk.bytes += region.RegionSize;
            if (!perRegion(base, region.RegionSize)) {
                walk.completed = false;
                return walk;
            }
        }
        if (base + region.RegionSize <= address) break;
        address = base + region.RegionSize;
    }
    return walk;
}

// The floor: every searchable byte read once, a whole region per call.
Walk readEverything(HANDLE process) {
    std::vector<unsigned char> buffer(kMaxScannedRegionSize);
    return walkSearchableRegions(process, [&](std::uintptr_t base, std::size_t size) {
        SIZE_T got = 0;
        return ::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(base), buffer.data(), size,
                                   &got) != 0;
    });
}

// The baseline: the scan's loop as it was first written, kept here only to be
// measured. Each 1024-byte chunk is searched on its own, at start positions
// below (bytes read - n), so it misses a copy that runs across two chunks or
// ends exactly at a chunk's end.
Walk plainChunkScan(HANDLE process, const std::string& pattern) {
    const std::size_t n = pattern.size();
    unsigned char chunk[kPlainChunk];
    return walkSearchableRegions(process, [&](std::uintptr_t base, std::size_t size) {
        for (std::size_t offset = 0; offset < size; offset += kPlainChunk) {
            SIZE_T got = 0;
            if (!::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(base + offset), chunk,
                                     kPlainChunk, &got))
                return false;
            if (got < n) break;
            for (std::size_t s = 0; s < got - n; ++s) {
                if (chunk[s] != static_cast<unsigned char>(pattern[0]) ||
                    chunk[s + 1] != static_cast<unsigned char>(pattern[1]) ||
                    std::memcmp(chunk + s, pattern.data(), n) != 0)
                    continue;
                const unsigned char nul = 0;
                if (!::WriteProcessMemory(process, reinterpret_cast<LPVOID>(base + offset + s),
                                          &nul, 1, nullptr))
                    return false;
            }
        }
        return true;
    });
}

double millisecondsOf(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

template <typename F>
double timed(F f) {
    const auto start = Clock::now();
    f();
    return millisecondsOf(Clock::now() - start);
}

struct Patched {
    unsigned patched = 0;
    unsigned expected = 0;
};

Patched countPatched(const FakeGameProcess& game) {
    Patched count;
    const auto block = game.report();
    if (!block) return count;
    for (std::uint32_t i = 0; i < block->copyCount; ++i) {
        count.expected += block->copies[i].mustBePatched;
        count.patched += block->copies[i].mustBePatched && block->copies[i].firstByte == 0;
    }
    return count;
}

int run() {
    FakeGameOptions options;
    options.footprintMb = kFootprintMb;
    options.footprintCopies = kFootprintCopies;
    FakeGameProcess game(options);
    if (!game.start(std::chrono::minutes(2))) {
        std::printf("the fake game did not start: %s\n", game.failure().c_str());
        return 1;
    }
    UniqueHandle process{::OpenProcess(kScanAccess, FALSE, game.processId())};
    if (!process) {
        std::printf("cannot open the fake game\n");
        return 1;
    }
    const std::string pattern(landmarks::kUnknownCommandText);

    Walk floorWalk = readEverything(process.get());  // warms the pages once
    double floorMs = 1e300, plainMs = 1e300, scanMs = 1e300;
    Patched plainPatched, scanPatched;
    bool scanOk = true;
    for (int round = 0; round < kRounds; ++round) {
        floorMs = std::min(floorMs, timed([&] { floorWalk = readEverything(process.get()); }));
        game.replant();
        plainMs = std::min(plainMs, timed([&] { plainChunkScan(process.get(), pattern); }));
        plainPatched = countPatched(game);
        game.replant();
        scanMs = std::min(scanMs, timed([&] { scanOk &= truncateAllCopies(pattern); }));
        scanPatched = countPatched(game);
    }

    const double mb = floorWalk.bytes / kMegabyte;
    std::printf("searchable memory: %.1f MB in %zu regions (footprint %u MB, best of %d rounds)\n",
                mb, floorWalk.regions, kFootprintMb, kRounds);
    std::printf("floor  (read every searchable byte once): %8.1f ms  %7.0f MB/s\n", floorMs,
                mb / floorMs * 1000);
    std::printf(
        "plain  1024-byte loop (baseline):         %8.1f ms  %7.0f MB/s  patched %u of %u\n",
        plainMs, mb / plainMs * 1000, plainPatched.patched, plainPatched.expected);
    std::printf(
        "scan   truncateAllCopies:                 %8.1f ms  %7.0f MB/s  patched %u of %u%s\n",
        scanMs, mb / scanMs * 1000, scanPatched.patched, scanPatched.expected,
        scanOk ? "" : "  (a scan FAILED)");
    std::printf("scan / floor = %.2f   (goal: within 2)\n", scanMs / floorMs);
    std::printf("plain / scan = %.1f\n", plainMs / scanMs);
    return 0;
}

}  // namespace
}  // namespace vireo::test

int main() { return vireo::test::run(); }
