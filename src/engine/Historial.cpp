#include "engine/Historial.h"

#include "store/Transaccion.h"

void archivarPeriodo(TTransaccion& transaccion, int periodo, const std::vector<std::filesystem::path>& reportes,
                     const std::string& resultados) {
    const std::string carpeta = "historial/Periodo " + std::to_string(periodo);
    // A rerun after a step back replaces the older copy.
    transaccion.reemplazarCarpeta(carpeta);
    // A report is always a new file, so a link keeps this period's text when
    // the next period writes its own.
    for (const auto& reporte : reportes) {
        const std::string nombre = reporte.filename().string();
        transaccion.enlazar(nombre, carpeta + "/" + nombre);
    }
    transaccion.escribir(carpeta + "/DATOS ACUMULADOS.DAT", resultados);
}
