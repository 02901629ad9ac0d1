#include "engine/Historial.h"

#include "store/CarpetaDatos.h"

#include <string>
#include <system_error>

bool archivarPeriodo(int periodo, const std::vector<std::filesystem::path>& reportes) {
    namespace fs = std::filesystem;
    const fs::path destino = carpetaDatos() / "historial" / ("Periodo " + std::to_string(periodo));
    std::error_code error;
    fs::remove_all(destino, error);  // a rerun after a step back replaces the older copy
    fs::create_directories(destino, error);
    if (error) return false;
    bool bien = true;
    auto copiar = [&](const fs::path& origen) {
        std::error_code e;
        fs::copy_file(origen, destino / origen.filename(), fs::copy_options::overwrite_existing, e);
        if (e) bien = false;
    };
    for (const auto& reporte : reportes) copiar(reporte);
    copiar(rutaDatos("DATOS ACUMULADOS.DAT"));
    return bien;
}
