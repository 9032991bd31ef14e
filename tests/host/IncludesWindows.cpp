// Built only by the host_windows_guard test, with the pure core's include
// path: it must fail to compile.
#include <windows.h>
