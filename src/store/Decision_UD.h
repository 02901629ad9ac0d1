#pragma once
// TDecision: "DECISIONES.DAT", the decisions of the period being entered,
// one 40-byte record per active company, record i being company i + 1. The
// file is read and written whole. The store checks no ranges.

#include "store/CarpetaDatos.h"
#include "store/Registros.h"

#include <cstdint>
#include <vector>

class TDecision {
public:
    explicit TDecision(const TCarpeta& carpeta) : carpeta_(carpeta) {}

    /// The decisions of companies 1..cantidad read in one go; a missing file
    /// or fewer records are an error.
    std::vector<TRegDecision> leerDecisiones(uint8_t cantidad);

    /// Replaces the file by these records, record i being company i + 1, in
    /// one atomic step: either every decision is stored or none is.
    void guardarDecisiones(const std::vector<TRegDecision>& decisiones);

private:
    std::vector<TRegDecision> registrosExistentes();
    TCarpeta carpeta_;
};
