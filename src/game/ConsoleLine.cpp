#include "game/ConsoleLine.h"

namespace vireo {
namespace {

constexpr char kBlank = ' ';

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kBlank);
    return text.substr(first, last - first + 1);
}

std::string_view trimLeadingBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlank);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

}  // namespace

SplitLine splitAtFirstBlank(std::string_view text) {
    const std::size_t blank = text.find(kBlank);
    if (blank == std::string_view::npos) return {std::string(text), {}};
    return {std::string(text.substr(0, blank)),
            std::string(trimLeadingBlanks(text.substr(blank + 1)))};
}

SplitLine splitConsoleLine(std::string_view line) { return splitAtFirstBlank(trimBlanks(line)); }

}  // namespace vireo
