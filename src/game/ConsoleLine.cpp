#include "game/ConsoleLine.h"

#include "common/BlankTrim.h"

namespace vireo {
namespace {

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
