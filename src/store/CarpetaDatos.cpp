#include "store/CarpetaDatos.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

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
#ifdef _WIN32
    std::wstring nombre(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, nombre.data(), static_cast<DWORD>(nombre.size()));
        if (n == 0) return std::filesystem::current_path();
        if (n < nombre.size()) return std::filesystem::path(nombre.substr(0, n)).parent_path();
        nombre.resize(nombre.size() * 2);
    }
#endif
    std::error_code error;
    auto ejecutable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path();
    return ejecutable.parent_path();
}
