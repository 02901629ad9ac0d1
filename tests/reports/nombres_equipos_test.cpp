// Team names become report file names: a list is refused when two names
// would write the same files, or when a name holds control characters.

#include "reports/Reportes_UD.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Caso {
    std::vector<std::string> nombres;  // UTF-8
    std::vector<std::string> fallas;   // each must appear in its own message
};

std::vector<std::string> fallasDe(const std::vector<std::string>& utf8) {
    std::vector<std::string> nombres;
    for (const auto& n : utf8) nombres.push_back(*utf8ACp1252(n));
    return fallasNombresEquipos(nombres);
}

}  // namespace

TEST(NombresEquipos, ChoquesYCaracteresDeControl) {
    const Caso casos[] = {
        {{"Alfa", "Beta", "Gamma"}, {}},
        {{"A/B", "A-B", "AB", "A B"}, {}},
        {{"A/B", "A:B", "A?B"},
         {"El equipo 1 «A/B» y el equipo 2 «A:B» darían el mismo nombre a sus informes («A_B»)",
          "El equipo 1 «A/B» y el equipo 3 «A?B» darían el mismo nombre a sus informes («A_B»)"}},
        {{"Uno", "Dos", "Uno"}, {"El equipo 1 «Uno» y el equipo 3 «Uno»"}},
        // A file system that ignores case holds one file for both.
        {{"Alfa", "ALFA"}, {"El equipo 1 «Alfa» y el equipo 2 «ALFA»"}},
        {{"Ñandú", "ñANDÚ"}, {"El equipo 1 «Ñandú» y el equipo 2 «ñANDÚ»"}},
        {{"Œuvre", "œuvre"}, {"El equipo 1 «Œuvre» y el equipo 2 «œuvre»"}},
        {{"a_b", "A*B"}, {"El equipo 1 «a_b» y el equipo 2 «A*B»"}},
        {{"Uno\tDos", "Tres"}, {"El equipo 1 «Uno\tDos» tiene caracteres de control"}},
        {{"Fin\x7f", "Fin_"}, {"El equipo 1 «Fin\x7f» tiene caracteres de control"}},
        // ß and ÷ have no other case: these names differ.
        {{"Straße", "STRASSE", "a÷b", "a×b"}, {}},
    };
    for (const Caso& caso : casos) {
        const auto fallas = fallasDe(caso.nombres);
        ASSERT_EQ(fallas.size(), caso.fallas.size()) << caso.nombres[0];
        for (std::size_t i = 0; i < fallas.size(); ++i)
            EXPECT_NE(fallas[i].find(caso.fallas[i]), std::string::npos) << fallas[i];
    }
}

TEST(NombresEquipos, ElNombreDeArchivoEsElDeLosInformes) {
    empstr r{};
    r.zona = "1";
    for (const char* nombre : {"A/B", "A:B", "A?B", "A\"B", "A<B", "A>B", "A|B", "A\\B", "A*B"}) {
        r.empresa = nombre;
        EXPECT_EQ(rutaReporteEmpresa(r).filename().string(), "COMZONA1" + textoParaArchivo(nombre) + ".txt");
        EXPECT_EQ(textoParaArchivo(nombre), "A_B");
    }
}
