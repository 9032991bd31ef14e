#pragma once
// The bytes and the place of "Vireo.cfg". Plain text logic, no windows.h.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vireo {

inline constexpr std::string_view kScriptFileName = "Vireo.cfg";
// The new bytes go to this file beside it first, which is then moved over
// "Vireo.cfg" in one step. Its name ends in neither .cfg nor anything the
// game or the player would take for a script of their own.
inline constexpr std::string_view kScriptTemporarySuffix = ".vireo-new";

// The file is written as a text-mode stream writes it: every line feed
// becomes carriage return and line feed, every other byte is kept, so a
// CR LF in the text becomes CR CR LF.
[[nodiscard]] std::string toTextModeBytes(std::string_view text);

// True for "X:\..." and "\\server\..." paths. The game's directories are
// always absolute; an empty game directory gives a relative path, which would
// land wherever Winamp's current directory happens to be.
[[nodiscard]] bool isAbsoluteDirectory(std::string_view directory) noexcept;

// What the writer learnt at earlier ticks: the bytes it last left in a file,
// and whether moves into that file's folder are refused for good.
//
// A game that execs the file while it is rewritten in place runs a cut
// script, so a new file is moved over it instead. A move is refused while
// someone (the game's C runtime, an antivirus scan) has the file open without
// delete sharing: the old file stays whole and the next tick tries again. In
// a folder that lets us write but not delete, every move is refused; after
// kRefusalsBeforeInPlace refusals in a row the file is rewritten in place, as
// on Windows 9x, where the move is not implemented at all. Writing in place,
// every kWritesBetweenMoveRetries-th write tries a move again, and the first
// move that succeeds ends writing in place.
class ScriptPlacement {
public:
    static constexpr unsigned kRefusalsBeforeInPlace = 10;
    static constexpr unsigned kWritesBetweenMoveRetries = 64;

    // True when bytes are the ones last left at path and the file there still
    // has their size (sizeOnDisk: none when it is gone).
    [[nodiscard]] bool unchanged(std::string_view path, std::string_view bytes,
                                 std::optional<std::uint64_t> sizeOnDisk) const noexcept;
    // Asked once per write: true when this one goes in place, without a move.
    [[nodiscard]] bool nextWriteInPlace(std::string_view path) noexcept;

    // What became of the write.
    void moved(std::string_view path, std::string_view bytes);
    // True when the bytes are to be written in place at once: the refusal
    // was the kRefusalsBeforeInPlace-th in a row, the writer already writes
    // in place, or the system has no move (notImplemented).
    [[nodiscard]] bool refused(std::string_view path, bool notImplemented);
    void writtenInPlace(std::string_view path, std::string_view bytes);
    // A write that failed may have left anything in the file.
    void failed() noexcept;

    [[nodiscard]] bool inPlace() const noexcept { return inPlace_; }
    [[nodiscard]] unsigned refusalsInARow() const noexcept { return refusals_; }

private:
    void remember(std::string_view path, std::string_view bytes);

    std::string path_;   // where bytes_ were left; empty: nothing known
    std::string bytes_;
    std::string refusedPath_;  // the file whose moves refusals_ counts
    unsigned refusals_ = 0;
    bool inPlace_ = false;  // for refusedPath_
    unsigned writesInPlace_ = 0;
};

}  // namespace vireo
