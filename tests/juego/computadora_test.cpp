// Companies played by the computer in the game core: their file, decisions
// that repeat for a period redone, the teams' decisions they never fill, and
// how each style plays over whole games.

#include "comun/CarpetaTemporal.h"
#include "juego/Computadora.h"
#include "juego/Juego.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const TRegDecision kDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};

TComputadora computadoraDe(std::uint64_t semilla) {
    return {semilla, {{"Compu 1", TEstilo::prudente}, {"Compu 2", TEstilo::agresivo},
                      {"Compu 3", TEstilo::innovador}, {"Compu 4", TEstilo::imitador}}};
}

// The computer's decisions as bytes, '-' for a team's: comparable at once.
std::string bytes(const std::vector<std::optional<TRegDecision>>& decisiones) {
    std::string texto;
    for (const auto& d : decisiones)
        texto += d ? std::string(reinterpret_cast<const char*>(&*d), sizeof *d) : std::string("-");
    return texto;
}

void juegoConComputadora(std::uint64_t semilla = 7) {
    juegoDePrueba().crearJuego({"Alfa", "Compu 1", "Compu 2", "Compu 3", "Compu 4"}, ejemploDatosIniciales(),
                               computadoraDe(semilla));
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
}

}  // namespace

TEST(ArchivoComputadora, SeLeeComoSeEscribio) {
    const TComputadora c{18446744073709551615ull, {{cp1252("Ñandú, S.A."), TEstilo::imitador}, {"B", TEstilo::agresivo}}};
    EXPECT_EQ(leerTextoComputadora(textoComputadora(c), "x"), c);
}

TEST(ArchivoComputadora, UnArchivoDanadoSeNombra) {
    for (const char* texto : {"", "semilla,x\nempresa,estilo\n", "semilla,1\nnombre,estilo\n",
                              "semilla,1\nempresa,estilo\nA,temerario\n", "semilla,1\nempresa,estilo\nA,prudente\nA,agresivo\n",
                              "semilla,1\nempresa,estilo\nA\n", "semilla,-1\nempresa,estilo\n"}) {
        SCOPED_TRACE(texto);
        try {
            leerTextoComputadora(texto, "EMPRESAS COMPUTADORA.csv");
            ADD_FAILURE() << "se leyó";
        } catch (const ErrorArchivoDanado& e) {
            EXPECT_NE(std::string(e.what()).find("EMPRESAS COMPUTADORA.csv"), std::string::npos) << e.what();
        }
    }
}

