#include "store/Datos_UD.h"

#include "store/Archivo.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <system_error>

namespace {
constexpr const char* kParametros = "DATOS INICIALES.DAT";
constexpr const char* kNombres = "NOMBRES.DAT";
}  // namespace

void TDatosjuego::guardarDatosIniciales(const TRegDatosIniciales& r) {
    // Written whole beside the old file and then put in its place, so that a
    // failed write never leaves a game without its parameters.
    const auto ruta = rutaDatos(kParametros);
    auto temporal = ruta;
    temporal += ".tmp";
    {
        Archivo archivo(temporal, Archivo::Modo::crear);
        archivo.escribir(0, &r, sizeof r);
        archivo.cerrar();
    }
    std::error_code error;
    std::filesystem::rename(temporal, ruta, error);
    if (error) {
        std::filesystem::remove(temporal, error);
        throw ErrorArchivo(ruta, "no se pudo reemplazar el archivo");
    }
}

void TDatosjuego::leerDatosIniciales(TRegDatosIniciales& r) {
    // A missing or unreadable file leaves the record as the caller had it.
    const int descriptor = ::open(rutaDatos(kParametros).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return;
    // A short file fills what it holds, as a raw block read would.
    unsigned char buffer[sizeof(TRegDatosIniciales)];
    const ssize_t leidos = ::pread(descriptor, buffer, sizeof buffer, 0);
    ::close(descriptor);
    if (leidos > 0) std::memcpy(&r, buffer, static_cast<std::size_t>(leidos));
}

void TDatosjuego::leerContadores(uint8_t& zonaActiva, uint8_t& periodoActual, uint8_t& cantEquiposZona1,
                                 uint8_t& cantEquiposZona2, uint8_t& cantEquiposZona3) {
    const auto ruta = rutaDatos(kParametros);
    if (!std::filesystem::exists(ruta)) return;
    Archivo archivo(ruta, Archivo::Modo::leer);
    TRegDatosIniciales r;
    archivo.leer(0, &r, sizeof r);
    archivo.cerrar();
    zonaActiva = r.zonaActiva;
    periodoActual = r.periodoActual;
    cantEquiposZona1 = r.cantEquiposZona1;
    cantEquiposZona2 = r.cantEquiposZona2;
    cantEquiposZona3 = r.cantEquiposZona3;
}

void TDatosjuego::guardarNombre(uint8_t indice, std::string_view nombre) {
    TRegNombre registro{};
    asignar(registro.nombreEquipo, nombre);
    Archivo archivo(rutaDatos(kNombres), Archivo::Modo::actualizar);
    archivo.escribirRegistro(indice, &registro, sizeof registro);
    archivo.cerrar();
}

void TDatosjuego::leerNombre(uint8_t indice, std::string& nombre) {
    const auto ruta = rutaDatos(kNombres);
    if (!std::filesystem::exists(ruta)) return;
    if (indice == 0) throw ErrorArchivo(ruta, "número de equipo 0 fuera de rango");
    Archivo archivo(ruta, Archivo::Modo::leer);
    TRegNombre registro;
    archivo.leer(std::uint64_t{indice - 1u} * sizeof registro, &registro, sizeof registro);
    archivo.cerrar();
    nombre = aTexto(registro.nombreEquipo);
}
