// The options window and its pages opened through the configuration entry,
// worked from a driver thread, and what they leave in the registry and on
// the host window's timers.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "common/Timers.h"
#include "settings/Defaults.h"
#include "system/display/DisplayRig.h"
#include "system/ui/DialogDriver.h"
#include "ui/Resource.h"

namespace vireo::test {
namespace {

constexpr UINT_PTR kHookInstallerTimer = kHookInstallerTimerId;
constexpr UINT_PTR kComposerTimer = kDisplayComposerTimerId;
constexpr UINT_PTR kScriptTimer = kScriptWriterTimerId;
constexpr UINT_PTR kAutoPauseTimer = kAutoPauseTimerId;

std::vector<RawValue> snapshotSettings() {
    std::vector<RawValue> values;
    for (const char* name : kSettingNames) values.push_back(readSettingRaw(name));
    return values;
}

class OptionsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        deleteSettingsKey();
        session_ = std::make_unique<OptionsSession>();
        ASSERT_TRUE(session_->plugin().loaded());
    }
    void TearDown() override { session_.reset(); }

    // Opens the options window and runs the drive; fails the test if the
    // drive failed.
    void configure(const std::function<void(Dialog&)>& drive) {
        const std::string failure = session_->configure([&] {
            Dialog options = waitForDialog(kOptionsCaption);
            drive(options);
            options.waitClosed();
        });
        EXPECT_EQ(failure, "");
    }
    // Opens one page from the options window, runs the drive on it, and
    // closes the options window after the page has closed.
    void configurePage(int button, const char* caption, const std::function<void(Dialog&)>& drive) {
        configure([&](Dialog& options) {
            options.click(button);
            Dialog page = waitForDialog(caption);
            drive(page);
            page.waitClosed();
            options.click(IDOK);
        });
    }

    std::unique_ptr<OptionsSession> session_;
};

TEST_F(OptionsWindowTest, EscDoesNothingWhileCloseAndTheTitleBarClose) {
    bool openAfterEsc = false;
    bool greetingVisible = true;
    configure([&](Dialog& options) {
        greetingVisible = ::IsWindowVisible(options.item(IDC_GREETING)) != FALSE;
        options.key(VK_ESCAPE);
        // What does not happen cannot be waited for: the window's time to
        // take the key passes.
        std::this_thread::sleep_for(300ms);
        openAfterEsc = dialogOpen(kOptionsCaption);
        options.close();
    });
    EXPECT_TRUE(openAfterEsc);
    EXPECT_FALSE(greetingVisible);
    configure([](Dialog& options) { options.click(IDOK); });
    session_.reset();  // quit and FreeLibrary: the closed window holds the DLL no more
    EXPECT_EQ(::GetModuleHandleA(pluginDllPath().c_str()), nullptr);
}

// Winamp calls configure again on its own thread while the window is open,
// from inside the window's modal loop: a thread timer stands in for that.
std::atomic<bool> secondConfigureDone{false};
HWND activeAfterSecondConfigure = nullptr;
int optionsWindowsAfterSecondConfigure = 0;
LoadedPlugin* pluginForTimer = nullptr;

