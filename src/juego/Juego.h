#pragma once
// The game core: a TJuego is the one owner of one game, the game in its
// folder. Each front (the window, the command-line tool, the portal)
// creates one for the folder it opens and asks it for everything that reads
// or changes the game; it keeps the rules of where a game stands and what
// may happen next: no game, set up (period 0 not run), period N open, game
// over. It owns what belongs to the game and to nothing else: its folder,
// the file system that holds it (tests hand it one that fails), the
// notifier through which the game master is told what happened, and the
// severance and penalty of the game.
//
// Every operation that changes a game file holds an exclusive lock on the
// folder for its whole duration; a second program that finds it held by a
// change is refused within a fifth of a second with "El juego está en uso por
// otro programa.". Readers take a shared lock; a change waits for the readers
// in progress and goes before new ones (juego/BloqueoJuego.h). Before anything else every operation finishes or
// undoes a change that was interrupted, and tells the user which through
// the notifier. Each change first checks that the game is where the caller
// believes it is (its TMarca) and otherwise refuses, changing nothing.
//
// Threads: a game object is used by one thread at a time. It is not
// guarded, and its operations change what it keeps (the severance and the
// penalty). Threads that work on one game each create their own object on
// the same folder and file system (the portal gives each of its threads
// one): every object takes the folder lock for itself, so the lock
// coordinates them as it coordinates two programs. The shared file system
// must allow calls from several threads, as the real one does. The notifier
// is called on the thread that runs the operation: a game object used
// outside the window's thread is given none, or one that may be called
// there (and from several threads, if several objects share it).
//
// Refusals raise ErrorJuego with a Spanish message (UTF-8), and a kind of
// their own where a caller acts on the kind: ErrorJuegoEnUso (try again in
// a moment), ErrorJuegoCambiado (the screen is stale). File failures raise
// ErrorArchivo, a damaged game ErrorArchivoDanado. A change that happened
// but that the disk did not confirm is no failure: the operation returns as
// done and tells the notifier a warning.

#include "engine/Historial.h"
#include "juego/CorridaPeriodo.h"
#include "juego/Auditoria.h"
#include "juego/AvisosDecision.h"
#include "juego/CodigosAcceso.h"
#include "juego/Computadora.h"
#include "juego/CorridaPeriodo0.h"
#include "reports/Posiciones.h"
#include "store/CarpetaDatos.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"
#include "store/Notificador.h"
#include "store/Registros.h"
#include "store/SistemaArchivos.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class TBloqueoJuego;

/// One company's warnings before its decisions are stored.
struct TAvisosEmpresa {
    std::string empresa;  ///< as empresasActivas() gives it
    TCreditoRestante credito;
    std::vector<TAvisoDecision> avisos;
};
class TBloqueoEscritura;
class TTransaccion;

/// The game cannot do what was asked now: the message says why.
class ErrorJuego : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Another program (or a run of this one) holds the game: nothing was done,
/// and the same request may succeed in a moment.
class ErrorJuegoEnUso : public ErrorJuego {
public:
    ErrorJuegoEnUso() : ErrorJuego("El juego está en uso por otro programa.") {}
};

