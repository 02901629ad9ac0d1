// Production costs: lookups, interpolation between plant rows, the flat and
// fixed results, and the properties of the four full cost sheets.

#include "engine/UTablaCostos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr uint8_t kNiveles[] = {25, 50, 75, 100};

struct Costo {
    double unitario = -1, total = -1;
};

Costo costo(uint8_t nivel, int32_t planta, int32_t capacitacion, int32_t unidades = 1) {
    Costo c;
    tcosto().costoProduccion(planta, unidades, capacitacion, nivel, c.unitario, c.total);
    return c;
}

double celda(uint8_t nivel, int fila, int columna) {
    return costo(nivel, 25000 + fila * 5000, columna * 2000).unitario;
}

// ---------------------------------------------------------------- lookups

TEST(CostoProduccion, NivelCeroNoCuesta) {
    for (int32_t planta : {1, 150000, 999999}) {
        const Costo c = costo(0, planta, 0, 5000);
        EXPECT_EQ(c.unitario, 0);
        EXPECT_EQ(c.total, 0);
    }
}

TEST(CostoProduccion, CeldaExacta) {
    const Costo c = costo(50, 100000, 0, 5000);
    EXPECT_EQ(c.unitario, 68.266);
    EXPECT_EQ(c.total, 341330.0);
    EXPECT_EQ(costo(25, 25000, 0).unitario, 124.422);
    EXPECT_EQ(costo(75, 300000, 20000).unitario, 30.116);  // the last row is a row like any other
    EXPECT_EQ(costo(100, 175000, 10000).unitario, 44.205);
}

TEST(CostoProduccion, InterpolaEntreFilasVecinas) {
    // 102500 lies half way between the rows 100000 and 105000.
    const double fila100 = costo(50, 100000, 0).unitario;
    const double fila105 = costo(50, 105000, 0).unitario;
    EXPECT_DOUBLE_EQ(costo(50, 102500, 0).unitario, (fila100 + fila105) / 2);
    EXPECT_DOUBLE_EQ(costo(50, 101000, 0).unitario, fila100 - (fila100 - fila105) / 5);

    // Between the last two rows.
    const double fila295 = costo(75, 295000, 4000).unitario;
    const double fila300 = costo(75, 300000, 4000).unitario;
    EXPECT_DOUBLE_EQ(costo(75, 299000, 4000).unitario, fila295 - (fila295 - fila300) * 4 / 5);

    // The total is the units times the unit cost, unrounded.
    const Costo c = costo(50, 102500, 0, 1000);
    EXPECT_DOUBLE_EQ(c.total, 1000 * c.unitario);
    EXPECT_NE(c.total, std::trunc(c.total));
}

TEST(CostoProduccion, PlantaFueraDeLaTablaCuestaTarifaPlana) {
    for (int32_t planta : {24999, 300001, 0, -5}) {
        const Costo c = costo(75, planta, 4000, 100);
        EXPECT_EQ(c.unitario, 41.68) << planta;
        EXPECT_DOUBLE_EQ(c.total, 4168) << planta;
    }
}

TEST(CostoProduccion, Capacitacion) {
    // Above 20000 counts as 20000.
    EXPECT_EQ(costo(100, 200000, 22000).unitario, costo(100, 200000, 20000).unitario);
    EXPECT_EQ(costo(100, 200000, 21000).unitario, 41.449);
    // A negative training has a fixed result, whatever is produced.
    for (int32_t unidades : {0, 10, 5000}) {
        const Costo c = costo(50, 100000, -2000, unidades);
        EXPECT_EQ(c.unitario, 40.0);
        EXPECT_EQ(c.total, 60000.0);
    }
}

TEST(CostoProduccion, SinHojaOColumnaEsUnError) {
    EXPECT_THROW(costo(30, 100000, 0), std::out_of_range);
    EXPECT_THROW(costo(255, 100000, 0), std::out_of_range);
    try {
        costo(50, 100000, 3000);
        FAIL() << "3000 no es una columna";
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("3000"), std::string::npos) << e.what();
    }
    try {
        costo(60, 100000, 0);
        FAIL() << "60 no es un nivel";
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("60"), std::string::npos) << e.what();
    }
}

TEST(CostoProduccion, CargarOtroNivelNoCargaNada) {
    tcosto t;
    t.cargarTabla(50);
    t.cargarTabla(30);  // loads nothing and does not fail
    double unitario = 0, total = 0;
    t.costoProduccion(100000, 1, 0, 50, unitario, total);
    EXPECT_EQ(unitario, 68.266);
    t.costoProduccion(100000, 1, 0, 25, unitario, total);  // each call loads its own sheet
    EXPECT_EQ(unitario, 83.318);
}

