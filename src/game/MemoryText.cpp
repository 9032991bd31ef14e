#include "game/MemoryText.h"

#include <cstring>

namespace vireo {

std::string textUpToNul(const char* bytes, std::size_t count) {
    const void* nul = std::memchr(bytes, '\0', count);
    return std::string(
        bytes, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : count);
}

std::string capturedLineText(CapturedLineBuffer buffer) {
    buffer.back() = '\0';
    std::string text = textUpToNul(buffer.data(), buffer.size());
    while (!text.empty() && text.back() == '\n') text.pop_back();
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string modNameText(const ModNameBuffer& buffer) {
    std::string name = textUpToNul(buffer.data(), buffer.size());
    if (name == "." || name == ".." || name.find_first_of("\\/:") != std::string::npos) return {};
    return name;
}

}  // namespace vireo
