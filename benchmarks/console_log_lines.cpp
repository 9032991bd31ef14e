// Cost of the line assembly of one console-log poll, without the file
// system: an idle log (nothing grew), a poll with one key's line, and a poll
// with more than 64 KB of chatter waiting, the marker's line among it. Prints
// the median and 99th percentile per poll.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "commands/GameFiles.h"
#include "game/ConsoleLog.h"

using namespace vireo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPolls = 2000;
constexpr std::string_view kMarker = "Vireo-ab12cd34";

// Times kPolls polls, each after grow(log) appended what the engine printed.
template <typename F>
void measure(const char* what, F&& grow) {
    std::string log;
    ConsoleLogCursor cursor;
    cursor.start({true, 0, 1});
    std::vector<double> times;
    std::size_t commands = 0;
    for (int i = 0; i < kPolls; ++i) {
        if (log.size() > (1u << 24)) {
            log.clear();
            cursor.start({true, 0, 1});
        }
        grow(log);
        const auto start = Clock::now();
        if (const auto read = cursor.plan({true, log.size(), 1}))
            for (const std::string& line :
                 cursor.take(*read, std::string_view(log).substr(read->offset, read->count)))
                if (logLineCommand(line, kMarker)) ++commands;
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%-26s median %8.1f us, p99 %8.1f us; commands taken %zu of %d polls\n", what,
                times[kPolls / 2], times[kPolls * 99 / 100], commands, kPolls);
}

}  // namespace

int main() {
    const std::string key = std::string(kMarker) + " nexttrack \n";
    std::string chatter;
    while (chatter.size() < 80 * 1024)
        chatter += "Player [" + std::to_string(chatter.size()) + "] says: a line of chatter\n";
    measure("idle log", [](std::string&) {});
    measure("one key's line", [&](std::string& log) { log += key; });
    measure("over 64 KB waiting", [&](std::string& log) { log += chatter + key; });
    return 0;
}
