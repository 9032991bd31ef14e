// The console line as the poll sees it: any 256 bytes of the game's
// captured-line buffer, through the trimming, the split at the first blank,
// the command word match and the command set's sub-command and number
// reading. A handler must run exactly when the line's first word is one of
// the command words, byte for byte.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "commands/CommandText.h"
#include "fuzz/FuzzCheck.h"
#include "game/CommandTable.h"
#include "game/MemoryText.h"

namespace {

using namespace vireo;

struct Call {
    bool ran = false;
    std::string word;
    std::string rest;
} call;

void record(std::string word, std::string rest) {
    call.ran = true;
    call.word = std::move(word);
    call.rest = std::move(rest);
}

// The first word as a reader of the line would find it: blanks skipped, then
// every byte up to the next blank.
std::string firstWord(const std::string& line) {
    std::size_t start = 0;
    while (start < line.size() && line[start] == ' ') ++start;
    std::size_t end = start;
    while (end < line.size() && line[end] != ' ') ++end;
    return line.substr(start, end - start);
}

// The C library's reading of a decimal number, held to 32 bits.
std::int32_t libraryNumber(const std::string& text) {
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CommandTable table = [] {
        CommandTable t;
        t.addCommand("Vireo", record);
        t.addCommand("vireo", record);
        return t;
    }();

    CapturedLineBuffer buffer{};
    std::memcpy(buffer.data(), data, std::min(size, buffer.size()));
    const std::string line = capturedLineText(buffer);
    FUZZ_CHECK(line.size() < buffer.size());
    FUZZ_CHECK(line.find('\0') == std::string::npos);

    // The poll's road.
    call = Call{};
    if (!line.empty()) {
        SplitLine split = splitConsoleLine(line);
        if (const CommandEntry* entry = table.find(split.word))
            entry->handler(std::move(split.word), std::move(split.rest));
    }

    const std::string word = firstWord(line);
    FUZZ_CHECK(call.ran == (word == "Vireo" || word == "vireo"));
    if (!call.ran) return 0;
    FUZZ_CHECK(call.word == word);
    FUZZ_CHECK(call.rest.empty() || (call.rest.front() != ' ' && call.rest.back() != ' '));
    FUZZ_CHECK(line.find(call.rest) != std::string::npos);

    // The command set's road.
    const SplitLine sub = splitSubCommand(call.rest);
    FUZZ_CHECK(call.rest.compare(0, sub.word.size(), sub.word) == 0);
    FUZZ_CHECK(sub.word.find(' ') == std::string::npos);
    const std::string lower = lowerAscii(sub.word);
    FUZZ_CHECK(lower.size() == sub.word.size());
    for (std::size_t i = 0; i < lower.size(); ++i) {
        const char c = sub.word[i];
        FUZZ_CHECK(lower[i] == ((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c));
    }
    FUZZ_CHECK(readNumber(sub.rest) == libraryNumber(sub.rest));
    return 0;
}
