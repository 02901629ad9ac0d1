// The per-company computation that period 0 and the period run share.

#include "comun/ArchivosDePrueba.h"
#include "engine/apoyo_juego.h"
#include "engine/EmpresaPeriodo.h"
#include "juego/CorridaPeriodo0.h"
#include "store/DatosIniciales.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <cmath>

namespace fs = std::filesystem;

namespace {

TRegDecision comunes(const TDecisionesPeriodo0& d) {
    return {d.precio,    d.nivelProduccion, d.capacitacion, d.marketing,    d.invYDes,
            d.invPlanta, d.pedPrestamoA,    d.pedPrestamoB, d.devPrestamoA, d.devPrestamoB};
}

// The first figure after a label of the company report.
int32_t cifraEnReporte(const std::string& reporte, const std::string& etiqueta) {
    return aEntero(valorEnReporte(reporte, etiqueta).substr(0, 7));
}

}  // namespace

// A loan beyond bank A's limit, with the overdraft limit below the excess.
// The parameters file is absent: the limit must come from the parameters given.
TEST(CalcularEmpresa, ReglasDePeriodo0YDeCorrida) {
    CarpetaTemporal carpeta;
    auto ini = parametrosNeutros(1);
    ini.maxCreditoA = 50000;
    ini.limiteGiroDescubierto = 10000;
    auto d = decisionNeutra();
    d.pedPrestamoA = 80000;

    struct {
        TReglasPeriodo reglas;
        double limite;
        double deudaA, giro;
        bool quebrada;
        int32_t giroGuardado;
    } casos[] = {
        {reglasPeriodo0(), 10000, 80000, 0, false, 0},           // granted in full
        {reglasCorrida(1), 10000, 50000, 30000, true, 30000},    // capped; the excess is overdraft
        {reglasCorrida(1), 1000000, 50000, 30000, false, 30000}, // the same overdraft within the limit
    };
    for (const auto& c : casos) {
        ini.limiteGiroDescubierto = c.limite;
        const TEmpresaCalculada r = calcularEmpresa(estadoInicial(ini), d, ini, {}, c.reglas);
        EXPECT_EQ(r.cifras.deudaA, c.deudaA);
        EXPECT_EQ(r.cifras.giro, c.giro);
        EXPECT_EQ(r.quebrada, c.quebrada);
        EXPECT_EQ(r.marcaQuiebra, c.quebrada);
        // 80000 owed either way: all to bank A, or 50000 to it and the rest as overdraft.
        EXPECT_EQ(r.cifras.balance.prestamosTomados, 80000);
        const TRegDatosAcum nuevo = registroResultados(r, cadena{});
        EXPECT_EQ(nuevo.giroDescubierto, c.giroGuardado);
        EXPECT_EQ(nuevo.quebrada, c.quebrada ? 1 : 0);
    }
    EXPECT_TRUE(fs::is_empty(carpeta.ruta()));
}

TEST(CalcularEmpresa, Periodo0TruncaElEfectivo) {
    const auto ini = armarDatosIniciales(ejemploDatosIniciales(), 3);
    TRegDecision d = comunes(ejemploPeriodo0());
    d.precio = 100;  // few orders: stock left, valued at a unit cost with cents
    d.marketing = 0;
    TReglasPeriodo sinTruncar = reglasPeriodo0();
    sinTruncar.truncarEfectivo = false;
    const double entero = calcularEmpresa(estadoInicial(ini), d, ini, {}, reglasPeriodo0()).cifras.balance.efectivo;
    const double exacto = calcularEmpresa(estadoInicial(ini), d, ini, {}, sinTruncar).cifras.balance.efectivo;
    ASSERT_NE(exacto, std::trunc(exacto));
    EXPECT_EQ(entero, std::trunc(exacto));
}

// What every company stores after period 0 is what the period-0 report shows.
TEST(CalcularEmpresa, RegistroDelPeriodo0IgualAlReporte) {
    CarpetaTemporal carpeta;
    TDatosjuego datos(carpetaDePrueba());
    datos.guardarNombre(0, "Alfa");
    guardarJuegoNuevo(carpetaDePrueba(), armarDatosIniciales(ejemploDatosIniciales(), 1));
    TDecisionesPeriodo0 d = ejemploPeriodo0();
    d.pedPrestamoA = 300000;  // above the limit, granted in full
    ejecutarPeriodo0(carpetaDePrueba(), d);

    const auto r = leerEmpresa(1);
    const auto reporte = leerTexto(carpeta / "COMZONA1IGUALES.txt");
    EXPECT_EQ(r.efectivo, cifraEnReporte(reporte, "Efectivo            "));
    EXPECT_EQ(r.stockValor, cifraEnReporte(reporte, "Stock               "));
    EXPECT_EQ(r.utilidadAcumulada, cifraEnReporte(reporte, "Ut. Acumuladas      "));
    EXPECT_EQ(r.intereses, cifraEnReporte(reporte, "Intereses           "));
    EXPECT_EQ(r.prestamoA, cifraEnReporte(reporte, "Pr\xE9stamos Tomados  u$s"));
    EXPECT_EQ(r.prestamoA, 300000);
    EXPECT_EQ(r.prestamoB, cifraEnReporte(reporte, "Pr\xE9stamos Tomados   u$s"));
    EXPECT_EQ(r.invYDesAcumulada, cifraEnReporte(reporte, "I&D Acumulado            u$s"));
    EXPECT_EQ(r.capacitacionAcumulada, cifraEnReporte(reporte, "Capacitaci\xF3n Acumulada   u$s"));
}
