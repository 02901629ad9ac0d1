// The season's series: every point is what the period's files hold for that
// company, a bankrupt company's line stops at its bankruptcy, a period undone
// by a step back is left out, and the projector's standings rank and compare.

#include "comun/CarpetaTemporal.h"
#include "comun/Partida.h"
#include "engine/apoyo_juego.h"
#include "juego/Evolucion.h"
#include "juego/Juego.h"
#include "store/CarpetaDatos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Gama's plant investment in period 2 passes every limit: it goes bankrupt.
TRegDecision decision(int empresa, int periodo) {
    TRegDecision d{60 + 10 * empresa + periodo, 75, 2000, 4000 + 1000 * empresa, 1000, 0, 0, 0, 0, 0};
    if (empresa == 1 && periodo == 3) d.pedPrestamoA = 5000;
    if (empresa == 2 && periodo == 2) d.invPlanta = 900000;
    return d;
}

void jugarHasta(int ultimo) {
    crearJuego({"Alfa", "Beta", "Gama"}, [] {
        TTextosDatosIniciales t = ejemploDatosIniciales();
        t.limiteGiroDescubierto = "20000";
        return t;
    }());
    correrPeriodo0(ejemploPeriodo0());
    jugarPeriodos(ultimo, decision);
}

// What a period's files hold for one company, read straight from the files.
struct TFilaLeida {
    std::map<std::string, std::string> csv;
    TRegDatosAcum registro{};
};

std::vector<TFilaLeida> leerPeriodo(int periodo) {
    const fs::path carpeta = carpetaDatos() / "historial" / ("Periodo " + std::to_string(periodo));
    std::ifstream csv(carpeta / "INDUSTRIA.csv");
    std::string linea;
    std::getline(csv, linea);
    std::vector<std::string> titulos;
    for (std::istringstream s(linea); std::getline(s, linea, ',');) titulos.push_back(linea);
    std::vector<TFilaLeida> filas;
    while (std::getline(csv, linea)) {
        if (!linea.empty() && linea.back() == '\r') linea.pop_back();
        TFilaLeida fila;
        std::istringstream s(linea);
        for (const std::string& titulo : titulos) std::getline(s, fila.csv[titulo], ',');
        filas.push_back(fila);
    }
    std::ifstream dat(carpeta / "EMPRESAS.DAT", std::ios::binary);
    for (TFilaLeida& fila : filas) dat.read(reinterpret_cast<char*>(&fila.registro), sizeof fila.registro);
    EXPECT_TRUE(dat) << "EMPRESAS.DAT de " << periodo;
    return filas;
}

struct TCasoMedida {
    TMedida medida;
    std::function<double(const TFilaLeida&)> esperado;
};

const std::vector<TCasoMedida> casosMedida = {
    {TMedida::utilidadAcumulada, [](const TFilaLeida& f) { return std::stod(f.csv.at("utilidadAcumulada")); }},
    {TMedida::utilidadPeriodo, [](const TFilaLeida& f) { return std::stod(f.csv.at("utilidadPeriodo")); }},
    {TMedida::unidadesVendidas, [](const TFilaLeida& f) { return std::stod(f.csv.at("unidadesVendidas")); }},
    {TMedida::participacion, [](const TFilaLeida& f) { return std::stod(f.csv.at("participacion")); }},
    {TMedida::precio, [](const TFilaLeida& f) { return std::stod(f.csv.at("precio")); }},
    {TMedida::efectivo, [](const TFilaLeida& f) { return double(f.registro.efectivo); }},
    {TMedida::deuda,
     [](const TFilaLeida& f) {
         return double(f.registro.prestamoA) + f.registro.prestamoB + f.registro.giroDescubierto;
     }},
    {TMedida::stockUnidades, [](const TFilaLeida& f) { return double(f.registro.stockUnidades); }},
    {TMedida::empleados, [](const TFilaLeida& f) { return double(f.registro.empleados); }},
};

}  // namespace

TEST(Evolucion, CadaPuntoEsLoQueGuardoSuPeriodo) {
    CarpetaTemporal carpeta;
    jugarHasta(4);
    const TEvolucion e = evolucion();
    ASSERT_EQ(e.periodos, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_EQ(e.empresas.size(), 3u);
    ASSERT_EQ(casosMedida.size(), cantidadMedidas);

    // Company k of a period is the k-th still in the game after the period before.
    std::vector<std::size_t> activas = {0, 1, 2};
    std::vector<std::size_t> puntos(3, 0);
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
            EXPECT_EQ(empresa.posiciones[p], std::stoi(filas[k].csv.at("posicion")));
            for (const TCasoMedida& caso : casosMedida)
                EXPECT_DOUBLE_EQ(empresa.serie(caso.medida)[p], caso.esperado(filas[k])) << nombreMedida(caso.medida);
            huboDeuda = huboDeuda || empresa.serie(TMedida::deuda)[p] != 0;
            if (filas[k].csv.at("quebrada") != "1") siguen.push_back(activas[k]);
        }
        activas = siguen;
    }
    EXPECT_TRUE(huboDeuda) << "la partida debía tener alguna deuda";
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(puntos[i], e.empresas[i].periodos.size()) << "puntos de más en " << e.empresas[i].nombre;
        for (const auto& valores : e.empresas[i].valores) EXPECT_EQ(valores.size(), puntos[i]);
    }
}

