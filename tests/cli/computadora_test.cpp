// Companies played by the computer through the tool: two teams from a CSV
// and six of the computer to period 10, a period redone after "volver", a
// game of the computer alone, and the practice game.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The game files and the history. The reports in the folder itself are left
// out: one that no later run rewrites (period 0's "IGUALES", a company's
// that went bankrupt) stays there until a step back tidies it away,
// whoever plays.
std::map<std::string, std::string> archivosDelJuego(const fs::path& carpeta) {
    auto foto = fotoDeCarpeta(carpeta);
    std::erase_if(foto, [](const auto& par) {
        return par.first.find('/') == std::string::npos && par.first.ends_with(".txt");
    });
    return foto;
}

TResultado orden(const fs::path& carpeta, std::vector<std::string> argumentos) {
    argumentos.insert(argumentos.begin(), {"--datos", carpeta.string()});
    return ejecutarCli(argumentos);
}

const std::string kTitulos = "empresa,precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,pedPrestamoA,"
                             "pedPrestamoB,devPrestamoA,devPrestamoB\n";

}  // namespace

TEST(Computadora, DosEquiposYSeisDeLaComputadoraHastaElPeriodoDiez) {
    CarpetaTemporal carpeta;
    const fs::path dir = carpeta.ruta() / "juego";
    escribirTexto(carpeta.ruta() / "equipos.txt", "Alfa\nBeta\n");
    auto r = orden(dir, {"nuevo", (carpeta.ruta() / "equipos.txt").string(),
                         (carpetaEjemplos() / "parametros.ini").string(), "--computadora", "6"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    ASSERT_EQ(orden(dir, {"periodo0", "90", "8000", "1000", "4000", "75", "0", "80000", "70000"}).codigo, 0);
    // The computer's rows may be left out, and Beta's row follows Alfa's.
    const fs::path csv = carpeta.ruta() / "decisiones.csv";
    escribirTexto(csv, kTitulos + "Alfa,85,75,4000,8000,1000,0,0,0,0,0\nBeta,88,75,4000,6000,1000,0,0,0,0,0\n");
    for (int periodo = 1; periodo <= 10; ++periodo) {
        SCOPED_TRACE("período " + std::to_string(periodo));
        r = orden(dir, {"decisiones", csv.string()});
        ASSERT_EQ(r.codigo, 0) << r.errores;
        // Stored for the computer's companies too (some may have gone bankrupt).
        EXPECT_EQ(r.salida.find("guardadas para 2 empresas"), std::string::npos) << r.salida;
        if (periodo == 5) {
            // Redone after "volver", the period leaves the same bytes.
            ASSERT_EQ(orden(dir, {"simular"}).codigo, 0);
            const auto primera = archivosDelJuego(dir);
            ASSERT_EQ(orden(dir, {"volver"}).codigo, 0);
            ASSERT_EQ(orden(dir, {"decisiones", csv.string()}).codigo, 0);
            ASSERT_EQ(orden(dir, {"simular"}).codigo, 0);
            EXPECT_TRUE(archivosDelJuego(dir) == primera);
            continue;
        }
        r = orden(dir, {"simular"});
        ASSERT_EQ(r.codigo, 0) << r.errores;
    }
    r = orden(dir, {"estado"});
    EXPECT_NE(r.salida.find("el juego terminó"), std::string::npos) << r.salida;
    // The game's seed is new each time: which of the computer's go bankrupt varies.
    EXPECT_NE(r.salida.find(" (computadora)"), std::string::npos) << r.salida;
    EXPECT_NE(r.salida.find("Alfa "), std::string::npos) << r.salida;
    EXPECT_EQ(r.salida.find("Alfa (computadora)"), std::string::npos) << r.salida;
}

TEST(Computadora, ElCsvNoPuedeOmitirAUnEquipo) {
    CarpetaTemporal carpeta;
    const fs::path dir = carpeta.ruta() / "juego";
    escribirTexto(carpeta.ruta() / "equipos.txt", "Alfa\nBeta\n");
    ASSERT_EQ(orden(dir, {"nuevo", (carpeta.ruta() / "equipos.txt").string(),
                          (carpetaEjemplos() / "parametros.ini").string(), "--computadora", "2", "--estilo",
                          "prudente"})
                  .codigo,
              0);
    ASSERT_EQ(orden(dir, {"periodo0", "90", "8000", "1000", "4000", "75", "0", "80000", "70000"}).codigo, 0);
    const fs::path csv = carpeta.ruta() / "decisiones.csv";
    escribirTexto(csv, kTitulos + "Alfa,85,75,4000,8000,1000,0,0,0,0,0\n");
    const auto antes = fotoDeCarpeta(dir);
    const auto r = orden(dir, {"decisiones", csv.string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("faltan las de 2 («Beta»)"), std::string::npos) << r.errores;
    EXPECT_EQ(fotoDeCarpeta(dir), antes);
}

TEST(Computadora, SoloLaComputadoraSeJuegaConSimular) {
    CarpetaTemporal carpeta;
    const fs::path dir = carpeta.ruta() / "juego";
    escribirTexto(carpeta.ruta() / "vacio.txt", "");
    ASSERT_EQ(orden(dir, {"nuevo", (carpeta.ruta() / "vacio.txt").string(),
                          (carpetaEjemplos() / "parametros.ini").string(), "--computadora", "4", "--estilo", "mezcla"})
                  .codigo,
              0);
    ASSERT_EQ(orden(dir, {"periodo0", "90", "8000", "1000", "4000", "75", "0", "80000", "70000"}).codigo, 0);
    for (int periodo = 1; periodo <= 10; ++periodo) {
        const auto r = orden(dir, {"simular"});
        ASSERT_EQ(r.codigo, 0) << "período " << periodo << ": " << r.errores;
    }
}

TEST(Computadora, PracticaYOpcionesRechazadas) {
    CarpetaTemporal carpeta;
    const fs::path dir = carpeta.ruta() / "practica";
    auto r = ejecutarCli({"practica", dir.string(), "--computadora", "3"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    r = orden(dir, {"estado"});
    EXPECT_NE(r.salida.find("Próximo período: 1"), std::string::npos) << r.salida;
    EXPECT_NE(r.salida.find("Empresas activas: 4"), std::string::npos) << r.salida;
    // A game is never set up over another.
    EXPECT_EQ(ejecutarCli({"practica", dir.string()}).codigo, 1);
    for (const std::vector<std::string>& mala : std::vector<std::vector<std::string>>{
             {"practica", dir.string(), "--estilo", "temerario"},
             {"practica", dir.string(), "--computadora", "-1"},
             {"practica", dir.string(), "--computadora"},
             {"practica", dir.string(), "--otra", "1"},
             {"--datos", (carpeta.ruta() / "otro").string(), "nuevo", (carpetaEjemplos() / "equipos.txt").string(),
              (carpetaEjemplos() / "parametros.ini").string(), "--estilo", "agresivo"}}) {
        r = ejecutarCli(mala);
        EXPECT_EQ(r.codigo, 2) << mala.back() << ": " << r.errores;
    }
}
