// The Vireo simulator: the plug-in's main job against a simulated
// Counter-Strike and Winamp, for anyone without Windows, Winamp or the game.
// Each console line is typed into the game's captured-line buffer; the
// simulator then shows what Winamp received, what the game console printed
// back, the six rows the game's engine drew with their colours, and
// Vireo.cfg after its next write. The steps ":die" and ":spawn" kill or
// respawn the player, and show what auto-pause did.
//
//   vireo_demo.exe                          the scripted tour
//   vireo_demo.exe "Vireo NextTrack" ...    these lines instead
//   vireo_demo.exe --interactive            lines from standard input
//   vireo_demo.exe --rows FILE ...          also writes the last drawn rows
//                                           (row, colour, text) to FILE
//   vireo_demo.exe --today [COMMAND ...]    a game of today instead: each
//                                           console command (a bound key's
//                                           alias) goes through qconsole.log

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/Timers.h"
#include "display/NotifyRows.h"
#include "player/WinampIpc.h"
#include "support/FakeEngine.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"
#include "support/UdpListener.h"

using namespace vireo;
using namespace vireo::test;

namespace {

constexpr std::uint16_t kGameClientPort = 27005;
constexpr std::size_t kDatagramHeaderSize = 5;  // four 0xFF bytes and 'l'
constexpr char kDieStep[] = ":die";
constexpr char kSpawnStep[] = ":spawn";
constexpr std::uint8_t kAlive = 1;
constexpr std::uint8_t kDead = 0;
// Long enough for the composer (975 ms), the engine's draw (1096 ms) and the
// script writer (1407 ms) to have run once after the line was taken.
constexpr auto kSettleTime = std::chrono::milliseconds(1500);

const std::vector<std::string> kScriptedLines = {"Vireo NextTrack 2",
                                                 "vireo SetVolume 128",
                                                 "Vireo Pause",
                                                 "VIREO Play",
                                                 "Vireo Help",
                                                 "Vireo DisplayColor 3",
                                                 "Vireo AutoPause 2",
                                                 kSpawnStep,
                                                 kDieStep,
                                                 "Vireo AutoPause 1",
                                                 kSpawnStep,
                                                 kDieStep,
                                                 "Vireo PreviousTrack",
                                                 "Vireo Status"};

const std::vector<std::string> kPlaylist = {"Demo Band - First Light", "Demo Band - Second Wind",
                                            "Demo Band - Third Degree", "Demo Band - Fourth Wall"};

// What people call Winamp's messages, by the names of its interface.
std::string nameOf(const WinampMessage& m) {
    static const std::map<std::int64_t, const char*> commands = {
        {WINAMP_BUTTON1, "previous track (WINAMP_BUTTON1)"},
        {WINAMP_BUTTON2, "play (WINAMP_BUTTON2)"},
        {WINAMP_BUTTON3, "pause (WINAMP_BUTTON3)"},
        {WINAMP_BUTTON4, "stop (WINAMP_BUTTON4)"},
        {WINAMP_BUTTON5, "next track (WINAMP_BUTTON5)"},
        {WINAMP_BUTTON1_CTRL, "first playlist entry (WINAMP_BUTTON1_CTRL)"},
        {WINAMP_BUTTON4_CTRL, "stop after this track (WINAMP_BUTTON4_CTRL)"},
        {WINAMP_BUTTON5_CTRL, "last playlist entry (WINAMP_BUTTON5_CTRL)"},
        {WINAMP_PLAY_AUDIOCD, "play audio CD (WINAMP_PLAY_AUDIOCD)"}};
    static const std::map<std::int64_t, const char*> requests = {
        {IPC_DELETE, "empty the playlist (IPC_DELETE)"},
        {IPC_JUMPTOTIME, "jump to ms (IPC_JUMPTOTIME)"},
        {IPC_SETVOLUME, "volume (IPC_SETVOLUME)"},
        {IPC_SETPANNING, "panning (IPC_SETPANNING)"},
        {IPC_SETEQDATA, "equaliser value (IPC_SETEQDATA)"},
        {IPC_SET_SHUFFLE, "shuffle (IPC_SET_SHUFFLE)"},
        {IPC_SET_REPEAT, "repeat (IPC_SET_REPEAT)"}};
    std::ostringstream out;
    if (m.kind == MessageKind::Command) {
        const auto name = commands.find(m.id);
        if (name != commands.end()) return name->second;
    } else if (m.kind == MessageKind::Request) {
        const auto name = requests.find(m.id);
        if (name != requests.end()) {
            out << name->second << ' ' << m.argument;
            return out.str();
        }
    } else if (m.id == static_cast<std::int64_t>(IPC_PLAYFILE)) {
        out << "add to playlist (IPC_PLAYFILE) \"" << m.bytes.c_str() << '"';
        return out.str();
    }
    out << m;
    return out.str();
}

// The display and the script writer ask Winamp about the track all the
// time; the simulator shows only what changes Winamp.
bool changesWinamp(const WinampMessage& m) {
    if (m.kind != MessageKind::Request) return true;
    for (int query : {IPC_GETVERSION, IPC_ISPLAYING, IPC_GETOUTPUTTIME, IPC_GETLISTPOS, IPC_GETINFO,
                      IPC_GETPLAYLISTTITLE, IPC_GETEQDATA})
        if (m.id == query) return false;
    return true;
}

// The Display page's name of the colour a row was drawn in, and what the
// engine was given.
std::string colourOf(const EnginePrint& p) {
    static const char* const names[] = {"white", "black", "gray", "red"};
    std::string name = "?";
    for (std::int32_t setting = 0; setting < 4; ++setting) {
        const NotifyColour c = notifyColour(setting);
        if (c.red == p.red && c.green == p.green && c.blue == p.blue) name = names[setting];
    }
    char text[64];
    std::snprintf(text, sizeof text, "%s (%.1f, %.1f, %.1f)", name.c_str(), p.red, p.green, p.blue);
    return text;
}

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

class Simulator {
public:
    Simulator(FakeGameProcess& game, FakeWinamp& winamp, const FakeEngine& engine,
              UdpListener& console)
        : game_(game), winamp_(winamp), engine_(engine), console_(console) {}

