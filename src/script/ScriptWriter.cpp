#include "script/ScriptWriter.h"

#include "common/WholeFile.h"

#include "common/UniqueResource.h"
#include "game/GameLocator.h"
#include "game/ModDirectory.h"
#include "macros/Macros.h"
#include "script/ScriptFile.h"
#include "settings/Settings.h"

namespace vireo {

namespace {

ScriptWriteReport report;

void writeScript() {
    if (!findGameWindow()) return;
    if (!EnableScripting.isOn()) return;

    std::string text = Script.read();
    // Titles come from tags and radio streams: every inserted value is made
    // inert for the console that executes this file.
    expandMacrosForConsole(text);

    const std::string directory = PlaceScriptInRoot.isOn() ? gameDirectory() : modDirectory();
    // When the game's directory could not be learnt, the path would be
    // relative to Winamp's current directory; nobody wants the file there.
    if (!isAbsoluteDirectory(directory)) return;

    // A missing directory or a file held exclusively by someone else: the
    // next tick tries again.
    report.path = directory + std::string(kScriptFileName);
    report.written = writeWholeFile(report.path, toTextModeBytes(text));
    if (report.written) {
        report.writtenAt = ::GetTickCount();
        report.error = 0;
    } else {
        report.error = ::GetLastError();
    }
}

}  // namespace

const ScriptWriteReport& scriptWriteReport() noexcept { return report; }

void CALLBACK scriptWriterTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    try {
        writeScript();
    } catch (...) {
        // Out of memory: skip this tick.
    }
}

}  // namespace vireo
