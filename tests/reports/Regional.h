#pragma once
// Switches the process to the Argentine regional settings (decimal comma) for
// one test and back to the C settings afterwards, even when the test fails.

#include <gtest/gtest.h>

#include <clocale>

class ConComaDecimal {
public:
    ConComaDecimal() { disponible_ = std::setlocale(LC_NUMERIC, "es_AR.UTF-8") != nullptr; }
    ~ConComaDecimal() { std::setlocale(LC_NUMERIC, "C"); }
    ConComaDecimal(const ConComaDecimal&) = delete;
    ConComaDecimal& operator=(const ConComaDecimal&) = delete;
    bool disponible() const { return disponible_; }

private:
    bool disponible_ = false;
};

#define ACTIVAR_COMA_DECIMAL(nombre)                                                        \
    ConComaDecimal nombre;                                                                  \
    ASSERT_TRUE(nombre.disponible()) << "falta la configuración regional es_AR.UTF-8"