    void step(const std::string& line) {
        std::printf("\n> %s\n", line.c_str());
        winamp_.clear();
        if (line == kDieStep || line == kSpawnStep) {
            const bool alive = line == kSpawnStep;
            game_.setPlayerState(alive ? kAlive : kDead);
            std::printf("  (the player %s)\n", alive ? "spawns" : "dies");
            pumpMessagesFor(kSettleTime);
            showAutoPause();
            return;
        }
        game_.writeCapturedLine(line);
        const bool taken =
            pumpUntil([&] { return game_.capturedLineBytes() == std::string(256, '\0'); },
                      std::chrono::seconds(1));
        if (!taken)
            std::printf("  (the game keeps the line: the command word is Vireo or vireo)\n");
        showWinamp();
        showConsole();
        pumpMessagesFor(kSettleTime);
        showDisplay();
        showScript();
    }

    void writeRows(const std::string& path) const {
        std::ofstream out(path, std::ios::binary);
        for (const EnginePrint& p : lastRows_)
            out << p.row << '\t' << p.red << '\t' << p.green << '\t' << p.blue << '\t' << p.text
                << '\n';
    }

private:
    void showWinamp() {
        std::vector<std::string> got;
        for (const WinampMessage& m : winamp_.messages())
            if (changesWinamp(m)) got.push_back(nameOf(m));
        if (got.empty()) {
            std::printf("  Winamp received nothing\n");
            return;
        }
        std::printf("  Winamp received:\n");
        for (const std::string& g : got) std::printf("    %s\n", g.c_str());
    }

