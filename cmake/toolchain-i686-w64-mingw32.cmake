# The shipped plug-in and the tests: 32-bit Windows, as Winamp and the game
# are. The tests run under 32-bit Wine with the compiler and options the
# shipped DLL is built with (the default win32 thread model).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VIREO_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
