// The period-0 start-up run.

#include "comun/ArchivosDePrueba.h"
#include "engine/apoyo_juego.h"
#include "juego/CorridaPeriodo0.h"
#include "engine/ValidarDecision.h"
#include "store/DatosIniciales.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// A game set up as the initial data screen's sample, with the given teams.
void nuevoJuego(const std::vector<std::string>& equipos) {
    TDatosjuego datos(carpetaDePrueba());
    for (std::size_t i = 0; i < equipos.size(); ++i) datos.guardarNombre(static_cast<uint8_t>(i), equipos[i]);
    guardarJuegoNuevo(carpetaDePrueba(), armarDatosIniciales(ejemploDatosIniciales(), static_cast<uint8_t>(equipos.size())));
}

// The ready example of the period-0 screen, with the game's banks.
TDecisionesPeriodo0 ejemplo() {
    TDecisionesPeriodo0 d = ejemploPeriodo0();
    d.nombreBancoA = "NACION";
    d.nombreBancoB = "PROVINCIA";
    return d;
}

}  // namespace

TEST(Periodo0, CreaLasEmpresasIguales) {
    CarpetaTemporal carpeta;
    nuevoJuego({"Alfa", "Beta", "Gama"});
    ejecutarPeriodo0(carpetaDePrueba(), ejemplo());

    ASSERT_EQ(TDatosAcum(carpetaDePrueba()).cantidadAcum(), 3);
    const auto primera = leerEmpresa(1);
    for (int i = 1; i <= 3; ++i) {
        auto r = leerEmpresa(i);
        EXPECT_EQ(r.zona, 1);
        EXPECT_EQ(r.quebrada + r.marcaQuiebra, 0);
        EXPECT_EQ(r.giroDescubierto, 0);
        EXPECT_EQ(r.planta, 70000);
        EXPECT_EQ(r.invYDesAcumulada, 1000);
        EXPECT_EQ(r.capacitacionAcumulada, 4000);
        EXPECT_EQ(r.empleados, 52);  // 70 whole thousands of plant at 75 %
        EXPECT_EQ(r.efectivo, primera.efectivo);
        EXPECT_EQ(r.utilidadAcumulada, primera.utilidadAcumulada);
    }
    EXPECT_EQ(aTexto(leerEmpresa(2).nombreEmpresa), "Beta");
    EXPECT_EQ(leerParametros().periodoActual, 1);  // the run leaves the parameters alone

    auto reporte = leerTexto(carpeta / "COMZONA1IGUALES.txt");
    // 1400 of capacity at 75 %, all of it sold.
    EXPECT_EQ(valorEnReporte(reporte, "\nProducci\xF3n          "), "   1050        Ventas realizadas       1050");
    EXPECT_EQ(valorEnReporte(reporte, "Empleados Indemniz. "), "");
    EXPECT_NE(reporte.find(" para el Per\xEDodo \r\n"), std::string::npos);

    auto industria = leerTexto(carpeta / "INDZONA1IGUALES.txt");
    EXPECT_NE(industria.find("Alfa            "), std::string::npos);
    EXPECT_NE(industria.find("Gama            "), std::string::npos);
    // 100 divided among 3 companies, the remainder dropped.
    EXPECT_NE(industria.find("     33    -\r\n"), std::string::npos);

    EXPECT_TRUE(registroNotificador().eventos.empty());
    EXPECT_TRUE(fs::exists(carpeta / "historial" / "Periodo 0" / "COMZONA1IGUALES.txt"));
}

TEST(Periodo0, SinProduccion) {
    CarpetaTemporal carpeta;
    nuevoJuego({"Alfa", "Beta"});
    auto d = ejemplo();
    d.nivelProduccion = 0;
    ejecutarPeriodo0(carpetaDePrueba(), d);
    auto reporte = leerTexto(carpeta / "COMZONA1IGUALES.txt");
    EXPECT_EQ(valorEnReporte(reporte, "\nProducci\xF3n          "), "      0        Ventas realizadas          0");
    EXPECT_EQ(valorEnReporte(reporte, "        Ventas              "), "      0");
    EXPECT_EQ(leerEmpresa(1).empleados, 0);
    auto industria = leerTexto(carpeta / "INDZONA1IGUALES.txt");
    EXPECT_EQ(valorEnReporte(industria, "Ventas/Empleado     u$s "), std::string(17, ' ') + "0" +
                                                                        "               *Pr\xE9stamo L\xEDmite    u$s " +
                                                                        "     90000");
}

