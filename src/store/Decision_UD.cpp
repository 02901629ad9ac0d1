#include "store/Decision_UD.h"

#include "store/Archivo.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"
#include "store/Notificador.h"

namespace {
constexpr const char* kDecisiones = "DECISIONES.DAT";
}

void TDecision::vaciarDecisiones() {
    Archivo archivo(rutaDatos(kDecisiones), Archivo::Modo::crear);
    archivo.cerrar();
}

void TDecision::guardarDecision(const TRegDecision& r, uint8_t indice) {
    Archivo archivo(rutaDatos(kDecisiones), Archivo::Modo::actualizar);
    try {
        archivo.escribirRegistro(indice, &r, sizeof r);
        archivo.cerrar();
    } catch (const ErrorArchivo&) {
        notificador().advertencia("Advertencia!", "Error de acceso al archivo de datos");
    }
}

void TDecision::leerDecision(uint8_t indice, TRegDecision& r) {
    Archivo archivo(rutaDatos(kDecisiones), Archivo::Modo::leer);
    if (indice == 0) throw ErrorArchivo(archivo.ruta(), "número de empresa 0 fuera de rango");
    TRegDecision leido;
    archivo.leer(std::uint64_t{indice - 1u} * sizeof leido, &leido, sizeof leido);
    archivo.cerrar();
    r = leido;
}

std::vector<TRegDecision> TDecision::leerDecisiones(uint8_t cantidad) {
    Archivo archivo(rutaDatos(kDecisiones), Archivo::Modo::leer);
    std::vector<TRegDecision> decisiones(cantidad);
    if (cantidad > 0) archivo.leer(0, decisiones.data(), decisiones.size() * sizeof(TRegDecision));
    archivo.cerrar();
    return decisiones;
}
