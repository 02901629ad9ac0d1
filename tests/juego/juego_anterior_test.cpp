// A game replaced by a new one comes back from its "historial anterior N"
// as a game folder of its own, playable, the folder it came from untouched;
// an incomplete one is refused saying why.

#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"
#include "juego/JuegoAnterior.h"
#include "store/NombresArchivos.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

const TRegDecision kDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};

// Alfa and Beta played to period 2, then replaced by a new game.
void juegoReemplazado() {
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    for (int periodo = 1; periodo <= 2; ++periodo) {
        juegoDePrueba().guardarDecisiones({kDecision, kDecision});
        juegoDePrueba().simular();
    }
    juegoDePrueba().crearJuego({"Gama"}, ejemploDatosIniciales());
}

// Every file under carpeta with its bytes.
std::map<std::string, std::string> arbol(const fs::path& carpeta) {
    std::map<std::string, std::string> archivos;
    for (const auto& entrada : fs::recursive_directory_iterator(carpeta))
        if (entrada.is_regular_file())
            archivos[entrada.path().string()] = std::string(std::istreambuf_iterator<char>(std::ifstream(entrada.path(), std::ios::binary).rdbuf()), {});
    return archivos;
}

}  // namespace

TEST(JuegoAnterior, VuelveComoJuegoPropioSinTocarElOriginal) {
    CarpetaTemporal carpeta;
    juegoReemplazado();
    const auto juegos = juegosAnteriores(carpetaDePrueba());
    ASSERT_EQ(juegos.size(), 1u);
    EXPECT_EQ(juegos[0].numero, 1);
    EXPECT_EQ(juegos[0].ultimoPeriodo, 2);
    const auto antes = arbol(carpeta.ruta());
    const TCarpeta origen = carpetaDePrueba();
    CarpetaTemporal otra;
    const fs::path destino = otra.ruta() / "copia" / "juego";
    EXPECT_EQ(restaurarJuegoAnterior(origen, 1, destino), 2);
    EXPECT_EQ(arbol(carpeta.ruta()), antes);

    TJuego anterior(destino);
    const TEstadoJuego estado = anterior.reanudar();
    EXPECT_EQ(estado.datos.periodoActual, 3);
    EXPECT_EQ(anterior.empresasActivas(), (std::vector<std::string>{"Alfa", "Beta"}));
    EXPECT_EQ(anterior.periodosDelHistorial(), (std::vector<int>{0, 1, 2}));
    // It plays on from where it stood.
    anterior.guardarDecisiones({kDecision, kDecision});
    EXPECT_EQ(anterior.simular().periodo, 3);
    // A second copy never lands on the first one.
    EXPECT_THROW(restaurarJuegoAnterior(origen, 1, destino), ErrorJuego);
}

TEST(JuegoAnterior, UnoIncompletoSeRechazaDiciendoPorQue) {
    struct Caso {
        const char* nombre;
        const char* falta;     // a file or period of the history removed
        const char* danado;    // or a file of it overwritten
        const char* mensaje;
    };
    for (const Caso& caso : {Caso{"sin período 0", "Periodo 0", nullptr, "no tiene el período 0"},
                             Caso{"un período que falta", "Periodo 1", nullptr, "falta el período 1"},
                             Caso{"un archivo que falta", "Periodo 2/INDUSTRIA.csv", nullptr, "\"historial anterior 1/Periodo 2/INDUSTRIA.csv\""},
                             Caso{"un archivo dañado", nullptr, "Periodo 2/DATOS ACUMULADOS.DAT", "historial anterior 1/Periodo 2/DATOS ACUMULADOS.DAT"}}) {
        SCOPED_TRACE(caso.nombre);
        CarpetaTemporal carpeta;
        juegoReemplazado();
        const fs::path historial = carpeta.ruta() / historialAnterior(1);
        if (caso.falta) fs::remove_all(historial / caso.falta);
        if (caso.danado) std::ofstream(historial / caso.danado, std::ios::binary | std::ios::trunc) << "xyz";
        const fs::path destino = carpeta.ruta() / "copia";
        try {
            restaurarJuegoAnterior(carpetaDePrueba(), 1, destino);
            ADD_FAILURE() << "se abrió";
        } catch (const ErrorJuego& e) {
            const std::string texto = e.what();
            EXPECT_EQ(texto.rfind("«historial anterior 1» no es un juego completo: ", 0), 0u) << texto;
            EXPECT_NE(texto.find(caso.mensaje), std::string::npos) << texto;
        }
        EXPECT_FALSE(fs::exists(destino));
    }
}