    void showConsole() {
        const auto datagram = console_.receive(std::chrono::milliseconds(50));
        if (!datagram || datagram->size() <= kDatagramHeaderSize) return;
        const std::string text(datagram->begin() + kDatagramHeaderSize, datagram->end());
        std::printf("  The game console printed (%zu bytes):\n", datagram->size());
        for (const std::string& l : linesOf(text.c_str())) std::printf("    | %s\n", l.c_str());
    }

    void showDisplay() {
        const auto tick = engine_.nextTick(std::chrono::seconds(3));
        if (!tick) {
            std::printf(
                "  The game's engine drew nothing (ShowGUI is off or the console is open)\n");
            return;
        }
        lastRows_.assign(tick->begin(), tick->end());
        std::printf("  The game's engine drew, in %s:\n", colourOf(tick->front()).c_str());
        for (const EnginePrint& p : *tick)
            std::printf("    row %2d  %s\n", static_cast<int>(p.row), p.text);
    }

    void showScript() {
        const std::string now = fileText(game_.modDirectory() + "Vireo.cfg");
        const auto lines = linesOf(now), before = linesOf(script_);
        std::vector<std::string> changed;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (i >= before.size() || before[i] != lines[i]) changed.push_back(lines[i]);
        if (script_.empty())
            std::printf("  Vireo.cfg (%zu bytes):\n", now.size());
        else if (!changed.empty())
            std::printf("  Vireo.cfg, changed lines:\n");
        for (const std::string& l : changed) std::printf("    %s\n", l.c_str());
        script_ = now;
    }

    void showAutoPause() {
        const std::vector<std::int32_t> volumes = winamp_.volumes();
        if (!volumes.empty()) {
            std::printf("  Auto-pause faded the volume from %d to %d in %zu steps\n",
                        volumes.front(), volumes.back(), volumes.size());
            return;
        }
        std::vector<std::string> got;
        for (const WinampMessage& m : winamp_.messages())
            if (changesWinamp(m)) got.push_back(nameOf(m));
        if (got.empty())
            std::printf("  Auto-pause did nothing (it is off: Vireo AutoPause 1 or 2)\n");
        for (const std::string& g : got) std::printf("  Auto-pause sent %s\n", g.c_str());
    }

