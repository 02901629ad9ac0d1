// Whole runs of the tool, as a game master starts them: the process, its
// libraries, the game read, the order and its files. `--help` and `estado`,
// and `simular` of 255 companies on a RAM folder and on the disk.

#include "CarpetaMedicion.h"

#include "juego/Juego.h"
#include "store/SistemaArchivos.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs the tool with its output thrown away; a failure ends the benchmark.
void correr(benchmark::State& estado, std::vector<std::string> argumentos) {
    argumentos.insert(argumentos.begin(), CORVELIAN_CLI);
    std::vector<char*> argv;
    for (std::string& a : argumentos) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addopen(&acciones, 1, "/dev/null", O_WRONLY, 0);
    pid_t hijo = 0;
    int codigo = -1;
    if (posix_spawn(&hijo, CORVELIAN_CLI, &acciones, nullptr, argv.data(), environ) == 0) ::waitpid(hijo, &codigo, 0);
    posix_spawn_file_actions_destroy(&acciones);
    if (codigo != 0) estado.SkipWithError(("falló: " + argumentos[argumentos.size() > 3 ? 3 : 1]).c_str());
}

// A game of 255 companies with period 1's decisions stored, and a copy of
// it to put back before each run.
struct TJuegoGuardado {
    fs::path carpeta, copia;
    explicit TJuegoGuardado(const fs::path& raiz) {
        carpeta = raiz / ("corvelian-bench-orden-" + std::to_string(::getpid()));
        copia = carpeta.string() + "-copia";
        fs::remove_all(carpeta);
        fs::remove_all(copia);
        fs::create_directories(carpeta);
        TJuego juego(carpeta);
        crearJuegoDe255Empresas(juego);
        std::vector<TRegDecision> decisiones(255);
        for (int i = 0; i < 255; ++i) {
            TRegDecision& d = decisiones[static_cast<std::size_t>(i)];
            d.precio = 60 + i % 40;
            d.nivelProduccion = 75;
            d.capacitacion = 2000;
            d.marketing = 10 * i;
            d.invYDes = 1000;
        }
        juego.guardarDecisiones(decisiones);
        fs::copy(carpeta, copia, fs::copy_options::recursive);
    }
    ~TJuegoGuardado() {
        fs::remove_all(carpeta);
        fs::remove_all(copia);
    }
    void reponer(bool enDisco) const {
        fs::remove_all(carpeta);
        fs::copy(copia, carpeta, fs::copy_options::recursive);
        // On a disk the run's own syncs should not also flush what was just put back.
        if (enDisco) ::sync();
    }
};

void BM_OrdenAyuda(benchmark::State& estado) {
    for (auto _ : estado) correr(estado, {"--help"});
}
BENCHMARK(BM_OrdenAyuda)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

void BM_OrdenEstado255Empresas(benchmark::State& estado) {
    const TJuegoGuardado juego(raizDeMedicion());
    for (auto _ : estado) correr(estado, {"--datos", juego.carpeta.string(), "estado"});
}
BENCHMARK(BM_OrdenEstado255Empresas)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);

void simular(benchmark::State& estado, const fs::path& raiz, bool enDisco) {
    const TJuegoGuardado juego(raiz);
    for (auto _ : estado) {
        estado.PauseTiming();
        juego.reponer(enDisco);
        estado.ResumeTiming();
        correr(estado, {"--datos", juego.carpeta.string(), "simular"});
    }
}

void BM_OrdenSimular255Empresas(benchmark::State& estado) { simular(estado, raizDeMedicion(), false); }
BENCHMARK(BM_OrdenSimular255Empresas)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_OrdenSimular255EmpresasEnDisco(benchmark::State& estado) { simular(estado, raizEnDisco(), true); }
BENCHMARK(BM_OrdenSimular255EmpresasEnDisco)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
