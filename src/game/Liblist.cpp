#include "game/Liblist.h"

#include "common/BlankTrim.h"

namespace vireo {
namespace {

constexpr char kQuote = '"';
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// Takes the next line off the front of `text`: at most kLiblistLineLimit
// characters are kept, the rest of a longer line is skipped up to and
// including its line feed, so the tail of an overlong line is never mistaken
// for a line of its own. A carriage return before the line feed is dropped,
// as a text-mode read does. Answers false at the end when nothing was left.
bool takeLine(std::string_view& text, std::string_view& line) {
    if (text.empty()) return false;
    const std::size_t end = text.find(kLineFeed);
    line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    // One byte past the limit is kept so a carriage return at the very end of
    // a full-length line can still be recognised and dropped.
    line = line.substr(0, kLiblistLineLimit + 1);
    if (!line.empty() && line.back() == kCarriageReturn) line.remove_suffix(1);
    line = line.substr(0, kLiblistLineLimit);
    return true;
}

}  // namespace

// A line that starts with the key but holds fewer than two double quotes has
// no value: the answer is empty and reading stops there, because the first
// line for a key is the one that counts, even when it is malformed.
std::string liblistValueIn(std::string_view file, std::string_view key) {
    std::string prefix(trimBlanks(key));
    prefix += kBlank;
    std::string_view line;
    while (takeLine(file, line)) {
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

}  // namespace vireo
