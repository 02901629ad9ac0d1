#pragma once
// The one error type for failed file operations of the game files and reports.

#include <filesystem>
#include <stdexcept>
#include <string>

/// A file's name as an error message gives it (UTF-8): its path inside the
/// game folder when a folder of the game holds it ("historial/Periodo 1/
/// DECISIONES.DAT"), so that a copy never reads as the live file; else the
/// last component alone.
std::string nombreEnElJuego(const std::filesystem::path& archivo);

/// A file operation failed. Carries the file and what failed, and its message
/// (what()) is a Spanish sentence the game master can read, in UTF-8, naming
/// the file by nombreEnElJuego.
class ErrorArchivo : public std::runtime_error {
public:
    ErrorArchivo(const std::filesystem::path& archivo, const std::string& operacion);

    const std::filesystem::path& archivo() const { return archivo_; }
    const std::string& operacion() const { return operacion_; }

private:
    std::filesystem::path archivo_;
    std::string operacion_;
};

/// A file took its new content, but the disk did not confirm the change of
/// its folder: the change happened and may not yet be durable. A caller that
/// can say so raises a warning instead of a failure.
class ErrorArchivoSinConfirmar : public ErrorArchivo {
public:
    using ErrorArchivo::ErrorArchivo;
};

/// A text that should hold a number does not. The message says so in the
/// words of textoNoEsEntero (store/Texto.h).
class ErrorConversion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A game file exists but cannot be a valid one: its size is not a whole
/// number of records, or its header is impossible. The game is damaged; no
/// operation may write over it.
class ErrorArchivoDanado : public ErrorArchivo {
public:
    ErrorArchivoDanado(const std::filesystem::path& archivo, const std::string& problema)
        : ErrorArchivo(archivo, "el archivo está dañado: " + problema) {}
};
