#pragma once
// Test helpers shared by every test folder: a fresh game folder per test, the
// game in it (told to a notifier that records what the core asked to show),
// and raw file access.

#include "store/CarpetaDatos.h"
#include "store/Notificador.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class TJuego;
class TSistemaArchivos;

/// Creates an empty folder, the current test's game folder, until it is
/// destroyed (with everything in it).
class CarpetaTemporal {
public:
    /// A new folder in the system's temporary folder, or in raiz.
    explicit CarpetaTemporal(const std::filesystem::path& raiz = std::filesystem::temp_directory_path());
    ~CarpetaTemporal();
    CarpetaTemporal(const CarpetaTemporal&) = delete;
    CarpetaTemporal& operator=(const CarpetaTemporal&) = delete;

    const std::filesystem::path& ruta() const { return ruta_; }
    /// A name in UTF-8, as the game builds its own (on Windows too).
    std::filesystem::path operator/(const std::string& nombre) const {
        return ruta_ / std::filesystem::path(std::u8string(nombre.begin(), nombre.end()));
    }

private:
    std::filesystem::path ruta_;
    CarpetaTemporal* anterior_;
};

/// The game of the current test folder, reached through the file system the
/// test installed (a TSistemaArchivosFalso while one lives, else the real
/// one) and telling registroNotificador(). A new object whenever the folder
/// or the file system changes, as a program started anew would be. Only the
/// tests that link the game core have it (comun/JuegoDePrueba.cpp).
TJuego& juegoDePrueba();
/// What drops the game when its folder or file system goes away: set by the
/// game's part of these helpers, so that the store's tests need no game.
void alCambiarDeCarpeta(void (*olvidar)());
/// The current test folder with that file system, for the stores and runs.
TCarpeta carpetaDePrueba();

/// The file system the test's games use from now on (nullptr: the real one).
/// TSistemaArchivosFalso installs itself.
void usarSistemaArchivos(TSistemaArchivos* sistema);

/// Records every notifier call as one line of text, in order.
class TNotificadorRegistro final : public TNotificador {
public:
    void advertencia(const std::string& titulo, const std::string& texto) override;
    void informacion(const std::string& texto) override;
    void abrirCarpeta(const std::filesystem::path& carpeta) override;

    std::vector<std::string> eventos;
};

/// The recording notifier of the current test folder's game.
TNotificadorRegistro& registroNotificador();

std::vector<uint8_t> leerBytes(const std::filesystem::path& ruta);
std::string leerTexto(const std::filesystem::path& ruta);
void escribirBytes(const std::filesystem::path& ruta, const std::vector<uint8_t>& bytes);
