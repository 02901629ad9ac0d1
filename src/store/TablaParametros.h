#pragma once
// The game parameters, named once. Each row is one box of the initial data
// screen: its key in the tool's parameters file, its caption on the screens,
// the name of its box, the field of the parameters record it is stored in,
// how its text converts, its range, whether "Modificar" may change it and
// its text in the sample game. The set-up, the modify screen, the tool's
// parameters file, the workbook and the check of a stored record all read
// this table; the rows are in screen order (left column, then right).

#include "store/Registros.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

/// The boxes of the initial data screen as typed, and the tables screen's
/// choice. Percentages are typed as percent; the interest rates are yearly.
/// The initialisers are the screen's defaults.
struct TTextosDatosIniciales {
    std::string nombreBancoA = "NACION";  ///< Windows-1252
    std::string nombreBancoB = "PROVINCIA";
    std::string planta;
    std::string capital;
    std::string maxCreditoA;
    std::string maxCreditoB;
    std::string mantenimiento;
    std::string impuestos;
    std::string interesA;  ///< yearly
    std::string interesB;
    std::string tasaProduccion;
    std::string giroDescubierto;
    std::string penalidadStock;
    std::string multipOrdenesMas;
    std::string multipOrdenesMenos;
    std::string nroInvYDes;
    std::string modifOrdenes;
    std::string limiteGiroDescubierto;
    std::string nroZona = "1";
    std::string indemXEmpleado = "300";
    std::string penalidad = "500";
};

/// How a typed decimal is stored: as typed, as a fraction (÷ 100), or as a
/// fraction per period of a yearly percentage (÷ 100 ÷ 3: a period is a
/// third of a year).
enum class TEscala { unidad, porcentaje, porcentajeAnual };

/// The field of the record a box goes to; its type says how the text
/// converts: a bank name, a whole number, a whole number of which the low
/// byte is kept, or a decimal.
using TCampoRegistro = std::variant<cadena TRegDatosIniciales::*, int32_t TRegDatosIniciales::*,
                                    uint8_t TRegDatosIniciales::*, double TRegDatosIniciales::*>;

/// One parameter. Texts are UTF-8.
struct TParametro {
    std::string TTextosDatosIniciales::*texto;
    const char* clave;    ///< key of the tool's parameters file, e.g. "interesA"
    const char* caja;     ///< caption on the screens and the workbook, e.g. "INTERESES(%)"
    const char* control;  ///< name of its box on both screens, e.g. "Edit9"
    char banco;           ///< 'A' or 'B' for a row of one bank (its name follows the caption), else 0
    TCampoRegistro campo;
    TEscala escala;       ///< of a decimal
    bool conRango;        ///< bank names and byte boxes have none
    long double minimo;
    long double maximo;
    bool modificable;     ///< "Modificar" may change it
    const char* ejemplo;  ///< its text in the sample game; nullptr: the sample leaves it as it is
};

namespace tablaParametros {
using T = TTextosDatosIniciales;
using R = TRegDatosIniciales;
constexpr TEscala kUnidad = TEscala::unidad;
constexpr TEscala kPorciento = TEscala::porcentaje;
constexpr TEscala kAnual = TEscala::porcentajeAnual;
// The money of the game is what a report figure shows. Rates and the
// production rate are bounded so that a company's yearly outlays, overdraft
// interest and losses stay well inside 32 bits (see the README).
constexpr long double kMonto = 9999999;
}  // namespace tablaParametros

