// Market orders: the research pool, the price adjustment, the demand table
// with its interpolation, and the split against the units on hand.

#include "engine/Ordenes_UD.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

struct Reparto {
    int32_t recibidas = -1, ventas = -1, noRealizadas = -1, stock = -1;
};

Reparto ordenes(int32_t ajuste, int32_t invDes, double modificador, int32_t disponibles, int32_t marketing,
                int32_t precio) {
    Reparto r;
    TOrdenes().calcularOrdenes(ajuste, invDes, modificador, disponibles, marketing, precio, r.recibidas, r.ventas,
                               r.noRealizadas, r.stock);
    return r;
}

// The plain table value: no corrections and more units than anyone orders.
int32_t celda(int32_t precio, int32_t marketing) { return ordenes(0, 0, 0, 1000000, marketing, precio).recibidas; }

// ---------------------------------------------------------------- research pool

TEST(OrdenesPorInvDes, ParteDelPozoSegunInvestigacion) {
    TOrdenes o;
    EXPECT_EQ(o.ordenesPorInvDes(2500, 3000, 10000), 750);
    // Two companies with 1000 + 1000 each: each gets a quarter of 400.
    EXPECT_EQ(o.ordenesPorInvDes(400, 1000, 4000), 100);
    EXPECT_EQ(o.ordenesPorInvDes(2500, 0, 10000), 0);
    // A zone with no research at all: the total counts as 1, nobody gets orders.
    EXPECT_EQ(o.ordenesPorInvDes(2500, 0, 0), 0);
}

TEST(OrdenesPorInvDes, CocienteYProductoEnPrecisionExtendida) {
    TOrdenes o;
    // 3000 / 10000 rounded to a double first would give 749.
    EXPECT_EQ(o.ordenesPorInvDes(2500, 3000, 10000), 750);
    // 11000 / 15000 x 300 is 220; in double arithmetic it falls to 219.
    EXPECT_EQ(o.ordenesPorInvDes(300, 11000, 15000), 220);
}

// ---------------------------------------------------------------- price adjustment

TEST(AjustePorPrecio, GanaPorDebajoDelPromedioYPierdePorEncima) {
    TOrdenes o;
    EXPECT_EQ(o.ajustePorPrecio(151, 75, 80, 60, 2), 40);    // average 75.5, 0.5 below
    EXPECT_EQ(o.ajustePorPrecio(210, 75, 80, 60, 3), -300);  // average 70, 5 above
    EXPECT_EQ(o.ajustePorPrecio(150, 75, 80, 60, 2), 0);     // at the average
    EXPECT_EQ(o.ajustePorPrecio(75, 75, 80, 60, 1), 0);      // alone in the zone
}

TEST(AjustePorPrecio, PromedioDobleYProductoExtendido) {
    TOrdenes o;
    // Average 151 / 3 is stored as a double a hair above 50.333..., so a price
    // of 50 wins 5 orders at 15 per u$d (an 80-bit average would give 4).
    EXPECT_EQ(o.ajustePorPrecio(151, 50, 15, 0, 3), 5);
    // Average 184 / 3, again a hair above 61.333...: 83 lies 21.666...
    // above it, x 3 is -64.99999999999999 in 80 bits; a double product
    // would round to -65.
    EXPECT_EQ(o.ajustePorPrecio(184, 83, 0, 3, 3), -64);
}

TEST(AjustePorPrecio, ZonaVaciaNoTienePromedio) {
    EXPECT_THROW(TOrdenes().ajustePorPrecio(0, 75, 80, 60, 0), std::out_of_range);
}

// ---------------------------------------------------------------- demand table

TEST(TablaDeDemanda, CeldasConocidas) {
    EXPECT_EQ(celda(50, 0), 7480);
    EXPECT_EQ(celda(50, 10000), 9500);
    EXPECT_EQ(celda(100, 0), 130);
    EXPECT_EQ(celda(100, 10000), 668);
    EXPECT_EQ(celda(75, 5000), 4626);
    EXPECT_EQ(celda(93, 1000), 699);
    EXPECT_EQ(celda(84, 0), 1485);
}

TEST(TablaDeDemanda, TodasLasCeldasCompletasYOrdenadas) {
    long long suma = 0;
    long long ponderada = 0;
    for (int32_t precio = 50; precio <= 100; ++precio) {
        for (int32_t columna = 0; columna <= 10; ++columna) {
            const int32_t valor = celda(precio, columna * 1000);
            suma += valor;
            ponderada += static_cast<long long>(valor) * (precio - 49) * (columna + 1);
            if (columna > 0) {
                EXPECT_GT(valor, celda(precio, (columna - 1) * 1000)) << precio << " " << columna;
            }
            if (precio > 50) {
                EXPECT_LT(valor, celda(precio - 1, columna * 1000)) << precio << " " << columna;
            }
        }
    }
    // Sums of the 561 cells as published, plain and weighted by row and
    // column: a cell moved, swapped or mistyped changes them.
    EXPECT_EQ(suma, 2489192);
    EXPECT_EQ(ponderada, 277362202);
}

