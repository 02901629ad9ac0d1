#pragma once
// Where the benchmarks play their games.

#include <filesystem>
#include <string>
#include <unistd.h>

/// A new empty folder for one benchmark, RAM-backed when there is one, so
/// the figure is the program's and not the disk's.
inline std::filesystem::path carpetaNueva(const std::string& nombre) {
    namespace fs = std::filesystem;
    const fs::path raiz = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path carpeta = raiz / ("corvelian-bench-" + nombre + "-" + std::to_string(::getpid()));
    fs::remove_all(carpeta);
    fs::create_directories(carpeta);
    return carpeta;
}
