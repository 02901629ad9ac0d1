#include "store/Archivo.h"

#include "store/ErrorArchivo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

// Plain descriptors with positioned reads and writes: a record file is a few
// records touched once per call, so stdio's buffering would only add work.

Archivo::Archivo(const std::filesystem::path& ruta, Modo modo) : ruta_(ruta) {
    switch (modo) {
    case Modo::leer:
        descriptor_ = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor_ < 0) throw ErrorArchivo(ruta, "no se pudo abrir el archivo para leer");
        break;
    case Modo::actualizar:
        descriptor_ = ::open(ruta.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (descriptor_ < 0) throw ErrorArchivo(ruta, "no se pudo abrir el archivo para escribir");
        break;
    case Modo::crear:
        descriptor_ = ::open(ruta.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (descriptor_ < 0) throw ErrorArchivo(ruta, "no se pudo crear el archivo");
        break;
    }
}

Archivo::~Archivo() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

std::uint64_t Archivo::tamano() {
    struct stat datos {};
    if (::fstat(descriptor_, &datos) != 0) throw ErrorArchivo(ruta_, "no se pudo leer el tamaño del archivo");
    return static_cast<std::uint64_t>(datos.st_size);
}

void Archivo::leer(std::uint64_t pos, void* destino, std::size_t n) {
    auto* bytes = static_cast<char*>(destino);
    std::size_t leidos = 0;
    while (leidos < n) {
        ssize_t r = ::pread(descriptor_, bytes + leidos, n - leidos, static_cast<off_t>(pos + leidos));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) throw ErrorArchivo(ruta_, "no se pudo leer el archivo");
        if (r == 0) throw ErrorArchivo(ruta_, "lectura más allá del fin del archivo");
        leidos += static_cast<std::size_t>(r);
    }
}

void Archivo::escribir(std::uint64_t pos, const void* origen, std::size_t n) {
    const auto* bytes = static_cast<const char*>(origen);
    std::size_t escritos = 0;
    while (escritos < n) {
        ssize_t r = ::pwrite(descriptor_, bytes + escritos, n - escritos, static_cast<off_t>(pos + escritos));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) throw ErrorArchivo(ruta_, "no se pudo escribir en el archivo");
        escritos += static_cast<std::size_t>(r);
    }
}

void Archivo::escribirRegistro(std::uint64_t indice, const void* origen, std::size_t n) {
    if (indice * n > tamano()) throw ErrorArchivo(ruta_, "posición más allá del fin del archivo");
    escribir(indice * n, origen, n);
}

void Archivo::cerrar() {
    int descriptor = descriptor_;
    descriptor_ = -1;
    if (descriptor >= 0 && ::close(descriptor) != 0) throw ErrorArchivo(ruta_, "no se pudo cerrar el archivo");
}

void truncarArchivo(const std::filesystem::path& ruta, std::uint64_t tamano) {
    std::error_code error;
    std::filesystem::resize_file(ruta, tamano, error);
    if (error) throw ErrorArchivo(ruta, "no se pudo acortar el archivo");
}
