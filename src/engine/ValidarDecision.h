#pragma once
// The ranges the tables of the engine can hold. A decision outside them has
// no row or column in the demand or cost tables, so a run checks every
// decision it will use before it changes any file.

#include "store/Registros.h"

#include <cstdint>
#include <stdexcept>
#include <string>

/// A decision outside the ranges of the tables. The message (UTF-8) names
/// the company and the field, e.g.
/// "Empresa \"Delta\": el precio 30 está fuera del rango de 50 a 100."
class ErrorDecision : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The ranges of the tables: price 50 to 100, marketing 0 to 10000,
/// training 0 to 20000 in steps of 2000, production level 0, 25, 50, 75, 100.
bool precioValido(int32_t precio);
bool marketingValido(int32_t marketing);
bool capacitacionValida(int32_t capacitacion);
bool nivelProduccionValido(int32_t nivel);

/// Checks price 50..100, marketing 0..10000, training 0..20000 in steps of
/// 2000 and production level 0, 25, 50, 75 or 100. empresa is the company
/// name in Windows-1252, empty for the common decisions of period 0.
/// Throws ErrorDecision on the first violation.
void validarDecision(const TRegDecision& decision, const std::string& empresa);