TEST(Computadora, DecideSoloPorSusEmpresasYLoMismoAlRehacerElPeriodo) {
    CarpetaTemporal carpeta;
    juegoConComputadora();
    EXPECT_EQ(juegoDePrueba().computadora(), computadoraDe(7));
    const auto estilos = juegoDePrueba().estilosActivas();
    ASSERT_EQ(estilos.size(), 5u);
    EXPECT_FALSE(estilos[0]);
    EXPECT_EQ(estilos[2], TEstilo::agresivo);
    // Only the team gets a code for the portal.
    ASSERT_EQ(juegoDePrueba().codigosDeAcceso().size(), 1u);
    EXPECT_EQ(juegoDePrueba().codigosDeAcceso()[0].empresa, "Alfa");

    juegoDePrueba().guardarDecisionesCompletas({kDecision, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
    juegoDePrueba().simular();
    const auto decididas = juegoDePrueba().decisionesComputadora();
    const std::string periodo2 = bytes(decididas);
    EXPECT_FALSE(decididas[0]);
    for (std::size_t i = 1; i < decididas.size(); ++i) ASSERT_TRUE(decididas[i]) << i;
    // The team's own choice in this period changes nothing of theirs.
    juegoDePrueba().guardarDecisionesCompletas({TRegDecision{50, 100, 0, 0, 0, 0, 0, 0, 0, 0}, std::nullopt,
                                                std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(bytes(juegoDePrueba().decisionesComputadora()), periodo2);
    juegoDePrueba().simular();
    juegoDePrueba().volver();
    EXPECT_EQ(bytes(juegoDePrueba().decisionesComputadora()), periodo2);

    // Another game's seed, other decisions.
    CarpetaTemporal otra;
    juegoConComputadora(8);
    juegoDePrueba().guardarDecisionesCompletas({kDecision, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
    juegoDePrueba().simular();
    EXPECT_NE(bytes(juegoDePrueba().decisionesComputadora()), periodo2);
}

TEST(Computadora, NoDecidePorUnEquipo) {
    CarpetaTemporal carpeta;
    juegoConComputadora();
    EXPECT_EQ(juegoDePrueba().leerEstado().decisionesGuardadas, 0);
    try {
        juegoDePrueba().guardarDecisionesCompletas({std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
        ADD_FAILURE() << "se guardó";
    } catch (const ErrorJuego& e) {
        EXPECT_STREQ(e.what(), "Faltan las decisiones del período 1 de: Alfa.");
    }
    EXPECT_EQ(juegoDePrueba().leerEstado().decisionesGuardadas, 0);
    // Nor does a run with a team among the companies decide for it.
    EXPECT_THROW(juegoDePrueba().simular(), ErrorJuego);
    // A new game without them removes their file.
    juegoDePrueba().crearJuego({"Alfa"}, ejemploDatosIniciales());
    EXPECT_FALSE(std::filesystem::exists(carpeta / kArchivoComputadora));
    EXPECT_THROW(juegoDePrueba().crearJuego({"Alfa"}, ejemploDatosIniciales(), {1, {{"Beta", TEstilo::prudente}}}),
                 ErrorJuego);
}

namespace {

/// A game of the computer alone, two companies of each style, played to the
/// end: what its history keeps of every period run, and who plays what.
struct TPartidaComputadora {
    TComputadora computadora;
    std::vector<TArchivoPeriodo> periodos;

    TEstilo estiloDe(const TRegDatosAcum& empresa) const { return computadora.de(aTexto(empresa.nombreEmpresa))->estilo; }
};

TPartidaComputadora jugarSoloComputadora(std::uint64_t semilla) {
    TPartidaComputadora partida;
    std::vector<std::string> equipos;
    partida.computadora = agregarComputadora(equipos, 2 * estilosComputadora().size(), std::nullopt, semilla);
    juegoDePrueba().crearJuego(equipos, ejemploDatosIniciales(), partida.computadora);
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    for (TEstadoJuego e = juegoDePrueba().leerEstado(); !e.terminado() && e.datos.cantEquipos > 0;
         e = juegoDePrueba().leerEstado())
        juegoDePrueba().simular();
    for (int periodo : juegoDePrueba().periodosDelHistorial())
        partida.periodos.push_back(juegoDePrueba().periodoDelHistorial(periodo));
    return partida;
}

// In memory where there is such a folder: a game run to the end syncs the disk
// at every period.
class EstilosComputadora : public ::testing::TestWithParam<std::uint64_t> {
protected:
    CarpetaTemporal carpeta_{std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                       : std::filesystem::temp_directory_path()};
};

}  // namespace

// "agresivo" prices low, "innovador" above the average, "prudente" near it.
TEST_P(EstilosComputadora, AgresivoBarato_PrudenteEnElMedio_InnovadorCaro) {
    const TPartidaComputadora partida = jugarSoloComputadora(GetParam());
    std::map<TEstilo, std::pair<double, int>> precios;  // sum and count
    for (const TArchivoPeriodo& p : partida.periodos) {
        if (p.periodo == 0) continue;
        ASSERT_EQ(p.empresas.size(), p.decisiones.size());
        for (std::size_t j = 0; j < p.empresas.size(); ++j) {
            auto& [suma, cuantos] = precios[partida.estiloDe(p.empresas[j])];
            suma += p.decisiones[j].precio;
            ++cuantos;
        }
    }
    auto medio = [&](TEstilo estilo) { return precios[estilo].first / std::max(1, precios[estilo].second); };
    ASSERT_GT(precios[TEstilo::agresivo].second, 0);
    EXPECT_LT(medio(TEstilo::agresivo), medio(TEstilo::prudente));
    EXPECT_LT(medio(TEstilo::prudente), medio(TEstilo::innovador));
}

// "prudente" never runs an overdraft (nor goes bankrupt); "agresivo" owes
// both banks all they lend after every period it survives.
TEST_P(EstilosComputadora, PrudenteSinGiroDescubierto_AgresivoAlLimiteDeLosBancos) {
    const TPartidaComputadora partida = jugarSoloComputadora(GetParam());
    ASSERT_EQ(partida.periodos.size(), 11u);
    for (const TArchivoPeriodo& p : partida.periodos) {
        if (p.periodo == 0) continue;
        for (const TRegDatosAcum& e : p.empresas) {
            SCOPED_TRACE("período " + std::to_string(p.periodo) + ", " + aTexto(e.nombreEmpresa));
            if (partida.estiloDe(e) == TEstilo::prudente) {
                EXPECT_EQ(e.giroDescubierto, 0);
                EXPECT_FALSE(e.quebrada);
            } else if (partida.estiloDe(e) == TEstilo::agresivo && !e.quebrada) {
                EXPECT_EQ(e.prestamoA, p.parametros.maxCreditoA);
                EXPECT_EQ(e.prestamoB, p.parametros.maxCreditoB);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(CincoPartidas, EstilosComputadora, ::testing::Values(1u, 2u, 3u, 4u, 5u));
