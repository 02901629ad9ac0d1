// The season's series: every point is what the period's files hold for that
// company, a bankrupt company's line stops at its bankruptcy, a period undone
// by a step back is left out.

#include "comun/CarpetaTemporal.h"
#include "comun/Partida.h"
#include "juego/Evolucion.h"
#include "juego/Juego.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>

namespace {

// Gama's plant investment in period 2 passes every limit: it goes bankrupt.
TRegDecision decision(int empresa, int periodo) {
    TRegDecision d{60 + 10 * empresa + periodo, 75, 2000, 4000 + 1000 * empresa, 1000, 0, 0, 0, 0, 0};
    if (empresa == 1 && periodo == 3) d.pedPrestamoA = 5000;
    if (empresa == 2 && periodo == 2) d.invPlanta = 900000;
    return d;
}

// With the computer, two computer companies join Alfa, Beta and Gama; every one but Gama plays as Alfa.
void jugarHasta(int ultimo, bool conComputadora = false) {
    std::vector<std::string> equipos{"Alfa", "Beta", "Gama"};
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.limiteGiroDescubierto = "20000";
    juegoDePrueba().crearJuego(equipos, t, conComputadora ? agregarComputadora(equipos, 2, TEstilo::prudente, 7) : TComputadora{});
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    if (!conComputadora) jugarPeriodos(ultimo, decision);
    else jugarPeriodos(ultimo, [](int empresa, int periodo) { return decision(empresa == 2 ? 2 : 0, periodo); });
}

// One company's line of "INDUSTRIA.csv" by column, and its record of "EMPRESAS.DAT", read from the files.
struct TFilaLeida {
    std::map<std::string, std::string> csv;
    TRegDatosAcum registro{};
    // Our own file has a decimal point whatever the regional settings: never std::stod.
    double de(const char* columna) const {
        const std::string& texto = csv.at(columna);
        double valor = 0;
        const auto leido = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
        EXPECT_TRUE(leido.ec == std::errc() && leido.ptr == texto.data() + texto.size()) << columna << ": " << texto;
        return valor;
    }
};

std::vector<TFilaLeida> leerPeriodo(int periodo) {
    const auto carpeta = carpetaDePrueba().ruta() / "historial" / ("Periodo " + std::to_string(periodo));
    std::ifstream csv(carpeta / "INDUSTRIA.csv"), dat(carpeta / "EMPRESAS.DAT", std::ios::binary);
    std::string linea;
    std::getline(csv, linea);
    std::vector<std::string> titulos;
    for (std::istringstream s(linea); std::getline(s, linea, ',');) titulos.push_back(linea);
    std::vector<TFilaLeida> filas;
    while (std::getline(csv, linea)) {
        TFilaLeida& fila = filas.emplace_back();
        std::istringstream s(linea);
        for (const std::string& titulo : titulos) std::getline(s, fila.csv[titulo], ',');
        dat.read(reinterpret_cast<char*>(&fila.registro), sizeof fila.registro);
    }
    EXPECT_TRUE(dat) << "EMPRESAS.DAT del período " << periodo;
    return filas;
}

std::function<double(const TFilaLeida&)> columna(const char* nombre) {
    return [nombre](const TFilaLeida& f) { return f.de(nombre); };
}
const std::map<TMedida, std::function<double(const TFilaLeida&)>> lecturas = {
    {TMedida::utilidadAcumulada, columna("utilidadAcumulada")}, {TMedida::utilidadPeriodo, columna("utilidadPeriodo")},
    {TMedida::unidadesVendidas, columna("unidadesVendidas")},   {TMedida::participacion, columna("participacion")},
    {TMedida::precio, columna("precio")},
    {TMedida::efectivo, [](const TFilaLeida& f) { return double(f.registro.efectivo); }},
    {TMedida::deuda,
     [](const TFilaLeida& f) { return double(f.registro.prestamoA) + f.registro.prestamoB + f.registro.giroDescubierto; }},
    {TMedida::stockUnidades, [](const TFilaLeida& f) { return double(f.registro.stockUnidades); }},
    {TMedida::empleados, [](const TFilaLeida& f) { return double(f.registro.empleados); }},
};

}  // namespace

TEST(Evolucion, CadaPuntoEsLoQueGuardoSuPeriodoYUnaQuebradaTermina) {
    CarpetaTemporal carpeta;
    jugarHasta(4);
    const TEvolucion e = evolucion(juegoDePrueba());
    ASSERT_EQ(e.periodos, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_EQ(e.empresas.size(), 3u);
    ASSERT_EQ(lecturas.size(), cantidadMedidas);
    // Company k of a period is the k-th still in the game after the period before.
    std::vector<std::size_t> activas = {0, 1, 2}, puntos(3, 0);
    bool huboDeuda = false;
    for (int periodo : e.periodos) {
        const auto filas = leerPeriodo(periodo);
        ASSERT_EQ(filas.size(), activas.size()) << "período " << periodo;
        std::vector<std::size_t> siguen;
        for (std::size_t k = 0; k < filas.size(); ++k) {
            const TEmpresaEvolucion& empresa = e.empresas[activas[k]];
            const std::size_t p = puntos[activas[k]]++;
            SCOPED_TRACE(empresa.nombre + ", período " + std::to_string(periodo));
            EXPECT_EQ(empresa.nombre, filas[k].csv.at("empresa"));
            ASSERT_LT(p, empresa.periodos.size());
            EXPECT_EQ(empresa.periodos[p], periodo);
            EXPECT_EQ(empresa.posiciones[p], filas[k].de("posicion"));
            for (const auto& [medida, esperado] : lecturas)
                EXPECT_DOUBLE_EQ(empresa.serie(medida)[p], esperado(filas[k])) << nombreMedida(medida);
            huboDeuda = huboDeuda || empresa.serie(TMedida::deuda)[p] != 0;
            if (filas[k].csv.at("quebrada") != "1") siguen.push_back(activas[k]);
        }
        activas = siguen;
    }
    EXPECT_TRUE(huboDeuda) << "la partida debía tener alguna deuda";
    EXPECT_EQ(puntos, (std::vector<std::size_t>{5, 5, 3})) << "Gama quebró en el período 2";
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(e.empresas[i].periodos.size(), puntos[i]) << "puntos de más en " << e.empresas[i].nombre;
        EXPECT_EQ(e.empresas[i].quebro, i == 2);
    }
}

