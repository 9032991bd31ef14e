// liblist.gam parsing on any bytes and any line length: the value found is
// always a piece of one line (within the line limit), without quotes or line
// breaks, for the game key and for a key taken from the input.

#include <cstdint>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/FuzzCheck.h"
#include "game/Landmarks.h"
#include "game/Liblist.h"

namespace {

using namespace vireo;

// Whether the value is a substring of one line of the file.
bool withinOneLine(std::string_view file, const std::string& value) {
    std::size_t start = 0;
    while (start <= file.size()) {
        std::size_t end = file.find('\n', start);
        if (end == std::string_view::npos) end = file.size();
        if (file.substr(start, end - start).find(value) != std::string_view::npos) return true;
        start = end + 1;
    }
    return false;
}

void check(std::string_view file, std::string_view key) {
    const std::string value = liblistValueIn(file, key);
    if (value.empty()) return;
    FUZZ_CHECK(value.size() <= kLiblistLineLimit - 2);
    FUZZ_CHECK(value.find('"') == std::string::npos);
    FUZZ_CHECK(value.find('\n') == std::string::npos);
    FUZZ_CHECK(withinOneLine(file, value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view whole(reinterpret_cast<const char*>(data), size);
    check(whole, landmarks::kLiblistGameKey);

    FuzzedDataProvider provider(data, size);
    const std::string key = provider.ConsumeRandomLengthString(32);
    const std::string file = provider.ConsumeRemainingBytesAsString();
    check(file, key);
    return 0;
}
