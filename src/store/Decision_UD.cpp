#include "store/Decision_UD.h"

#include "store/NombresArchivos.h"

#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"
#include "store/Notificador.h"

namespace {
constexpr const char* kDecisiones = kArchivoDecisiones;

}  // namespace

std::vector<TRegDecision> TDecision::registrosExistentes() {
    auto registros = leerRegistros<TRegDecision>(carpeta_.sa(), carpeta_.ruta(kDecisiones));
    if (!registros) throw ErrorArchivo(carpeta_.ruta(kDecisiones), "no se pudo abrir el archivo para leer");
    return *registros;
}

void TDecision::vaciarDecisiones() { reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kDecisiones), {}); }

void TDecision::guardarDecision(const TRegDecision& r, uint8_t indice) {
    auto registros = leerRegistros<TRegDecision>(carpeta_.sa(), carpeta_.ruta(kDecisiones)).value_or(std::vector<TRegDecision>{});
    try {
        if (indice > registros.size()) throw ErrorArchivo(carpeta_.ruta(kDecisiones), "posición más allá del fin del archivo");
        if (indice == registros.size()) registros.push_back(r);
        else registros[indice] = r;
        reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kDecisiones), bytesDeRegistros(registros));
    } catch (const ErrorArchivo&) {
        if (!avisos_) throw;
        avisos_->advertencia("Advertencia!", "Error de acceso al archivo de datos");
    }
}

void TDecision::leerDecision(uint8_t indice, TRegDecision& r) {
    const auto registros = registrosExistentes();
    if (indice == 0) throw ErrorArchivo(carpeta_.ruta(kDecisiones), "número de empresa 0 fuera de rango");
    if (indice > registros.size()) throw ErrorArchivo(carpeta_.ruta(kDecisiones), "lectura más allá del fin del archivo");
    r = registros[indice - 1u];
}

std::vector<TRegDecision> TDecision::leerDecisiones(uint8_t cantidad) {
    auto registros = registrosExistentes();
    if (registros.size() < cantidad) throw ErrorArchivo(carpeta_.ruta(kDecisiones), "lectura más allá del fin del archivo");
    registros.resize(cantidad);
    return registros;
}

void TDecision::guardarDecisiones(const std::vector<TRegDecision>& decisiones) {
    reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kDecisiones), bytesDeRegistros(decisiones));
}
