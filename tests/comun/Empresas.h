#pragma once
// Results records for tests that build a game file by file: records a game
// could hold, since the stores refuse records no run could have written.

#include "store/Registros.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

/// The bytes of n results records ("Empresa 1"…, zone 1), told apart from
/// other such sets by marca, their cash.
inline std::vector<uint8_t> bytesDeEmpresas(int n, int32_t marca = 0) {
    std::vector<uint8_t> bytes(static_cast<std::size_t>(n) * sizeof(TRegDatosAcum));
    for (int i = 0; i < n; ++i) {
        TRegDatosAcum r{};
        asignar(r.nombreEmpresa, "Empresa " + std::to_string(i + 1));
        r.zona = 1;
        r.efectivo = marca;
        std::memcpy(bytes.data() + static_cast<std::size_t>(i) * sizeof r, &r, sizeof r);
    }
    return bytes;
}
