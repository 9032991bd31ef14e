# Compile and link options of our own targets, set on each target rather
# than on the whole tree, so that GoogleTest is built as its authors build it.
#
#   vireo_options      warnings and the Win32 version macros (everything of ours)
#   vireo_plugin_size  the plug-in's code for size, in sections of their own
#                      (the DLL's objects, and so the tests' copy of them)

add_library(vireo_options INTERFACE)
target_compile_options(vireo_options INTERFACE -Wall -Wextra -Werror=unknown-pragmas)
if(WIN32)
  target_compile_definitions(vireo_options INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  # Everything links the GCC runtime statically: a player copies one file into
  # Winamp's Plugins folder, and Wine finds no MinGW DLLs for the test programs.
  target_link_options(vireo_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

add_library(vireo_plugin_size INTERFACE)
target_compile_options(vireo_plugin_size INTERFACE -Os -ffunction-sections -fdata-sections)
if(WIN32)
  # The DLL is optimised once more as a whole when it is linked (some 10 KB
  # less). The objects also keep their ordinary code, which the tests' copy
  # of them links as it is.
  target_compile_options(vireo_plugin_size INTERFACE -flto -ffat-lto-objects)
endif()

# The Python that the packaging scripts need: the first python3 on the path
# that has pefile (a python3 of its own, ahead of the system's, may not).
function(vireo_python_has_pefile result candidate)
  execute_process(COMMAND ${candidate} -c "import pefile" RESULT_VARIABLE failed
                  OUTPUT_QUIET ERROR_QUIET)
  if(failed)
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()
