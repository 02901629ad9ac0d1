#pragma once
// The messages of the decision screens when a figure is out of its range
// (the period entry screen and the period-0 screen say the same). They come
// from the one table of decision ranges.

#include "engine/ValidarDecision.h"

#include <QString>

inline QString mensajeRango(const TRangoDecision& rango) { return QString::fromUtf8(rango.mensajePantalla); }
