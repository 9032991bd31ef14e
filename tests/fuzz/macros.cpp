// Macro expansion with hostile values and templates: values that hold their
// own macro's name or other names, runs of percent signs, long values. The
// expansion must end, and each row can at most put its value in place of
// every name that was in the text when the row started:
//
//   L(row + 1) <= L(row) + floor(L(row) / |name|) * |value|
//
// starting from the template's length. Rows feed later rows by design (a
// title may hold "%TIME%"), so the bound is a product over the rows; inputs
// whose bound goes beyond kLargestChecked are not expanded, to keep the
// fuzzer's memory small, since their size then follows from the arithmetic.
// Besides, no expansion grows a text beyond kMaxExpandedTextSize (or beyond
// the template's own size, when that is larger).

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/FuzzCheck.h"
#include "macros/Macros.h"

namespace {

using namespace vireo;

constexpr std::size_t kLargestChecked = std::size_t{16} << 20;

constexpr std::string_view kNames[] = {
    kMacroDisplayName, kMacroPosition,      kMacroLength, kMacroBitrate,
    kMacroFrequency,   kMacroChannels,      kMacroTime,   kMacroShortDate,
    kMacroDate,        kMacroWinampVersion, kMacroArtist, kMacroSongTitle,
};

// Values drawn from the input, each handed out as asked.
class HostileValues : public MacroValues {
public:
    std::string texts[12];
    int numbers[3] = {};

    std::string title() const override { return texts[0]; }
    std::string positionText() const override { return texts[1]; }
    std::string lengthText() const override { return texts[2]; }
    int bitrate() const override { return numbers[0]; }
    int sampleRate() const override { return numbers[1]; }
    int channels() const override { return numbers[2]; }
    std::string timeText() const override { return texts[6]; }
    std::string shortDateText() const override { return texts[7]; }
    std::string dateText() const override { return texts[8]; }
    std::string versionText() const override { return texts[9]; }
    std::string artist() const override { return texts[10]; }
    std::string songTitle() const override { return texts[11]; }
};

std::size_t inserted(const HostileValues& values, std::size_t row) {
    switch (row) {
        case 3:
        case 4:
            return std::to_string(values.numbers[row - 3]).size();
        case 5:
            return channelsText(values.numbers[2]).size();
        default:
            return values.texts[row].size();
    }
}

// Grows a piece of input into a long value: some rows get megabyte-sized
// values made of a short unit repeated.
std::string takeValue(FuzzedDataProvider& provider) {
    std::string value = provider.ConsumeRandomLengthString(64);
    const unsigned repeats = provider.ConsumeIntegralInRange<unsigned>(0, 3) == 3
                                 ? provider.ConsumeIntegralInRange<unsigned>(1, 4096)
                                 : 1;
    std::string grown;
    for (unsigned i = 0; i < repeats; ++i) grown += value;
    return grown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    HostileValues values;
    for (std::string& text : values.texts) text = takeValue(provider);
    for (int& number : values.numbers) number = provider.ConsumeIntegral<int>();
    const auto form = provider.ConsumeBool() ? MacroValueForm::ConsoleSafe : MacroValueForm::AsIs;
    std::string text = provider.ConsumeRemainingBytesAsString();

    const std::size_t limit = std::max(kMaxExpandedTextSize, text.size());
    std::size_t bound = text.size();
    for (std::size_t row = 0; row < 12; ++row) {
        bound += bound / kNames[row].size() * inserted(values, row);
        if (bound > kLargestChecked) return 0;
    }

    expandMacros(text, values, form);
    FUZZ_CHECK(text.size() <= bound);
    FUZZ_CHECK(text.size() <= limit);
    return 0;
}