// ---------------------------------------------------------------- the full sheets

// The rows the game fixes, every fifth row of each sheet.
constexpr double kFilasFijas[4][12][11] = {
    {  // 25 %
        {124.422, 115.081, 108.156, 103.081, 99.215, 96.405, 94.323, 92.768, 91.517, 90.550, 89.698},  // 25000
        {101.860, 95.564, 90.904, 87.450, 84.887, 82.998, 81.599, 80.548, 79.672, 78.982, 78.420},  // 50000
        {90.044, 85.239, 81.686, 79.051, 77.095, 75.656, 74.589, 73.786, 73.094, 72.539, 72.078},  // 75000
        {83.318, 79.363, 76.430, 74.255, 72.640, 71.453, 70.574, 69.910, 69.320, 68.842, 67.676},  // 100000
        {77.564, 75.313, 72.789, 70.916, 69.524, 68.503, 67.747, 67.174, 66.651, 66.222, 65.799},  // 125000
        {74.307, 72.252, 70.019, 68.358, 67.126, 66.223, 65.554, 65.046, 65.570, 64.177, 63.807},  // 150000
        {71.749, 69.835, 67.817, 66.238, 65.205, 64.391, 63.787, 63.327, 62.887, 62.521, 62.168},  // 175000
        {69.831, 67.850, 66.018, 64.565, 63.623, 62.877, 62.323, 61.901, 61.489, 61.143, 60.813},  // 200000
        {67.920, 66.231, 64.515, 63.165, 62.294, 61.601, 61.088, 60.695, 60.306, 59.976, 59.661},  // 225000
        {66.309, 64.847, 63.240, 62.045, 61.158, 60.510, 60.030, 59.661, 59.290, 58.975, 58.662},  // 250000
        {65.046, 63.760, 60.000, 58.956, 58.180, 57.614, 57.196, 56.872, 56.535, 56.243, 55.963},  // 275000
        {64.364, 63.213, 57.750, 56.809, 56.108, 55.600, 55.222, 54.931, 54.616, 54.341, 54.090},  // 300000
    },
    {  // 50 %
        {109.368, 100.042, 93.130, 88.008, 84.215, 81.405, 79.323, 77.781, 76.638, 75.792, 75.061},  // 25000
        {86.808, 80.525, 75.878, 72.437, 69.887, 67.998, 66.599, 65.561, 64.793, 64.224, 63.783},  // 50000
        {74.992, 70.200, 66.660, 64.038, 62.095, 60.656, 59.589, 58.799, 58.215, 57.781, 57.441},  // 75000
        {68.266, 64.324, 61.404, 59.242, 57.640, 56.453, 55.574, 54.923, 54.441, 54.084, 53.039},  // 100000
        {62.512, 60.274, 57.763, 55.903, 54.524, 53.503, 52.747, 52.187, 51.772, 51.464, 51.162},  // 125000
        {59.255, 57.213, 54.993, 53.345, 52.126, 51.223, 50.554, 50.059, 49.691, 49.419, 49.170},  // 150000
        {56.697, 54.796, 52.791, 51.225, 50.205, 49.391, 48.787, 48.340, 48.008, 47.763, 47.531},  // 175000
        {54.779, 52.829, 50.992, 49.552, 48.623, 47.877, 47.323, 46.914, 46.610, 46.385, 46.176},  // 200000
        {52.868, 51.192, 49.489, 48.152, 47.294, 46.601, 46.088, 45.708, 45.427, 45.218, 45.024},  // 225000
        {51.257, 49.808, 48.214, 47.032, 46.158, 45.510, 45.030, 44.674, 44.411, 44.217, 44.025},  // 250000
        {49.994, 48.721, 44.974, 43.943, 43.180, 42.614, 42.196, 41.885, 41.656, 41.485, 41.326},  // 275000
        {49.312, 48.174, 42.724, 41.796, 41.108, 40.600, 40.222, 39.944, 39.737, 39.583, 39.453},  // 300000
    },
    {  // 75 %
        {91.140, 83.368, 77.608, 73.340, 70.179, 67.837, 66.102, 64.817, 63.865, 63.160, 62.551},  // 25000
        {71.742, 66.550, 62.709, 59.865, 57.758, 56.196, 55.040, 54.183, 53.548, 53.078, 52.713},  // 50000
        {61.450, 57.541, 54.639, 52.490, 50.897, 49.718, 48.843, 48.196, 47.717, 47.361, 47.083},  // 75000
        {55.501, 52.296, 49.922, 48.164, 46.862, 45.897, 45.182, 44.653, 44.261, 43.970, 43.121},  // 100000
        {50.413, 48.609, 46.583, 45.083, 43.971, 43.147, 42.520, 42.086, 41.751, 41.503, 41.259},  // 125000
        {47.404, 45.750, 43.994, 42.676, 41.701, 40.978, 40.443, 40.047, 39.753, 39.535, 39.336},  // 150000
        {44.998, 43.489, 41.898, 40.719, 39.845, 39.199, 38.720, 38.365, 38.101, 37.907, 37.723},  // 175000
        {43.133, 41.598, 40.151, 39.079, 38.286, 37.698, 37.262, 36.940, 36.701, 36.523, 36.359},  // 200000
        {41.303, 39.994, 38.663, 37.678, 36.948, 36.407, 36.006, 35.709, 35.490, 35.326, 35.175},  // 225000
        {39.734, 38.611, 37.375, 36.459, 35.781, 35.279, 34.907, 34.631, 34.427, 34.276, 34.128},  // 250000
        {38.457, 37.478, 34.595, 33.802, 33.215, 32.780, 32.458, 32.219, 32.043, 31.911, 31.789},  // 275000
        {37.643, 36.773, 32.614, 31.905, 31.380, 30.992, 30.704, 30.491, 30.333, 30.216, 30.116},  // 300000
    },
    {  // 100 %
        {97.520, 89.204, 83.041, 78.474, 75.092, 72.586, 70.729, 69.355, 68.335, 67.590, 66.930},  // 25000
        {77.841, 71.874, 67.726, 64.654, 62.379, 60.692, 59.444, 58.518, 57.832, 57.324, 56.930},  // 50000
        {67.001, 62.720, 59.557, 57.214, 55.478, 54.193, 53.235, 52.534, 52.012, 51.623, 51.320},  // 75000
        {61.051, 57.526, 54.914, 52.980, 51.549, 50.487, 49.701, 49.119, 48.687, 48.367, 47.433},  // 100000
        {55.958, 53.956, 51.707, 50.042, 48.808, 47.894, 47.218, 46.716, 46.344, 46.068, 45.797},  // 125000
        {53.092, 51.262, 49.273, 47.797, 46.706, 45.896, 45.297, 44.853, 44.523, 44.277, 44.056},  // 150000
        {50.848, 49.143, 47.345, 46.012, 45.025, 44.205, 43.754, 43.353, 43.054, 42.835, 42.627},  // 175000
        {49.172, 47.422, 45.772, 44.550, 43.646, 42.976, 42.479, 42.112, 41.839, 41.636, 41.449},  // 200000
        {47.581, 46.073, 44.540, 43.405, 42.712, 42.087, 41.479, 41.137, 40.884, 40.696, 40.522},  // 225000
        {46.171, 44.866, 43.430, 42.365, 41.578, 40.994, 40.562, 40.241, 40.004, 39.829, 39.657},  // 250000
        {45.072, 43.924, 40.545, 39.616, 38.928, 38.418, 38.041, 37.761, 37.554, 37.400, 37.257},  // 275000
        {44.494, 43.466, 38.550, 37.712, 37.091, 36.633, 36.292, 36.041, 35.854, 35.715, 35.598},  // 300000
    },
};

