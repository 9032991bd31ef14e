// gen_vireo.dll loaded the way Winamp loads it, and the registry it leaves.

#include <gtest/gtest.h>

#include "settings/Defaults.h"
#include "support/TestSupport.h"

namespace vireo::test {
namespace {

struct ExpectedSetting {
    const char* name;
    DWORD type;
    std::int32_t number;
    std::string_view text;
};

const ExpectedSetting kTable[] = {
    {"DisplayLine1", REG_SZ, 0, "%DISPLAYNAME%"},
    {"DisplayLine2", REG_SZ, 0, "%POS% / %LENGTH%"},
    {"DisplayLine3", REG_SZ, 0, "%BITRATE%kbps - %FREQ%khz - %CHANNELS%"},
    {"DisplayLine4", REG_SZ, 0, "%TIME% - %SHORTDATE%"},
    {"DisplayLine5", REG_SZ, 0, ""},
    {"DisplayLine6", REG_SZ, 0, ""},
    {"DisplayColor", REG_DWORD, 0, {}},
    {"EnableScripting", REG_DWORD, 1, {}},
    {"EnableIngameDisplay", REG_DWORD, 1, {}},
    {"EnableAutoPause", REG_DWORD, 0, {}},
    {"FadeoutTarget", REG_DWORD, 25, {}},
    {"FadeinTarget", REG_DWORD, 100, {}},
    {"DelayAutoPause", REG_DWORD, 0, {}},
    {"HighUpdateFrequency", REG_DWORD, 0, {}},
    {"PlaceScriptInRoot", REG_DWORD, 0, {}},
    {"Script", REG_SZ, 0, defaults::kScript},
    {"BuilderMode", REG_DWORD, 0, {}},
    {"ShowGUI", REG_DWORD, 0, {}},
    {"StartLine", REG_DWORD, 11, {}},
};

int countValues() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, std::string(defaults::kKeyPath).c_str(), 0, KEY_READ,
                        &key) != ERROR_SUCCESS)
        return -1;
    DWORD values = 0;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    return static_cast<int>(values);
}

// Loads, initialises with a host window, quits and unloads: one Winamp run.
void runWinampOnce() {
    HostWindow host;
    LoadedPlugin plugin;
    ASSERT_TRUE(plugin.loaded());
    EXPECT_EQ(plugin.init(host.handle()), 0);
    plugin.unload();
}

class PluginLoadTest : public ::testing::Test {
protected:
    void SetUp() override { deleteSettingsKey(); }
};

TEST_F(PluginLoadTest, CleanKeyGetsAllNineteenDefaults) {
    runWinampOnce();
    EXPECT_EQ(countValues(), 19);
    for (const ExpectedSetting& row : kTable) {
        const RawValue value = readSettingRaw(row.name);
        ASSERT_TRUE(value.present) << row.name;
        EXPECT_EQ(value.type, row.type) << row.name;
        if (row.type == REG_DWORD) {
            EXPECT_EQ(value.data.size(), 4u) << row.name;
            EXPECT_EQ(value.integer(), row.number) << row.name;
        } else {
            EXPECT_EQ(readSettingText(row.name), row.text) << row.name;
        }
    }
    // 716 bytes without a terminator (Wine's registry appends one).
    const RawValue script = readSettingRaw("Script");
    const std::size_t expected = runningUnderWine() ? 717 : 716;
    EXPECT_EQ(script.data.size(), expected);
    EXPECT_EQ(script.text().rfind("alias Vireo_EchoSong", 0), 0u);
}