void CALLBACK configureAgain(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    HWND other = ::CreateWindowA("STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                                 100, nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(other);
    pluginForTimer->config();  // must return at once
    activeAfterSecondConfigure = ::GetActiveWindow();
    optionsWindowsAfterSecondConfigure = countTopLevelWindows(kOptionsCaption);
    ::DestroyWindow(other);
    secondConfigureDone = true;
}

TEST_F(OptionsWindowTest, SecondConfigureActivatesTheOpenWindow) {
    pluginForTimer = &session_->plugin();
    secondConfigureDone = false;
    HWND optionsWindow = nullptr;
    ::SetTimer(nullptr, 0, 200, configureAgain);
    configure([&](Dialog& options) {
        optionsWindow = options.handle();
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!secondConfigureDone && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        options.close();
    });
    ASSERT_TRUE(secondConfigureDone);
    EXPECT_EQ(activeAfterSecondConfigure, optionsWindow);
    EXPECT_EQ(optionsWindowsAfterSecondConfigure, 1);
}

TEST_F(OptionsWindowTest, HelpAsksFirstAndNoLeavesEverythingAsItWas) {
    bool asked = false;
    bool openAfterNo = false;
    configure([&](Dialog& options) {
        options.click(IDC_HELP_SITE);
        Dialog question = waitForDialog("Question");
        asked = hasChildWithText(question.handle(),
                                 "Launch default browser to the Vireo support site?");
        ::PostMessageA(question.handle(), WM_COMMAND, IDNO, 0);
        question.waitClosed();
        openAfterNo = dialogOpen(kOptionsCaption);
        options.click(IDOK);
    });
    EXPECT_TRUE(asked);
    EXPECT_TRUE(openAfterNo);
}

TEST_F(OptionsWindowTest, AboutBoxClosesWithOkEscAndTitleBar) {
    configure([](Dialog& options) {
        const std::function<void(Dialog&)> ways[] = {
            [](Dialog& about) { about.click(IDOK); },
            [](Dialog& about) { about.key(VK_ESCAPE); },
            [](Dialog& about) { about.close(); },
        };
        for (const auto& way : ways) {
            options.click(IDC_ABOUT);
            Dialog about = waitForDialog(kAboutCaption);
            if (!hasChildWithText(about.handle(), "&OK")) throw DriverFailure("About has no OK");
            way(about);
            about.waitClosed();
            if (!dialogOpen(kOptionsCaption)) throw DriverFailure("About closed the options");
        }
        options.click(IDOK);
    });
}

// Every page, left by Cancel, Esc or the title bar after its controls were
// changed, writes no setting and touches no timer.
TEST_F(OptionsWindowTest, PagesLeftWithoutOkWriteNothingAndTouchNoTimer) {
    ASSERT_TRUE(session_->takeTimer(kAutoPauseTimer));  // OK on General would restart it
    const std::vector<RawValue> before = snapshotSettings();
    struct Page {
        int button;
        const char* caption;
        std::function<void(Dialog&)> change;
    };
    const Page pages[] = {
        {IDC_GENERAL, kGeneralCaption,
         [](Dialog& page) {
             page.setCheck(IDC_ENABLE_SCRIPTING, false);
             page.setCheck(IDC_ENABLE_INGAME_DISPLAY, false);
             page.press(IDC_AUTOPAUSE_PAUSE);
             page.type(IDC_FADEOUT_TARGET, "3");
         }},
        {IDC_SCRIPTING, kScriptingCaption,
         [](Dialog& page) {
             page.setCheck(IDC_HIGH_UPDATE_FREQUENCY, true);
             page.type(IDC_SCRIPT, "echo changed");
         }},
        {IDC_DISPLAY, kDisplayCaption,
         [](Dialog& page) {
             page.type(IDC_LINE_TEXT, "changed");
             page.press(IDC_COLOR_RED);
             page.type(IDC_START_LINE, "4");
         }},
    };
    const std::function<void(Dialog&)> ways[] = {
        [](Dialog& page) { page.click(IDCANCEL); },
        [](Dialog& page) { page.key(VK_ESCAPE); },
        [](Dialog& page) { page.close(); },
    };
    configure([&](Dialog& options) {
        for (const Page& page : pages) {
            for (const auto& way : ways) {
                options.click(page.button);
                Dialog opened = waitForDialog(page.caption);
                page.change(opened);
                way(opened);
                opened.waitClosed();
            }
        }
        options.click(IDOK);
    });
    const std::vector<RawValue> after = snapshotSettings();
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].present, before[i].present) << kSettingNames[i];
        EXPECT_EQ(after[i].data, before[i].data) << kSettingNames[i];
    }
    EXPECT_FALSE(session_->takeTimer(kAutoPauseTimer));
    EXPECT_TRUE(session_->takeTimer(kScriptTimer));
    EXPECT_TRUE(session_->takeTimer(kHookInstallerTimer));
    EXPECT_TRUE(session_->takeTimer(kComposerTimer));
}

struct GeneralView {
    bool scripting = false, display = false, delay = false;
    bool pause = false, volume = false, off = false;
    std::string fadein, fadeout;
};

