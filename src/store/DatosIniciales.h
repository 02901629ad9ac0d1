#pragma once
// Setting up a new game from the texts of the initial data screen (the
// window's screen and the command-line tool's parameters file share it).

#include "store/CarpetaDatos.h"
#include "store/Registros.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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

/// The range of a box, as typed (percent, yearly interest). Within these
/// ranges, and with every decision in its own, the runs keep every money
/// figure of ten periods finite and within 32 bits.
struct TRangoParametro {
    std::string TTextosDatosIniciales::*campo;
    const char* clave;  ///< key of the tool's parameters file, e.g. "interesA"
    const char* caja;   ///< caption of the box, e.g. "INTERESES(%)" (UTF-8)
    char banco;         ///< 'A' or 'B' for a box of one bank, else 0
    long double minimo;
    long double maximo;
};

/// The boxes with a range, in screen order. The bank names have none, and
/// the three byte boxes keep their low byte instead.
const std::vector<TRangoParametro>& rangosParametros();

/// The range of one box, or nullptr when it has none.
const TRangoParametro* rangoParametro(std::string TTextosDatosIniciales::*campo);

/// The typed text and its fault, e.g. "«1e308» está fuera del rango de 0 a
/// 1000."; empty when valor (the converted text) is in range. A value that
/// is not finite is never in range.
std::string fallaParametro(const TRangoParametro& rango, long double valor, const std::string& texto);

/// A box out of its range. what() names the box of the screen, with the bank
/// name for a box of one bank ("INTERESES(%) NACION: «1e308» está fuera del
/// rango de 0 a 1000."); clave() and falla() let the tool name its key.
class ErrorParametro : public std::runtime_error {
public:
    ErrorParametro(const std::string& mensaje, std::string clave, std::string falla)
        : std::runtime_error(mensaje), clave_(std::move(clave)), falla_(std::move(falla)) {}
    const std::string& clave() const { return clave_; }
    const std::string& falla() const { return falla_; }

private:
    std::string clave_;
    std::string falla_;
};

/// Converts a box (whole number or decimal as typed) and checks its range:
/// ErrorConversion when it is not a number, ErrorParametro when it is out
/// of range. Used by the set-up and by the modify screen.
int32_t enteroEnRango(const TTextosDatosIniciales& textos, std::string TTextosDatosIniciales::*campo);
long double decimalEnRango(const TTextosDatosIniciales& textos, std::string TTextosDatosIniciales::*campo);

/// The sample game that a double click on the initial data screen fills in
/// (the bank names, severance and penalty keep their defaults).
TTextosDatosIniciales ejemploDatosIniciales();

/// Builds the parameters record of a new game with cantEquipos teams in zone
/// 1 and period 1 next. Converts the boxes in screen order (whole numbers;
/// decimals in the regional format, percentages ÷ 100, interest rates also
/// ÷ 3 since a period is a third of a year; byte fields keep the low byte).
/// A box that does not convert (an empty one included) raises
/// ErrorConversion, one out of its range ErrorParametro. Touches nothing
/// but the record it returns: the game takes the severance and the penalty
/// from it once the record is stored.
TRegDatosIniciales armarDatosIniciales(const TTextosDatosIniciales& textos, uint8_t cantEquipos);

/// Stores a new game's parameters and deletes the previous game's checkpoint,
/// so that a step back cannot bring back another game. ErrorArchivo on
/// failure, with the previous file left as it was.
void guardarJuegoNuevo(const TCarpeta& carpeta, const TRegDatosIniciales& datos);
