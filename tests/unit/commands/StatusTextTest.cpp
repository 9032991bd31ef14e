// The status lines: the issue's own texts for the common troubles, every
// line under its subject, foreign texts shown harmlessly, and the cut that
// keeps a status inside one datagram.

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "commands/StatusText.h"

namespace vireo {
namespace {

// A Counter-Strike that runs and is served: the base the rows change.
StatusFacts servedGame() {
    StatusFacts f;
    f.now = 100000;
    f.winampFound = true;
    f.winampVersion = "5.092";
    f.winampVersionNumber = 0x5092;
    f.gameWindowFound = true;
    f.exeName = "cstrike.exe";
    f.processId = 4242;
    f.gameKind = StatusGameKind::CounterStrike;
    f.gameDirectory = "C:\\Games\\Half-Life\\";
    f.modName = "cstrike";
    f.liblistGame = "Counter-Strike";
    f.counterStrike = true;
    f.displayEnabled = true;
    f.displayShown = true;
    f.hookInstalled = true;
    f.gameSideReported = true;
    f.gameSideTickAt = 99000;
    f.engineTableAccepted = true;
    f.rowsPrinted = 4;
    f.scriptingOn = true;
    f.scriptAttempted = true;
    f.scriptWritten = true;
    f.scriptWrittenAt = 98000;
    f.scriptPath = "C:\\Games\\Half-Life\\cstrike\\Vireo.cfg";
    f.settingsKey = "HKEY_CURRENT_USER\\Software\\Oskel\\Vireo\\1.30";
    f.userKey = true;
    return f;
}

// The same machine with a game of today instead, served through its files.
void today(StatusFacts& f) {
    f.todaysGame = true;
    f.todaysClass = "SDL_app";
    f.exeName = "hl.exe";
    f.modDirectory = "C:\\Games\\Half-Life\\cstrike\\";
    f.modFoundBy = "from -game on its command line";
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool hasLine(const std::string& text, const std::string& line) {
    for (const std::string& each : linesOf(text))
        if (each == line) return true;
    return false;
}

TEST(StatusTextTest, CommonTroublesReadAsThePlayerIsTold) {
    struct Row {
        const char* what;
        void (*change)(StatusFacts&);
        const char* line;
    };
    const Row rows[] = {
        {"no game", [](StatusFacts& f) { f.gameWindowFound = false; }, "Game: not running."},
        {"newer Steam build",
         [](StatusFacts& f) {
             f.gameWindowFound = false;
             f.otherExe = "hl.exe";
             f.otherClass = "SDL_app";
         },
         "Game: hl.exe runs, but its window is of class SDL_app, not Half-Life: a newer build "
         "that Vireo does not support. Console commands, the display and Vireo.cfg cannot reach "
         "it."},
        {"older Steam build",
         [](StatusFacts& f) {
             f.gameWindowFound = false;
             f.otherExe = "cstrike.exe";
             f.otherClass = "Valve001";
         },
         "Game: cstrike.exe runs, but its window is of class Valve001, not Half-Life: an older "
         "Steam build that Vireo does not support. Console commands, the display and Vireo.cfg "
         "cannot reach it."},
        {"administrator", [](StatusFacts& f) { f.gameRefused = true; },
         "Game: runs as administrator and Winamp does not: start both the same way."},
        {"refused game: nothing to draw in or act on",
         [](StatusFacts& f) {
             f.gameRefused = true;
             f.autoPauseMode = 2;
         },
         "Display: enabled and shown, but there is no game to draw in.\n"
         "Auto-pause: pause, but there is no game to act on."},
        {"refused Steam build: no advice on rights",
         [](StatusFacts& f) {
             f.gameWindowFound = false;
             f.otherExe = "hl.exe";
             f.otherClass = "SDL_app";
             f.gameRefused = true;
         },
         "!Game: runs as administrator and Winamp does not: start both the same way."},
        {"game process without a visible window",
         [](StatusFacts& f) {
             f.gameWindowFound = false;
             f.otherExe = "hl.exe";
         },
         "Game: hl.exe runs, but has no window of class Half-Life yet."},

        {"Winamp 3",
         [](StatusFacts& f) {
             f.winampVersion = "3.0";
             f.winampVersionNumber = 0x3000;
             f.winamp3 = true;
         },
         "Winamp: 3.0 (version 0x3000, Winamp 3 family)."},
        {"a tick noted after now", [](StatusFacts& f) { f.gameSideTickAt = f.now + 30; },
         "Display: the game side ticked 0 s ago, accepted the engine table, printed 4 of 6 rows."},
        {"Half-Life by name",
         [](StatusFacts& f) {
             f.exeName = "hl.exe";
             f.gameKind = StatusGameKind::HalfLife;
         },
         "Game: hl.exe, process 4242, Half-Life."},
        {"Auto-pause outside Counter-Strike", [](StatusFacts& f) { f.counterStrike = false; },
         "Auto-pause: off; it acts only in Counter-Strike, and this game is not."},
        {"old error, game gone",
         [](StatusFacts& f) {
             f.gameWindowFound = false;
             f.scriptWritten = false;
             f.scriptError = "Access is denied.";
             f.scriptFailedAt = 95000;
         },
         "Script: C:\\Games\\Half-Life\\cstrike\\Vireo.cfg last attempt failed: Access is denied, "
         "5 s ago; not now: no game."},

        {"unwritable script, and what helps",
         [](StatusFacts& f) {
             f.scriptWritten = false;
             f.scriptError = "Access is denied.";
             f.scriptAccessDenied = true;
         },
         "Script: C:\\Games\\Half-Life\\cstrike\\Vireo.cfg could not be written: Access is "
         "denied.\nScript: what helps: allow your Windows user to write in that folder, or "
         "install the game outside Program Files."},
        {"served game", [](StatusFacts&) {},
         "Winamp: 5.092 (version 0x5092, Winamp 2 or 5).\n"
         "Game: cstrike.exe, process 4242, Counter-Strike.\n"
         "Auto-pause: off: it starts off in each new game; type Vireo AutoPause 1 or 2."},
        {"written script", [](StatusFacts&) {},
         "Script: C:\\Games\\Half-Life\\cstrike\\Vireo.cfg written 2 s ago."},
        {"game side drew", [](StatusFacts&) {},
         "Display: the game side ticked 1 s ago, accepted the engine table, printed 4 of 6 rows."},
        {"engine table refused", [](StatusFacts& f) { f.engineTableAccepted = false; },
         "Display: the game side ticked 1 s ago, but refused the engine table: this build keeps "
         "something else at its address, so nothing is drawn."},
        {"hook never ran", [](StatusFacts& f) { f.gameSideReported = false; },
         "Display: the game side never reported: the hook never ran there."},
        {"another executable",
         [](StatusFacts& f) {
             f.exeName = "game.exe";
             f.gameKind = StatusGameKind::Other;
             f.gameSideReported = false;
         },
         "Display: the game side draws only in hl.exe and cstrike.exe, not in game.exe."},
        {"scripting off, never written",
         [](StatusFacts& f) {
             f.scriptingOn = false;
             f.scriptAttempted = false;
         },
         "Script: not written: scripting is off; it would be written to "
         "C:\\Games\\Half-Life\\cstrike\\Vireo.cfg."},
        {"machine's key",
         [](StatusFacts& f) {
             f.userKey = false;
             f.settingsKey = "HKEY_LOCAL_MACHINE\\Software\\Oskel\\Vireo\\1.30";
         },
         "Settings: the machine's key HKEY_LOCAL_MACHINE\\Software\\Oskel\\Vireo\\1.30."},
        {"game of today", today,
         "Game: hl.exe, a Steam build (window class SDL_app): Vireo works through its files"},
        {"its mod folder", today,
         "Game: mod folder C:\\Games\\Half-Life\\cstrike, from -game on its command line."},
        {"its log never grew", today,
         "Console commands: qconsole.log has not grown since the game started: add -condebug to "
         "the game's launch options."},
        {"its commands never loaded", today,
         "Console commands: VireoCommands.cfg has not reported \"loaded\": type exec "
         "VireoCommands.cfg in the console, or add it to userconfig.cfg."},
        {"no display there", today,
         "Display: needs an older build whose window is of class Half-Life."},
        {"its script", today, "Script: C:\\Games\\Half-Life\\cstrike\\Vireo.cfg written 2 s ago."},
    };
    for (const Row& row : rows) {
        StatusFacts facts = servedGame();
        row.change(facts);
        for (StatusForm form : {StatusForm::Window, StatusForm::Console}) {
            const std::string text = composeStatus(facts, form);
            // Every line of the row is there; one that starts with '!' is not.
            for (const std::string& line : linesOf(row.line)) {
                const bool absent = line[0] == '!';
                EXPECT_NE(hasLine(text, line.substr(absent)), absent) << row.what << ":\n" << text;
            }
        }
    }
}

// VireoStatus.cfg changes only when a fact does: moments are clock times.
TEST(StatusTextTest, TheFileFormWritesMomentsAsClockTimes) {
    StatusFacts facts = servedGame();
    today(facts);
    facts.loadedAt = facts.now - 2500;
    facts.nowMsOfDay = ((14 * 60 + 2) * 60 + 13) * 1000 + 600;
    const std::string text = composeStatus(facts, StatusForm::File);
    EXPECT_TRUE(
        hasLine(text, "Console commands: VireoCommands.cfg reported \"loaded\" at 14:02:11."))
        << text;
    facts.now += 700;  // a second later, nothing new
    facts.nowMsOfDay += 700;
    EXPECT_EQ(composeStatus(facts, StatusForm::File), text);
}

TEST(StatusTextTest, EveryLineHasItsSubjectAndForeignBytesStayText) {
    const std::set<std::string> subjects = {"Winamp", "Game",       "Console commands", "Display",
                                            "Script", "Auto-pause", "Settings"};
    StatusFacts hostile = servedGame();
    hostile.modName = "mod\n%s%n\x1b[2J";
    hostile.lastLine = "Vireo Load \r\nquit";
    hostile.lineTakenAt = 99500;
    hostile.scriptPath = std::string(400, 'p');
    for (const StatusFacts& facts : {servedGame(), hostile, StatusFacts{}}) {
        const std::string window = composeStatus(facts, StatusForm::Window);
        const std::string console = composeStatus(facts, StatusForm::Console);
        EXPECT_LE(console.size(), window.size());
        for (const std::string& text : {window, console}) {
            ASSERT_FALSE(text.empty());
            EXPECT_EQ(text.back(), '\n');
            for (const std::string& line : linesOf(text)) {
                const std::size_t colon = line.find(": ");
                ASSERT_NE(colon, std::string::npos) << line;
                EXPECT_TRUE(subjects.count(line.substr(0, colon))) << line;
                EXPECT_LE(line.size(), 400u) << "cut to fit: " << line;
                for (char c : line) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << line;
            }
        }
    }
    const std::string text = composeStatus(hostile, StatusForm::Window);
    EXPECT_TRUE(hasLine(text, "Game: mod mod?%s%n?[2J, liblist.gam names it \"Counter-Strike\"."))
        << text;
    EXPECT_TRUE(hasLine(text, "Game: folder C:\\Games\\Half-Life.")) << text;
    EXPECT_NE(text.find("last line taken \"Vireo Load ??quit\""), std::string::npos) << text;
    EXPECT_NE(text.find(std::string(256, 'p') + "... written"), std::string::npos) << text;
}

TEST(StatusTextTest, CutKeepsWholeLinesWithinTheLimit) {
    struct Row {
        std::string text;
        std::size_t limit;
        std::string kept;
    };
    const Row rows[] = {
        {"a\nbb\nccc\n", 9, "a\nbb\nccc\n"},  // fits whole
        {"a\nbb\nccc\n", 8, "a\nbb\n"},
        {"a\nbb\nccc\n", 5, "a\nbb\n"},
        {"a\nbb\nccc\n", 4, "a\n"},
        {"abcdef\nx\n", 3, "abc"},  // a first line too long is cut at the limit
        {"a\n", 0, ""},
    };
    for (const Row& row : rows) EXPECT_EQ(cutAtLineEnd(row.text, row.limit), row.kept) << row.limit;
    EXPECT_EQ(withoutTrailingBreak("Access is denied. \r\n"), "Access is denied.");
}

}  // namespace
}  // namespace vireo
