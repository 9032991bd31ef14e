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
// Timers under a loaded machine are late now and then; a missed deadline by
// this much still counts as within the period.
constexpr auto kTimerSlack = std::chrono::milliseconds(1500);

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
    Clock::time_point hookedAt{};

    DisplayRig() {
        winamp.setTitle(kTitle);
        writeDisplaySettings();
        plugin = std::make_unique<LoadedPlugin>();
        if (plugin->loaded()) plugin->init(winamp.handle());
    }

    // Starts the game and pumps the host timers until the DLL is mapped into
    // it; answers how long that took after the window appeared.
    std::optional<Clock::duration> startGame(FakeGameOptions options) {
        engine.reset();
        game = std::make_unique<FakeGameProcess>(std::move(options));
        if (!game->start()) {
            ADD_FAILURE() << game->failure();
            return std::nullopt;
        }
        engine = std::make_unique<FakeEngine>(*game);
        const auto appeared = Clock::now();
        if (!pumpUntil([&] { return engine->vireoLoaded(); }, kInstallerPeriod + 2 * kTimerSlack))
            return std::nullopt;
        hookedAt = Clock::now();
        return hookedAt - appeared;
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

inline FakeGameOptions gameNamed(const std::string& exe, std::vector<std::string> extra = {}) {
    FakeGameOptions options;
    options.exeName = exe;
    options.plantCopies = false;
    options.extraArguments = std::move(extra);
    return options;
}

}  // namespace vireo::test
