#pragma once
// Where the benchmarks play their games, and the largest game they play.

#include "juego/Juego.h"
#include "store/CarpetaDatos.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

/// Where the benchmarks play: a RAM-backed folder when there is one, so the
/// figures are the program's and not the disk's; CORVELIAN_BENCH_DIR picks
/// another folder.
inline std::filesystem::path raizDeMedicion() {
    namespace fs = std::filesystem;
    if (const char* elegida = std::getenv("CORVELIAN_BENCH_DIR")) return elegida;
    return fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
}

/// A folder on a real disk, for a run as a game master's machine does it,
/// with every sync reaching the disk: CORVELIAN_BENCH_DISCO, or /var/tmp
/// (kept on disk, unlike /tmp on some systems).
inline std::filesystem::path raizEnDisco() {
    namespace fs = std::filesystem;
    if (const char* elegida = std::getenv("CORVELIAN_BENCH_DISCO")) return elegida;
    return fs::is_directory("/var/tmp") ? fs::path("/var/tmp") : fs::temp_directory_path();
}

/// A new empty folder for one benchmark under raiz.
inline std::filesystem::path carpetaNueva(const std::string& nombre,
                                          const std::filesystem::path& raiz = raizDeMedicion()) {
    namespace fs = std::filesystem;
    fs::path carpeta = raiz / ("corvelian-bench-" + nombre + "-" + std::to_string(::getpid()));
    fs::remove_all(carpeta);
    fs::create_directories(carpeta);
    return carpeta;
}

/// A game of 255 companies (the most a game holds) with period 0 run; a
/// large overdraft limit keeps them all playing.
inline void crearJuegoDe255Empresas(TJuego& juego) {
    std::vector<std::string> equipos;
    for (int i = 1; i <= 255; ++i) equipos.push_back("Empresa " + std::to_string(i));
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.limiteGiroDescubierto = "1000000";
    juego.crearJuego(equipos, t);
    juego.correrPeriodo0(ejemploPeriodo0());
}
