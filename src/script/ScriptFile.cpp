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

bool ScriptPlacement::unchanged(std::string_view path, std::string_view bytes,
                                std::optional<std::uint64_t> sizeOnDisk) const noexcept {
    return !path_.empty() && path == path_ && bytes == bytes_ && sizeOnDisk == bytes.size();
}

bool ScriptPlacement::nextWriteInPlace(std::string_view path) noexcept {
    // Refusals in another folder (the player changed mod) say nothing here.
    if (!inPlace_ || path != refusedPath_) return false;
    return ++writesInPlace_ % kWritesBetweenMoveRetries != 0;
}

void ScriptPlacement::moved(std::string_view path, std::string_view bytes) {
    refusedPath_.clear();
    refusals_ = 0;
    inPlace_ = false;
    writesInPlace_ = 0;
    remember(path, bytes);
}

bool ScriptPlacement::refused(std::string_view path, bool notImplemented) {
    if (path != refusedPath_) {
        refusedPath_.assign(path);
        refusals_ = 0;
        inPlace_ = false;
        writesInPlace_ = 0;
    }
    ++refusals_;
    if (notImplemented || refusals_ >= kRefusalsBeforeInPlace) inPlace_ = true;
    return inPlace_;
}

void ScriptPlacement::writtenInPlace(std::string_view path, std::string_view bytes) {
    remember(path, bytes);
}

void ScriptPlacement::failed() noexcept { path_.clear(); }

void ScriptPlacement::remember(std::string_view path, std::string_view bytes) {
    path_.clear();  // known again only once both are stored
    bytes_.assign(bytes);
    path_.assign(path);
}

}  // namespace vireo
