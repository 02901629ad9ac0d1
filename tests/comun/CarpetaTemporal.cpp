#include "comun/CarpetaTemporal.h"

#include "store/CarpetaDatos.h"
#include "store/ValoresGlobales.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace {
TNotificadorRegistro registro;
std::atomic<int> contador{0};
}  // namespace

CarpetaTemporal::CarpetaTemporal() : anterior_(carpetaDatos()) {
    ruta_ = std::filesystem::temp_directory_path() /
            ("corvelian-prueba-" + std::to_string(::getpid()) + "-" + std::to_string(contador++));
    std::filesystem::remove_all(ruta_);
    std::filesystem::create_directories(ruta_);
    fijarCarpetaDatos(ruta_);
    registro.eventos.clear();
    fijarNotificador(&registro);
    IndemnizacionPorEmpleado = 300;
    ValorPenalidad = 500;
}

CarpetaTemporal::~CarpetaTemporal() {
    fijarNotificador(nullptr);
    fijarCarpetaDatos(anterior_);
    std::error_code ignorado;
    std::filesystem::remove_all(ruta_, ignorado);
}

void TNotificadorRegistro::advertencia(const std::string& titulo, const std::string& texto) {
    eventos.push_back("advertencia " + titulo + ": " + texto);
}
void TNotificadorRegistro::informacion(const std::string& texto) { eventos.push_back("informacion " + texto); }
void TNotificadorRegistro::habilitarPeriodo(int periodo, bool habilitado) {
    eventos.push_back((habilitado ? "habilitar " : "deshabilitar ") + std::to_string(periodo));
}
void TNotificadorRegistro::cambiarPeriodoActual(int periodo) {
    eventos.push_back("periodo " + std::to_string(periodo));
}
void TNotificadorRegistro::abrirCarpeta(const std::filesystem::path& carpeta) {
    eventos.push_back("abrir " + carpeta.string());
}

TNotificadorRegistro& registroNotificador() { return registro; }

std::vector<uint8_t> leerBytes(const std::filesystem::path& ruta) {
    std::ifstream archivo(ruta, std::ios::binary);
    if (!archivo) throw std::runtime_error("no existe " + ruta.string());
    return {std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>()};
}

std::string leerTexto(const std::filesystem::path& ruta) {
    auto bytes = leerBytes(ruta);
    return std::string(bytes.begin(), bytes.end());
}

void escribirBytes(const std::filesystem::path& ruta, const std::vector<uint8_t>& bytes) {
    std::ofstream archivo(ruta, std::ios::binary | std::ios::trunc);
    archivo.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
