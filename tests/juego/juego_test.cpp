// The game core: where a game stands, refusals on a game that moved, the
// folder lock, a new game over an old one, and recovery on opening.

#include "comun/CarpetaTemporal.h"
#include "comun/FotoCarpeta.h"
#include "comun/MensajeDe.h"
#include "juego/Juego.h"
#include "juego/Planilla.h"
#include "store/CarpetaDatos.h"
#include "store/DatosAcum_UD.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace fs = std::filesystem;

namespace {

const TRegDecision kDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};

TFoto foto(const CarpetaTemporal& carpeta) { return fotografiar(carpeta.ruta()); }

// Two teams, period 0 run: period 1 open.
void juegoEnPeriodo1() {
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
}

void correrPeriodo() {
    juegoDePrueba().guardarDecisiones({kDecision, kDecision});
    juegoDePrueba().simular();
}

}  // namespace

TEST(Juego, FasesYMarcaALoLargoDeUnJuego) {
    CarpetaTemporal carpeta;
    EXPECT_EQ(juegoDePrueba().leerEstado().marca.fase, TFase::sinJuego);
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    const TMarca preparado = juegoDePrueba().leerEstado().marca;
    EXPECT_EQ(preparado.fase, TFase::preparado);
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    const TMarca abierto = juegoDePrueba().leerEstado().marca;
    EXPECT_EQ(abierto.fase, TFase::abierto);
    EXPECT_EQ(abierto.periodo, 1);
    EXPECT_NE(abierto.huella, preparado.huella);
    // Storing decisions does not move the game: the screens stay valid.
    juegoDePrueba().guardarDecisiones({kDecision, kDecision});
    EXPECT_EQ(juegoDePrueba().leerEstado().marca, abierto);
    EXPECT_EQ(juegoDePrueba().simular(&abierto).periodo, 1);
    EXPECT_EQ(juegoDePrueba().leerEstado().marca.periodo, 2);
    EXPECT_EQ(juegoDePrueba().volver(), 1);
    // Back at period 1 with the same results: the mark is the same game again.
    EXPECT_EQ(juegoDePrueba().leerEstado().marca, abierto);
}

TEST(Juego, UnaPantallaDeUnJuegoQueCambioNoGuardaNada) {
    struct Caso {
        const char* nombre;
        std::function<void()> antes;  // before the screen opens
        std::function<void()> mover;  // what happens while it is open
        const char* esperado;
    };
    const Caso casos[] = {
        {"otra simulación", [] {}, correrPeriodo, "ahora está abierto el período 2"},
        {"volver atrás", correrPeriodo, [] { juegoDePrueba().volver(); }, "ahora está abierto el período 1"},
        {"juego nuevo", [] {}, [] { juegoDePrueba().crearJuego({"Gama"}, ejemploDatosIniciales()); }, "ahora hay un juego nuevo"},
    };
    for (const Caso& caso : casos) {
        CarpetaTemporal carpeta;
        juegoEnPeriodo1();
        caso.antes();
        const TMarca marca = juegoDePrueba().leerEstado().marca;
        caso.mover();
        const auto antes = foto(carpeta);
        const std::string esperado = caso.esperado;
        for (const std::string& mensaje :
             {mensajeDe([&] { juegoDePrueba().guardarDecisiones({kDecision, kDecision}, &marca); }),
              mensajeDe([&] { juegoDePrueba().simular(&marca); }), mensajeDe([&] { juegoDePrueba().modificarDatos(ejemploDatosIniciales(), &marca); }),
              mensajeDe([&] { juegoDePrueba().correrPeriodo0(ejemploPeriodo0(), &marca); })}) {
            EXPECT_EQ(mensaje.rfind("El juego cambió: ", 0), 0u) << caso.nombre << ": " << mensaje;
            EXPECT_NE(mensaje.find(esperado), std::string::npos) << caso.nombre << ": " << mensaje;
            EXPECT_NE(mensaje.find("Cierre esta pantalla y vuelva a abrirla."), std::string::npos) << mensaje;
        }
        EXPECT_EQ(foto(carpeta), antes) << caso.nombre;
    }
}

