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
    std::string pattern_;
    // How far the window may move on when its last byte is the index.
    std::array<std::size_t, 256> shift_{};
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
bool CopyFinder::forEachCopy(const unsigned char* bytes, std::size_t size, OnCopy&& onCopy) const {
    const std::size_t n = pattern_.size();
    if (!searchable() || size < n) return true;
    const auto* pattern = reinterpret_cast<const unsigned char*>(pattern_.data());
    const unsigned char first = pattern[0];
    const unsigned char last = pattern[n - 1];
    // Horspool's search: the window's last byte decides how far it moves, and
    // a window is compared in full only when its first and last bytes match.
    for (std::size_t at = 0; at + n <= size;) {
        const unsigned char tail = bytes[at + n - 1];
        if (tail == last && bytes[at] == first &&
            std::memcmp(bytes + at + 1, pattern + 1, n - 2) == 0) {
            if (!onCopy(at)) return false;
        }
        at += shift_[tail];
    }
    return true;
}

}  // namespace vireo
