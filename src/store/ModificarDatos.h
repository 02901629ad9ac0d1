#pragma once
// Correcting the parameters of a running game from the texts of the modify
// data screen. The screen shows every box of the initial data screen, so it
// shares that screen's texts record; only some of them are saved.

#include "store/CarpetaDatos.h"
#include "store/DatosIniciales.h"
#include "store/Registros.h"

/// The texts the modify screen shows for a stored record: whole numbers in
/// decimal, rates as the percent the game master typed (yearly interest,
/// hence x 100 x 3), each as the shortest text of its value with the
/// regional separator. A stored interest of 0.08 per period shows "24".
TTextosDatosIniciales textosModificables(const TRegDatosIniciales& datos);

/// A copy of guardado with the editable boxes converted into it: the credit
/// limits, the maintenance, tax, interest and overdraft rates, the stock
/// penalty and market parameters (byte fields keep the low byte), the
/// overdraft limit, the severance and the penalty. Every other field
/// (counters, period, bank names, plant, capital, production rate, zone,
/// table fields) keeps its stored value, whatever its text says. Touches no
/// program-wide value. A box that does not convert raises ErrorConversion,
/// one out of its range (kTablaParametros) ErrorParametro.
TRegDatosIniciales aplicarModificaciones(const TRegDatosIniciales& guardado, const TTextosDatosIniciales& textos);

/// The modify screen's save: reads the stored parameters, converts every
/// editable box, writes the record and returns it. ErrorConversion or
/// ErrorArchivo leave the file as it was.
TRegDatosIniciales guardarModificaciones(const TCarpeta& carpeta, const TTextosDatosIniciales& textos);
