// The copy scan's search over pieces: for any buffer, pattern and piece size
// the offsets patched are exactly those a naive search over the whole buffer
// finds, overlapping copies included, each once and in order.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/FuzzCheck.h"
#include "game/PatternSearch.h"

namespace {

using namespace vireo;

std::vector<std::size_t> naiveSearch(const std::string& bytes, const std::string& pattern) {
    std::vector<std::size_t> offsets;
    if (pattern.size() < CopyFinder::kMinimumPatternSize) return offsets;
    for (std::size_t at = 0; at + pattern.size() <= bytes.size(); ++at)
        if (bytes.compare(at, pattern.size(), pattern) == 0) offsets.push_back(at);
    return offsets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::size_t pieceSize = provider.ConsumeIntegralInRange<std::size_t>(0, 300);
    const std::string pattern = provider.ConsumeRandomLengthString(24);
    const std::string bytes = provider.ConsumeRemainingBytesAsString();

    const CopyFinder finder(pattern);
    std::vector<unsigned char> buffer;
    std::vector<std::size_t> patched;
    const bool done = searchRegion(
        finder, bytes.size(), pieceSize, buffer,
        [&](std::size_t offset, unsigned char* to, std::size_t count) {
            FUZZ_CHECK(offset <= bytes.size() && count <= bytes.size() - offset);
            std::memcpy(to, bytes.data() + offset, count);
            return true;
        },
        [&](std::size_t offset) {
            patched.push_back(offset);
            return true;
        });
    FUZZ_CHECK(done);
    FUZZ_CHECK(patched == naiveSearch(bytes, pattern));
    return 0;
}
