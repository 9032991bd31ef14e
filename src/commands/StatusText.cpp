#include "commands/StatusText.h"

#include <initializer_list>

#include "game/Landmarks.h"

namespace vireo {
namespace {

// Every part of a line fits MAX_PATH: a path, a mod name, a captured line.
constexpr std::size_t kShownPartLength = 259;
constexpr std::string_view kCutMark = "...";
constexpr char kReplacement = '?';
constexpr std::uint32_t kTicksPerSecond = 1000;
constexpr std::uint32_t kMsPerDay = 24 * 60 * 60 * 1000;

// The classes the game's window has in the Steam builds Vireo does not serve.
constexpr std::string_view kOlderSteamClass = landmarks::kOlderSteamWindowClass;
constexpr std::string_view kNewerSteamClass = landmarks::kTodaysWindowClass;

// Each line is a pattern whose '@' marks take the parts in turn: one call
// per line keeps the composer small in the DLL.
constexpr char kPartMark = '@';

// A number written into a buffer of its own, optionally followed by " s ago":
// the parts of a line are views, and no text is made for them on the heap.
class Decimal {
public:
    explicit Decimal(std::uint32_t value, std::string_view suffix = {},
                     std::uint32_t base = 10) noexcept {
        char reversed[32];
        std::size_t count = 0;
        do {
            reversed[count++] = "0123456789ABCDEF"[value % base];
            value /= base;
        } while (value != 0);
        while (count != 0) text_[size_++] = reversed[--count];
        for (char c : suffix.substr(0, sizeof text_ - size_)) text_[size_++] = c;
    }
    operator std::string_view() const noexcept { return {text_, size_}; }

private:
    char text_[24] = {};
    std::size_t size_ = 0;
};

void appendShown(std::string& to, std::string_view text, std::size_t limit) {
    const bool cut = text.size() > limit;
    const std::size_t kept =
        cut ? (limit > kCutMark.size() ? limit - kCutMark.size() : 0) : text.size();
    for (char c : text.substr(0, kept)) {
        const auto byte = static_cast<unsigned char>(c);
        to.push_back(byte < 0x20 || byte == 0x7F ? kReplacement : c);
    }
    if (cut) to.append(kCutMark);
}

// "at 14:02:11": a noted moment on the local clock.
class ClockTime {
public:
    explicit ClockTime(std::uint32_t msOfDay) noexcept {
        const std::uint32_t seconds = msOfDay / kTicksPerSecond;
        const std::uint32_t parts[] = {seconds / 3600, seconds / 60 % 60, seconds % 60};
        text_[0] = 'a';
        text_[1] = 't';
        std::size_t at = 2;
        for (std::uint32_t part : parts) {
            text_[at] = at == 2 ? ' ' : ':';
            ++at;
            text_[at++] = static_cast<char>('0' + part / 10 % 10);
            text_[at++] = static_cast<char>('0' + part % 10);
        }
    }
    operator std::string_view() const noexcept { return {text_, sizeof text_}; }

private:
    char text_[11] = {};
};

// A moment as the form writes it: "N s ago", or a clock time.
class Moment {
public:
    Moment(std::string_view text) noexcept {
        for (char c : text.substr(0, sizeof text_)) text_[size_++] = c;
    }
    operator std::string_view() const noexcept { return {text_, size_}; }

private:
    char text_[24] = {};
    std::size_t size_ = 0;
};

class Lines {
public:
    Lines(std::uint32_t now, std::uint32_t nowMsOfDay, StatusForm form)
        : now_(now),
          nowMsOfDay_(nowMsOfDay),
          window_(form == StatusForm::Window),
          clock_(form == StatusForm::File) {}

    [[nodiscard]] bool window() const noexcept { return window_; }

    // "Subject: " and the pattern with its marks replaced by the parts, shown
    // as text (foreign bytes made harmless, cut to fit), then a line feed.
    void add(std::string_view subject, std::string_view pattern,
             std::initializer_list<std::string_view> parts = {}) {
        text_.append(subject).append(": ");
        auto part = parts.begin();
        for (char c : pattern) {
            if (c == kPartMark && part != parts.end())
                appendShown(text_, *part++, kShownPartLength);
            else
                text_.push_back(c);
        }
        text_.push_back('\n');
    }

