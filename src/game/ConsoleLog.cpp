#include "game/ConsoleLog.h"

namespace vireo {

void ConsoleLogCursor::start(const ConsoleLogLook& look) noexcept {
    seen_ = look.exists;
    offset_ = look.exists ? look.size : 0;
    fileIndex_ = look.fileIndex;
    dropPartialLine();
}

void ConsoleLogCursor::dropPartialLine() noexcept {
    partial_.clear();
    skippingLine_ = false;
    pendingCr_ = false;
}

std::optional<ConsoleLogRead> ConsoleLogCursor::plan(const ConsoleLogLook& look) noexcept {
    if (!look.exists) {
        // A log that went away and comes back is a log that appears later:
        // read from its start.
        seen_ = false;
        offset_ = 0;
        dropPartialLine();
        return std::nullopt;
    }
    // An index not learnt (the open that asks for it failed) tells no file
    // apart: only two known indexes that differ are another file.
    const bool otherFile =
        seen_ && look.fileIndex != 0 && fileIndex_ != 0 && look.fileIndex != fileIndex_;
    if (fileIndex_ == 0) fileIndex_ = look.fileIndex;
    if (!seen_ || otherFile || look.size < offset_) {
        if (seen_) {
            offset_ = 0;
            dropPartialLine();
        }
        seen_ = true;
        fileIndex_ = look.fileIndex;
    }
    if (look.size == offset_) return std::nullopt;

    const std::uint64_t waiting = look.size - offset_;
    ConsoleLogRead read;
    if (waiting > kConsoleLogReadLimit) {
        read.offset = look.size - kConsoleLogReadLimit;
        read.count = kConsoleLogReadLimit;
        read.skipsToLineStart = true;
    } else {
        read.offset = offset_;
        read.count = static_cast<std::size_t>(waiting);
    }
    return read;
}

// Keeps bytes of the line being assembled, none of them a line feed; a line
// that outgrows the limit is dropped now and its remaining bytes are skipped
// up to its line feed. A CR at the end is held back: it is the line break's
// when a line feed follows.
void ConsoleLogCursor::keep(std::string_view bytes) {
    if (skippingLine_ || bytes.empty()) return;
    const bool crBefore = pendingCr_;
    pendingCr_ = bytes.back() == '\r';
    if (pendingCr_) bytes.remove_suffix(1);
    if (partial_.size() + crBefore + bytes.size() > kConsoleLogLineLimit) {
        partial_.clear();
        skippingLine_ = true;
        pendingCr_ = false;
        return;
    }
    if (crBefore) partial_.push_back('\r');
    partial_.append(bytes);
}

std::vector<std::string> ConsoleLogCursor::take(const ConsoleLogRead& read,
                                                std::string_view bytes) {
    if (bytes.size() > read.count) bytes = bytes.substr(0, read.count);
    offset_ = read.offset + bytes.size();

    std::vector<std::string> lines;
    std::size_t i = 0;
    if (read.skipsToLineStart) {
        // The bytes skipped over ended whatever line was kept; the read's
        // first bytes, up to its first line feed, are a line's lost tail.
        dropPartialLine();
        const std::size_t lineFeed = bytes.find('\n');
        if (lineFeed == std::string_view::npos) {
            skippingLine_ = true;
            return lines;
        }
        i = lineFeed + 1;
    }
    while (i < bytes.size()) {
        const std::size_t lineFeed = bytes.find('\n', i);
        if (lineFeed == std::string_view::npos) {
            keep(bytes.substr(i));
            break;
        }
        keep(bytes.substr(i, lineFeed - i));
        if (!skippingLine_) lines.push_back(std::move(partial_));
        dropPartialLine();
        i = lineFeed + 1;
    }
    return lines;
}

}  // namespace vireo
