// The file players install, build/release/bin/gen_vireo.dll exactly as the
// release build left it, loaded as Winamp loads it beside a Counter-Strike
// double: a typed console line reaches Winamp, a display line is drawn by the
// game's engine, and Vireo.cfg is written into the mod directory.

#include <gtest/gtest.h>

#include "common/Timers.h"
#include "player/WinampIpc.h"
#include "support/FakeEngine.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

namespace vireo::test {
namespace {

constexpr auto kConsolePoll = std::chrono::milliseconds(kConsolePollPeriodMs);

TEST(ShippedDllTest, CarriesACommandADisplayLineAndTheScript) {
    const std::string shipped = shippedDllPath();
    ASSERT_FALSE(shipped.empty()) << "VIREO_SHIPPED_DLL is not set";
    ASSERT_NE(::GetFileAttributesA(shipped.c_str()), INVALID_FILE_ATTRIBUTES)
        << shipped << " is missing: build the release preset first";

    deleteSettingsKey();
    writeSettingInt("EnableIngameDisplay", 1);
    writeSettingInt("EnableScripting", 1);
    writeSettingInt("ShowGUI", 0);
    writeSettingInt("StartLine", 11);
    writeSettingText("DisplayLine1", "Now: %DISPLAYNAME%");
    writeSettingText("Script", "alias Vireo_EchoSong \"echo %DISPLAYNAME%\"\n");

    FakeWinamp winamp;
    winamp.setTitle("Shipped Band - Exact Bytes");
    winamp.setPlayStatus(IPC_PLAYING);
    FakeGameProcess game(counterStrikeOptions());
    ASSERT_TRUE(game.start()) << game.failure();
    FakeEngine engine(game);

    LoadedPlugin plugin(shipped);
    ASSERT_TRUE(plugin.loaded()) << shipped;
    char loadedFrom[MAX_PATH] = {};
    ::GetModuleFileNameA(plugin.module(), loadedFrom, MAX_PATH);
    EXPECT_EQ(::lstrcmpiA(loadedFrom, shipped.c_str()), 0) << loadedFrom;
    plugin.init(winamp.handle());

    // A console command, and one that switches the display on.
    ASSERT_TRUE(game.writeCapturedLine("Vireo NextTrack 2"));
    ASSERT_TRUE(pumpUntil([&] { return game.capturedLineBytes() == std::string(256, '\0'); },
                          kConsolePoll + kTimerSlack));
    // One entry: a count of 2 is bounded to the one step that reaches its end.
    EXPECT_EQ(winamp.commands(), (std::vector<unsigned>{WINAMP_BUTTON5}));
    EXPECT_EQ(winamp.requests(IPC_GETLISTLENGTH).size(), 1u);
    ASSERT_TRUE(game.writeCapturedLine("Vireo ShowGUI"));
    ASSERT_TRUE(
        pumpUntil([&] { return readSettingInt("ShowGUI") == 1; }, kConsolePoll + kTimerSlack));

    // The hook maps the shipped file into the game, whose engine draws.
    ASSERT_TRUE(pumpUntil([&] { return engine.vireoLoaded(); },
                          std::chrono::milliseconds(kHookInstallerPeriodMs) + kTimerSlack));
    std::optional<DrawnTick> tick;
    ASSERT_TRUE(pumpUntil(
        [&] {
            tick = engine.nextTick();
            return tick && std::string(tick->at(0).text) == "Now: Shipped Band - Exact Bytes";
        },
        kPatience))
        << (tick ? tick->at(0).text : "nothing drawn");
    EXPECT_EQ(tick->at(0).row, 11);

    const std::string script = game.modDirectory() + "Vireo.cfg";
    ASSERT_TRUE(pumpUntil([&] { return !fileText(script).empty(); },
                          std::chrono::milliseconds(kScriptWriterPeriodMs) + kTimerSlack))
        << script;
    EXPECT_EQ(fileText(script), "alias Vireo_EchoSong \"echo Shipped Band - Exact Bytes\"\r\n");

    plugin.unload();
}

}  // namespace
}  // namespace vireo::test
