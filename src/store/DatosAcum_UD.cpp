#include "store/DatosAcum_UD.h"

#include "store/Archivo.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"

#include <array>
#include <system_error>
#include <utility>

namespace {

constexpr const char* kAcumulados = "DATOS ACUMULADOS.DAT";
constexpr std::size_t kTam = sizeof(TRegDatosAcum);

// Game file and its backup, in the order the copies run.
constexpr std::array<std::pair<const char*, const char*>, 3> kRespaldos = {{
    {"DATOS ACUMULADOS.DAT", "AUXACUM.DAT"},
    {"DECISIONES.DAT", "AUXDECISIONES.DAT"},
    {"DATOS INICIALES.DAT", "AUXINI.DAT"},
}};

void copiar(const char* origen, const char* destino) {
    std::error_code ignorado;  // a failed copy leaves its target as it was
    std::filesystem::copy_file(rutaDatos(origen), rutaDatos(destino),
                               std::filesystem::copy_options::overwrite_existing, ignorado);
}

void comprobarIndice(const Archivo& archivo, uint8_t indice) {
    if (indice == 0) throw ErrorArchivo(archivo.ruta(), "número de empresa 0 fuera de rango");
}

}  // namespace

void TDatosAcum::guardarAcum(uint8_t indice, const TRegDatosAcum& r) {
    Archivo archivo(rutaDatos(kAcumulados), Archivo::Modo::actualizar);
    comprobarIndice(archivo, indice);
    archivo.escribirRegistro(indice - 1u, &r, kTam);
    archivo.cerrar();
}

void TDatosAcum::leerAcum(uint8_t indice, TRegDatosAcum& r) {
    Archivo archivo(rutaDatos(kAcumulados), Archivo::Modo::leer);
    comprobarIndice(archivo, indice);
    TRegDatosAcum leido;
    archivo.leer(std::uint64_t{indice - 1u} * kTam, &leido, kTam);
    archivo.cerrar();
    r = leido;
}

void TDatosAcum::eliminarAcum(uint8_t indice) {
    const auto ruta = rutaDatos(kAcumulados);
    std::uint64_t n;
    {
        Archivo archivo(ruta, Archivo::Modo::actualizar);
        comprobarIndice(archivo, indice);
        n = archivo.tamano() / kTam;
        if (indice > n) throw ErrorArchivo(ruta, "número de empresa fuera de rango");
        // Front to back, so nothing is overwritten before it is read.
        for (std::uint64_t p = indice; p < n; ++p) {
            TRegDatosAcum registro;
            archivo.leer(p * kTam, &registro, kTam);
            archivo.escribir((p - 1) * kTam, &registro, kTam);
        }
        archivo.cerrar();
    }
    truncarArchivo(ruta, (n - 1) * kTam);
}

int TDatosAcum::cantidadAcum() {
    const auto ruta = rutaDatos(kAcumulados);
    std::error_code error;
    auto tam = std::filesystem::file_size(ruta, error);
    if (error) return 0;
    return static_cast<int>(tam / kTam);
}

std::vector<TRegDatosAcum> TDatosAcum::leerTodos() {
    Archivo archivo(rutaDatos(kAcumulados), Archivo::Modo::leer);
    std::vector<TRegDatosAcum> registros(archivo.tamano() / kTam);
    if (!registros.empty()) archivo.leer(0, registros.data(), registros.size() * kTam);
    archivo.cerrar();
    return registros;
}

void guardarRespaldo() {
    for (auto [juego, respaldo] : kRespaldos) copiar(juego, respaldo);
}

bool restaurarRespaldo() {
    bool hay = false;
    for (auto [juego, respaldo] : kRespaldos) hay = hay || std::filesystem::exists(rutaDatos(respaldo));
    if (!hay) return false;
    for (auto [juego, respaldo] : kRespaldos) copiar(respaldo, juego);
    return true;
}

void borrarRespaldo() {
    for (auto [juego, respaldo] : kRespaldos) {
        std::error_code ignorado;
        std::filesystem::remove(rutaDatos(respaldo), ignorado);
    }
}
