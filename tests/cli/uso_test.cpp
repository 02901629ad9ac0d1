// The command line itself: help, exit codes and usage errors.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"

#include <gtest/gtest.h>

TEST(Uso, AyudaNombraTodasLasOrdenes) {
    auto r = ejecutarCli({"--help"});
    EXPECT_EQ(r.codigo, 0);
    for (const char* orden : {"nuevo EQUIPOS PARAMETROS", "periodo0 PRECIO MARKETING INVYDES CAPACITACION NIVEL "
                              "INVPLANTA PEDPRESTAMOA PEDPRESTAMOB", "decisiones ARCHIVO.csv", "simular", "volver",
                              "estado", "demo [CARPETA]", "--datos CARPETA"})
        EXPECT_NE(r.salida.find(orden), std::string::npos) << orden;
    EXPECT_EQ(r.errores, "");
    // --help after an order still shows the help and runs nothing.
    CarpetaTemporal carpeta;
    r = ejecutarCli({"--datos", carpeta.ruta().string(), "nuevo", "x", "y", "--help"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_TRUE(std::filesystem::is_empty(carpeta.ruta()));
}

TEST(Uso, ErroresDeLaLineaDeOrdenesSalenConDos) {
    CarpetaTemporal carpeta;
    const std::string dir = carpeta.ruta().string();
    struct Caso {
        std::vector<std::string> argumentos;
        std::string mensaje;
    };
    const std::vector<Caso> casos = {
        {{}, "falta la orden"},
        {{"jugar"}, "orden desconocida «jugar»"},
        {{"--rapido", "estado"}, "opción desconocida «--rapido»"},
        {{"--datos"}, "falta la carpeta después de --datos"},
        {{"--datos", dir, "simular", "ya"}, "simular"},
        {{"--datos", dir, "nuevo", "equipos.txt"}, "nuevo EQUIPOS PARAMETROS"},
        {{"--datos", dir, "periodo0", "90", "8000"}, "periodo0 PRECIO"},
        {{"--datos", dir, "periodo0", "90", "8000", "1000", "4000", "75", "0", "8O000", "70000"},
         "PEDPRESTAMOA: «8O000» no es un número entero"},
        {{"--datos", dir, "decisiones"}, "decisiones ARCHIVO.csv"},
        {{"demo", "a", "b"}, "demo [CARPETA]"},
    };
    for (const auto& caso : casos) {
        auto r = ejecutarCli(caso.argumentos);
        EXPECT_EQ(r.codigo, 2) << caso.mensaje;
        EXPECT_NE(r.errores.find(caso.mensaje), std::string::npos) << r.errores;
        EXPECT_NE(r.errores.find("--help"), std::string::npos);
        EXPECT_EQ(r.salida, "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(carpeta.ruta()));
}

TEST(Uso, CarpetaInexistenteEsErrorDelJuego) {
    CarpetaTemporal carpeta;
    auto r = ejecutarCli({"--datos", (carpeta / "no-existe").string(), "estado"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("no existe"), std::string::npos) << r.errores;
    EXPECT_FALSE(std::filesystem::exists(carpeta / "no-existe"));
}