    // "N s ago" for a noted moment; in a file, its clock time. The game
    // notes its moments from its own process, so one may lie a little after
    // "now": it reads as 0 s ago, or as the clock time of now.
    [[nodiscard]] Moment ago(NotedTick at) const noexcept {
        const std::uint32_t elapsed = now_ - at;
        const std::uint32_t past = static_cast<std::int32_t>(elapsed) < 0 ? 0 : elapsed;
        if (clock_)
            return Moment(ClockTime((nowMsOfDay_ + kMsPerDay - past % kMsPerDay) % kMsPerDay));
        return Moment(Decimal(past / kTicksPerSecond, " s ago"));
    }

    [[nodiscard]] std::string take() { return std::move(text_); }

private:
    std::uint32_t now_;
    std::uint32_t nowMsOfDay_;
    bool window_;
    bool clock_;
    std::string text_;
};

std::string_view orUnknown(std::string_view value) {
    return value.empty() ? std::string_view("unknown") : value;
}

void winampLines(Lines& out, const StatusFacts& f) {
    if (!f.winampFound) return out.add("Winamp", "its main window is not known.");
    out.add("Winamp", "@ (version 0x@, @).",
            {f.winampVersion, Decimal(f.winampVersionNumber, {}, 16),
             f.winamp3 ? "Winamp 3 family" : "Winamp 2 or 5"});
}

std::string_view unsupportedBuild(std::string_view windowClass) {
    if (windowClass == kNewerSteamClass) return "a newer build";
    if (windowClass == kOlderSteamClass) return "an older Steam build";
    return "a build";
}

constexpr std::string_view kRunsAsAdministrator =
    "runs as administrator and Winamp does not: start both the same way.";

bool steamBuild(std::string_view windowClass) {
    return windowClass == kNewerSteamClass || windowClass == kOlderSteamClass;
}

std::string_view kindName(StatusGameKind kind) {
    switch (kind) {
        case StatusGameKind::HalfLife:
            return "Half-Life";
        case StatusGameKind::CounterStrike:
            return "Counter-Strike";
        case StatusGameKind::Other:
            break;
    }
    return "another game";
}

// A folder as the player types it: "C:\Games\Half-Life", a drive's root kept whole.
std::string_view withoutTrailingSlash(std::string_view folder) {
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/') &&
           folder[folder.size() - 2] != ':')
        folder.remove_suffix(1);
    return folder;
}

// Answers whether the game is there to be described further.
bool gameLines(Lines& out, const StatusFacts& f) {
    if (!f.gameWindowFound) {
        if (f.otherExe.empty())
            out.add("Game", "not running.");
        else if (f.otherClass.empty())
            out.add("Game", "@ runs, but has no window of class Half-Life yet.", {f.otherExe});
        else
            out.add("Game",
                    "@ runs, but its window is of class @, not Half-Life: @ that Vireo does not "
                    "support. Console commands, the display and Vireo.cfg cannot reach it.",
                    {f.otherExe, f.otherClass, unsupportedBuild(f.otherClass)});
        // A Steam build is out of reach whatever its rights.
        if (f.gameRefused && !steamBuild(f.otherClass)) out.add("Game", kRunsAsAdministrator);
        return false;
    }
    out.add("Game", "@, process @, @.",
            {orUnknown(f.exeName), Decimal(f.processId), kindName(f.gameKind)});
    // Nothing of Vireo reaches such a game: the lines after say so.
    if (f.gameRefused) {
        out.add("Game", kRunsAsAdministrator);
        return false;
    }
    if (f.liblistGame.empty())
        out.add("Game", "mod @, without a liblist.gam game name.", {orUnknown(f.modName)});
    else
        out.add("Game", "mod @, liblist.gam names it \"@\".",
                {orUnknown(f.modName), f.liblistGame});
    if (out.window())
        out.add("Game", "folder @.", {orUnknown(withoutTrailingSlash(f.gameDirectory))});
    return true;
}

constexpr std::string_view kNeedsClassicBuild =
    "needs an older build whose window is of class Half-Life.";

// A game of today: what its files road found and what its log told.
void todaysLines(Lines& out, const StatusFacts& f) {
    out.add("Game", "@, a Steam build (window class @): Vireo works through its files",
            {orUnknown(f.exeName), f.todaysClass});
    if (f.modFoundBy.empty())
        out.add("Game", "mod folder not found yet: the next poll looks again.");
    else
        out.add("Game", "mod folder @, @.", {withoutTrailingSlash(f.modDirectory), f.modFoundBy});
    if (out.window())
        out.add("Game", "folder @.", {orUnknown(withoutTrailingSlash(f.gameDirectory))});
    constexpr std::string_view kAddCondebug = "add -condebug to the game's launch options";
    if (f.consoleDebug == 1)
        out.add("Console commands", "-condebug is on the game's command line.");
    else if (f.consoleDebug == 0)
        out.add("Console commands", "-condebug is not on the game's command line: @.",
                {kAddCondebug});
    if (f.logGrew)
        out.add("Console commands", "qconsole.log grew since the game started.");
    else
        out.add("Console commands", "qconsole.log has not grown since the game started: @.",
                {kAddCondebug});
    if (f.loadedAt != 0)
        out.add("Console commands", "VireoCommands.cfg reported \"loaded\" @.",
                {out.ago(f.loadedAt)});
    else
        out.add("Console commands",
                "VireoCommands.cfg has not reported \"loaded\": type exec VireoCommands.cfg in the "
                "console, or add it to userconfig.cfg.");
    if (!f.filesPath.empty())
        out.add("Console commands", "@ could not be written: @", {f.filesPath, f.filesError});
}

void consoleLines(Lines& out, const StatusFacts& f) {
    if (out.window())
        out.add("Console commands", "build marker @, landmarks of @.",
                {f.buildMarker.empty() ? std::string_view("not read yet") : f.buildMarker,
                 f.landmarks2343 ? "build 2343" : "the other builds"});
    if (f.scannedAt == 0)
        out.add("Console commands",
                "no scan yet: \"Unknown command\" is silenced a few seconds after the mod loads.");
    else
        out.add(
            "Console commands",
            "@ copies of \"Unknown command\" found and @ silenced at the last scan, @@.",
            {Decimal(f.copiesFound), Decimal(f.copiesSilenced), out.ago(f.scannedAt),
             f.scanGotThrough ? "" : "; it did not get through, the next mod change tries again"});
    if (f.lineTakenAt == 0)
        out.add("Console commands", "no line taken yet.");
    else
        out.add("Console commands", "last line taken \"@\", @.",
                {f.lastLine, out.ago(f.lineTakenAt)});
}

void displayLines(Lines& out, const StatusFacts& f, bool gameThere) {
    if (!f.displayEnabled)
        return out.add("Display", "disabled (\"Enable the Vireo in-game display\" is not ticked).");
    const std::string_view state =
        f.displayShown ? "enabled and shown" : "enabled, hidden: type Vireo ShowGUI";
    if (f.gameRefused) return out.add("Display", "@, but there is no game to draw in.", {state});
    if (!gameThere) return out.add("Display", "@.", {state});
    if (f.hookInstalled)
        out.add("Display", "@; hook installed in the game's thread.", {state});
    else if (!f.hookError.empty())
        out.add("Display", "@; the hook could not be installed: @", {state, f.hookError});
    else
        out.add("Display", "@; hook not installed yet.", {state});
    if (f.gameKind == StatusGameKind::Other)
        out.add("Display", "the game side draws only in hl.exe and cstrike.exe, not in @.",
                {orUnknown(f.exeName)});
    else if (!f.gameSideReported)
        out.add("Display", "the game side never reported: the hook never ran there.");
    else if (!f.engineTableAccepted)
        out.add("Display",
                "the game side ticked @, but refused the engine table: this build keeps something "
                "else at its address, so nothing is drawn.",
                {out.ago(f.gameSideTickAt)});
    else
        out.add("Display",
                "the game side ticked @, accepted the engine table, printed @ of 6 rows@.",
                {out.ago(f.gameSideTickAt), Decimal(f.rowsPrinted),
                 f.consoleOpen ? " (the console is open)" : ""});
}

// Windows' message without its final full stop, to be followed by more.
std::string_view withoutFullStop(std::string_view message) {
    if (!message.empty() && message.back() == '.') message.remove_suffix(1);
    return message;
}

void scriptLines(Lines& out, const StatusFacts& f, bool gameThere) {
    std::string_view why;
    if (!f.scriptingOn)
        why = "scripting is off";
    else if (!gameThere)
        why = f.gameRefused ? "the game refuses to be opened" : "no game";
    if (f.scriptAttempted && !f.scriptWritten) {
        // The error stands only while the writer goes on meeting it.
        if (!why.empty())
            return out.add(
                "Script", "@ last attempt failed: @, @; not now: @.",
                {f.scriptPath, withoutFullStop(f.scriptError), out.ago(f.scriptFailedAt), why});
        out.add("Script", "@ could not be written: @", {f.scriptPath, f.scriptError});
        if (f.scriptAccessDenied)
            out.add("Script",
                    "what helps: allow your Windows user to write in that folder, or install the "
                    "game outside Program Files.");
        return;
    }
    if (f.scriptAttempted) {
        const std::string_view inPlace =
            out.window() && f.scriptInPlace ? " (in place: the folder refuses moves)" : "";
        if (why.empty())
            return out.add("Script", "@ written @@.",
                           {f.scriptPath, out.ago(f.scriptWrittenAt), inPlace});
        return out.add("Script", "@ last written @@; not now: @.",
                       {f.scriptPath, out.ago(f.scriptWrittenAt), inPlace, why});
    }
    if (f.scriptPath.empty())
        return out.add("Script", "not written: @.",
                       {why.empty() ? "the game's folder is not known" : why});
    out.add("Script", "not written@@; it would be written to @.",
            {why.empty() ? " yet" : ": ", why, f.scriptPath});
}

void autoPauseLines(Lines& out, const StatusFacts& f, bool gameThere) {
    // A new Counter-Strike game turns it off; the player turns it on again.
    const std::string_view off =
        gameThere && f.counterStrike
            ? "off: it starts off in each new game; type Vireo AutoPause 1 or 2"
            : "off";
    const std::string_view mode = f.autoPauseMode == 1   ? "fade"
                                  : f.autoPauseMode == 2 ? "pause"
                                                         : off;
    if (f.gameRefused)
        out.add("Auto-pause", "@, but there is no game to act on.", {mode});
    else if (gameThere && !f.counterStrike)
        out.add("Auto-pause", "@; it acts only in Counter-Strike, and this game is not.", {mode});
    else if (gameThere && f.stateReadAt != 0)
        out.add("Auto-pause", "@; player @, read @.",
                {mode, f.alive ? "alive" : "dead", out.ago(f.stateReadAt)});
    else
        out.add("Auto-pause", "@.", {mode});
}

void settingsLines(Lines& out, const StatusFacts& f) {
    if (f.settingsKey.empty())
        return out.add("Settings", "no key could be opened: settings are neither read nor kept.");
    out.add("Settings", "the @ key @.", {f.userKey ? "user's" : "machine's", f.settingsKey});
}

}  // namespace

