// Damaged record files are errors, never read by a partial copy and never
// written over; planted links are never followed.

#include "comun/CarpetaTemporal.h"
#include "comun/ParametrosDanados.h"
#include "juego/CorridaPeriodo0.h"
#include "juego/CorridaPeriodo.h"
#include "engine/apoyo_juego.h"
#include "juego/Juego.h"
#include "store/Datos_UD.h"
#include "store/DatosIniciales.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"

#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;

namespace {

struct Caso {
    const char* nombre;
    const char* archivo;
    std::size_t tamano;                 // bytes of the damaged file
    std::function<void()> leer;         // a read of that store
    std::function<void()> escribir;     // a write of that store over it
};

const std::vector<Caso>& casos() {
    static const std::vector<Caso> lista = {
        {"parámetros truncados", "DATOS INICIALES.DAT", 60,
         [] { TRegDatosIniciales r{}; TDatosjuego(carpetaDePrueba()).leerDatosIniciales(r); },
         [] { TDatosjuego(carpetaDePrueba()).guardarNombre(0, "X"); }},
        {"parámetros extendidos", "DATOS INICIALES.DAT", 225,
         [] { uint8_t a, b, c, d, e; TDatosjuego(carpetaDePrueba()).leerContadores(a, b, c, d, e); }, nullptr},
        {"dos registros de parámetros", "DATOS INICIALES.DAT", 448,
         [] { TRegDatosIniciales r{}; TDatosjuego(carpetaDePrueba()).leerDatosIniciales(r); }, nullptr},
        {"nombre partido", "NOMBRES.DAT", 51 * 2 + 10, [] { std::string n; TDatosjuego(carpetaDePrueba()).leerNombre(1, n); },
         [] { TDatosjuego(carpetaDePrueba()).guardarNombre(0, "X"); }},
        {"resultado partido", "DATOS ACUMULADOS.DAT", 104 * 3 - 1, [] { TDatosAcum(carpetaDePrueba()).leerTodos(); },
         [] { TDatosAcum(carpetaDePrueba()).guardarAcum(1, TRegDatosAcum{}); }},
        {"resultado extendido", "DATOS ACUMULADOS.DAT", 104 + 3, [] { TDatosAcum(carpetaDePrueba()).cantidadAcum(); },
         [] { TDatosAcum(carpetaDePrueba()).eliminarAcum(1); }},
        {"decisión partida", "DECISIONES.DAT", 40 * 2 + 39, [] { TDecision(carpetaDePrueba()).leerDecisiones(2); }, nullptr},
        {"decisión extendida", "DECISIONES.DAT", 41, [] { TDecision(carpetaDePrueba()).leerDecisiones(1); }, nullptr},
    };
    return lista;
}

}  // namespace

TEST(Danados, CadaAlmacenRechazaUnArchivoQueNoSonRegistrosEnteros) {
    for (const Caso& caso : casos()) {
        CarpetaTemporal carpeta;
        const std::vector<uint8_t> bytes(caso.tamano, 0x2A);
        escribirBytes(carpeta / caso.archivo, bytes);
        try {
            caso.leer();
            ADD_FAILURE() << caso.nombre << ": se leyó como válido";
        } catch (const ErrorArchivoDanado& e) {
            EXPECT_NE(std::string(e.what()).find(caso.archivo), std::string::npos) << e.what();
        }
        if (caso.escribir) {
            // The write refuses (or, for decisions, warns) and the file stays as it was.
            try {
                caso.escribir();
            } catch (const ErrorArchivoDanado&) {
            }
            EXPECT_EQ(leerBytes(carpeta / caso.archivo), bytes) << caso.nombre;
        }
    }
}

// A parameters record with a field out of its range is damaged for the runs
// and for the game, the message naming the file and the box.
TEST(Danados, ParametrosFueraDeSuRango) {
    const std::vector<std::function<void()>> lecturas = {
        [] { TDatosjuego(carpetaDePrueba()).leerDatosDelJuego(); },
        [] { TJuego(carpetaDePrueba().ruta()).leerEstado(); },
    };
    for (const TParametroDanado& caso : parametrosDanados()) {
        CarpetaTemporal carpeta;
        TRegDatosIniciales r = armarDatosIniciales(ejemploDatosIniciales(), 3);
        caso.danar(r);
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(r);
        for (const auto& leer : lecturas) {
            try {
                leer();
                ADD_FAILURE() << caso.nombre << ": se leyó como válido";
            } catch (const ErrorArchivoDanado& e) {
                const std::string mensaje = e.what();
                EXPECT_NE(mensaje.find("DATOS INICIALES.DAT\": el archivo está dañado: "), std::string::npos) << mensaje;
                EXPECT_NE(mensaje.find(std::string(caso.caja) + " está fuera del rango"), std::string::npos) << mensaje;
            }
        }
    }
}

