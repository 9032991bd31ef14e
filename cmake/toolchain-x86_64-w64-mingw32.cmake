# A 64-bit build of the plug-in that is compiled but never shipped or run:
# it catches pointer-size mistakes (an address kept in a 32-bit field, a
# layout that only holds on 32-bit Windows) at compile time.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VIREO_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VIREO_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${VIREO_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${VIREO_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VIREO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
