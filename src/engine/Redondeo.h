#pragma once
// How the game rounds money: the whole u$s a run carries into the next
// period, and the figures as the reports show them, for the sums that the
// notices compute from what they print. Every step is the one the printed
// text would give if it were read back as a number, so that no run has to
// read its own reports.

#include <cstdint>
#include <string>

/// The ceiling of a finite value in extended precision: truncate, one less
/// when negative, one more when the value lies above. Exact for every double.
long double techo(double valor);

/// The ceiling as the reports write it, without padding: its digits below
/// 10^15, general notation above ("1E15"), "NAN", "INF" or "-INF".
std::string textoDelTecho(double valor);

/// The whole number that the FormatoTecho text of valor reads back as: its
/// ceiling (2.0000001 -> 3, -0.5 -> 0). The money that a run carries into the
/// next period is rounded this way. A value without such a number (NaN, an
/// infinity, a ceiling outside 32 bits) raises ErrorConversion with the
/// message that reading its text gives ("«   1E15» no es un número entero: …").
int32_t redondearTecho(double valor);

/// A finite value as FormatoDecimal shows it: to the cent, halves of the
/// exact double away from zero, with one decimal when the integer part
/// (sign included) has five characters and none when it has six or more, as
/// the seven characters of the report leave room for. A value that is not
/// finite comes back as it is.
long double comoDosDecimales(double valor);

/// A value as FormatoTruncado shows it: truncated toward zero, saturating at
/// the 64-bit limits; NaN gives 0.
int64_t comoTruncado(double valor);
