// A damaged game is refused by name and left as it is, everywhere; a step
// back recovers it from a whole checkpoint; a read-only game can be read.

#include "comun/CarpetaTemporal.h"
#include "comun/FotoCarpeta.h"
#include "comun/MensajeDe.h"
#include "comun/SistemaArchivosFalso.h"
#include "juego/Evolucion.h"
#include "juego/Juego.h"
#include "juego/Planilla.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>

namespace fs = std::filesystem;

namespace {

const TRegDecision kDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};

// Two teams at period 2, with the checkpoint of period 1.
void juegoEnPeriodo2() {
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    juegoDePrueba().guardarDecisiones({kDecision, kDecision});
    juegoDePrueba().simular();
    juegoDePrueba().guardarDecisiones({kDecision, kDecision});
}

bool contiene(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

struct TDano {
    const char* nombre;
    std::function<void(const CarpetaTemporal&)> danar;
};

const TDano kDanos[] = {
    {"falta", [](const CarpetaTemporal& c) { fs::remove(c / "DATOS ACUMULADOS.DAT"); }},
    {"vacío", [](const CarpetaTemporal& c) { escribirBytes(c / "DATOS ACUMULADOS.DAT", {}); }},
    {"0xFF", [](const CarpetaTemporal& c) { escribirBytes(c / "DATOS ACUMULADOS.DAT", std::vector<uint8_t>(208, 0xFF)); }},
    {"utilidad imposible",
     [](const CarpetaTemporal& c) {
         auto bytes = leerBytes(c / "DATOS ACUMULADOS.DAT");
         const int32_t maximo = INT32_MAX;
         std::memcpy(bytes.data() + offsetof(TRegDatosAcum, utilidadAcumulada), &maximo, sizeof maximo);
         escribirBytes(c / "DATOS ACUMULADOS.DAT", bytes);
     }},
};

}  // namespace

TEST(Danados, UnArchivoDeResultadosDanadoSeNombraYSeRecuperaConVolver) {
    for (const TDano& dano : kDanos) {
        CarpetaTemporal carpeta;
        juegoEnPeriodo2();
        dano.danar(carpeta);
        const TFoto antes = fotografiar(carpeta.ruta());
        for (const std::string& mensaje :
             {mensajeDe([] { juegoDePrueba().posiciones(); }), mensajeDe([] { juegoDePrueba().simular(); }),
              mensajeDe([] { juegoDePrueba().correrPeriodo0(ejemploPeriodo0()); }),
              mensajeDe([] { juegoDePrueba().guardarDecisiones({kDecision, kDecision}); })})
            EXPECT_TRUE(contiene(mensaje, "\"DATOS ACUMULADOS.DAT\": el archivo está dañado")) << dano.nombre << ": " << mensaje;
        EXPECT_EQ(fotografiar(carpeta.ruta()), antes) << dano.nombre;

        // The checkpoint is whole: the step back puts period 1 back, and says why.
        EXPECT_EQ(juegoDePrueba().volver(), 1) << dano.nombre;
        ASSERT_FALSE(registroNotificador().eventos.empty());
        EXPECT_TRUE(contiene(cp1252AUtf8(registroNotificador().eventos.back()), "«DATOS ACUMULADOS.DAT» estaba dañado"));
        EXPECT_EQ(juegoDePrueba().posiciones().size(), 2u) << dano.nombre;
    }
}

TEST(Danados, LaHistoriaDanadaOIncompletaSeNombra) {
    struct Caso {
        const char* nombre;
        std::function<void(const CarpetaTemporal&)> danar;
        const char* mensaje;
    };
    const Caso casos[] = {
        {"empresas 0xFF",
         [](const CarpetaTemporal& c) {
             escribirBytes(c / "historial" / "Periodo 1" / "EMPRESAS.DAT", std::vector<uint8_t>(208, 0xFF));
         },
         "\"historial/Periodo 1/EMPRESAS.DAT\": el archivo está dañado"},
        {"falta un período", [](const CarpetaTemporal& c) { fs::remove_all(c / "historial" / "Periodo 1"); },
         "Falta el historial del período 1."},
    };
    for (const Caso& caso : casos) {
        CarpetaTemporal carpeta;
        juegoEnPeriodo2();
        juegoDePrueba().simular();
        caso.danar(carpeta);
        for (const std::string& mensaje :
             {mensajeDe([] { evolucion(juegoDePrueba()); }),
              mensajeDe([&] { exportarPlanilla(juegoDePrueba(), carpeta / "temporada.csv"); })})
            EXPECT_TRUE(contiene(mensaje, caso.mensaje)) << caso.nombre << ": " << mensaje;
        EXPECT_FALSE(fs::exists(carpeta / "temporada.csv"));
    }
}

TEST(Danados, UnJuegoDeSoloLecturaSeLeePeroNoSeCambia) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo2();
    const TFoto antes = fotografiar(carpeta.ruta());
    CarpetaTemporal afuera;
    TSistemaArchivosFalso falso;
    falso.soloLectura(carpeta.ruta());
    TJuego juego(carpeta.ruta(), falso);
    EXPECT_EQ(juego.leerEstado().datos.periodoActual, 2);
    EXPECT_EQ(juego.posiciones().size(), 2u);
    exportarPlanilla(juego, afuera / "temporada.csv");
    EXPECT_TRUE(fs::exists(afuera / "temporada.csv"));
    for (const std::string& mensaje : {mensajeDe([&] { juego.simular(); }), mensajeDe([&] { juego.volver(); }),
                                       mensajeDe([&] { juego.guardarDecisiones({kDecision, kDecision}); })})
        EXPECT_EQ(mensaje, "La carpeta del juego no se puede modificar.");
    EXPECT_EQ(fotografiar(carpeta.ruta()), antes);
}
