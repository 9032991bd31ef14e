// The console-safe script: whatever bytes the track title holds, the file
// written for a template, cut into commands by the console's rule, has the
// very commands the same template gives with a harmless title of the same
// length. The harmless title keeps every byte the console cannot read as
// structure (and so every macro name, which later rows expand) and has 'x'
// for the rest.

#include <cstdint>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/FuzzCheck.h"
#include "macros/Macros.h"
#include "player/TrackText.h"
#include "script/ScriptFile.h"
#include "settings/Defaults.h"
#include "support/ConsoleRule.h"
#include "support/TitleValues.h"

namespace {

using namespace vireo;
using vireo::test::TitleValues;

std::string harmless(std::string title) {
    for (char& c : title) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == ';' || byte < 0x20 || byte == 0x7F) c = 'x';
    }
    return title;
}

std::string scriptFile(std::string_view scriptTemplate, const std::string& title) {
    std::string text(scriptTemplate);
    expandMacros(text, TitleValues(title), MacroValueForm::ConsoleSafe);
    return toTextModeBytes(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    // The default template most of the time, else one from the input.
    const std::string own = provider.ConsumeBool() ? provider.ConsumeRandomLengthString(256)
                                                   : std::string(defaults::kScript);
    const std::string title = provider.ConsumeRemainingBytesAsString();

    const std::string hostile = scriptFile(own, title);
    const std::string tame = scriptFile(own, harmless(title));
    FUZZ_CHECK(hostile.size() == tame.size());
    FUZZ_CHECK(test::consoleCommands(hostile) == test::consoleCommands(tame));
    return 0;
}
