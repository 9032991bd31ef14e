#pragma once
// Finding every copy of a text in bytes read out of the game, without
// touching the game, so the rules can be checked on their own.

#include <array>
#include <cstddef>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vireo {

// Every copy of a pattern in a byte buffer, overlapping copies included.
class CopyFinder {
public:
    explicit CopyFinder(std::string_view pattern);

    // A pattern shorter than two bytes is never searched for: a single byte
    // would be found all through the game's data, and an empty one everywhere.
    [[nodiscard]] bool searchable() const noexcept {
        return pattern_.size() >= kMinimumPatternSize;
    }
    [[nodiscard]] std::size_t patternSize() const noexcept { return pattern_.size(); }

    // Calls onCopy(offset) for each copy lying wholly inside bytes[0, size),
    // in increasing order. onCopy answers false to stop the search, and then
    // forEachCopy answers false.
    template <typename OnCopy>
    bool forEachCopy(const unsigned char* bytes, std::size_t size, OnCopy&& onCopy) const;

    [[nodiscard]] std::vector<std::size_t> findAll(const unsigned char* bytes,
                                                   std::size_t size) const;

    static constexpr std::size_t kMinimumPatternSize = 2;

private:
    // Calls onCopy for each copy starting in [from, to); every window there
    // must lie inside the buffer.
    template <typename OnCopy>
    bool searchLane(const unsigned char* bytes, std::size_t from, std::size_t to,
                    OnCopy& onCopy) const;
    [[nodiscard]] bool matchesAt(const unsigned char* bytes, std::size_t at) const noexcept {
        return bytes[at] == static_cast<unsigned char>(pattern_[0]) &&
               std::memcmp(bytes + at + 1, pattern_.data() + 1, pattern_.size() - 2) == 0;
    }

    std::string pattern_;
    // How far the window may move on when its last byte is the index; 0 for
    // the pattern's own last byte, whose window must be looked at first.
    std::array<std::size_t, 256> skip_{};
    // How far the window moves on from one ending on the pattern's last byte.
    std::size_t lastShift_ = 1;
};

// Reads count bytes at offset into buffer; false when the read fails.
using RegionReader =
    std::function<bool(std::size_t offset, unsigned char* buffer, std::size_t count)>;
// Truncates the copy at offset; false when the write fails.
using CopyPatcher = std::function<bool(std::size_t offset)>;

// Searches a region of regionSize bytes, read in pieces of at most pieceSize
// bytes, and patches every copy found. Consecutive pieces overlap by one byte
// less than the pattern, so a copy that runs across the border of two pieces,
// or ends exactly at a piece's end, is found, and found once. Stops and
// answers false at the first failed read or patch; copies patched before it
// stay patched. `buffer` is reused from region to region.
bool searchRegion(const CopyFinder& finder, std::size_t regionSize, std::size_t pieceSize,
                  std::vector<unsigned char>& buffer, const RegionReader& read,
                  const CopyPatcher& patch);

template <typename OnCopy>
bool CopyFinder::searchLane(const unsigned char* bytes, std::size_t from, std::size_t to,
                            OnCopy& onCopy) const {
    const std::size_t n = pattern_.size();
    for (std::size_t at = from; at < to;) {
        const std::size_t skip = skip_[bytes[at + n - 1]];
        if (skip != 0) {
            at += skip;
            continue;
        }
        if (matchesAt(bytes, at) && !onCopy(at)) return false;
        at += lastShift_;
    }
    return true;
}

template <typename OnCopy>
bool CopyFinder::forEachCopy(const unsigned char* bytes, std::size_t size, OnCopy&& onCopy) const {
    const std::size_t n = pattern_.size();
    if (!searchable() || size < n) return true;
    // Horspool's search: the window's last byte decides how far it moves, and
    // a window is compared in full only when its last byte is the pattern's.
    // Each step waits for the byte the step before it chose, so two windows
    // move at once, one through each half of the start positions, and the
    // processor overlaps their reads. The second waits at its first candidate
    // until the first half is done, so copies are still reported in order.
    const std::size_t end = size - n + 1;  // one past the last start position
    const std::size_t half = end / 2;
    std::size_t a = 0;
    std::size_t b = half;
    while (a < half && b < end) {
        const std::size_t skipA = skip_[bytes[a + n - 1]];
        const std::size_t skipB = skip_[bytes[b + n - 1]];
        if (skipA == 0) {
            if (matchesAt(bytes, a) && !onCopy(a)) return false;
            a += lastShift_;
            continue;
        }
        if (skipB == 0) break;
        a += skipA;
        b += skipB;
    }
    return searchLane(bytes, a, half, onCopy) && searchLane(bytes, b, end, onCopy);
}

}  // namespace vireo
