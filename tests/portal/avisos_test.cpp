// The portal's form warns a team, before anything goes wrong, of what its
// decisions will do: here a loan above what its bank still lends.

#include "portal/PortalDePrueba.h"

#include <gtest/gtest.h>

TEST_F(PortalHttp, ElFormularioAvisaDelPrestamoQueSuperaLoQueElBancoPresta) {
    TClienteHttp cliente = clienteDe(0);
    // The first form brings period 0's decisions but not its opening loans.
    const QString primera = cliente.get("/decisiones").texto();
    for (const char* campo : {"pedPrestamoA", "pedPrestamoB", "devPrestamoA", "devPrestamoB"})
        EXPECT_EQ(valorDelCampo(primera, QLatin1String(campo)), QStringLiteral("0")) << campo;
    const int64_t restante = juegoDePrueba().avisosDeEmpresa(kEquipos[0], decisionDelEquipo(0)).credito.bancoA;
    EXPECT_TRUE(primera.contains(QStringLiteral("todavía le presta a su empresa u$s %1").arg(restante)));
    for (const int64_t demas : {1, 0, 500}) {
        ahora += TSesiones::kEntreEnvios;
        TRegDecision d = decisionDelEquipo(0);
        d.pedPrestamoA = static_cast<int32_t>(restante + demas);
        // Stored as sent: the warning refuses nothing.
        ASSERT_EQ(cliente.post("/decisiones", formularioDe(cliente.csrf(), 1, d)).estado, 303) << demas;
        const QString pagina = cliente.get("/decisiones").texto();
        EXPECT_EQ(pagina.contains(QStringLiteral("supera en u$s %1 lo que el banco todavía le presta").arg(demas)), demas > 0);
    }
}
