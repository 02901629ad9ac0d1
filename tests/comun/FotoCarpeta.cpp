#include "comun/FotoCarpeta.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {
constexpr const char* kCarpeta = "<carpeta>";
constexpr const char* kEnlace = "<enlace> ";
}  // namespace

TFoto fotografiar(const fs::path& carpeta) {
    TFoto foto;
    for (const auto& entrada : fs::recursive_directory_iterator(carpeta)) {
        const std::string nombre = fs::relative(entrada.path(), carpeta).generic_string();
        if (entrada.is_symlink()) {
            foto[nombre] = kEnlace + fs::read_symlink(entrada.path()).string();
        } else if (entrada.is_directory()) {
            foto[nombre] = kCarpeta;
        } else if (entrada.is_regular_file()) {
            std::ifstream archivo(entrada.path(), std::ios::binary);
            if (!archivo) throw std::runtime_error("no se pudo leer " + entrada.path().string());
            foto[nombre] = {std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>()};
        } else {
            foto[nombre] = "<otro>";
        }
    }
    return foto;
}

void restaurarFoto(const fs::path& carpeta, const TFoto& foto) {
    for (const auto& entrada : fs::directory_iterator(carpeta)) fs::remove_all(entrada.path());
    // The map is ordered, so a folder comes before what it holds.
    for (const auto& [nombre, contenido] : foto) {
        const fs::path ruta = carpeta / nombre;
        if (contenido == kCarpeta) {
            fs::create_directory(ruta);
        } else if (contenido.starts_with(kEnlace)) {
            fs::create_symlink(contenido.substr(std::string(kEnlace).size()), ruta);
        } else {
            std::ofstream archivo(ruta, std::ios::binary | std::ios::trunc);
            archivo.write(contenido.data(), static_cast<std::streamsize>(contenido.size()));
            if (!archivo) throw std::runtime_error("no se pudo escribir " + ruta.string());
        }
    }
}

std::string diferencias(const TFoto& esperada, const TFoto& real) {
    std::string texto;
    for (const auto& [nombre, contenido] : esperada) {
        const auto it = real.find(nombre);
        if (it == real.end()) texto += "falta " + nombre + "\n";
        else if (it->second != contenido) texto += "distinto " + nombre + "\n";
    }
    for (const auto& [nombre, contenido] : real)
        if (!esperada.contains(nombre)) texto += "sobra " + nombre + "\n";
    return texto;
}
