#pragma once
// TDecision: "DECISIONES.DAT", the decisions of the period being entered,
// one 40-byte record per active company. Writing counts the index from 0,
// reading from 1; callers rely on exactly that. The store checks no ranges.

#include "store/CarpetaDatos.h"
#include "store/Registros.h"

#include <cstdint>
#include <vector>

class TNotificador;

class TDecision {
public:
    /// avisos takes guardarDecision's warning; without one the failure is thrown.
    explicit TDecision(const TCarpeta& carpeta, TNotificador* avisos = nullptr) : carpeta_(carpeta), avisos_(avisos) {}

    /// Creates the file, or truncates it, to zero records.
    void vaciarDecisiones();

    /// Writes r at record indice (from 0); creates the file when missing.
    /// A failure to open or create the file raises ErrorArchivo. A failure to
    /// position, write or close is reported to the notifier as the warning
    /// "Error de acceso al archivo de datos" ("Advertencia!") and the call
    /// returns normally, so the caller goes on with the next company.
    void guardarDecision(const TRegDecision& r, uint8_t indice);

    /// Reads company indice's decisions (from 1). A missing file or record
    /// raises ErrorArchivo and leaves r unchanged.
    void leerDecision(uint8_t indice, TRegDecision& r);

    /// The decisions of companies 1..cantidad read in one go; a missing file
    /// or fewer records are an error, as reading each one would be.
    std::vector<TRegDecision> leerDecisiones(uint8_t cantidad);

    /// Replaces the file by these records, record i being company i + 1, in
    /// one atomic step: either every decision is stored or none is.
    void guardarDecisiones(const std::vector<TRegDecision>& decisiones);

private:
    std::vector<TRegDecision> registrosExistentes();
    TCarpeta carpeta_;
    TNotificador* avisos_;
};
