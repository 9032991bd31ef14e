// The console log as a hostile engine might leave it between polls: any
// bytes, appended in chunks of any size, the file cut or replaced now and
// then. Every line answered must be whole and within the limit, every read
// within one poll's limit, and nothing the cursor keeps may outgrow it.

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "game/ConsoleLog.h"

using namespace vireo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string log;
    std::uint64_t index = 1;
    ConsoleLogCursor cursor;
    cursor.start({true, 0, index});
    // Each step: one control byte, then up to its chunk of appended bytes.
    // Control bytes 0xf0.. cut the log to its start; 0xe0.. make it another
    // file; otherwise it grows by a chunk, repeated to reach a large backlog.
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t control = data[at++];
        if (control >= 0xf0) {
            log.clear();
        } else if (control >= 0xe0) {
            ++index;
        } else {
            const std::size_t chunk = std::min<std::size_t>(control % 64, size - at);
            const std::string bytes(reinterpret_cast<const char*>(data + at), chunk);
            at += chunk;
            for (int repeat = (control & 0x80) ? 600 : 1; repeat > 0; --repeat) log += bytes;
        }
        const auto read = cursor.plan({true, log.size(), index});
        if (!read) {
            FUZZ_CHECK(cursor.offset() == log.size());
            continue;
        }
        FUZZ_CHECK(read->count <= kConsoleLogReadLimit);
        FUZZ_CHECK(read->offset + read->count == log.size());
        for (const std::string& line :
             cursor.take(*read, std::string_view(log).substr(read->offset))) {
            FUZZ_CHECK(line.size() <= kConsoleLogLineLimit);
            FUZZ_CHECK(line.find('\n') == std::string::npos);
            FUZZ_CHECK(line.empty() || line.back() != '\r' ||
                       log.find(line + "\r\n") != std::string::npos);
        }
        FUZZ_CHECK(cursor.offset() == log.size());
        if (log.size() > (1u << 24)) log.clear();  // memory for the fuzzer's own log
    }
    return 0;
}
