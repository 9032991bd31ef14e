#include "fake_game/FakeGame.h"

#include <cstdlib>
#include <cstring>

namespace vireo::test::fake_game {

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        const bool hasValue = i + 1 < argc;
        auto is = [option](const char* name) { return std::strcmp(option, name) == 0; };
        if (is(kOptionNoBuildMarker)) {
            options.buildMarker.reset();
        } else if (is(kOptionConDebug)) {
            options.today.conDebug = true;
        } else if (is(kOptionChurnRegions)) {
            options.churnRegions = true;
        } else if (is(kOptionNoCopies)) {
            options.plantCopies = false;
        } else if (is(kOptionWindowOnSecondThread)) {
            options.windowOnSecondThread = true;
        } else if (bool bad = false; parseEngineOption(argc, argv, i, options.engine, bad)) {
            if (bad) return false;
        } else if (!hasValue) {
            return false;
        } else if (is(kOptionBuildMarker)) {
            options.buildMarker = static_cast<std::uint16_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (is(kOptionGame)) {
            options.today.gameName = argv[++i];
        } else if (is(kOptionTitleAfter)) {
            options.today.titleAfterMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        } else if (is(kOptionExecWhenPresent)) {
            options.today.execWhenPresent = argv[++i];
        } else if (is(kOptionMod)) {
            options.modName = argv[++i];
        } else if (is(kOptionWindowClass)) {
            options.windowClass = argv[++i];
        } else if (is(kOptionWindowTitle)) {
            options.windowTitle = argv[++i];
        } else if (is(kOptionFootprintMb)) {
            options.footprintMb = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (is(kOptionHoldFile)) {
            options.holdFile = argv[++i];
        } else if (is(kOptionWatchFile)) {
            options.watchFile = argv[++i];
        } else if (is(kOptionReleaseAfter)) {
            options.releaseAfterMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        } else if (is(kOptionRun)) {
            options.runCommand = argv[++i];
        } else if (is(kOptionFootprintCopies)) {
            options.footprintCopies = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace vireo::test::fake_game
