#pragma once
// The game's console log, qconsole.log, as a source of whole lines. With
// -condebug the engine appends every console print to it with an open, an
// append and a close of its own, so a poll sees the bytes printed since the
// last one. Plain logic, no windows.h: which bytes a poll reads, and the
// whole lines they complete.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vireo {

inline constexpr std::string_view kConsoleLogName = "qconsole.log";
// A poll reads at most this much; a larger backlog is chatter, and a key
// press older than a poll is stale anyway.
inline constexpr std::size_t kConsoleLogReadLimit = 64 * 1024;
// A line longer than this (its line feed not counted) is skipped whole.
inline constexpr std::size_t kConsoleLogLineLimit = 1024;

// What a look at the log, without opening it, found.
struct ConsoleLogLook {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t fileIndex = 0;  // the file system's identity of the file; 0: unknown
};

// The bytes a poll is to read: `count` bytes from `offset`.
struct ConsoleLogRead {
    std::uint64_t offset = 0;
    std::size_t count = 0;
    // The read was moved forward to the last kConsoleLogReadLimit bytes: what
    // comes before its first line feed is the tail of a line already lost.
    bool skipsToLineStart = false;
};

// Where reading stands in one game's log, from the road's start for that
// game to its end.
class ConsoleLogCursor {
public:
    // The road starts for a game: a log that exists now is read from its
    // end, so older lines never act; one that appears later from its start.
    void start(const ConsoleLogLook& look) noexcept;

    // What to read at this poll; nothing when the log did not grow. A log
    // that shrank, or is another file than before (its index), is read from
    // its start again, and a partial line kept from the old one is dropped.
    [[nodiscard]] std::optional<ConsoleLogRead> plan(const ConsoleLogLook& look) noexcept;

    // The bytes that plan's read gave (fewer than asked when the file was
    // cut meanwhile). Answers the lines completed by them, in order, each
    // without its line feed and without a CR before it. A line that grows
    // past kConsoleLogLineLimit is skipped whole; what is kept of a partial
    // line never exceeds that limit.
    [[nodiscard]] std::vector<std::string> take(const ConsoleLogRead& read, std::string_view bytes);

    [[nodiscard]] std::uint64_t offset() const noexcept { return offset_; }

private:
    void dropPartialLine() noexcept;
    void keep(std::string_view bytes);

    std::uint64_t offset_ = 0;
    std::uint64_t fileIndex_ = 0;
    bool seen_ = false;  // the log existed at a look since start
    std::string partial_;
    bool skippingLine_ = false;  // inside a line too long to keep
    bool pendingCr_ = false;     // a CR arrived last: the line's, unless a line feed follows
};

}  // namespace vireo
