// Placeholders while the runs are being written; this file goes away with them.
#include "engine/UDecicionesPeriodo0.h"
#include "engine/USimular.h"

#include <stdexcept>

void ejecutarPeriodo0(const TDecisionesPeriodo0&) { throw std::logic_error("período 0 aún no disponible"); }
void simularPeriodo() { throw std::logic_error("simulación aún no disponible"); }

#include "reports/Posiciones.h"
std::vector<TFilaPosicion> posicionesZona() { throw std::logic_error("posiciones aún no disponibles"); }