// ---------------------------------------------------------------- orders and split

TEST(CalcularOrdenes, InterpolacionDelEjemplo) {
    // T = 7298 - (168 / 1000) x 500 = 7214; Trunc(7214 x 0.40) = 2885.
    const Reparto r = ordenes(40, 100, 0.40, 5000, 3500, 60);
    EXPECT_EQ(r.recibidas, 4469);
    EXPECT_EQ(r.ventas, 4469);
    EXPECT_EQ(r.noRealizadas, 0);
    EXPECT_EQ(r.stock, 531);
}

TEST(CalcularOrdenes, ColumnaExactaYReparto) {
    // 4626 - Trunc(4626 x 0.40) - 60 = 2716.
    Reparto r = ordenes(-60, 0, 0.40, 2716, 5000, 75);
    EXPECT_EQ(r.recibidas, 2716);
    EXPECT_EQ(r.ventas, 2716);  // exactly what is on hand
    EXPECT_EQ(r.noRealizadas, 0);
    EXPECT_EQ(r.stock, 0);

    r = ordenes(-60, 0, 0.40, 2000, 5000, 75);
    EXPECT_EQ(r.recibidas, 2716);
    EXPECT_EQ(r.ventas, 2000);
    EXPECT_EQ(r.noRealizadas, 716);
    EXPECT_EQ(r.stock, 0);
}

TEST(CalcularOrdenes, ElModificadorSoloRecortaLaTabla) {
    // 50% off the 7480 of the table, then 1000 + 500 added whole.
    EXPECT_EQ(ordenes(1000, 500, 0.5, 100000, 0, 50).recibidas, 3740 + 1500);
}

TEST(CalcularOrdenes, CorreccionesNegativasDejanTodoEnStock) {
    const Reparto r = ordenes(-9000, 0, 0.40, 1200, 5000, 75);
    EXPECT_EQ(r.recibidas, 0);
    EXPECT_EQ(r.ventas, 0);
    EXPECT_EQ(r.noRealizadas, 0);
    EXPECT_EQ(r.stock, 1200);
}

TEST(CalcularOrdenes, MarketingSobreDiezMilNoRecibeOrdenes) {
    EXPECT_EQ(ordenes(500, 500, 0, 1000, 10000, 50).recibidas, 10500);
    const Reparto r = ordenes(500, 500, 0, 1000, 10001, 50);
    EXPECT_EQ(r.recibidas, 0);
    EXPECT_EQ(r.ventas, 0);
    EXPECT_EQ(r.stock, 1000);
    EXPECT_EQ(ordenes(500, 500, 0, 1000, 2000000000, 50).recibidas, 0);
}

TEST(CalcularOrdenes, PrecisionDeCadaPaso) {
    // Exact column: 7480 x 0.3 is 2243.9999999999999 in 80 bits, truncated to
    // 2243 (a double product rounds to 2244).
    EXPECT_EQ(ordenes(0, 0, 0.3, 100000, 0, 50).recibidas, 7480 - 2243);
    // Interpolated: T = 8501 - 0.335 x 600 = 8300; 8300 x 0.3 truncates to
    // 2489 in 80 bits.
    EXPECT_EQ(ordenes(0, 0, 0.3, 100000, 2400, 50).recibidas, 8300 - 2489);
    // T is a double: 7958 - 0.34 x 750 rounds to 7703 (kept in 80 bits it
    // would sit just under 7703 and truncate to 7702).
    EXPECT_EQ(ordenes(0, 0, 0, 100000, 1250, 52).recibidas, 7703);
    // T keeps its fraction: 7813 - 0.333 x 992 = 7482.664;
    // Trunc(7482.664 - Trunc(2993.0656)) = 4489 (a truncated T gives 4490).
    EXPECT_EQ(ordenes(0, 0, 0.4, 100000, 8, 50).recibidas, 4489);
}

TEST(CalcularOrdenes, FueraDeLaTablaEsUnError) {
    EXPECT_THROW(ordenes(0, 0, 0, 100, 1000, 49), std::out_of_range);
    EXPECT_THROW(ordenes(0, 0, 0, 100, 1000, 101), std::out_of_range);
    EXPECT_THROW(ordenes(0, 0, 0, 100, -1, 75), std::out_of_range);
    try {
        ordenes(0, 0, 0, 100, 1000, 120);
        FAIL() << "un precio de 120 no tiene fila";
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("120"), std::string::npos) << e.what();
    }
    try {
        ordenes(0, 0, 0, 100, -500, 75);
        FAIL() << "un marketing negativo no tiene columna";
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("-500"), std::string::npos) << e.what();
    }
}

}  // namespace
