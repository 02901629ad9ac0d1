// The orders drawn or served with Qt, as the companion program
// "corvelian-cli-qt" runs them for the tool.

#include "cli/Errores.h"
#include "cli/Linea.h"
#include "cli/OrdenPortal.h"
#include "documentos/Documentos.h"
#include "documentos/Graficos.h"
#include "juego/Juego.h"
#include "store/Texto.h"

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <iostream>

namespace fs = std::filesystem;

namespace {

// Qt's notes (an unset XDG_RUNTIME_DIR, a missing font) are English and for
// developers: the tool says in Spanish itself what went wrong. Only the
// failure that ends the program is shown, as its last word.
void mensajeDeQt(QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
    if (tipo == QtFatalMsg) std::cerr << "Error interno de Qt: " << texto.toStdString() << std::endl;
}

void callarAQt() { qInstallMessageHandler(mensajeDeQt); }

}  // namespace

void ordenPdf(const TLinea& linea) {
    callarAQt();
    const int32_t periodo = argumentoPeriodoPdf(linea.argumentos);
    const fs::path destino = fs::absolute(rutaDeTexto(linea.argumentos[1]));
    const auto juego = usarCarpeta(linea, false);
    asegurarAplicacionGrafica();
    const auto escritos = escribirPdfsDelPeriodo(*juego, periodo, destino);
    std::cout << escritos.size() << " documentos PDF del período " << periodo << " escritos en «"
              << textoDeRuta(destino) << "».\n";
}

void ordenGraficos(const TLinea& linea) {
    callarAQt();
    const fs::path destino = fs::absolute(rutaDeTexto(linea.argumentos[0]));
    const auto juego = usarCarpeta(linea, false);
    // Pictures only: never a window, whatever display there is.
    asegurarAplicacionGrafica(true);
    const auto escritos = escribirGraficos(*juego, destino);
    std::cout << escritos.size() << " gráficos de la temporada escritos en «" << textoDeRuta(destino) << "»:\n";
    for (const fs::path& archivo : escritos) std::cout << "  " << textoDeRuta(archivo.filename()) << "\n";
}

void ordenPortal(const TLinea& linea) {
    callarAQt();
    const TArgumentosPortal argumentos = argumentosPortal(linea.argumentos);
    const auto juego = usarCarpeta(linea, false);
    correrPortal(*juego, argumentos);
}
