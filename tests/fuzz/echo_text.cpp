// Any text, a title or a path from outside, through the echo maker and the
// status file: the game must read each line as one echo of one quoted
// argument, obeying the rules, and never as a second command.

#include <cstdint>
#include <string>

#include "commands/GameFiles.h"
#include "fuzz/FuzzCheck.h"
#include "support/ConsoleRule.h"

using namespace vireo;

namespace {

void checkEcho(std::string_view echo) {
    FUZZ_CHECK(echo.size() >= 7 && echo.substr(0, 6) == "echo \"" && echo.back() == '"');
    const std::string_view text = echo.substr(6, echo.size() - 7);
    FUZZ_CHECK(text.size() <= kEchoTextLimit);
    for (const char c : text)
        FUZZ_CHECK(c != '"' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const std::string line = echoLine(input);
    FUZZ_CHECK(line.back() == '\n');
    const auto commands = test::consoleCommands(line);
    FUZZ_CHECK(commands.size() == 1);
    checkEcho(
        std::string_view(line).substr(commands[0].start, commands[0].end - commands[0].start));
    FUZZ_CHECK(echoText(input) == echoText(echoText(input)));

    const std::string status = statusCfgText(input);
    std::size_t lines = 0;
    for (std::size_t at = 0; at <= input.size();) {
        std::size_t end = input.find('\n', at);
        if (end == std::string_view::npos) end = input.size();
        std::string_view one = input.substr(at, end - at);
        if (!one.empty() && one.back() == '\r') one.remove_suffix(1);
        if (!one.empty()) ++lines;
        at = end + 1;
    }
    const auto statusCommands = test::consoleCommands(status);
    FUZZ_CHECK(statusCommands.size() == lines);
    for (const test::CommandSpan& span : statusCommands)
        checkEcho(std::string_view(status).substr(span.start, span.end - span.start));
    return 0;
}
