#pragma once
// TOrdenes: how many units the market orders from one company in a period,
// and how those orders split against the units it has on hand.
//
// The orders start from the constant demand table (price 50 to 100 u$d by
// marketing 0 to 10000 u$s in steps of 1000); the game's order modifier
// removes a share of the table orders, and two corrections are added whole:
// orders won or lost by the price against the zone's average, and a share of
// the zone's research pool in proportion to accumulated R&D. A period calls
// ordenesPorInvDes, then ajustePorPrecio, then calcularOrdenes with their
// results (period 0 passes 0 for both).
//
// No state, no files. Every conversion to a whole number truncates toward
// zero from the value carried in 80-bit extended precision; the zone's average
// price and the interpolated table value are rounded to double first.

#include <cstdint>

class TOrdenes {
public:
    /// The company's share of the research pool: Trunc(propia / zona x pozo).
    /// A zone total of 0 counts as 1, so nobody in such a zone gets orders.
    int32_t ordenesPorInvDes(int32_t pozo, int32_t invYDesPropia, int32_t invYDesZona);

    /// Orders won (positive, multMas per u$d below the zone's average price)
    /// or lost (negative, multMenos per u$d above it); 0 at the average.
    /// cantZona must be at least 1: the company itself is in the zone.
    int32_t ajustePorPrecio(int32_t sumaPreciosZona, int32_t precio, uint8_t multMas, uint8_t multMenos,
                            uint8_t cantZona);

    /// Orders received for precio and marketing, corrected by ajustePrecio,
    /// ordenesInvDes and modificador (the share of the table orders removed),
    /// interpolating linearly between marketing columns; never below 0, and 0
    /// for a marketing above 10000. Then split against the units disponibles:
    /// ventas = what can be delivered, ordenesNoRealizadas = what cannot,
    /// stockFinal = what is left. Assigns all four outputs.
    /// Throws std::out_of_range for a price outside 50 to 100 or a negative
    /// marketing, which have no place in the table.
    void calcularOrdenes(int32_t ajustePrecio, int32_t ordenesInvDes, double modificador, int32_t disponibles,
                         int32_t marketing, int32_t precio, int32_t& ordenesRecibidas, int32_t& ventas,
                         int32_t& ordenesNoRealizadas, int32_t& stockFinal);
};
