// The documents fail as the run does: at every file operation, the folder
// holds the old documents or the new complete ones, never a part, the
// failure is reported, and no link planted at an output name is followed.

#include "comun/CarpetaTemporal.h"
#include "comun/Partida.h"
#include "comun/SistemaArchivosFalso.h"
#include "documentos/Documentos.h"
#include "documentos/Graficos.h"
#include "juego/Juego.h"
#include "juego/Planilla.h"
#include "store/ErrorArchivo.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> contenido(const fs::path& carpeta) {
    std::map<std::string, std::string> archivos;
    for (const auto& e : fs::directory_iterator(carpeta)) archivos[e.path().filename().string()] = leerTexto(e.path());
    return archivos;
}

bool completo(const std::string& nombre, const std::string& bytes) {
    if (nombre.ends_with(".pdf")) return bytes.starts_with("%PDF") && bytes.find("%%EOF") != std::string::npos;
    if (nombre.ends_with(".png")) return bytes.starts_with("\x89PNG") && bytes.find("IEND") != std::string::npos;
    return !bytes.empty();
}

struct TDocumentos {
    const char* nombre;
    std::function<void(const fs::path&)> escribir;
    bool lento = false;  // the charts take half a second: their first and last operation of each kind
};

const TDocumentos kDocumentos[] = {
    {"pdf", [](const fs::path& salida) { escribirPdfsDelPeriodo(juegoDePrueba(), 1, salida); }},
    {"graficos", [](const fs::path& salida) { escribirGraficos(juegoDePrueba(), salida); }, true},
    {"planilla",
     [](const fs::path& salida) {
         fs::create_directories(salida);
         exportarPlanilla(juegoDePrueba(), salida / "temporada.xlsx");
     }},
};

class FallasDocumentos : public ::testing::TestWithParam<std::size_t> {
protected:
    void SetUp() override {
        asegurarAplicacionGrafica(true);
        juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
        juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
        jugarPeriodos(1, [](int, int) { return TRegDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0}; });
    }
    CarpetaTemporal carpeta;
};

// Every operation that writes, syncs, renames or makes a folder fails once,
// then stops the program once: the documents' names hold the old bytes or a
// complete new document, and only a failure that hurt nothing passes quietly.
TEST_P(FallasDocumentos, EnCadaOperacionQuedanLosViejosOLosNuevosEnteros) {
    using Op = TSistemaArchivos::Operacion;
    const TDocumentos& d = kDocumentos[GetParam()];
    const fs::path salida = carpeta / "salida";
    d.escribir(salida);
    const auto viejos = contenido(salida);
    std::map<Op, int> cuentas;
    {
        TSistemaArchivosFalso contador;
        d.escribir(salida);
        for (Op op : {Op::escribir, Op::sincronizar, Op::renombrar, Op::crearCarpeta}) cuentas[op] = contador.cuenta(op);
    }
    ASSERT_GT(cuentas[Op::renombrar], 0);
    for (const auto& [op, cuenta] : cuentas)
        for (int n = 1; n <= cuenta; n = d.lento && n < cuenta ? cuenta : n + 1)
            for (bool detener : {false, true}) {
                bool escrito = false;
                {
                    TSistemaArchivosFalso falso;
                    detener ? falso.detenerEn(n, op) : falso.fallarEn(n, op);
                    try {
                        d.escribir(salida);
                        escrito = true;
                    } catch (const ErrorArchivo&) {
                    } catch (const DetencionSimulada&) {
                    }
                }
                auto ahora = contenido(salida);
                // A stopped program may leave a staged file behind, never under a document's name.
                std::erase_if(ahora, [&](const auto& e) { return detener && e.first.ends_with(".tmp"); });
                ASSERT_EQ(ahora.size(), viejos.size()) << d.nombre << " " << n << " " << detener;
                for (const auto& [nombre, bytes] : ahora)
                    EXPECT_TRUE((!escrito && bytes == viejos.at(nombre)) || completo(nombre, bytes))
                        << d.nombre << " " << nombre << " " << n << " " << detener;
            }
}

TEST_P(FallasDocumentos, UnEnlaceEnElLugarDeUnDocumentoNoSeSigue) {
    const TDocumentos& d = kDocumentos[GetParam()];
    const fs::path salida = carpeta / "salida", afuera = carpeta / "afuera.txt";
    d.escribir(salida);
    escribirBytes(afuera, {'a', 'j', 'e', 'n', 'o'});
    for (const auto& [nombre, bytes] : contenido(salida)) {
        fs::remove(salida / nombre);
        fs::create_symlink(afuera, salida / nombre);
    }
    d.escribir(salida);
    EXPECT_EQ(leerTexto(afuera), "ajeno");
    for (const auto& e : fs::directory_iterator(salida)) EXPECT_FALSE(fs::is_symlink(e.symlink_status())) << e.path();
}

INSTANTIATE_TEST_SUITE_P(Documentos, FallasDocumentos, ::testing::Range<std::size_t>(0, std::size(kDocumentos)),
                         [](const auto& info) { return std::string(kDocumentos[info.param].nombre); });

}  // namespace
