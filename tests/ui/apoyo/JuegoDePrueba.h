#pragma once
// The game a window test works on: the test's folder, as a program started
// on it would open it. Screens a test builds itself get this game; a main
// window gets the folder and opens its own.

#include "juego/Juego.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace apoyo {
inline std::filesystem::path& rutaActual() {
    static std::filesystem::path ruta = std::filesystem::current_path();
    return ruta;
}
// Every game handed out lives until the program ends: a screen may still
// hold one when its test moves to another folder.
inline std::vector<std::unique_ptr<TJuego>>& juegos() {
    static std::vector<std::unique_ptr<TJuego>> todos;
    return todos;
}
}  // namespace apoyo

/// The folder the next calls work on.
inline void usarCarpetaDePrueba(const std::filesystem::path& ruta) { apoyo::rutaActual() = ruta; }

/// The game in the current test folder.
inline TJuego& juegoDePrueba() {
    auto& juegos = apoyo::juegos();
    if (juegos.empty() || juegos.back()->ruta() != apoyo::rutaActual())
        juegos.push_back(std::make_unique<TJuego>(apoyo::rutaActual()));
    return *juegos.back();
}

/// The current test folder, for the stores.
inline const TCarpeta& carpetaDePrueba() { return juegoDePrueba().carpeta(); }
