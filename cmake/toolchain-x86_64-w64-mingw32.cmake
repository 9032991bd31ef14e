# A 64-bit build of the plug-in that is compiled but never shipped or run:
# it catches pointer-size mistakes (an address kept in a 32-bit field, a
# layout that only holds on 32-bit Windows) at compile time.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VIREO_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
