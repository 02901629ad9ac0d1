// The period checkpoint: copies in order, a missing backup, and deleting it.

#include "comun/CarpetaTemporal.h"
#include "store/DatosAcum_UD.h"
#include "store/DatosIniciales.h"

#include <gtest/gtest.h>

namespace {

void escribirTexto(const std::filesystem::path& ruta, const std::string& texto) {
    escribirBytes(ruta, std::vector<uint8_t>(texto.begin(), texto.end()));
}

}  // namespace

TEST(Respaldo, GuardarYRestaurarLosTresArchivos) {
    CarpetaTemporal carpeta;
    escribirTexto(carpeta / "DATOS ACUMULADOS.DAT", "acum-1");
    escribirTexto(carpeta / "DECISIONES.DAT", "dec-1");
    escribirTexto(carpeta / "DATOS INICIALES.DAT", "ini-1");
    escribirTexto(carpeta / "NOMBRES.DAT", "nombres-1");
    guardarRespaldo();
    EXPECT_EQ(leerTexto(carpeta / "AUXACUM.DAT"), "acum-1");
    EXPECT_EQ(leerTexto(carpeta / "AUXDECISIONES.DAT"), "dec-1");
    EXPECT_EQ(leerTexto(carpeta / "AUXINI.DAT"), "ini-1");

    escribirTexto(carpeta / "DATOS ACUMULADOS.DAT", "acum-2");
    escribirTexto(carpeta / "DECISIONES.DAT", "");
    escribirTexto(carpeta / "DATOS INICIALES.DAT", "ini-2");
    escribirTexto(carpeta / "NOMBRES.DAT", "nombres-2");
    EXPECT_TRUE(restaurarRespaldo());
    EXPECT_EQ(leerTexto(carpeta / "DATOS ACUMULADOS.DAT"), "acum-1");
    EXPECT_EQ(leerTexto(carpeta / "DECISIONES.DAT"), "dec-1");
    EXPECT_EQ(leerTexto(carpeta / "DATOS INICIALES.DAT"), "ini-1");
    EXPECT_EQ(leerTexto(carpeta / "NOMBRES.DAT"), "nombres-2");  // not part of the checkpoint

    // A second step back restores the same state again.
    EXPECT_TRUE(restaurarRespaldo());
    EXPECT_EQ(leerTexto(carpeta / "DATOS ACUMULADOS.DAT"), "acum-1");
}

TEST(Respaldo, CopiaFallidaNoDetieneLasDemas) {
    CarpetaTemporal carpeta;
    escribirTexto(carpeta / "AUXACUM.DAT", "viejo");
    // The results file is missing: its backup stays as it was, the others are taken.
    escribirTexto(carpeta / "DECISIONES.DAT", "dec");
    escribirTexto(carpeta / "DATOS INICIALES.DAT", "ini");
    guardarRespaldo();
    EXPECT_EQ(leerTexto(carpeta / "AUXACUM.DAT"), "viejo");
    EXPECT_EQ(leerTexto(carpeta / "AUXDECISIONES.DAT"), "dec");
    EXPECT_EQ(leerTexto(carpeta / "AUXINI.DAT"), "ini");
}

TEST(Respaldo, SinRespaldoNoCambiaNada) {
    CarpetaTemporal carpeta;
    escribirTexto(carpeta / "DATOS INICIALES.DAT", "ini");
    EXPECT_FALSE(restaurarRespaldo());
    EXPECT_EQ(leerTexto(carpeta / "DATOS INICIALES.DAT"), "ini");
}

TEST(Respaldo, UnJuegoNuevoBorraElRespaldoDelAnterior) {
    CarpetaTemporal carpeta;
    escribirTexto(carpeta / "DATOS ACUMULADOS.DAT", "acum");
    escribirTexto(carpeta / "DECISIONES.DAT", "dec");
    escribirTexto(carpeta / "DATOS INICIALES.DAT", "ini");
    guardarRespaldo();
    guardarJuegoNuevo(TRegDatosIniciales{});
    EXPECT_FALSE(std::filesystem::exists(carpeta / "AUXACUM.DAT"));
    EXPECT_FALSE(std::filesystem::exists(carpeta / "AUXDECISIONES.DAT"));
    EXPECT_FALSE(std::filesystem::exists(carpeta / "AUXINI.DAT"));
    EXPECT_FALSE(restaurarRespaldo());
    EXPECT_EQ(std::filesystem::file_size(carpeta / "DATOS INICIALES.DAT"), 224u);
}
