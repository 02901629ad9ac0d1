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
    // A report is always written as a new file, so a link keeps this period's
    // text when the next period writes its own; copy where links are refused.
    for (const auto& reporte : reportes) {
        std::error_code e;
        fs::create_hard_link(reporte, destino / reporte.filename(), e);
        if (e) copiar(reporte);
    }
    // The results file is rewritten in place, so it is always copied.
    copiar(rutaDatos("DATOS ACUMULADOS.DAT"));
    return bien;
}
