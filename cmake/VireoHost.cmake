# The native build of the `host` preset: the pure core (src/PureCore.cmake)
# and its unit tests, built with the machine's own compiler under
# AddressSanitizer and UndefinedBehaviorSanitizer and run without Wine; with
# clang, the fuzzers of tests/fuzz as well.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(VIREO_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all)
# The sanitizers go on everything, GoogleTest included: its code calls ours.
add_compile_options(-g -fno-omit-frame-pointer ${VIREO_SANITIZERS})
add_link_options(${VIREO_SANITIZERS})

include(${PROJECT_SOURCE_DIR}/src/PureCore.cmake)
vireo_add_pure_core(vireo_pure)
target_link_libraries(vireo_pure PRIVATE vireo_options)

enable_testing()

set(VIREO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VIREO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The unit tests that exercise only the pure core; they also run under Wine
# as part of their folder's program.
set(VIREO_PURE_UNIT_TESTS
  autopause/FadeTest.cpp
  commands/CommandTextTest.cpp
  commands/GameFilesTest.cpp
  commands/StatusTextTest.cpp
  display/DisplayLogicTest.cpp
  game/CommandTableTest.cpp
  game/ConsoleLogTest.cpp
  game/LiblistTest.cpp
  game/MemoryTextTest.cpp
  game/ModFolderTest.cpp
  game/PatternSearchTest.cpp
  macros/ClockFormatTest.cpp
  macros/MacroExpansionTest.cpp
  player/TrackTextTest.cpp
  script/ScriptFileTest.cpp
  script/ConsoleScriptTest.cpp
  ui/PageChoicesTest.cpp)
list(TRANSFORM VIREO_PURE_UNIT_TESTS PREPEND ${PROJECT_SOURCE_DIR}/tests/unit/)
add_executable(host_unit ${VIREO_PURE_UNIT_TESTS})
target_include_directories(host_unit PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(host_unit PRIVATE vireo_options vireo_pure GTest::gtest_main)
add_test(NAME host_unit COMMAND host_unit --gtest_color=no)

# The guard itself: a pure-core file that includes windows.h does not build.
add_library(host_windows_guard OBJECT EXCLUDE_FROM_ALL
            ${PROJECT_SOURCE_DIR}/tests/host/IncludesWindows.cpp)
target_include_directories(host_windows_guard BEFORE PRIVATE ${VIREO_NO_WINDOWS_INCLUDE})
add_test(NAME host_windows_guard
         COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target host_windows_guard)
set_tests_properties(host_windows_guard PROPERTIES PASS_REGULAR_EXPRESSION "windows.h in the pure core")

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_subdirectory(tests/fuzz)
else()
  message(STATUS "The fuzzers need clang: ${CMAKE_CXX_COMPILER_ID} builds the unit tests only")
endif()

# The set-up script against stubbed apt-get, dpkg-query and dpkg (as root).
add_test(NAME host_deps COMMAND ${PROJECT_SOURCE_DIR}/tests/host/deps-test.sh)
