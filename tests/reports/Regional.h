#pragma once
// Switches the process to the Argentine regional settings (decimal comma) for
// one test and back to the settings it had afterwards, even when the test fails.

#include <gtest/gtest.h>

#include <clocale>
#include <initializer_list>
#include <string>

/// Sets the numbers to the Argentine settings, by their POSIX name or their
/// Windows one; nullptr when the system has neither.
inline const char* activarComaDecimal() {
    for (const char* nombre : {"es_AR.UTF-8", "Spanish_Argentina.1252"})
        if (const char* activada = std::setlocale(LC_NUMERIC, nombre)) return activada;
    return nullptr;
}

class ConComaDecimal {
public:
    ConComaDecimal() : anterior_(std::setlocale(LC_NUMERIC, nullptr)) {
        disponible_ = activarComaDecimal() != nullptr;
    }
    ~ConComaDecimal() { std::setlocale(LC_NUMERIC, anterior_.c_str()); }
    ConComaDecimal(const ConComaDecimal&) = delete;
    ConComaDecimal& operator=(const ConComaDecimal&) = delete;
    bool disponible() const { return disponible_; }

private:
    std::string anterior_;
    bool disponible_ = false;
};

#define ACTIVAR_COMA_DECIMAL(nombre)                                                        \
    ConComaDecimal nombre;                                                                  \
    ASSERT_TRUE(nombre.disponible()) << "falta la configuración regional es_AR.UTF-8"