GeneralView readGeneral(const Dialog& page) {
    return {page.checked(IDC_ENABLE_SCRIPTING), page.checked(IDC_ENABLE_INGAME_DISPLAY),
            page.checked(IDC_DELAY_AUTOPAUSE),  page.checked(IDC_AUTOPAUSE_PAUSE),
            page.checked(IDC_AUTOPAUSE_VOLUME), page.checked(IDC_AUTOPAUSE_OFF),
            page.text(IDC_FADEIN_TARGET),       page.text(IDC_FADEOUT_TARGET)};
}

TEST_F(OptionsWindowTest, GeneralPageShowsTheStoredValuesAndOkStoresTheControls) {
    // Only a stored 1 is on, so a 2 shows clear and OK stores 0.
    writeSettingInt("EnableScripting", 2);
    writeSettingInt("EnableIngameDisplay", 1);
    writeSettingInt("DelayAutoPause", 1);
    writeSettingInt("EnableAutoPause", 5);
    writeSettingInt("FadeinTarget", -7);
    writeSettingInt("FadeoutTarget", 25);
    GeneralView shown;
    configurePage(IDC_GENERAL, kGeneralCaption, [&](Dialog& page) {
        shown = readGeneral(page);
        page.type(IDC_FADEOUT_TARGET, "");
        page.type(IDC_FADEIN_TARGET, "250");
        page.click(IDOK);
    });
    EXPECT_FALSE(shown.scripting);
    EXPECT_TRUE(shown.display);
    EXPECT_TRUE(shown.delay);
    EXPECT_TRUE(shown.off && !shown.pause && !shown.volume);  // 5: "Do not use Auto-Pause."
    EXPECT_EQ(shown.fadein, "-7");
    EXPECT_EQ(shown.fadeout, "25");
    EXPECT_EQ(readSettingInt("EnableScripting"), 0);
    EXPECT_EQ(readSettingInt("EnableIngameDisplay"), 1);
    EXPECT_EQ(readSettingInt("DelayAutoPause"), 1);
    EXPECT_EQ(readSettingInt("EnableAutoPause"), 0);
    EXPECT_EQ(readSettingInt("FadeoutTarget"), 0);
    EXPECT_EQ(readSettingInt("FadeinTarget"), 250);
}

TEST_F(OptionsWindowTest, GeneralPageAutoPauseRadioButtonsAreOneGroup) {
    struct Row {
        std::int32_t stored;
        int press;
        int cleared;  // selected before the press, cleared by it
        std::int32_t expected;
    };
    const Row rows[] = {
        {0, IDC_AUTOPAUSE_PAUSE, IDC_AUTOPAUSE_OFF, 2},
        {2, IDC_AUTOPAUSE_VOLUME, IDC_AUTOPAUSE_PAUSE, 1},
        {1, IDC_AUTOPAUSE_OFF, IDC_AUTOPAUSE_VOLUME, 0},
    };
    for (const Row& row : rows) {
        writeSettingInt("EnableAutoPause", row.stored);
        bool selectedBefore = false, clearedAfter = false;
        configurePage(IDC_GENERAL, kGeneralCaption, [&](Dialog& page) {
            selectedBefore = page.checked(row.cleared);
            page.press(row.press);
            clearedAfter = !page.checked(row.cleared);
            page.click(IDOK);
        });
        EXPECT_TRUE(selectedBefore) << row.stored;
        EXPECT_TRUE(clearedAfter) << row.stored;
        EXPECT_EQ(readSettingInt("EnableAutoPause"), row.expected) << row.stored;
    }
}

