// Building a new game's parameters from the texts typed on the initial data screen.

#include "comun/ArchivosDePrueba.h"
#include "comun/CarpetaTemporal.h"
#include "reports/Regional.h"
#include "store/Datos_UD.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(DatosIniciales, JuegoDeEjemplo) {
    CarpetaTemporal carpeta;
    auto r = armarDatosIniciales(ejemploDatosIniciales(), 5);
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

TEST(DatosIniciales, ByteBajoIndemnizacionYPenalidad) {
    CarpetaTemporal carpeta;
    auto t = ejemploDatosIniciales();
    t.penalidadStock = "300";
    t.indemXEmpleado = "450";
    t.penalidad = "800";
    auto r = armarDatosIniciales(t, 2);
    EXPECT_EQ(r.penalidadStock, 44);  // only the low byte of 300 is kept
    EXPECT_EQ(r.indemXEmpleado, 450);
    EXPECT_EQ(r.penalidad, 800);
}

TEST(DatosIniciales, CajaVaciaOInvalidaFalla) {
    CarpetaTemporal carpeta;
    auto t = ejemploDatosIniciales();
    t.impuestos = "";
    EXPECT_THROW(armarDatosIniciales(t, 2), ErrorConversion);
    t = ejemploDatosIniciales();
    t.planta = "70.000";
    EXPECT_THROW(armarDatosIniciales(t, 2), ErrorConversion);
    t = ejemploDatosIniciales();
    t.penalidad = "x";
    EXPECT_THROW(armarDatosIniciales(t, 2), ErrorConversion);
}

TEST(DatosIniciales, ComaDecimalRegional) {
    CarpetaTemporal carpeta;
    ASSERT_NE(activarComaDecimal(), nullptr);
    auto t = ejemploDatosIniciales();
    t.modifOrdenes = "12,5";
    auto r = armarDatosIniciales(t, 1);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(r.modifOrdenes, 0.125);
}

TEST(DatosIniciales, GuardarFallidoDejaElJuegoAnterior) {
    CarpetaTemporal carpeta;
    auto anterior = armarDatosIniciales(ejemploDatosIniciales(), 3);
    guardarJuegoNuevo(carpetaDePrueba(), anterior);
    auto bytes = leerBytes(carpeta / "DATOS INICIALES.DAT");
    // The replacement cannot be written: the stored game stays as it was.
    std::filesystem::create_directory(carpeta / "DATOS INICIALES.DAT.tmp");
    EXPECT_THROW(guardarJuegoNuevo(carpetaDePrueba(), armarDatosIniciales(ejemploDatosIniciales(), 7)), ErrorArchivo);
    EXPECT_EQ(leerBytes(carpeta / "DATOS INICIALES.DAT"), bytes);
}

TEST(DatosIniciales, CajasFueraDeRangoNombranLaCaja) {
    std::setlocale(LC_NUMERIC, "C");
    struct Caso {
        std::string TTextosDatosIniciales::*campo;
        const char* texto;
        const char* mensaje;  // empty: accepted
    };
    using T = TTextosDatosIniciales;
    const Caso casos[] = {
        {&T::interesA, "1e308", "INTERESES(%) NACION: «1e308» está fuera del rango de 0 a 1000."},
        // Fits a long double but not a double: it would be stored as infinity.
        {&T::interesB, "1e400", "INTERESES(%) PROVINCIA: «1e400» está fuera del rango de 0 a 1000."},
        {&T::interesA, "1000", ""},
        {&T::interesA, "-0.1", "INTERESES(%) NACION: «-0.1» está fuera"},
        {&T::planta, "10000000", "PLANTA: «10000000» está fuera del rango de 0 a 9999999."},
        {&T::planta, "9999999", ""},
        {&T::capital, "-1", "CAPITAL: «-1» está fuera"},
        {&T::maxCreditoB, "2147483647", "MAX.CREDITO PROVINCIA: «2147483647» está fuera"},
        {&T::mantenimiento, "100.5", "MANTENIMIENTO(%): «100.5» está fuera del rango de 0 a 100."},
        {&T::impuestos, "1e-400", ""},
        {&T::tasaProduccion, "11", "TASA DE PROD(%): «11» está fuera del rango de 0 a 10."},
        {&T::tasaProduccion, "10", ""},
        {&T::giroDescubierto, "101", "GIRO EN DESC(%): «101» está fuera del rango de 0 a 100."},
        {&T::nroInvYDes, "1000001", "NRO INV Y DES: «1000001» está fuera del rango de 0 a 1000000."},
        {&T::modifOrdenes, "-5", "MODIF. ORD (%): «-5» está fuera"},
        {&T::limiteGiroDescubierto, "1e10", "LÍMITE MAX. GIRO EN DESC.: «1e10» está fuera"},
        {&T::nroZona, "0", "NRO. ZONA: «0» está fuera del rango de 1 a 99."},
        {&T::nroZona, "99", ""},
        {&T::indemXEmpleado, "2001", "INDEMNIZACION  X EMPLEADO: «2001» está fuera del rango de 0 a 2000."},
        {&T::penalidad, "-500", "PENALIDAD: «-500» está fuera"},
        // The byte boxes keep their low byte, as before.
        {&T::penalidadStock, "300", ""},
    };
    for (const Caso& caso : casos) {
        TTextosDatosIniciales t = ejemploDatosIniciales();
        t.*caso.campo = caso.texto;
        if (*caso.mensaje == 0) {
            EXPECT_NO_THROW(armarDatosIniciales(t, 3)) << caso.texto;
            continue;
        }
        try {
            armarDatosIniciales(t, 3);
            ADD_FAILURE() << caso.texto;
        } catch (const ErrorParametro& e) {
            EXPECT_EQ(std::string(e.what()).rfind(caso.mensaje, 0), 0u) << e.what();
        }
    }
}

TEST(DatosIniciales, CajaDeUnBancoSinNombre) {
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.nombreBancoB = "";
    t.maxCreditoB = "-1";
    try {
        armarDatosIniciales(t, 1);
        FAIL();
    } catch (const ErrorParametro& e) {
        EXPECT_STREQ(e.what(), "MAX.CREDITO (banco B): «-1» está fuera del rango de 0 a 9999999.");
        EXPECT_EQ(e.clave(), "maxCreditoB");
        EXPECT_EQ(e.falla(), "«-1» está fuera del rango de 0 a 9999999.");
    }
}
