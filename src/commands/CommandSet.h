#pragma once
// The handler registered under both command words: the 26 sub-commands.

#include <string>

namespace vireo {

inline constexpr char kCommandWord[] = "Vireo";
inline constexpr char kCommandWordLower[] = "vireo";

void commandSetHandler(std::string word, std::string rest);

}  // namespace vireo
