#include "store/CarpetaDatos.h"

#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"

#include <cstdlib>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

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

bool esCarpetaDelSistema(const std::filesystem::path& carpetaEjecutable) {
    std::filesystem::path carpeta = carpetaEjecutable.lexically_normal();
    if (!carpeta.has_filename()) carpeta = carpeta.parent_path();  // "/usr/bin/"
    for (const char* fija : {"/bin", "/usr/bin", "/usr/local/bin", "/usr/games", "/usr/local/games"})
        if (carpeta == std::filesystem::path(fija)) return true;
    // Any other prefix (/opt/corvelian, an installation in the home folder):
    // the installation carries PREFIX/share/corvelian.
    if (carpeta.filename() != "bin" && carpeta.filename() != "games") return false;
    std::error_code error;
    return std::filesystem::is_directory(carpeta.parent_path() / "share" / "corvelian", error);
}

bool sePuedeEscribir(const std::filesystem::path& carpeta, TSistemaArchivos& sistema) {
    const auto prueba = carpeta / (".corvelian-escritura-" + std::to_string(std::random_device{}()));
    try {
        sistema.cerrar(sistema.abrir(prueba, TSistemaArchivos::Apertura::crearNuevo));
    } catch (const ErrorArchivo&) {
        return false;
    }
    // A file that can be created but not removed means renames and
    // replacements would fail too: no place for a game.
    try {
        sistema.eliminar(prueba);
    } catch (const ErrorArchivo&) {
        return false;
    }
    return true;
}

std::filesystem::path carpetaDeUsuario() {
#ifdef _WIN32
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && std::filesystem::path(local).is_absolute())
        return std::filesystem::path(local) / "corvelian";
    throw ErrorArchivo("corvelian", "no se sabe dónde guardar el juego: falta la variable LOCALAPPDATA.");
#else
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && std::filesystem::path(xdg).is_absolute())
        return std::filesystem::path(xdg) / "corvelian";
    const char* casa = std::getenv("HOME");
    if (!casa || !std::filesystem::path(casa).is_absolute())
        throw ErrorArchivo("corvelian", "no se sabe dónde guardar el juego: falta la carpeta personal (HOME).");
    return std::filesystem::path(casa) / ".local" / "share" / "corvelian";
#endif
}

void crearCarpetaDeJuego(const std::filesystem::path& carpeta, TSistemaArchivos& sa) {
    try {
        crearCarpetas(sa, carpeta);
    } catch (const ErrorArchivo& e) {
        throw ErrorArchivo(carpeta, "no se pudo crear la carpeta del juego «" + textoDeRuta(carpeta) + "»: " + e.operacion());
    }
    std::error_code error;
    if (!std::filesystem::is_directory(carpeta, error))
        throw ErrorArchivo(carpeta, "«" + textoDeRuta(carpeta) + "» no es una carpeta; el juego no puede guardarse allí.");
}

std::filesystem::path carpetaDatosPorOmision(const std::filesystem::path& carpetaEjecutable, TSistemaArchivos& sa) {
    if (!esCarpetaDelSistema(carpetaEjecutable) && sePuedeEscribir(carpetaEjecutable, sa)) return carpetaEjecutable;
    const std::filesystem::path carpeta = carpetaDeUsuario();
    crearCarpetaDeJuego(carpeta, sa);
    return carpeta;
}

std::filesystem::path carpetaDatosPorOmision() { return carpetaDatosPorOmision(carpetaDelEjecutable(), sistemaArchivosReal()); }
