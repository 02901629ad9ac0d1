#pragma once
// tcosto: the cost of producing one unit, and a period's whole production,
// from the production level, the plant value and the accumulated training.
//
// The costs come from four constant sheets, one per level (25, 50, 75 and
// 100 %), of 56 plant rows (25000 to 300000 in steps of 5000) by 11 training
// columns (0 to 20000 in steps of 2000), u$d per unit. Between two plant rows
// the cost is interpolated linearly. Costs fall as the plant grows and as
// training accumulates; at every cell the sheets order 25 % > 50 % > 100 % >
// 75 %, the 75 % level being the cheapest.
//
// The object's only state is the sheet loaded last; one object may serve a
// whole run. No files, no messages.

#include <cstdint>

class tcosto {
public:
    /// Loads the sheet of nivel (25, 50, 75 or 100). Any other value loads
    /// nothing and keeps the sheet loaded before.
    void cargarTabla(uint8_t nivel);

    /// Unit cost and total cost (unidades x unit cost, unrounded) of producing
    /// at nivel with the given plant and accumulated training.
    /// - nivel 0: both 0, nothing loaded.
    /// - plant outside 25000 to 300000: a flat 41.68 per unit.
    /// - training above 20000 counts as 20000; a negative training gives the
    ///   fixed 40.0 per unit and 60000.0 in all, whatever unidades is.
    /// - otherwise the cell of the plant row, or the straight line between
    ///   the two rows around the plant.
    /// Throws std::out_of_range for a nivel other than 0, 25, 50, 75, 100, and
    /// for a training (0 to 20000) that is not a multiple of 2000: neither has
    /// a sheet or column.
    void costoProduccion(int32_t planta, int32_t unidades, int32_t capacitacion, uint8_t nivel, double& costoUnitario,
                         double& costoTotal);

private:
    const double (*hoja_)[11] = nullptr;  ///< the loaded sheet: 56 rows of 11 columns
};
