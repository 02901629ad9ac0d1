#pragma once
// Test helpers shared by every test folder: a fresh data folder per test, a
// notifier that records what the core asked to show, and raw file access.

#include "store/Notificador.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

/// Creates an empty folder, makes it the data folder and installs a
/// recording notifier; removes both again when destroyed.
class CarpetaTemporal {
public:
    CarpetaTemporal();
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
    std::filesystem::path anterior_;
};

/// Records every notifier call as one line of text, in order.
class TNotificadorRegistro final : public TNotificador {
public:
    void advertencia(const std::string& titulo, const std::string& texto) override;
    void informacion(const std::string& texto) override;
    void habilitarPeriodo(int periodo, bool habilitado) override;
    void cambiarPeriodoActual(int periodo) override;
    void abrirCarpeta(const std::filesystem::path& carpeta) override;

    std::vector<std::string> eventos;
};

/// The recording notifier installed by the current CarpetaTemporal.
TNotificadorRegistro& registroNotificador();

std::vector<uint8_t> leerBytes(const std::filesystem::path& ruta);
std::string leerTexto(const std::filesystem::path& ruta);
void escribirBytes(const std::filesystem::path& ruta, const std::vector<uint8_t>& bytes);
