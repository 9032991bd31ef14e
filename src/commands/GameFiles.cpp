#include "commands/GameFiles.h"

#include <array>
#include <iterator>

namespace vireo {
namespace {

constexpr std::string_view kMarkerAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";

// What each key command does, in a few words for the help; in the order of
// logCommands().
constexpr std::array<std::string_view, 16> kCommandPurposes = {
    "play",
    "pause or resume",
    "stop",
    "stop after the current track",
    "next track",
    "previous track",
    "first track of the playlist",
    "last track of the playlist",
    "5 seconds forward",
    "5 seconds back",
    "volume up",
    "volume down",
    "shuffle on",
    "shuffle off",
    "repeat on",
    "repeat off",
};

constexpr LogCommand kLogCommands[] = {
    {"vireo_play", "play"},
    {"vireo_pause", "pause"},
    {"vireo_stop", "stop"},
    {"vireo_stopafter", "stopafter"},
    {"vireo_nexttrack", "nexttrack"},
    {"vireo_previoustrack", "previoustrack"},
    {"vireo_playlistbeginning", "playlistbeginning"},
    {"vireo_playlistend", "playlistend"},
    {"vireo_fastforward", "fastforward 5"},
    {"vireo_fastrewind", "fastrewind 5"},
    {"vireo_volumeup", "volumeup"},
    {"vireo_volumedown", "volumedown"},
    {"vireo_shuffleon", "toggleshuffle 1"},
    {"vireo_shuffleoff", "toggleshuffle 0"},
    {"vireo_repeaton", "togglerepeat 1"},
    {"vireo_repeatoff", "togglerepeat 0"},
};
static_assert(std::size(kLogCommands) == std::size(kCommandPurposes));

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// What follows "<marker> " in the line, trimmed; nothing when the line does
// not start so.
std::optional<std::string_view> afterMarker(std::string_view line, std::string_view marker) {
    if (!isCommandMarker(marker)) return std::nullopt;
    if (line.size() <= marker.size() || line.compare(0, marker.size(), marker) != 0 ||
        line[marker.size()] != ' ')
        return std::nullopt;
    return trimBlanks(line.substr(marker.size() + 1));
}

void appendAlias(std::string& out, std::string_view name, std::string_view first,
                 std::string_view second, std::string_view third = {}) {
    out.append("alias ").append(name).append(" \"").append(first).append(second).append(third);
    out.append("\"\n");
}

}  // namespace

const std::vector<LogCommand>& logCommands() {
    static const std::vector<LogCommand> commands(std::begin(kLogCommands), std::end(kLogCommands));
    return commands;
}

bool isCommandMarker(std::string_view text) noexcept {
    if (text.size() != kMarkerPrefix.size() + kMarkerRandomLength ||
        text.substr(0, kMarkerPrefix.size()) != kMarkerPrefix)
        return false;
    for (const char c : text.substr(kMarkerPrefix.size()))
        if (kMarkerAlphabet.find(c) == std::string_view::npos) return false;
    return true;
}

std::string commandMarkerFrom(std::string_view randomBytes) {
    if (randomBytes.size() < kMarkerRandomLength) return {};
    // 256 is no multiple of 36, so a few characters come up 8/7 as often as
    // the rest: some 41 of the marker's 41.4 bits stay, far beyond what a
    // server could guess.
    std::string marker(kMarkerPrefix);
    for (std::size_t i = 0; i < kMarkerRandomLength; ++i)
        marker.push_back(
            kMarkerAlphabet[static_cast<unsigned char>(randomBytes[i]) % kMarkerAlphabet.size()]);
    return marker;
}

std::optional<std::string_view> logLineCommand(std::string_view line, std::string_view marker) {
    const std::optional<std::string_view> rest = afterMarker(line, marker);
    if (!rest) return std::nullopt;
    for (const LogCommand& command : logCommands())
        if (*rest == command.row) return command.row;
    return std::nullopt;
}

bool isLoadedLine(std::string_view line, std::string_view marker) {
    const std::optional<std::string_view> rest = afterMarker(line, marker);
    return rest && *rest == kLoadedWord;
}

std::string echoText(std::string_view text) {
    std::string fit(text.substr(0, kEchoTextLimit));
    for (char& c : fit) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"')
            c = '\'';
        else if (byte < 0x20 || byte == 0x7f)
            c = '?';
    }
    return fit;
}

std::string echoLine(std::string_view text) { return "echo \"" + echoText(text) + "\"\n"; }

std::string commandsCfgText(std::string_view marker) {
    // The marker is spliced into alias bodies unquoted: only a text of its
    // form, letters, digits and '-', may go there.
    if (!isCommandMarker(marker)) return {};
    std::string out;
    for (const LogCommand& command : logCommands())
        appendAlias(out, command.alias, "echo ", marker, " " + std::string(command.row));
    const std::string execHelp = "exec " + std::string(kHelpCfgName);
    appendAlias(out, "vireo_help", execHelp, {});
    appendAlias(out, "vireo_status", "exec ", kStatusCfgName);
    // A player who types "Vireo NextTrack" as in older builds gets the help,
    // and the line is not sent on to the server as an unknown command. The
    // engine may or may not tell letter case apart in alias names.
    appendAlias(out, "vireo", execHelp, {});
    appendAlias(out, "Vireo", execHelp, {});
    out.append("echo ").append(marker).append(" ").append(kLoadedWord).append("\n");
    return out;
}

std::string helpCfgText() {
    std::string out = echoLine("Vireo: Winamp from the game. Bind these commands to keys:");
    const std::vector<LogCommand>& commands = logCommands();
    for (std::size_t i = 0; i < commands.size(); ++i)
        out += echoLine("  " + std::string(commands[i].alias) + " - " +
                        std::string(kCommandPurposes[i]));
    out += echoLine("  vireo_help - this list");
    out += echoLine("  vireo_status - what Vireo sees of the game and Winamp");
    out += echoLine("For example: bind F5 vireo_nexttrack");
    out += echoLine(
        "Typed commands such as Vireo NextTrack work only in older builds of the game, whose "
        "window is of class Half-Life.");
    return out;
}

std::string statusCfgText(std::string_view statusLines) {
    std::string out;
    while (!statusLines.empty()) {
        const std::size_t end = statusLines.find('\n');
        std::string_view line = statusLines.substr(0, end);
        statusLines.remove_prefix(end == std::string_view::npos ? statusLines.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // An empty line would need an echo of a blank to show; the status
        // has nothing to set apart, so it is skipped.
        if (line.empty()) continue;
        out += echoLine(line);
    }
    return out;
}

}  // namespace vireo
