#include "comun/CarpetaTemporal.h"
#include "comun/Empresas.h"
#include "reports/Regional.h"
#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"
#include "juego/Juego.h"
#include "store/ModificarDatos.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <filesystem>

namespace {

// The sample game of the initial data screen, with a market modifier of 12.5 %.
TRegDatosIniciales juegoDeEjemplo() {
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.modifOrdenes = "12.5";
    TRegDatosIniciales r = armarDatosIniciales(t, 4);
    r.periodoActual = 3;  // a game under way
    r.columnaPrecios = 50;
    r.intervaloMarketing = 1000;
    return r;
}

bool mismosBytes(const TRegDatosIniciales& a, const TRegDatosIniciales& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

TEST(ModificarDatos, MuestraLoQueElJugadorTipeo) {
    TRegDatosIniciales r = juegoDeEjemplo();
    TTextosDatosIniciales t = textosModificables(r);
    EXPECT_EQ(t.interesB, "24");
    EXPECT_EQ(t.interesA, "21");
    EXPECT_EQ(t.modifOrdenes, "12.5");
    EXPECT_EQ(t.impuestos, "30");
    EXPECT_EQ(t.tasaProduccion, "2");
    EXPECT_EQ(t.limiteGiroDescubierto, "30");
    EXPECT_EQ(t.planta, "70000");
    EXPECT_EQ(t.nombreBancoA, "NACION");
    EXPECT_EQ(t.indemXEmpleado, "300");

    // A stored rate of 0.08 per period is a yearly 24 %.
    r.interesA = 0.08;
    EXPECT_EQ(textosModificables(r).interesA, "24");

    ASSERT_NE(activarComaDecimal(), nullptr);
    EXPECT_EQ(textosModificables(r).modifOrdenes, "12,5");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(ModificarDatos, GuardarSinCambiosDejaElRegistroIgual) {
    const TRegDatosIniciales r = juegoDeEjemplo();
    EXPECT_TRUE(mismosBytes(aplicarModificaciones(r, textosModificables(r)), r));
    EXPECT_EQ(aplicarModificaciones(r, textosModificables(r)).modifOrdenes, 0.125);

    // Also where the desktop writes decimals with a comma.
    ASSERT_NE(activarComaDecimal(), nullptr);
    EXPECT_TRUE(mismosBytes(aplicarModificaciones(r, textosModificables(r)), r));
    std::setlocale(LC_NUMERIC, "C");
}

TEST(ModificarDatos, SoloCambianLosCamposEditables) {
    const TRegDatosIniciales r = juegoDeEjemplo();
    TTextosDatosIniciales t = textosModificables(r);
    // What the read-only boxes say does not matter.
    t.nombreBancoA = "OTRO";
    t.planta = "1";
    t.capital = "x";
    t.tasaProduccion = "";
    t.nroZona = "9";
    // The editable ones.
    t.penalidadStock = "300";  // only the low byte is stored
    t.interesA = "30";
    t.penalidad = "800";
    const TRegDatosIniciales n = aplicarModificaciones(r, t);
    EXPECT_EQ(n.penalidadStock, 44);
    EXPECT_EQ(n.interesA, static_cast<double>(30.0L / 100 / 3));
    EXPECT_EQ(n.penalidad, 800);
    EXPECT_EQ(aTexto(n.nombreBancoA), "NACION");
    EXPECT_EQ(n.planta, 70000);
    EXPECT_EQ(n.capital, 80000);
    EXPECT_EQ(n.tasaProduccion, r.tasaProduccion);
    EXPECT_EQ(n.nroZona, 1);
    EXPECT_EQ(n.periodoActual, 3);
    EXPECT_EQ(n.cantEquipos, 4);
    EXPECT_EQ(n.columnaPrecios, 50);
    EXPECT_EQ(n.intervaloMarketing, 1000);
}

TEST(ModificarDatos, GuardarEscribeYRecienEntoncesCambiaLosValoresDelJuego) {
    CarpetaTemporal carpeta;
    escribirBytes(carpeta / "DATOS ACUMULADOS.DAT", bytesDeEmpresas(4));
    const TRegDatosIniciales r = juegoDeEjemplo();
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(r);
    TTextosDatosIniciales t = textosModificables(r);
    t.indemXEmpleado = "450";
    t.penalidad = "800";
    juegoDePrueba().modificarDatos(t);
    TRegDatosIniciales leido{};
    TDatosjuego(carpetaDePrueba()).leerDatosIniciales(leido);
    EXPECT_EQ(leido.indemXEmpleado, 450);
    EXPECT_EQ(leido.penalidad, 800);
    EXPECT_EQ(leido.periodoActual, 3);
    EXPECT_EQ(juegoDePrueba().indemnizacionPorEmpleado(), 450);
    EXPECT_EQ(juegoDePrueba().valorPenalidad(), 800);
}

TEST(ModificarDatos, UnaCajaQueNoConvierteNoCambiaNada) {
    CarpetaTemporal carpeta;
    escribirBytes(carpeta / "DATOS ACUMULADOS.DAT", bytesDeEmpresas(4));
    const TRegDatosIniciales r = juegoDeEjemplo();
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(r);
    const auto antes = leerBytes(carpeta / "DATOS INICIALES.DAT");

    struct Caso {
        void (*romper)(TTextosDatosIniciales&);
        const char* mensaje;
    };
    const Caso casos[] = {
        {[](TTextosDatosIniciales& t) { t.impuestos = ""; }, "El campo está vacío: escriba un número."},
        {[](TTextosDatosIniciales& t) { t.maxCreditoA = "9O000"; }, "«9O000» no es un número entero: escríbalo en cifras, sin puntos ni comas."},
        // The severance converts before the penalty fails: neither changes.
        {[](TTextosDatosIniciales& t) { t.penalidad = "mucho"; }, "«mucho» no es un número entero: escríbalo en cifras, sin puntos ni comas."},
        // Out of range: refused the same way, naming the box with the stored bank name.
        {[](TTextosDatosIniciales& t) { t.interesA = "1e308"; },
         "INTERESES(%) NACION: «1e308» está fuera del rango de 0 a 1000."},
        {[](TTextosDatosIniciales& t) { t.penalidad = "10000000"; },
         "PENALIDAD: «10000000» está fuera del rango de 0 a 9999999."},
        {[](TTextosDatosIniciales& t) { t.giroDescubierto = "1e400"; }, "GIRO EN DESC(%): «1e400» está fuera del rango de 0 a 100."},
    };
    for (const Caso& caso : casos) {
        TTextosDatosIniciales t = textosModificables(r);
        t.indemXEmpleado = "450";
        t.penalidad = "800";
        caso.romper(t);
        try {
            juegoDePrueba().modificarDatos(t);
            ADD_FAILURE() << caso.mensaje;
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), caso.mensaje);
        }
        EXPECT_EQ(leerBytes(carpeta / "DATOS INICIALES.DAT"), antes) << caso.mensaje;
        EXPECT_EQ(juegoDePrueba().indemnizacionPorEmpleado(), 300) << caso.mensaje;
        EXPECT_EQ(juegoDePrueba().valorPenalidad(), 500) << caso.mensaje;
    }
}

TEST(ModificarDatos, UnaEscrituraFallidaNoCambiaLosValoresDelJuego) {
    CarpetaTemporal carpeta;
    escribirBytes(carpeta / "DATOS ACUMULADOS.DAT", bytesDeEmpresas(4));
    const TRegDatosIniciales r = juegoDeEjemplo();
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(r);
    const auto antes = leerBytes(carpeta / "DATOS INICIALES.DAT");
    // The new record is written beside the old one first; block that place.
    std::filesystem::create_directory(carpeta / "DATOS INICIALES.DAT.tmp");
    TTextosDatosIniciales t = textosModificables(r);
    t.indemXEmpleado = "450";
    t.penalidad = "800";
    EXPECT_THROW(juegoDePrueba().modificarDatos(t), ErrorArchivo);
    EXPECT_EQ(leerBytes(carpeta / "DATOS INICIALES.DAT"), antes);
    EXPECT_EQ(juegoDePrueba().indemnizacionPorEmpleado(), 300);
    EXPECT_EQ(juegoDePrueba().valorPenalidad(), 500);
}
