#pragma once
// Why a company's profit of the period changed: the change split into causes
// that add up exactly to the difference of the two periods' profits as the
// reports print them. Each cause is its effect on profit in whole u$s (a cost
// that rose is negative); the price effect is (price N − price N−1) × units
// N, the volume effect price N−1 × (units N − units N−1); the rounding takes
// what whole u$s leave over. Computed from the engine's figures of both
// periods, never from report text.

#include "engine/CifrasEmpresa.h"

#include <array>
#include <cstdint>

struct TCausasUtilidad {
    int64_t utilidadAnterior = 0;  ///< the previous period's profit, as its report prints it
    int64_t utilidad = 0;          ///< this period's
    int64_t precio = 0;
    int64_t volumen = 0;
    int64_t costoVentas = 0;
    int64_t subsidios = 0;
    int64_t marketing = 0;
    int64_t mantenimientoPlanta = 0;
    int64_t capacitacion = 0;
    int64_t invYDes = 0;
    int64_t indemnizaciones = 0;
    int64_t mantenimientoStock = 0;
    int64_t intereses = 0;
    int64_t penalidad = 0;
    int64_t impuestos = 0;
    int64_t redondeo = 0;
};

/// One cause: its column in the tool's CSV, its words for a person (UTF-8)
/// and its field. The causes in the order they are shown; their sum is
/// utilidad − utilidadAnterior.
struct TCampoCausa {
    const char* columna;
    const char* etiqueta;
    int64_t TCausasUtilidad::*campo;
};
const std::array<TCampoCausa, 14>& camposCausas();

/// The change from the figures and decisions of the period before (anterior)
/// to those of the period (actual).
TCausasUtilidad causasUtilidad(const TInformeEmpresa& anterior, const TInformeEmpresa& actual);
