// A period run killed for real: the tool is started as its own process and
// killed with SIGKILL at a random moment of its run; the next order recovers
// the game, which must then be exactly as before the run or as after it.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "comun/FotoCarpeta.h"

#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TResultado orden(const fs::path& carpeta, std::vector<std::string> argumentos) {
    argumentos.insert(argumentos.begin(), {"--datos", carpeta.string()});
    return ejecutarCli(argumentos);
}

void cargarDecisiones(const fs::path& carpeta, const std::vector<std::string>& filas) {
    std::string csv = "precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,pedPrestamoA,pedPrestamoB,"
                      "devPrestamoA,devPrestamoB\n";
    for (const auto& fila : filas) csv += fila + "\n";
    const std::string archivo = carpeta.string() + ".csv";
    escribirTexto(archivo, csv);
    const auto r = orden(carpeta, {"decisiones", archivo});
    fs::remove(archivo);
    ASSERT_EQ(r.codigo, 0) << r.errores;
}

// Starts "simular" on the folder, without waiting for it.
pid_t lanzarSimular(const fs::path& carpeta) {
    std::vector<std::string> argumentos = {CORVELIAN_CLI, "--datos", carpeta.string(), "simular"};
    std::vector<char*> argv;
    for (auto& a : argumentos) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string locale = localeDeLaPrueba();
    const pid_t hijo = ::fork();
    if (hijo == 0) {
        const int nulo = ::open("/dev/null", O_WRONLY);
        if (nulo >= 0) {
            ::dup2(nulo, STDOUT_FILENO);
            ::dup2(nulo, STDERR_FILENO);
        }
        ::setenv("LC_ALL", locale.c_str(), 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return hijo;
}

}  // namespace

TEST(Muerte, UnaCorridaMatadaQuedaAntesODespues) {
    CarpetaTemporal carpeta;
    const fs::path dir = carpeta.ruta() / "juego";
    auto r = orden(dir, {"nuevo", (carpetaEjemplos() / "equipos.txt").string(),
                         (carpetaEjemplos() / "parametros.ini").string()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    r = orden(dir, {"periodo0", "90", "8000", "1000", "4000", "75", "0", "80000", "70000"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const std::string sana = "90,75,4000,8000,1000,0,0,0,0,0";
    cargarDecisiones(dir, {sana, sana, sana, sana});
    r = orden(dir, {"simular"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    // Period 2, over a history and a checkpoint; "Beta" borrows far beyond
    // every limit and goes bankrupt, so the run also writes a notice.
    cargarDecisiones(dir, {sana, "90,75,4000,8000,1000,0,9000000,9000000,0,0", sana, "80,50,0,5000,0,0,0,0,0,0"});
    const TFoto antes = fotografiar(dir);

    // Clean runs give the "after" folder and the length of a run: the
    // shortest of three, so that a busy machine does not push the kills past
    // the end of most runs.
    const fs::path prueba = carpeta.ruta() / "prueba";
    fs::create_directory(prueba);
    std::chrono::steady_clock::duration duracion = std::chrono::hours(1);
    int estado = 0;
    for (int i = 0; i < 3; ++i) {
        restaurarFoto(prueba, antes);
        const auto inicio = std::chrono::steady_clock::now();
        const pid_t limpio = lanzarSimular(prueba);
        ASSERT_EQ(::waitpid(limpio, &estado, 0), limpio);
        duracion = std::min(duracion, std::chrono::steady_clock::now() - inicio);
        ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
    }
    const TFoto despues = fotografiar(prueba);
    ASSERT_NE(antes, despues);
    ASSERT_TRUE(despues.contains("QuiebraEmpresa_Beta.txt"));

    std::mt19937 azar(20240601);
    const auto microsegundos = std::chrono::duration_cast<std::chrono::microseconds>(duracion).count();
    // Somewhat past the shortest run, so that kills also land after the commit point.
    std::uniform_int_distribution<long> demora(0, microsegundos * 3 / 2);
    int quedoAntes = 0, quedoDespues = 0, terminoSola = 0, deshechas = 0, completadas = 0;
    constexpr int kMuertes = 100;
    for (int i = 0; i < kMuertes; ++i) {
        restaurarFoto(prueba, antes);
        const pid_t hijo = lanzarSimular(prueba);
        ASSERT_GT(hijo, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(demora(azar)));
        ::kill(hijo, SIGKILL);
        ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
        if (WIFEXITED(estado)) {
            ASSERT_EQ(WEXITSTATUS(estado), 0);
            ++terminoSola;
        }

        // Any order recovers first; "estado" then only reads.
        r = orden(prueba, {"estado"});
        ASSERT_EQ(r.codigo, 0) << r.errores;
        const TFoto foto = fotografiar(prueba);
        if (foto == antes) {
            ++quedoAntes;
            EXPECT_EQ(r.errores.find("se completó"), std::string::npos) << r.errores;
            if (!r.errores.empty()) ++deshechas;
        } else if (foto == despues) {
            ++quedoDespues;
            EXPECT_TRUE(r.errores.empty() || r.errores.find("se completó") != std::string::npos) << r.errores;
            if (!r.errores.empty()) ++completadas;
        } else {
            ADD_FAILURE() << "muerte " << i << ": ni antes ni después; frente a antes:\n"
                          << diferencias(antes, foto) << "frente a después:\n" << diferencias(despues, foto);
        }
    }
    EXPECT_EQ(quedoAntes + quedoDespues, kMuertes);
    std::cout << "[ Muerte ] corrida de " << microsegundos << " µs; " << kMuertes << " muertes: " << quedoAntes
              << " antes (" << deshechas << " deshechas al recuperar), " << quedoDespues << " después ("
              << completadas << " completadas al recuperar, " << terminoSola << " terminaron antes de la señal)\n";
}
