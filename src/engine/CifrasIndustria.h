#pragma once
// What a run computed for the industry of its zone, as numbers: the totals
// and averages, the economic conditions and one line per company with its
// market share and its rank. The industry report only formats them
// (reports/FormatoCifras.h).

#include "store/Registros.h"

#include <cstdint>
#include <string>
#include <vector>

/// One company's line of the competition table.
struct TCompetidor {
    std::string nombre;         ///< Windows-1252
    int32_t precio = 0;
    int32_t ventas = 0;         ///< u$s
    double utilidadPeriodo = 0;
    double utilidadAcumulada = 0;
    int32_t unidadesVendidas = 0;
    double participacion = 0;   ///< market share, percent
    int posicion = -1;          ///< rank by accumulated profit; -1 when it has none
    bool quebrada = false;      ///< bankrupt: listed without profits or rank
    bool marcaQuiebra = false;  ///< bankrupt before: left out of the table
};

struct TCifrasIndustria {
    /// The period-0 report: every company equal, the first one's figures on
    /// every line, the averages printed as whole numbers, nobody ranked.
    bool periodo0 = false;
    int periodo = 0;
    TRegDatosIniciales parametros{};  ///< rates, limits, zone, severance and penalty
    std::string bancoA;               ///< bank names, Windows-1252
    std::string bancoB;
    int32_t ordenes = 0;
    int32_t produccion = 0;
    int32_t capacidad = 0;
    int32_t vendido = 0;
    int32_t stock = 0;
    int32_t noRealizadas = 0;
    int32_t empleados = 0;
    int32_t ventas = 0;             ///< u$s
    int32_t nivelPromedio = 0;      ///< production level, percent
    int32_t invYDesAcumulada = 0;
    double ventasPorEmpleado = 0;
    double costoPromedio = 0;
    double precioPromedio = 0;
    std::vector<TCompetidor> empresas;  ///< the zone's companies, in order
};
