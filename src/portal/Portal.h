#pragma once
// The teams' portal: an HTTP server on the program's own event loop through
// which each team, with its access code, enters its decisions for the open
// period and reads its own reports. It asks the game core for everything
// and never serves a game file itself. A session is a random token in an
// HttpOnly, SameSite=Strict cookie; every POST after the login carries the
// session's CSRF token; five failed logins from one address lock that
// address out for a minute; bodies over 16 KiB are refused.
//
// No route takes a company number: a session belongs to one team, and
// every page shows only that team's decisions and reports.

#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

class TJuego;
class TServidorPortal;

class TPortal : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 kPuertoPredeterminado = 8080;
    static constexpr qsizetype kCuerpoMaximo = 16 * 1024;
    static constexpr int kIntentosFallidos = 5;
    static constexpr std::chrono::seconds kBloqueo{60};

    /// A portal for the game (not owned: it must outlive the portal).
    explicit TPortal(TJuego& juego, QObject* padre = nullptr);
    ~TPortal() override;

    /// Starts listening on direccion:puerto (puerto 0: any free port) and
    /// returns the port. Creates the teams' codes when the game has none.
    /// ErrorJuego when the port cannot be opened or there is no game.
    quint16 iniciar(const QHostAddress& direccion = QHostAddress::Any, quint16 puerto = kPuertoPredeterminado);
    /// Stops listening and ends every session. Harmless when stopped.
    void detener();
    bool activo() const;
    quint16 puerto() const { return puerto_; }

    /// "http://A:P/" for every non-loopback IPv4 address of the machine;
    /// for a portal bound to one address, that address only.
    QStringList direccionesParaTeclear() const;

    /// For tests: the clock of the lock-outs and sessions.
    void fijarReloj(std::function<std::chrono::steady_clock::time_point()> reloj);

signals:
    /// A team stored a submission (its name in UTF-8).
    void envioRecibido(const QString& empresa);
    void estadoCambiado(bool activo);

private:
    friend class TServidorPortal;
    TJuego& juego_;
    struct TDatos;
    std::unique_ptr<TDatos> datos_;
    std::unique_ptr<TServidorPortal> servidor_;
    QHostAddress direccion_;
    quint16 puerto_ = 0;
};

/// Every non-loopback IPv4 address of the machine's interfaces that are up.
QStringList direccionesIpv4();