/// The game moved since the caller's TMarca was taken: nothing was done.
class ErrorJuegoCambiado : public ErrorJuego {
public:
    using ErrorJuego::ErrorJuego;
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

/// The refusal message for a screen opened on antes when the game now
/// stands at ahora.
std::string mensajeJuegoCambiado(const TEstadoJuego& ahora);

/// One submission as the portal received it: codigo is the code the session
/// entered with (it must still be the team's), empty when not checked.
struct TEnvioRecibido {
    std::string codigo;
    std::string empresa;  ///< Windows-1252
    int periodo = 0;
    TRegDecision decision{};
    /// Its line in the register, when it gets one: whether it was stored and
    /// why not are filled in as it is judged.
    std::optional<TAnotacionEnvio> anotacion = std::nullopt;
};

/// What a page of the portal needs, read under one lock: the team whose
/// code was typed (none when it is no longer any team's), where the game
/// stands, the periods with reports and the team's submission for the open
/// period. Only the state is filled when the code is no team's.
struct TLecturaPortal {
    std::optional<std::string> equipo;
    TEstadoJuego estado;
    std::vector<int> periodos;
    std::optional<TRegDecision> envio;
};

enum class TResultadoEnvio { guardado, sinSesion, fueraDeRango, rechazado };
struct TRespuestaEnvio {
    TResultadoEnvio resultado = TResultadoEnvio::guardado;
    std::string mensaje;  ///< why it was refused (UTF-8)
};

/// One open game. Not copied: it is the game's one owner in this program.
class TJuego {
public:
    /// The game in carpeta, reached through sistema (not owned; the real
    /// file system unless a test hands it another). It tells the game master
    /// nothing until it is given a notifier.
    explicit TJuego(std::filesystem::path carpeta, TSistemaArchivos& sistema = sistemaArchivosReal());
    TJuego(const TJuego&) = delete;
    TJuego& operator=(const TJuego&) = delete;

    const TCarpeta& carpeta() const { return carpeta_; }
    const std::filesystem::path& ruta() const { return carpeta_.ruta(); }
    TSistemaArchivos& sistemaArchivos() const { return carpeta_.sa(); }

    /// Who is told what happened (not owned); nullptr: nobody.
    void fijarNotificador(TNotificador* notificador) { notificador_ = notificador ? notificador : &silencioso_; }
    TNotificador& notificador() const { return *notificador_; }

    /// The severance per dismissed employee and the penalty of the game, as
    /// last stored or read by "Reanudar" (300 and 500 before any game).
    int32_t indemnizacionPorEmpleado() const { return indemnizacionPorEmpleado_; }
    int32_t valorPenalidad() const { return valorPenalidad_; }

    /// The state of the game in its folder (shared lock).
    TEstadoJuego leerEstado();

    /// "Reanudar": takes the severance and the penalty from the stored
    /// parameters and returns the state. ErrorJuego "No hay un juego
    /// guardado en esta carpeta." when there is none.
    TEstadoJuego reanudar();

    /// Sets up a new game: the names (1 to 255, each giving its own report file
    /// names), then the parameters, all converted and checked before anything
    /// is written (a parameter out of range raises ErrorParametro). The previous game's
    /// checkpoint, results and decisions go, and its history is moved aside to
    /// "historial anterior N", in one change. Only once it is stored does the
    /// game take the new severance and penalty: a refused set-up changes nothing.
    /// computadora names the companies of equipos that the computer plays,
    /// with their styles and the seed of their decisions; its file is
    /// written (or, when none, removed) in the same change.
    void crearJuego(const std::vector<std::string>& equipos, const TTextosDatosIniciales& textos,
                    const TComputadora& computadora = {});

    /// A practice game in one step: the student's team and `cantidad`
    /// computer companies (estilo, or each style in turn when none), the
    /// sample parameters and period 0 run with the sample decisions, all in
    /// one change: interrupted, the folder stays as it was.
    void crearPractica(const std::string& equipo, std::size_t cantidad, std::optional<TEstilo> estilo,
                       std::uint64_t semilla);

    /// The student's company of a practice (Windows-1252), bankrupt or not;
    /// none in a class game. A damaged practice file is ErrorArchivoDanado.
    std::optional<std::string> equipoDePractica();

    /// In a practice, the student's company as a number among the active
    /// companies (from 1, as empresasActivas() lists them); none in a class
    /// game, and once the student's company went bankrupt.
    std::optional<int> empresaDePractica();

    /// The teams screen's check of the names of the game being set up, as
    /// crearJuego will check them (ErrorJuego). Nothing is written: the names
    /// wait in the set-up and are stored with the new game, so a set-up left
    /// halfway changes nothing of the game in the folder.
    void comprobarNombresEquipos(const std::vector<std::string>& equipos) const;

    /// Runs period 0 with these common decisions and the stored bank names.
    /// Refused once a later period has been simulated. With a marca, refused
    /// when the game has moved since it was taken.
    TResultadoCorrida correrPeriodo0(TDecisionesPeriodo0 decisiones, const TMarca* marca = nullptr);

