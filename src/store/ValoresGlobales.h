#pragma once
// The two program-wide values of a running game. The initial data and modify
// screens set them on save, "Reanudar" sets them from the stored parameters,
// and the engine and the industry report read them (never the record fields).

#include <cstdint>

/// Severance paid per dismissed employee, u$s.
inline int32_t IndemnizacionPorEmpleado = 300;
/// Penalty charged when a company must be financed beyond its own funds, u$s.
inline int32_t ValorPenalidad = 500;
