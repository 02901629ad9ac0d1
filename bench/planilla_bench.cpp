// The season's spreadsheet of the largest game: 255 companies, period 0 and
// ten periods, read from the history and written as .xlsx (target: 1 s).

#include "engine/UDecicionesPeriodo0.h"
#include "juego/Juego.h"
#include "juego/Planilla.h"
#include "store/CarpetaDatos.h"
#include "store/DatosIniciales.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path raizDePlanilla() {
    if (const char* elegida = std::getenv("CORVELIAN_BENCH_DIR")) return elegida;
    if (fs::is_directory("/dev/shm")) return "/dev/shm";
    return fs::temp_directory_path();
}

void jugarTemporadaCompleta(TJuego& juego) {
    std::vector<std::string> equipos;
    for (int i = 0; i < 255; ++i) equipos.push_back("Empresa " + std::to_string(i + 1));
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.nroInvYDes = "500";
    t.limiteGiroDescubierto = "1000000";
    juego.crearJuego(equipos, t);
    juego.correrPeriodo0(ejemploPeriodo0());
    for (int periodo = 1; periodo <= 10; ++periodo) {
        std::vector<TRegDecision> decisiones;
        for (int i = 0; i < juego.leerEstado().datos.cantEquipos; ++i) {
            // Modest decisions, so that the companies stay in the game to the end.
            TRegDecision d{};
            d.precio = 70 + (i + periodo) % 30;
            d.nivelProduccion = 50;
            d.capacitacion = 2000 * (i % 2);
            d.marketing = 1000 * (i % 5);
            d.invYDes = 1000;
            decisiones.push_back(d);
        }
        juego.guardarDecisiones(decisiones);
        juego.simular();
    }
}

void BM_PlanillaXlsx255EmpresasDiezPeriodos(benchmark::State& estado) {
    const fs::path carpeta = raizDePlanilla() / ("corvelian-bench-planilla-" + std::to_string(::getpid()));
    fs::remove_all(carpeta);
    fs::create_directories(carpeta);
    TJuego juego(carpeta);
    jugarTemporadaCompleta(juego);
    for (auto _ : estado) exportarPlanilla(juego, carpeta / "temporada.xlsx");
    estado.counters["empresas"] = juego.leerEstado().datos.cantEquipos;
    estado.counters["bytes"] = static_cast<double>(fs::file_size(carpeta / "temporada.xlsx"));
    fs::remove_all(carpeta);
}
BENCHMARK(BM_PlanillaXlsx255EmpresasDiezPeriodos)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
