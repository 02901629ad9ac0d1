#include "store/Archivo.h"

#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"

namespace {

TSistemaArchivos::Apertura apertura(Archivo::Modo modo) {
    switch (modo) {
    case Archivo::Modo::leer: return TSistemaArchivos::Apertura::leer;
    case Archivo::Modo::actualizar: return TSistemaArchivos::Apertura::actualizar;
    case Archivo::Modo::crear: break;
    }
    return TSistemaArchivos::Apertura::crear;
}

}  // namespace

Archivo::Archivo(const std::filesystem::path& ruta, Modo modo) : ruta_(ruta) {
    descriptor_ = sistemaArchivos().abrir(ruta, apertura(modo));
}

Archivo::~Archivo() {
    if (descriptor_ < 0) return;
    try {
        sistemaArchivos().cerrar(descriptor_);
    } catch (...) {
        // Only reached when an error is already on its way out.
    }
}

std::uint64_t Archivo::tamano() { return sistemaArchivos().tamano(descriptor_); }

void Archivo::leer(std::uint64_t pos, void* destino, std::size_t n) {
    if (sistemaArchivos().leer(descriptor_, pos, destino, n) != n)
        throw ErrorArchivo(ruta_, "lectura más allá del fin del archivo");
}

void Archivo::escribir(std::uint64_t pos, const void* origen, std::size_t n) {
    sistemaArchivos().escribir(descriptor_, pos, origen, n);
}

void Archivo::escribirRegistro(std::uint64_t indice, const void* origen, std::size_t n) {
    if (indice * n > tamano()) throw ErrorArchivo(ruta_, "posición más allá del fin del archivo");
    escribir(indice * n, origen, n);
}

void Archivo::truncar(std::uint64_t tamano) { sistemaArchivos().truncar(descriptor_, tamano); }

void Archivo::sincronizar() { sistemaArchivos().sincronizar(descriptor_); }

void Archivo::cerrar() {
    int descriptor = descriptor_;
    descriptor_ = -1;
    if (descriptor >= 0) sistemaArchivos().cerrar(descriptor);
}

void truncarArchivo(const std::filesystem::path& ruta, std::uint64_t tamano) {
    Archivo archivo(ruta, Archivo::Modo::actualizar);
    archivo.truncar(tamano);
    archivo.cerrar();
}
