#include "store/ErrorArchivo.h"

#include "store/NombresArchivos.h"

#include <string_view>
#include <vector>

namespace {

std::string utf8(const std::filesystem::path& parte) {
    const std::u8string texto = parte.u8string();
    return {texto.begin(), texto.end()};
}

// The folders a game keeps inside its own folder, where a file's name alone
// would pass for the live file of the same name.
bool esCarpetaDelJuego(const std::string& nombre) {
    return nombre == kCarpetaHistorial || nombre == kCarpetaEnvios || nombre == kCarpetaTransaccion ||
           nombre.starts_with(std::string(kCarpetaHistorial) + " anterior ");
}

bool esCarpetaDePeriodo(const std::string& nombre) {
    const std::string prefijo = nombrePeriodo(0).substr(0, nombrePeriodo(0).size() - 1);
    return nombre.size() > prefijo.size() && nombre.starts_with(prefijo) &&
           nombre.find_first_not_of("0123456789", prefijo.size()) == std::string::npos;
}

}  // namespace

std::string nombreEnElJuego(const std::filesystem::path& archivo) {
    std::vector<std::string> partes;
    for (const auto& parte : archivo) partes.push_back(utf8(parte));
    while (!partes.empty() && partes.back().empty()) partes.pop_back();  // a trailing separator
    if (partes.empty()) return {};
    // From the end: the file, its period's folder when a history holds it,
    // the game's folder that holds them, and the staging folder above that.
    std::size_t desde = partes.size() - 1;
    if (desde >= 2 && esCarpetaDePeriodo(partes[desde - 1]) && esCarpetaDelJuego(partes[desde - 2])) desde -= 2;
    else if (desde >= 1 && esCarpetaDelJuego(partes[desde - 1])) desde -= 1;
    if (desde < partes.size() - 1 && desde >= 1 && partes[desde - 1] == kCarpetaTransaccion) desde -= 1;
    std::string nombre;
    for (std::size_t i = desde; i < partes.size(); ++i) nombre += (i == desde ? "" : "/") + partes[i];
    return nombre;
}

ErrorArchivo::ErrorArchivo(const std::filesystem::path& archivo, const std::string& operacion)
    : std::runtime_error("Error de archivo \"" + nombreEnElJuego(archivo) + "\": " + operacion),
      archivo_(archivo),
      operacion_(operacion) {}
