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
/// from minimo. Texts are UTF-8.
struct TRangoDecision {
    int32_t TRegDecision::*campo;
    const char* columna;          ///< key of the field in the tool's files, e.g. "invPlanta"
    const char* nombre;           ///< the field in a sentence, e.g. "la inversión en planta"
    int32_t minimo;
    int32_t maximo;
    int32_t paso;
    const char* falla;            ///< what is wrong, after the value: "está fuera del rango de 50 a 100."
    const char* mensajePantalla;  ///< the message of the decision screens
};

/// The ten fields, in the order of the decision screens.
const std::array<TRangoDecision, 10>& rangosDecision();

/// The range of one field of the record.
const TRangoDecision& rangoDecision(int32_t TRegDecision::*campo);

bool enRango(const TRangoDecision& rango, int32_t valor);

/// The value and its fault, e.g. "30 está fuera del rango de 50 a 100.";
/// empty when the value is in range.
std::string fallaDecision(const TRangoDecision& rango, int32_t valor);

/// The ranges of the tables: price 50 to 100, marketing 0 to 10000,
/// training 0 to 20000 in steps of 2000, production level 0, 25, 50, 75, 100.
bool precioValido(int32_t precio);
bool marketingValido(int32_t marketing);
bool capacitacionValida(int32_t capacitacion);
bool nivelProduccionValido(int32_t nivel);

/// Checks every field against its range, in screen order. empresa is the
/// company name in Windows-1252, empty for the common decisions of period 0.
/// Throws ErrorDecision on the first violation.
void validarDecision(const TRegDecision& decision, const std::string& empresa);
