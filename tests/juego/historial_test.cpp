// The history keeps, for every period run, the decisions used and the
// industry figures as numbers; the one reader gives back exactly what the
// reports of that period printed.

#include "comun/CarpetaTemporal.h"
#include "comun/Partida.h"
#include "engine/apoyo_juego.h"
#include "juego/Juego.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Price, level, training, marketing, R&D, plant, loans A and B, repayments A and B.
TRegDecision decision(int empresa, int periodo) {
    TRegDecision d{60 + 10 * empresa + periodo, 75, 2000, 4000 + 1000 * empresa, 1000, 0, 0, 0, 0, 0};
    if (empresa == 2 && periodo == 2) d.invPlanta = 900000;  // beyond every limit: bankrupt
    return d;
}

// The whitespace-separated words of the industry report's line for a company.
std::vector<std::string> lineaDeCompetencia(const std::string& informe, const std::string& empresa) {
    std::istringstream lineas(informe);
    std::string linea;
    while (std::getline(lineas, linea))
        if (linea.rfind(empresa + " ", 0) == 0) {
            std::istringstream palabras(linea);
            std::vector<std::string> salida;
            for (std::string p; palabras >> p;) salida.push_back(p);
            return salida;
        }
    return {};
}

}  // namespace

TEST(Historial, CadaPeriodoGuardaDecisionesYCifrasComoLasImprimio) {
    CarpetaTemporal carpeta;
    juegoDePrueba().crearJuego({"Alfa", "Beta", "Gama"}, [] {
        TTextosDatosIniciales t = ejemploDatosIniciales();
        t.limiteGiroDescubierto = "20000";
        return t;
    }());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    std::vector<std::vector<TRegDecision>> usadas = {std::vector<TRegDecision>(3, TRegDecision{})};
    for (auto& periodo : jugarPeriodos(3, decision)) usadas.push_back(std::move(periodo));

    ASSERT_EQ(juegoDePrueba().periodosDelHistorial(), (std::vector<int>{0, 1, 2, 3}));
    for (int periodo = 0; periodo <= 3; ++periodo) {
        const TArchivoPeriodo p = juegoDePrueba().periodoDelHistorial(periodo);
        SCOPED_TRACE("período " + std::to_string(periodo));
        EXPECT_EQ(p.parametros.periodoActual, periodo + 1);
        ASSERT_EQ(p.industria.size(), periodo <= 2 ? 3u : 2u);
        ASSERT_EQ(p.decisiones.size(), p.industria.size());
        if (periodo > 0) {
            for (std::size_t i = 0; i < p.decisiones.size(); ++i)
                EXPECT_EQ(std::memcmp(&p.decisiones[i], &usadas[periodo][i], sizeof(TRegDecision)), 0) << i;
        }
        const std::string industria = juegoDePrueba().reporteDelHistorial(periodo, p.reporteIndustria);
        for (std::size_t i = 0; i < p.industria.size(); ++i) {
            const TFilaIndustria& f = p.industria[i];
            EXPECT_EQ(aTexto(p.empresas[i].nombreEmpresa), f.empresa);
            EXPECT_EQ(p.empresas[i].utilidadAcumulada, f.utilidadAcumulada);
            const std::string informe = juegoDePrueba().reporteDelHistorial(periodo, f.reporte);
            EXPECT_EQ(std::stol(valorEnReporte(informe, "Precio De Venta u$s")), f.precio);
            EXPECT_EQ(std::stol(valorEnReporte(informe, "        Ventas              ")), f.ventas);
            EXPECT_EQ(std::stol(valorEnReporte(informe, cp1252("Util. del Período   "))), f.utilidadPeriodo);
            EXPECT_EQ(std::stol(valorEnReporte(informe, "Ut. Acumuladas      ")), f.utilidadAcumulada);
            EXPECT_EQ(std::stol(valorEnReporte(informe, "Ventas realizadas    ")), f.unidadesVendidas);
            if (!f.aviso.empty()) {
                EXPECT_FALSE(juegoDePrueba().reporteDelHistorial(periodo, f.aviso).empty());
            }
            const auto palabras = lineaDeCompetencia(industria, f.empresa);
            if (f.quebrada) {
                EXPECT_EQ(f.posicion, 0);
                continue;
            }
            ASSERT_GE(palabras.size(), 3u) << f.empresa;
            const std::string posicion = palabras.back(), mercado = palabras[palabras.size() - 2];
            EXPECT_EQ(posicion, f.posicion == 0 ? "-" : std::to_string(f.posicion));
            EXPECT_NEAR(std::stod(mercado), f.participacion, 1e-9) << mercado;
        }
    }
    // The bankruptcy of period 2 is on record, with its notice.
    EXPECT_TRUE(juegoDePrueba().periodoDelHistorial(2).industria[2].quebrada);
    EXPECT_EQ(juegoDePrueba().periodoDelHistorial(2).industria[2].aviso, "QuiebraEmpresa_Gama.txt");
    EXPECT_THROW(juegoDePrueba().reporteDelHistorial(1, "../DATOS INICIALES.DAT"), ErrorArchivo);
}

TEST(Historial, UnArchivoDelPeriodoDanadoSeNombra) {
    CarpetaTemporal carpeta;
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    const fs::path csv = carpeta / "historial" / "Periodo 0" / "INDUSTRIA.csv";
    std::string texto = leerTexto(csv);
    escribirBytes(csv, std::vector<uint8_t>(texto.begin(), texto.begin() + static_cast<long>(texto.size() - 5)));
    try {
        juegoDePrueba().periodoDelHistorial(0);
        ADD_FAILURE() << "se leyó un archivo dañado";
    } catch (const ErrorArchivoDanado& e) {
        EXPECT_NE(std::string(e.what()).find("INDUSTRIA.csv"), std::string::npos) << e.what();
    }
}
