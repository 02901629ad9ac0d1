// The exact bytes of every record type, checked against byte arrays built
// here from the file layouts, not against the code's own output.

#include "comun/CarpetaTemporal.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/ErrorArchivo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void ponerEntero(std::vector<uint8_t>& b, std::size_t pos, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) b[pos + i] = static_cast<uint8_t>(u >> (8 * i));
}

void ponerDoble(std::vector<uint8_t>& b, std::size_t pos, double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) b[pos + i] = static_cast<uint8_t>(u >> (8 * i));
}

void ponerCadena(std::vector<uint8_t>& b, std::size_t pos, const std::string& s) {
    b[pos] = static_cast<uint8_t>(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) b[pos + 1 + i] = static_cast<uint8_t>(s[i]);
}

}  // namespace

TEST(Registros, ParametrosByteAByte) {
    CarpetaTemporal carpeta;
    TRegDatosIniciales r{};
    r.cantEquipos = 5;
    r.cantEquiposZona1 = 5;
    r.zonaActiva = 1;
    r.penalidadStock = 10;
    r.periodoActual = 3;
    r.multipOrdenesMas = 30;
    r.multipOrdenesMenos = 20;
    r.planta = 70000;
    r.maxCreditoA = 90000;
    r.maxCreditoB = 80000;
    r.capital = -80000;
    r.columnaPrecios = 50;
    r.intervaloMarketing = 1000;
    r.nroInvYDes = 2500;
    r.nroZona = 1;
    r.modifOrdenes = 0.3;
    r.interesA = 0.07;
    r.interesB = 0.08;
    r.tasaImpuestos = 0.3;
    r.tasaMantenimiento = 0.1;
    r.tasaGiroDescubierto = 1.0;
    r.tasaProduccion = 0.02;
    r.limiteGiroDescubierto = 30.5;
    asignar(r.nombreBancoA, "NACION");
    asignar(r.nombreBancoB, "PROVINCIA");
    r.indemXEmpleado = 300;
    r.penalidad = 500;
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(r);

    std::vector<uint8_t> esperado(224, 0);
    esperado[0] = 5;
    esperado[2] = 5;
    esperado[5] = 1;
    esperado[6] = 10;
    esperado[7] = 3;
    esperado[8] = 30;
    esperado[9] = 20;
    ponerEntero(esperado, 12, 70000);
    ponerEntero(esperado, 16, 90000);
    ponerEntero(esperado, 20, 80000);
    ponerEntero(esperado, 24, -80000);
    ponerEntero(esperado, 28, 50);
    ponerEntero(esperado, 32, 1000);
    ponerEntero(esperado, 36, 2500);
    ponerEntero(esperado, 40, 1);
    ponerDoble(esperado, 48, 0.3);
    ponerDoble(esperado, 56, 0.07);
    ponerDoble(esperado, 64, 0.08);
    ponerDoble(esperado, 72, 0.3);
    ponerDoble(esperado, 80, 0.1);
    ponerDoble(esperado, 88, 1.0);
    ponerDoble(esperado, 96, 0.02);
    ponerDoble(esperado, 104, 30.5);
    ponerCadena(esperado, 112, "NACION");
    ponerCadena(esperado, 163, "PROVINCIA");
    ponerEntero(esperado, 216, 300);
    ponerEntero(esperado, 220, 500);
    EXPECT_EQ(leerBytes(carpeta / "DATOS INICIALES.DAT"), esperado);

    TRegDatosIniciales leido{};
    TDatosjuego(carpetaDePrueba()).leerDatosIniciales(leido);
    EXPECT_EQ(std::memcmp(&leido, &r, sizeof r), 0);
}

TEST(Registros, ResultadosYDecisionesByteAByte) {
    CarpetaTemporal carpeta;
    TRegDatosAcum a{};
    a.intereses = 1;
    a.stockValor = 2;
    a.giroDescubierto = -3;
    asignar(a.nombreEmpresa, "Compa\xF1\xED" "a");
    a.zona = 1;
    a.prestamoA = 64;
    a.prestamoB = 68;
    a.planta = 72;
    a.efectivo = 76;
    a.utilidadAcumulada = 80;
    a.stockUnidades = 84;
    a.invYDesAcumulada = 88;
    a.capacitacionAcumulada = 92;
    a.empleados = 96;
    a.quebrada = 1;
    a.marcaQuiebra = 1;
    TDatosAcum(carpetaDePrueba()).guardarAcum(1, a);

    std::vector<uint8_t> esperado(104, 0);
    ponerEntero(esperado, 0, 1);
    ponerEntero(esperado, 4, 2);
    ponerEntero(esperado, 8, -3);
    ponerCadena(esperado, 12, "Compa\xF1\xED" "a");
    esperado[63] = 1;
    for (int off = 64; off <= 96; off += 4) ponerEntero(esperado, off, off);
    esperado[100] = 1;
    esperado[101] = 1;
    EXPECT_EQ(leerBytes(carpeta / "DATOS ACUMULADOS.DAT"), esperado);

    TRegDecision d{90, 75, 4000, 8000, 1000, 0, 80000, 70000, 5, -6};
    TDecision(carpetaDePrueba()).guardarDecisiones({d});
    std::vector<uint8_t> decision(40, 0);
    int32_t valores[] = {90, 75, 4000, 8000, 1000, 0, 80000, 70000, 5, -6};
    for (int i = 0; i < 10; ++i) ponerEntero(decision, 4 * i, valores[i]);
    EXPECT_EQ(leerBytes(carpeta / "DECISIONES.DAT"), decision);
}

TEST(Registros, NombresDeEquipo) {
    CarpetaTemporal carpeta;
    TDatosjuego datos(carpetaDePrueba());
    const std::string largo60(60, 'x');
    const std::string largo50(50, 'y');
    datos.guardarNombre(0, largo60);
    datos.guardarNombre(1, largo50);
    datos.guardarNombre(2, "Delta");
    EXPECT_EQ(std::filesystem::file_size(carpeta / "NOMBRES.DAT"), 3u * 51);

    std::string nombre;
    datos.leerNombre(1, nombre);
    EXPECT_EQ(nombre, std::string(50, 'x'));  // cut to 50
    datos.leerNombre(2, nombre);
    EXPECT_EQ(nombre, largo50);
    datos.leerNombre(3, nombre);
    EXPECT_EQ(nombre, "Delta");
    auto bytes = leerBytes(carpeta / "NOMBRES.DAT");
    EXPECT_EQ(bytes[102], 5);
    EXPECT_EQ(bytes[103], 'D');

    // A record beyond the end is an error on read and on write (no gaps).
    EXPECT_THROW(datos.leerNombre(4, nombre), ErrorArchivo);
    EXPECT_THROW(datos.guardarNombre(5, "Hueco"), ErrorArchivo);
    EXPECT_EQ(nombre, "Delta");
}
