// How long a period run takes with the most companies a game can hold (the
// counters are bytes, so 255), and a whole ten-period game.

#include "CarpetaMedicion.h"

#include "juego/CorridaPeriodo0.h"
#include "juego/CorridaPeriodo.h"
#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/SistemaArchivos.h"
#include "store/DatosIniciales.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void prepararJuego(const TCarpeta& carpeta, int equipos) {
    TDatosjuego datos(carpeta);
    for (int i = 0; i < equipos; ++i) datos.guardarNombre(static_cast<uint8_t>(i), "Empresa " + std::to_string(i + 1));
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.nroInvYDes = "500";
    t.limiteGiroDescubierto = "1000000";
    datos.guardarDatosIniciales(armarDatosIniciales(t, static_cast<uint8_t>(equipos)));  // a new folder: no checkpoint to drop
    TDecisionesPeriodo0 d0 = ejemploPeriodo0();
    d0.nombreBancoA = "NACION";
    d0.nombreBancoB = "PROVINCIA";
    ejecutarPeriodo0(carpeta, d0);
}

void cargarDecisiones(const TCarpeta& carpeta, int periodo) {
    TRegDatosIniciales ini{};
    TDatosjuego(carpeta).leerDatosIniciales(ini);
    std::vector<TRegDecision> decisiones;
    for (int i = 0; i < ini.cantEquipos; ++i) {
        TRegDecision d{};
        d.precio = 60 + (i + periodo) % 40;
        d.nivelProduccion = 25 * ((i + periodo) % 5);
        d.capacitacion = 2000 * (i % 3);
        d.marketing = 1000 * (i % 11);
        d.invYDes = 1000;
        d.pedPrestamoA = 10000;
        decisiones.push_back(d);
    }
    TDecision(carpeta).guardarDecisiones(decisiones);
}

// One period run of 255 companies; the game files are put back before each
// iteration, outside the timing.
void periodo255Empresas(benchmark::State& estado, const fs::path& raiz, bool enDisco) {
    const fs::path carpeta = carpetaNueva("periodo", raiz);
    const TCarpeta juego(carpeta, sistemaArchivosReal());
    prepararJuego(juego, 255);
    cargarDecisiones(juego, 1);
    const fs::path copia = carpeta / "copia";
    fs::create_directories(copia);
    for (const char* f : {"DATOS INICIALES.DAT", "DATOS ACUMULADOS.DAT", "DECISIONES.DAT"})
        fs::copy_file(carpeta / f, copia / f);
    for (auto _ : estado) {
        estado.PauseTiming();
        for (const char* f : {"DATOS INICIALES.DAT", "DATOS ACUMULADOS.DAT", "DECISIONES.DAT"})
            fs::copy_file(copia / f, carpeta / f, fs::copy_options::overwrite_existing);
        // As in a game, the period is run for the first time: no earlier copy of it in the history.
        fs::remove_all(carpeta / "historial");
        // In a game the files are on the disk long before the run: the run's
        // own syncs should not also flush what this set-up just wrote. On a
        // RAM folder there is nothing to flush, and a sync would only wait
        // for other programs' writes.
        if (enDisco) ::sync();
        estado.ResumeTiming();
        simularPeriodo(juego);
    }
    fs::remove_all(carpeta);
}

void BM_Periodo255Empresas(benchmark::State& estado) { periodo255Empresas(estado, raizDeMedicion(), false); }
BENCHMARK(BM_Periodo255Empresas)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same run where the time of the syncs counts: a real disk.
void BM_Periodo255EmpresasEnDisco(benchmark::State& estado) { periodo255Empresas(estado, raizEnDisco(), true); }
BENCHMARK(BM_Periodo255EmpresasEnDisco)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_JuegoDeDiezPeriodos(benchmark::State& estado) {
    const fs::path carpeta = carpetaNueva("juego");
    const TCarpeta juego(carpeta, sistemaArchivosReal());
    for (auto _ : estado) {
        prepararJuego(juego, static_cast<int>(estado.range(0)));
        for (int periodo = 1; periodo <= 10; ++periodo) {
            cargarDecisiones(juego, periodo);
            simularPeriodo(juego);
        }
    }
    fs::remove_all(carpeta);
}
BENCHMARK(BM_JuegoDeDiezPeriodos)->Arg(8)->Arg(255)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
