// The stores' index bases, removal, and behaviour on missing, empty and short files.

#include "comun/CarpetaTemporal.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/ErrorArchivo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TRegDatosAcum empresa(const std::string& nombre, int32_t efectivo) {
    TRegDatosAcum r{};
    asignar(r.nombreEmpresa, nombre);
    r.zona = 1;
    r.efectivo = efectivo;
    return r;
}

std::vector<std::string> nombresGuardados() {
    std::vector<std::string> nombres;
    TDatosAcum acum(carpetaDePrueba());
    for (int i = 1; i <= acum.cantidadAcum(); ++i) {
        TRegDatosAcum r;
        acum.leerAcum(static_cast<uint8_t>(i), r);
        nombres.push_back(aTexto(r.nombreEmpresa));
    }
    return nombres;
}

}  // namespace

TEST(Parametros, ArchivoAusenteOIncompleto) {
    CarpetaTemporal carpeta;
    TDatosjuego datos(carpetaDePrueba());
    TRegDatosIniciales r{};
    r.planta = 1234;
    datos.leerDatosIniciales(r);  // missing: untouched, no message
    EXPECT_EQ(r.planta, 1234);
    uint8_t z = 9, p = 9, z1 = 9, z2 = 9, z3 = 9;
    datos.leerContadores(z, p, z1, z2, z3);
    EXPECT_EQ(z + p + z1 + z2 + z3, 45);
    std::string nombre = "previo";
    datos.leerNombre(1, nombre);
    EXPECT_EQ(nombre, "previo");

    // An empty or short file is a damaged game, never read as valid: the
    // caller's record stays as it was.
    for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{7, 0, 7, 0, 0, 1, 0, 2},
                                              std::vector<uint8_t>(225, 0)}) {
        escribirBytes(carpeta / "DATOS INICIALES.DAT", bytes);
        EXPECT_THROW(datos.leerDatosIniciales(r), ErrorArchivoDanado) << bytes.size();
        EXPECT_EQ(r.planta, 1234);
        EXPECT_THROW(datos.leerContadores(z, p, z1, z2, z3), ErrorArchivoDanado);
    }
    EXPECT_TRUE(registroNotificador().eventos.empty());
}

TEST(Parametros, GuardarDejaUnSoloRegistroYContadores) {
    CarpetaTemporal carpeta;
    escribirBytes(carpeta / "DATOS INICIALES.DAT", std::vector<uint8_t>(500, 0xAB));
    TRegDatosIniciales r{};
    r.zonaActiva = 1;
    r.periodoActual = 4;
    r.cantEquiposZona1 = 3;
    r.cantEquipos = 3;
    TDatosjuego datos(carpetaDePrueba());
    datos.guardarDatosIniciales(r);
    EXPECT_EQ(std::filesystem::file_size(carpeta / "DATOS INICIALES.DAT"), 224u);
    uint8_t z = 0, p = 0, z1 = 0, z2 = 9, z3 = 9;
    datos.leerContadores(z, p, z1, z2, z3);
    EXPECT_EQ(z, 1);
    EXPECT_EQ(p, 4);
    EXPECT_EQ(z1, 3);
    EXPECT_EQ(z2, 0);
    EXPECT_EQ(z3, 0);
}

TEST(Parametros, NombresDeUnJuegoAnteriorMasLargo) {
    CarpetaTemporal carpeta;
    TDatosjuego datos(carpetaDePrueba());
    for (uint8_t i = 0; i < 5; ++i) datos.guardarNombre(i, "Viejo" + std::to_string(i));
    for (uint8_t i = 0; i < 3; ++i) datos.guardarNombre(i, "Nuevo" + std::to_string(i));
    std::string nombre;
    datos.leerNombre(1, nombre);
    EXPECT_EQ(nombre, "Nuevo0");
    datos.leerNombre(4, nombre);
    EXPECT_EQ(nombre, "Viejo3");
    datos.leerNombre(5, nombre);
    EXPECT_EQ(nombre, "Viejo4");
    EXPECT_EQ(std::filesystem::file_size(carpeta / "NOMBRES.DAT"), 5u * 51);
}