TEST(HojasDeCostos, FilasFijasExactas) {
    for (int h = 0; h < 4; ++h) {
        for (int i = 0; i < 12; ++i) {
            for (int k = 0; k < 11; ++k) {
                EXPECT_EQ(celda(kNiveles[h], i * 5, k), kFilasFijas[h][i][k])
                    << int(kNiveles[h]) << "% planta " << 25000 * (i + 1) << " capacitación " << k * 2000;
            }
        }
    }
}

TEST(HojasDeCostos, TresDecimalesYExtremos) {
    double minimo = 1e9, maximo = 0;
    for (uint8_t nivel : kNiveles) {
        for (int fila = 0; fila < 56; ++fila) {
            for (int k = 0; k < 11; ++k) {
                const double v = celda(nivel, fila, k);
                EXPECT_NEAR(v * 1000, std::round(v * 1000), 1e-6) << int(nivel) << " " << fila << " " << k;
                minimo = std::min(minimo, v);
                maximo = std::max(maximo, v);
            }
        }
    }
    EXPECT_EQ(minimo, 30.116);
    EXPECT_EQ(maximo, 124.422);
}

TEST(HojasDeCostos, CaenConLaPlantaYConLaCapacitacion) {
    // The one cell out of order: 25 %, plant 150000 (row 25), training 16000.
    auto fueraDeOrden = [](uint8_t nivel, int fila, int k) { return nivel == 25 && fila == 25 && k == 8; };
    int excepciones = 0;
    for (uint8_t nivel : kNiveles) {
        for (int fila = 0; fila < 56; ++fila) {
            for (int k = 0; k < 11; ++k) {
                const double v = celda(nivel, fila, k);
                const bool enOrden =
                    (k == 0 || v < celda(nivel, fila, k - 1)) && (fila == 0 || v < celda(nivel, fila - 1, k));
                if (fueraDeOrden(nivel, fila, k)) {
                    EXPECT_FALSE(enOrden);
                    ++excepciones;
                } else {
                    EXPECT_TRUE(enOrden) << int(nivel) << "% fila " << fila << " columna " << k;
                }
            }
        }
    }
    EXPECT_EQ(excepciones, 1);
}