    /// Refuses, with ErrorJuego, when no period is open for decisions: no game,
    /// period 0 not run, the game over or every company gone.
    void comprobarPeriodoAbierto();

    /// The names of the active companies, in company order.
    std::vector<std::string> empresasActivas();

    /// Which companies the computer plays (none when the game has no file of them).
    TComputadora computadora();

    /// For each active company, in company order, its style when the computer plays it.
    std::vector<std::optional<TEstilo>> estilosActivas();

    /// The computer's decisions for the open period: one entry per active
    /// company, set for those the computer plays. Refused when no period is open.
    std::vector<std::optional<TRegDecision>> decisionesComputadora();

    /// guardarDecisiones, where an entry left empty is the computer's
    /// decision for a company it plays; an empty entry of a team's company
    /// is refused, naming it.
    void guardarDecisionesCompletas(const std::vector<std::optional<TRegDecision>>& decisiones,
                                    const TMarca* marca = nullptr);

    /// The decisions stored for the open period; none when there are none.
    std::vector<TRegDecision> decisionesGuardadas();

    /// For each active company, in company order (decisiones[i] is company
    /// i + 1): what each bank still lends it with those repayments and the
    /// warnings on those decisions (juego/AvisosDecision.h). Stores nothing.
    /// Refused when no period is open or for a wrong count.
    std::vector<TAvisosEmpresa> avisosDeDecisiones(const std::vector<TRegDecision>& decisiones);
    /// The same for one company (its name as empresasActivas() gives it),
    /// read from its own results only: the portal shows a team nothing of the
    /// others. Refused when no period is open or the company does not play.
    TAvisosEmpresa avisosDeEmpresa(const std::string& empresa, const TRegDecision& decision);

    /// Replaces the stored decisions of the current period in one step; record
    /// i is company i + 1. Refused when no period is open, for a wrong count,
    /// or when the game moved since marca.
    void guardarDecisiones(const std::vector<TRegDecision>& decisiones, const TMarca* marca = nullptr);

    /// Runs the current period on the stored decisions, with the severance and
    /// the penalty stored in the game's parameters, and returns what it did.
    /// When none are stored and the computer plays every active company, its
    /// decisions are stored first (a step of their own, as if typed).
    /// Tells the game master of each bankruptcy and opens the game folder.
    /// Refused when the game is over, period 0 has not run, a company has
    /// no stored decisions, or the game moved since marca.
    TResultadoCorrida simular(const TMarca* marca = nullptr);

    /// Steps back over the last period run and returns the period now open.
    /// ErrorJuego "No hay un período para deshacer." when there is no checkpoint.
    int volver();

    /// The modify screen's save, refused when there is no game or it moved
    /// since marca. Once stored, the game takes its severance and penalty.
    void modificarDatos(const TTextosDatosIniciales& textos, const TMarca* marca = nullptr);

    /// The standings of zone 1 (shared lock).
    std::vector<TFilaPosicion> posiciones();

    /// The periods of the history the game has run, in order (shared lock),
    /// from the first one filed (a game begun by an older version has none
    /// of its first periods) to the last one run, a missing one included. A
    /// period undone by a step back is left out until it runs again.
    std::vector<int> periodosDelHistorial();

    /// What the history keeps of one period: every consumer (screens, charts,
    /// documents, exports) reads it here and never parses report text.
    /// ErrorJuego "El período N no se ha simulado." for a period not run (or
    /// undone), "Falta el historial del período N." for one run whose
    /// record is missing.
    TArchivoPeriodo periodoDelHistorial(int periodo);

    /// The bytes (Windows-1252, CR LF) of a report filed for a period, by its
    /// file name; ErrorArchivo when there is none of that name, ErrorJuego as
    /// periodoDelHistorial for a period not run.
    std::string reporteDelHistorial(int periodo, const std::string& nombre);

    /// The stored parameters, zero when there are none (shared lock).
    TRegDatosIniciales parametros();

