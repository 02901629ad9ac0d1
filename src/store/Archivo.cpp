#include "store/Archivo.h"

#include "store/ErrorArchivo.h"

#include <system_error>

Archivo::Archivo(const std::filesystem::path& ruta, Modo modo) : ruta_(ruta) {
    switch (modo) {
    case Modo::leer:
        archivo_ = std::fopen(ruta.c_str(), "rb");
        if (!archivo_) throw ErrorArchivo(ruta, "no se pudo abrir el archivo para leer");
        break;
    case Modo::actualizar:
        archivo_ = std::fopen(ruta.c_str(), "r+b");
        if (!archivo_ && !std::filesystem::exists(ruta)) archivo_ = std::fopen(ruta.c_str(), "w+b");
        if (!archivo_) throw ErrorArchivo(ruta, "no se pudo abrir el archivo para escribir");
        break;
    case Modo::crear:
        archivo_ = std::fopen(ruta.c_str(), "w+b");
        if (!archivo_) throw ErrorArchivo(ruta, "no se pudo crear el archivo");
        break;
    }
}

Archivo::~Archivo() {
    if (archivo_) std::fclose(archivo_);
}

std::uint64_t Archivo::tamano() {
    if (std::fseek(archivo_, 0, SEEK_END) != 0) throw ErrorArchivo(ruta_, "no se pudo posicionar en el archivo");
    long fin = std::ftell(archivo_);
    if (fin < 0) throw ErrorArchivo(ruta_, "no se pudo leer el tamaño del archivo");
    return static_cast<std::uint64_t>(fin);
}

void Archivo::posicionar(std::uint64_t pos) {
    if (std::fseek(archivo_, static_cast<long>(pos), SEEK_SET) != 0)
        throw ErrorArchivo(ruta_, "no se pudo posicionar en el archivo");
}

void Archivo::leer(std::uint64_t pos, void* destino, std::size_t n) {
    posicionar(pos);
    if (std::fread(destino, 1, n, archivo_) != n)
        throw ErrorArchivo(ruta_, "lectura más allá del fin del archivo");
}

void Archivo::escribir(std::uint64_t pos, const void* origen, std::size_t n) {
    posicionar(pos);
    if (std::fwrite(origen, 1, n, archivo_) != n) throw ErrorArchivo(ruta_, "no se pudo escribir en el archivo");
}

void Archivo::escribirRegistro(std::uint64_t indice, const void* origen, std::size_t n) {
    if (indice * n > tamano()) throw ErrorArchivo(ruta_, "posición más allá del fin del archivo");
    escribir(indice * n, origen, n);
}

void Archivo::cerrar() {
    std::FILE* archivo = archivo_;
    archivo_ = nullptr;
    if (archivo && std::fclose(archivo) != 0) throw ErrorArchivo(ruta_, "no se pudo cerrar el archivo");
}

void truncarArchivo(const std::filesystem::path& ruta, std::uint64_t tamano) {
    std::error_code error;
    std::filesystem::resize_file(ruta, tamano, error);
    if (error) throw ErrorArchivo(ruta, "no se pudo acortar el archivo");
}
