#pragma once
// Conversions of a floating value to a whole number, as the engine's money
// rules require: always toward zero, from the value as carried (80-bit
// extended where the calculation keeps it so).

#include "store/Plataforma.h"

#include <cmath>
#include <cstdint>
#include <limits>

/// The whole part of v toward zero, as a 64-bit integer. A value that does not
/// fit (or NaN) gives the processor's "integer indefinite", INT64_MIN.
inline int64_t truncar64(long double v) {
    constexpr long double limite = 9223372036854775808.0L;  // 2^63
    if (!(v > -limite && v < limite)) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(v);
}

/// The whole part of v toward zero, kept in 32 bits: the low 32 bits of the
/// 64-bit whole part, as a 32-bit register would hold it.
inline int32_t truncar(long double v) { return static_cast<int32_t>(truncar64(v)); }

/// A whole-number result held in 32 bits (products and sums of decisions wrap
/// around instead of overflowing).
inline int32_t envolver(int64_t v) { return static_cast<int32_t>(v); }
