# GoogleTest from the sources of Debian's googletest package, built with the
# cross compiler, and the helpers that turn test folders into ctest entries.

set(VIREO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VIREO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# The shipped compiler's win32 thread model has no std::mutex: GoogleTest
# gets a Notification built on a Win32 event (its only use of std::mutex),
# included ahead of everything else in every file that sees GoogleTest: here
# by the compiler's -include, in the test programs as the first header of
# their precompiled header (see tests/support).
set(VIREO_GTEST_NOTIFICATION ${CMAKE_CURRENT_LIST_DIR}/gtest/GtestNotification.h)
add_library(vireo_gtest_notification INTERFACE)
target_compile_options(vireo_gtest_notification INTERFACE -include ${VIREO_GTEST_NOTIFICATION})
target_link_libraries(gtest PRIVATE vireo_gtest_notification)
target_link_libraries(gtest_main PRIVATE vireo_gtest_notification)

# The plug-in's code in the test programs is built with the options it ships
# with; the test code around it (GoogleTest, the doubles' helpers, the test
# cases) is built for debugging, which halves its build time and changes
# nothing the tests prove. The fake game keeps the shipped options.
add_library(vireo_test_code INTERFACE)
target_compile_options(vireo_test_code INTERFACE -Og)
target_link_libraries(gtest PRIVATE vireo_test_code)
target_link_libraries(gtest_main PRIVATE vireo_test_code)

# The file that ships, for the tests that load it as it is.
set(VIREO_SHIPPED_DLL ${PROJECT_SOURCE_DIR}/build/release/bin/gen_vireo.dll CACHE FILEPATH
    "The shipped gen_vireo.dll that the system tests load as it is")

find_program(VIREO_FLOCK flock REQUIRED)
# Port 27005 and a fake game's window class are the machine's, whichever
# build tree the tests run from.
set(VIREO_MACHINE_LOCK /tmp/vireo-machine-wide.lock CACHE FILEPATH
    "Lock file that machine-wide tests of every build tree take")

set(VIREO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# ctest runs every test program through 32-bit Wine in the build tree's prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/wine-run;${VIREO_WINEPREFIX})

# The prefix is made once per run and its wineserver kept alive meanwhile.
add_test(NAME wine.prefix.setup COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix setup ${VIREO_WINEPREFIX})
set_tests_properties(wine.prefix.setup PROPERTIES FIXTURES_SETUP wine_prefix)
add_test(NAME wine.prefix.stop COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix stop ${VIREO_WINEPREFIX})
set_tests_properties(wine.prefix.stop PROPERTIES FIXTURES_CLEANUP wine_prefix)

# vireo_add_gtest(NAME name SOURCES ... [MACHINE_WIDE] [TIMEOUT s])
# One ctest entry per test program: one wine start runs all its cases.
# MACHINE_WIDE programs touch what the whole prefix shares (the settings key,
# windows found by class, a fake game, port 27005) and never run in parallel.
function(vireo_add_gtest)
  cmake_parse_arguments(T "MACHINE_WIDE" "NAME;TIMEOUT" "SOURCES" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_precompile_headers(${T_NAME} REUSE_FROM vireo_test_support)
  target_link_libraries(${T_NAME} PRIVATE vireo_test_support vireo_core GTest::gtest_main vireo_test_code)
  add_dependencies(${T_NAME} gen_vireo)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine_prefix TIMEOUT ${T_TIMEOUT}
                       ENVIRONMENT "VIREO_SHIPPED_DLL=${VIREO_SHIPPED_DLL}")
  if(T_MACHINE_WIDE)
    # RESOURCE_LOCK keeps them apart within one ctest run; the lock file
    # (taken by tools/wine-run) keeps them apart from another build tree's
    # tests running on the same machine at the same time.
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK vireo_machine)
    set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT "VIREO_MACHINE_LOCK=${VIREO_MACHINE_LOCK}")
  endif()
endfunction()

# Every folder under tests/unit becomes one program unit_<folder>; every
# folder under tests/system one machine-wide program system_<folder>.
function(vireo_add_test_folders kind)
  file(GLOB folders LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/${kind}/*)
  foreach(folder ${folders})
    if(IS_DIRECTORY ${folder})
      get_filename_component(area ${folder} NAME)
      file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
      if(sources)
        if(kind STREQUAL "system")
          vireo_add_gtest(NAME ${kind}_${area} SOURCES ${sources} MACHINE_WIDE)
        else()
          vireo_add_gtest(NAME ${kind}_${area} SOURCES ${sources})
        endif()
      endif()
    endif()
  endforeach()
endfunction()
