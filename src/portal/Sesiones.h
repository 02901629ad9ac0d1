#pragma once
// The portal's sessions and its lock-outs after wrong codes, behind a mutex
// of their own. A session is a random token that names a team, the code it
// entered with and its CSRF token; it ends after TPortal::kVidaSesion
// unused, when the teacher closes the team's sessions, or as the oldest of
// too many. Wrong codes are counted per address and all together, each for
// TPortal::kBloqueo after it was typed.

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

    struct TSesion {
        std::string empresa;  // Windows-1252
        std::string codigo;   // the code it entered with: renewing it ends the session
        std::string csrf;
        Reloj::time_point creada;
        Reloj::time_point ultimoUso;
    };

    /// Why a login is refused before its code is read.
    enum class TBloqueo { ninguno, direccion, portal };

    /// The clock of the sessions and lock-outs (tests move it).
    Reloj::time_point ahora() const;
    void fijarReloj(std::function<Reloj::time_point()> reloj);

    /// The session of token, marked as used now, when it is alive.
    std::optional<TSesion> usar(const std::string& token);
    void quitar(const std::string& token);

    /// Whether too many wrong codes came lately from direccion or from all addresses together.
    TBloqueo bloqueo(const std::string& direccion, Reloj::time_point ahora);
    /// A wrong code from direccion: a later success does not wipe it out.
    void anotarFallido(const std::string& direccion, Reloj::time_point ahora);
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
    std::map<std::string, std::deque<Reloj::time_point>> fallidos_;  // per address, within the last minute
    std::deque<Reloj::time_point> fallidosTodos_;
    std::function<Reloj::time_point()> reloj_ = [] { return Reloj::now(); };
    Reloj::time_point ultimaLimpieza_{};
};
