#pragma once
// The tool's edge with the terminal and the files it is given: those speak
// UTF-8, the game files Windows-1252. Everything the tool reads is converted
// here before it reaches the core, and everything the core hands back is
// converted before it is printed.

#include "juego/ArchivoTexto.h"
#include "store/Notificador.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

/// Windows-1252 upper case: ASCII and the accented letters (ñ -> Ñ, é -> É).
std::string mayusculas1252(std::string_view texto);

/// The core's messages on the terminal: a bankruptcy message goes to the
/// standard output, a warning to the standard error; the file browser is
/// never opened. It holds nothing.
class TNotificadorConsola final : public TNotificador {
public:
    void advertencia(const std::string& titulo, const std::string& texto) override;
    void informacion(const std::string& texto) override;
    void abrirCarpeta(const std::filesystem::path&) override {}
};

/// The notifier the tool gives every game it opens.
TNotificadorConsola& notificadorConsola();
