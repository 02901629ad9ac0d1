// Every PDF hand-out of one period of a 255-company game (the most a game
// can hold): 255 company files and the teacher's.

#include "documentos/Documentos.h"
#include "juego/Juego.h"
#include "store/CarpetaDatos.h"

#include "CarpetaMedicion.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void BM_PdfsDeUnPeriodo255Empresas(benchmark::State& estado) {
    asegurarAplicacionGrafica();
    const fs::path carpeta = carpetaNueva("pdf-juego");
    TJuego juego(carpeta);
    crearJuegoDe255Empresas(juego);
    std::vector<TRegDecision> decisiones;
    for (int i = 0; i < 255; ++i) decisiones.push_back(TRegDecision{60 + i % 40, 75, 2000, 4000 + 10 * i, 1000, 0, 0, 0, 0, 0});
    juego.guardarDecisiones(decisiones);
    juego.simular();
    const fs::path salida = carpetaNueva("pdf-salida");
    for (auto _ : estado) benchmark::DoNotOptimize(escribirPdfsDelPeriodo(juego, 1, salida));
    fs::remove_all(salida);
    fs::remove_all(carpeta);
}
BENCHMARK(BM_PdfsDeUnPeriodo255Empresas)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true)->UseRealTime();

}  // namespace