TEST_F(PluginLoadTest, WrongKindsAreReplacedRightKindsSurviveAndOneDeletedValueReturns) {
    writeSettingText("FadeoutTarget", "10");
    writeSettingInt("DisplayLine1", 5);
    writeSettingInt("DisplayColor", 7);
    writeSettingInt("FadeinTarget", 250);
    writeSettingInt("StartLine", -3);
    writeSettingText("DisplayLine2", "mine %TITLE%");
    runWinampOnce();
    EXPECT_EQ(readSettingRaw("FadeoutTarget").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(readSettingInt("FadeoutTarget"), 25);
    EXPECT_EQ(readSettingText("DisplayLine1"), "%DISPLAYNAME%");
    EXPECT_EQ(readSettingInt("DisplayColor"), 7);
    EXPECT_EQ(readSettingInt("FadeinTarget"), 250);
    EXPECT_EQ(readSettingInt("StartLine"), -3);
    EXPECT_EQ(readSettingText("DisplayLine2"), "mine %TITLE%");

    deleteSettingValue("ShowGUI");
    writeSettingInt("DelayAutoPause", 1);
    runWinampOnce();
    EXPECT_TRUE(readSettingRaw("ShowGUI").present);
    EXPECT_EQ(readSettingInt("ShowGUI"), 0);
    EXPECT_EQ(readSettingInt("DelayAutoPause"), 1);
    EXPECT_EQ(readSettingInt("StartLine"), -3);
}

TEST_F(PluginLoadTest, EnableAutoPauseIsZeroAfterEveryInit) {
    for (std::int32_t before : {2, 1, -1}) {
        writeSettingInt("EnableAutoPause", before);
        runWinampOnce();
        EXPECT_EQ(readSettingInt("EnableAutoPause"), 0) << before;
    }
}

TEST_F(PluginLoadTest, BuilderModeRoundTripsThroughQuitAndTheNextInit) {
    struct Row {
        std::int32_t stored;
        std::int32_t afterQuit;
    };
    for (const Row& row : {Row{1, 1}, Row{0, 0}, Row{5, 0}, Row{-1, 0}}) {
        writeSettingInt("BuilderMode", row.stored);
        runWinampOnce();
        EXPECT_EQ(readSettingInt("BuilderMode"), row.afterQuit) << row.stored;
    }
}

TEST_F(PluginLoadTest, RecordAsWinampSeesIt) {
    LoadedPlugin plugin;
    ASSERT_TRUE(plugin.loaded());
    PluginRecord* record = plugin.record();
    EXPECT_EQ(record->version, 0x10);
    EXPECT_STREQ(record->description, "Vireo 1.31");
    EXPECT_NE(record->init, nullptr);
    EXPECT_NE(record->config, nullptr);
    EXPECT_NE(record->quit, nullptr);
    EXPECT_EQ(record->hwndParent, nullptr);
    EXPECT_EQ(record->hDllInstance, nullptr);
    EXPECT_EQ(plugin.callExport(), record);
    EXPECT_EQ(plugin.callExport(), record);
}

// KillTimer succeeds only for a timer that exists, so it tells which of the
// numbered timers init started on the host window.
struct TimerState {
    bool script, hookInstaller, composer, autoPause;
};

TimerState initAndProbeTimers() {
    HostWindow host;
    LoadedPlugin plugin;
    plugin.init(host.handle());
    TimerState state{::KillTimer(host.handle(), 1002) != 0, ::KillTimer(host.handle(), 1000) != 0,
                     ::KillTimer(host.handle(), 1001) != 0, ::KillTimer(host.handle(), 1004) != 0};
    plugin.unload();
    return state;
}

TEST_F(PluginLoadTest, InitStartsTimersOnlyForSettingsThatAreExactlyOne) {
    struct Row {
        std::int32_t scripting, display;
        TimerState expected;
    };
    const Row rows[] = {
        {1, 1, {true, true, true, true}},
        {2, 1, {false, true, true, true}},
        {1, 2, {true, false, false, true}},
        {0, 0, {false, false, false, true}},
    };
    for (const Row& row : rows) {
        writeSettingInt("EnableScripting", row.scripting);
        writeSettingInt("EnableIngameDisplay", row.display);
        const TimerState got = initAndProbeTimers();
        const std::string which = std::to_string(row.scripting) + "/" + std::to_string(row.display);
        EXPECT_EQ(got.script, row.expected.script) << which;
        EXPECT_EQ(got.hookInstaller, row.expected.hookInstaller) << which;
        EXPECT_EQ(got.composer, row.expected.composer) << which;
        EXPECT_EQ(got.autoPause, row.expected.autoPause) << which;
    }
}

TEST_F(PluginLoadTest, ConfigureActivatesAnOpenOptionsWindowInsteadOfOpeningAnother) {
    HostWindow host;
    HWND open = ::CreateWindowA("STATIC", "Vireo Version 1.30", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(open, nullptr);
    HWND other = ::CreateWindowA("STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                                 100, nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(other);
    LoadedPlugin plugin;
    plugin.init(host.handle());
    plugin.config();  // returns at once: no modal dialog is run
    EXPECT_EQ(::GetActiveWindow(), open);
    plugin.unload();
    ::DestroyWindow(other);
    ::DestroyWindow(open);
}

}  // namespace
}  // namespace vireo::test
