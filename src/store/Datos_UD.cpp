#include "store/Datos_UD.h"

#include "store/NombresArchivos.h"

#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"

// The parameters file holds exactly one record; anything else is damaged.
std::optional<TRegDatosIniciales> TDatosjuego::leerParametros() {
    const auto registros = leerRegistros<TRegDatosIniciales>(carpeta_.sa(), carpeta_.ruta(kArchivoParametros));
    if (!registros) return std::nullopt;
    if (registros->size() != 1)
        throw ErrorArchivoDanado(carpeta_.ruta(kArchivoParametros), "tiene " + std::to_string(registros->size() * 224) +
                                                             " bytes y debe tener 224");
    return registros->front();
}

void TDatosjuego::guardarDatosIniciales(const TRegDatosIniciales& r) {
    // Written whole beside the old file and then put in its place, so that a
    // failed write never leaves a game without its parameters.
    reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kArchivoParametros), bytesDeRegistros(std::vector<TRegDatosIniciales>{r}));
}

void TDatosjuego::leerDatosIniciales(TRegDatosIniciales& r) {
    if (auto leido = leerParametros()) r = *leido;
}

TRegDatosIniciales TDatosjuego::leerDatosDelJuego() {
    const auto leido = leerParametros();
    if (!leido) throw ErrorArchivo(carpeta_.ruta(kArchivoParametros), "no hay un juego en la carpeta");
    comprobarParametros(*leido, carpeta_.ruta(kArchivoParametros));
    return *leido;
}

void TDatosjuego::leerContadores(uint8_t& zonaActiva, uint8_t& periodoActual, uint8_t& cantEquiposZona1,
                                 uint8_t& cantEquiposZona2, uint8_t& cantEquiposZona3) {
    const auto r = leerParametros();
    if (!r) return;
    zonaActiva = r->zonaActiva;
    periodoActual = r->periodoActual;
    cantEquiposZona1 = r->cantEquiposZona1;
    cantEquiposZona2 = r->cantEquiposZona2;
    cantEquiposZona3 = r->cantEquiposZona3;
}

void TDatosjuego::guardarNombre(uint8_t indice, std::string_view nombre) {
    const auto ruta = carpeta_.ruta(kArchivoNombres);
    auto registros = leerRegistros<TRegNombre>(carpeta_.sa(), ruta).value_or(std::vector<TRegNombre>{});
    if (indice > registros.size()) throw ErrorArchivo(ruta, "posición más allá del fin del archivo");
    TRegNombre registro{};
    asignar(registro.nombreEquipo, nombre);
    if (indice == registros.size()) registros.push_back(registro);
    else registros[indice] = registro;
    reemplazarArchivo(carpeta_.sa(), ruta, bytesDeRegistros(registros));
}

void TDatosjuego::leerNombre(uint8_t indice, std::string& nombre) {
    const auto ruta = carpeta_.ruta(kArchivoNombres);
    const auto registros = leerRegistros<TRegNombre>(carpeta_.sa(), ruta);
    if (!registros) return;
    if (indice == 0) throw ErrorArchivo(ruta, "número de equipo 0 fuera de rango");
    if (indice > registros->size()) throw ErrorArchivo(ruta, "lectura más allá del fin del archivo");
    nombre = aTexto((*registros)[indice - 1u].nombreEquipo);
}

std::vector<std::string> TDatosjuego::leerNombres() {
    std::vector<std::string> nombres;
    for (const TRegNombre& r : leerRegistros<TRegNombre>(carpeta_.sa(), carpeta_.ruta(kArchivoNombres)).value_or(std::vector<TRegNombre>{}))
        nombres.push_back(aTexto(r.nombreEquipo));
    return nombres;
}
