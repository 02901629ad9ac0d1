// A practice knows the student's company: from its set-up, through a
// bankruptcy, and not once a class game replaces it; a damaged file is named.

#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"
#include "juego/Practica.h"
#include "store/ErrorArchivo.h"
#include "store/NombresArchivos.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(Practica, ElJuegoSabeCualEsLaEmpresaDelAlumno) {
    CarpetaTemporal carpeta;
    const std::string alumno = cp1252("Ñandú, \"la\" S.A.");
    juegoDePrueba().crearPractica(alumno, 3, std::nullopt, 7);
    EXPECT_EQ(juegoDePrueba().empresaDePractica(), 1);
    // A loan far above what bank A still lends: still the practice's student, no longer active.
    juegoDePrueba().guardarDecisionesCompletas(
        {TRegDecision{90, 75, 4000, 8000, 1000, 0, 60000, 0, 0, 0}, std::nullopt, std::nullopt, std::nullopt});
    ASSERT_EQ(juegoDePrueba().simular().quiebras, std::vector<std::string>{alumno});
    EXPECT_EQ(juegoDePrueba().equipoDePractica(), alumno);
    EXPECT_EQ(juegoDePrueba().empresaDePractica(), std::nullopt);
    juegoDePrueba().volver();
    EXPECT_EQ(juegoDePrueba().empresaDePractica(), 1);
    // A class game over the folder is no practice.
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    EXPECT_FALSE(std::filesystem::exists(carpeta / kArchivoPractica));
    EXPECT_EQ(juegoDePrueba().equipoDePractica(), std::nullopt);
}

TEST(Practica, UnArchivoDanadoSeNombraYSeRechaza) {
    CarpetaTemporal carpeta;
    juegoDePrueba().crearPractica("Mi empresa", 1, std::nullopt, 7);
    for (const char* texto : {"", "empresa\n", "nombre\nMi empresa\n", "empresa\nMi empresa\nOtra\n",
                              "empresa\nMi empresa,2\n", "empresa\n\xff\xfe\n", "empresa,x\nMi empresa\n"}) {
        SCOPED_TRACE(texto);
        std::ofstream(carpeta / kArchivoPractica, std::ios::binary | std::ios::trunc) << texto;
        try {
            (void)juegoDePrueba().empresaDePractica();
            ADD_FAILURE() << "se leyó";
        } catch (const ErrorArchivoDanado& e) {
            EXPECT_NE(std::string(e.what()).find(kArchivoPractica), std::string::npos) << e.what();
        }
    }
}
