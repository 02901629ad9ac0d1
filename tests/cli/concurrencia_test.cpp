// Two programs on one game folder: whatever the timing, the game ends as
// some serial order of the two orders leaves it, and an order that reported
// success took effect.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"
#include "store/NombresArchivos.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace {

using Orden = std::vector<std::string>;
using Foto = std::map<std::string, std::string>;

// The game as the orders leave it; the empty lock files are not part of it.
Foto foto(const fs::path& carpeta) {
    Foto f = fotoDeCarpeta(carpeta);
    f.erase(kArchivoBloqueo);
    f.erase(kArchivoTurno);
    return f;
}

bool correr(const fs::path& carpeta, Orden orden) {
    orden.insert(orden.begin(), {"--datos", carpeta.string()});
    return ejecutarCli(orden).codigo == 0;
}

pid_t lanzar(const fs::path& carpeta, const Orden& orden) {
    std::vector<std::string> argumentos = {CORVELIAN_CLI, "--datos", carpeta.string()};
    argumentos.insert(argumentos.end(), orden.begin(), orden.end());
    std::vector<char*> argv;
    for (auto& a : argumentos) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addopen(&acciones, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&acciones, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    std::string entorno = "LC_ALL=" + localeDeLaPrueba();
    char* env[] = {entorno.data(), nullptr};
    if (posix_spawn(&pid, argv[0], &acciones, nullptr, argv.data(), env) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&acciones);
    return pid;
}

bool esperar(pid_t pid) {
    int estado = 0;
    return pid > 0 && ::waitpid(pid, &estado, 0) == pid && WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
}

void copiar(const fs::path& de, const fs::path& a) {
    fs::remove_all(a);
    fs::copy(de, a, fs::copy_options::recursive);
}

std::string csv(int precio) {
    std::string texto = "precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,pedPrestamoA,pedPrestamoB,"
                        "devPrestamoA,devPrestamoB\n";
    for (int i = 0; i < 3; ++i) texto += std::to_string(precio + i) + ",75,4000,8000,1000,0,0,0,0,0\n";
    return texto;
}

struct Caso {
    const char* nombre;
    Orden a, b;
};

}  // namespace

TEST(Concurrencia, DosProgramasDejanElJuegoComoAlgunOrdenSerial) {
    CarpetaTemporal carpeta;
    const fs::path base = carpeta.ruta();
    const fs::path csv1 = base.parent_path() / (base.filename().string() + "-1.csv");
    const fs::path csv2 = base.parent_path() / (base.filename().string() + "-2.csv");
    escribirTexto(csv1, csv(80));
    escribirTexto(csv2, csv(60));

    // Period 1 run, period 2's decisions stored: a run and a step back can both go.
    const fs::path inicio = base / "inicio";
    fs::create_directories(inicio);
    const fs::path equipos = base / "equipos.txt";
    escribirTexto(equipos, "Alfa\nBeta\nGamma\n");
    ASSERT_TRUE(correr(inicio, {"nuevo", equipos.string(), (carpetaEjemplos() / "parametros.ini").string()}));
    ASSERT_TRUE(correr(inicio, {"periodo0", "90", "8000", "1000", "4000", "75", "0", "80000", "70000"}));
    ASSERT_TRUE(correr(inicio, {"decisiones", csv1.string()}));
    ASSERT_TRUE(correr(inicio, {"simular"}));
    ASSERT_TRUE(correr(inicio, {"decisiones", csv1.string()}));

    const Caso casos[] = {
        {"simular y simular", {"simular"}, {"simular"}},
        {"simular y volver", {"simular"}, {"volver"}},
        {"decisiones y simular", {"decisiones", csv2.string()}, {"simular"}},
        {"estado y simular", {"estado"}, {"simular"}},
    };
    const fs::path juego = base / "juego";
    for (const Caso& caso : casos) {
        // What each serial order leaves, with which orders succeeding.
        std::map<std::pair<bool, bool>, std::set<Foto>> posibles;
        posibles[{false, false}].insert(foto(inicio));
        for (int orden = 0; orden < 2; ++orden) {
            copiar(inicio, juego);
            const Orden& primera = orden == 0 ? caso.a : caso.b;
            const Orden& segunda = orden == 0 ? caso.b : caso.a;
            const bool okPrimera = correr(juego, primera);
            const Foto intermedia = foto(juego);
            const bool okSegunda = correr(juego, segunda);
            const bool okA = orden == 0 ? okPrimera : okSegunda, okB = orden == 0 ? okSegunda : okPrimera;
            posibles[{okA, okB}].insert(foto(juego));
            // The second order refused for being second (the lock): the first alone.
            posibles[orden == 0 ? std::pair{okPrimera, false} : std::pair{false, okPrimera}].insert(intermedia);
            copiar(inicio, juego);
            const bool soloSegunda = correr(juego, segunda);
            posibles[orden == 0 ? std::pair{false, soloSegunda} : std::pair{soloSegunda, false}].insert(foto(juego));
        }

        int lecturas = 0;
        for (int intento = 0; intento < 12; ++intento) {
            copiar(inicio, juego);
            const pid_t a = lanzar(juego, caso.a);
            const pid_t b = lanzar(juego, caso.b);
            const bool okA = esperar(a), okB = esperar(b);
            lecturas += okA;
            const auto& permitidos = posibles[{okA, okB}];
            EXPECT_TRUE(permitidos.count(foto(juego)) == 1)
                << caso.nombre << ", intento " << intento << ": " << okA << okB
                << " dejó un juego que ningún orden serial deja";
        }
        // estado only reads: it waits for a run instead of giving up (the run,
        // a writer, is refused at once when it finds the reader there).
        if (std::string(caso.nombre) == "estado y simular") {
            EXPECT_EQ(lecturas, 12);
        }
    }
    fs::remove(csv1);
    fs::remove(csv2);
}

// A team floods the report pages from another program: readers overlap
// without a pause, and still every change of the game master gets its turn.
TEST(Concurrencia, UnCambioPasaMientrasOtroProgramaLeeSinPausa) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Beta", "Gamma"}, 1);
    const fs::path decisiones = carpeta / "decisiones.csv";
    escribirTexto(decisiones, csv(80));
    // The reads of the other program, counted where this one sees them.
    constexpr int kLectores = 4;
    auto* lecturas = static_cast<std::atomic<long>*>(
        ::mmap(nullptr, sizeof(std::atomic<long>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(lecturas, MAP_FAILED);
    const pid_t lector = ::fork();
    if (lector == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        std::vector<std::thread> hilos;
        for (int i = 0; i < kLectores; ++i)
            hilos.emplace_back([&] {
                for (TJuego propio(carpeta.ruta());; ++*lecturas) try {
                        propio.leerEstado();
                    } catch (const ErrorJuego&) {
                    }
            });
        for (auto& h : hilos) h.join();
    }
    ASSERT_GT(lector, 0);
    for (int i = 0; i < 10; ++i) {
        // Every change starts while all the readers are at it again.
        for (const long antes = *lecturas; *lecturas < antes + 2 * kLectores;) std::this_thread::yield();
        const TResultado r = ejecutarCli({"--datos", carpeta.ruta().string(), "decisiones", decisiones.string()});
        EXPECT_EQ(r.codigo, 0) << i << ": " << r.errores;
    }
    ::kill(lector, SIGKILL);
    ::waitpid(lector, nullptr, 0);
    ::munmap(lecturas, sizeof(std::atomic<long>));
}