TEST(Juego, OtroProgramaConElBloqueoLoRechazaSinTocarNada) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    juegoDePrueba().guardarDecisiones({kDecision, kDecision});
    const auto antes = foto(carpeta);
    TSistemaArchivos& sa = carpetaDePrueba().sa();
    // A lock taken through a descriptor of its own, as another program would.
    for (bool exclusivo : {true, false}) {
        const int otro = sa.bloquear(carpeta / "CORVELIAN.LCK", exclusivo);
        ASSERT_GE(otro, 0);
        for (const std::string& mensaje :
             {mensajeDe([] { juegoDePrueba().simular(); }), mensajeDe([] { juegoDePrueba().volver(); }),
              mensajeDe([] { juegoDePrueba().guardarDecisiones({kDecision, kDecision}); }),
              mensajeDe([] { juegoDePrueba().crearJuego({"Gama"}, ejemploDatosIniciales()); })})
            EXPECT_EQ(mensaje, "El juego está en uso por otro programa.") << exclusivo;
        // Readers share the lock with readers.
        if (!exclusivo) {
            EXPECT_EQ(juegoDePrueba().leerEstado().datos.periodoActual, 1);
        }
        sa.cerrar(otro);
    }
    EXPECT_EQ(foto(carpeta), antes);
    EXPECT_EQ(juegoDePrueba().simular().periodo, 1);
}

TEST(Juego, UnJuegoNuevoApartaLaHistoriaDelAnterior) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    correrPeriodo();
    const auto periodo1 = leerBytes(carpeta / "historial" / "Periodo 1" / "INDZONA1.txt");
    juegoDePrueba().crearJuego({"Gama", "Delta", "Epsilon"}, ejemploDatosIniciales());
    EXPECT_FALSE(fs::exists(carpeta / "historial"));
    EXPECT_EQ(leerBytes(carpeta / "historial anterior 1" / "Periodo 1" / "INDZONA1.txt"), periodo1);
    for (const char* archivo :
         {"DATOS ACUMULADOS.DAT", "DECISIONES.DAT", "AUXACUM.DAT", "AUXDECISIONES.DAT", "AUXINI.DAT"})
        EXPECT_FALSE(fs::exists(carpeta / archivo)) << archivo;
    EXPECT_EQ(juegoDePrueba().leerEstado().marca.fase, TFase::preparado);
    EXPECT_EQ(mensajeDe([] { juegoDePrueba().volver(); }), "No hay un período para deshacer.");

    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    juegoDePrueba().crearJuego({"Zeta"}, ejemploDatosIniciales());
    EXPECT_TRUE(fs::exists(carpeta / "historial anterior 2" / "Periodo 0"));
    EXPECT_TRUE(fs::exists(carpeta / "historial anterior 1" / "Periodo 1"));
}

TEST(Juego, NombresQueChocanNoArmanElJuego) {
    CarpetaTemporal carpeta;
    const std::string mensaje = mensajeDe([] { juegoDePrueba().crearJuego({"A/B", "A:B"}, ejemploDatosIniciales()); });
    EXPECT_NE(mensaje.find("A/B"), std::string::npos) << mensaje;
    EXPECT_NE(mensaje.find("A:B"), std::string::npos) << mensaje;
    EXPECT_TRUE(foto(carpeta).empty());
}

TEST(Juego, ReanudarSinJuegoLoDiceYNoCreaNada) {
    CarpetaTemporal carpeta;
    EXPECT_EQ(mensajeDe([] { juegoDePrueba().reanudar(); }), "No hay un juego guardado en esta carpeta.");
    EXPECT_EQ(juegoDePrueba().indemnizacionPorEmpleado(), 300);
    EXPECT_TRUE(fs::is_empty(carpeta.ruta()));
}

