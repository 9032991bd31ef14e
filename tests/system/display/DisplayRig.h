#pragma once
// What the display's end-to-end tests share: the settings they draw with,
// and a rig of the Winamp double, the plug-in loaded as Winamp loads it, and
// one fake game at a time beside it.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/Timers.h"
#include "support/FakeEngine.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

namespace vireo::test {

using Clock = std::chrono::steady_clock;

constexpr auto kInstallerPeriod = std::chrono::milliseconds(kHookInstallerPeriodMs);
constexpr auto kComposerPeriod = std::chrono::milliseconds(kDisplayComposerPeriodMs);
constexpr auto kDrawPeriod = std::chrono::milliseconds(kGameDisplayPeriodMs);
constexpr DWORD kPollMs = 10;

inline const std::string kTitle = "100% Live %n%s";
inline const std::string kLongLine(300, 'L');

struct Colour {
    float red, green, blue;
};
constexpr Colour kWhite{1.0f, 1.0f, 1.0f};

// The six templates and what the Winamp double makes of them.
inline const std::array<std::string, 6> kTemplates = {
    "%DISPLAYNAME%", kLongLine, "%BITRATE%kbps - %FREQ%khz - %CHANNELS%", "50% of it", "", "end"};
inline const std::array<std::string, 6> kComposed = {
    kTitle, kLongLine.substr(0, 255), "128kbps - 44khz - Stereo", "50% of it", "", "end"};
inline const std::array<std::string, 6> kEmptyRows = {"", "", "", "", "", ""};

inline void writeDisplaySettings() {
    deleteSettingsKey();
    writeSettingInt("EnableScripting", 0);
    writeSettingInt("EnableIngameDisplay", 1);
    writeSettingInt("ShowGUI", 0);
    writeSettingInt("StartLine", 11);
    writeSettingInt("DisplayColor", 0);
    for (int k = 0; k < 6; ++k)
        writeSettingText(("DisplayLine" + std::to_string(k + 1)).c_str(), kTemplates[k]);
}

inline void expectDrawn(const DrawnTick& tick, const std::array<std::string, 6>& texts,
                        std::int32_t startLine, Colour colour, DWORD gameThread) {
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        EXPECT_EQ(tick[i].text, texts[i]);
        EXPECT_EQ(tick[i].row, startLine + 2 * i);
        EXPECT_EQ(tick[i].timeToLive, 1.5f);
        EXPECT_EQ(tick[i].red, colour.red);
        EXPECT_EQ(tick[i].green, colour.green);
        EXPECT_EQ(tick[i].blue, colour.blue);
        EXPECT_EQ(tick[i].threadId, gameThread) << "drawn on the game's own thread";
    }
}

// Winamp with the plug-in, and one game at a time beside it.
struct DisplayRig {
    FakeWinamp winamp;
    std::unique_ptr<LoadedPlugin> plugin;
    std::unique_ptr<FakeGameProcess> game;
    std::unique_ptr<FakeEngine> engine;
    // The installer's ticks when the game was hooked.
    unsigned hookedAtTick = 0;

    DisplayRig() {
        winamp.setTitle(kTitle);
        writeDisplaySettings();
        plugin = std::make_unique<LoadedPlugin>();
        if (plugin->loaded()) plugin->init(winamp.handle());
    }

    // Starts the game and answers how many ticks of the hook installer it
    // took to map the DLL into it; nothing when it never was. After the first
    // tick no other runs until the DLL is there or a deadline has passed: the
    // game maps it on its own thread, at the message the installer posted to
    // it, and nothing on this thread takes part.
    std::optional<unsigned> startGame(FakeGameOptions options) {
        engine.reset();
        game = std::make_unique<FakeGameProcess>(std::move(options));
        if (!game->start()) {
            ADD_FAILURE() << game->failure();
            return std::nullopt;
        }
        engine = std::make_unique<FakeEngine>(*game);
        const unsigned before = timerTicks(kHookInstallerTimerId);
        if (!pumpTicks(kHookInstallerTimerId, 1, kInstallerPeriod)) return std::nullopt;
        const auto deadline = Clock::now() + kPatience;
        while (!engine->vireoLoaded() && Clock::now() < deadline) ::Sleep(kPollMs);
        if (!engine->vireoLoaded() &&
            !pumpUntil([&] { return engine->vireoLoaded(); }, kInstallerPeriod + kTimerSlack))
            return std::nullopt;
        hookedAtTick = timerTicks(kHookInstallerTimerId);
        return hookedAtTick - before;
    }

    DWORD gameThread() const {
        const auto log = engine->log();
        return log ? log->gameThreadId : 0;
    }

    // For failure messages: what the fake engine saw so far.
    std::string state() const {
        const auto log = engine ? engine->log() : nullptr;
        if (!log) return "no engine log";
        std::ostringstream out;
        out << "prints " << log->printCount << ", DLL mapped " << log->vireoLoaded
            << ", its timer messages " << log->vireoTimerMessages << ", faults " << log->faults
            << " (first at 0x" << std::hex << log->firstFaultAddress << ")";
        return out.str();
    }
};

// Waits until the game side's report in the plug-in's shared section tells
// of the running game and reads as expected (each tick writes it after its
// prints); false when it never did.
inline bool gameSideReads(const DisplayRig& rig, bool tableAccepted, unsigned rowsPrinted,
                          bool consoleOpen = false) {
    const SharedDisplayBlock* block = sharedBlockOf(rig.plugin->module());
    const DWORD game = rig.game->processId();
    return block && pumpUntil(
                        [&] {
                            const GameSideReport report = block->gameSide;
                            return report.processId == game && report.lastTick != 0 &&
                                   report.tableChecked == 1 &&
                                   report.tableAccepted == tableAccepted &&
                                   report.rowsPrinted == rowsPrinted &&
                                   report.consoleOpen == consoleOpen;
                        },
                        2 * kDrawPeriod + kTimerSlack);
}

inline FakeGameOptions gameNamed(const std::string& exe, std::vector<std::string> extra = {}) {
    FakeGameOptions options;
    options.exeName = exe;
    options.plantCopies = false;
    options.extraArguments = std::move(extra);
    return options;
}

}  // namespace vireo::test
