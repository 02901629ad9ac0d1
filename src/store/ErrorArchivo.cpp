#include "store/ErrorArchivo.h"

namespace {
// UTF-8 on every system, as the rest of the message.
std::string nombreUtf8(const std::filesystem::path& archivo) {
    const std::u8string nombre = archivo.filename().u8string();
    return {nombre.begin(), nombre.end()};
}
}  // namespace

ErrorArchivo::ErrorArchivo(const std::filesystem::path& archivo, const std::string& operacion)
    : std::runtime_error("Error de archivo \"" + nombreUtf8(archivo) + "\": " + operacion),
      archivo_(archivo),
      operacion_(operacion) {}
