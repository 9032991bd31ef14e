# The pure core: the text and byte logic of the plug-in that needs no
# windows.h (console lines, numbers, datagram bytes, liblist.gam, the pattern
# search, captured lines, track texts, macros and clock formats, script bytes,
# fade arithmetic, notify rows, the host-presence name, the engine-table
# check, the pages' choices).
# It is built with an include directory first on its path whose windows.h
# (and the other Win32 headers) #error, so Win32 code cannot creep in; the
# same sources build for the DLL, for the Wine tests and, with the machine's
# own compiler, for the native tests and the fuzzers.
set(VIREO_PURE_SOURCES
  autopause/Fade.cpp
  commands/CommandText.cpp
  commands/GameFiles.cpp
  commands/StatusText.cpp
  display/EngineTableCheck.cpp
  display/NotifyRows.cpp
  display/PresenceName.cpp
  display/SharedDisplayBlock.cpp
  game/CommandTable.cpp
  game/ConsoleLog.cpp
  game/ConsoleLine.cpp
  game/Liblist.cpp
  game/MemoryText.cpp
  game/ModFolder.cpp
  game/PatternSearch.cpp
  macros/Macros.cpp
  player/TrackText.cpp
  script/ScriptFile.cpp
  ui/PageChoices.cpp)
list(TRANSFORM VIREO_PURE_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

set(VIREO_NO_WINDOWS_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/../cmake/no-windows)
cmake_path(NORMAL_PATH VIREO_NO_WINDOWS_INCLUDE)
set(VIREO_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR})

# vireo_add_pure_core(name [options...]): an object library of the pure core,
# compiled with the given extra compile options.
function(vireo_add_pure_core name)
  add_library(${name} OBJECT ${VIREO_PURE_SOURCES})
  target_include_directories(${name} BEFORE PRIVATE ${VIREO_NO_WINDOWS_INCLUDE})
  target_include_directories(${name} PUBLIC ${VIREO_SOURCE_ROOT})
  if(ARGN)
    target_compile_options(${name} PRIVATE ${ARGN})
  endif()
endfunction()