TEST_F(OptionsWindowTest, GeneralPageOkRearmsEveryTimerForTheNewSettings) {
    // Started at init with the defaults: scripting and display on.
    ASSERT_TRUE(session_->takeTimer(kAutoPauseTimer));
    configurePage(IDC_GENERAL, kGeneralCaption, [](Dialog& page) {
        page.setCheck(IDC_ENABLE_INGAME_DISPLAY, false);
        page.click(IDOK);
    });
    EXPECT_EQ(readSettingInt("EnableIngameDisplay"), 0);
    EXPECT_FALSE(session_->takeTimer(kHookInstallerTimer));
    EXPECT_FALSE(session_->takeTimer(kComposerTimer));
    EXPECT_TRUE(session_->takeTimer(kScriptTimer));
    EXPECT_TRUE(session_->takeTimer(kAutoPauseTimer));

    // And back on, with scripting off.
    configurePage(IDC_GENERAL, kGeneralCaption, [](Dialog& page) {
        page.setCheck(IDC_ENABLE_INGAME_DISPLAY, true);
        page.setCheck(IDC_ENABLE_SCRIPTING, false);
        page.click(IDOK);
    });
    EXPECT_TRUE(session_->takeTimer(kHookInstallerTimer));
    EXPECT_TRUE(session_->takeTimer(kComposerTimer));
    EXPECT_FALSE(session_->takeTimer(kScriptTimer));
    EXPECT_TRUE(session_->takeTimer(kAutoPauseTimer));
}

// The in-game display switched off on the General page while a game draws
// it: the game keeps the DLL, and so its drawing timer, after the hook goes,
// and must not go on drawing the last lines composed.
TEST_F(OptionsWindowTest, GeneralPageSwitchingTheDisplayOffEmptiesTheGameRows) {
    writeSettingInt("ShowGUI", 1);
    writeSettingText("DisplayLine1", "shown");
    FakeGameProcess game(gameNamed("hl.exe"));
    ASSERT_TRUE(game.start()) << game.failure();
    const FakeEngine engine(game);
    ASSERT_TRUE(
        pumpUntil([&] { return engine.vireoLoaded(); }, kInstallerPeriod + 2 * kTimerSlack));
    auto tick = engine.nextTick();
    ASSERT_TRUE(tick);
    EXPECT_EQ(std::string((*tick)[0].text), "shown");

    configurePage(IDC_GENERAL, kGeneralCaption, [](Dialog& page) {
        page.setCheck(IDC_ENABLE_INGAME_DISPLAY, false);
        page.click(IDOK);
    });
    for (int draw = 1; draw <= 2; ++draw) {
        tick = engine.nextTick();
        ASSERT_TRUE(tick) << "draw " << draw;
        for (const EnginePrint& row : *tick) EXPECT_STREQ(row.text, "") << "draw " << draw;
    }
}

TEST_F(OptionsWindowTest, ScriptingPageShowsTheScriptAndOkStoresItCutTo8191Characters) {
    writeSettingInt("EnableScripting", 0);  // after init: the script timer still runs
    writeSettingInt("PlaceScriptInRoot", 1);
    std::string long_script;
    for (int i = 0; long_script.size() < 10000; ++i)
        long_script += "alias a" + std::to_string(i) + " \"echo %TITLE%\"\r\n";
    long_script.resize(10000);
    std::string shown;
    bool rootShown = false, highShown = true;
    configurePage(IDC_SCRIPTING, kScriptingCaption, [&](Dialog& page) {
        shown = page.text(IDC_SCRIPT);
        rootShown = page.checked(IDC_SCRIPT_IN_ROOT);
        highShown = page.checked(IDC_HIGH_UPDATE_FREQUENCY);
        page.setCheck(IDC_HIGH_UPDATE_FREQUENCY, true);
        page.setCheck(IDC_SCRIPT_IN_ROOT, false);
        page.type(IDC_SCRIPT, long_script);
        page.click(IDOK);
    });
    EXPECT_EQ(shown, defaults::kScript);
    EXPECT_TRUE(rootShown);
    EXPECT_FALSE(highShown);
    EXPECT_EQ(readSettingInt("HighUpdateFrequency"), 1);
    EXPECT_EQ(readSettingInt("PlaceScriptInRoot"), 0);
    EXPECT_EQ(readSettingText("Script"), long_script.substr(0, 8191));
    // Short form: the script timer follows EnableScripting; the display
    // timers run on with the display on; auto-pause is not touched.
    ASSERT_TRUE(session_->takeTimer(kAutoPauseTimer));
    EXPECT_FALSE(session_->takeTimer(kScriptTimer));
    EXPECT_TRUE(session_->takeTimer(kComposerTimer));
    EXPECT_TRUE(session_->takeTimer(kHookInstallerTimer));

    writeSettingInt("EnableScripting", 1);
    configurePage(IDC_SCRIPTING, kScriptingCaption, [](Dialog& page) { page.click(IDOK); });
    EXPECT_TRUE(session_->takeTimer(kScriptTimer));
    EXPECT_FALSE(session_->takeTimer(kAutoPauseTimer));
    EXPECT_EQ(readSettingText("Script"), long_script.substr(0, 8191));
}