    // The teams' portal: access codes and the submissions of the open period.
    // The codes live in "CODIGOS PORTAL.txt" and belong to one game (a new game
    // drops them); each team's last submission is one file of "envios portal",
    // bound to the game's codes, the period and the game's mark when it was
    // made, so that it is never taken for another game's or period's.

    /// The codes of the teams of the game (the active companies; before period
    /// 0, the teams set up; never the computer's), in company order. Teams without one get a new
    /// code, and the file is created, on this call. ErrorJuego without a game.
    std::vector<TCodigoEquipo> codigosDeAcceso();

    /// The codes already given, as codigosDeAcceso but creating none: empty
    /// when the portal never started for this game.
    std::vector<TCodigoEquipo> codigosGuardados();

    /// A new code for one team of the game; its old code stops working. A
    /// damaged codes file is refused (ErrorArchivoDanado): renovarCodigos mends it.
    std::string renovarCodigo(const std::string& empresa);

    /// New codes for every team of the game, in company order; the old ones
    /// stop working. The codes file is written anew, damaged or not (a
    /// damaged one also loses the submissions it vouched for).
    std::vector<TCodigoEquipo> renovarCodigos();

    /// The active company whose code was typed (compared in constant time
    /// against every code), or none.
    std::optional<std::string> equipoDelCodigo(const std::string& tecleado);

    /// equipoDelCodigo, the state, periodosDelHistorial and envioDelEquipo at once.
    TLecturaPortal lecturaDelPortal(const std::string& tecleado);

    /// Stores a team's submission for periodo, replacing its previous one.
    /// Refused (ErrorJuego) when no period is open, for another period than the
    /// open one, for a company not playing, and while another program changes
    /// the game (ErrorJuegoEnUso); a field out of its
    /// range raises ErrorDecision with the decision screen's message.
    void guardarEnvio(const std::string& empresa, int periodo, const TRegDecision& decision);

    /// Stores several submissions at once, under one lock and with one flush of
    /// the disk for all of them; each gets its own answer (refused as
    /// guardarEnvio refuses, or sinSesion when its code is no longer the team's).
    /// When two are of one team the later one counts. What refuses them all (no
    /// period open, the game in use, a file that fails) is thrown. The lines of
    /// the register (otrasAnotaciones, then those of envios) are appended after
    /// the files reach the disk and before they take their places: when the
    /// register cannot be written, nothing is stored.
    std::vector<TRespuestaEnvio> guardarEnvios(const std::vector<TEnvioRecibido>& envios,
                                               const std::vector<TAnotacionEnvio>& otrasAnotaciones = {});

    /// A team's last submission for the open period, if it made one.
    std::optional<TRegDecision> envioDelEquipo(const std::string& empresa);

    /// The submissions of the open period, one entry per active company in
    /// company order (none for those that did not submit); empty when no period
    /// is open or there are no codes.
    std::vector<std::optional<TRegDecision>> enviosDelPeriodo();

    /// Stores the submissions of the open period as its decisions and returns
    /// how many. Refused, naming the missing teams, unless every active company
    /// submitted or is played by the computer (which decides for it then); and
    /// when the game moved since marca.
    int guardarDecisionesDelPortal(const TMarca* marca = nullptr);

    /// Appends submissions to the portal's register (kArchivoRegistroPortal)
    /// with one write and one sync, under the exclusive lock: ErrorJuegoEnUso
    /// while another program holds it, ErrorArchivo when it cannot be written.
    void anotarEnvios(const std::vector<TAnotacionEnvio>& anotaciones);