// Every box typed at either end of its range is stored as a record that is
// not damaged: storing a rate does not push it past its bound.
TEST(Danados, ParametrosEnLosExtremosDeSuRango) {
    for (const bool maximo : {false, true}) {
        TTextosDatosIniciales t = ejemploDatosIniciales();
        for (const TParametro& p : kTablaParametros)
            if (p.conRango) t.*p.texto = std::to_string(static_cast<int64_t>(maximo ? p.maximo : p.minimo));
        EXPECT_EQ(fallaDeParametros(armarDatosIniciales(t, 3)), "") << (maximo ? "máximos" : "mínimos");
    }
}

TEST(Enlaces, UnEnlacePlantadoNoSeSigue) {
#ifdef _WIN32
    GTEST_SKIP() << "MinGW's std::filesystem cannot create symbolic links";
#endif
    CarpetaTemporal carpeta;
    const fs::path afuera = carpeta.ruta().string() + "-afuera";
    fs::create_directories(afuera);
    escribirBytes(afuera / "victima.txt", {'n', 'o'});

    // The temporary file of a save, planted as a link: the save replaces the
    // link, and the file it points to keeps its bytes.
    fs::create_symlink(afuera / "victima.txt", carpeta / "DATOS INICIALES.DAT.tmp");
    TRegDatosIniciales r{};
    r.periodoActual = 1;
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(r);
    EXPECT_EQ(leerBytes(afuera / "victima.txt"), (std::vector<uint8_t>{'n', 'o'}));
    EXPECT_EQ(fs::file_size(carpeta / "DATOS INICIALES.DAT"), 224u);
    EXPECT_FALSE(fs::is_symlink(carpeta / "DATOS INICIALES.DAT"));

    // A game file that is a link is never opened through it.
    fs::create_symlink(afuera / "victima.txt", carpeta / "DECISIONES.DAT");
    EXPECT_THROW(TDecision(carpetaDePrueba()).leerDecisiones(1), ErrorArchivo);
    fs::remove(carpeta / "DECISIONES.DAT");

    // A folder removed as a tree: a link inside goes as a link.
    fs::create_directories(carpeta / "arbol");
    fs::create_directory_symlink(afuera, carpeta / "arbol" / "enlace");
    eliminarArbol(carpetaDePrueba().sa(), carpeta / "arbol");
    EXPECT_FALSE(fs::exists(carpeta / "arbol"));
    EXPECT_TRUE(fs::exists(afuera / "victima.txt"));
    fs::remove_all(afuera);
}

TEST(Enlaces, UnHistorialQueEsUnEnlaceDetieneLaCorridaSinTocarNadaAfuera) {
#ifdef _WIN32
    GTEST_SKIP() << "MinGW's std::filesystem cannot create symbolic links";
#endif
    CarpetaTemporal carpeta;
    const fs::path afuera = carpeta.ruta().string() + "-afuera";
    fs::create_directories(afuera / "Periodo 1");
    escribirBytes(afuera / "Periodo 1" / "ajeno.txt", {'s', 'i'});
    fs::create_directory_symlink(afuera, carpeta / "historial");
    guardarJuego(parametrosNeutros(1), {empresaNeutra("Una")}, {decisionNeutra()});
    const auto parametros = leerBytes(carpeta / "DATOS INICIALES.DAT");
    EXPECT_THROW(simularPeriodo(carpetaDePrueba()), ErrorArchivo);
    EXPECT_EQ(leerBytes(afuera / "Periodo 1" / "ajeno.txt"), (std::vector<uint8_t>{'s', 'i'}));
    EXPECT_EQ(leerBytes(carpeta / "DATOS INICIALES.DAT"), parametros);
    EXPECT_FALSE(fs::exists(carpeta / "COMZONA1Una.txt"));
    fs::remove_all(afuera);
}

TEST(SinJuego, LasCorridasNoEmpiezanUnJuegoPropio) {
    for (const auto& correr : std::vector<std::function<void()>>{[] { simularPeriodo(carpetaDePrueba()); }, [] {
             TDecisionesPeriodo0 d = ejemploPeriodo0();
             ejecutarPeriodo0(carpetaDePrueba(), d);
         }}) {
        CarpetaTemporal carpeta;
        EXPECT_THROW(correr(), ErrorArchivo);
        EXPECT_TRUE(fs::is_empty(carpeta.ruta()));
    }
}
