#include "macros/Macros.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace vireo {

// One pass that builds the result: the search goes on in the original text
// after each occurrence, so a title that reads "%TITLE%" is put in once
// instead of being replaced by itself forever, and a text with many
// occurrences costs its length, not occurrences times length.
void replaceAll(std::string& text, std::string_view name, std::string_view value) {
    // An empty name would match everywhere and never advance.
    if (name.empty()) return;
    std::string::size_type at = text.find(name.data(), 0, name.size());
    if (at == std::string::npos) return;
    std::string result;
    std::string::size_type copied = 0;
    while (at != std::string::npos) {
        const std::size_t grown = result.size() + (at - copied) + value.size();
        if (value.size() > name.size() &&
            grown + (text.size() - at - name.size()) > std::max(kMaxExpandedTextSize, text.size()))
            break;
        result.append(text, copied, at - copied).append(value.data(), value.size());
        copied = at + name.size();
        at = text.find(name.data(), copied, name.size());
    }
    result.append(text, copied, std::string::npos);
    text = std::move(result);
}

void replaceAll(std::string& text, std::string_view name, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%i", number);
    replaceAll(text, name, std::string_view(digits));
}

std::string channelsText(int channels) { return channels == 1 ? "Mono" : "Stereo"; }

// The script file is executed by the game's console, which splits its command
// buffer at every line break and at every semicolon outside double quotes, and
// has no way to escape a double quote inside a quoted string. Track titles come
// from tags and from whoever runs a radio stream, so a title such as
//   x"; quit; "
// would close the alias string of the template and run commands of its own.
// Every inserted value is therefore made inert: a double quote becomes a
// single quote (the title stays readable), and semicolons, carriage returns,
// line feeds and all other control characters (bytes below 0x20, and 0x7F)
// become a blank. Bytes of 0x80 and above are letters of the code page and
// stay. The user's own template text is never touched.
std::string consoleSafeValue(std::string value) {
    for (char& c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"') {
            c = '\'';
        } else if (c == ';' || byte < 0x20 || byte == 0x7F) {
            c = ' ';
        }
    }
    return value;
}

namespace {

void insertText(std::string& text, std::string_view name, std::string value, MacroValueForm form) {
    if (form == MacroValueForm::ConsoleSafe) value = consoleSafeValue(std::move(value));
    replaceAll(text, name, value);
}

}  // namespace

// Every row asks for its value afresh, whether or not the text holds its
// macro, and at the moment the row is processed: no snapshot of Winamp is
// taken across the twelve rows.
void expandMacros(std::string& text, const MacroValues& values, MacroValueForm form) {
    insertText(text, kMacroDisplayName, values.title(), form);
    insertText(text, kMacroPosition, values.positionText(), form);
    insertText(text, kMacroLength, values.lengthText(), form);
    // Printed numbers hold only digits and a minus sign: nothing to filter.
    replaceAll(text, kMacroBitrate, values.bitrate());
    replaceAll(text, kMacroFrequency, values.sampleRate());
    insertText(text, kMacroChannels, channelsText(values.channels()), form);
    insertText(text, kMacroTime, values.timeText(), form);
    insertText(text, kMacroShortDate, values.shortDateText(), form);
    insertText(text, kMacroDate, values.dateText(), form);
    insertText(text, kMacroWinampVersion, values.versionText(), form);
    insertText(text, kMacroArtist, values.artist(), form);
    insertText(text, kMacroSongTitle, values.songTitle(), form);
}

// The plug-in never selects a locale, so strftime runs in the classic "C"
// locale: English month names and "AM"/"PM" whatever the user's language.
std::string formatTimeText(const std::tm& local) {
    char buffer[kTimeTextBufferSize] = {};
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%I:%M:%S %p", &local);
    return std::string(buffer, length);
}

std::string formatDateText(const std::tm& local) {
    char buffer[kDateTextBufferSize] = {};
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%B %d, %Y", &local);
    return std::string(buffer, length);
}

std::string formatShortDateText(const std::tm& local) {
    const int year = (local.tm_year + 1900) % 100;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d", local.tm_mon + 1, local.tm_mday, year);
    return buffer;
}

}  // namespace vireo