    /// The register's text (UTF-8 CSV), empty when nothing was ever sent.
    std::string registroDelPortal();

private:
    // The helpers that read the game's files take the lock the operation
    // holds (BloqueoJuego.h); those that write them, its exclusive lock.
    TEstadoJuego leerEstado(const TBloqueoJuego& bloqueo) const;
    /// A file of the folder, empty when there is none.
    std::string contenidoSiExiste(const TBloqueoJuego& bloqueo, const char* nombre) const;
    void tomarValores(const TRegDatosIniciales& datos);
    void exigirJuego(const TEstadoJuego& estado) const;
    void exigirPeriodoAbierto(const TEstadoJuego& estado) const;
    /// The mark, when given, is the game's.
    static void exigirMarca(const TEstadoJuego& estado, const TMarca* marca);
    /// The mark, when given, is the game's; its period is open and has companies.
    void exigirDecisionesAbiertas(const TEstadoJuego& estado, const TMarca* marca) const;
    std::vector<std::string> equiposDelJuego(const TBloqueoJuego& bloqueo, const TEstadoJuego& estado) const;

    std::string nombresNuevos(const TBloqueoJuego& bloqueo, const std::vector<std::string>& equipos) const;
    /// Stages a new game over the folder's: its names, parameters and computer's companies.
    void prepararJuego(const TBloqueoEscritura& bloqueo, TTransaccion& transaccion, const std::string& nombres,
                       const TRegDatosIniciales& datos, const TComputadora& computadora);
    /// Tells the game master a change happened that the disk did not confirm (UTF-8; nothing when empty).
    void avisar(const std::string& aviso);
    /// Runs a change whose last step is the folder's sync: when the disk does not
    /// confirm it, the change is in place all the same, so it is told, not raised
    /// ("hecho" says what is stored, e.g. "Los códigos quedaron guardados").
    template <class Cambio>
    void cambiarSinConfirmarEsAviso(const char* hecho, Cambio&& cambio) {
        try {
            cambio();
        } catch (const ErrorArchivoSinConfirmar& e) {
            avisar(std::string(hecho) + ", pero el disco no confirmó el cambio (" + e.what() + ").");
        }
    }
    void guardarDecisionesCompletas(const TBloqueoEscritura& bloqueo, const TEstadoJuego& estado,
                                    std::vector<std::optional<TRegDecision>> decisiones);
    /// Stores the decisions file; a change the disk did not confirm is told, not raised.
    void guardarDecisionesEnArchivo(const TBloqueoEscritura& bloqueo, const std::vector<TRegDecision>& decisiones);
    std::optional<ErrorArchivoDanado> danoQueElRespaldoRepara(const TBloqueoJuego& bloqueo) const;

    TComputadora computadora(const TBloqueoJuego& bloqueo) const;
    std::optional<std::string> equipoDePractica(const TBloqueoJuego& bloqueo) const;
    std::vector<std::optional<TRegDecision>> decisionesComputadora(const TBloqueoJuego& bloqueo,
                                                                   const TEstadoJuego& estado) const;

    int ultimoPeriodoCorrido(const TBloqueoJuego& bloqueo) const;
    void exigirPeriodoCorrido(const TBloqueoJuego& bloqueo, int periodo) const;
    void exigirHistorial(const TBloqueoJuego& bloqueo, int periodo) const;

    std::vector<std::string> equiposConCodigo(const TBloqueoJuego& bloqueo, const TEstadoJuego& estado) const;
    std::optional<TArchivoCodigos> archivoCodigos(const TBloqueoJuego& bloqueo) const;
    void guardarCodigos(const TBloqueoEscritura& bloqueo, const TArchivoCodigos& archivo);
    std::optional<std::string> equipoDelCodigo(const TBloqueoJuego& bloqueo, const TEstadoJuego& estado,
                                               const TArchivoCodigos& archivo, const std::string& tecleado) const;
    std::filesystem::path rutaEnvio(const std::string& empresa) const;
    void agregarAlRegistro(const TBloqueoEscritura& bloqueo, const std::vector<TAnotacionEnvio>& anotaciones);
    std::optional<TRegDecision> envioDe(const TBloqueoJuego& bloqueo, const TEstadoJuego& estado,
                                        const TArchivoCodigos& codigos, const std::string& empresa) const;

    TCarpeta carpeta_;
    TNotificadorSilencioso silencioso_;
    TNotificador* notificador_ = &silencioso_;
    int32_t indemnizacionPorEmpleado_ = 300;
    int32_t valorPenalidad_ = 500;
};
