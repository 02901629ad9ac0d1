#pragma once
// The one error type for failed file operations of the game files and reports.

#include <filesystem>
#include <stdexcept>
#include <string>

/// A file operation failed. Carries the file and what failed, and its message
/// (what()) is a Spanish sentence the game master can read, in UTF-8.
class ErrorArchivo : public std::runtime_error {
public:
    ErrorArchivo(const std::filesystem::path& archivo, const std::string& operacion);

    const std::filesystem::path& archivo() const { return archivo_; }
    const std::string& operacion() const { return operacion_; }

private:
    std::filesystem::path archivo_;
    std::string operacion_;
};

/// A text that should hold a number does not. The message is the standard
/// invalid-number text: "'abc' is not a valid integer value".
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
