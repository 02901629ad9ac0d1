// Plays random games of computer companies only, through the game core as
// any front plays them, and prints per style: the median accumulated profit
// after period 10 (companies still playing), the share of companies and of
// games with a bankruptcy, the average price and the average market share.
// Every decision is checked against the ranges of the decision screens; a
// decision out of range or a failed run ends the program with status 1.
//
//   estadistica_computadora [--partidas N] [--semilla S] [--carpeta DIR] [--detalle]
//
// --detalle tells, for each bankruptcy, what the company had and decided.
//
// Games are played in DIR (by default a new folder in /dev/shm, or in the
// temporary folder), each one replacing the previous.

#include "engine/ValidarDecision.h"
#include "juego/Computadora.h"
#include "juego/Juego.h"
#include "store/DatosIniciales.h"
#include "store/Texto.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The games' own dice (splitmix64), apart from the companies'.
struct TDado {
    std::uint64_t s;
    std::uint64_t siguiente() {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int entre(int a, int b) { return a + static_cast<int>(siguiente() % static_cast<std::uint64_t>(b - a + 1)); }
    std::string texto(int a, int b) { return std::to_string(entre(a, b)); }
};

// Parameters around the sample game's, as a teacher might vary them, whole
// numbers only so that the regional decimal separator never matters.
TTextosDatosIniciales parametrosAlAzar(TDado& dado) {
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.planta = dado.texto(55, 90) + "000";
    t.capital = dado.texto(70, 120) + "000";
    t.maxCreditoA = dado.texto(70, 130) + "000";
    t.maxCreditoB = dado.texto(70, 130) + "000";
    t.mantenimiento = dado.texto(6, 12);
    t.impuestos = dado.texto(20, 40);
    t.interesA = dado.texto(15, 30);
    t.interesB = dado.texto(15, 30);
    t.giroDescubierto = dado.texto(50, 100);
    t.penalidadStock = dado.texto(5, 20);
    t.multipOrdenesMas = dado.texto(10, 50);
    t.multipOrdenesMenos = dado.texto(10, 40);
    t.nroInvYDes = dado.texto(0, 2000);
    t.modifOrdenes = dado.texto(10, 40);
    t.limiteGiroDescubierto = dado.texto(0, 100);
    return t;
}

struct TCifrasEstilo {
    std::vector<double> utilidades;  // after period 10, companies still playing
    int empresas = 0, quebradas = 0, partidas = 0, partidasConQuiebra = 0;
    double sumaPrecios = 0, sumaParticipacion = 0;
    int decisiones = 0;
};

double mediana(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string numero(double valor, int decimales) {
    char texto[64];
    const auto r = std::to_chars(texto, texto + sizeof texto, valor, std::chars_format::fixed, decimales);
    return std::string(texto, r.ptr);
}

void jugarPartida(const fs::path& carpeta, std::uint64_t semilla, std::map<TEstilo, TCifrasEstilo>& cifras,
                  bool detalle) {
    TDado dado{semilla};
    const int cantidad = dado.entre(3, 10);
    TComputadora computadora{dado.siguiente(), {}};
    std::vector<std::string> nombres = nombresComputadora(static_cast<std::size_t>(cantidad), {});
    for (const std::string& nombre : nombres)
        computadora.empresas.push_back({nombre, estilosComputadora()[static_cast<std::size_t>(dado.entre(0, 3))]});
    TJuego juego(carpeta);
    juego.crearJuego(nombres, parametrosAlAzar(dado), computadora);
    TDecisionesPeriodo0 inicio = ejemploPeriodo0();
    inicio.precio = dado.entre(80, 90);
    juego.correrPeriodo0(inicio);
    for (int periodo = 1; periodo <= 10; ++periodo) {
        const TEstadoJuego estado = juego.leerEstado();
        if (estado.datos.cantEquipos == 0) break;
        const auto empresas = juego.empresasActivas();
        const auto decisiones = juego.decisionesComputadora();
        for (std::size_t i = 0; i < decisiones.size(); ++i) {
            if (!decisiones[i]) throw ErrorJuego("La computadora no decidió por una de sus empresas.");
            validarDecision(*decisiones[i], empresas[i]);
        }
        juego.simular();
    }
    std::map<TEstilo, bool> conQuiebra;
    for (const TEmpresaComputadora& e : computadora.empresas) {
        ++cifras[e.estilo].empresas;
        conQuiebra[e.estilo] = conQuiebra[e.estilo];
    }
    for (int periodo : juego.periodosDelHistorial()) {
        if (periodo < 1) continue;
        const TArchivoPeriodo archivo = juego.periodoDelHistorial(periodo);
        if (detalle) {
            const TArchivoPeriodo previo = juego.periodoDelHistorial(periodo - 1);
            for (std::size_t i = 0; i < archivo.empresas.size(); ++i) {
                if (!archivo.empresas[i].quebrada) continue;
                const TRegDatosAcum& a = previo.resultados[i];
                const TRegDecision& d = archivo.decisiones[i];
                const TEmpresaComputadora* e = computadora.de(aTexto(a.nombreEmpresa));
                std::fputs((std::string("quiebra p") + std::to_string(periodo) + " " + nombreEstilo(e->estilo) +
                            " efectivo=" + std::to_string(a.efectivo) + " A=" + std::to_string(a.prestamoA) +
                            " B=" + std::to_string(a.prestamoB) + " giro=" + std::to_string(a.giroDescubierto) +
                            " int=" + std::to_string(a.intereses) + " planta=" + std::to_string(a.planta) +
                            " | precio=" + std::to_string(d.precio) + " nivel=" + std::to_string(d.nivelProduccion) +
                            " cap=" + std::to_string(d.capacitacion) + " mkt=" + std::to_string(d.marketing) +
                            " iyd=" + std::to_string(d.invYDes) + " invP=" + std::to_string(d.invPlanta) +
                            " pedA=" + std::to_string(d.pedPrestamoA) + " pedB=" + std::to_string(d.pedPrestamoB) +
                            " devA=" + std::to_string(d.devPrestamoA) + " devB=" + std::to_string(d.devPrestamoB) +
                            " | giroFinal=" + std::to_string(archivo.empresas[i].giroDescubierto) + " limA=" +
                            std::to_string(archivo.parametros.maxCreditoA) + " limB=" +
                            std::to_string(archivo.parametros.maxCreditoB) + "\n")
                               .c_str(),
                           stderr);
            }
        }
        for (const TFilaIndustria& fila : archivo.industria) {
            const TEmpresaComputadora* e = computadora.de(fila.empresa);
            if (!e) continue;
            TCifrasEstilo& c = cifras[e->estilo];
            c.sumaPrecios += fila.precio;
            c.sumaParticipacion += fila.participacion;
            ++c.decisiones;
            if (fila.quebrada) {
                ++c.quebradas;
                conQuiebra[e->estilo] = true;
            }
            if (periodo == 10 && !fila.quebrada) c.utilidades.push_back(fila.utilidadAcumulada);
            if (std::getenv("CORVELIAN_TRAZA")) {
                std::size_t i = 0;
                while (i < archivo.empresas.size() && aTexto(archivo.empresas[i].nombreEmpresa) != fila.empresa) ++i;
                const TRegDatosAcum& a = archivo.empresas[i];
                const TRegDecision& d = archivo.decisiones[i];
                std::fputs(("p" + std::to_string(periodo) + " " + fila.empresa + " " + nombreEstilo(e->estilo) +
                            " precio=" + std::to_string(d.precio) + " nivel=" + std::to_string(d.nivelProduccion) +
                            " mkt=" + std::to_string(d.marketing) + " cap=" + std::to_string(d.capacitacion) +
                            " iyd=" + std::to_string(d.invYDes) + " invP=" + std::to_string(d.invPlanta) +
                            " ped=" + std::to_string(d.pedPrestamoA + d.pedPrestamoB) +
                            " dev=" + std::to_string(d.devPrestamoA + d.devPrestamoB) + " unid=" +
                            std::to_string(fila.unidadesVendidas) + " util=" + std::to_string(fila.utilidadPeriodo) +
                            " ef=" + std::to_string(a.efectivo) + " deuda=" + std::to_string(a.prestamoA + a.prestamoB) +
                            " stock=" + std::to_string(a.stockUnidades) + " planta=" + std::to_string(a.planta) + "\n")
                               .c_str(),
                           stderr);
            }
        }
    }
    for (const auto& [estilo, quebro] : conQuiebra) {
        ++cifras[estilo].partidas;
        if (quebro) ++cifras[estilo].partidasConQuiebra;
    }
}

fs::path carpetaPorOmision() {
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    return base / ("corvelian-estadistica-" + std::to_string(semillaNueva() % 1000000000));
}

}  // namespace

int main(int argc, char** argv) {
    int partidas = 200;
    std::uint64_t semilla = 20261208;
    std::optional<fs::path> pedida;
    bool detalle = false;
    if (argc > 1 && std::string(argv[argc - 1]) == "--detalle") {
        detalle = true;
        --argc;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string opcion = argv[i], valor = argv[i + 1];
        if (opcion == "--partidas") partidas = leerEntero(valor).value_or(0);
        else if (opcion == "--semilla") semilla = static_cast<std::uint64_t>(leerEntero(valor).value_or(0));
        else if (opcion == "--carpeta") pedida = fs::path(valor);
    }
    if (partidas < 1 || argc % 2 == 0) {
        std::fputs("Uso: estadistica_computadora [--partidas N] [--semilla S] [--carpeta DIR]\n", stderr);
        return 2;
    }
    const fs::path carpeta = pedida.value_or(carpetaPorOmision());
    std::map<TEstilo, TCifrasEstilo> cifras;
    int fallas = 0;
    std::error_code error;
    for (int n = 0; n < partidas; ++n) {
        fs::remove_all(carpeta, error);
        fs::create_directories(carpeta);
        try {
            jugarPartida(carpeta, semilla + static_cast<std::uint64_t>(n) * 7919, cifras, detalle);
        } catch (const std::exception& e) {
            ++fallas;
            std::fputs(("Partida " + std::to_string(n + 1) + ": " + e.what() + "\n").c_str(), stderr);
        }
    }
    if (!pedida) fs::remove_all(carpeta, error);

    std::string tabla = std::to_string(partidas) + " partidas, " + std::to_string(fallas) + " con fallas\n" +
                        "estilo     empresas  mediana util. acum. p10  quiebras %  partidas con quiebra %  "
                        "precio medio  participación media %\n";
    for (TEstilo estilo : estilosComputadora()) {
        const TCifrasEstilo& c = cifras[estilo];
        auto porcentaje = [](int parte, int todo) { return todo ? 100.0 * parte / todo : 0.0; };
        std::string fila = nombreEstilo(estilo);
        fila.resize(11, ' ');
        auto columna = [&fila](const std::string& texto, std::size_t ancho) {
            fila += std::string(texto.size() < ancho ? ancho - texto.size() : 0, ' ') + texto + "  ";
        };
        columna(std::to_string(c.empresas), 8);
        columna(numero(mediana(c.utilidades), 0), 23);
        columna(numero(porcentaje(c.quebradas, c.empresas), 1), 10);
        columna(numero(porcentaje(c.partidasConQuiebra, c.partidas), 1), 22);
        columna(numero(c.decisiones ? c.sumaPrecios / c.decisiones : 0, 1), 12);
        columna(numero(c.decisiones ? c.sumaParticipacion / c.decisiones : 0, 1), 21);
        tabla += fila + "\n";
    }
    std::fputs(tabla.c_str(), stdout);
    return fallas == 0 ? 0 : 1;
}
