// Every file operation of the runs, the step back and the parameter save,
// made to fail or cut short by a crash, one at a time: the game folder must
// always end exactly as before the change or exactly as after it, and what
// the call or the recovery says must match which one.

#include "comun/ArchivosDePrueba.h"
#include "engine/apoyo_juego.h"
#include "comun/FotoCarpeta.h"
#include "comun/SistemaArchivosFalso.h"
#include "juego/CorridaPeriodo0.h"
#include "juego/CorridaPeriodo.h"
#include "juego/Juego.h"
#include "store/CarpetaDatos.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"
#include "store/Transaccion.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <optional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Operacion = TSistemaArchivos::Operacion;

// A period-2 game of three companies with the history, reports and
// checkpoint of period 1; in period 2 "Beta" borrows far beyond its limit
// and goes bankrupt, so the run writes a notice and removes a company.
void juegoEnPeriodo2() {
    auto ini = parametrosNeutros(3);
    ini.maxCreditoA = 50000;
    ini.limiteGiroDescubierto = 1000;
    const auto sana = decisionNeutra();
    guardarJuego(ini, {empresaNeutra("Alfa"), empresaNeutra("Beta"), empresaNeutra("Gama")}, {sana, sana, sana});
    simularPeriodo(carpetaDePrueba());
    auto quiebra = decisionNeutra();
    quiebra.pedPrestamoA = 100000;
    auto otra = decisionNeutra();
    otra.precio = 70;
    TDecision(carpetaDePrueba()).guardarDecisiones({sana, quiebra, otra});
}

void juegoNuevo() {
    TDatosjuego datos(carpetaDePrueba());
    const std::vector<std::string> equipos{"Alfa", "Beta", "Gama"};
    for (std::size_t i = 0; i < equipos.size(); ++i) datos.guardarNombre(static_cast<uint8_t>(i), equipos[i]);
    guardarJuegoNuevo(carpetaDePrueba(), armarDatosIniciales(ejemploDatosIniciales(), static_cast<uint8_t>(equipos.size())));
}

TDecisionesPeriodo0 decisionesPeriodo0(int32_t precio) {
    TDecisionesPeriodo0 d = ejemploPeriodo0();
    d.precio = precio;
    d.nombreBancoA = "NACION";
    d.nombreBancoB = "PROVINCIA";
    return d;
}

// The sweeps rebuild the folder hundreds of times: in memory when there is
// a RAM-backed folder, where ext4 does not flush on every replacing rename.
class CarpetaRapida {
public:
    const fs::path& ruta() const { return base_.ruta(); }

private:
    CarpetaTemporal base_{fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()};
};

// The warning of a change that happened without the disk's confirmation,
// as the game object tells it; empty when there was none.
std::string avisoDelJuego() {
    for (const std::string& evento : registroNotificador().eventos)
        if (evento.starts_with("advertencia") && evento.find("no confirm") != std::string::npos) return evento;
    return {};
}

struct TEscenario {
    const char* nombre;
    std::function<void()> preparar;     // builds the "before" folder
    std::function<std::string()> accion;  // the change under test; returns its warning
    // Without a transaction, a sync that fails after the rename can only be
    // reported: the new file is in place but maybe not yet durable.
    bool errorTrasCambioPermitido;
    // A change of the game object ends by closing the folder's lock, whose
    // failure it ignores (closing releases the lock whatever close says).
    bool cierraElBloqueo = false;
};

