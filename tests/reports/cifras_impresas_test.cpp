// The runs compute with the figures as the reports print them, without
// reading the text back: each number must equal what the text reads as, and
// a notice written from the run's numbers must equal the one written from
// the company report's texts.

#include "Regional.h"
#include "comun/CarpetaTemporal.h"
#include "reports/FormatoCifras.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double kValores[] = {
    0.0,     -0.0,       0.004,       -0.004,     0.005,      0.125,       -0.125,     1.005,
    2.675,   12.345,     77.095,      99.995,     9999.994,   9999.995,    12345.678,  -1234.56,
    -12345.6, 99999.994, 99999.995,   123456.78,  -123456.7,  1234567.891, 9.87654321e15, 1e300,
};

void compararConElTexto() {
    const TReporte f;
    for (const double v : kValores) {
        SCOPED_TRACE(f.FormatoDecimal(v));
        EXPECT_EQ(comoDosDecimales(v), aDecimal(f.FormatoDecimal(v)));
        EXPECT_EQ(static_cast<long double>(comoTruncado(v)), aDecimal(f.FormatoTruncado(v)));
    }
}

}  // namespace

TEST(CifrasImpresas, IgualesAlTextoLeidoDeVuelta) { compararConElTexto(); }

TEST(CifrasImpresas, IgualesAlTextoLeidoDeVueltaConComaDecimal) {
    ACTIVAR_COMA_DECIMAL(coma);
    compararConElTexto();
}

TEST(CifrasImpresas, AvisoDeLasCifrasIgualAlDeLosTextos) {
    TInformeEmpresa informe;
    informe.empresa = "Delta";
    informe.periodo = 5;
    informe.parametros.nroZona = 1;
    informe.decision = {95, 75, 2002, 3003, 6006, 10000, 5000, 6000, 1000, 2000};
    informe.cifras.produccion.produccion = 1414;
    informe.cifras.produccion.mantenimiento = 808.97;  // printed truncated
    TRegDatosAcum anterior{};
    anterior.efectivo = 7777;
    anterior.intereses = 444;
    // Unit costs that the report rounds, or cuts, before the notice multiplies.
    for (const double costo : {12.345, 12.344999, 0.005, 12345.678, 1234567.5}) {
        for (const double giro : {0.0, 1500.5}) {
            SCOPED_TRACE(std::to_string(costo) + " " + std::to_string(giro));
            informe.cifras.costoUnitario = costo;
            CarpetaTemporal porTextos;
            TReporte(carpetaDePrueba()).ReporteQuiebraPenalidad(textosEmpresa(informe), anterior, giro);
            const std::string nombre = giro != 0 ? "QuiebraEmpresa_Delta.txt" : "PenalidadEmpresa_Delta.txt";
            const std::string esperado = leerTexto(porTextos / nombre);
            CarpetaTemporal porCifras;
            const auto ruta = TReporte(carpetaDePrueba()).escribirAviso(cifrasAviso(informe, anterior, giro));
            EXPECT_EQ(ruta, nombre);
            EXPECT_EQ(leerTexto(porCifras / nombre), esperado);
        }
    }
}
