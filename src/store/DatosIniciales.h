#pragma once
// Setting up a new game from the texts of the initial data screen (the
// window's screen and the command-line tool's parameters file share it).

#include "store/Registros.h"

#include <cstdint>
#include <string>

/// The boxes of the initial data screen as typed. Percentages are typed as
/// percent; the interest rates are yearly.
struct TTextosDatosIniciales {
    std::string nombreBancoA = "NACION";  ///< Windows-1252
    std::string nombreBancoB = "PROVINCIA";
    std::string planta;
    std::string capital;
    std::string maxCreditoA;
    std::string maxCreditoB;
    std::string mantenimiento;       ///< "MANTENIMIENTO(%)"
    std::string impuestos;           ///< "IMPUESTOS(%)"
    std::string interesA;            ///< "INTERESES(%)", yearly
    std::string interesB;
    std::string tasaProduccion;      ///< "TASA DE PROD(%)"
    std::string giroDescubierto;     ///< "GIRO EN DESC(%)"
    std::string penalidadStock;      ///< "PENALIDADES(STOCK)"
    std::string multipOrdenesMas;
    std::string multipOrdenesMenos;
    std::string nroInvYDes;
    std::string modifOrdenes;        ///< "MODIF. ORD (%)"
    std::string limiteGiroDescubierto;
    std::string nroZona = "1";
    std::string indemXEmpleado = "300";
    std::string penalidad = "500";
};

/// The sample game that a double click on the initial data screen fills in
/// (the bank names, severance and penalty keep their defaults).
TTextosDatosIniciales ejemploDatosIniciales();

/// Builds the parameters record of a new game with cantEquipos teams in zone
/// 1 and period 1 next. Converts the boxes in screen order (whole numbers;
/// decimals in the regional format, percentages ÷ 100, interest rates also
/// ÷ 3 since a period is a third of a year; byte fields keep the low byte)
/// and sets IndemnizacionPorEmpleado and ValorPenalidad right after their
/// boxes. A box that does not convert (an empty one included) raises
/// ErrorConversion; program-wide values set before it keep their new value.
TRegDatosIniciales armarDatosIniciales(const TTextosDatosIniciales& textos, uint8_t cantEquipos);

/// Stores a new game's parameters and deletes the previous game's checkpoint,
/// so that a step back cannot bring back another game. ErrorArchivo on
/// failure, with the previous file left as it was.
void guardarJuegoNuevo(const TRegDatosIniciales& datos);
