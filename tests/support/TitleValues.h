#pragma once
// Macro values for the text-only tests, the fuzzers and the benchmarks: a
// given display title (its artist and song split as the plug-in splits it)
// and fixed values for the rest. Header-only, no windows.h.

#include <string>
#include <utility>

#include "macros/Macros.h"
#include "player/TrackText.h"

namespace vireo::test {

class TitleValues : public MacroValues {
public:
    explicit TitleValues(std::string title = "Artist - Song") : title_(std::move(title)) {}
    std::string title() const override { return title_; }
    std::string positionText() const override { return "1:01"; }
    std::string lengthText() const override { return "4:05"; }
    int bitrate() const override { return 128; }
    int sampleRate() const override { return 44; }
    int channels() const override { return 2; }
    std::string timeText() const override { return "03:07:09 PM"; }
    std::string shortDateText() const override { return "03/05/03"; }
    std::string dateText() const override { return "March 05, 2003"; }
    std::string versionText() const override { return "2.091"; }
    std::string artist() const override { return artistOf(title_); }
    std::string songTitle() const override { return songTitleOf(title_); }

private:
    std::string title_;
};

}  // namespace vireo::test
