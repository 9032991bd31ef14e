#include "script/ScriptFile.h"

namespace vireo {

std::string toTextModeBytes(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 32 + 8);
    for (const char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}

bool isAbsoluteDirectory(std::string_view directory) noexcept {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (directory.size() >= 3 && isLetter(directory[0]) && directory[1] == ':' &&
        (directory[2] == '\\' || directory[2] == '/'))
        return true;
    return directory.size() >= 2 && directory[0] == '\\' && directory[1] == '\\';
}

}  // namespace vireo
