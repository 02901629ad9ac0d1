#include "store/Decision_UD.h"

#include "store/NombresArchivos.h"

#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"

std::vector<TRegDecision> TDecision::registrosExistentes() {
    auto registros = leerRegistros<TRegDecision>(carpeta_.sa(), carpeta_.ruta(kArchivoDecisiones));
    if (!registros) throw ErrorArchivo(carpeta_.ruta(kArchivoDecisiones), "no se pudo abrir el archivo para leer");
    return *registros;
}

std::vector<TRegDecision> TDecision::leerDecisiones(uint8_t cantidad) {
    auto registros = registrosExistentes();
    if (registros.size() < cantidad) throw ErrorArchivo(carpeta_.ruta(kArchivoDecisiones), "lectura más allá del fin del archivo");
    registros.resize(cantidad);
    return registros;
}

void TDecision::guardarDecisiones(const std::vector<TRegDecision>& decisiones) {
    reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kArchivoDecisiones), bytesDeRegistros(decisiones));
}
