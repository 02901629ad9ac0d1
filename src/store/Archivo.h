#pragma once
// A record file open for one call: the stores open it, read or write whole
// records at byte positions and close it. It goes through the file-system
// seam (SistemaArchivos.h); every failure raises ErrorArchivo naming the file
// and what failed.

#include <cstddef>
#include <cstdint>
#include <filesystem>

class Archivo {
public:
    enum class Modo {
        leer,        ///< the file must exist; read only
        actualizar,  ///< read and write; created empty when missing
        crear,       ///< created, or truncated to zero bytes
    };

    Archivo(const std::filesystem::path& ruta, Modo modo);
    ~Archivo();
    Archivo(const Archivo&) = delete;
    Archivo& operator=(const Archivo&) = delete;

    /// Size of the file in bytes.
    std::uint64_t tamano();
    /// Reads exactly n bytes at byte position pos; a short read is an error.
    void leer(std::uint64_t pos, void* destino, std::size_t n);
    /// Writes n bytes at byte position pos.
    void escribir(std::uint64_t pos, const void* origen, std::size_t n);
    /// Writes record number indice of size n; as with a typed file, the
    /// position may be at most one past the last record.
    void escribirRegistro(std::uint64_t indice, const void* origen, std::size_t n);
    /// Cuts (or extends with zeros) the file to the given size.
    void truncar(std::uint64_t tamano);
    /// Makes the written data durable.
    void sincronizar();
    /// Closes; a failure to do so is an error.
    void cerrar();

    const std::filesystem::path& ruta() const { return ruta_; }

private:
    std::filesystem::path ruta_;
    int descriptor_ = -1;
};

/// Truncates (or extends with zeros) a closed file to the given size.
void truncarArchivo(const std::filesystem::path& ruta, std::uint64_t tamano);
