#pragma once
// Everything the plug-in does to Winamp, and every question it asks it, goes
// through one PlayerControl: synchronous window messages to Winamp's main
// window (WM_COMMAND, WM_USER requests, WM_COPYDATA).

#include <windows.h>

#include <cstdint>
#include <string>

namespace vireo {

// How far one volumeup or volumedown moves the volume (of 0..255): about
// 6 % a key press, where Winamp's own step of 4 is too small for a key.
inline constexpr int kVolumeStep = 16;

class PlayerControl {
public:
    PlayerControl() noexcept = default;
    PlayerControl(const PlayerControl&) = delete;
    PlayerControl& operator=(const PlayerControl&) = delete;

    // Keeps the handle if it names a window, else null.
    void setWindow(HWND handle) noexcept;
    [[nodiscard]] HWND window() const noexcept { return window_; }
    // On only for exactly 1.
    void setPcmMode(int value) noexcept { pcmMode_ = value == 1 ? 1 : 0; }
    [[nodiscard]] int getPcmMode() const noexcept { return pcmMode_; }

    // Control (each returns the reply of its last send; no caller uses it).
    LRESULT play() const noexcept;
    LRESULT pause() const noexcept;
    LRESULT stop() const noexcept;
    LRESULT stopAfterCurrent() const noexcept;
    LRESULT playCd() const noexcept;
    LRESULT nextTrack(int count) const noexcept;
    LRESULT previousTrack(int count) const noexcept;
    LRESULT playlistBeginning() const noexcept;
    LRESULT playlistEnd() const noexcept;
    LRESULT setVolume(int volume) const noexcept;
    // Asks Winamp for the volume and sets it by this much, held to 0..255.
    LRESULT changeVolume(int step) const noexcept;
    LRESULT setShuffle(int value) const noexcept;
    LRESULT setRepeat(int value) const noexcept;
    LRESULT setPanning(int value) const noexcept;
    LRESULT seekToPercent(int percent) const noexcept;
    LRESULT fastForward(int seconds) const noexcept;
    LRESULT fastRewind(int seconds) const noexcept;
    LRESULT clearPlaylist() const noexcept;
    void loadFile(const std::string& name) const;
    [[nodiscard]] int getPlayStatus() const noexcept;
    LRESULT preampOn() const noexcept;
    LRESULT preampOff() const noexcept;
    LRESULT setPreamp(int level) const noexcept;

    // Track information.
    // The number of playlist entries.
    [[nodiscard]] int getPlaylistLength() const noexcept;
    [[nodiscard]] int getPlaylistPosition() const noexcept;
    [[nodiscard]] std::string getTitle() const;
    [[nodiscard]] std::string getArtist() const;
    [[nodiscard]] std::string getSongTitle() const;
    [[nodiscard]] std::string getPositionText() const;
    [[nodiscard]] std::string getLengthText() const;
    [[nodiscard]] int getBitrate() const noexcept;
    [[nodiscard]] int getSampleRate() const noexcept;
    [[nodiscard]] int getChannels() const noexcept;
    [[nodiscard]] std::string getVersionText() const;
    // The version as Winamp numbers it (0x5092 for 5.9.2).
    [[nodiscard]] std::uint32_t getVersion() const noexcept { return version(); }
    [[nodiscard]] bool isWinamp3() const noexcept { return winamp3(); }

private:
    // Every message goes through here; a null or vanished window answers 0.
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) const noexcept;
    LRESULT command(unsigned id) const noexcept;
    // A Winamp request; the argument reaches Winamp as its 32-bit int.
    LRESULT request(int number, std::int32_t argument = 0) const noexcept;
    // The count rule of nextTrack and previousTrack.
    LRESULT repeatCommand(unsigned id, int count) const noexcept;
    // Asks afresh each time: the low 16 bits of the version reply.
    [[nodiscard]] std::uint32_t version() const noexcept;
    [[nodiscard]] bool winamp3() const noexcept;

    HWND window_ = nullptr;
    int pcmMode_ = 0;
};

}  // namespace vireo
