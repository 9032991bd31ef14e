# The shipped plug-in and the tests: 32-bit Windows, as Winamp and the game
# are. The tests run under 32-bit Wine with the compiler and options the
# shipped DLL is built with (the default win32 thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VIREO_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VIREO_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${VIREO_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${VIREO_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VIREO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