TEST(Periodo0, PrestamosSobreElLimiteSeOtorgan) {
    CarpetaTemporal carpeta;
    nuevoJuego({"Alfa"});
    auto d = ejemplo();
    d.pedPrestamoA = 200000;  // limit 90000
    d.pedPrestamoB = 150000;  // limit 80000
    ejecutarPeriodo0(carpetaDePrueba(), d);
    auto r = leerEmpresa(1);
    EXPECT_EQ(r.prestamoA, 200000);
    EXPECT_EQ(r.prestamoB, 150000);
}

TEST(Periodo0, FaltanteConPenalidadPeroSinAviso) {
    CarpetaTemporal carpeta;
    nuevoJuego({"Alfa", "Beta"});
    auto d = ejemplo();
    d.pedPrestamoA = 0;
    d.pedPrestamoB = 0;
    ejecutarPeriodo0(carpetaDePrueba(), d);
    auto reporte = leerTexto(carpeta / "COMZONA1IGUALES.txt");
    EXPECT_EQ(valorEnReporte(reporte, "        Penalidad           "), "    500");
    for (const auto& entrada : fs::directory_iterator(carpeta.ruta()))
        EXPECT_EQ(entrada.path().filename().string().rfind("Penalidad", 0), std::string::npos);
}

TEST(Periodo0, MontosFueraDeRangoNoEscribenNada) {
    struct Caso {
        void (*cambiar)(TDecisionesPeriodo0&);
        const char* mensaje;
    };
    const Caso casos[] = {
        {[](TDecisionesPeriodo0& d) { d.devPrestamoB = 2147483647; },
         "La devolución al banco B 2147483647 está fuera del rango de 0 a 9999999."},
        {[](TDecisionesPeriodo0& d) { d.invYDes = -1000000; },
         "La inversión en investigación y desarrollo -1000000 está fuera del rango de 0 a 9999999."},
        {[](TDecisionesPeriodo0& d) { d.invPlanta = 10000000; },
         "La inversión en planta 10000000 está fuera del rango de 0 a 9999999."},
        {[](TDecisionesPeriodo0& d) { d.pedPrestamoA = -1; },
         "El préstamo pedido al banco A -1 está fuera del rango de 0 a 9999999."},
    };
    for (const Caso& caso : casos) {
        CarpetaTemporal carpeta;
        nuevoJuego({"Alfa", "Beta"});
        const auto antes = fs::file_size(carpeta / "DATOS INICIALES.DAT");
        auto d = ejemplo();
        caso.cambiar(d);
        try {
            ejecutarPeriodo0(carpetaDePrueba(), d);
            ADD_FAILURE() << caso.mensaje;
        } catch (const ErrorDecision& e) {
            EXPECT_STREQ(e.what(), caso.mensaje);
        }
        EXPECT_EQ(fs::file_size(carpeta / "DATOS INICIALES.DAT"), antes);
        EXPECT_FALSE(fs::exists(carpeta / "DATOS ACUMULADOS.DAT")) << caso.mensaje;
        EXPECT_FALSE(fs::exists(carpeta / "COMZONA1IGUALES.txt")) << caso.mensaje;
        EXPECT_FALSE(fs::exists(carpeta / "INDZONA1IGUALES.txt")) << caso.mensaje;
    }
    // The widest amounts a report shows are accepted.
    CarpetaTemporal carpeta;
    nuevoJuego({"Alfa"});
    auto d = ejemplo();
    d.invYDes = 9999999;
    d.invPlanta = 9999999;
    EXPECT_NO_THROW(ejecutarPeriodo0(carpetaDePrueba(), d));
}

TEST(Periodo0, DecisionFueraDeRangoNoEscribeNada) {
    CarpetaTemporal carpeta;
    nuevoJuego({"Alfa"});
    auto d = ejemplo();
    d.capacitacion = 4500;
    try {
        ejecutarPeriodo0(carpetaDePrueba(), d);
        FAIL();
    } catch (const ErrorDecision& e) {
        EXPECT_STREQ(e.what(), "La capacitación 4500 no es un múltiplo de 2000 entre 0 y 20000.");
    }
    EXPECT_FALSE(fs::exists(carpeta / "DATOS ACUMULADOS.DAT"));
    EXPECT_FALSE(fs::exists(carpeta / "COMZONA1IGUALES.txt"));
}
