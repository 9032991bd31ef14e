// Faults on Winamp's side of the plug-in: Winamp's window goes away while
// the timers run, someone else holds the game client's port, "Vireo.cfg"
// cannot be written, and the settings key cannot be written.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "common/UniqueResource.h"
#include "player/WinampIpc.h"
#include "settings/Defaults.h"
#include "settings/Setting.h"
#include "support/FakeEngine.h"
#include "support/UdpListener.h"
#include "system/faults/FaultRig.h"

namespace vireo::test {
namespace {

constexpr std::uint16_t kGameClientPort = 27005;
constexpr char kScriptName[] = "Vireo.cfg";
constexpr char kStale[] = "// left by an earlier run\r\n";

class HostFaultTest : public ::testing::Test {
protected:
    void SetUp() override { writeBusySettings(); }
};

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Every timer runs (console, watch, hook, display, script, auto-pause with
// the player dying and spawning) when Winamp's window is destroyed under
// them. The game keeps running, the plug-in unloads cleanly, and a Winamp
// started again in the same process gets a working plug-in.
TEST_F(HostFaultTest, WinampWindowDestroyedWhileTimersRun) {
    auto game = startGame(counterStrikeOptions());
    ASSERT_TRUE(game);
    FakeEngine engine(*game);
    // The first round makes what the system keeps once a window of Winamp's
    // has died under live timers; the second is counted.
    ResourceCounts before;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        before = resourceCounts();
        game->writeCapturedLine("");
        {
            WinampWithPlugin host;
            // Auto-pause sets its mode to 0 when it first sees the game.
            ASSERT_TRUE(pumpTicks(kAutoPauseTimerId, 1, kAutoPauseTick));
            writeSettingInt("EnableAutoPause", 2);
            const auto settings = storedSettings();
            ResponsivenessProbe probe;
            ASSERT_TRUE(
                pumpUntil([&] { return engine.vireoLoaded(); }, kHookInstall + kTimerSlack));
            for (int i = 0; i < 4; ++i) {
                game->setPlayerState(static_cast<std::uint8_t>(i % 2));
                ASSERT_TRUE(pumpTicks(kAutoPauseTimerId, 3, kAutoPauseTick));
            }
            EXPECT_TRUE(typeLine(*game, "Vireo NextTrack"));
            host.winamp.destroy();
            for (int i = 0; i < 6; ++i) {
                game->setPlayerState(static_cast<std::uint8_t>(i % 2));
                game->writeCapturedLine("Vireo NextTrack");
                pumpMessagesFor(3 * kAutoPauseTick);
            }
            probe.expectResponsive("Winamp's window destroyed");
            expectSameSettings(settings, "Winamp's window destroyed");
            const auto log = engine.log();
            ASSERT_TRUE(log);
            EXPECT_EQ(log->faults, 0u);
        }
        {
            game->writeCapturedLine("");
            WinampWithPlugin again;
            EXPECT_TRUE(typeLine(*game, "Vireo NextTrack"));
            EXPECT_EQ(again.count(WINAMP_BUTTON5), 1u);
        }
    }
    // Each round leaves three or four handles behind under Wine 8; see
    // DISABLED_LoadUnloadBesideAGameLeavesNoHandle, which narrows it down.
    RecordProperty("handlesAfterTwoRounds", resourceCounts().handles - before.handles);
}

// Not yet mended: each round of the test above leaves a few handles behind.
// This one asks whether a plain load, a few seconds beside a game and an
// unload already does.
TEST_F(HostFaultTest, DISABLED_LoadUnloadBesideAGameLeavesNoHandle) {
    auto game = startGame(counterStrikeOptions());
    ASSERT_TRUE(game);
    {
        WinampWithPlugin warm;
        pumpMessagesFor(kHookInstall + kTimerSlack);
    }
    const auto before = resourceCounts();
    for (int round = 0; round < 3; ++round) {
        WinampWithPlugin host;
        pumpMessagesFor(kHookInstall + kTimerSlack);
        std::printf("round %d: handles %ld\n", round, resourceCounts().handles);
    }
    expectNoGrowth(before, "load and unload beside a game");
}

// Another program has the game client's port; the help goes to it, the
// console keeps working, and no socket is left behind.
TEST_F(HostFaultTest, PortAlreadyBoundBySomeoneElse) {
    auto game = startGame(counterStrikeOptions());
    ASSERT_TRUE(game);
    WinampWithPlugin host;
    const auto settings = storedSettings();
    ResponsivenessProbe probe;
    UdpListener squatter(kGameClientPort);
    ASSERT_TRUE(squatter.bound());
    ASSERT_TRUE(typeLine(*game, "Vireo Help"));  // warm-up: winsock's first use
    EXPECT_TRUE(squatter.receive(kPatience));
    const auto before = resourceCounts();
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(typeLine(*game, "Vireo Help"));
        EXPECT_TRUE(squatter.receive(kPatience)) << "help " << i;
    }
    EXPECT_TRUE(typeLine(*game, "Vireo NextTrack"));
    EXPECT_EQ(host.count(WINAMP_BUTTON5), 1u);
    probe.expectResponsive("port taken");
    expectSameSettings(settings, "port taken");
    expectNoGrowth(before, "port taken");
}

enum class ScriptFault { ReadOnly, Locked };

// "Vireo.cfg" that cannot be written is left as it is, tick after tick, and
// written at the first tick after the fault is gone.
TEST_F(HostFaultTest, ScriptFileReadOnlyOrLocked) {
    FakeGameOptions options;
    options.plantCopies = false;
    auto game = startGame(options);
    ASSERT_TRUE(game);
    const std::string path = game->modDirectory() + kScriptName;
    for (const ScriptFault fault : {ScriptFault::ReadOnly, ScriptFault::Locked}) {
        SCOPED_TRACE(fault == ScriptFault::ReadOnly ? "read-only" : "locked");
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        {
            std::ofstream stale(path, std::ios::binary | std::ios::trunc);
            stale << kStale;
        }
        UniqueFileHandle lock;
        if (fault == ScriptFault::ReadOnly) {
            ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
            // Wine keeps the attribute as the file's write permission, which
            // root ignores: the file stays writable there.
            const UniqueFileHandle probe{::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                       nullptr)};
            if (probe) {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                RecordProperty("readOnly", "not enforced for this user");
                continue;
            }
        } else {
            lock = UniqueFileHandle{::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
            ASSERT_TRUE(lock);
        }
        const auto before = resourceCounts();
        {
            WinampWithPlugin host;
            const auto settings = storedSettings();
            ResponsivenessProbe probe;
            // The writer tries twice while the fault lasts.
            ASSERT_TRUE(pumpTicks(kScriptWriterTimerId, 2, kScriptTick));
            lock.reset();
            EXPECT_EQ(readFile(path), std::optional<std::string>(kStale));
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            EXPECT_TRUE(pumpUntil(
                [&] {
                    const auto text = readFile(path);
                    return text && text->find("alias Vireo_EchoSong") != std::string::npos;
                },
                kScriptTick + kTimerSlack))
                << "not written once the fault was gone";
            probe.expectResponsive("script file");
            expectSameSettings(settings, "script file");
        }
        expectNoGrowth(before, "script file");
    }
}

// Writing the settings key fails: no right to HKEY_LOCAL_MACHINE and none to
// the per-user key either. Wine does not enforce registry permissions, so the
// settings' key creator refuses both. The settings then read as nothing is
// stored (0 and the empty text) and their writes go nowhere: the values
// stored before are kept, and building and dropping settings this way, many
// times over, leaves no key open.
LONG refuseEveryKey(HKEY, const char*, HKEY*) { return ERROR_ACCESS_DENIED; }

TEST_F(HostFaultTest, SettingsKeyCannotBeWritten) {
    { const WinampWithPlugin stored; }  // all nineteen values in the key
    const auto settings = storedSettings();
    const auto build = [] {
        const std::string key(defaults::kKeyPath);
        IntSetting number(HKEY_LOCAL_MACHINE, key, "StartLine", defaults::kStartLine);
        StringSetting text(HKEY_LOCAL_MACHINE, key, "DisplayLine1",
                           std::string(defaults::kDisplayLine1));
        EXPECT_EQ(number.read(), 0);
        EXPECT_EQ(text.read(), "");
        number.write(-5);
        text.write("lost");
    };
    setSettingKeyCreator(refuseEveryKey);
    build();  // warm-up
    const ResourceCounts before = resourceCounts();
    for (int i = 0; i < 100; ++i) build();
    setSettingKeyCreator(nullptr);
    expectNoGrowth(before, "settings without a key");
    expectSameSettings(settings, "settings without a key");
}

}  // namespace
}  // namespace vireo::test
