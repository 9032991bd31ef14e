#pragma once
// Splitting a console line at its first blank: plain functions, no
// windows.h. The captured line is foreign memory, so they take any bytes
// (high bytes, control characters, no words at all).

#include <string>
#include <string_view>

namespace vireo {

struct SplitLine {
    std::string word;
    std::string rest;
};

// The word up to the first blank (only the space character; a tab is no
// separator), and the rest after it without its leading blanks. Blanks
// inside the rest stay.
[[nodiscard]] SplitLine splitAtFirstBlank(std::string_view text);

// The console poll's split: blanks trimmed from both ends of the line, then
// split at the first blank.
[[nodiscard]] SplitLine splitConsoleLine(std::string_view line);

}  // namespace vireo
