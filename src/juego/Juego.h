#pragma once
// The game core: the one owner of the game in the data folder. The window
// and the command-line tool ask it for everything that reads or changes the
// game, and it keeps the rules of where a game stands and what may happen
// next: no game, set up (period 0 not run), period N open, game over.
//
// Every operation that changes a game file holds an exclusive lock on the
// folder for its whole duration; a second program that finds it held is
// refused at once with "El juego está en uso por otro programa.". Readers
// take a shared lock. Before anything else every operation finishes or
// undoes a change that was interrupted, and tells the user which through
// the notifier. Each change first checks that the game is where the caller
// believes it is (its TMarca) and otherwise refuses, changing nothing.
//
// Refusals raise ErrorJuego with a Spanish message (UTF-8); file failures
// raise ErrorArchivo, a damaged game ErrorArchivoDanado.

#include "engine/Historial.h"
#include "engine/UDecicionesPeriodo0.h"
#include "reports/Posiciones.h"
#include "store/DatosIniciales.h"
#include "store/Registros.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

/// The game cannot do what was asked now: the message says why.
class ErrorJuego : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TFase { sinJuego, preparado, abierto, terminado };

/// Where the game stood when a screen was opened: a change is refused when
/// the game has moved since (a run, a step back, a new game, another program).
struct TMarca {
    TFase fase = TFase::sinJuego;
    int periodo = 0;
    std::uint64_t huella = 0;  ///< of the teams, the results and the counters
    bool operator==(const TMarca&) const = default;
};

/// Where the stored game stands.
struct TEstadoJuego {
    bool hayJuego = false;           ///< a game was set up (periodoActual 1 or more)
    TRegDatosIniciales datos{};      ///< the parameters record, zero when there is none
    int empresasConResultados = 0;   ///< records of "DATOS ACUMULADOS.DAT"
    int decisionesGuardadas = 0;     ///< records of "DECISIONES.DAT"
    TMarca marca;

    bool periodo0Corrido() const { return hayJuego && empresasConResultados >= datos.cantEquipos; }
    bool terminado() const { return datos.periodoActual > 10; }
};

/// The state of the game in the data folder (shared lock).
TEstadoJuego leerEstado();

/// "Reanudar": sets IndemnizacionPorEmpleado and ValorPenalidad from the
/// stored parameters and returns the state. ErrorJuego "No hay un juego
/// guardado en esta carpeta." when there is none.
TEstadoJuego reanudar();

/// Sets up a new game: the names (1 to 255, each giving its own report file
/// names), then the parameters, all converted and checked before anything
/// is written (a parameter out of range raises ErrorParametro). The previous game's
/// checkpoint, results and decisions go, and its history is moved aside to
/// "historial anterior N", in one change.
void crearJuego(const std::vector<std::string>& equipos, const TTextosDatosIniciales& textos);

/// The teams screen's save: the names of the game being set up, written
/// over the first records of "NOMBRES.DAT" in one step. crearJuego writes
/// them again with the parameters.
void guardarNombresEquipos(const std::vector<std::string>& equipos);

/// Runs period 0 with these common decisions and the stored bank names.
/// Refused once a later period has been simulated. With a marca, refused
/// when the game has moved since it was taken.
void correrPeriodo0(TDecisionesPeriodo0 decisiones, const TMarca* marca = nullptr);

/// Refuses, with ErrorJuego, when no period is open for decisions: no game,
/// period 0 not run, the game over or every company gone.
void comprobarPeriodoAbierto();

/// The names of the active companies, in company order.
std::vector<std::string> empresasActivas();

/// The decisions stored for the open period; none when there are none.
std::vector<TRegDecision> decisionesGuardadas();

/// Replaces the stored decisions of the current period in one step; record
/// i is company i + 1. Refused when no period is open, for a wrong count,
/// or when the game moved since marca.
void guardarDecisiones(const std::vector<TRegDecision>& decisiones, const TMarca* marca = nullptr);

/// Runs the current period on the stored decisions and returns the period
/// run. Refused when the game is over, period 0 has not run, a company has
/// no stored decisions, or the game moved since marca.
int simular(const TMarca* marca = nullptr);

/// Steps back over the last period run and returns the period now open.
/// ErrorJuego "No hay un período para deshacer." when there is no checkpoint.
int volver();

/// The modify screen's save, refused when there is no game or it moved
/// since marca.
void modificarDatos(const TTextosDatosIniciales& textos, const TMarca* marca = nullptr);

/// The tables screen's save: its two fields into the stored parameters.
void guardarTablas(int32_t columnaPrecios, int32_t intervaloMarketing);

/// The standings of zone 1 (shared lock).
std::vector<TFilaPosicion> posiciones();

/// The periods of the history the game has run, in order (shared lock). A
/// period undone by a step back is left out until it runs again.
std::vector<int> periodosDelHistorial();

/// What the history keeps of one period: every consumer (screens, charts,
/// documents, exports) reads it here and never parses report text.
/// ErrorJuego "El período N no se ha simulado." for a period not run (or undone).
TArchivoPeriodo periodoDelHistorial(int periodo);

/// The bytes (Windows-1252, CR LF) of a report filed for a period, by its
/// file name; ErrorArchivo when there is none of that name, ErrorJuego as
/// periodoDelHistorial for a period not run.
std::string reporteDelHistorial(int periodo, const std::string& nombre);

/// The stored parameters, zero when there are none (shared lock).
TRegDatosIniciales parametros();

/// The refusal message for a screen opened on antes when the game now
/// stands at ahora.
std::string mensajeJuegoCambiado(const TEstadoJuego& ahora);
