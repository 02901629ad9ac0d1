// The readers of the game's history and standings: what every screen, chart,
// document and export shows of the periods run.

#include "juego/Juego.h"

#include "juego/BloqueoJuego.h"
#include "store/SistemaArchivos.h"

#include <algorithm>

std::vector<TFilaPosicion> TJuego::posiciones() {
    TBloqueoLectura bloqueo(*this);
    leerEstado(bloqueo);
    return posicionesZona(carpeta_);
}

// The last period the game has run, -1 before period 0. A period undone by a
// step back stays filed until it runs again, but its figures are no longer
// the game's: nobody may read them as if they were.
int TJuego::ultimoPeriodoCorrido(const TBloqueoJuego& bloqueo) const {
    const TEstadoJuego estado = leerEstado(bloqueo);
    return estado.periodo0Corrido() ? std::min(estado.datos.periodoActual - 1, 10) : -1;
}

void TJuego::exigirPeriodoCorrido(const TBloqueoJuego& bloqueo, int periodo) const {
    if (periodo < 0 || periodo > ultimoPeriodoCorrido(bloqueo))
        throw ErrorJuego("El período " + std::to_string(periodo) + " no se ha simulado.");
}

void TJuego::exigirHistorial(const TBloqueoJuego&, int periodo) const {
    const auto archivados = periodosArchivados(carpeta_);
    if (std::find(archivados.begin(), archivados.end(), periodo) == archivados.end())
        throw ErrorJuego("Falta el historial del período " + std::to_string(periodo) + ".");
}

std::vector<int> TJuego::periodosDelHistorial() {
    TBloqueoLectura bloqueo(*this);
    const int ultimo = ultimoPeriodoCorrido(bloqueo);
    const std::vector<int> archivados = periodosArchivados(carpeta_);
    // A game begun by an older version has no history of its first periods;
    // from the first period filed on, every period run is listed, a missing
    // one too, so that no reader skips it without a word.
    std::vector<int> periodos;
    for (int p = archivados.empty() ? ultimo + 1 : archivados.front(); p <= ultimo; ++p) periodos.push_back(p);
    return periodos;
}

TArchivoPeriodo TJuego::periodoDelHistorial(int periodo) {
    TBloqueoLectura bloqueo(*this);
    exigirPeriodoCorrido(bloqueo, periodo);
    exigirHistorial(bloqueo, periodo);
    return leerArchivoPeriodo(carpeta_, periodo);
}

std::string TJuego::reporteDelHistorial(int periodo, const std::string& nombre) {
    // Only a plain name of the period's own folder: never a path out of it.
    if (nombre.empty() || nombre.find_first_of("/\\") != std::string::npos || nombre == "." || nombre == "..")
        throw ErrorArchivo(carpetaDePeriodo(carpeta_, periodo) / nombre, "no es un informe del período");
    TBloqueoLectura bloqueo(*this);
    exigirPeriodoCorrido(bloqueo, periodo);
    exigirHistorial(bloqueo, periodo);
    return leerArchivoEntero(carpeta_.sa(), carpetaDePeriodo(carpeta_, periodo) / nombre);
}