TEST_F(OptionsWindowTest, DisplayPageOpensOnLineOneWithItsOwnSixEntries) {
    writeSettingText("DisplayLine1", "first %TITLE%");
    int count = 0, selection = -1;
    std::array<std::string, 6> entries;
    std::string text;
    configurePage(IDC_DISPLAY, kDisplayCaption, [&](Dialog& page) {
        count = page.listCount(IDC_LINE_NUMBER);
        selection = page.listSelection(IDC_LINE_NUMBER);
        for (int i = 0; i < 6; ++i)
            entries[static_cast<std::size_t>(i)] = page.listEntry(IDC_LINE_NUMBER, i);
        text = page.text(IDC_LINE_TEXT);
        page.click(IDCANCEL);
    });
    EXPECT_EQ(count, 6);
    EXPECT_EQ(selection, 0);
    EXPECT_EQ(entries, (std::array<std::string, 6>{" 1", " 2", " 3", " 4", " 5", " 6"}));
    EXPECT_EQ(text, "first %TITLE%");
}

TEST_F(OptionsWindowTest, DisplayPageKeepsEditsOfSeveralLinesUntilOkOrCancel) {
    const std::string long_line(300, 'x');
    writeSettingText("DisplayLine2", long_line);
    for (const int closeWith : {IDCANCEL, IDOK}) {
        std::string line3Shown, line1Again;
        configurePage(IDC_DISPLAY, kDisplayCaption, [&](Dialog& page) {
            page.type(IDC_LINE_TEXT, "one edited");
            page.selectListEntry(IDC_LINE_NUMBER, 2);
            line3Shown = page.text(IDC_LINE_TEXT);
            page.type(IDC_LINE_TEXT, "three edited");
            page.selectListEntry(IDC_LINE_NUMBER, 1);  // passes line 2 through the field
            page.selectListEntry(IDC_LINE_NUMBER, 0);
            line1Again = page.text(IDC_LINE_TEXT);
            page.click(closeWith);
        });
        EXPECT_EQ(line3Shown, std::string(defaults::kDisplayLine3)) << closeWith;
        EXPECT_EQ(line1Again, "one edited") << closeWith;
        if (closeWith == IDCANCEL) {
            EXPECT_EQ(readSettingText("DisplayLine1"), defaults::kDisplayLine1);
            EXPECT_EQ(readSettingText("DisplayLine2"), long_line);
            EXPECT_EQ(readSettingText("DisplayLine3"), defaults::kDisplayLine3);
        } else {
            EXPECT_EQ(readSettingText("DisplayLine1"), "one edited");
            EXPECT_EQ(readSettingText("DisplayLine2"), long_line.substr(0, 255));
            EXPECT_EQ(readSettingText("DisplayLine3"), "three edited");
            EXPECT_EQ(readSettingText("DisplayLine4"), defaults::kDisplayLine4);
            const RawValue line5 = readSettingRaw("DisplayLine5");
            EXPECT_TRUE(line5.present);
            EXPECT_EQ(readSettingText("DisplayLine5"), "");
        }
    }
}

