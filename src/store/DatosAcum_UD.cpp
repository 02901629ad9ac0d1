#include "store/DatosAcum_UD.h"

#include "store/NombresArchivos.h"

#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"

std::vector<TRegDatosAcum> TDatosAcum::registrosExistentes() {
    auto registros = leerRegistros<TRegDatosAcum>(carpeta_.sa(), carpeta_.ruta(kArchivoResultados));
    if (!registros) throw ErrorArchivo(carpeta_.ruta(kArchivoResultados), "no se pudo abrir el archivo para leer");
    comprobarEmpresas(*registros, carpeta_.ruta(kArchivoResultados));
    return *registros;
}

void TDatosAcum::comprobarIndice(uint8_t indice, std::size_t cantidad) {
    if (indice == 0) throw ErrorArchivo(carpeta_.ruta(kArchivoResultados), "número de empresa 0 fuera de rango");
    if (indice > cantidad) throw ErrorArchivo(carpeta_.ruta(kArchivoResultados), "número de empresa fuera de rango");
}

void TDatosAcum::guardarAcum(uint8_t indice, const TRegDatosAcum& r) {
    auto registros = leerRegistros<TRegDatosAcum>(carpeta_.sa(), carpeta_.ruta(kArchivoResultados)).value_or(std::vector<TRegDatosAcum>{});
    comprobarIndice(indice, registros.size() + 1);  // one past the last record appends
    if (indice == registros.size() + 1) registros.push_back(r);
    else registros[indice - 1u] = r;
    reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kArchivoResultados), bytesDeRegistros(registros));
}

void TDatosAcum::leerAcum(uint8_t indice, TRegDatosAcum& r) {
    const auto registros = registrosExistentes();
    if (indice == 0) throw ErrorArchivo(carpeta_.ruta(kArchivoResultados), "número de empresa 0 fuera de rango");
    if (indice > registros.size()) throw ErrorArchivo(carpeta_.ruta(kArchivoResultados), "lectura más allá del fin del archivo");
    r = registros[indice - 1u];
}

void TDatosAcum::eliminarAcum(uint8_t indice) {
    auto registros = registrosExistentes();
    comprobarIndice(indice, registros.size());
    registros.erase(registros.begin() + (indice - 1));
    reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kArchivoResultados), bytesDeRegistros(registros));
}

int TDatosAcum::cantidadAcum() {
    const auto registros = leerRegistros<TRegDatosAcum>(carpeta_.sa(), carpeta_.ruta(kArchivoResultados));
    return registros ? static_cast<int>(registros->size()) : 0;
}

std::vector<TRegDatosAcum> TDatosAcum::leerTodos() { return registrosExistentes(); }
