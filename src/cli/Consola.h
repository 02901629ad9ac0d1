#pragma once
// The tool's edge with the terminal and the files it is given: those speak
// UTF-8, the game files Windows-1252. Everything the tool reads is converted
// here before it reaches the core, and everything the core hands back is
// converted before it is printed.

#include "store/Notificador.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

/// UTF-8 text as Windows-1252. Throws ErrorJuego naming donde ("equipos.txt,
/// línea 3") and the first character that the game files cannot hold, or
/// saying that the text is not UTF-8 at all.
std::string aWindows1252(std::string_view utf8, const std::string& donde);

/// Windows-1252 upper case: ASCII and the accented letters (ñ -> Ñ, é -> É).
std::string mayusculas1252(std::string_view texto);

/// Blanks, tabs and a stray carriage return trimmed from both ends.
std::string recortar(std::string_view texto);

/// The lines of a text file, without their line ends (LF or CR LF) and
/// without a leading UTF-8 byte order mark. ErrorJuego when it cannot be read.
std::vector<std::string> leerLineas(const std::filesystem::path& archivo);

/// "archivo, línea n", the start of every message about a line of a file.
std::string enLinea(const std::filesystem::path& archivo, std::size_t linea);

/// The core's messages on the terminal: a bankruptcy message goes to the
/// standard output, a warning to the standard error; menu changes have no
/// meaning here and the file browser is never opened.
class TNotificadorConsola final : public TNotificador {
public:
    void advertencia(const std::string& titulo, const std::string& texto) override;
    void informacion(const std::string& texto) override;
    void habilitarPeriodo(int, bool) override {}
    void cambiarPeriodoActual(int) override {}
    void abrirCarpeta(const std::filesystem::path&) override {}

    /// Warnings shown so far: a store that failed a write says so only here.
    int advertencias() const { return advertencias_; }

private:
    int advertencias_ = 0;
};

/// The tool's one notifier, installed by main.
TNotificadorConsola& notificadorConsola();
