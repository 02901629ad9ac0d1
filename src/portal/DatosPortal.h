#pragma once
// What the portal keeps across requests and across its restarts: the
// sessions, the deadline, the wall clock, and what is built once while the
// game stays put (each team's PDFs, the previous period's decisions that
// fill the forms). TPortal owns it; its server threads share it.

#include "portal/Portal.h"
#include "portal/Sesiones.h"

#include "juego/Juego.h"
#include "store/Registros.h"

#include <QByteArray>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

struct TDatosPortal {
    using Pared = std::chrono::system_clock;

    TSesiones sesiones;  // with a mutex of its own
    /// What the portal's game objects tell; may be called from any thread.
    TNotificador* notificador = nullptr;

    mutable std::mutex m;  // everything below; never held while a file is read
    std::function<Pared::time_point()> pared = [] { return Pared::now(); };
    std::chrono::seconds espera = TPortal::kEspera;
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
};
