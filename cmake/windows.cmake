# The core's tests on Windows: cross-built (see cmake/mingw-w64.cmake), when
# ctest runs them under Wine, or built on Windows itself.

# Debian ships GoogleTest for Windows only as sources: built here when no
# GoogleTest for this compiler is installed.
find_package(GTest QUIET)
if(NOT GTest_FOUND)
  set(CORVELIAN_GOOGLETEST /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${CORVELIAN_GOOGLETEST}/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
  # GoogleTest's own sources are not held to the project's warnings.
  foreach(objetivo gtest gtest_main)
    set_property(TARGET ${objetivo} PROPERTY COMPILE_WARNING_AS_ERROR OFF)
  endforeach()
endif()

# Tests left out of the Windows build:
# - tests/cli runs the tool as a child process with fork, exec and waitpid,
#   and races and kills tools (concurrencia_test, muerte_test); the tool is
#   checked under Wine by the demo comparison instead.
# - carpeta_datos_test sets HOME and XDG_DATA_HOME with setenv, for the
#   POSIX rule of the user's data folder.
file(GLOB PRUEBAS_SOLO_POSIX tests/cli/*.cpp)
list(APPEND PRUEBAS_SOLO_POSIX ${CMAKE_SOURCE_DIR}/tests/store/carpeta_datos_test.cpp)

# Each GoogleTest program runs once under Wine: one start-up per program
# instead of one per test.
set(CORVELIAN_PRUEBA_POR_PROGRAMA ON)

# One Wine prefix inside the build folder, quiet; scripts/probar.sh makes it
# once with wineboot before the tests run.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(CORVELIAN_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CORVELIAN_WINEPREFIX} WINEDEBUG=-all ${CMAKE_CROSSCOMPILING_EMULATOR})
endif()

# The whole demo game played here and by the native tool must write the same
# bytes: pass the native tool's path to check it.
set(CORVELIAN_CLI_NATIVO "" CACHE FILEPATH "corvelian-cli built for this machine, to compare the demo with")
if(CORVELIAN_CLI_NATIVO AND TARGET corvelian-cli AND CMAKE_CROSSCOMPILING_EMULATOR)
  string(REPLACE ";" "|" emulador "${CMAKE_CROSSCOMPILING_EMULATOR}")
  add_test(NAME demo_igual_a_la_nativa
           COMMAND ${CMAKE_COMMAND} "-DEMULADOR=${emulador}"
                   -DCLI_WINDOWS=$<TARGET_FILE:corvelian-cli> -DCLI_NATIVO=${CORVELIAN_CLI_NATIVO}
                   -DCARPETA=${CMAKE_BINARY_DIR}/demo -P ${CMAKE_CURRENT_LIST_DIR}/comparar-demo.cmake)
endif()
