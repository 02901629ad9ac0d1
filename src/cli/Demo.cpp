#include "cli/Demo.h"

#include "store/NombresArchivos.h"

#include "cli/Consola.h"
#include "cli/Errores.h"
#include "juego/Juego.h"
#include "store/CarpetaDatos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <algorithm>
#include <array>
#include <iostream>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kEquipos = 5;
constexpr int kPeriodos = 10;

const std::array<const char*, kEquipos> kNombres = {"Alfa", "Beta", "Gamma", "Delta", "Épsilon"};

/// Each team plays one style, so that every kind of report turns up:
/// Alfa keeps a steady course; Beta asks a high price at full production,
/// piles up stock and then sells it off; Gamma cuts production in period 4
/// and lays off staff; Delta expands its plant in period 5 far beyond its
/// cash and its banks' limits and goes bankrupt; Épsilon expands its plant
/// in period 10 a little beyond its cash, is financed by its banks and pays
/// the penalty. Each decision lists its fields in the order of TRegDecision.
TRegDecision decision(std::size_t equipo, int periodo) {
    switch (equipo) {
    case 0: return {85, 75, 4000, 8000, 1000, 2000, 0, 0, 0, 0};
    case 1: return periodo <= 4 ? TRegDecision{91, 100, 2000, 8000, 500, 0, 0, 0, 0, 0}
                                : TRegDecision{80, 50, 2000, 10000, 500, 0, 0, 0, 0, 0};
    case 2: return periodo <= 3 ? TRegDecision{85, 100, 4000, 6000, 1000, 0, 0, 0, 0, 0}
                                : TRegDecision{85, 50, 4000, 6000, 1000, 0, 0, 0, 0, 0};
    case 3: return periodo == 5 ? TRegDecision{82, 100, 4000, 8000, 1000, 300000, 0, 0, 0, 0}
                                : TRegDecision{82, 100, 4000, 8000, 1000, 0, 0, 0, 0, 0};
    default: return periodo == 10 ? TRegDecision{88, 75, 4000, 8000, 1000, 145000, 0, 0, 0, 0}
                                  : TRegDecision{88, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};
    }
}

fs::path carpetaNueva() {
    fs::path carpeta = fs::current_path() / "corvelian-demo";
    for (int n = 2; fs::exists(carpeta); ++n) carpeta = fs::current_path() / ("corvelian-demo-" + std::to_string(n));
    return carpeta;
}

}  // namespace

void jugarDemo(const std::optional<fs::path>& pedida) {
    const fs::path carpeta = pedida ? fs::absolute(*pedida) : carpetaNueva();
    if (fs::exists(carpeta / kArchivoParametros))
        throw ErrorJuego("La carpeta «" + textoDeRuta(carpeta) +
                         "» ya tiene un juego; la demostración se juega en una carpeta sin juego.");
    std::error_code error;
    fs::create_directories(carpeta, error);
    if (!fs::is_directory(carpeta)) throw ErrorJuego("No se pudo crear la carpeta «" + textoDeRuta(carpeta) + "».");
    TJuego juego(carpeta);
    juego.fijarNotificador(&notificadorConsola());

    std::vector<std::string> equipos;
    for (const char* nombre : kNombres) equipos.push_back(cp1252(nombre));
    juego.crearJuego(equipos, ejemploDatosIniciales());
    std::cout << "Juego de ejemplo en «" << textoDeRuta(carpeta) << "» con " << kEquipos << " equipos.\n";
    juego.correrPeriodo0(ejemploPeriodo0());
    std::cout << "Período 0 corrido.\n";

    for (int periodo = 1; periodo <= kPeriodos; ++periodo) {
        // Bankrupt companies leave the game, so the decisions follow the names still active.
        std::vector<TRegDecision> decisiones;
        for (const std::string& empresa : juego.empresasActivas()) {
            auto equipo = std::find(equipos.begin(), equipos.end(), empresa) - equipos.begin();
            decisiones.push_back(decision(static_cast<std::size_t>(equipo), periodo));
        }
        juego.guardarDecisiones(decisiones);
        juego.simular();
        std::cout << "Período " << periodo << " simulado.\n";
    }

    std::vector<std::string> informes;
    for (const auto& entrada : fs::directory_iterator(carpeta))
        if (entrada.is_regular_file() && entrada.path().extension() == kExtensionInforme)
            informes.push_back(textoDeRuta(entrada.path().filename()));
    std::sort(informes.begin(), informes.end());
    std::cout << "\nInformes del último período en «" << textoDeRuta(carpeta) << "»:\n";
    for (const auto& informe : informes) std::cout << "  " << informe << '\n';
    std::cout << "Los informes de cada período están en «" << textoDeRuta(carpeta / kCarpetaHistorial) << "».\n\n"
              << "Para empezar a mirar:\n"
              << "  historial/Periodo 4/COMZONA1Beta.txt           stock sin vender (Stock en Unidades)\n"
              << "  historial/Periodo 4/COMZONA1Gamma.txt          despidos (Empleados Indemniz.)\n"
              << "  historial/Periodo 5/QuiebraEmpresa_Delta.txt   la quiebra de Delta\n"
              << "  historial/Periodo 10/PenalidadEmpresa_Épsilon.txt  la penalidad de Épsilon\n"
              << "  INDZONA1.txt                                   el informe de la industria y la posición final\n";
}
