#pragma once
// The record Winamp's general-purpose plug-in interface receives from the
// export: seven fields, 28 bytes on 32-bit Windows.

#include <windows.h>

namespace vireo {

inline constexpr int kGeneralPurposePluginVersion = 0x10;

struct PluginRecord {
    int version;
    const char* description;
    int (*init)();
    void (*config)();
    void (*quit)();
    HWND hwndParent;
    HINSTANCE hDllInstance;
};
#if !defined(_WIN64)
static_assert(sizeof(PluginRecord) == 28, "Winamp's plug-in record is seven 32-bit fields");
#endif

}  // namespace vireo
