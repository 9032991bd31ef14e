// The unknown-command scan over a game holding a realistic amount of writable
// data: fake_game.exe with a 200 MB footprint in regions of at most 4 MB and
// a few dozen copies. Prints, from one run, the time of the scan, of the
// plain 1024-byte loop it replaced (the baseline), and of just reading every
// searchable byte once (the floor), each the best of a few rounds; then the
// scan taken apart: how much of it is the region walk, the reads in the
// scan's pieces, the search and the patch writes. "quick" as the argument
// leaves out the baseline, which takes many seconds.

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

// Every searchable byte read once in pieces of at most pieceSize bytes.
Walk readInPieces(HANDLE process, std::size_t pieceSize) {
    std::vector<unsigned char> buffer(std::min(pieceSize, kMaxScannedRegionSize));
    return walkSearchableRegions(process, [&](std::uintptr_t base, std::size_t size) {
        for (std::size_t offset = 0; offset < size; offset += pieceSize) {
            SIZE_T got = 0;
            if (!::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(base + offset),
                                     buffer.data(), std::min(pieceSize, size - offset), &got))
                return false;
        }
        return true;
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

// The scan's own loop with a clock around each of its parts.
struct Parts {
    double walkMs = 0, readMs = 0, searchMs = 0, patchMs = 0, totalMs = 0;
    std::size_t reads = 0;
};

Parts scanInParts(HANDLE process, const std::string& pattern) {
    Parts parts;
    const CopyFinder finder(pattern);
    std::vector<unsigned char> buffer;
    const auto start = Clock::now();
    MEMORY_BASIC_INFORMATION region{};
    std::uintptr_t address = 0;
    for (;;) {
        const auto queried = Clock::now();
        const SIZE_T described =
            ::VirtualQueryEx(process, reinterpret_cast<LPCVOID>(address), &region, sizeof region);
        parts.walkMs += millisecondsOf(Clock::now() - queried);
        if (described == 0) break;
        const auto base = reinterpret_cast<std::uintptr_t>(region.BaseAddress);
        if (isScannableRegion(region)) {
            const RegionReader read = [&](std::size_t offset, unsigned char* to,
                                          std::size_t count) {
                const auto t = Clock::now();
                SIZE_T got = 0;
                const bool ok = ::ReadProcessMemory(
                    process, reinterpret_cast<LPCVOID>(base + offset), to, count, &got);
                parts.readMs += millisecondsOf(Clock::now() - t);
                ++parts.reads;
                return ok && got == count;
            };
            const CopyPatcher patch = [&](std::size_t offset) {
                const auto t = Clock::now();
                const unsigned char nul = 0;
                const bool ok = ::WriteProcessMemory(
                    process, reinterpret_cast<LPVOID>(base + offset), &nul, 1, nullptr);
                parts.patchMs += millisecondsOf(Clock::now() - t);
                return ok != 0;
            };
            const auto searched = Clock::now();
            const double before = parts.readMs + parts.patchMs;
            searchRegion(finder, region.RegionSize, kScanPieceSize, buffer, read, patch);
            parts.searchMs +=
                millisecondsOf(Clock::now() - searched) - (parts.readMs + parts.patchMs - before);
        }
        if (base + region.RegionSize <= address) break;
        address = base + region.RegionSize;
    }
    parts.totalMs = millisecondsOf(Clock::now() - start);
    return parts;
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

int run(bool withBaseline) {
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
        if (withBaseline) {
            plainMs = std::min(plainMs, timed([&] { plainChunkScan(process.get(), pattern); }));
            plainPatched = countPatched(game);
            game.replant();
        }
        scanMs = std::min(scanMs, timed([&] { scanOk &= truncateAllCopies(pattern); }));
        scanPatched = countPatched(game);
    }
    // The read alone at a few sizes, taken in turns so that a busy machine
    // weighs on all of them alike.
    constexpr std::size_t kPieceSizes[] = {64 * 1024, 256 * 1024, 1024 * 1024,
                                           kMaxScannedRegionSize};
    double piecesMs[std::size(kPieceSizes)];
    std::fill(std::begin(piecesMs), std::end(piecesMs), 1e300);
    for (int round = 0; round < kRounds; ++round)
        for (std::size_t i = 0; i < std::size(kPieceSizes); ++i)
            piecesMs[i] =
                std::min(piecesMs[i], timed([&] { readInPieces(process.get(), kPieceSizes[i]); }));
    Parts parts;
    parts.totalMs = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        game.replant();
        const Parts run = scanInParts(process.get(), pattern);
        if (run.totalMs < parts.totalMs) parts = run;
    }

    const double mb = floorWalk.bytes / kMegabyte;
    std::printf("searchable memory: %.1f MB in %zu regions (footprint %u MB, best of %d rounds)\n",
                mb, floorWalk.regions, kFootprintMb, kRounds);
    std::printf("floor  (read every searchable byte once): %8.1f ms  %7.0f MB/s\n", floorMs,
                mb / floorMs * 1000);
    if (withBaseline)
        std::printf(
            "plain  1024-byte loop (baseline):         %8.1f ms  %7.0f MB/s  patched %u of %u\n",
            plainMs, mb / plainMs * 1000, plainPatched.patched, plainPatched.expected);
    std::printf(
        "scan   truncateAllCopies:                 %8.1f ms  %7.0f MB/s  patched %u of %u%s\n",
        scanMs, mb / scanMs * 1000, scanPatched.patched, scanPatched.expected,
        scanOk ? "" : "  (a scan FAILED)");
    std::printf("scan / floor = %.2f   (goal: at most 1.15)\n", scanMs / floorMs);
    if (withBaseline) std::printf("plain / scan = %.1f\n", plainMs / scanMs);
    for (std::size_t i = 0; i < std::size(kPieceSizes); ++i)
        std::printf("read in pieces of %4zu KB:                %8.1f ms  %7.0f MB/s\n",
                    kPieceSizes[i] / 1024, piecesMs[i], mb / piecesMs[i] * 1000);
    const auto share = [&](const char* what, double ms) {
        std::printf("  %-7s %8.1f ms  %5.1f %%\n", what, ms, 100 * ms / parts.totalMs);
    };
    std::printf("the scan in parts (%.1f ms, %zu reads of at most %zu KB):\n", parts.totalMs,
                parts.reads, kScanPieceSize / 1024);
    share("walk", parts.walkMs);
    share("read", parts.readMs);
    share("search", parts.searchMs);
    share("patch", parts.patchMs);
    share("other", parts.totalMs - parts.walkMs - parts.readMs - parts.searchMs - parts.patchMs);
    return 0;
}

}  // namespace
}  // namespace vireo::test

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "quick") == 0;
    return vireo::test::run(!quick);
}
