#pragma once
// FakeGameProcess: runs fake_game.exe as the game, the way a player's game
// sits beside Winamp, for tests and benchmarks of everything that finds the
// game, reads and writes its memory, or reads its mod.
//
// start() copies fake_game.exe under the chosen executable name (hl.exe,
// cstrike.exe, HL.EXE, ...) into a fresh temporary game directory, creates
// the mod sub-directory with a liblist.gam when the options hold one, starts
// the copy and waits until its window can be found. stop(), also run by the
// destructor, terminates it, waits for it and removes the directory.
//
// The running fake keeps, at the game's fixed addresses (game/Landmarks.h):
// the build marker (or no readable marker), the mod name in the landmark set
// the marker selects, zeroed captured-line buffers and the player-state byte.
// Tests steer it by writing its memory directly (writeCapturedLine,
// setPlayerState, setModName, or write at any address) and read the copies of
// "Unknown command: %s" it planted through report() (FakeGameControl.h).
//
// Only one fake with the class "Half-Life" should run at a time: the code
// under test takes the first such window. Use it from system tests, which
// hold the machine-wide lock.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/UniqueResource.h"
#include "game/Landmarks.h"
#include "support/FakeGameControl.h"

namespace vireo::test {

struct FakeGameOptions {
    std::string exeName = "hl.exe";
    std::string modName = "valve";
    // Written to <game directory>\<modName>\liblist.gam when set, byte for byte.
    std::optional<std::string> liblist;
    // The 16-bit value at the build marker; none leaves the marker unreadable.
    std::optional<std::uint16_t> buildMarker = std::uint16_t{0};
    std::string windowClass = "Half-Life";
    std::string windowTitle = "Half-Life";
    bool plantCopies = true;
    // The window belongs to a second thread of the game, not its first.
    bool windowOnSecondThread = false;
    unsigned footprintMb = 0;  // writable data for the benchmark, in regions <= 4 MB
    unsigned footprintCopies = 40;
    std::vector<std::string> extraArguments;  // passed on as they are
};

// cstrike.exe running the cstrike mod, whose liblist.gam names the game
// "Counter-Strike": the game auto-pause acts in.
FakeGameOptions counterStrikeOptions();
// A game of today: hl.exe with "-game cstrike -condebug" on its command line,
// a window of class "SDL_app" titled "Counter-Strike", no memory landmarks
// in use, and a console that appends to qconsole.log beside the executable
// and execs VireoCommands.cfg once it appears in the mod folder.
FakeGameOptions todayOptions();

class FakeGameProcess {
public:
    explicit FakeGameProcess(FakeGameOptions options = {});
    ~FakeGameProcess();
    FakeGameProcess(const FakeGameProcess&) = delete;
    FakeGameProcess& operator=(const FakeGameProcess&) = delete;

    // False (with the reason in failure()) when the fake did not come up.
    bool start(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    void stop();
    [[nodiscard]] bool running() const;
    [[nodiscard]] const std::string& failure() const { return failure_; }

    [[nodiscard]] const FakeGameOptions& options() const { return options_; }
    [[nodiscard]] DWORD processId() const { return processId_; }
    [[nodiscard]] HWND window() const { return window_; }
    // The game directory with its trailing backslash, the executable's path,
    // and the mod directory (with a trailing backslash).
    [[nodiscard]] const std::string& directory() const { return directory_; }
    [[nodiscard]] std::string exePath() const { return directory_ + options_.exeName; }
    [[nodiscard]] std::string modDirectory() const { return directory_ + options_.modName + "\\"; }
    // The landmark set the fake's build marker selects.
    [[nodiscard]] landmarks::LandmarkSet landmarkSet() const;

    // The fake's memory, at any address.
    bool read(std::uintptr_t address, void* buffer, std::size_t count) const;
    bool write(std::uintptr_t address, const void* bytes, std::size_t count) const;

    // The 256-byte captured-line buffer: the bytes given, zero-filled after
    // them (at most 256 are written), and read back raw.
    bool writeCapturedLine(std::string_view bytes) const;
    [[nodiscard]] std::string capturedLineBytes() const;
    bool setPlayerState(std::uint8_t value) const;
    // The 20-byte mod name of the active set, zero-filled after the text.
    bool setModName(std::string_view name) const;

    // Has the fake look at its planted copies and answers its control block.
    [[nodiscard]] std::optional<fake_game::ControlBlock> report() const;
    // Writes every planted copy again.
    bool replant() const;
    // A game of today: runs the console command (a bound key's alias) and
    // answers whether the game took it. The log sits beside the executable.
    bool press(std::string_view command) const;
    [[nodiscard]] std::string consoleLogPath() const { return directory_ + "qconsole.log"; }

private:
    bool prepareDirectory();
    void removeDirectory();
    [[nodiscard]] std::string commandLine() const;

    FakeGameOptions options_;
    std::string directory_;
    std::string failure_;
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

}  // namespace vireo::test
