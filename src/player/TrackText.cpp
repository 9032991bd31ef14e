#include "player/TrackText.h"

#include <cstdio>

#include "player/WinampIpc.h"

namespace vireo {

namespace {

// Two's complement reading of 32 bits, without relying on how the compiler
// narrows an out-of-range unsigned value.
std::int32_t asSigned(std::uint32_t bits) noexcept {
    if (bits <= 0x7FFFFFFFu) return static_cast<std::int32_t>(bits);
    return static_cast<std::int32_t>(bits - 0x80000000u) - 0x7FFFFFFF - 1;
}

// Winamp 3's bitrate codes: the characters "112" and "192", lowest byte first.
constexpr std::uint32_t kBitrateCode112 = 0x00323131;
constexpr std::uint32_t kBitrateCode192 = 0x00323931;

}  // namespace

bool isWinamp3Family(std::uint32_t version) noexcept {
    const unsigned v = version & 0xFFFFu;
    return v >= WINAMP3_VERSION && v <= WINAMP3_LAST_VERSION;
}

std::string versionText(std::uint32_t version) {
    const unsigned v = version & 0xFFFFu;
    const unsigned hi = v >> 8;
    const unsigned lo = v & 0xFFu;
    char text[16];
    std::snprintf(text, sizeof text, "%1X.%1X%1X", hi >> 4, hi & 0xFu, lo);
    return text;
}

std::string minutesSecondsText(std::int32_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%i:%02i", static_cast<int>(seconds / 60),
                  static_cast<int>(seconds % 60));
    return text;
}

std::string positionText(std::int32_t milliseconds) {
    return minutesSecondsText(milliseconds / 1000);
}

std::string lengthText(std::int32_t reply, bool winamp3) {
    // Winamp 3 answers in microseconds, Winamp 2 in seconds. Both answer -1
    // for a length they do not know (a stream, an empty playlist, an entry
    // not read yet), which reads as no length.
    if (reply == IPC_UNKNOWN_LENGTH) return minutesSecondsText(0);
    return minutesSecondsText(winamp3 ? reply / 1000000 : reply);
}

int winamp3Bitrate(std::uint32_t reply) noexcept {
    switch (reply) {
        case 0:
            return 96;
        case kBitrateCode112:
            return 112;
        case kBitrateCode192:
            return 192;
        default:
            return 128;
    }
}

// Winamp 3 shows "<entry number>. <title> (<time>) (<more>)" in its window
// caption. The title is what lies between the first blank and the blank in
// front of the second-to-last "(".
//
// Captions that hold fewer parentheses than that: a cut that finds no "(" to
// cut at leaves the text as it is, and so does the last cut when its "(" is
// the very first character (there is no blank in front of it to drop). So
// "3. Song (1:02)" gives "Song " and "3. Song" gives "Song"; the text is
// never read outside its bounds.
std::string studioTitle(const std::string& windowText) {
    const auto blank = windowText.find(' ');
    if (blank == std::string::npos) return {};
    std::string title = windowText.substr(blank + 1);

    auto open = title.rfind('(');
    if (open == std::string::npos) return title;
    title.erase(open);

    open = title.rfind('(');
    if (open == std::string::npos || open == 0) return title;
    title.erase(open - 1);
    return title;
}

namespace {

// Winamp's default title format writes "Artist - Title": the first " - "
// is where the artist ends, so a hyphen inside a name ("Jay-Z", "AC-DC")
// stays with it and a station's "Station - Artist - Song" splits once.
constexpr char kTitleSeparator[] = " - ";
constexpr std::size_t kTitleSeparatorLength = sizeof kTitleSeparator - 1;

}  // namespace

// Without " - " the title splits at its first "-": the artist ends one
// character before it and the song starts two after it. A title that
// starts with "-" has nothing in front of it, so its artist is empty.
std::string artistOf(const std::string& title) {
    const auto separator = title.find(kTitleSeparator);
    if (separator != std::string::npos) return title.substr(0, separator);
    const auto dash = title.find('-');
    if (dash == std::string::npos || dash == 0) return {};
    return title.substr(0, dash - 1);
}

std::string songTitleOf(const std::string& title) {
    const auto separator = title.find(kTitleSeparator);
    if (separator != std::string::npos) return title.substr(separator + kTitleSeparatorLength);
    const auto dash = title.find('-');
    if (dash == std::string::npos) return title;
    if (dash + 2 >= title.size()) return {};
    return title.substr(dash + 2);
}

std::int32_t seekTarget(std::int32_t percent, std::int32_t length) noexcept {
    return asSigned(static_cast<std::uint32_t>(percent) * static_cast<std::uint32_t>(length) * 10u);
}

std::int32_t skipTarget(std::int32_t position, std::int32_t seconds) noexcept {
    return asSigned(static_cast<std::uint32_t>(position) +
                    static_cast<std::uint32_t>(seconds) * 1000u);
}

std::int32_t negated(std::int32_t value) noexcept {
    return asSigned(0u - static_cast<std::uint32_t>(value));
}

std::int32_t winamp3Panning(std::int32_t value) noexcept {
    return asSigned(static_cast<std::uint32_t>(value) + 127u);
}

namespace {

// A URL's scheme has no letter case: "HTTPS://" is a stream as much as "https://".
constexpr const char* kStreamSchemes[] = {"http://", "https://"};

bool startsWithIgnoringCase(const std::string& text, const char* prefix) noexcept {
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        const char c = text[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != prefix[i]) return false;
    }
    return true;
}

bool isSeparator(char c) noexcept { return c == '\\' || c == '/'; }

}  // namespace

bool isStreamAddress(const std::string& name) noexcept {
    for (const char* scheme : kStreamSchemes)
        if (startsWithIgnoringCase(name, scheme)) return true;
    return false;
}

// Winamp 5.9 looks a name up with FindFirstFileW, which fails for one that
// ends in a backslash, and then appends it as a single dead file. A drive's
// root is the exception Winamp makes itself.
std::string loadName(const std::string& name) {
    if (isStreamAddress(name)) return name;
    std::size_t end = name.size();
    while (end > 0 && isSeparator(name[end - 1])) --end;
    const bool driveRoot = end == 2 && name[1] == ':' && name.size() > 2;
    if (driveRoot || end == 0) return name;
    return name.substr(0, end);
}

}  // namespace vireo
