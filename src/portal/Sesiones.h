#pragma once
// The portal's sessions and its lock-outs after wrong codes, behind a mutex
// of their own. A session is a random token that names a team, the code it
// entered with and its CSRF token; it ends after TPortal::kVidaSesion
// unused, when the teacher closes the team's sessions, or as the oldest of
// too many. Wrong codes are counted per browser (a random pre-login cookie
// the login page sets), per address and all together, each for
// TPortal::kBloqueo after it was typed: a browser is held back after
// TPortal::kIntentosFallidos, an address (a classroom behind one NAT) only
// after kFallidosPorDireccion, and requests without the cookie (no browser
// sends them after the login page) after TPortal::kIntentosFallidos from
// their address. Each team submits at most once every kEntreEnvios.

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

class TSesiones {
public:
    using Reloj = std::chrono::steady_clock;

    /// Wrong codes a minute from one address, all its browsers together.
    static constexpr int kFallidosPorDireccion = 100;
    static constexpr std::chrono::seconds kEntreEnvios{1};
    /// The pre-login cookie's name.
    static constexpr const char* kGalletaPrevia = "previo";

    struct TSesion {
        std::string empresa;  // Windows-1252
        std::string codigo;   // the code it entered with: renewing it ends the session
        std::string csrf;
        Reloj::time_point creada;
        Reloj::time_point ultimoUso;
    };

    /// Why a login is refused before its code is read.
    enum class TBloqueo { ninguno, navegador, direccion, portal };

    /// The clock of the sessions and lock-outs (tests move it).
    Reloj::time_point ahora() const;
    void fijarReloj(std::function<Reloj::time_point()> reloj);

    /// The session of token, marked as used now, when it is alive.
    std::optional<TSesion> usar(const std::string& token);
    void quitar(const std::string& token);

    /// A new value for the pre-login cookie.
    static std::string galletaNueva();
    /// Whether a pre-login cookie has the form galletaNueva gives.
    static bool galletaValida(const std::string& galleta);

    /// Whether too many wrong codes came lately from the browser with the
    /// pre-login cookie navegador (empty: none), from direccion, or from all
    /// addresses together.
    TBloqueo bloqueo(const std::string& direccion, const std::string& navegador, Reloj::time_point ahora);
    /// A wrong code: a later success does not wipe it out.
    void anotarFallido(const std::string& direccion, const std::string& navegador, Reloj::time_point ahora);

    /// Whether empresa may submit now (its last submission came kEntreEnvios
    /// or more ago); when it may, now is its last one.
    bool permitirEnvio(const std::string& empresa, Reloj::time_point ahora);
    /// A new session for empresa (entered with codigo, normalised), making
    /// room below the limits by ending the oldest; returns its token.
    std::string abrir(const std::string& empresa, const std::string& codigo, Reloj::time_point ahora);

    /// Ends every session of empresa; returns how many.
    int cerrarDe(const std::string& empresa);
    /// The live sessions of empresa.
    int sesionesDe(const std::string& empresa) const;
    /// How many teams hold at least one live session.
    int equiposConectados() const;
    /// Forgets every session and every wrong code.
    void vaciar();

private:
    void olvidarFallidos(Reloj::time_point ahora);
    void olvidarSesionesViejas(Reloj::time_point ahora);
    template <class Condicion> void dejarLugar(std::size_t limite, Condicion cumple);

    mutable std::mutex m_;  // everything below
    std::map<std::string, TSesion> sesiones_;
    using TFallidos = std::map<std::string, std::deque<Reloj::time_point>>;  // within the last minute
    TFallidos fallidos_;             // per address, every browser's and without the cookie
    TFallidos fallidosSinGalleta_;   // per address, without the cookie
    TFallidos fallidosNavegador_;    // per pre-login cookie
    std::map<std::string, Reloj::time_point> ultimoEnvio_;  // per team
    std::deque<Reloj::time_point> fallidosTodos_;
    std::function<Reloj::time_point()> reloj_ = [] { return Reloj::now(); };
    Reloj::time_point ultimaLimpieza_{};
};
