#pragma once
// Where the benchmarks play their games, and the largest game they play.

#include "juego/Juego.h"
#include "store/CarpetaDatos.h"

#include <filesystem>
#include <string>
#include <vector>
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
