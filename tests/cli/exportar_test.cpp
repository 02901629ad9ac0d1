// The tool's spreadsheet export: the extension chooses the format, anything
// else is a command-line error, and a game without history is refused.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TResultado orden(const fs::path& carpeta, std::vector<std::string> argumentos) {
    argumentos.insert(argumentos.begin(), {"--datos", carpeta.string()});
    return ejecutarCli(argumentos);
}

void nuevoJuego(const fs::path& dir) {
    auto r = orden(dir, {"nuevo", (carpetaEjemplos() / "equipos.txt").string(),
                         (carpetaEjemplos() / "parametros.ini").string()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
}

}  // namespace

TEST(Exportar, EscribeLaPlanillaSegunLaExtension) {
    CarpetaTemporal carpeta;
    const fs::path dir = carpeta.ruta();
    nuevoJuego(dir);
    auto r = orden(dir, {"periodo0", "90", "8000", "1000", "4000", "75", "0", "80000", "70000"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const std::size_t empresas = juegoDePrueba().empresasActivas().size();

    struct Caso {
        std::string archivo;
        std::string comienzo;  // the first bytes of the file
    };
    const Caso casos[] = {{"t.xlsx", "PK\x03\x04"}, {"t.csv", "\xEF\xBB\xBFPer"}, {"T.XLSX", "PK\x03\x04"}};
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.archivo);
        const fs::path destino = carpeta / ("salida-" + caso.archivo);
        r = orden(dir, {"exportar", destino.string()});
        ASSERT_EQ(r.codigo, 0) << r.errores;
        EXPECT_NE(r.salida.find(destino.string()), std::string::npos) << r.salida;
        const std::string texto = leerTexto(destino);
        EXPECT_EQ(texto.substr(0, caso.comienzo.size()), caso.comienzo);
        if (caso.archivo == "t.csv") {
            // A header and one row per company of period 0.
            std::size_t lineas = 0;
            for (std::size_t p = 0; (p = texto.find("\r\n", p)) != std::string::npos; p += 2) ++lineas;
            EXPECT_EQ(lineas, 1 + empresas);
        }
    }
}

TEST(Exportar, RechazosConSuCodigoDeSalida) {
    CarpetaTemporal carpeta;
    const fs::path dir = carpeta.ruta();
    nuevoJuego(dir);
    struct Caso {
        std::vector<std::string> argumentos;
        int codigo;
        std::string mensaje;
    };
    const std::vector<Caso> casos = {
        {{"exportar", (carpeta / "t.ods").string()}, 2, ".xlsx o ARCHIVO.csv"},
        {{"exportar", (carpeta / "t").string()}, 2, ".xlsx o ARCHIVO.csv"},
        {{"exportar"}, 2, "exportar ARCHIVO.xlsx|ARCHIVO.csv"},
        {{"exportar", "a.csv", "b.csv"}, 2, "exportar ARCHIVO.xlsx|ARCHIVO.csv"},
        {{"exportar", (carpeta / "t.xlsx").string()}, 1, "No hay períodos simulados"},
        {{"exportar", (carpeta / "t.csv").string()}, 1, "No hay períodos simulados"},
    };
    for (const Caso& caso : casos) {
        const auto r = orden(dir, caso.argumentos);
        EXPECT_EQ(r.codigo, caso.codigo) << caso.mensaje;
        EXPECT_NE(r.errores.find(caso.mensaje), std::string::npos) << r.errores;
        EXPECT_EQ(r.salida, "");
    }
    for (const char* nombre : {"t.ods", "t", "t.xlsx", "t.csv", "t.xlsx.tmp", "t.csv.tmp"})
        EXPECT_FALSE(fs::exists(carpeta / nombre)) << nombre;
}

TEST(Exportar, LaAyudaLaNombra) {
    const auto r = ejecutarCli({"--help"});
    EXPECT_NE(r.salida.find("exportar ARCHIVO.xlsx"), std::string::npos);
    EXPECT_NE(r.salida.find("exportar ARCHIVO.csv"), std::string::npos);
}
