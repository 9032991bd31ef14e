#pragma once
// The twelve %NAME% macros of the display line and script templates, the
// clock formats they use, and the filter that makes a value harmless inside
// the game's console script. No windows.h here: the expansion takes its
// values from a MacroValues source, so it can run without Winamp.

#include <ctime>
#include <cstddef>
#include <string>
#include <string_view>

namespace vireo {

// The macro names in the order expandMacros replaces them. The order matters:
// text inserted by an earlier row is scanned by every later row.
inline constexpr std::string_view kMacroDisplayName = "%DISPLAYNAME%";
inline constexpr std::string_view kMacroPosition = "%POS%";
inline constexpr std::string_view kMacroLength = "%LENGTH%";
inline constexpr std::string_view kMacroBitrate = "%BITRATE%";
inline constexpr std::string_view kMacroFrequency = "%FREQ%";
inline constexpr std::string_view kMacroChannels = "%CHANNELS%";
inline constexpr std::string_view kMacroTime = "%TIME%";
inline constexpr std::string_view kMacroShortDate = "%SHORTDATE%";
inline constexpr std::string_view kMacroDate = "%DATE%";
inline constexpr std::string_view kMacroWinampVersion = "%WAV%";
inline constexpr std::string_view kMacroArtist = "%ARTIST%";
inline constexpr std::string_view kMacroSongTitle = "%TITLE%";

// Buffer sizes of the two strftime formats.
inline constexpr std::size_t kTimeTextBufferSize = 16;
inline constexpr std::size_t kDateTextBufferSize = 255;

// Where the twelve values come from. Each is asked for at the moment its row
// is processed, on every expansion.
class MacroValues {
public:
    virtual ~MacroValues() = default;
    virtual std::string title() const = 0;
    virtual std::string positionText() const = 0;
    virtual std::string lengthText() const = 0;
    virtual int bitrate() const = 0;
    virtual int sampleRate() const = 0;
    virtual int channels() const = 0;
    virtual std::string timeText() const = 0;
    virtual std::string shortDateText() const = 0;
    virtual std::string dateText() const = 0;
    virtual std::string versionText() const = 0;
    virtual std::string artist() const = 0;
    virtual std::string songTitle() const = 0;
};

// How inserted values are treated: as they come (display lines), or made
// inert for the game's console (the script file).
enum class MacroValueForm { AsIs, ConsoleSafe };

// The most an expansion may grow a text to. Later macros are looked for in
// the values of earlier ones, so a hostile title full of "%ARTIST%" and
// "%TITLE%" would otherwise grow a line cubically (a 4 KB title to 39 MB,
// every second). No template of the plug-in comes near it: display lines
// keep 255 bytes, and the script template 8191 plus its values.
inline constexpr std::size_t kMaxExpandedTextSize = 64 * 1024;

// Replaces every occurrence of name that is in the text when the call starts,
// left to right; the search goes on after each inserted value, so a value
// that contains the name is inserted once and never rescanned. An occurrence
// whose value would take the text beyond kMaxExpandedTextSize is left as it
// is, and so are those after it.
void replaceAll(std::string& text, std::string_view name, std::string_view value);
// The same with the number printed as "%i".
void replaceAll(std::string& text, std::string_view name, int number);

void expandMacros(std::string& text, const MacroValues& values,
                  MacroValueForm form = MacroValueForm::AsIs);

// "Mono" for exactly one channel, "Stereo" for every other count.
[[nodiscard]] std::string channelsText(int channels);

// A value made inert for the game's console: see the .cpp for the rule.
[[nodiscard]] std::string consoleSafeValue(std::string value);

// The clock formats, on a broken-down local time.
[[nodiscard]] std::string formatTimeText(const std::tm& local);       // 03:07:09 PM
[[nodiscard]] std::string formatShortDateText(const std::tm& local);  // 03/05/03
[[nodiscard]] std::string formatDateText(const std::tm& local);       // March 05, 2003

// The same formats on the clock at the moment of the call.
[[nodiscard]] std::string getTimeText();
[[nodiscard]] std::string getShortDateText();
[[nodiscard]] std::string getDateText();

// The production expansions, with values from the global PlayerControl and
// the clock: as they come for the display lines, console-safe for the script.
void expandMacros(std::string& text);
void expandMacrosForConsole(std::string& text);

}  // namespace vireo
