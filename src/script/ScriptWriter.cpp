#include "script/ScriptWriter.h"

#include "common/WholeFile.h"

#include "common/UniqueResource.h"
#include "game/GameLocator.h"
#include "game/ModDirectory.h"
#include "game/TodaysGame.h"
#include "macros/Macros.h"
#include "script/ScriptFile.h"
#include "settings/Settings.h"

namespace vireo {

namespace {

bool moveOverExisting(const char* from, const char* to) noexcept {
    // Neither MOVEFILE_COPY_ALLOWED, which would make it a copy written in
    // place again, nor MOVEFILE_WRITE_THROUGH, which would flush every second
    // for a file that is made anew at the next tick anyway.
    return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
}

ScriptWriteReport report;
ScriptPlacement placement;
ScriptFileMove moveFile = moveOverExisting;
ScriptTemporaryWrite writeTemporary = writeWholeFile;

}  // namespace

DWORD putInPlace(ScriptPlacement& placement, const std::string& path, const std::string& bytes) {
    // The same bytes again spare antivirus and cloud-synced folders a new
    // file every second; a file deleted or changed meanwhile is written anew.
    if (placement.unchanged(path, bytes, fileSize(path))) return ERROR_SUCCESS;
    if (!placement.nextWriteInPlace(path)) {
        // A game that execs the file while a new one is moved over it reads
        // the old script or the new one, never a cut one.
        const std::string temporary = path + std::string(kScriptTemporarySuffix);
        DWORD refusal = ERROR_SUCCESS;
        if (!writeTemporary(temporary, bytes)) {
            refusal = ::GetLastError();
            ::DeleteFileA(temporary.c_str());  // a full disk leaves a part
            // Some players grant write access to Vireo.cfg alone: a folder
            // that refuses the new file counts as one that refuses the move.
            // A full disk or a missing folder is no refusal.
            if (refusal != ERROR_ACCESS_DENIED) return refusal;
        } else if (moveFile(temporary.c_str(), path.c_str())) {
            placement.moved(path, bytes);
            return ERROR_SUCCESS;
        } else {
            refusal = ::GetLastError();
            ::DeleteFileA(temporary.c_str());
        }
        // Refused while the game reads the file: writing in place now would
        // cut exactly the script it reads. The next tick tries again.
        if (!placement.refused(path, refusal == ERROR_CALL_NOT_IMPLEMENTED)) return refusal;
    }
    if (!writeWholeFile(path, bytes)) {
        const DWORD error = ::GetLastError();
        placement.failed();
        return error;
    }
    placement.writtenInPlace(path, bytes);
    return ERROR_SUCCESS;
}

namespace {

// The classic game's folders are asked afresh; a game of today's are the
// files road's.
std::string scriptDirectory() {
    if (findGameWindow()) return PlaceScriptInRoot.isOn() ? gameDirectory() : modDirectory();
    const TodaysGame* today = todaysGame();
    if (!today) return std::string();
    return PlaceScriptInRoot.isOn() ? today->gameFolder : today->modFolder;
}

void writeScript() {
    if (!findGameWindow() && !todaysGame()) return;
    if (!EnableScripting.isOn()) return;

    std::string text = Script.read();
    // Titles come from tags and radio streams: every inserted value is made
    // inert for the console that executes this file.
    expandMacrosForConsole(text);

    const std::string directory = scriptDirectory();
    // When the game's directory could not be learnt, the path would be
    // relative to Winamp's current directory; nobody wants the file there.
    if (!isAbsoluteDirectory(directory)) return;

    // A missing directory or a file held by someone else: the next tick
    // tries again.
    report.path = directory + std::string(kScriptFileName);
    const DWORD error = putInPlace(placement, report.path, toTextModeBytes(text));
    report.written = error == ERROR_SUCCESS;
    report.error = error;
    if (report.written)
        report.writtenAt = ::GetTickCount();
    else
        report.failedAt = ::GetTickCount();
    report.inPlace = placement.inPlace();
    report.refusals = placement.refusalsInARow();
}

}  // namespace

const ScriptWriteReport& scriptWriteReport() noexcept { return report; }

void setScriptFileMove(ScriptFileMove move) noexcept { moveFile = move ? move : moveOverExisting; }

void setScriptTemporaryWrite(ScriptTemporaryWrite write) noexcept {
    writeTemporary = write ? write : writeWholeFile;
}

void CALLBACK scriptWriterTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    try {
        writeScript();
    } catch (...) {
        // Out of memory: skip this tick.
    }
}

}  // namespace vireo
