// Warnings on decisions before they are stored, on the sample game after
// period 0 (each company owes bank A 80000 of its 90000 and bank B 70000 of
// its 80000; the overdraft limit is 30): each warning agrees with what the
// run then does to the company.

#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"
#include "store/DatosIniciales.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const TRegDecision kBase{90, 100, 4000, 8000, 1000, 0, 0, 0, 0, 0};

TRegDecision con(int32_t pedA, int32_t pedB, int32_t devA = 0, int32_t nivel = 100, int32_t planta = 0) {
    TRegDecision d = kBase;
    d.invPlanta = planta;
    d.pedPrestamoA = pedA;
    d.pedPrestamoB = pedB;
    d.devPrestamoA = devA;
    d.nivelProduccion = nivel;
    return d;
}

struct CasoAviso {
    const char* nombre;
    TRegDecision decision;
    std::vector<TTipoAviso> tipos;
    int64_t montoPrimero;  // the first warning's amount
};

std::vector<TTipoAviso> tipos(const std::vector<TAvisoDecision>& avisos) {
    std::vector<TTipoAviso> t;
    for (const TAvisoDecision& a : avisos) t.push_back(a.tipo);
    return t;
}

class AvisosDecision : public ::testing::TestWithParam<CasoAviso> {};

using T = TTipoAviso;
INSTANTIATE_TEST_SUITE_P(
    Casos, AvisosDecision,
    ::testing::Values(CasoAviso{"LoQueQuedaEnA", con(10000, 0), {}, 0},
                      CasoAviso{"ExcesoEnAHastaElLimiteDeGiro", con(10030, 0), {T::excesoDeCredito}, 30},
                      CasoAviso{"ExcesoEnAQueQuiebra", con(10031, 0), {T::excesoDeCredito, T::quiebra}, 31},
                      CasoAviso{"LoQueQuedaEnB", con(0, 10000), {}, 0},
                      CasoAviso{"ExcesoEnBQueQuiebra", con(0, 10031), {T::excesoDeCredito, T::quiebra}, 31},
                      CasoAviso{"LaDevolucionDejaLugar", con(15000, 0, 5000), {}, 0},
                      CasoAviso{"FondosQueNoAlcanzan", con(0, 0, 0, 100, 50000), {T::faltanteDeFondos}, 5598},
                      CasoAviso{"MenosEmpleados", con(0, 0, 0, 50), {T::despidos}, 17}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST_P(AvisosDecision, AvisaLoQueLaCorridaHace) {
    CarpetaTemporal carpeta;
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    const CasoAviso& caso = GetParam();
    const std::vector<TAvisosEmpresa> avisos = juegoDePrueba().avisosDeDecisiones({caso.decision, kBase});
    ASSERT_EQ(avisos.size(), 2u);
    EXPECT_TRUE(avisos[1].avisos.empty());
    const std::vector<TAvisoDecision>& propios = avisos[0].avisos;
    ASSERT_EQ(tipos(propios), caso.tipos);
    if (!propios.empty()) {
        EXPECT_EQ(propios[0].monto, caso.montoPrimero);
        EXPECT_FALSE(propios[0].texto.empty());
        if (propios[0].tipo == T::despidos) {
            EXPECT_EQ(propios[0].referencia, propios[0].monto * juegoDePrueba().parametros().indemXEmpleado);
        }
    }
    const int64_t restanteA = 10000 + caso.decision.devPrestamoA;
    EXPECT_EQ(avisos[0].credito.bancoA, restanteA);
    EXPECT_EQ(avisos[0].credito.bancoB, 10000);

    juegoDePrueba().guardarDecisiones({caso.decision, kBase});
    const TResultadoCorrida corrida = juegoDePrueba().simular();
    const bool avisoDeQuiebra = std::count(caso.tipos.begin(), caso.tipos.end(), T::quiebra) > 0;
    EXPECT_EQ(corrida.quiebras.size(), avisoDeQuiebra ? 1u : 0u);
}

TEST(AvisosDecision, ElExcesoNombraElGiroYSuLimite) {
    CarpetaTemporal carpeta;
    juegoDePrueba().crearJuego({"Alfa"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    const TAvisoDecision aviso = juegoDePrueba().avisosDeDecisiones({con(10031, 0)})[0].avisos.at(0);
    EXPECT_EQ(aviso.banco, 'A');
    EXPECT_EQ(aviso.referencia, 10000);
    for (const char* parte : {"u$s 10031", "u$s 31", "u$s 10000", "giro en descubierto", "u$s 30", "quiebra"})
        EXPECT_NE(aviso.texto.find(parte), std::string::npos) << parte << " en " << aviso.texto;
}

}  // namespace
