// Warnings on decisions before they are stored, on the sample game after
// period 0 (each company owes bank A 80000 of its 90000 and bank B 70000 of
// its 80000; the overdraft limit is 30): each agrees with what the run does.

#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"
#include "store/DatosIniciales.h"

#include <gtest/gtest.h>

namespace {

TRegDecision con(int32_t pedA, int32_t pedB, int32_t devA = 0, int32_t nivel = 100, int32_t planta = 0) {
    return {90, nivel, 4000, 8000, 1000, planta, pedA, pedB, devA, 0};
}

using T = TTipoAviso;
struct CasoAviso {
    const char* nombre;
    TRegDecision decision;
    std::vector<TTipoAviso> tipos;
    int64_t montoPrimero;  // the first warning's amount
    const char* texto;     // in the first warning's text
};

class AvisosDecision : public ::testing::TestWithParam<CasoAviso> {};

INSTANTIATE_TEST_SUITE_P(
    Casos, AvisosDecision,
    ::testing::Values(CasoAviso{"LoQueQuedaEnA", con(10000, 0), {}, 0, ""},
                      CasoAviso{"ExcesoEnAHastaElLimiteDeGiro", con(10030, 0), {T::excesoDeCredito}, 30,
                                "supera en u$s 30 lo que el banco todavía le presta (u$s 10000)"},
                      CasoAviso{"ExcesoEnAQueQuiebra", con(10031, 0), {T::excesoDeCredito, T::quiebra}, 31,
                                "límite de giro en descubierto del juego es u$s 30"},
                      CasoAviso{"LoQueQuedaEnB", con(0, 10000), {}, 0, ""},
                      CasoAviso{"ExcesoEnBQueQuiebra", con(0, 10031), {T::excesoDeCredito, T::quiebra}, 31, "banco B"},
                      CasoAviso{"LaDevolucionDejaLugar", con(15000, 0, 5000), {}, 0, ""},
                      CasoAviso{"FondosQueNoAlcanzan", con(0, 0, 0, 100, 50000), {T::faltanteDeFondos}, 5598,
                                "penalidad de u$s 500"},
                      CasoAviso{"MenosEmpleados", con(0, 0, 0, 50), {T::despidos}, 17, "indemnización total de u$s 5100"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST_P(AvisosDecision, AvisaLoQueLaCorridaHace) {
    CarpetaTemporal carpeta;
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    const CasoAviso& caso = GetParam();
    const std::vector<TAvisosEmpresa> avisos = juegoDePrueba().avisosDeDecisiones({caso.decision, con(0, 0)});
    EXPECT_TRUE(avisos.at(1).avisos.empty());
    std::vector<TTipoAviso> tipos;
    for (const TAvisoDecision& a : avisos[0].avisos) tipos.push_back(a.tipo);
    ASSERT_EQ(tipos, caso.tipos);
    const TAvisoDecision primero = tipos.empty() ? TAvisoDecision{} : avisos[0].avisos[0];
    EXPECT_EQ(primero.monto, caso.montoPrimero);
    EXPECT_NE(primero.texto.find(caso.texto), std::string::npos) << primero.texto;
    EXPECT_TRUE(avisos[0].credito.bancoA == 10000 + caso.decision.devPrestamoA && avisos[0].credito.bancoB == 10000);

    juegoDePrueba().guardarDecisiones({caso.decision, con(0, 0)});
    EXPECT_EQ(juegoDePrueba().simular().quiebras.size(), std::size_t(std::count(tipos.begin(), tipos.end(), T::quiebra)));
}

// A screen asks as the fields are typed: anything out of range gets no
// warning and never reaches the run's arithmetic (which would overflow).
TEST(AvisosDecisionFueraDeRango, SinAvisosNiDesborde) {
    CarpetaTemporal carpeta;
    juegoDePrueba().crearJuego({"Alfa"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    TRegDecision d = con(INT32_MAX, 9, INT32_MAX);
    d.precio = 0;
    const TAvisosEmpresa avisos = juegoDePrueba().avisosDeEmpresa("Alfa", d);
    EXPECT_TRUE(avisos.avisos.empty());
    EXPECT_EQ(avisos.credito.bancoB, 10000);
}

}  // namespace
