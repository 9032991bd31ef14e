#pragma once
// What a process holds of the system: kernel handles, USER objects (windows
// under Wine) and GDI objects, and its private bytes. For leak checks in the
// fault tests and for the soak's figures.
//
// Wine 8 answers GetProcessHandleCount with 0 and GetGuiResources with 0, so
// under Wine the handles are counted in the system's handle table
// (NtQuerySystemInformation) and the USER objects as the process's windows,
// top-level and child. Wine keeps no per-process GDI count: there the GDI
// figure stays 0 and proves nothing.

#include <windows.h>

#include <cstdint>

namespace vireo::test {

struct ProcessResources {
    long handles = -1;
    long userObjects = -1;
    long gdiObjects = -1;
    std::uint64_t privateBytes = 0;
};

// `process` needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ; the handle
// and window counts work for any process id.
ProcessResources processResources(HANDLE process, DWORD processId);
ProcessResources currentProcessResources();

}  // namespace vireo::test
