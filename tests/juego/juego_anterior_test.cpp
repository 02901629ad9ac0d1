// A replaced game's "historial anterior N" that is not a whole game is
// refused saying why, and leaves no folder behind (the window's test opens a
// whole one).

#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"
#include "juego/JuegoAnterior.h"
#include "store/NombresArchivos.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// Alfa and Beta played to period 2, then replaced by a new game.
void juegoReemplazado() {
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    for (int periodo = 1; periodo <= 2; ++periodo) {
        juegoDePrueba().guardarDecisiones(std::vector<TRegDecision>(2, {90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0}));
        juegoDePrueba().simular();
    }
    juegoDePrueba().crearJuego({"Gama"}, ejemploDatosIniciales());
}

}  // namespace

TEST(JuegoAnterior, UnoIncompletoSeRechazaDiciendoPorQue) {
    // A file or period of the history removed (or, with '!', damaged), and the reason given.
    for (const auto& [quitado, motivo] : std::map<std::string, std::string>{
             {"Periodo 0", "no tiene el período 0"},
             {"Periodo 1", "falta el período 1"},
             {"Periodo 2/INDUSTRIA.csv", "\"historial anterior 1/Periodo 2/INDUSTRIA.csv\""},
             {"!Periodo 2/DATOS ACUMULADOS.DAT", "\"historial anterior 1/Periodo 2/DATOS ACUMULADOS.DAT\""}}) {
        SCOPED_TRACE(quitado);
        CarpetaTemporal carpeta;
        juegoReemplazado();
        const fs::path historial = carpeta.ruta() / historialAnterior(1);
        if (quitado[0] == '!') std::ofstream(historial / quitado.substr(1), std::ios::binary | std::ios::trunc) << "xyz";
        else fs::remove_all(historial / quitado);
        try {
            restaurarJuegoAnterior(carpetaDePrueba(), 1, carpeta / "copia");
            ADD_FAILURE() << "se abrió";
        } catch (const ErrorJuego& e) {
            EXPECT_EQ(std::string(e.what()).rfind("«historial anterior 1» no es un juego completo: ", 0), 0u) << e.what();
            EXPECT_NE(std::string(e.what()).find(motivo), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(carpeta / "copia"));
    }
}