TEST(Juego, UnJuegoDanadoNoSeAbreNiSeEscribe) {
    struct Caso {
        const char* nombre;
        std::function<void(const CarpetaTemporal&)> danar;
    };
    const Caso casos[] = {
        {"parámetros cortos", [](const CarpetaTemporal& c) {
             auto b = leerBytes(c / "DATOS INICIALES.DAT");
             b.resize(60);
             escribirBytes(c / "DATOS INICIALES.DAT", b);
         }},
        {"período imposible", [](const CarpetaTemporal& c) {
             auto b = leerBytes(c / "DATOS INICIALES.DAT");
             b[7] = 12;
             escribirBytes(c / "DATOS INICIALES.DAT", b);
         }},
        {"contadores que no suman", [](const CarpetaTemporal& c) {
             auto b = leerBytes(c / "DATOS INICIALES.DAT");
             b[0] = 5;
             escribirBytes(c / "DATOS INICIALES.DAT", b);
         }},
        {"resultado partido", [](const CarpetaTemporal& c) {
             auto b = leerBytes(c / "DATOS ACUMULADOS.DAT");
             b.pop_back();
             escribirBytes(c / "DATOS ACUMULADOS.DAT", b);
         }},
        {"falta una empresa", [](const CarpetaTemporal& c) {
             auto b = leerBytes(c / "DATOS ACUMULADOS.DAT");
             b.resize(104);
             escribirBytes(c / "DATOS ACUMULADOS.DAT", b);
         }},
        {"decisión partida", [](const CarpetaTemporal& c) {
             escribirBytes(c / "DECISIONES.DAT", std::vector<uint8_t>(50, 1));
         }},
    };
    for (const Caso& caso : casos) {
        CarpetaTemporal carpeta;
        juegoEnPeriodo1();
        juegoDePrueba().guardarDecisiones({kDecision, kDecision});
        caso.danar(carpeta);
        const auto antes = foto(carpeta);
        EXPECT_THROW(juegoDePrueba().leerEstado(), ErrorArchivoDanado) << caso.nombre;
        EXPECT_THROW(juegoDePrueba().simular(), ErrorArchivoDanado) << caso.nombre;
        EXPECT_THROW(juegoDePrueba().guardarDecisiones({kDecision, kDecision}), ErrorArchivoDanado) << caso.nombre;
        EXPECT_EQ(foto(carpeta), antes) << caso.nombre;
    }
}

TEST(Juego, AlAbrirDeshaceUnCambioInterrumpidoYLoDice) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    const auto antes = foto(carpeta);
    // A run stopped before its commit point leaves only staged files.
    fs::create_directories(carpeta / "TRANSACCION.TMP");
    escribirBytes(carpeta / "TRANSACCION.TMP" / "COMO ANTES.TXT", {'o', 'k'});
    escribirBytes(carpeta / "TRANSACCION.TMP" / "DATOS ACUMULADOS.DAT", {1, 2, 3});
    registroNotificador().eventos.clear();
    EXPECT_EQ(juegoDePrueba().leerEstado().marca.periodo, 1);
    EXPECT_FALSE(fs::exists(carpeta / "TRANSACCION.TMP"));
    EXPECT_EQ(foto(carpeta), antes);
    ASSERT_EQ(registroNotificador().eventos.size(), 1u);
    EXPECT_NE(registroNotificador().eventos[0].find(cp1252("se interrumpió")), std::string::npos);
}

TEST(Juego, UnDiarioDanadoSeNombraYNoDejaElJuegoBloqueado) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    escribirBytes(carpeta / "TRANSACCION.DAT", {'x', '\n'});
    const auto antes = foto(carpeta);
    const std::string mensaje = mensajeDe([] { juegoDePrueba().leerEstado(); });
    EXPECT_NE(mensaje.find("TRANSACCION.DAT"), std::string::npos) << mensaje;
    EXPECT_EQ(foto(carpeta), antes);
    // The failed opening let go of the lock: another program may take it.
    const int otro = carpetaDePrueba().sa().bloquear(carpeta / "CORVELIAN.LCK", true);
    EXPECT_GE(otro, 0);
    if (otro >= 0) carpetaDePrueba().sa().cerrar(otro);
}