const std::vector<TEscenario>& escenarios() {
    static const std::vector<TEscenario> lista = {
        {"Periodo", juegoEnPeriodo2, [] { return simularPeriodo(carpetaDePrueba()).aviso; }, false},
        // After a step back the history already holds the period; the rerun replaces it.
        {"PeriodoTrasVolverAtras",
         [] {
             juegoEnPeriodo2();
             simularPeriodo(carpetaDePrueba());
             restaurarRespaldo(carpetaDePrueba());
         },
         [] { return simularPeriodo(carpetaDePrueba()).aviso; }, false},
        {"Periodo0", juegoNuevo, [] { return ejecutarPeriodo0(carpetaDePrueba(), decisionesPeriodo0(90)).aviso; }, false},
        // Period 0 run again before period 1: its reports and history are replaced.
        {"Periodo0Repetido",
         [] {
             juegoNuevo();
             ejecutarPeriodo0(carpetaDePrueba(), decisionesPeriodo0(90));
         },
         [] { return ejecutarPeriodo0(carpetaDePrueba(), decisionesPeriodo0(80)).aviso; }, false},
        {"VolverAtras",
         [] {
             juegoEnPeriodo2();
             simularPeriodo(carpetaDePrueba());
         },
         [] {
             std::string aviso;
             EXPECT_TRUE(restaurarRespaldo(carpetaDePrueba(), {}, &aviso));
             return aviso;
         },
         false},
        // A new game over a running one, with its file of the computer's
        // companies; the game's lock file is there before, as any opening leaves it.
        {"JuegoNuevoConComputadora",
         [] {
             juegoEnPeriodo2();
             juegoDePrueba().leerEstado();
         },
         [] {
             juegoDePrueba().crearJuego({"Uno", "Compu 1"}, ejemploDatosIniciales(),
                                        {3, {{"Compu 1", TEstilo::imitador}}});
             return avisoDelJuego();
         },
         false, true},
        // A practice, set up and its period 0 run, in a folder an opening left its lock files in.
        {"Practica",
         [] {
             escribirBytes(carpetaDePrueba().ruta(kArchivoBloqueo), {});
             escribirBytes(carpetaDePrueba().ruta(kArchivoTurno), {});
         },
         [] {
             juegoDePrueba().crearPractica("Mi empresa", 2, std::nullopt, 7);
             return avisoDelJuego();
         },
         false, true},
        // One file replaced: past its rename, a failure is the disk's doubt, told as a warning.
        {"GuardarDecisiones",
         [] {
             juegoEnPeriodo2();
             juegoDePrueba().leerEstado();
         },
         [] {
             auto otra = decisionNeutra();
             otra.precio = 55;
             juegoDePrueba().guardarDecisiones({otra, otra, otra});
             return avisoDelJuego();
         },
         false, true},
        {"GuardarParametros", juegoEnPeriodo2,
         [] {
             auto ini = leerParametros();
             ini.tasaImpuestos = 0.35;
             ini.maxCreditoB = 123456;
             TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(ini);
             return std::string();
         },
         true},
    };
    return lista;
}

std::string nombreOperacion(std::optional<Operacion> o) {
    static const char* const nombres[] = {"abrir",    "leer",     "escribir", "sincronizar",  "cerrar",
                                          "truncar",  "renombrar", "eliminar", "enlazar",     "crearCarpeta",
                                          "listar",   "bloquear", "tipo"};
    return o ? nombres[static_cast<std::size_t>(*o)] : "?";
}

