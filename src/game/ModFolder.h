#pragma once
// Finding the mod folder of a game of today without reading its memory: from
// "-game NAME" on its command line, or from the liblist.gam whose "game"
// value is the window's title. Plain functions, no windows.h.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vireo {

// The command line split as CommandLineToArgvW splits it: blanks and tabs
// between arguments, double quotes group, 2n backslashes before a quote give
// n backslashes and a quote that groups, 2n+1 give n and a literal quote; the
// first argument (the program) ends at its first blank or at its closing
// quote, with no backslash rules. Bytes in, bytes out (UTF-8 or ANSI).
[[nodiscard]] std::vector<std::string> splitCommandLine(std::string_view commandLine);

// The argument after the first "-game" (any letter case), when it is a
// plain folder name: not empty, not "." or "..", no '\', '/', ':' or "..",
// no control bytes.
[[nodiscard]] std::optional<std::string> gameArgument(const std::vector<std::string>& arguments);
[[nodiscard]] bool isPlainFolderName(std::string_view name) noexcept;

// True when "-condebug" (any letter case) is one of the arguments.
[[nodiscard]] bool hasConsoleDebug(const std::vector<std::string>& arguments);

// One mod folder beside the executable and the "game" value of its
// liblist.gam.
struct ModCandidate {
    std::string folder;
    std::string liblistGame;
};
// The one folder whose "game" value equals the title; nothing when none or
// more than one does.
[[nodiscard]] std::optional<std::string> folderTitled(const std::vector<ModCandidate>& candidates,
                                                      std::string_view title);

}  // namespace vireo