TEST(HojasDeCostos, OrdenEntreNiveles) {
    for (int fila = 0; fila < 56; ++fila) {
        for (int k = 0; k < 11; ++k) {
            const double c25 = celda(25, fila, k), c50 = celda(50, fila, k);
            const double c75 = celda(75, fila, k), c100 = celda(100, fila, k);
            EXPECT_TRUE(c25 > c50 && c50 > c100 && c100 > c75) << "fila " << fila << " columna " << k;
        }
    }
}

TEST(HojasDeCostos, VeinticincoSobreCincuentaPorColumna) {
    constexpr int kMilesimas[11] = {15052, 15039, 15026, 15013, 15000, 15000, 15000, 14987, 14879, 14758, 14637};
    int distintas = 0;
    for (int fila = 0; fila < 56; ++fila)
        for (int k = 0; k < 11; ++k)
            if (std::lround((celda(25, fila, k) - celda(50, fila, k)) * 1000) != kMilesimas[k]) ++distintas;
    EXPECT_LE(distintas, 10);
}

TEST(HojasDeCostos, FilasIntermediasSobreLasRectasDeLasFijas) {
    // The rule written beside the table: straight lines between fixed rows,
    // to the nearest thousandth; from training 4000 the rows 255000-270000 on
    // the 275000-300000 line carried back; the 25 % rows in between are the
    // 50 % rows plus the column's amount.
    constexpr double kSobre50[11] = {15.052, 15.039, 15.026, 15.013, 15.0, 15.0, 15.0, 14.987, 14.879, 14.758, 14.637};
    for (int h = 1; h < 4; ++h) {
        for (int fila = 0; fila < 55; ++fila) {
            const int tramo = fila / 5, paso = fila % 5;
            if (paso == 0) continue;
            for (int k = 0; k < 11; ++k) {
                const double a = kFilasFijas[h][tramo][k], b = kFilasFijas[h][tramo + 1][k];
                const double esperado = (tramo == 9 && k >= 2) ? b + (b - kFilasFijas[h][11][k]) * (5 - paso) / 5
                                                               : a + (b - a) * paso / 5;
                EXPECT_NEAR(celda(kNiveles[h], fila, k), esperado, 0.0005 + 1e-9)
                    << int(kNiveles[h]) << "% fila " << fila << " columna " << k;
            }
        }
    }
    for (int fila = 0; fila < 56; ++fila) {
        if (fila % 5 == 0) continue;
        for (int k = 0; k < 11; ++k)
            EXPECT_NEAR(celda(25, fila, k), celda(50, fila, k) + kSobre50[k], 1e-9) << "fila " << fila << " " << k;
    }
}

TEST(HojasDeCostos, EscalonDesdePlanta255000) {
    // Row 45 is plant 250000, row 46 plant 255000. From 255000 on, the columns
    // of training 0 and 2000 go on falling gently while those from 4000 have
    // already taken their whole step down.
    for (uint8_t nivel : kNiveles) {
        for (int k = 0; k < 11; ++k) {
            const double escalon = celda(nivel, 45, k) - celda(nivel, 46, k);
            if (k < 2) {
                EXPECT_LT(escalon, 0.3) << int(nivel) << "% columna " << k;
            } else {
                EXPECT_GT(escalon, 1.0) << int(nivel) << "% columna " << k;
                for (int fila = 46; fila < 55; ++fila) {
                    EXPECT_GT(escalon, 2 * (celda(nivel, fila, k) - celda(nivel, fila + 1, k)))
                        << int(nivel) << "% columna " << k << " fila " << fila;
                }
            }
        }
        // The gap between training 2000 and 4000 opens at 255000 and stays open.
        EXPECT_LT(celda(nivel, 45, 1) - celda(nivel, 45, 2), 1.7) << int(nivel);
        for (int fila = 46; fila < 56; ++fila)
            EXPECT_GT(celda(nivel, fila, 1) - celda(nivel, fila, 2), 2.0) << int(nivel) << " fila " << fila;
    }
}

}  // namespace
