#pragma once
// Setting up a new game from the texts of the initial data screen (the
// window's screen and the command-line tool's parameters file share it).

#include "store/CarpetaDatos.h"
#include "store/Registros.h"
#include "store/TablaParametros.h"

#include <cstdint>

/// The sample game that a double click on the initial data screen fills in
/// (the bank names, severance and penalty keep their defaults).
TTextosDatosIniciales ejemploDatosIniciales();

/// Builds the parameters record of a new game with cantEquipos teams in zone
/// 1 and period 1 next, and the tables screen's figures. Converts the boxes
/// in screen order (convertirParametro).
/// A box that does not convert (an empty one included) raises
/// ErrorConversion, one out of its range ErrorParametro. Touches nothing
/// but the record it returns: the game takes the severance and the penalty
/// from it once the record is stored.
TRegDatosIniciales armarDatosIniciales(const TTextosDatosIniciales& textos, uint8_t cantEquipos);

