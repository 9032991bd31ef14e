#include "game/PatternSearch.h"

#include <algorithm>

namespace vireo {

CopyFinder::CopyFinder(std::string_view pattern) : pattern_(pattern) {
    const std::size_t n = pattern_.size();
    if (!searchable()) return;
    skip_.fill(n);
    for (std::size_t i = 0; i + 1 < n; ++i)
        skip_[static_cast<unsigned char>(pattern_[i])] = n - 1 - i;
    const auto last = static_cast<unsigned char>(pattern_[n - 1]);
    lastShift_ = skip_[last];
    skip_[last] = 0;
}

std::vector<std::size_t> CopyFinder::findAll(const unsigned char* bytes, std::size_t size) const {
    std::vector<std::size_t> offsets;
    forEachCopy(bytes, size, [&](std::size_t at) {
        offsets.push_back(at);
        return true;
    });
    return offsets;
}

bool searchRegion(const CopyFinder& finder, std::size_t regionSize, std::size_t pieceSize,
                  std::vector<unsigned char>& buffer, const RegionReader& read,
                  const CopyPatcher& patch) {
    const std::size_t n = finder.patternSize();
    if (!finder.searchable() || regionSize < n) return true;
    // Each piece must reach past the overlap it shares with the next one.
    pieceSize = std::min(std::max(pieceSize, 2 * n), regionSize);
    if (buffer.size() < pieceSize) buffer.resize(pieceSize);
    for (std::size_t offset = 0;;) {
        const std::size_t count = std::min(pieceSize, regionSize - offset);
        if (!read(offset, buffer.data(), count)) return false;
        const bool patched = finder.forEachCopy(buffer.data(), count,
                                                [&](std::size_t at) { return patch(offset + at); });
        if (!patched) return false;
        if (offset + count >= regionSize) return true;
        // The last n-1 bytes start no copy inside this piece: search them again
        // at the front of the next one.
        offset += count - (n - 1);
    }
}

}  // namespace vireo
