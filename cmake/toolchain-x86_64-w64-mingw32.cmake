# The build that the tests run: 64-bit Windows under wine64 (this machine
# cannot run 32-bit Wine). The posix thread model gives GoogleTest its
# std::mutex; the runtime is linked statically all the same.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VIREO_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VIREO_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VIREO_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VIREO_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VIREO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