bool contiene(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

// The folder before the change, after a clean run of it, and how many file
// operations that clean run makes.
struct TReferencia {
    TFoto antes, despues;
    int operaciones = 0;
};

TReferencia referencia(const TEscenario& e, const fs::path& carpeta) {
    e.preparar();
    TReferencia r;
    r.antes = fotografiar(carpeta);
    restaurarFoto(carpeta, r.antes);
    {
        TSistemaArchivosFalso falso;
        registroNotificador().eventos.clear();
        EXPECT_EQ(e.accion(), "");
        r.operaciones = falso.total();
        EXPECT_EQ(falso.abiertos(), 0u);
    }
    r.despues = fotografiar(carpeta);
    EXPECT_NE(r.antes, r.despues) << "the change must change something";
    EXPECT_FALSE(r.despues.contains(kDiarioTransaccion));
    EXPECT_FALSE(r.despues.contains(kCarpetaTransaccion));
    // The same clean run counts the same operations every time.
    restaurarFoto(carpeta, r.antes);
    {
        TSistemaArchivosFalso falso;
        EXPECT_EQ(e.accion(), "");
        EXPECT_EQ(falso.total(), r.operaciones);
    }
    EXPECT_EQ(fotografiar(carpeta), r.despues);
    return r;
}

// Collects the first few problems of a sweep, so that one fault does not
// flood the output with hundreds of copies.
struct TProblemas {
    std::vector<std::string> lista;
    int total = 0;
    void agregar(int n, std::optional<Operacion> op, const std::string& texto) {
        ++total;
        if (lista.size() < 6)
            lista.push_back("operación " + std::to_string(n) + " (" + nombreOperacion(op) + "): " + texto);
    }
    void informar() const {
        for (const auto& p : lista) ADD_FAILURE() << p;
        if (total > static_cast<int>(lista.size())) ADD_FAILURE() << total << " problemas en total";
    }
};

class Fallas : public ::testing::TestWithParam<std::size_t> {};

TEST_P(Fallas, UnaFallaEnCadaOperacionDejaElJuegoAntesODespues) {
    const TEscenario& e = escenarios()[GetParam()];
    CarpetaRapida carpeta;
    const TReferencia ref = referencia(e, carpeta.ruta());
    ASSERT_GT(ref.operaciones, 0);

    int antes = 0, despues = 0, absorbidas = 0, trasCambio = 0;
    TProblemas problemas;
    for (int n = 1; n <= ref.operaciones; ++n) {
        restaurarFoto(carpeta.ruta(), ref.antes);
        registroNotificador().eventos.clear();
        std::optional<std::string> error;
        std::string aviso;
        bool diario = false;
        std::optional<Operacion> op;
        {
            TSistemaArchivosFalso falso;
            falso.fallarEn(n);
            try {
                aviso = e.accion();
            } catch (const ErrorArchivo& x) {
                error = x.what();
            }
            op = falso.operacionAfectada();
            if (!falso.fallaOcurrida()) problemas.agregar(n, op, "la falla no ocurrió");
            if (falso.abiertos() != 0) problemas.agregar(n, op, "quedaron archivos abiertos tras el error");
            // The commit point: a journal in place means the change is to be finished.
            diario = sistemaArchivosReal().tipo(carpetaDePrueba().ruta(kDiarioTransaccion)) != TSistemaArchivos::Tipo::ninguno;
        }
        std::string mensaje;
        if (diario) mensaje = recuperarTransaccion(carpetaDePrueba());
        const TFoto foto = fotografiar(carpeta.ruta());

        if (!error && aviso.empty()) {
            // Only a failure the code works around may go unreported, and then the change is whole.
            if (diario || foto != ref.despues)
                problemas.agregar(n, op, "la falla no se informó y el juego no quedó como después:\n" +
                                             diferencias(ref.despues, foto));
            ++absorbidas;
        } else if (!error) {
            // Past the commit point the change happened: a warning, never a failure.
            if (foto != ref.despues)
                problemas.agregar(n, op, "con el aviso «" + aviso + "», el juego no quedó como después:\n" +
                                             diferencias(ref.despues, foto));
            if (diario && !contiene(mensaje, "se completó"))
                problemas.agregar(n, op, "mensaje de recuperación: " + mensaje);
            ++despues;
        } else if (diario) {
            problemas.agregar(n, op, "falla «" + *error + "» informada con el cambio ya confirmado");
        } else if (foto == ref.antes) {
            // A change that did not happen has shown nothing to the game master.
            if (!registroNotificador().eventos.empty())
                problemas.agregar(n, op, "avisó sin haber cambiado nada: " + registroNotificador().eventos.front());
            ++antes;
        } else if (foto == ref.despues && e.errorTrasCambioPermitido && op == Operacion::sincronizar) {
            ++trasCambio;
        } else {
            problemas.agregar(n, op, "error «" + *error + "» sin diario y el juego no quedó como antes:\n" +
                                         diferencias(ref.antes, foto));
        }
    }
    problemas.informar();
    // The sweep reaches both sides of the commit point.
    EXPECT_GT(antes, 0);
    EXPECT_GT(despues + trasCambio, 0);
    std::cout << "[ " << e.nombre << " ] " << ref.operaciones << " operaciones; fallas: " << antes << " antes, "
              << despues << " después (con aviso), " << trasCambio << " después con error de sincronización, "
              << absorbidas << " salvadas sin error\n";
}

TEST_P(Fallas, UnaDetencionEnCadaOperacionSeRecuperaAntesODespues) {
    const TEscenario& e = escenarios()[GetParam()];
    CarpetaRapida carpeta;
    const TReferencia ref = referencia(e, carpeta.ruta());
    ASSERT_GT(ref.operaciones, 0);

    int antes = 0, despues = 0, antesPendiente = 0, despuesPendiente = 0;
    TProblemas problemas;
    for (int n = 1; n <= ref.operaciones; ++n) {
        restaurarFoto(carpeta.ruta(), ref.antes);
        std::optional<Operacion> op;
        {
            TSistemaArchivosFalso falso;
            falso.detenerEn(n);
            bool detenida = false;
            try {
                e.accion();
            } catch (const DetencionSimulada&) {
                detenida = true;
            }
            op = falso.operacionAfectada();
            const bool alCerrarElBloqueo = e.cierraElBloqueo && n == ref.operaciones && op == Operacion::cerrar;
            if (!detenida && !alCerrarElBloqueo) problemas.agregar(n, op, "la detención no llegó hasta quien llamó");
            falso.reanudar();
        }
        // The restart, with the real file system.
        const bool pendiente = hayTransaccionPendiente(carpetaDePrueba());
        const std::string mensaje = recuperarTransaccion(carpetaDePrueba());
        const TFoto foto = fotografiar(carpeta.ruta());
        if (foto == ref.antes) {
            if (pendiente ? !contiene(mensaje, "se interrumpió;") || contiene(mensaje, "se completó")
                          : !mensaje.empty())
                problemas.agregar(n, op, "quedó como antes, pero el mensaje dice: «" + mensaje + "»");
            ++(pendiente ? antesPendiente : antes);
        } else if (foto == ref.despues) {
            if (pendiente ? !contiene(mensaje, "se completó") : !mensaje.empty())
                problemas.agregar(n, op, "quedó como después, pero el mensaje dice: «" + mensaje + "»");
            ++(pendiente ? despuesPendiente : despues);
        } else {
            problemas.agregar(n, op, "ni antes ni después; frente a antes:\n" + diferencias(ref.antes, foto) +
                                         "frente a después:\n" + diferencias(ref.despues, foto));
        }
    }
    problemas.informar();
    EXPECT_GT(antes + antesPendiente, 0);
    EXPECT_GT(despues + despuesPendiente, 0);
    std::cout << "[ " << e.nombre << " ] " << ref.operaciones << " operaciones; detenciones: "
              << antes + antesPendiente << " antes (" << antesPendiente << " deshechas al recuperar), "
              << despues + despuesPendiente << " después (" << despuesPendiente << " completadas al recuperar)\n";
}

INSTANTIATE_TEST_SUITE_P(Escenarios, Fallas, ::testing::Range<std::size_t>(0, 9),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return std::string(escenarios()[info.param].nombre);
                         });

