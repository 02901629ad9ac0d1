#include "store/Decision_UD.h"

#include "store/NombresArchivos.h"

#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"

namespace {
constexpr const char* kDecisiones = kArchivoDecisiones;

}  // namespace

std::vector<TRegDecision> TDecision::registrosExistentes() {
    auto registros = leerRegistros<TRegDecision>(carpeta_.sa(), carpeta_.ruta(kDecisiones));
    if (!registros) throw ErrorArchivo(carpeta_.ruta(kDecisiones), "no se pudo abrir el archivo para leer");
    return *registros;
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
