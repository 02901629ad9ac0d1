// The period checkpoint: taken whole, restored once, refused when damaged.

#include "comun/ArchivosDePrueba.h"
#include "comun/CarpetaTemporal.h"
#include "comun/Empresas.h"
#include "comun/FotoCarpeta.h"
#include "store/DatosAcum_UD.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TRegDatosIniciales parametros(uint8_t empresas, uint8_t periodo) {
    TRegDatosIniciales r{};
    r.cantEquipos = r.cantEquiposZona1 = empresas;
    r.zonaActiva = 1;
    r.periodoActual = periodo;
    return r;
}

std::vector<uint8_t> bytesDe(const TRegDatosIniciales& r) {
    const auto* p = reinterpret_cast<const uint8_t*>(&r);
    return {p, p + sizeof r};
}

// A game at period 2 whose checkpoint holds period 1 with two companies.
void juegoConRespaldo(const CarpetaTemporal& carpeta) {
    escribirBytes(carpeta / "DATOS INICIALES.DAT", bytesDe(parametros(2, 2)));
    escribirBytes(carpeta / "DATOS ACUMULADOS.DAT", bytesDeEmpresas(2, 2));
    escribirBytes(carpeta / "DECISIONES.DAT", {});
    escribirBytes(carpeta / "AUXINI.DAT", bytesDe(parametros(2, 1)));
    escribirBytes(carpeta / "AUXACUM.DAT", bytesDeEmpresas(2, 1));
    escribirBytes(carpeta / "AUXDECISIONES.DAT", std::vector<uint8_t>(80, 1));
}

TFoto contenido(const CarpetaTemporal& carpeta) { return fotografiar(carpeta.ruta()); }

}  // namespace

TEST(Respaldo, RestaurarUsaElRespaldoUnaSolaVez) {
    CarpetaTemporal carpeta;
    juegoConRespaldo(carpeta);
    ASSERT_TRUE(restaurarRespaldo(carpetaDePrueba()));
    EXPECT_EQ(leerBytes(carpeta / "DATOS INICIALES.DAT"), bytesDe(parametros(2, 1)));
    EXPECT_EQ(leerBytes(carpeta / "DATOS ACUMULADOS.DAT"), bytesDeEmpresas(2, 1));
    EXPECT_EQ(leerBytes(carpeta / "DECISIONES.DAT"), std::vector<uint8_t>(80, 1));
    // Only the last run can be undone: the second step back finds nothing.
    const auto despues = contenido(carpeta);
    EXPECT_FALSE(restaurarRespaldo(carpetaDePrueba()));
    EXPECT_EQ(contenido(carpeta), despues);
    EXPECT_FALSE(fs::exists(carpeta / "AUXINI.DAT"));
}

TEST(Respaldo, GuardarCopiaLosTresArchivos) {
    CarpetaTemporal carpeta;
    juegoConRespaldo(carpeta);
    guardarRespaldo(carpetaDePrueba());
    EXPECT_EQ(leerBytes(carpeta / "AUXINI.DAT"), leerBytes(carpeta / "DATOS INICIALES.DAT"));
    EXPECT_EQ(leerBytes(carpeta / "AUXACUM.DAT"), leerBytes(carpeta / "DATOS ACUMULADOS.DAT"));
    EXPECT_EQ(leerBytes(carpeta / "AUXDECISIONES.DAT"), leerBytes(carpeta / "DECISIONES.DAT"));
}

TEST(Respaldo, UnRespaldoDanadoNoTocaElJuego) {
    struct Caso {
        const char* nombre;
        const char* archivo;
        std::vector<uint8_t> bytes;  // empty vector with borrar: the file is removed
        bool borrar;
    };
    auto imposible = parametros(2, 12);
    auto contadores = parametros(2, 1);
    contadores.cantEquiposZona1 = 1;
    const Caso casos[] = {
        {"sin AUXINI", "AUXINI.DAT", {}, true},
        {"sin AUXACUM", "AUXACUM.DAT", {}, true},
        {"sin AUXDECISIONES", "AUXDECISIONES.DAT", {}, true},
        {"AUXINI corto", "AUXINI.DAT", std::vector<uint8_t>(60, 0), false},
        {"AUXINI largo", "AUXINI.DAT", std::vector<uint8_t>(448, 0), false},
        {"registro partido", "AUXACUM.DAT", std::vector<uint8_t>(207, 1), false},
        {"decisión partida", "AUXDECISIONES.DAT", std::vector<uint8_t>(41, 1), false},
        {"faltan empresas", "AUXACUM.DAT", bytesDeEmpresas(1, 1), false},
        {"faltan decisiones", "AUXDECISIONES.DAT", std::vector<uint8_t>(40, 1), false},
        {"período imposible", "AUXINI.DAT", bytesDe(imposible), false},
        {"contadores imposibles", "AUXINI.DAT", bytesDe(contadores), false},
    };
    for (const Caso& caso : casos) {
        CarpetaTemporal carpeta;
        juegoConRespaldo(carpeta);
        if (caso.borrar) fs::remove(carpeta / caso.archivo);
        else escribirBytes(carpeta / caso.archivo, caso.bytes);
        const auto antes = contenido(carpeta);
        try {
            restaurarRespaldo(carpetaDePrueba());
            ADD_FAILURE() << caso.nombre;
        } catch (const ErrorArchivoDanado& e) {
            EXPECT_NE(std::string(e.what()).find("AUX"), std::string::npos) << caso.nombre << ": " << e.what();
        }
        EXPECT_EQ(contenido(carpeta), antes) << caso.nombre;
    }
}

TEST(Respaldo, SinRespaldoNoCambiaNada) {
    CarpetaTemporal carpeta;
    escribirBytes(carpeta / "DATOS INICIALES.DAT", bytesDe(parametros(2, 2)));
    EXPECT_FALSE(restaurarRespaldo(carpetaDePrueba()));
    EXPECT_EQ(leerBytes(carpeta / "DATOS INICIALES.DAT"), bytesDe(parametros(2, 2)));
}

TEST(Respaldo, UnJuegoNuevoBorraElRespaldoDelAnterior) {
    CarpetaTemporal carpeta;
    juegoConRespaldo(carpeta);
    guardarJuegoNuevo(carpetaDePrueba(), parametros(3, 1));
    for (const char* archivo : {"AUXACUM.DAT", "AUXDECISIONES.DAT", "AUXINI.DAT"})
        EXPECT_FALSE(fs::exists(carpeta / archivo)) << archivo;
    EXPECT_FALSE(restaurarRespaldo(carpetaDePrueba()));
    EXPECT_EQ(fs::file_size(carpeta / "DATOS INICIALES.DAT"), 224u);
}
