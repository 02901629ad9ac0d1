#pragma once
// The ranges of the ten decision fields, defined once for every checker: the
// two decision screens, the decisions file of the tool, its period-0 order
// and the start of both runs. Price, marketing, training and production level
// are the rows and columns of the demand and cost tables; every other amount
// is a whole number of u$s that a report figure can show.

#include "store/Registros.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

/// A decision outside its range. The message (UTF-8) names the company and
/// the field, e.g.
/// "Empresa \"Delta\": el precio 30 está fuera del rango de 50 a 100."
class ErrorDecision : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The widest whole number a report figure (7 characters) shows.
inline constexpr int32_t kMaxMonto = 9999999;

/// One decision field: its values are minimo..maximo in steps of paso, counted
/// from minimo. This table is the one place that names the ten decisions:
/// every screen, form, file and message takes them from here. Texts are UTF-8;
/// in etiqueta and ayuda "%1" stands for the bank's name (see banco).
struct TRangoDecision {
    int32_t TRegDecision::*campo;
    const char* columna;          ///< the key: in the tool's files, the portal's form and the widgets' names, e.g. "invPlanta"
    const char* titulo;           ///< caption on the game master's screens, e.g. "INV.EN PLANTA"
    const char* etiqueta;         ///< caption in plain Spanish, e.g. "Inversión en planta"
    const char* unidad;           ///< "u$s" or "%"
    const char* argumento;        ///< the tool's positional argument, e.g. "INVPLANTA"
    const char* nombre;           ///< the field in a sentence, e.g. "la inversión en planta"
    int32_t minimo;
    int32_t maximo;
    int32_t paso;
    const char* falla;            ///< what is wrong, after the value: "está fuera del rango de 50 a 100."
    const char* mensajePantalla;  ///< the message of the decision screens
    const char* ayuda;            ///< one line on what the decision does
    char banco;                   ///< 'A' or 'B' for a loan or a repayment, else 0
};

/// The ten fields, in the order of the decision screens.
const std::array<TRangoDecision, 10>& rangosDecision();

/// The ten fields in the order of the record, which the decisions CSV and
/// the workbook keep.
const std::array<const TRangoDecision*, 10>& rangosEnOrdenDelRegistro();

/// etiqueta with the bank's name in place of %1 (UTF-8), e.g.
/// "Préstamo pedido al banco NACION".
std::string etiquetaDecision(const TRangoDecision& rango, const std::string& bancoA, const std::string& bancoB);
/// The same followed by the unit and, for a bounded amount, its range:
/// "Precio (u$s 50 a 100)", "Capacitación (u$s 0 a 20000, de 2000 en 2000)",
/// "Nivel de producción (%)", "Inversión en planta (u$s)".
std::string etiquetaConRango(const TRangoDecision& rango, const std::string& bancoA, const std::string& bancoB);
/// ayuda with the bank's name in place of %1.
std::string ayudaDecision(const TRangoDecision& rango, const std::string& bancoA, const std::string& bancoB);

/// The range of one field of the record.
const TRangoDecision& rangoDecision(int32_t TRegDecision::*campo);

bool enRango(const TRangoDecision& rango, int32_t valor);

/// The value and its fault, e.g. "30 está fuera del rango de 50 a 100.";
/// empty when the value is in range.
std::string fallaDecision(const TRangoDecision& rango, int32_t valor);

/// Checks every field against its range, in screen order. empresa is the
/// company name in Windows-1252, empty for the common decisions of period 0.
/// Throws ErrorDecision on the first violation.
void validarDecision(const TRegDecision& decision, const std::string& empresa);
