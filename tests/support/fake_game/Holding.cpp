#include <cstdio>

#include "fake_game/FakeGame.h"

namespace vireo::test::fake_game {

namespace {
// Left open on purpose unless runToEnd lets it go: the system closes it when
// the process ends.
HANDLE gHeldFile = INVALID_HANDLE_VALUE;
}  // namespace

bool holdFile(const std::string& path) {
    gHeldFile = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return gHeldFile != INVALID_HANDLE_VALUE;
}

int runToEnd(const std::string& commandLine, DWORD releaseAfterMs) {
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return kExitRunFailed;
    ::CloseHandle(info.hThread);
    const DWORD started = ::GetTickCount();
    bool releasing = releaseAfterMs != 0 && gHeldFile != INVALID_HANDLE_VALUE;
    // The window answers while the program runs (one that broadcasts a
    // message must not hang on it).
    for (;;) {
        DWORD wait = INFINITE;
        if (releasing) {
            const DWORD elapsed = ::GetTickCount() - started;
            wait = elapsed < releaseAfterMs ? releaseAfterMs - elapsed : 0;
        }
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, wait, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        } else if (woken == WAIT_TIMEOUT) {
            ::CloseHandle(gHeldFile);
            gHeldFile = INVALID_HANDLE_VALUE;
            releasing = false;
            std::printf("%s\n", kReleasedLine);
        } else {
            break;
        }
    }
    DWORD code = kExitRunFailed;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    std::printf("%s %lu\n", kRunExitLine, code);
    std::fflush(stdout);
    return static_cast<int>(code);
}

}  // namespace vireo::test::fake_game
