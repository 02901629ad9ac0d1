// The season's charts of a 255-company game (the most a game can hold) over
// ten periods: what the "Evolución" screen builds when it opens (the history
// read, the chart of one measure laid out and drawn) and all nine charts.

#include "documentos/Documentos.h"
#include "documentos/Graficos.h"
#include "juego/Juego.h"
#include "store/CarpetaDatos.h"

#include <QChart>
#include <QImage>
#include <QPainter>

#include "CarpetaMedicion.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

/// A folder removed when the program ends.
struct TCarpetaDelPrograma {
    fs::path ruta;
    ~TCarpetaDelPrograma() { fs::remove_all(ruta); }
};

/// A game of 255 companies with periods 0 to 10 run, made once.
TJuego& temporada() {
    static const TCarpetaDelPrograma carpeta{carpetaNueva("graficos-juego")};
    static TJuego juego(carpeta.ruta);
    static const bool jugada = [] {
        crearJuegoDe255Empresas(juego);
        for (int periodo = 1; periodo <= 10; ++periodo) {
            std::vector<TRegDecision> decisiones;
            for (int i = 0; i < juego.leerEstado().datos.cantEquipos; ++i)
                decisiones.push_back(
                    TRegDecision{60 + (i + periodo) % 40, 75, 2000, 4000 + 10 * i, 1000, 0, 0, 0, 0, 0});
            juego.guardarDecisiones(decisiones);
            juego.simular();
        }
        return true;
    }();
    (void)jugada;
    return juego;
}

void dibujar(QChart* grafico) {
    QImage imagen(1280, 720, QImage::Format_ARGB32_Premultiplied);
    QPainter pintor(&imagen);
    dibujarGrafico(grafico, pintor, QRectF(0, 0, 1280, 720));
}

void BM_PantallaEvolucion255Empresas10Periodos(benchmark::State& estado) {
    asegurarAplicacionGrafica(true);
    for (auto _ : estado) {
        const TEvolucion e = evolucion(temporada());
        dibujar(crearGrafico(e, TMedida::utilidadAcumulada));
    }
}
BENCHMARK(BM_PantallaEvolucion255Empresas10Periodos)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)
    ->ReportAggregatesOnly(true)->UseRealTime();

// The parts of the above: the history read, and one chart built and drawn.
void BM_LeerEvolucion255Empresas10Periodos(benchmark::State& estado) {
    for (auto _ : estado) benchmark::DoNotOptimize(evolucion(temporada()));
}
BENCHMARK(BM_LeerEvolucion255Empresas10Periodos)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)
    ->ReportAggregatesOnly(true)->UseRealTime();

void BM_UnGrafico255Empresas10Periodos(benchmark::State& estado) {
    asegurarAplicacionGrafica(true);
    const TEvolucion e = evolucion(temporada());
    for (auto _ : estado) dibujar(crearGrafico(e, TMedida::utilidadAcumulada));
}
BENCHMARK(BM_UnGrafico255Empresas10Periodos)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)
    ->ReportAggregatesOnly(true)->UseRealTime();

void BM_NueveGraficos255Empresas10Periodos(benchmark::State& estado) {
    asegurarAplicacionGrafica(true);
    const TEvolucion e = evolucion(temporada());
    for (auto _ : estado)
        for (TMedida medida : todasLasMedidas) dibujar(crearGrafico(e, medida));
}
BENCHMARK(BM_NueveGraficos255Empresas10Periodos)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true)->UseRealTime();

}  // namespace
