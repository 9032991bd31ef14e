#include "game/Liblist.h"

#include <sstream>

namespace vireo {
namespace {

constexpr char kBlank = ' ';
constexpr char kQuote = '"';
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kBlank);
    return text.substr(first, last - first + 1);
}

// Reads one line into `line`: at most kLiblistLineLimit characters are kept,
// the rest of a longer line is skipped up to and including its line feed, so
// the tail of an overlong line is never mistaken for a line of its own. A
// carriage return before the line feed is dropped, as a text-mode read does.
// Answers false at the end of the stream when nothing was read.
bool readLine(std::streambuf& in, std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        const auto c = in.sbumpc();
        if (c == std::char_traits<char>::eof()) break;
        any = true;
        const char ch = std::char_traits<char>::to_char_type(c);
        if (ch == kLineFeed) break;
        // Keep one byte past the limit so a carriage return at the very end
        // of a full-length line can still be recognised and dropped.
        if (line.size() <= kLiblistLineLimit) line.push_back(ch);
    }
    if (!line.empty() && line.back() == kCarriageReturn) line.pop_back();
    if (line.size() > kLiblistLineLimit) line.resize(kLiblistLineLimit);
    return any;
}

}  // namespace

// A line that starts with the key but holds fewer than two double quotes has
// no value: the answer is empty and reading stops there, because the first
// line for a key is the one that counts, even when it is malformed.
std::string liblistValueIn(std::istream& lines, std::string_view key) {
    std::string prefix(trimBlanks(key));
    prefix += kBlank;
    std::streambuf* in = lines.rdbuf();
    if (!in) return {};
    std::string line;
    while (readLine(*in, line)) {
        std::string_view text(line);
        const std::size_t start = text.find_first_not_of(kBlank);
        if (start == std::string_view::npos) continue;
        text.remove_prefix(start);
        if (text.substr(0, prefix.size()) != prefix) continue;
        const std::size_t open = text.find(kQuote);
        if (open == std::string_view::npos) return {};
        const std::size_t close = text.find(kQuote, open + 1);
        if (close == std::string_view::npos) return {};
        return std::string(text.substr(open + 1, close - open - 1));
    }
    return {};
}

std::string liblistValueIn(std::string_view text, std::string_view key) {
    std::istringstream lines{std::string(text)};
    return liblistValueIn(lines, key);
}

}  // namespace vireo
