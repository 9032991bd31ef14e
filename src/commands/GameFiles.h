#pragma once
// The cfg files a game of today runs (VireoCommands.cfg, VireoHelp.cfg,
// VireoStatus.cfg), the marker that proves a console-log line came from them,
// and the commands such a line may carry. Plain functions, no windows.h.
//
// The game reads these files with its own parser: the command buffer splits
// at line feeds and at ';' outside double quotes, the tokenizer drops "//"
// comments and cuts { } ( ) ' : into tokens of their own, and there are no
// nested quotes. So an alias body holds only a-z, 0-9, blanks and '-', and
// every echoed text is one double-quoted argument without '"', control bytes
// or line breaks, at most kEchoTextLimit bytes: inside quotes neither ';' nor
// "//" acts, and no text from outside can become a second command.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vireo {

inline constexpr std::string_view kCommandsCfgName = "VireoCommands.cfg";
inline constexpr std::string_view kHelpCfgName = "VireoHelp.cfg";
inline constexpr std::string_view kStatusCfgName = "VireoStatus.cfg";

// "Vireo-" and kMarkerRandomLength characters of a-z and 0-9.
inline constexpr std::string_view kMarkerPrefix = "Vireo-";
inline constexpr std::size_t kMarkerRandomLength = 8;
inline constexpr std::size_t kEchoTextLimit = 255;
// What VireoCommands.cfg echoes last, after the marker: the game ran the
// file and its log works.
inline constexpr std::string_view kLoadedWord = "loaded";

// One key command: the alias the player binds, and the row of the command
// set it carries through the log ("nexttrack", "fastforward 5").
struct LogCommand {
    std::string_view alias;
    std::string_view row;
};
// The sixteen rows, in the order VireoCommands.cfg and the help list them.
[[nodiscard]] const std::vector<LogCommand>& logCommands();

// True for a text of the marker's form.
[[nodiscard]] bool isCommandMarker(std::string_view text) noexcept;
// A marker made from random bytes (at least kMarkerRandomLength of them),
// each mapped onto a-z and 0-9.
[[nodiscard]] std::string commandMarkerFrom(std::string_view randomBytes);

// What a whole line of the log asks for: the row, when the line is the
// marker, one blank and, trimmed of blanks, exactly one row of the table;
// nothing for every other line (the marker's "loaded" line included).
[[nodiscard]] std::optional<std::string_view> logLineCommand(std::string_view line,
                                                             std::string_view marker);
// True for the line VireoCommands.cfg ends with.
[[nodiscard]] bool isLoadedLine(std::string_view line, std::string_view marker);

// Any text made fit to be one echoed argument: '"' and control bytes become
// '\'' and '?', and the text is cut to kEchoTextLimit bytes.
[[nodiscard]] std::string echoText(std::string_view text);
// One line `echo "<text>"` with the text made fit, ended by a line feed.
[[nodiscard]] std::string echoLine(std::string_view text);

// The files' texts, lines ended by line feeds.
[[nodiscard]] std::string commandsCfgText(std::string_view marker);
[[nodiscard]] std::string helpCfgText();
// The status's console form, one echo line per line of it (LF or CR LF
// ended); empty lines are left out.
[[nodiscard]] std::string statusCfgText(std::string_view statusLines);

}  // namespace vireo
