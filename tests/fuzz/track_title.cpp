// Title cuts of the Winamp 3 window text and the artist/song split, on any
// bytes: the studio title is a piece of the text after its first blank, the
// artist a beginning and the song a tail of the title, and the two never
// overlap; split at a " - ", they are the title once more, split once.

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "player/TrackText.h"

namespace {

using namespace vireo;

void checkSplit(const std::string& title) {
    const std::string artist = artistOf(title);
    const std::string song = songTitleOf(title);
    FUZZ_CHECK(title.compare(0, artist.size(), artist) == 0);
    FUZZ_CHECK(song.size() <= title.size());
    FUZZ_CHECK(title.compare(title.size() - song.size(), song.size(), song) == 0);
    if (title.find(" - ") != std::string::npos) {
        FUZZ_CHECK(artist + " - " + song == title);
        FUZZ_CHECK(artist.find(" - ") == std::string::npos);
    } else if (title.find('-') != std::string::npos) {
        FUZZ_CHECK(artist.size() + song.size() < title.size());
    } else {
        FUZZ_CHECK(artist.empty() && song == title);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string studio = studioTitle(text);
    const std::size_t blank = text.find(' ');
    if (blank == std::string::npos) {
        FUZZ_CHECK(studio.empty());
    } else {
        FUZZ_CHECK(text.compare(blank + 1, studio.size(), studio) == 0);
    }
    checkSplit(text);
    checkSplit(studio);
    return 0;
}
