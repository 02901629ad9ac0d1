// The orders drawn or served with Qt, as the companion program
// "corvelian-cli-qt" runs them for the tool.

#include "cli/Errores.h"
#include "cli/Linea.h"
#include "cli/OrdenPortal.h"
#include "documentos/Documentos.h"
#include "documentos/Graficos.h"
#include "juego/Juego.h"
#include "store/Texto.h"

#include <chrono>
#include <iostream>

namespace fs = std::filesystem;

void ordenPdf(const TLinea& linea) {
    const int32_t periodo = argumentoEntero("PERIODO", linea.argumentos[0]);
    const fs::path destino = fs::absolute(rutaDeTexto(linea.argumentos[1]));
    const auto juego = usarCarpeta(linea, false);
    asegurarAplicacionGrafica();
    const auto escritos = escribirPdfsDelPeriodo(*juego, periodo, destino);
    std::cout << escritos.size() << " documentos PDF del período " << periodo << " escritos en «"
              << textoDeRuta(destino) << "».\n";
}

void ordenGraficos(const TLinea& linea) {
    const fs::path destino = fs::absolute(rutaDeTexto(linea.argumentos[0]));
    const auto juego = usarCarpeta(linea, false);
    // Pictures only: never a window, whatever display there is.
    asegurarAplicacionGrafica(true);
    const auto escritos = escribirGraficos(*juego, destino);
    std::cout << escritos.size() << " gráficos de la temporada escritos en «" << textoDeRuta(destino) << "»:\n";
    for (const fs::path& archivo : escritos) std::cout << "  " << textoDeRuta(archivo.filename()) << "\n";
}

void ordenPortal(const TLinea& linea) {
    std::string direccion = "0.0.0.0";
    int32_t puerto = 8080;
    std::optional<std::chrono::system_clock::time_point> hasta;
    const auto& a = linea.argumentos;
    for (std::size_t i = 0; i < a.size(); i += 2) {
        if (i + 1 == a.size() || (a[i] != "--puerto" && a[i] != "--direccion" && a[i] != "--hasta"))
            throw ErrorUso("la orden se escribe «corvelian-cli [--datos CARPETA] portal [--puerto P] [--direccion A] "
                           "[--hasta HH:MM]».");
        if (a[i] == "--direccion") direccion = a[i + 1];
        else if (a[i] == "--hasta" && !(hasta = horaDeHoy(a[i + 1])))
            throw ErrorUso("--hasta: «" + a[i + 1] + "» no es una hora HH:MM de hoy (por ejemplo 10:59).");
        else if (a[i] == "--puerto") puerto = argumentoEntero("--puerto", a[i + 1]);
    }
    if (puerto < 1 || puerto > 65535) throw ErrorUso("--puerto: el puerto va de 1 a 65535, no " + std::to_string(puerto) + ".");
    const auto juego = usarCarpeta(linea, false);
    correrPortal(*juego, direccion, static_cast<uint16_t>(puerto), hasta);
}
