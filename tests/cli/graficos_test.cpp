// The graficos order: one PNG per measure written without a display, and its
// refusal while there is no history.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <cstdlib>

#ifdef CORVELIAN_DOCUMENTOS

namespace fs = std::filesystem;

namespace {

void jugarDosPeriodos() {
    juegoDePrueba().crearJuego({"Alfa", "Beta", "Gama"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    for (int periodo = 1; periodo <= 2; ++periodo) {
        juegoDePrueba().guardarDecisiones(
            std::vector<TRegDecision>(3, TRegDecision{70 + periodo, 50, 2000, 5000, 1000, 0, 0, 0, 0, 0}));
        juegoDePrueba().simular();
    }
}

/// The width and height a PNG's header gives; zero when the file is no PNG.
std::pair<unsigned, unsigned> tamanoPng(const std::string& bytes) {
    static const std::string firma("\x89PNG\r\n\x1a\n", 8);
    if (bytes.size() < 24 || bytes.compare(0, 8, firma) != 0 || bytes.compare(12, 4, "IHDR") != 0) return {0, 0};
    auto entero = [&](std::size_t desde) {
        unsigned v = 0;
        for (std::size_t i = desde; i < desde + 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[i]);
        return v;
    };
    return {entero(16), entero(20)};
}

}  // namespace

TEST(OrdenGraficos, UnPngPorMedidaSinPantalla) {
    // The order must not need a display, even when one is set but unreachable,
    // and keeps Qt's notes on what the session lacks to itself.
    ::setenv("DISPLAY", ":987", 1);
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    CarpetaTemporal carpeta;
    jugarDosPeriodos();
    const fs::path salida = carpeta / "gráficos nuevos";
    const auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "graficos", salida.string()});
    ::unsetenv("DISPLAY");
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.errores, "");
    const std::vector<std::string> nombres = {"utilidad_acumulada.png", "utilidad_periodo.png", "unidades_vendidas.png",
                                              "participacion.png",      "precio.png",           "efectivo.png",
                                              "deuda.png",              "stock_unidades.png",   "empleados.png"};
    EXPECT_NE(r.salida.find("9 gráficos"), std::string::npos) << r.salida;
    for (const std::string& nombre : nombres) {
        SCOPED_TRACE(nombre);
        EXPECT_NE(r.salida.find(nombre), std::string::npos) << r.salida;
        ASSERT_TRUE(fs::exists(salida / nombre));
        const auto [ancho, alto] = tamanoPng(leerTexto(salida / nombre));
        EXPECT_EQ(ancho, 1280u);
        EXPECT_EQ(alto, 720u);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(salida), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(nombres.size()));
}

TEST(OrdenGraficos, SinPeriodoCorridoSeRechaza) {
    CarpetaTemporal carpeta;
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    const fs::path salida = carpeta / "graficos";
    const auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "graficos", salida.string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("Todavía no hay historial: corra el período 0 primero."), std::string::npos) << r.errores;
    EXPECT_FALSE(fs::exists(salida));
}

#endif
