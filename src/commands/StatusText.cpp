#include "commands/StatusText.h"

namespace vireo {
namespace {

// Paths fit MAX_PATH; names and captured lines are shown shorter.
constexpr std::size_t kShownPathLength = 259;
constexpr std::size_t kShownNameLength = 64;
constexpr std::size_t kShownLineLength = 100;
constexpr std::string_view kCutMark = "...";
constexpr char kReplacement = '?';
constexpr std::uint32_t kTicksPerSecond = 1000;

// The classes the game's window has in the Steam builds Vireo does not serve.
constexpr std::string_view kOlderSteamClass = "Valve001";
constexpr std::string_view kNewerSteamClass = "SDL_app";

class Lines {
public:
    Lines(const StatusFacts& facts, StatusForm form) : facts_(facts), window_(form == StatusForm::Window) {}

    [[nodiscard]] bool window() const noexcept { return window_; }

    // Starts a line with its subject.
    Lines& start(std::string_view subject) {
        text_.append(subject).append(": ");
        return *this;
    }
    Lines& operator<<(std::string_view part) {
        text_.append(part);
        return *this;
    }
    Lines& number(std::uint32_t value) {
        text_.append(std::to_string(value));
        return *this;
    }
    Lines& path(std::string_view value) { return *this << shownText(value, kShownPathLength); }
    Lines& name(std::string_view value) { return *this << shownText(value, kShownNameLength); }
    // " N s ago" after a noted moment.
    Lines& ago(NotedTick at) {
        text_.append(std::to_string((facts_.now - at) / kTicksPerSecond)).append(" s ago");
        return *this;
    }
    void end() { text_.append(".\n"); }
    // A line that closes itself (its text ends with its own stop).
    void endAsIs() { text_.push_back('\n'); }

