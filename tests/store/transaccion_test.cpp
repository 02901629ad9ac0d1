// A journal names only files inside the game folder: a damaged or planted
// one cannot move, replace or remove anything outside it.

#include "comun/CarpetaTemporal.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"
#include "store/Transaccion.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(Transaccion, UnDiarioConNombresFueraDelJuegoSeRechaza) {
    const char* nombres[] = {"../afuera", "historial/../../afuera", "/tmp/afuera", "..", "a\tb", ""};
    for (const char* nombre : nombres) {
        SCOPED_TRACE(nombre);
        CarpetaTemporal carpeta;
        escribirArchivoNuevo(carpetaDePrueba().sa(), carpeta / "A.DAT", "a");
        const std::string diario = std::string("CORVELIAN TRANSACCION 1\nlisto\nR\tA.DAT\t") + nombre + "\nFIN\n";
        escribirArchivoNuevo(carpetaDePrueba().sa(), carpeta / kDiarioTransaccion, diario);
        EXPECT_THROW(recuperarTransaccion(carpetaDePrueba()), ErrorArchivo);
        EXPECT_EQ(leerArchivoEntero(carpetaDePrueba().sa(), carpeta / "A.DAT"), "a");
    }
}

TEST(Transaccion, UnDiarioConNombresDelJuegoSeCompleta) {
    CarpetaTemporal carpeta;
    TSistemaArchivos& sa = carpetaDePrueba().sa();
    sa.crearCarpeta(carpeta / "historial");
    escribirArchivoNuevo(sa, carpeta / "A.DAT", "a");
    escribirArchivoNuevo(sa, carpeta / kDiarioTransaccion,
                         "CORVELIAN TRANSACCION 1\nlisto.\nR\tA.DAT\thistorial/..a/B.DAT\nFIN\n");
    sa.crearCarpeta(carpeta / "historial/..a");
    EXPECT_EQ(recuperarTransaccion(carpetaDePrueba()), "listo.");
    EXPECT_EQ(leerArchivoEntero(sa, carpeta / "historial/..a/B.DAT"), "a");
}
