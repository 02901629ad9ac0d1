#pragma once
// Where the decision screen fills its teams from, besides typing: the
// decisions stored for the period, the previous period's from the history, a
// CSV file of the tool and the teams' submissions through the portal. A
// source stores nothing: it hands the screen one entry per team (empty for a
// team it leaves as it is) and the texts to show the game master.

#include "juego/Juego.h"
#include "store/Registros.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TDecisionesTraidas {
    /// One entry per team, or none at all when nothing is brought.
    std::vector<std::optional<TRegDecision>> decisiones;
    /// Why the source brought nothing, or not everything; the screen shows
    /// it and stays on the team it shows.
    QString falla;
    /// Shown after the teams brought are on show.
    QString aviso;
};

/// The teams a source fills: how many, their names (Windows-1252) and which
/// companies the computer plays.
struct TEquiposDecision {
    std::size_t cantidad = 0;
    std::vector<std::string> nombres;
    std::vector<bool> computadora;
    bool deComputadora(std::size_t i) const { return i < computadora.size() && computadora[i]; }
};

/// Team equipo's (from 1) stored decisions for the open period.
TDecisionesTraidas decisionGuardada(TJuego& juego, const TEquiposDecision& equipos, uint8_t equipo);

/// Every team's stored decisions, in order, up to the first team missing.
TDecisionesTraidas decisionesGuardadas(TJuego& juego, const TEquiposDecision& equipos);

/// Every team's decisions of period anterior from the history, each found by
/// its name (the history keeps bankrupt companies too); the computer's
/// companies are left out. All teams are found or nothing is brought. From
/// period 0 the loan requests and repayments come as 0, and the notice says so.
TDecisionesTraidas decisionesDelPeriodo(TJuego& juego, const TEquiposDecision& equipos, int anterior);

/// Every team's decisions from the tool's CSV file (UTF-8 path), with its
/// reader and messages; companies of the computer left out stay empty.
TDecisionesTraidas decisionesDeCsv(const QString& archivo, const TEquiposDecision& equipos);

/// Every team's submission through the portal for the period open on the
/// game marca names; the teams without one are named in the notice.
TDecisionesTraidas decisionesDelPortal(TJuego& juego, const TEquiposDecision& equipos, const TMarca& marca);