TEST_F(OptionsWindowTest, DisplayPageColourAndStartLine) {
    struct Row {
        std::int32_t storedColour;
        int shown;  // the radio button selected at opening
        int press;  // 0: leave it
        std::int32_t expectedColour;
        std::int32_t storedStart;
        const char* typedStart;  // nullptr: leave it
        std::int32_t expectedStart;
    };
    const Row rows[] = {
        {7, IDC_COLOR_WHITE, 0, 0, -5, nullptr, -5},
        {-1, IDC_COLOR_WHITE, 0, 0, 11, "", 0},
        {2, IDC_COLOR_GRAY, 0, 2, 11, "3", 3},
        {1, IDC_COLOR_BLACK, IDC_COLOR_RED, 3, 0, nullptr, 0},
    };
    for (const Row& row : rows) {
        writeSettingInt("DisplayColor", row.storedColour);
        writeSettingInt("StartLine", row.storedStart);
        int selectedCount = 0;
        bool shownSelected = false;
        std::string startShown;
        configurePage(IDC_DISPLAY, kDisplayCaption, [&](Dialog& page) {
            for (int id : {IDC_COLOR_WHITE, IDC_COLOR_BLACK, IDC_COLOR_GRAY, IDC_COLOR_RED})
                selectedCount += page.checked(id) ? 1 : 0;
            shownSelected = page.checked(row.shown);
            startShown = page.text(IDC_START_LINE);
            if (row.press) page.press(row.press);
            if (row.typedStart) page.type(IDC_START_LINE, row.typedStart);
            page.click(IDOK);
        });
        EXPECT_EQ(selectedCount, 1) << row.storedColour;
        EXPECT_TRUE(shownSelected) << row.storedColour;
        EXPECT_EQ(startShown, std::to_string(row.storedStart)) << row.storedColour;
        EXPECT_EQ(readSettingInt("DisplayColor"), row.expectedColour) << row.storedColour;
        EXPECT_EQ(readSettingInt("StartLine"), row.expectedStart) << row.storedColour;
    }
}

// Winamp ending while the options window is open, in each of the orders
// Winamp 5.9.2 knows. Run in a child process, whose exit is Winamp's; each
// failure exits with its own code.
enum class WinampEnd {
    // Closing Winamp (Main_OnClose, Main_OnDestroy): its window goes and a
    // WM_QUIT ends the modal loops, the options window's too; only after the
    // main loop has ended does WinMain's unload_genplugins call quit, and
    // nothing frees the DLL.
    Closed,
    // Logoff or shutdown: WM_ENDSESSION (Main_OnEndSession) calls quit from
    // inside whatever loop runs, the options window's included; no free.
    SessionEnds,
    // Uninstall from Preferences, for a plug-in that asks to go at once
    // (winampUninstallPlugin): quit, then FreeModule, from inside the options
    // window's loop. Vireo does not ask, but a host may free it so.
    Uninstalled,
};
constexpr char kQuittingWinampClass[] = "VireoTestQuittingWinamp";
constexpr UINT kUninstallMessage = WM_APP;  // the Preferences page's Remove button
constexpr UINT kWatchPeriodMs = 50;
constexpr auto kQuitDeadline = 20s;
constexpr int kNeverClosed = 2, kStillOpen = 3, kUnmapped = 4, kTimerLeft = 5, kNoQuit = 6;

LoadedPlugin* quittingPlugin = nullptr;
HWND quittingWinamp = nullptr;
WinampEnd winampEnd = WinampEnd::Closed;
bool quitOverThePage = false;  // a dialog open over the options window: this one
int overButton = IDC_GENERAL;
const char* overCaption = kGeneralCaption;
std::chrono::steady_clock::time_point quitDeadline;

bool shown(const char* caption) {
    HWND window = ::FindWindowA(nullptr, caption);
    return window && ::IsWindowVisible(window);
}