std::string composeStatus(const StatusFacts& facts, StatusForm form) {
    Lines out(facts.now, facts.nowMsOfDay, form);
    winampLines(out, facts);
    if (facts.todaysGame) {
        todaysLines(out, facts);
        out.add("Display", kNeedsClassicBuild);
        scriptLines(out, facts, true);
        out.add("Auto-pause", "@; it @",
                {facts.autoPauseMode == 1   ? "fade"
                 : facts.autoPauseMode == 2 ? "pause"
                                            : "off",
                 kNeedsClassicBuild});
        settingsLines(out, facts);
        return out.take();
    }
    const bool gameThere = gameLines(out, facts);
    if (gameThere) consoleLines(out, facts);
    displayLines(out, facts, gameThere);
    scriptLines(out, facts, gameThere);
    autoPauseLines(out, facts, gameThere);
    settingsLines(out, facts);
    return out.take();
}

std::string cutAtLineEnd(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    if (limit == 0) return {};
    const std::size_t lastBreak = text.rfind('\n', limit - 1);
    if (lastBreak == std::string_view::npos) return std::string(text.substr(0, limit));
    return std::string(text.substr(0, lastBreak + 1));
}

std::string shownText(std::string_view text, std::size_t limit) {
    std::string shown;
    appendShown(shown, text, limit);
    return shown;
}

std::string withoutTrailingBreak(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r' || text[end - 1] == ' '))
        --end;
    return std::string(text.substr(0, end));
}

}  // namespace vireo
