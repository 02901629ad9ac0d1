#include "store/CarpetaDatos.h"

#include <system_error>

namespace {
std::filesystem::path& carpeta() {
    static std::filesystem::path valor = std::filesystem::current_path();
    return valor;
}
}  // namespace

void fijarCarpetaDatos(const std::filesystem::path& nueva) { carpeta() = nueva; }

const std::filesystem::path& carpetaDatos() { return carpeta(); }

std::filesystem::path rutaDatos(std::string_view nombreArchivo) {
    return carpeta() / std::filesystem::path(std::u8string(nombreArchivo.begin(), nombreArchivo.end()));
}

std::filesystem::path carpetaDelEjecutable() {
    std::error_code error;
    auto ejecutable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path();
    return ejecutable.parent_path();
}
