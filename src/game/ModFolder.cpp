#include "game/ModFolder.h"

#include <cstddef>

namespace vireo {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const std::size_t n = commandLine.size();
    if (n == 0) return arguments;

    // The program: up to its closing quote, or to its first blank, with no
    // backslash rules (a path may end in a backslash).
    std::string program;
    if (commandLine[0] == '"') {
        for (i = 1; i < n && commandLine[i] != '"'; ++i) program.push_back(commandLine[i]);
        if (i < n) ++i;
    } else {
        for (; i < n && !isBlank(commandLine[i]); ++i) program.push_back(commandLine[i]);
    }
    arguments.push_back(std::move(program));
    while (i < n && isBlank(commandLine[i])) ++i;

    std::string argument;
    bool started = false;
    int quotes = 0;  // odd: inside quotes
    std::size_t backslashes = 0;
    while (i < n) {
        const char c = commandLine[i];
        if (isBlank(c) && quotes == 0) {
            arguments.push_back(std::move(argument));
            argument.clear();
            started = false;
            backslashes = 0;
            while (i < n && isBlank(commandLine[i])) ++i;
            continue;
        }
        started = true;
        if (c == '\\') {
            argument.push_back(c);
            ++backslashes;
            ++i;
        } else if (c == '"') {
            if (backslashes % 2 == 0) {
                argument.resize(argument.size() - backslashes / 2);
                ++quotes;
            } else {
                argument.resize(argument.size() - backslashes / 2 - 1);
                argument.push_back('"');
            }
            ++i;
            backslashes = 0;
            // Further quotes right after: every third of the run, counting
            // the ones that opened and closed, is a literal quote.
            while (i < n && commandLine[i] == '"') {
                if (++quotes == 3) {
                    argument.push_back('"');
                    quotes = 0;
                }
                ++i;
            }
            if (quotes == 2) quotes = 0;
        } else {
            argument.push_back(c);
            backslashes = 0;
            ++i;
        }
    }
    if (started) arguments.push_back(std::move(argument));
    return arguments;
}

bool isPlainFolderName(std::string_view name) noexcept {
    if (name.empty() || name == "." || name.find("..") != std::string_view::npos) return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '\\' || c == '/' || c == ':') return false;
    }
    return true;
}

std::optional<std::string> gameArgument(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (!equalsIgnoringCase(arguments[i], "-game")) continue;
        if (i + 1 < arguments.size() && isPlainFolderName(arguments[i + 1]))
            return arguments[i + 1];
        return std::nullopt;
    }
    return std::nullopt;
}

bool hasConsoleDebug(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i)
        if (equalsIgnoringCase(arguments[i], "-condebug")) return true;
    return false;
}

std::optional<std::string> folderTitled(const std::vector<ModCandidate>& candidates,
                                        std::string_view title) {
    if (title.empty()) return std::nullopt;
    const ModCandidate* found = nullptr;
    for (const ModCandidate& candidate : candidates) {
        if (candidate.liblistGame != title) continue;
        if (found) return std::nullopt;
        found = &candidate;
    }
    if (!found) return std::nullopt;
    return found->folder;
}

}  // namespace vireo