    [[nodiscard]] std::string take() { return std::move(text_); }

private:
    const StatusFacts& facts_;
    bool window_;
    std::string text_;
};

void winampLines(Lines& out, const StatusFacts& f) {
    out.start("Winamp");
    if (!f.winampFound) {
        out << "its main window is not known";
        return out.end();
    }
    out << f.winampVersion << " (" << (f.winamp3 ? "Winamp 3" : "Winamp 2") << " family)";
    out.end();
}

std::string_view unsupportedBuild(std::string_view windowClass) {
    if (windowClass == kNewerSteamClass) return "a newer build";
    if (windowClass == kOlderSteamClass) return "an older Steam build";
    return "a build";
}

// Answers whether the game is there to be described further.
bool gameLines(Lines& out, const StatusFacts& f) {
    if (!f.gameWindowFound) {
        out.start("Game");
        if (f.otherExe.empty()) {
            out << "not running";
        } else if (f.otherClass.empty()) {
            out.name(f.otherExe) << " runs, but has no window of class Half-Life yet";
        } else {
            out.name(f.otherExe) << " runs, but its window is of class ";
            out.name(f.otherClass) << ", not Half-Life: " << unsupportedBuild(f.otherClass)
                                   << " that Vireo does not support. Console commands, the "
                                      "display and Vireo.cfg cannot reach it";
        }
        out.end();
        return false;
    }
    out.start("Game").name(f.exeName.empty() ? std::string_view("its window") : f.exeName);
    out << ", process ";
    out.number(f.processId) << ", " << f.gameKind;
    out.end();
    if (f.gameRefused) {
        out.start("Game") << "runs as administrator and Winamp does not: start both the same way";
        out.end();
        return true;
    }
    out.start("Game") << "mod ";
    out.name(f.modName.empty() ? std::string_view("unknown") : f.modName);
    if (!f.liblistGame.empty()) out << ", liblist.gam names it \"" << shownText(f.liblistGame, kShownNameLength) << "\"";
    out.end();
    if (out.window()) {
        out.start("Game") << "folder ";
        out.path(f.gameDirectory.empty() ? std::string_view("unknown") : f.gameDirectory);
        out.end();
    }
    return true;
}

void consoleLines(Lines& out, const StatusFacts& f) {
    if (out.window()) {
        out.start("Console commands") << "build marker ";
        out << (f.buildMarker.empty() ? std::string_view("not read yet") : f.buildMarker);
        out << ", landmarks of " << (f.landmarks2343 ? "build 2343" : "the other builds");
        out.end();
    }
    out.start("Console commands");
    if (f.scannedAt == 0) {
        out << "no scan yet: \"Unknown command\" is silenced a few seconds after the mod loads";
    } else {
        out.number(f.copiesFound) << " copies of \"Unknown command\" found and ";
        out.number(f.copiesSilenced) << " silenced at the last scan, ";
        out.ago(f.scannedAt);
        if (out.window() && !f.scannedMod.empty()) out << " (mod " << shownText(f.scannedMod, kShownNameLength) << ")";
        if (!f.scanGotThrough) out << "; the scan did not get through, the next mod change tries again";
    }
    out.end();
    out.start("Console commands");
    if (f.lineTakenAt == 0) {
        out << "no line taken yet";
    } else {
        out << "last line taken \"" << shownText(f.lastLine, kShownLineLength) << "\", ";
        out.ago(f.lineTakenAt);
    }
    out.end();
}

void displayLines(Lines& out, const StatusFacts& f, bool gameThere) {
    out.start("Display");
    if (!f.displayEnabled) {
        out << "disabled (\"Enable the Vireo in-game display\" is not ticked)";
        return out.end();
    }
    out << (f.displayShown ? "enabled and shown" : "enabled, hidden: type Vireo ShowGUI");
    if (!gameThere) return out.end();
    out << "; ";
    if (f.hookInstalled)
        out << "hook installed in the game's thread";
    else if (!f.hookError.empty())
        out << "the hook could not be installed: " << shownText(f.hookError, kShownLineLength);
    else
        out << "hook not installed yet";
    out.end();
    out.start("Display");
    if (!f.gameSideReported) {
        out << "the game side never reported: the hook never ran there";
    } else {
        out << "the game side's last tick ";
        out.ago(f.gameSideTickAt);
        if (!f.engineTableAccepted) {
            out << ", engine table refused: this build keeps something else at its address, so "
                   "nothing is drawn";
        } else {
            out << ", engine table accepted, ";
            out.number(f.rowsPrinted) << (f.rowsPrinted == 1 ? " row" : " rows") << " printed";
            if (f.consoleOpen) out << " (the console is open)";
        }
    }
    out.end();
}

void scriptLines(Lines& out, const StatusFacts& f, bool gameThere) {
    out.start("Script");
    if (f.scriptAttempted && !f.scriptWritten) {
        out.path(f.scriptPath) << " could not be written: " << shownText(f.scriptError, kShownLineLength);
        return out.endAsIs();
    }
    if (f.scriptAttempted && f.scriptWritten) {
        out.path(f.scriptPath) << " written ";
        out.ago(f.scriptWrittenAt);
        if (out.window() && f.scriptInPlace) out << " (rewritten in place: the folder refuses moves)";
        if (f.scriptingOn && gameThere) return out.end();
        out << "; ";
    }
    if (!f.scriptingOn) {
        out << "not written: scripting is off";
        if (!f.scriptPath.empty() && !f.scriptAttempted) out << "; it would be written to " << shownText(f.scriptPath, kShownPathLength);
    } else if (!gameThere) {
        out << "not written: no game";
    } else if (f.scriptPath.empty()) {
        out << "not written yet: the game's folder is not known";
    } else {
        out << "not written yet; it will be written to ";
        out.path(f.scriptPath);
    }
    out.end();
}

void autoPauseLines(Lines& out, const StatusFacts& f, bool gameThere) {
    out.start("Auto-pause");
    switch (f.autoPauseMode) {
        case 1: out << "fade"; break;
        case 2: out << "pause"; break;
        default: out << "off"; break;
    }
    if (gameThere && !f.counterStrike) {
        out << "; the game is not Counter-Strike, where alone it acts";
    } else if (gameThere && f.stateReadAt != 0) {
        out << "; player " << (f.alive ? "alive" : "dead") << ", read ";
        out.ago(f.stateReadAt);
    }
    out.end();
}

void settingsLines(Lines& out, const StatusFacts& f) {
    out.start("Settings");
    if (f.settingsKey.empty()) {
        out << "no key could be opened: settings are neither read nor kept";
    } else {
        out << (f.userKey ? "the user's key " : "the machine's key ");
        out.path(f.settingsKey);
    }
    out.end();
}

}  // namespace

std::string composeStatus(const StatusFacts& facts, StatusForm form) {
    Lines out(facts, form);
    winampLines(out, facts);
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
    const bool cut = text.size() > limit;
    const std::size_t kept = cut ? (limit > kCutMark.size() ? limit - kCutMark.size() : 0) : text.size();
    shown.reserve(kept + kCutMark.size());
    for (std::size_t i = 0; i < kept; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        shown.push_back(byte < 0x20 || byte == 0x7F ? kReplacement : text[i]);
    }
    if (cut) shown.append(kCutMark);
    return shown;
}

std::string withoutTrailingBreak(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r' || text[end - 1] == ' '))
        --end;
    return std::string(text.substr(0, end));
}

}  // namespace vireo
