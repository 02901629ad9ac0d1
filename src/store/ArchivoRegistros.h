#pragma once
// Whole record files: read in one step and checked, written as a new file
// that replaces the old one atomically.

#include "store/ErrorArchivo.h"
#include "store/Registros.h"
#include "store/SistemaArchivos.h"
#include "store/TablaParametros.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

/// The records of a file, or nothing when the file is missing. A file whose
/// size is not a whole number of records is damaged (ErrorArchivoDanado):
/// nothing is ever read by a partial copy.
template <class Registro>
std::optional<std::vector<Registro>> leerRegistros(TSistemaArchivos& sa, const std::filesystem::path& ruta) {
    if (sa.tipo(ruta) == TSistemaArchivos::Tipo::ninguno) return std::nullopt;
    const std::string bytes = leerArchivoEntero(sa, ruta);
    if (bytes.size() % sizeof(Registro) != 0)
        throw ErrorArchivoDanado(ruta, "tiene " + std::to_string(bytes.size()) +
                                           " bytes, que no son registros enteros de " +
                                           std::to_string(sizeof(Registro)));
    std::vector<Registro> registros(bytes.size() / sizeof(Registro));
    if (!bytes.empty()) std::memcpy(registros.data(), bytes.data(), bytes.size());
    return registros;
}

/// The bytes of records as the file holds them.
template <class Registro>
std::string bytesDeRegistros(const std::vector<Registro>& registros) {
    std::string bytes(registros.size() * sizeof(Registro), '\0');
    if (!registros.empty()) std::memcpy(bytes.data(), registros.data(), bytes.size());
    return bytes;
}

/// Results records that could not be a company's (fallaDeEmpresa) make the
/// file damaged, named with the first such record.
inline void comprobarEmpresas(const std::vector<TRegDatosAcum>& registros, const std::filesystem::path& ruta) {
    for (std::size_t i = 0; i < registros.size(); ++i)
        if (const std::string falla = fallaDeEmpresa(registros[i]); !falla.empty())
            throw ErrorArchivoDanado(ruta, "en el registro " + std::to_string(i + 1) + " " + falla);
}

/// A parameters record with a field out of its range (fallaDeParametros)
/// makes the file damaged.
inline void comprobarParametros(const TRegDatosIniciales& registro, const std::filesystem::path& ruta) {
    if (const std::string falla = fallaDeParametros(registro); !falla.empty()) throw ErrorArchivoDanado(ruta, falla);
}
