// Cost of one expansion of the default Script against the Winamp double
// (messages sent, microseconds per call), of the same expansion with fixed
// values (the text work alone), and of one script writer tick with a fake
// game running.

#include <chrono>
#include <cstdio>
#include <string>

#include "game/GameLocator.h"
#include "game/ModDirectory.h"
#include "macros/Macros.h"
#include "support/TitleValues.h"
#include "player/PlayerControl.h"
#include "player/WinampIpc.h"
#include "common/ProcessWide.h"
#include "common/Timers.h"
#include "common/WholeFile.h"
#include "script/ScriptWriter.h"
#include "settings/Defaults.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

using namespace vireo;
using namespace vireo::test;
using Clock = std::chrono::steady_clock;

namespace {

template <typename F>
double microsecondsPerCall(int calls, F&& call) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) call();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls;
}

}  // namespace

int main() {
    constexpr int kExpansions = 20000;
    constexpr int kTicks = 2000;
    const std::string script(defaults::kScript);

    FakeWinamp winamp;
    winamp.setTitle("Some Artist - Some Song");
    winamp.setLength(245);
    winamp.setPlayStatus(IPC_PLAYING);  // a stopped Winamp has no position
    winamp.setPosition(61500);
    playerControl.setWindow(winamp.handle());

    std::string text = script;
    winamp.clear();
    expandMacros(text);
    const std::size_t messages = winamp.log().size();
    winamp.clear();

    const double fixed = microsecondsPerCall(kExpansions, [&] {
        std::string t = script;
        expandMacros(t, TitleValues{}, MacroValueForm::ConsoleSafe);
    });
    const double display = microsecondsPerCall(kExpansions, [&] {
        std::string t = script;
        expandMacros(t);
        winamp.clear();
    });
    const double console = microsecondsPerCall(kExpansions, [&] {
        std::string t = script;
        expandMacrosForConsole(t);
        winamp.clear();
    });
    std::printf("expandMacros of the default Script (%zu bytes) over %d calls:\n", script.size(),
                kExpansions);
    std::printf("  messages to Winamp per call: %zu\n", messages);
    std::printf("  fixed values (text work only): %.2f us per call\n", fixed);
    std::printf("  against the Winamp double:     %.2f us per call\n", display);
    std::printf("  console-safe form:             %.2f us per call\n", console);

    writeSettingInt("EnableScripting", 1);
    writeSettingInt("PlaceScriptInRoot", 0);
    writeSettingText("Script", script);

    const double idle = microsecondsPerCall(kTicks, [&] { scriptWriterTick(nullptr, 0, 0, 0); });
    std::printf("script writer tick without a game: %.2f us per tick\n", idle);

    FakeGameOptions options = counterStrikeOptions();
    options.plantCopies = false;
    FakeGameProcess game(options);
    if (!game.start()) {
        std::printf("fake game did not start: %s\n", game.failure().c_str());
        return 1;
    }
    const double writing = microsecondsPerCall(kTicks, [&] {
        scriptWriterTick(nullptr, 0, 0, 0);
        winamp.clear();
    });
    std::printf(
        "script writer tick with a game, %d ticks: %.1f us per tick "
        "(period %u ms, %u ms with HighUpdateFrequency)\n",
        kTicks, writing, kScriptWriterPeriodMs, kScriptWriterFastPeriodMs);
    // Where that time goes.
    constexpr int kParts = 200;
    const double locate = microsecondsPerCall(kParts, [] { (void)gameDirectory(); });
    const double mod = microsecondsPerCall(kParts, [] { (void)modDirectory(); });
    const std::string path = game.modDirectory() + "Vireo.cfg";
    const std::string bytes(script.size() + 8, 'x');
    const double file = microsecondsPerCall(kParts, [&] { (void)writeWholeFile(path, bytes); });
    std::printf("  of which gameDirectory %.1f us, modDirectory %.1f us, the file write %.1f us\n",
                locate, mod, file);
    playerControl.setWindow(nullptr);
    return 0;
}
