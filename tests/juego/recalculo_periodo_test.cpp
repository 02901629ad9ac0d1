// A filed period worked again arrives at what the run stored, bankruptcies
// and penalties included; a history that does not agree is named.

#include "comun/CarpetaTemporal.h"
#include "juego/CausasUtilidad.h"
#include "juego/Juego.h"
#include "juego/MarcasPeriodo.h"
#include "juego/RecalculoPeriodo.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Three companies: one steady, one that overspends on plant (penalty), one
// that asks bank A for more than it lends (bankrupt in period 2).
std::vector<TRegDecision> decisionesDe(int periodo, std::size_t empresas) {
    std::vector<TRegDecision> d{{80 + 3 * periodo, 100, 2000, 6000, 1000, 0, 0, 0, 0, 0},
                                {80, 75, 0, 8000, 2000, periodo == 1 ? 50000 : 0, 0, 0, 0, 0},
                                {90, 50, 4000, 4000, 0, 0, periodo == 2 ? 10031 : 0, 0, 0, 0}};
    d.resize(empresas);
    return d;
}

}  // namespace

TEST(RecalculoPeriodo, CadaPeriodoDaLoArchivadoYUnoAlteradoSeNombra) {
    CarpetaTemporal carpeta;
    TJuego& juego = juegoDePrueba();
    juego.crearJuego({"Alfa", "Beta", "Gama"}, ejemploDatosIniciales());
    juego.correrPeriodo0(ejemploPeriodo0());
    for (int periodo = 1; periodo <= 4; ++periodo) {
        juego.guardarDecisiones(decisionesDe(periodo, juego.empresasActivas().size()));
        juego.simular();
    }
    const TCalculoPeriodo0 periodo0 = recalcularPeriodo0(juego.periodoDelHistorial(0), "Periodo 0");
    std::vector<TEmpresaCorrida> antes(3, TEmpresaCorrida{periodo0.informe(), {}, true});
    for (int periodo = 1; periodo <= 4; ++periodo) {
        const TArchivoPeriodo anterior = juego.periodoDelHistorial(periodo - 1);
        const TArchivoPeriodo actual = juego.periodoDelHistorial(periodo);
        const TCalculoCorrida corrida = recalcularPeriodo(anterior, actual, "Periodo");
        EXPECT_EQ(corrida.quiebras().size(), periodo == 2 ? 1u : 0u) << periodo;
        // The causes add up to the change of the profits the reports print, to the dollar.
        for (std::size_t i = 0; i < antes.size() && i < corrida.empresas().size(); ++i) {
            const TCausasUtilidad causas = causasUtilidad(antes[i].informe, corrida.empresas()[i].informe);
            int64_t suma = causas.utilidadAnterior;
            for (const TCampoCausa& campo : camposCausas()) suma += causas.*(campo.campo);
            EXPECT_EQ(suma, actual.industria[i].utilidadPeriodo) << periodo << ' ' << i;
            EXPECT_LE(std::abs(causas.redondeo), 3) << periodo << ' ' << i;
        }
        // The flags the decisions were made to raise.
        for (std::size_t i = 0; i < corrida.empresas().size(); ++i) {
            const auto& empresa = corrida.empresas()[i];
            const auto marcas = marcasDelPeriodo(anterior.resultados[i], empresa.informe, actual.industria[i].quebrada);
            const auto tiene = [&](TTipoMarca tipo) {
                return std::ranges::any_of(marcas, [&](const TMarcaPeriodo& m) { return m.tipo == tipo; });
            };
            // A penalty or a bankruptcy is what the run wrote a notice for.
            EXPECT_EQ(tiene(TTipoMarca::penalidad) || tiene(TTipoMarca::quiebra), !actual.industria[i].aviso.empty())
                << periodo << ' ' << i;
            EXPECT_EQ(tiene(TTipoMarca::excesoDeCredito), periodo == 2 && i == 2) << periodo << ' ' << i;
            if (periodo == 2 && i == 2) {
                EXPECT_TRUE(tiene(TTipoMarca::quiebra) && marcas.back().causa == TCausaQuiebra::excesoDeCredito &&
                            marcas.back().monto == 30);
            }
        }
        antes = corrida.empresas();
        TArchivoPeriodo alterado = actual;
        alterado.decisiones[0].marketing += 2000;
        EXPECT_THROW(recalcularPeriodo(anterior, alterado, "Periodo"), ErrorArchivoDanado) << periodo;
    }
}