    FakeGameProcess& game_;
    FakeWinamp& winamp_;
    const FakeEngine& engine_;
    UdpListener& console_;
    std::string script_;
    std::vector<EnginePrint> lastRows_;
};

const std::vector<std::string> kTodayLines = {"vireo_nexttrack", "vireo_pause", "vireo_play",
                                              "echo Vireo-forgedxx nexttrack"};
constexpr auto kTodayWait = std::chrono::seconds(15);

std::string tail(const std::string& text, std::size_t from) {
    return from < text.size() ? text.substr(from) : std::string();
}

// A game of today (window class SDL_app, started with -condebug): the
// plug-in writes its cfg files into the mod folder, the game runs them, and
// every command comes back through the game's console log.
int runToday(const std::string& path, std::vector<std::string> lines) {
    if (lines.empty()) lines = kTodayLines;
    FakeWinamp winamp;
    winamp.setPlaylist(kPlaylist);
    winamp.setPlayStatus(IPC_PLAYING);
    FakeGameProcess game(todayOptions());
    if (!game.start()) {
        std::printf("the simulated game did not start: %s\n", game.failure().c_str());
        return 1;
    }
    LoadedPlugin plugin(path);
    if (!plugin.loaded()) {
        std::printf("%s did not load\n", path.c_str());
        return 1;
    }
    std::printf(
        "Winamp loaded %s\n  from %s\nThe game of today runs as %s -game cstrike "
        "-condebug in %s\n(window class %s, title \"%s\")\n",
        plugin.record()->description, path.c_str(), game.options().exeName.c_str(),
        game.directory().c_str(), game.options().windowClass.c_str(),
        game.options().windowTitle.c_str());
    plugin.init(winamp.handle());
    const std::string commands = game.modDirectory() + "VireoCommands.cfg";
    std::printf("Waiting for Vireo to write %s and the game to exec it...\n", commands.c_str());
    pumpUntil(
        [&] { return fileText(game.consoleLogPath()).find(" loaded \n") != std::string::npos; },
        kTodayWait);
    std::printf("\n%s:\n%s\n", commands.c_str(), fileText(commands).c_str());
    std::string log = fileText(game.consoleLogPath());
    std::printf("qconsole.log so far:\n%s", log.c_str());
    std::size_t seen = log.size();
    for (const std::string& line : lines) {
        std::printf("\n] %s\n", line.c_str());
        winamp.clear();
        if (!game.press(line)) std::printf("  the game did not take it\n");
        pumpMessagesFor(std::chrono::milliseconds(3 * kConsolePollPeriodMs));
        log = fileText(game.consoleLogPath());
        std::printf("  the game's log gained: %s", tail(log, seen).c_str());
        seen = log.size();
        bool any = false;
        for (const WinampMessage& m : winamp.messages())
            if (changesWinamp(m) && m.kind == MessageKind::Command) {
                std::printf("  Winamp received %s\n", nameOf(m).c_str());
                any = true;
            }
        if (!any) std::printf("  Winamp received nothing\n");
    }
    const auto block = game.report();
    std::printf("\nThe game appended to its log %u times; refused: %u\n",
                block ? block->logAppends : 0u, block ? block->logRefusals : 0u);
    plugin.unload();
    return block && block->logRefusals == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    bool interactive = false;
    bool today = false;
    std::string rowsFile;
    std::vector<std::string> lines;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--interactive")
            interactive = true;
        else if (arg == "--today")
            today = true;
        else if (arg == "--rows" && i + 1 < argc)
            rowsFile = argv[++i];
        else
            lines.push_back(arg);
    }
    // The file that ships (tools/build.sh names it), else the build's own.
    const std::string path = shippedDllPath().empty() ? pluginDllPath() : shippedDllPath();
    deleteSettingsKey();
    if (today) return runToday(path, lines);
    if (lines.empty() && !interactive) lines = kScriptedLines;

    writeSettingInt("ShowGUI", 1);
    FakeWinamp winamp;
    winamp.setPlaylist(kPlaylist);
    winamp.setPlayStatus(IPC_PLAYING);
    winamp.setPosition(61500);
    winamp.setLength(245);

    const FakeGameOptions options = counterStrikeOptions();
    FakeGameProcess game(options);
    if (!game.start()) {
        std::printf("the simulated game did not start: %s\n", game.failure().c_str());
        return 1;
    }
    game.setPlayerState(kDead);
    LoadedPlugin plugin(path);
    if (!plugin.loaded()) {
        std::printf("%s did not load\n", path.c_str());
        return 1;
    }
    UdpListener console(kGameClientPort);
    FakeEngine engine(game);
    std::printf("Winamp loaded %s\n  from %s\nThe game runs as %s in %s\n",
                plugin.record()->description, path.c_str(), options.exeName.c_str(),
                game.directory().c_str());
    plugin.init(winamp.handle());
    std::printf("Waiting for the display hook to reach the game...\n");
    pumpUntil([&] { return engine.vireoLoaded(); }, std::chrono::seconds(8));

    Simulator simulator(game, winamp, engine, console);
    for (const std::string& line : lines) simulator.step(line);
    if (interactive) {
        std::printf(
            "\nType console lines (%s and %s kill and respawn the player); end with "
            "an empty line or end of input.\n",
            kDieStep, kSpawnStep);
        for (std::string line;
             std::printf("] "), std::fflush(stdout), std::getline(std::cin, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty()) break;
            simulator.step(line);
        }
    }
    if (!rowsFile.empty()) simulator.writeRows(rowsFile);
    plugin.unload();
    return 0;
}
