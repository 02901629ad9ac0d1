# The core, the tool and the core's tests cross-built for Windows (see
# cmake/mingw-w64.cmake); ctest runs them under Wine.

# Debian ships GoogleTest for Windows only as sources.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
# GoogleTest's own sources are not held to the project's warnings.
foreach(objetivo gtest gtest_main)
  set_property(TARGET ${objetivo} PROPERTY COMPILE_WARNING_AS_ERROR OFF)
endforeach()

# Tests left out of the Windows build:
# - tests/cli runs the tool as a child process with fork, exec and waitpid,
#   and races and kills tools (concurrencia_test, muerte_test); the tool is
#   checked under Wine by the demo comparison instead.
file(GLOB PRUEBAS_SOLO_POSIX tests/cli/*.cpp)

# Each GoogleTest program runs once under Wine: one start-up per program
# instead of one per test.
set(CORVELIAN_PRUEBA_POR_PROGRAMA ON)