TEST(Evolucion, SoloLosPeriodosPedidosYLosQueSiguenCorridos) {
    CarpetaTemporal carpeta;
    EXPECT_TRUE(evolucion(juegoDePrueba()).periodos.empty()) << "sin juego";
    jugarHasta(3);
    for (const auto& [hasta, periodos] : std::vector<std::pair<int, std::vector<int>>>{
             {-1, {0, 1, 2, 3}}, {0, {0}}, {2, {0, 1, 2}}, {9, {0, 1, 2, 3}}})
        EXPECT_EQ(evolucion(juegoDePrueba(), hasta).periodos, periodos) << "hasta " << hasta;
    // Period 3's folder stays after the step back, but its figures are no
    // longer the game's: the reader leaves it out and refuses to read it.
    ASSERT_EQ(juegoDePrueba().volver(), 3);
    EXPECT_EQ(juegoDePrueba().periodosDelHistorial(), (std::vector<int>{0, 1, 2}));
    EXPECT_THROW(juegoDePrueba().periodoDelHistorial(3), ErrorJuego);
    EXPECT_THROW(juegoDePrueba().reporteDelHistorial(3, "INDUSTRIA.csv"), ErrorJuego);
    EXPECT_NO_THROW(juegoDePrueba().periodoDelHistorial(2));
    const TEvolucion e = evolucion(juegoDePrueba());
    EXPECT_EQ(e.periodos, (std::vector<int>{0, 1, 2}));
    for (const TEmpresaEvolucion& empresa : e.empresas) EXPECT_LE(empresa.periodos.back(), 2) << empresa.nombre;
}

// The game ends after period 10: the winner is the first of the standings,
// and before that there is no end to tell.
TEST(Evolucion, ElFinalNombraAlGanador) {
    CarpetaTemporal carpeta;
    jugarHasta(9);
    EXPECT_FALSE(juegoTerminado(evolucion(juegoDePrueba())));
    EXPECT_TRUE(textoFinal(evolucion(juegoDePrueba())).empty());
    jugarPeriodos(10, decision);
    const TEvolucion e = evolucion(juegoDePrueba());
    ASSERT_TRUE(juegoTerminado(e));
    const std::vector<TFilaClase> filas = clasificacion(e);
    const std::vector<std::string> texto = textoFinal(e);
    ASSERT_GE(texto.size(), 4 + filas.size());
    EXPECT_EQ(texto[0], "Juego terminado");
    EXPECT_EQ(texto[2].rfind("Ganó " + filas.front().empresa + ",", 0), 0u) << texto[2];
    EXPECT_EQ(texto[5].substr(0, 5), "  1 *");
}

// With the computer in the game every company stays in the standings to the
// end, the computer's marked, a bankrupt one with its period, and the end
// names the best team of the class beside the winner.
TEST(Evolucion, LasPosicionesMarcanALaComputadoraYGuardanALasQuebradas) {
    CarpetaTemporal carpeta;
    jugarHasta(10, true);
    const std::size_t equipos = 5;  // three teams and the computer's two
    for (const int hasta : {1, 2, 3, 10}) {
        SCOPED_TRACE("hasta el período " + std::to_string(hasta));
        const std::vector<TFilaClase> filas = clasificacion(evolucion(juegoDePrueba(), hasta));
        std::vector<std::string> nombres;
        for (const TFilaClase& f : filas) nombres.push_back(nombreConMarcas(f));
        ASSERT_EQ(nombres.size(), equipos) << "cada equipo figura, también el quebrado";
        EXPECT_EQ(nombres.back() == "Gama (quebró en el período 2)", hasta >= 2) << nombres.back();
        EXPECT_EQ(std::count(nombres.begin(), nombres.end(), "Compu 1 (PC)"), 1);
    }
    // The teams that last play alike, and a tie goes by company order: Alfa is the best of the class.
    const std::vector<std::string> texto = textoFinal(evolucion(juegoDePrueba()));
    ASSERT_GE(texto.size(), 6 + equipos);
    EXPECT_TRUE(std::regex_match(texto[3], std::regex("Mejor equipo de la clase: Alfa, puesto \\d, con una utilidad "
                                                      "acumulada de u\\$s -?\\d{1,3}(\\.\\d{3})+\\.")))
        << texto[3];
    EXPECT_NE(texto.back().find("Gama (quebró en el período 2)"), std::string::npos) << texto.back();
    // The standings in columns: each line as long, in characters ("ó" and "í" in Gama's take two bytes).
    for (std::size_t i = texto.size() - equipos; i + 1 < texto.size(); ++i)
        EXPECT_EQ(texto[i].size(), texto.back().size() - 2) << texto[i];
    jugarHasta(1);  // a game without the computer
    const TEvolucion sin = evolucion(juegoDePrueba());
    EXPECT_EQ(lineaMejorEquipo(sin, clasificacion(sin)), "");
}
