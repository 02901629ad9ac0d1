// The pdf order: a period's hand-outs written without a display, and its
// refusals with the usual exit codes.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

void jugarPeriodo1(const std::vector<std::string>& equiposUtf8) {
    std::vector<std::string> equipos;
    for (const auto& e : equiposUtf8) equipos.push_back(cp1252(e));
    juegoDePrueba().crearJuego(equipos, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    juegoDePrueba().guardarDecisiones(std::vector<TRegDecision>(equipos.size(), TRegDecision{70, 50, 2000, 5000, 1000, 0, 0, 0, 0, 0}));
    juegoDePrueba().simular();
}

}  // namespace

#ifdef CORVELIAN_DOCUMENTOS

TEST(OrdenPdf, EscribeLosDocumentosSinPantalla) {
    // The tool must choose the offscreen platform by itself, and keep Qt's
    // notes on what the session lacks to itself.
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    CarpetaTemporal carpeta;
    jugarPeriodo1({"Alfa", "Ñandú"});
    const fs::path salida = carpeta / "entregas nuevas";
    const auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "pdf", "1", salida.string()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.errores, "");
    EXPECT_NE(r.salida.find("3 documentos PDF del período 1"), std::string::npos) << r.salida;
    for (const char* nombre : {"Periodo 1 - Alfa.pdf", "Periodo 1 - Ñandú.pdf", "Periodo 1 (todos los informes).pdf"}) {
        const fs::path pdf = salida / nombre;
        ASSERT_TRUE(fs::exists(pdf)) << nombre;
        const std::string comienzo = leerTexto(pdf).substr(0, 5);
        EXPECT_EQ(comienzo, "%PDF-") << nombre;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(salida), fs::directory_iterator()), 3);
}

TEST(OrdenPdf, RechazosConSuCodigo) {
    CarpetaTemporal carpeta;
    jugarPeriodo1({"Alfa", "Beta"});
    const std::string dir = carpeta.ruta().string(), salida = (carpeta / "pdf").string();
    const struct {
        std::vector<std::string> argumentos;
        int codigo;
        std::string mensaje;
    } casos[] = {
        {{"--datos", dir, "pdf", "1"}, 2, "pdf PERIODO CARPETA"},
        {{"--datos", dir, "pdf", "uno", salida}, 2, "PERIODO: «uno» no es un número entero"},
        {{"--datos", dir, "pdf", "2", salida}, 1, "El período 2 no está en el historial del juego."},
        {{"--datos", (carpeta / "no hay").string(), "pdf", "1", salida}, 1, "no existe"},
    };
    for (const auto& caso : casos) {
        const auto r = ejecutarCli(caso.argumentos);
        EXPECT_EQ(r.codigo, caso.codigo) << caso.mensaje;
        EXPECT_NE(r.errores.find(caso.mensaje), std::string::npos) << r.errores;
    }
    EXPECT_FALSE(fs::exists(salida));
}

#else

TEST(OrdenPdf, SinQtNoEstaDisponible) {
    CarpetaTemporal carpeta;
    jugarPeriodo1({"Alfa", "Beta"});
    const auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "pdf", "1", (carpeta / "pdf").string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("no está disponible"), std::string::npos) << r.errores;
    EXPECT_FALSE(fs::exists(carpeta / "pdf"));
}

#endif

TEST(OrdenPdf, LaAyudaLaNombra) {
    const auto r = ejecutarCli({"--help"});
    EXPECT_NE(r.salida.find("pdf PERIODO CARPETA"), std::string::npos);
}