TEST(Evolucion, LaLineaDeUnaQuebradaTerminaEnSuQuiebra) {
    CarpetaTemporal carpeta;
    jugarHasta(3);
    const TEvolucion e = evolucion();
    struct TCaso {
        const char* nombre;
        std::vector<int> periodos;
        bool quebro;
    };
    const std::vector<TCaso> casos = {
        {"Alfa", {0, 1, 2, 3}, false},
        {"Beta", {0, 1, 2, 3}, false},
        {"Gama", {0, 1, 2}, true},
    };
    ASSERT_EQ(e.empresas.size(), casos.size());
    for (std::size_t i = 0; i < casos.size(); ++i) {
        SCOPED_TRACE(casos[i].nombre);
        EXPECT_EQ(e.empresas[i].nombre, casos[i].nombre);
        EXPECT_EQ(e.empresas[i].periodos, casos[i].periodos);
        EXPECT_EQ(e.empresas[i].quebro, casos[i].quebro);
    }
    EXPECT_EQ(e.empresas[2].posiciones.back(), 0) << "una quebrada no tiene puesto";
}

TEST(Evolucion, SoloLosPeriodosPedidosYLosQueSiguenCorridos) {
    CarpetaTemporal carpeta;
    EXPECT_TRUE(evolucion().periodos.empty()) << "sin juego";
    jugarHasta(3);
    struct TCaso {
        int hasta;
        std::vector<int> periodos;
    };
    for (const TCaso& caso : std::vector<TCaso>{{-1, {0, 1, 2, 3}}, {0, {0}}, {2, {0, 1, 2}}, {9, {0, 1, 2, 3}}})
        EXPECT_EQ(evolucion(caso.hasta).periodos, caso.periodos) << "hasta " << caso.hasta;

    // The history keeps period 3's folder after the step back; the charts do not show it.
    ASSERT_EQ(volver(), 3);
    ASSERT_EQ(periodosDelHistorial().back(), 3);
    const TEvolucion e = evolucion();
    EXPECT_EQ(e.periodos, (std::vector<int>{0, 1, 2}));
    for (const TEmpresaEvolucion& empresa : e.empresas) EXPECT_LE(empresa.periodos.back(), 2) << empresa.nombre;
}

TEST(Evolucion, NombresYArchivosDeLasMedidas) {
    std::vector<std::string> nombres, archivos;
    for (TMedida m : todasLasMedidas) {
        EXPECT_FALSE(nombreMedida(m).empty());
        EXPECT_EQ(archivoMedida(m).find_first_not_of("abcdefghijklmnopqrstuvwxyz_"), std::string::npos)
            << archivoMedida(m);
        EXPECT_EQ(std::count(nombres.begin(), nombres.end(), nombreMedida(m)), 0) << nombreMedida(m);
        EXPECT_EQ(std::count(archivos.begin(), archivos.end(), archivoMedida(m)), 0) << archivoMedida(m);
        nombres.push_back(nombreMedida(m));
        archivos.push_back(archivoMedida(m));
    }
}

namespace {

TEmpresaEvolucion empresaCon(const std::string& nombre, std::vector<int> periodos, std::vector<int> posiciones,
                             std::vector<double> utilidad, bool quebro = false) {
    TEmpresaEvolucion e;
    e.nombre = nombre;
    e.periodos = std::move(periodos);
    e.posiciones = std::move(posiciones);
    e.valores[static_cast<std::size_t>(TMedida::utilidadAcumulada)] = std::move(utilidad);
    e.quebro = quebro;
    return e;
}

}  // namespace

TEST(Evolucion, LaClasificacionOrdenaPorPuestoYCuentaLoGanado) {
    TEvolucion e;
    e.periodos = {0, 1, 2};
    e.empresas = {
        empresaCon("Sube", {0, 1, 2}, {0, 3, 1}, {0, 10, 300}),
        empresaCon("Baja", {0, 1, 2}, {0, 1, 3}, {0, 90, 100}),
        empresaCon("Igual", {0, 1, 2}, {0, 2, 2}, {0, 50, 200}),
        empresaCon("Antes", {0, 1}, {0, 4}, {0, -10}, true),  // gone in period 1: not listed
        empresaCon("Quiebra", {0, 1, 2}, {0, 5, 0}, {0, -5, -900}, true),
    };
    struct TEsperada {
        const char* empresa;
        int posicion;
        double utilidad;
        bool hayCambio;
        int cambio;
    };
    const std::vector<TEsperada> esperadas = {
        {"Sube", 1, 300, true, 2},
        {"Igual", 2, 200, true, 0},
        {"Baja", 3, 100, true, -2},
        {"Quiebra", 0, -900, false, 0},
    };
    const auto filas = clasificacion(e);
    ASSERT_EQ(filas.size(), esperadas.size());
    for (std::size_t i = 0; i < filas.size(); ++i) {
        SCOPED_TRACE(esperadas[i].empresa);
        EXPECT_EQ(filas[i].empresa, esperadas[i].empresa);
        EXPECT_EQ(filas[i].posicion, esperadas[i].posicion);
        EXPECT_EQ(filas[i].utilidadAcumulada, esperadas[i].utilidad);
        EXPECT_EQ(filas[i].hayCambio, esperadas[i].hayCambio);
        EXPECT_EQ(filas[i].cambio, esperadas[i].cambio);
    }
    EXPECT_TRUE(filas.back().quebro);

    // Period 0 has no ranks: no change to tell, and nothing before it.
    e.periodos = {0};
    for (auto& empresa : e.empresas) empresa = empresaCon(empresa.nombre, {0}, {0}, {0});
    for (const TFilaClase& fila : clasificacion(e)) EXPECT_FALSE(fila.hayCambio) << fila.empresa;
    EXPECT_TRUE(clasificacion(TEvolucion{}).empty());
}