inline constexpr std::array<TParametro, 21> kTablaParametros = [] {
    using namespace tablaParametros;
    return std::array<TParametro, 21>{{
        // texto, clave, caja, control, banco, campo, escala, conRango, minimo, maximo, modificable, ejemplo
        {&T::nombreBancoA, "nombreBancoA", "NOMBRE BANCO A", "Edit1", 0, &R::nombreBancoA, kUnidad, false, 0, 0, false, nullptr},
        {&T::nombreBancoB, "nombreBancoB", "NOMBRE BANCO B", "Edit2", 0, &R::nombreBancoB, kUnidad, false, 0, 0, false, nullptr},
        {&T::planta, "planta", "PLANTA", "Edit3", 0, &R::planta, kUnidad, true, 0, kMonto, false, "70000"},
        {&T::capital, "capital", "CAPITAL", "Edit4", 0, &R::capital, kUnidad, true, 0, kMonto, false, "80000"},
        {&T::maxCreditoA, "maxCreditoA", "MAX.CREDITO", "Edit5", 'A', &R::maxCreditoA, kUnidad, true, 0, kMonto, true, "90000"},
        {&T::maxCreditoB, "maxCreditoB", "MAX.CREDITO", "Edit6", 'B', &R::maxCreditoB, kUnidad, true, 0, kMonto, true, "80000"},
        {&T::mantenimiento, "mantenimiento", "MANTENIMIENTO(%)", "Edit7", 0, &R::tasaMantenimiento, kPorciento, true, 0, 100, true, "10"},
        {&T::impuestos, "impuestos", "IMPUESTOS(%)", "Edit8", 0, &R::tasaImpuestos, kPorciento, true, 0, 100, true, "30"},
        {&T::interesA, "interesA", "INTERESES(%)", "Edit9", 'A', &R::interesA, kAnual, true, 0, 1000, true, "21"},
        {&T::interesB, "interesB", "INTERESES(%)", "Edit10", 'B', &R::interesB, kAnual, true, 0, 1000, true, "24"},
        {&T::tasaProduccion, "tasaProduccion", "TASA DE PROD(%)", "Edit11", 0, &R::tasaProduccion, kPorciento, true, 0, 10, false, "2"},
        {&T::giroDescubierto, "giroDescubierto", "GIRO EN DESC(%)", "Edit12", 0, &R::tasaGiroDescubierto, kPorciento, true, 0, 100, true, "100"},
        {&T::penalidadStock, "penalidadStock", "PENALIDADES(STOCK)", "Edit13", 0, &R::penalidadStock, kUnidad, false, 0, 0, true, "10"},
        {&T::multipOrdenesMas, "multipOrdenesMas", "MULTIP. ORDENES +", "Edit14", 0, &R::multipOrdenesMas, kUnidad, false, 0, 0, true, "30"},
        {&T::multipOrdenesMenos, "multipOrdenesMenos", "MULTIP. ORDENES -", "Edit15", 0, &R::multipOrdenesMenos, kUnidad, false, 0, 0, true, "20"},
        {&T::nroInvYDes, "nroInvYDes", "NRO INV Y DES", "Edit16", 0, &R::nroInvYDes, kUnidad, true, 0, 1000000, true, "0"},
        {&T::modifOrdenes, "modifOrdenes", "MODIF. ORD (%)", "Edit17", 0, &R::modifOrdenes, kPorciento, true, 0, 100, true, "30"},
        {&T::limiteGiroDescubierto, "limiteGiroDescubierto", "LÍMITE MAX. GIRO EN DESC.", "edMaxGiroDescub", 0, &R::limiteGiroDescubierto, kUnidad, true, 0, kMonto, true, "30"},
        {&T::nroZona, "nroZona", "NRO. ZONA", "edNroZona", 0, &R::nroZona, kUnidad, true, 1, 99, false, "1"},
        {&T::indemXEmpleado, "indemXEmpleado", "INDEMNIZACION  X EMPLEADO", "edIndemXEmp", 0, &R::indemXEmpleado, kUnidad, true, 0, 2000, true, nullptr},
        {&T::penalidad, "penalidad", "PENALIDAD", "edPenalidad", 0, &R::penalidad, kUnidad, true, 0, kMonto, true, nullptr},
    }};
}();

/// The rows of the left column of both screens; the rest go on the right.
inline constexpr std::size_t kFilasColumnaIzquierda = 10;

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

/// The row of a box, or nullptr for a text that is no box of the table.
const TParametro* parametroDe(std::string TTextosDatosIniciales::*texto);
/// The row of a key of the tool's file (case does not matter), or nullptr.
const TParametro* parametroDeClave(std::string_view clave);

/// Bank names, whole numbers, byte boxes and decimals.
bool esNombre(const TParametro& p);
bool esByte(const TParametro& p);
bool esDecimal(const TParametro& p);

/// The text the screen opens with (empty for most boxes).
const std::string& textoPorOmision(const TParametro& p);

/// The typed text and its fault, e.g. "«1e308» está fuera del rango de 0 a
/// 1000."; empty when valor (the converted text) is in range or the row has
/// no range. A value that is not finite is never in range.
std::string fallaParametro(const TParametro& p, long double valor, const std::string& texto);

/// Converts the box's text into its field of r: ErrorConversion when it is
/// not a number, ErrorParametro when it is out of range;
/// a byte box keeps the low byte. textos gives the bank names of a message.
void convertirParametro(const TParametro& p, const TTextosDatosIniciales& textos, TRegDatosIniciales& r);

/// The field as its box shows it: the name, the whole number, or the
/// decimal as typed (rates in percent, interest yearly), each the shortest
/// text of its value with the regional separator.
std::string textoParametro(const TParametro& p, const TRegDatosIniciales& r);

/// Why a stored record cannot be a game's, or empty when it can: a field
/// out of its row's range once stored (a rate that is not a number or is
/// infinite included). The zone number is left out: it only names the
/// industry report, and games set up before the boxes had ranges hold 0 there.
std::string fallaDeParametros(const TRegDatosIniciales& r);