TEST(Resultados, GuardarLeerYEliminar) {
    CarpetaTemporal carpeta;
    TDatosAcum acum(carpetaDePrueba());
    acum.guardarAcum(1, empresa("A", 1));
    EXPECT_EQ(std::filesystem::file_size(carpeta / "DATOS ACUMULADOS.DAT"), 104u);
    acum.guardarAcum(2, empresa("B", 2));
    acum.guardarAcum(3, empresa("C", 3));
    acum.guardarAcum(4, empresa("D", 4));
    TRegDatosAcum r;
    acum.leerAcum(3, r);
    EXPECT_EQ(aTexto(r.nombreEmpresa), "C");
    EXPECT_EQ(r.efectivo, 3);

    acum.eliminarAcum(2);  // middle
    EXPECT_EQ(nombresGuardados(), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(std::filesystem::file_size(carpeta / "DATOS ACUMULADOS.DAT"), 312u);
    acum.eliminarAcum(3);  // end
    EXPECT_EQ(nombresGuardados(), (std::vector<std::string>{"A", "C"}));
    acum.eliminarAcum(1);  // front
    EXPECT_EQ(nombresGuardados(), (std::vector<std::string>{"C"}));
    acum.eliminarAcum(1);  // the only one: the file stays, empty
    EXPECT_TRUE(std::filesystem::exists(carpeta / "DATOS ACUMULADOS.DAT"));
    EXPECT_EQ(std::filesystem::file_size(carpeta / "DATOS ACUMULADOS.DAT"), 0u);
}

TEST(Resultados, FallasDeLectura) {
    CarpetaTemporal carpeta;
    TDatosAcum acum(carpetaDePrueba());
    TRegDatosAcum r = empresa("sin cambios", 77);
    EXPECT_THROW(acum.leerAcum(1, r), ErrorArchivo);  // missing file
    EXPECT_THROW(acum.eliminarAcum(1), ErrorArchivo);
    acum.guardarAcum(1, empresa("A", 1));
    EXPECT_THROW(acum.leerAcum(2, r), ErrorArchivo);  // beyond the last record
    escribirBytes(carpeta / "DATOS ACUMULADOS.DAT", std::vector<uint8_t>(150, 1));
    EXPECT_THROW(acum.leerAcum(2, r), ErrorArchivo);  // short record
    EXPECT_EQ(aTexto(r.nombreEmpresa), "sin cambios");
    EXPECT_EQ(r.efectivo, 77);
    try {
        acum.leerAcum(5, r);
        FAIL();
    } catch (const ErrorArchivo& e) {
        EXPECT_EQ(e.archivo().filename(), "DATOS ACUMULADOS.DAT");
    }
}

TEST(Decisiones, TodasDeUnaVezYVaciado) {
    CarpetaTemporal carpeta;
    TDecision decisiones(carpetaDePrueba());
    EXPECT_THROW(decisiones.leerDecisiones(1), ErrorArchivo);
    TRegDecision r{};
    r.nivelProduccion = 33;  // the store checks nothing
    std::vector<TRegDecision> tres;
    for (int32_t i = 0; i < 3; ++i) {
        r.precio = 60 + i;
        tres.push_back(r);
    }
    decisiones.guardarDecisiones(tres);
    EXPECT_EQ(std::filesystem::file_size(carpeta / "DECISIONES.DAT"), 120u);
    const auto leidas = decisiones.leerDecisiones(3);
    EXPECT_EQ(leidas[0].precio, 60);
    EXPECT_EQ(leidas[0].nivelProduccion, 33);
    EXPECT_EQ(leidas[2].precio, 62);
    EXPECT_EQ(decisiones.leerDecisiones(2).size(), 2u);
    EXPECT_THROW(decisiones.leerDecisiones(4), ErrorArchivo);

    decisiones.guardarDecisiones({});
    EXPECT_EQ(std::filesystem::file_size(carpeta / "DECISIONES.DAT"), 0u);
    EXPECT_THROW(decisiones.leerDecisiones(1), ErrorArchivo);
}
