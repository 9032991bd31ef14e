#pragma once
// How the game's console cuts a script into commands: a command ends at a
// line break, or at a semicolon outside double quotes; the quote count starts
// afresh with every command. Header-only, no windows.h: the unit tests and
// the fuzzers both judge the written script by it.

#include <cstddef>
#include <string_view>
#include <vector>

namespace vireo::test {

struct CommandSpan {
    std::size_t start;
    std::size_t end;  // one past the command's last byte, separator excluded
    bool operator==(const CommandSpan& other) const {
        return start == other.start && end == other.end;
    }
};

// Carriage returns count as line breaks too, the stricter reading: the file
// holds CR LF, and a lone CR must not be able to start a command either.
inline std::vector<CommandSpan> consoleCommands(std::string_view script) {
    std::vector<CommandSpan> commands;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i <= script.size(); ++i) {
        const bool atEnd = i == script.size();
        const char c = atEnd ? '\n' : script[i];
        if (c == '"') quoted = !quoted;
        if (c == '\n' || c == '\r' || (c == ';' && !quoted)) {
            if (i > start) commands.push_back({start, i});
            start = i + 1;
            quoted = false;
        }
    }
    return commands;
}

}  // namespace vireo::test
