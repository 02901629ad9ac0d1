#pragma once
// What the portal keeps across requests and across its restarts: the
// sessions, the deadline, the wall clock, the connections allowed per
// address, the record of the caps addresses hit, and what is built once
// while the game stays put (each team's PDFs, the previous period's
// decisions that fill the forms). TPortal owns it; its server threads share it.

#include "portal/Portal.h"
#include "portal/Sesiones.h"

#include "juego/Juego.h"
#include "store/Registros.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct TDatosPortal {
    using Pared = std::chrono::system_clock;

    TSesiones sesiones;  // with a mutex of its own
    /// What the portal's game objects tell; may be called from any thread.
    TNotificador* notificador = nullptr;

    mutable std::mutex m;  // everything below; never held while a file is read
    std::function<Pared::time_point()> pared = [] { return Pared::now(); };
    std::chrono::seconds espera = TPortal::kEspera;
    unsigned conexionesPorDireccion = TPortal::kConexionesPorDireccion;
    std::optional<Pared::time_point> plazo;
    int periodoDelPlazo = 0;
    // Each PDF is built once, until the game moves (a run, a step back).
    TMarca marcaPdf;
    std::map<std::pair<std::string, int>, QByteArray> pdfs;
    // The previous period's decisions that fill the forms, read once per game state.
    TMarca marcaAnteriores;
    std::map<std::string, TRegDecision> anteriores;

    /// The wall clock's time now.
    Pared::time_point ahoraDePared() const;
    /// The deadline of periodo, when the deadline set is for it.
    std::optional<Pared::time_point> plazoDe(int periodo) const;
    /// The PDF of empresa's periodo built for the game at marca, if it was.
    std::optional<QByteArray> pdfHecho(const TMarca& marca, const std::string& empresa, int periodo);
    void guardarPdf(const TMarca& marca, const std::string& empresa, int periodo, const QByteArray& bytes);

    /// Notes that direccion hit a cap (motivo in Spanish, e.g. "conexiones
    /// por dirección (16)"). From any thread.
    void anotarTope(const std::string& direccion, const QString& motivo);
    /// The caps hit lately (the newest last) with a number above numero.
    std::vector<TTope> topesDespuesDe(std::uint64_t numero) const;

private:
    static constexpr std::size_t kTopesGuardados = 50;
    mutable std::mutex mTopes_;  // the record of caps; never held with m
    std::vector<TTope> topes_;
    std::vector<std::chrono::steady_clock::time_point> desde_;  // when each entry began
    std::uint64_t ultimoTope_ = 0;
};
