// A whole ten-period game: the game files stay consistent after every run.

#include "comun/ArchivosDePrueba.h"
#include "engine/apoyo_juego.h"
#include "juego/CorridaPeriodo0.h"
#include "juego/CorridaPeriodo.h"
#include "store/DatosIniciales.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

TEST(JuegoCompleto, DiezPeriodosConsistentes) {
    CarpetaTemporal carpeta;
    const std::vector<std::string> equipos = {"Alfa", "Beta", "Gama", "Delta"};
    TDatosjuego datos(carpetaDePrueba());
    for (std::size_t i = 0; i < equipos.size(); ++i) datos.guardarNombre(static_cast<uint8_t>(i), equipos[i]);
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.nroInvYDes = "500";
    t.limiteGiroDescubierto = "30000";
    guardarJuegoNuevo(carpetaDePrueba(), armarDatosIniciales(t, 4));

    TDecisionesPeriodo0 d0 = ejemploPeriodo0();
    d0.nombreBancoA = "NACION";
    d0.nombreBancoB = "PROVINCIA";
    ejecutarPeriodo0(carpetaDePrueba(), d0);

    const int niveles[] = {0, 25, 50, 75, 100};
    for (int periodo = 1; periodo <= 10; ++periodo) {
        auto ini = leerParametros();
        ASSERT_EQ(ini.periodoActual, periodo);
        ASSERT_EQ(ini.cantEquipos, TDatosAcum(carpetaDePrueba()).cantidadAcum());
        std::vector<TRegDecision> decisiones;
        for (int i = 0; i < ini.cantEquipos; ++i) {
            TRegDecision d{};
            d.precio = 60 + 7 * ((i + periodo) % 6);
            d.nivelProduccion = niveles[(i + periodo) % 5];
            d.capacitacion = 2000 * ((i * periodo) % 3);
            d.marketing = 1000 * ((i + 2 * periodo) % 11) + 500 * (i % 2);
            d.invYDes = 1500 * (i % 3);
            d.invPlanta = periodo % 4 == 0 ? 10000 : 0;
            d.pedPrestamoA = 20000 * ((periodo + i) % 2);
            d.pedPrestamoB = i == 3 ? 60000 : 5000;  // Delta borrows beyond its means
            d.devPrestamoA = 3000 * (periodo % 2);
            d.devPrestamoB = 2000;
            decisiones.push_back(d);
        }
        TDecision(carpetaDePrueba()).guardarDecisiones(decisiones);
        simularPeriodo(carpetaDePrueba());

        auto despues = leerParametros();
        EXPECT_EQ(despues.periodoActual, periodo + 1);
        EXPECT_EQ(despues.cantEquipos, despues.cantEquiposZona1);
        EXPECT_EQ(despues.cantEquipos, TDatosAcum(carpetaDePrueba()).cantidadAcum());
        EXPECT_EQ(fs::file_size(carpeta / "DECISIONES.DAT"), 0u);
        EXPECT_TRUE(fs::exists(carpeta / "historial" / ("Periodo " + std::to_string(periodo)) / "INDZONA1.txt") ||
                    despues.cantEquipos == 0);

        for (int i = 1; i <= despues.cantEquipos; ++i) {
            auto r = leerEmpresa(i);
            EXPECT_EQ(r.quebrada, 0);
            auto reporte = leerTexto(carpeta / ("COMZONA1" + aTexto(r.nombreEmpresa) + ".txt"));
            // The balance balances: cash is the balancing figure.
            int activo = std::atoi(valorEnReporte(reporte, "Total Activo        ").c_str());
            int pasivo = std::atoi(valorEnReporte(reporte, "Pasivo+Patrimonio   ").c_str());
            EXPECT_LE(std::abs(activo - pasivo), 1) << "periodo " << periodo;
            // What is stored is what the report printed.
            EXPECT_EQ(r.efectivo, std::atoi(valorEnReporte(reporte, "Efectivo            ").c_str()));
            EXPECT_EQ(r.utilidadAcumulada, std::atoi(valorEnReporte(reporte, "Ut. Acumuladas      ").c_str()));
            EXPECT_EQ(r.stockUnidades, std::atoi(valorEnReporte(reporte, "Stock en Unidades    ").c_str()));
        }
    }
    EXPECT_EQ(leerParametros().periodoActual, 11);
}
