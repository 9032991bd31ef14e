#pragma once
// The one global object of the game link: the command table, the host window
// and the two timers that capture console lines and silence the game's
// unknown-command message.

#include <windows.h>

#include <cstdint>
#include <string>

#include "game/CommandTable.h"
#include "game/Landmarks.h"

namespace vireo {

// What the console channel learnt as it ran, for the status report.
struct ConsoleReport {
    // The build marker the last landmark choice read; none before the first.
    enum class Marker { NotRead, Build2343, OtherBuild, Unreadable } marker = Marker::NotRead;
    std::uint32_t scannedAt = 0;  // GetTickCount after the last scan; 0: none yet
    bool scanGotThrough = false;
    std::uint32_t copiesFound = 0;
    std::uint32_t copiesSilenced = 0;
    std::uint32_t lineTakenAt = 0;  // GetTickCount when the last line was taken; 0: none
    std::string lastLine;
};

class GameLink {
public:
    GameLink() noexcept = default;
    GameLink(const GameLink&) = delete;
    GameLink& operator=(const GameLink&) = delete;
    ~GameLink();

    bool attach(HWND handle) noexcept;
    bool startTimers() noexcept;
    void stopTimers() noexcept;

    bool addCommand(std::string word, CommandHandler handler) {
        return commands.addCommand(std::move(word), handler);
    }
    bool removeCommand(std::string word) { return commands.removeCommand(std::move(word)); }

    // Forwarders to the free functions of the game link.
    [[nodiscard]] std::string gameDirectory() const;
    [[nodiscard]] std::string modDirectory() const;
    // The "game" value of the mod's liblist.gam.
    [[nodiscard]] std::string liblistGame() const;
    bool truncateAllCopies(const std::string& pattern) const;

    // Timer identifiers carry the object: poll = address, watch = address + 1.
    [[nodiscard]] UINT_PTR pollTimerIdentifier() const noexcept {
        return reinterpret_cast<UINT_PTR>(this);
    }
    [[nodiscard]] UINT_PTR watchTimerIdentifier() const noexcept {
        return reinterpret_cast<UINT_PTR>(this) + 1;
    }

    UINT_PTR pollTimerId = 0;
    UINT_PTR watchTimerId = 0;
    CommandTable commands;
    HWND window = nullptr;
    std::uint32_t scanDeadline = 0;
    // The mod whose unknown-command message was last truncated.
    std::string lastScannedMod;
    // The landmark set of the game's build, chosen afresh before every access
    // at a landmark, so a game started, or replaced by another build, since
    // the last access is served at once.
    landmarks::LandmarkSet landmarkSet{0, 0};
    ConsoleReport report;
};

void CALLBACK pollConsoleLine(HWND, UINT, UINT_PTR id, DWORD) noexcept;
void CALLBACK watchModDirectory(HWND, UINT, UINT_PTR id, DWORD) noexcept;

}  // namespace vireo
