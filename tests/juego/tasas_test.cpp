// Rates print in the industry report as the game master typed them: a typed
// 29 % maintenance rate is 29, not the 28 its stored fraction truncates to.

#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// The first number after a label of the industry report.
std::string cifraTras(const std::string& informe, const std::string& etiqueta) {
    const auto pos = informe.find(etiqueta);
    if (pos == std::string::npos) return "<sin " + etiqueta + ">";
    std::istringstream resto(informe.substr(pos + etiqueta.size()));
    std::string cifra;
    resto >> cifra;
    return cifra;
}

}  // namespace

TEST(Tasas, ElInformeIndustrialMuestraLaTasaTipeada) {
    struct Caso {
        const char* tipeada;
        const char* mantenimiento;  // truncated, both runs
        const char* impuestoPeriodo0;  // rounded up in period 0
        const char* impuestoCorrida;   // two decimals in the period run
    };
    const Caso casos[] = {
        {"7", "7", "7", "7.00"},    {"14", "14", "14", "14.00"}, {"29", "29", "29", "29.00"},
        {"57", "57", "57", "57.00"}, {"12.5", "12", "13", "12.50"},
    };
    for (const Caso& caso : casos) {
        CarpetaTemporal carpeta;
        TTextosDatosIniciales t = ejemploDatosIniciales();
        t.mantenimiento = caso.tipeada;
        t.impuestos = caso.tipeada;
        juegoDePrueba().crearJuego({"Alfa", "Beta"}, t);
        juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
        const std::string cero = leerTexto(carpeta / "INDZONA1IGUALES.txt");
        EXPECT_EQ(cifraTras(cero, "Tasa de Mantenimiento % "), caso.mantenimiento) << caso.tipeada;
        EXPECT_EQ(cifraTras(cero, "Tasa Imp. Ganancias   % "), caso.impuestoPeriodo0) << caso.tipeada;

        const TRegDecision d{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};
        juegoDePrueba().guardarDecisiones({d, d});
        juegoDePrueba().simular();
        const std::string uno = leerTexto(carpeta / "INDZONA1.txt");
        EXPECT_EQ(cifraTras(uno, "Tasa de Mantenimiento % "), caso.mantenimiento) << caso.tipeada;
        EXPECT_EQ(cifraTras(uno, "Tasa Imp. Ganancias   % "), caso.impuestoCorrida) << caso.tipeada;
    }
}