// Folders and files named outside Windows' ANSI code page ("Ω") are named
// in the messages as UTF-8, on every system, and never make the message fail.
TEST(Juego, LosMensajesNombranRutasConCualquierLetra) {
    CarpetaTemporal carpeta;
    const fs::path sinJuego = carpeta / "Ω sin juego";
    fs::create_directory(sinJuego);
    struct Caso {
        std::function<void()> accion;
        std::string mensaje;
    };
    const Caso casos[] = {
        {[&] { TJuego(sinJuego).modificarDatos(ejemploDatosIniciales()); },
         "Ω sin juego». Empiece uno con «Nuevo»."},
        {[&] { exportarPlanilla(juegoDePrueba(), carpeta / "Ωmega.ods"); }, "no como «Ωmega.ods»."},
    };
    for (const Caso& caso : casos) {
        const std::string mensaje = mensajeDe(caso.accion);
        EXPECT_NE(mensaje.find(caso.mensaje), std::string::npos) << mensaje;
    }
    EXPECT_TRUE(fs::is_empty(sinJuego));
}

// A set-up refused after its boxes were read (another program holds the
// game; a later box fails) changes nothing of the stored game: the next run
// charges the stored severance, not the one typed.
TEST(Juego, UnNuevoRechazadoNoCambiaLaIndemnizacionDeLaCorrida) {
    struct Caso {
        const char* nombre;
        bool bloqueado;
        const char* penalidad;
    };
    for (const Caso& caso : {Caso{"en uso", true, "500"}, Caso{"caja que falla", false, "x"}}) {
        CarpetaTemporal carpeta;
        juegoEnPeriodo1();
        TTextosDatosIniciales otro = ejemploDatosIniciales();
        otro.indemXEmpleado = "900";
        otro.penalidad = caso.penalidad;
        const int bloqueo = caso.bloqueado ? carpetaDePrueba().sa().bloquear(carpeta / "CORVELIAN.LCK", true) : -1;
        EXPECT_THROW(juegoDePrueba().crearJuego({"Gama"}, otro), std::exception) << caso.nombre;
        if (bloqueo >= 0) carpetaDePrueba().sa().cerrar(bloqueo);
        EXPECT_EQ(juegoDePrueba().indemnizacionPorEmpleado(), 300) << caso.nombre;

        // Alfa stops producing: every employee is laid off.
        const int32_t empleados = TDatosAcum(carpetaDePrueba()).leerTodos().front().empleados;
        ASSERT_GT(empleados, 0);
        TRegDecision parada = kDecision;
        parada.nivelProduccion = 0;
        juegoDePrueba().guardarDecisiones({parada, kDecision});
        juegoDePrueba().simular();
        const std::string reporte = juegoDePrueba().reporteDelHistorial(1, "COMZONA1Alfa.txt");
        const std::string linea = "Indemnizaciones     " + enteroAlineado(empleados * 300, 7);
        EXPECT_NE(reporte.find(linea), std::string::npos) << caso.nombre << "\n" << reporte;
    }
}

// After a step back the game folder's reports are those of the last period
// that stays run, as its history filed them.
TEST(Juego, VolverDejaLosInformesDelUltimoPeriodoCorrido) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    correrPeriodo();
    correrPeriodo();
    EXPECT_EQ(juegoDePrueba().volver(), 2);
    std::map<std::string, std::string> enCarpeta, enHistoria;
    for (const auto& e : fs::directory_iterator(carpeta.ruta()))
        if (e.path().extension() == ".txt") enCarpeta[e.path().filename().string()] = leerTexto(e.path());
    for (const auto& e : fs::directory_iterator(carpeta / "historial" / "Periodo 1"))
        if (e.path().extension() == ".txt") enHistoria[e.path().filename().string()] = leerTexto(e.path());
    EXPECT_EQ(enCarpeta, enHistoria);
}