// The fake itself: it counts by kind, fails only the chosen operation, and a
// stop reaches no disk afterwards.
TEST(SistemaArchivosFalso, CuentaFallaYSeDetiene) {
    CarpetaTemporal carpeta;
    TSistemaArchivosFalso falso;
    escribirArchivoNuevo(carpetaDePrueba().sa(), carpetaDePrueba().ruta("A.DAT"), "abcd");
    EXPECT_EQ(falso.cuenta(Operacion::abrir), 1);
    EXPECT_EQ(falso.cuenta(Operacion::escribir), 1);
    EXPECT_EQ(falso.cuenta(Operacion::sincronizar), 1);
    EXPECT_EQ(falso.cuenta(Operacion::cerrar), 1);
    EXPECT_EQ(falso.total(), 4);

    falso.reiniciarCuentas();
    falso.fallarEn(2, Operacion::tipo);
    EXPECT_NO_THROW(carpetaDePrueba().sa().tipo(carpetaDePrueba().ruta("A.DAT")));
    EXPECT_THROW(carpetaDePrueba().sa().tipo(carpetaDePrueba().ruta("A.DAT")), ErrorArchivo);
    EXPECT_NO_THROW(carpetaDePrueba().sa().tipo(carpetaDePrueba().ruta("A.DAT")));  // one fault only

    falso.detenerEn(2, Operacion::escribir);
    const int d = carpetaDePrueba().sa().abrir(carpetaDePrueba().ruta("B.DAT"), TSistemaArchivos::Apertura::crear);
    carpetaDePrueba().sa().escribir(d, 0, "1234", 4);
    EXPECT_THROW(carpetaDePrueba().sa().escribir(d, 4, "5678", 4), DetencionSimulada);
    EXPECT_THROW(carpetaDePrueba().sa().eliminar(carpetaDePrueba().ruta("A.DAT")), DetencionSimulada);
    EXPECT_THROW(carpetaDePrueba().sa().cerrar(d), DetencionSimulada);
    EXPECT_EQ(falso.abiertos(), 1u);
    falso.reanudar();
    EXPECT_EQ(falso.abiertos(), 0u);
    EXPECT_TRUE(fs::exists(carpeta / "A.DAT"));
    EXPECT_EQ(leerTexto(carpeta / "B.DAT"), "123456");  // the stopped write is torn in half
    EXPECT_NO_THROW(carpetaDePrueba().sa().eliminar(carpetaDePrueba().ruta("A.DAT")));
    EXPECT_FALSE(fs::exists(carpeta / "A.DAT"));
}

}  // namespace
