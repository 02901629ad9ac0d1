#pragma once
// The game steps the tool offers, on the game in the data folder. Each step
// first checks that the game is at a point where it makes sense, and refuses
// with ErrorJuego, without touching a file, when it is not; then it calls the
// same core operations the window calls. Texts are Windows-1252.

#include "engine/UDecicionesPeriodo0.h"
#include "store/DatosIniciales.h"
#include "store/Registros.h"

#include <string>
#include <vector>

/// Where the stored game stands.
struct TEstadoJuego {
    bool hayJuego = false;           ///< a game was set up (periodoActual 1 or more)
    TRegDatosIniciales datos{};      ///< the parameters record, zero when there is none
    int empresasConResultados = 0;   ///< records of "DATOS ACUMULADOS.DAT"
    int decisionesGuardadas = 0;     ///< records of "DECISIONES.DAT"

    bool periodo0Corrido() const { return empresasConResultados >= datos.cantEquipos; }
    bool terminado() const { return datos.periodoActual > 10; }
};

TEstadoJuego leerEstado();

/// Sets IndemnizacionPorEmpleado and ValorPenalidad from the stored
/// parameters when there are any, as "Reanudar" does.
void reanudar();

/// Sets up a new game as the teams and initial data screens do: the names
/// (at most 255), then the parameters. Converts everything before writing.
/// The previous game's checkpoint, results and decisions are removed, so that
/// nothing of it can be stepped back into or simulated on.
void crearJuego(const std::vector<std::string>& equipos, const TTextosDatosIniciales& textos);

/// Runs period 0 with these common decisions and the stored bank names.
/// Refused once a later period has been simulated.
void correrPeriodo0(TDecisionesPeriodo0 decisiones);

/// Refuses, with ErrorJuego, when no period is open for decisions: no game,
/// period 0 not run, the game over or every company gone.
void comprobarPeriodoAbierto();

/// The names of the active companies, in company order.
std::vector<std::string> empresasActivas();

/// Replaces the stored decisions of the current period; record i is company
/// i + 1. Refused before period 0, after period 10 and for a wrong count.
void guardarDecisiones(const std::vector<TRegDecision>& decisiones);

/// Runs the current period on the stored decisions and returns the period
/// run. Refused when the game is over, period 0 has not run, or a company
/// has no stored decisions.
int simular();

/// Steps back over the last period run and returns the period now open.
/// ErrorJuego "No hay un período para deshacer." when there is no checkpoint.
int volver();
