#pragma once
// The teams' portal: an HTTP server through which each team, with its
// access code, enters its decisions for the open period and reads its own
// reports. It asks the game core for everything and never serves a game
// file itself. A session is a random token in an HttpOnly, SameSite=Strict
// cookie; every POST after the login carries the session's CSRF token, and
// every POST (the login too) from a page of another site is refused.
//
// The server (GNU libmicrohttpd) runs on threads of its own, each with its
// own TJuego on the game's folder and file system, so the window's event
// loop never waits for a team and a team never waits for the window. What
// those games finish or undo of an interrupted change reaches the game's
// notifier queued, on the portal's thread. Its
// limits act at the socket, before a request is kept in memory: bodies over
// 16 KiB and long headers are refused as soon as the headers arrive, a
// request not whole within kEspera (however slowly it trickles) and an idle
// connection are closed, and connections are capped per address (an IPv6
// /64 is one address; the cap is adjustable) and in total, where the ones
// still on their first request are cut first to make room. Submissions that arrive together are
// stored together, and every one of them is written in the game's register.
//
// No route takes a company number: a session belongs to one team, and
// every page shows only that team's decisions and reports.

#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TJuego;
class TNotificadorDelPortal;
class TServidorPortal;
struct TDatosPortal;

/// An address that hit one of the portal's caps: once per address and
/// reason a minute, with how many times it hit it meanwhile.
struct TTope {
    std::uint64_t numero = 0;  ///< grows with every new entry
    std::chrono::system_clock::time_point hora;
    std::string direccion;
    QString motivo;
    int veces = 1;
};

class TPortal : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 kPuertoPredeterminado = 8080;
    static constexpr qsizetype kCuerpoMaximo = 16 * 1024;
    /// What a connection may hold at once: the request line and headers
    /// must fit in it, or the request is refused (431).
    static constexpr std::size_t kMemoriaPorConexion = 32 * 1024;
    /// Connections per address by default; a classroom behind one NAT needs more.
    static constexpr unsigned kConexionesPorDireccion = 16;
    static constexpr unsigned kConexionesPorDireccionMaximas = 4096;
    static constexpr int kColaDeEspera = 1024;
    static constexpr std::chrono::seconds kEspera{10};
    static constexpr int kIntentosFallidos = 5;
    static constexpr std::chrono::seconds kBloqueo{60};
    /// Failed codes per minute from all addresses together; past them unknown
    /// codes are held back (429), a right code still gets in.
    static constexpr int kFallidosPorMinuto = 120;
    static constexpr std::size_t kSesionesPorEquipo = 10;
    static constexpr std::size_t kSesionesEnTotal = 4096;
    static constexpr std::chrono::hours kVidaSesion{2};

    /// A portal for the game (not owned: it must outlive the portal).
    explicit TPortal(TJuego& juego, QObject* padre = nullptr);
    ~TPortal() override;

    /// Starts listening on direccion:puerto (puerto 0: any free port) and
    /// returns the port. Creates the teams' codes when the game has none.
    /// ErrorJuego when the port cannot be opened or there is no game.
    quint16 iniciar(const QHostAddress& direccion = QHostAddress::Any, quint16 puerto = kPuertoPredeterminado);
    /// Stops listening, answers what waits and ends every session. Harmless when stopped.
    void detener();
    bool activo() const;
    quint16 puerto() const { return puerto_; }
    /// The address it listens on (QHostAddress::Any: every one).
    QHostAddress direccion() const { return direccion_; }
    /// How many connections it serves at most (below the open-files limit).
    unsigned conexionesMaximas() const { return conexionesMaximas_; }
    /// The connections one address may hold (1 to kConexionesPorDireccionMaximas),
    /// in force at once, running or not.
    void fijarConexionesPorDireccion(unsigned conexiones);
    unsigned conexionesPorDireccion() const;
    /// The caps addresses hit lately, numbered above numero (0: all kept),
    /// the newest last; the same address and cap is told once a minute.
    std::vector<TTope> topesDespuesDe(std::uint64_t numero) const;

    /// "http://A:P/" for every non-loopback IPv4 address of the machine;
    /// for a portal bound to one address, that address only.
    QStringList direccionesParaTeclear() const;

    /// Ends every session of one team (Windows-1252 name); returns how many.
    int cerrarSesiones(const std::string& empresa);
    /// The live sessions of one team.
    int sesionesDe(const std::string& empresa) const;
    /// How many teams hold at least one live session.
    int equiposConectados() const;

    /// A deadline for the period open now: later submissions of that period
    /// are refused, naming it. None: no deadline.
    void fijarPlazo(std::optional<std::chrono::system_clock::time_point> hasta);
    std::optional<std::chrono::system_clock::time_point> plazo() const;

    /// For tests: the clock of the lock-outs and sessions, the wall clock of
    /// the deadline and the register, and how long a connection may stall.
    void fijarReloj(std::function<std::chrono::steady_clock::time_point()> reloj);
    void fijarRelojDePared(std::function<std::chrono::system_clock::time_point()> reloj);
    void fijarEspera(std::chrono::seconds espera);
    /// For tests: at most tope connections in total from the next start on.
    void fijarConexionesEnTotal(unsigned tope) { conexionesEnTotal_ = tope; }

signals:
    /// A team stored a submission (its name in UTF-8). Emitted from the
    /// portal's thread: connect it queued (the default across threads).
    void envioRecibido(const QString& empresa);
    /// Lines were written in the register of submissions: attempts stored
    /// or refused. Emitted from the portal's thread, like envioRecibido.
    void envioAnotado();
    void estadoCambiado(bool activo);

private:
    TJuego& juego_;
    // The server threads' games tell the game's own notifier through it.
    std::unique_ptr<TNotificadorDelPortal> notificador_;
    std::unique_ptr<TDatosPortal> datos_;
    std::unique_ptr<TServidorPortal> servidor_;
    QHostAddress direccion_;
    quint16 puerto_ = 0;
    unsigned conexionesMaximas_ = 0;
    unsigned conexionesEnTotal_ = 0;
};

/// Every non-loopback IPv4 address of the machine's interfaces that are up.
QStringList direccionesIpv4();

/// Raises this process's limit of open files to its hard limit and returns
/// the limit now in force.
unsigned elevarLimiteDeArchivos();
