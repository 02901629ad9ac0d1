#include "store/ErrorArchivo.h"

ErrorArchivo::ErrorArchivo(const std::filesystem::path& archivo, const std::string& operacion)
    : std::runtime_error("Error de archivo \"" + archivo.filename().string() + "\": " + operacion),
      archivo_(archivo),
      operacion_(operacion) {}
