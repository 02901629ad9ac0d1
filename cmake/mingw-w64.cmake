# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 and POSIX threads
# (std::thread and std::mutex need the posix flavour of the compiler).
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCORVELIAN_VENTANA=OFF
# ctest then runs the programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRIPLETE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRIPLETE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRIPLETE}-g++-posix)
set(CMAKE_RC_COMPILER ${TRIPLETE}-windres)

# Libraries and headers come from the MinGW tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TRIPLETE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in, winpthread included, so an .exe runs without DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# MSVCRT's printf knows no 80-bit long double; MinGW's own one does.
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")

find_program(WINE_PROGRAMA NAMES wine64 wine)
if(WINE_PROGRAMA)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAMA})
endif()
