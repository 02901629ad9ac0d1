// The portal's form warns a team, before anything goes wrong, of what its
// decisions will do: a loan above what a bank still lends, with the team's
// own figures only.

#include "portal/PortalDePrueba.h"

#include "portal/Paginas.h"

#include <gtest/gtest.h>

TEST_F(PortalHttp, ElFormularioAvisaDelPrestamoQueSuperaLoQueElBancoPresta) {
    TClienteHttp cliente = clienteDe(0);
    // The first form brings period 0's decisions but not its opening loans.
    const QString primera = cliente.get("/decisiones").texto();
    for (const char* campo : {"pedPrestamoA", "pedPrestamoB", "devPrestamoA", "devPrestamoB"})
        EXPECT_EQ(valorDelCampo(primera, QLatin1String(campo)), QStringLiteral("0")) << campo;

    const int64_t restante = juegoDePrueba().avisosDeEmpresa(kEquipos[0], decisionDelEquipo(0)).credito.bancoA;
    ASSERT_GT(restante, 0);
    EXPECT_TRUE(primera.contains(QStringLiteral("todavía le presta a su empresa u$s %1").arg(restante)));
    struct Caso {
        int64_t pedido;
        bool avisa;
    };
    for (const Caso caso : {Caso{restante + 1, true}, Caso{restante, false}, Caso{restante + 500, true}}) {
        ahora += TSesiones::kEntreEnvios;
        TRegDecision d = decisionDelEquipo(0);
        d.pedPrestamoA = static_cast<int32_t>(caso.pedido);
        ASSERT_EQ(cliente.post("/decisiones", formularioDe(cliente.csrf(), 1, d)).estado, 303) << caso.pedido;
        const QString pagina = cliente.get("/decisiones").texto();
        const QString exceso = QStringLiteral("supera en u$s %1 lo que el banco todavía le presta").arg(caso.pedido - restante);
        EXPECT_EQ(pagina.contains(exceso), caso.avisa) << caso.pedido;
        // Stored as sent: the warning refuses nothing.
        EXPECT_EQ(juegoDePrueba().envioDelEquipo(kEquipos[0])->pedPrestamoA, caso.pedido);
    }
}

TEST_F(PortalHttp, CadaEquipoVeSoloSusPropiosAvisos) {
    ahora += TSesiones::kEntreEnvios;
    TClienteHttp primero = clienteDe(0);
    TRegDecision d = decisionDelEquipo(0);
    d.pedPrestamoA = 12345;
    ASSERT_EQ(primero.post("/decisiones", formularioDe(primero.csrf(), 1, d)).estado, 303);
    EXPECT_TRUE(primero.get("/decisiones").texto().contains(QStringLiteral("(u$s 12345)")));
    // Another team's page says nothing of the first team's request.
    TClienteHttp otro = clienteDe(1);
    const QString pagina = otro.get("/decisiones").texto();
    EXPECT_TRUE(pagina.contains(QStringLiteral("id=\"avisos\"")));
    EXPECT_FALSE(pagina.contains(QStringLiteral("12345")));
}
