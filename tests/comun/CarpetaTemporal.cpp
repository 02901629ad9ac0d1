#include "comun/CarpetaTemporal.h"

#include "store/SistemaArchivos.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace {
// The test's own state: which folder and file system the test works on.
TNotificadorRegistro registro;
std::atomic<int> contador{0};
CarpetaTemporal* carpetaActual = nullptr;
TSistemaArchivos* sistemaActual = nullptr;
void (*olvidarJuego)() = nullptr;

void olvidarElJuego() {
    if (olvidarJuego) olvidarJuego();
}

TSistemaArchivos& sistemaEnUso() { return sistemaActual ? *sistemaActual : sistemaArchivosReal(); }
std::filesystem::path rutaActual() {
    return carpetaActual ? carpetaActual->ruta() : std::filesystem::current_path();
}
}  // namespace

CarpetaTemporal::CarpetaTemporal(const std::filesystem::path& raiz) : anterior_(carpetaActual) {
    ruta_ = raiz /
            ("corvelian-prueba-" + std::to_string(::getpid()) + "-" + std::to_string(contador++));
    std::filesystem::remove_all(ruta_);
    std::filesystem::create_directories(ruta_);
    carpetaActual = this;
    registro.eventos.clear();
}

CarpetaTemporal::~CarpetaTemporal() {
    carpetaActual = anterior_;
    olvidarElJuego();
    std::error_code ignorado;
    std::filesystem::remove_all(ruta_, ignorado);
}

void alCambiarDeCarpeta(void (*olvidar)()) { olvidarJuego = olvidar; }

TCarpeta carpetaDePrueba() { return TCarpeta(rutaActual(), sistemaEnUso()); }

void usarSistemaArchivos(TSistemaArchivos* sistema) {
    sistemaActual = sistema;
    olvidarElJuego();
}

void TNotificadorRegistro::advertencia(const std::string& titulo, const std::string& texto) {
    eventos.push_back("advertencia " + titulo + ": " + texto);
}
void TNotificadorRegistro::informacion(const std::string& texto) { eventos.push_back("informacion " + texto); }
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
