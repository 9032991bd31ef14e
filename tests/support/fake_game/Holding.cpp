#include <cstdio>

#include "fake_game/FakeGame.h"

namespace vireo::test::fake_game {

bool holdFile(const std::string& path) {
    // Left open on purpose: the system closes it when the process ends.
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
}

int runToEnd(const std::string& commandLine) {
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return kExitRunFailed;
    ::CloseHandle(info.hThread);
    // The window answers while the program runs (one that broadcasts a
    // message must not hang on it).
    while (::MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    DWORD code = kExitRunFailed;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    std::printf("%s %lu\n", kRunExitLine, code);
    std::fflush(stdout);
    return static_cast<int>(code);
}

}  // namespace vireo::test::fake_game
