// Building a new game's parameters from the texts typed on the initial data screen.

#include "comun/CarpetaTemporal.h"
#include "store/Datos_UD.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"
#include "store/ValoresGlobales.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

// The sample game of the screen's double click.
TTextosDatosIniciales ejemplo() {
    TTextosDatosIniciales t;
    t.planta = "70000";
    t.capital = "80000";
    t.maxCreditoA = "90000";
    t.maxCreditoB = "80000";
    t.mantenimiento = "10";
    t.impuestos = "30";
    t.interesA = "21";
    t.interesB = "24";
    t.tasaProduccion = "2";
    t.giroDescubierto = "100";
    t.penalidadStock = "10";
    t.multipOrdenesMas = "30";
    t.multipOrdenesMenos = "20";
    t.nroInvYDes = "0";
    t.modifOrdenes = "30";
    t.limiteGiroDescubierto = "30";
    return t;
}

}  // namespace

TEST(DatosIniciales, JuegoDeEjemplo) {
    CarpetaTemporal carpeta;
    auto r = armarDatosIniciales(ejemplo(), 5);
    EXPECT_EQ(r.cantEquipos, 5);
    EXPECT_EQ(r.cantEquiposZona1, 5);
    EXPECT_EQ(r.cantEquiposZona2 + r.cantEquiposZona3, 0);
    EXPECT_EQ(r.zonaActiva, 1);
    EXPECT_EQ(r.periodoActual, 1);
    EXPECT_EQ(r.planta, 70000);
    EXPECT_EQ(r.interesB, 0.08);  // 24 % a year is 8 % a period
    EXPECT_EQ(r.tasaImpuestos, 0.3);
    EXPECT_EQ(r.limiteGiroDescubierto, 30.0);
    EXPECT_EQ(r.tasaProduccion, 0.02);
    EXPECT_EQ(r.modifOrdenes, 0.3);
    EXPECT_EQ(aTexto(r.nombreBancoA), "NACION");
    EXPECT_EQ(r.nroZona, 1);
    EXPECT_EQ(r.columnaPrecios, 0);
    EXPECT_EQ(r.indemXEmpleado, 300);
    EXPECT_EQ(r.penalidad, 500);
}

TEST(DatosIniciales, ByteBajoYValoresGlobales) {
    CarpetaTemporal carpeta;
    auto t = ejemplo();
    t.penalidadStock = "300";
    t.indemXEmpleado = "450";
    t.penalidad = "800";
    auto r = armarDatosIniciales(t, 2);
    EXPECT_EQ(r.penalidadStock, 44);  // only the low byte of 300 is kept
    EXPECT_EQ(IndemnizacionPorEmpleado, 450);
    EXPECT_EQ(ValorPenalidad, 800);
}

TEST(DatosIniciales, CajaVaciaOInvalidaFalla) {
    CarpetaTemporal carpeta;
    auto t = ejemplo();
    t.impuestos = "";
    EXPECT_THROW(armarDatosIniciales(t, 2), ErrorConversion);
    t = ejemplo();
    t.planta = "70.000";
    EXPECT_THROW(armarDatosIniciales(t, 2), ErrorConversion);
    // The severance box converts before the penalty box fails, and keeps its value.
    t = ejemplo();
    t.indemXEmpleado = "350";
    t.penalidad = "x";
    EXPECT_THROW(armarDatosIniciales(t, 2), ErrorConversion);
    EXPECT_EQ(IndemnizacionPorEmpleado, 350);
    EXPECT_EQ(ValorPenalidad, 500);
}

TEST(DatosIniciales, ComaDecimalRegional) {
    CarpetaTemporal carpeta;
    ASSERT_NE(std::setlocale(LC_NUMERIC, "es_AR.UTF-8"), nullptr);
    auto t = ejemplo();
    t.modifOrdenes = "12,5";
    auto r = armarDatosIniciales(t, 1);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(r.modifOrdenes, 0.125);
}

TEST(DatosIniciales, GuardarFallidoDejaElJuegoAnterior) {
    CarpetaTemporal carpeta;
    auto anterior = armarDatosIniciales(ejemplo(), 3);
    guardarJuegoNuevo(anterior);
    auto bytes = leerBytes(carpeta / "DATOS INICIALES.DAT");
    // The replacement cannot be written: the stored game stays as it was.
    std::filesystem::create_directory(carpeta / "DATOS INICIALES.DAT.tmp");
    EXPECT_THROW(guardarJuegoNuevo(armarDatosIniciales(ejemplo(), 7)), ErrorArchivo);
    EXPECT_EQ(leerBytes(carpeta / "DATOS INICIALES.DAT"), bytes);
}
