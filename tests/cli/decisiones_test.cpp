// "decisiones": the period's decisions from a CSV file, all or nothing.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "store/Decision_UD.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fs = std::filesystem;

namespace {

const std::string kTitulos =
    "empresa,precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,pedPrestamoA,pedPrestamoB,"
    "devPrestamoA,devPrestamoB\n";

TResultado decisiones(const CarpetaTemporal& carpeta, const std::string& csv) {
    const auto archivo = carpeta.ruta().parent_path() / (carpeta.ruta().filename().string() + "-dec.csv");
    escribirTexto(archivo, csv);
    auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "decisiones", archivo.string()});
    fs::remove(archivo);
    return r;
}

TRegDecision decisionDe(int empresa) {
    return TDecision(carpetaDePrueba()).leerDecisiones(static_cast<uint8_t>(empresa)).at(empresa - 1);
}

bool iguales(const TRegDecision& a, const TRegDecision& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(Decisiones, ElEjemploSeGuardaUnaFilaPorEmpresa) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Beta", "Gamma", "Delta"}, 1);
    auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "decisiones", (carpetaEjemplos() / "decisiones.csv").string()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("Decisiones del período 1 guardadas para 4 empresas"), std::string::npos) << r.salida;
    EXPECT_EQ(fs::file_size(carpeta / "DECISIONES.DAT"), 4u * 40);
    EXPECT_TRUE(iguales(decisionDe(1), TRegDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(iguales(decisionDe(2), TRegDecision{85, 100, 2000, 10000, 2000, 5000, 0, 0, 0, 0}));
    EXPECT_TRUE(iguales(decisionDe(4), TRegDecision{80, 75, 4000, 9000, 1500, 0, 0, 0, 10000, 0}));
}

TEST(Decisiones, SinColumnaEmpresaConPuntoYComaYNombresConAcentos) {
    CarpetaTemporal carpeta;
    prepararJuego({"Compañía, S.A.", "Ñandú"}, 4);
    // Names are checked in UTF-8 against the stored Windows-1252 ones; a quoted name may hold the separator.
    auto r = decisiones(carpeta, kTitulos + "\"Compañía, S.A.\",50,0,0,0,0,0,0,0,0,0\r\n\r\nÑandú,100,100,20000,10000,5,7,8,9,10,11\r\n");
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(iguales(decisionDe(2), TRegDecision{100, 100, 20000, 10000, 5, 7, 8, 9, 10, 11}));
    r = decisiones(carpeta,
                   "precio;nivelProduccion;capacitacion;marketing;invYDes;invPlanta;pedPrestamoA;pedPrestamoB;"
                   "devPrestamoA;devPrestamoB\n60;25;2000;1;2;3;4;5;6;7\n70;50;4000;8;9;10;11;12;13;14\n");
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(iguales(decisionDe(1), TRegDecision{60, 25, 2000, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(iguales(decisionDe(2), TRegDecision{70, 50, 4000, 8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(fs::file_size(carpeta / "DECISIONES.DAT"), 2u * 40);
}

TEST(Decisiones, CadaErrorNombraLineaYColumnaYNadaSeEscribe) {
    const std::string alfa = "Alfa,90,75,4000,8000,1000,0,0,0,0,0\n";
    const std::string beta = "Beta,90,75,4000,8000,1000,0,0,0,0,0\n";
    const std::string gamma = "Gamma,90,75,4000,8000,1000,0,0,0,0,0\n";
    struct Caso {
        std::string csv;
        std::vector<std::string> mensajes;
    };
    const std::vector<Caso> casos = {
        {kTitulos + alfa + "Beta,90,75,4000,8k,1000,0,0,0,0,0\n" + gamma,
         {"-dec.csv, línea 3, columna 5 (marketing): «8k» no es un número entero."}},
        {kTitulos + alfa + beta + "Gamma,90,75,4000,8000,1000,0,0,0,0\n",
         {"línea 4: tiene 10 columnas y se esperaban 11."}},
        {kTitulos + "Alfa,30,75,4000,8000,1000,0,0,0,0,0\n" + beta + gamma,
         {"línea 2, columna 2 (precio): 30 está fuera del rango de 50 a 100."}},
        {kTitulos + "Alfa,101,60,3000,10001,1000,0,0,0,0,0\n" + beta + gamma,
         {"línea 2, columna 2 (precio): 101 está fuera del rango de 50 a 100.",
          "línea 2, columna 3 (nivelProduccion): 60 no es 0, 25, 50, 75 ni 100.",
          "línea 2, columna 4 (capacitacion): 3000 no es un múltiplo de 2000 entre 0 y 20000.",
          "línea 2, columna 5 (marketing): 10001 está fuera del rango de 0 a 10000."}},
        // Every amount has a range, and each fault keeps its line and column.
        {kTitulos + alfa + "Beta,90,75,4000,8000,-1000000,10000000,0,0,0,2147483647\n" + gamma,
         {"línea 3, columna 6 (invYDes): -1000000 está fuera del rango de 0 a 9999999.",
          "línea 3, columna 7 (invPlanta): 10000000 está fuera del rango de 0 a 9999999.",
          "línea 3, columna 11 (devPrestamoB): 2147483647 está fuera del rango de 0 a 9999999."}},
        {kTitulos + alfa + beta + "Gamma,90,75,4000,8000,9999999,9999999,-1,10000000,-5,0\n",
         {"línea 4, columna 8 (pedPrestamoA): -1 está fuera", "línea 4, columna 9 (pedPrestamoB): 10000000 está fuera",
          "línea 4, columna 10 (devPrestamoA): -5 está fuera"}},
        {kTitulos + "Alfa,90,75,22000,-1,1000,0,0,0,0,0\n" + beta + gamma,
         {"columna 4 (capacitacion): 22000 no es", "columna 5 (marketing): -1 está fuera"}},
        {kTitulos + alfa + beta,
         {"-dec.csv: tiene 2 filas de decisiones y el juego tiene 3 empresas activas; faltan las de 3 («Gamma»)."}},
        {kTitulos + alfa + beta + gamma + alfa, {"línea 5: sobra esta fila; el juego tiene 3 empresas activas."}},
        {kTitulos + alfa + gamma + beta,
         {"línea 3, columna 1 (empresa): dice «Gamma» y la empresa 2 es «Beta».",
          "línea 4, columna 1 (empresa): dice «Beta» y la empresa 3 es «Gamma»."}},
        {"empresa,precio,nivelProduccion,marketing,capacitacion,invYDes,invPlanta,pedPrestamoA,pedPrestamoB,"
         "devPrestamoA,devPrestamoB\n" + alfa + beta + gamma,
         {"línea 1, columna 4: se esperaba «capacitacion» y dice «marketing».",
          "línea 1, columna 5: se esperaba «marketing» y dice «capacitacion»."}},
        {"precio,nivelProduccion\n90,75\n", {"línea 1: la fila de títulos tiene 2 columnas y se esperaban 10"}},
        {"\n\n", {"el archivo está vacío"}},
        {kTitulos + "\"Alfa,90,75,4000,8000,1000,0,0,0,0,0\n" + beta + gamma, {"línea 2: hay comillas sin cerrar."}},
    };
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Beta", "Gamma"}, 2);
    auto r = decisiones(carpeta, kTitulos + alfa + beta + gamma);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto antes = fotoDeCarpeta(carpeta.ruta());
    for (const auto& caso : casos) {
        r = decisiones(carpeta, caso.csv);
        EXPECT_EQ(r.codigo, 1) << caso.mensajes[0];
        for (const auto& mensaje : caso.mensajes) EXPECT_NE(r.errores.find(mensaje), std::string::npos) << r.errores;
        EXPECT_EQ(r.salida, "");
        EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes) << caso.mensajes[0];
    }
    for (const fs::path& ilegible : {carpeta / "no-existe.csv", carpeta.ruta()}) {
        r = ejecutarCli({"--datos", carpeta.ruta().string(), "decisiones", ilegible.string()});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.errores, "No se pudo abrir el archivo «" + ilegible.string() + "».\n");
    }
    EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes);
}

TEST(Decisiones, SeRechazanCuandoNoHayPeriodoAbierto) {
    const std::string csv = kTitulos + "Alfa,90,75,4000,8000,1000,0,0,0,0,0\n";
    struct Caso {
        int periodo;  // -1: no game at all
        std::string mensaje;
    };
    for (const Caso& caso : std::vector<Caso>{{-1, "No hay un juego en"},
                                              {0, "Todavía no se corrió el período 0"},
                                              {11, "El juego terminó: ya se simularon los diez períodos."}}) {
        CarpetaTemporal carpeta;
        if (caso.periodo >= 0) prepararJuego({"Alfa"}, caso.periodo);
        const auto antes = fotoDeCarpeta(carpeta.ruta());
        auto r = decisiones(carpeta, csv);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_NE(r.errores.find(caso.mensaje), std::string::npos) << r.errores;
        EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes);
    }
}

TEST(Decisiones, AvisaSinRechazarLoQueLaCorridaHaraConUnaFila) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Beta"}, 1);
    // No debt yet: bank A lends 90000, and 31 above it passes the overdraft limit of 30.
    const TRegDecision alfa{90, 75, 4000, 8000, 1000, 0, 90031, 0, 0, 0};
    auto r = decisiones(carpeta, kTitulos + "Alfa,90,75,4000,8000,1000,0,90031,0,0,0\nBeta,90,75,4000,8000,1000,0,10000,80000,0,0\n");
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(iguales(decisionDe(1), alfa));
    for (const char* parte : {"Aviso: Alfa: El préstamo pedido al banco A", "Aviso: Alfa: Con estas decisiones el giro",
                              "Decisiones del período 1 guardadas"})
        EXPECT_NE(r.salida.find(parte), std::string::npos) << parte << "\n" << r.salida;
    EXPECT_EQ(r.salida.find("Aviso: Beta"), std::string::npos) << r.salida;
}
