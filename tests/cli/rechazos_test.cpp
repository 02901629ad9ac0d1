// Orders refused because of where the game stands: nothing may change then.

#include "comun/ArchivosDePrueba.h"
#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "comun/ParametrosDanados.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TResultado orden(const CarpetaTemporal& carpeta, std::vector<std::string> argumentos) {
    argumentos.insert(argumentos.begin(), {"--datos", carpeta.ruta().string()});
    return ejecutarCli(argumentos);
}

const std::vector<std::string> kPeriodo0 = {"periodo0", "90", "8000", "1000", "4000", "75", "0", "80000", "70000"};

}  // namespace

TEST(Rechazos, SimularSinPoderCorrerNoTocaNingunArchivo) {
    struct Caso {
        int periodo;        // -1: no game; 0: period 0 not run
        int decisiones;     // records stored in DECISIONES.DAT
        std::string mensaje;
    };
    const std::vector<Caso> casos = {
        {-1, 0, "No hay un juego en"},
        {0, 3, "Todavía no se corrió el período 0: el archivo de resultados tiene 0 de 3 empresas."},
        {1, 2, "Faltan decisiones del período 1: hay 2 de 3 empresas."},
        {5, 0, "Faltan decisiones del período 5: hay 0 de 3 empresas."},
        {11, 3, "El juego terminó: ya se simularon los diez períodos."},
    };
    for (const auto& caso : casos) {
        CarpetaTemporal carpeta;
        if (caso.periodo >= 0) prepararJuego({"Alfa", "Beta", "Gamma"}, caso.periodo);
        TRegDecision decision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};
        if (caso.decisiones > 0)
            TDecision(carpetaDePrueba()).guardarDecisiones(std::vector<TRegDecision>(caso.decisiones, decision));
        const auto antes = fotoDeCarpeta(carpeta.ruta());
        auto r = orden(carpeta, {"simular"});
        EXPECT_EQ(r.codigo, 1) << caso.mensaje;
        EXPECT_NE(r.errores.find(caso.mensaje), std::string::npos) << r.errores;
        EXPECT_EQ(r.salida, "");
        // No checkpoint either: a refused run must not replace the one of the last real run.
        EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes) << caso.mensaje;
    }
}

TEST(Rechazos, PeriodoCeroSoloAntesDelPrimerPeriodo) {
    {
        CarpetaTemporal carpeta;
        auto r = orden(carpeta, kPeriodo0);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_NE(r.errores.find("No hay un juego en"), std::string::npos) << r.errores;
        EXPECT_TRUE(fs::is_empty(carpeta.ruta()));
    }
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Beta"}, 3);
    const auto antes = fotoDeCarpeta(carpeta.ruta());
    auto r = orden(carpeta, kPeriodo0);
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.errores,
              "El período 0 ya se corrió y el juego va por el período 3. Para empezar de nuevo use «Nuevo».\n");
    EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes);
}

TEST(Rechazos, VolverSinRespaldoYConRespaldo) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Beta"}, 1);
    const auto antes = fotoDeCarpeta(carpeta.ruta());
    auto r = orden(carpeta, {"volver"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.errores, "No hay un período para deshacer.\n");
    EXPECT_EQ(r.salida, "");
    EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes);

    // A checkpoint taken at period 1, then the game moved on to period 2.
    TDecision(carpetaDePrueba()).guardarDecisiones(
        {TRegDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0}, TRegDecision{80, 50, 2000, 6000, 500, 0, 0, 0, 0, 0}});
    guardarRespaldo(carpetaDePrueba());
    const auto respaldado = fotoDeCarpeta(carpeta.ruta());
    TRegDatosIniciales datos{};
    TDatosjuego(carpetaDePrueba()).leerDatosIniciales(datos);
    datos.periodoActual = 2;
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(datos);
    TDecision(carpetaDePrueba()).guardarDecisiones({});

    r = orden(carpeta, {"volver"});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("el período 1 está abierto de nuevo"), std::string::npos) << r.salida;
    // The game files are the checkpoint's, which is used up by the step back.
    auto esperado = respaldado;
    for (const char* respaldo : {"AUXACUM.DAT", "AUXDECISIONES.DAT", "AUXINI.DAT"}) esperado.erase(respaldo);
    EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), esperado);
    // The checkpoint is used up: only the last run can be undone, once.
    r = orden(carpeta, {"volver"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.errores, "No hay un período para deshacer.\n");
}

TEST(Rechazos, PeriodoCeroConMontosFueraDeRangoNoEscribeNada) {
    struct Caso {
        std::size_t argumento;  // position in kPeriodo0
        const char* valor;
        const char* mensaje;
    };
    const Caso casos[] = {
        {3, "-1000000", "La inversión en investigación y desarrollo -1000000 está fuera del rango de 0 a 9999999."},
        {6, "10000000", "La inversión en planta 10000000 está fuera del rango de 0 a 9999999."},
        {7, "2147483647", "El préstamo pedido al banco A 2147483647 está fuera del rango de 0 a 9999999."},
        {8, "-70000", "El préstamo pedido al banco B -70000 está fuera del rango de 0 a 9999999."},
    };
    for (const Caso& caso : casos) {
        CarpetaTemporal carpeta;
        prepararJuego({"Alfa", "Beta"}, 0);
        const auto antes = fotoDeCarpeta(carpeta.ruta());
        auto argumentos = kPeriodo0;
        argumentos[caso.argumento] = caso.valor;
        auto r = orden(carpeta, argumentos);
        EXPECT_EQ(r.codigo, 1) << caso.mensaje;
        EXPECT_EQ(r.errores, std::string(caso.mensaje) + "\n");
        EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes) << caso.mensaje;
    }
}

// A damaged parameters record is no game to show: "estado" says which file
// is damaged and which box, and writes nothing.
TEST(Rechazos, EstadoConParametrosDanados) {
    for (const TParametroDanado& caso : parametrosDanados()) {
        CarpetaTemporal carpeta;
        prepararJuego({"Alfa", "Beta"}, 2);
        TRegDatosIniciales datos = TDatosjuego(carpetaDePrueba()).leerDatosDelJuego();
        caso.danar(datos);
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(datos);
        const auto antes = fotoDeCarpeta(carpeta.ruta());
        const auto r = orden(carpeta, {"estado"});
        EXPECT_EQ(r.codigo, 1) << caso.nombre;
        EXPECT_EQ(r.salida, "") << caso.nombre;
        EXPECT_NE(r.errores.find("DATOS INICIALES.DAT\": el archivo está dañado: " + std::string(caso.caja)),
                  std::string::npos)
            << r.errores;
        EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes) << caso.nombre;
    }
}
