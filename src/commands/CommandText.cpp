#include "commands/CommandText.h"

#include <algorithm>
#include <limits>

namespace vireo {
namespace {

// The datagram: kOutOfBandByte repeated kOutOfBandPrefixLength times, then
// kPrintCommand, then the text from kTextOffset, then one terminating zero.
constexpr std::uint8_t kOutOfBandByte = 0xFF;
constexpr std::size_t kOutOfBandPrefixLength = 4;
constexpr std::uint8_t kPrintCommand = 'l';
constexpr std::size_t kPrintCommandOffset = kOutOfBandPrefixLength;
constexpr std::size_t kTextOffset = kPrintCommandOffset + 1;
constexpr std::size_t kTerminatorLength = 1;

// The C library's white space in the classic locale.
bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

SplitLine splitSubCommand(std::string_view rest) { return splitAtFirstBlank(rest); }

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::int32_t readNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isWhiteSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulated as a magnitude in 64 bits and held at the bound, so a long
    // run of digits never overflows.
    constexpr std::int64_t kMaxMagnitude =
        std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kMaxMagnitude) magnitude = kMaxMagnitude;
    }
    if (negative) return static_cast<std::int32_t>(-magnitude);
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(magnitude, std::numeric_limits<std::int32_t>::max()));
}

std::size_t consoleTextCapacity(std::size_t datagramBytes) noexcept {
    const std::size_t framing = kTextOffset + kTerminatorLength;
    return datagramBytes > framing ? datagramBytes - framing : 0;
}

std::vector<std::uint8_t> consoleDatagram(std::string_view text) {
    std::vector<std::uint8_t> datagram(kTextOffset + text.size() + kTerminatorLength, 0);
    for (std::size_t i = 0; i < kOutOfBandPrefixLength; ++i) datagram[i] = kOutOfBandByte;
    datagram[kPrintCommandOffset] = kPrintCommand;
    for (std::size_t i = 0; i < text.size(); ++i)
        datagram[kTextOffset + i] = static_cast<std::uint8_t>(text[i]);
    return datagram;
}

}  // namespace vireo