LRESULT CALLBACK quittingWinampProc(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    switch (message) {
        case WM_CLOSE:
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        case WM_ENDSESSION:
            if (wParam) quittingPlugin->quit();
            return 0;
        case kUninstallMessage:
            quittingPlugin->unload();  // quit, then FreeLibrary
            return 0;
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

void endWinamp() {
    switch (winampEnd) {
        case WinampEnd::Closed:
            ::PostMessageA(quittingWinamp, WM_CLOSE, 0, 0);
            break;
        case WinampEnd::SessionEnds:
            ::PostMessageA(quittingWinamp, WM_ENDSESSION, TRUE, 0);
            break;
        case WinampEnd::Uninstalled:
            ::PostMessageA(quittingWinamp, kUninstallMessage, 0, 0);
            break;
    }
}

// Dispatched by the options window's loop: once the window (and the page)
// shows, Winamp is ended; past the deadline the child gives up.
void CALLBACK endWinampOnceTheOptionsShow(HWND, UINT, UINT_PTR, DWORD) {
    static bool opening = false, ending = false;
    if (quitOverThePage && !opening && shown(kOptionsCaption)) {
        ::PostMessageA(::FindWindowA(nullptr, kOptionsCaption), WM_COMMAND, overButton, 0);
        opening = true;
    }
    if (!ending && shown(quitOverThePage ? overCaption : kOptionsCaption)) {
        endWinamp();
        ending = true;
    }
    if (std::chrono::steady_clock::now() > quitDeadline) ::ExitProcess(kNeverClosed);
}

[[noreturn]] void winampEndsWhileTheOptionsAreOpen(WinampEnd end, bool overThePage,
                                                   int button = IDC_GENERAL,
                                                   const char* caption = kGeneralCaption) {
    winampEnd = end;
    quitOverThePage = overThePage;
    overButton = button;
    overCaption = caption;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = quittingWinampProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kQuittingWinampClass;
    ::RegisterClassA(&windowClass);
    quittingWinamp = ::CreateWindowA(kQuittingWinampClass, "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                     100, nullptr, nullptr, windowClass.hInstance, nullptr);
    LoadedPlugin plugin;
    quittingPlugin = &plugin;
    plugin.init(quittingWinamp);
    quitDeadline = std::chrono::steady_clock::now() + kQuitDeadline;
    const UINT_PTR watch = ::SetTimer(nullptr, 0, kWatchPeriodMs, endWinampOnceTheOptionsShow);
    PluginRecord* record = plugin.record();
    record->config();  // returns once the window has ended
    ::KillTimer(nullptr, watch);
    if (::FindWindowA(nullptr, kOptionsCaption) || ::FindWindowA(nullptr, overCaption))
        std::exit(kStillOpen);
    if (end == WinampEnd::Closed) {
        // The main loop takes the WM_QUIT that ended the options window,
        // then Winamp calls quit, its window long gone.
        MSG message;
        bool quitMessage = false;
        while (!quitMessage && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            quitMessage = message.message == WM_QUIT;
        if (!quitMessage) std::exit(kNoQuit);
        plugin.quit();
    }
    // The DLL stays mapped: Winamp has not freed it, or, uninstalled, the
    // configuration entry's own reference keeps it until the process ends.
    if (!::GetModuleHandleA(pluginDllPath().c_str())) std::exit(kUnmapped);
    if (end != WinampEnd::Closed) {
        // Quit has stopped its timers, which would fire on until Winamp's window goes.
        if (::KillTimer(quittingWinamp, kAutoPauseTimer)) std::exit(kTimerLeft);
        ::DestroyWindow(quittingWinamp);
        MSG message;  // what is left of Winamp's queue, up to its quit
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT)
            ::DispatchMessageA(&message);
    }
    std::exit(0);  // the DLL's detach and destructors run in Winamp's exit
}

TEST(WinampQuitTest, WinampEndingWhileTheOptionsAreOpenEndsThemAndExitsCleanly) {
    deleteSettingsKey();
    struct Row {
        WinampEnd end;
        bool overThePage;
    };
    const Row rows[] = {
        {WinampEnd::Closed, false},      {WinampEnd::Closed, true},
        {WinampEnd::SessionEnds, false}, {WinampEnd::SessionEnds, true},
        {WinampEnd::Uninstalled, false}, {WinampEnd::Uninstalled, true},
    };
    for (const Row& row : rows) {
        EXPECT_EXIT(winampEndsWhileTheOptionsAreOpen(row.end, row.overThePage),
                    ::testing::ExitedWithCode(0), "")
            << "order " << static_cast<int>(row.end) << (row.overThePage ? ", page open" : "");
    }
    // The Status window, whose timer refreshes it every second.
    for (WinampEnd end : {WinampEnd::Closed, WinampEnd::SessionEnds})
        EXPECT_EXIT(winampEndsWhileTheOptionsAreOpen(end, true, IDC_STATUS, kStatusCaption),
                    ::testing::ExitedWithCode(0), "")
            << "order " << static_cast<int>(end) << ", Status window open";
}

}  // namespace
}  // namespace vireo::test
