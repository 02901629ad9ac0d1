// Where the game lives when no folder is named: beside a program that can
// write its own folder, in the user's data folder otherwise.

#include "comun/CarpetaTemporal.h"
#include "comun/SistemaArchivosFalso.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(CarpetaPorOmision, SigueLaReglaDeInstalacion) {
    struct Caso {
        const char* programa;  // under the test folder; absolute: as is
        bool sinPermiso;       // creating the trial file fails, as on a read-only folder (even for root)
        const char* xdg;       // XDG_DATA_HOME under the test folder; nullptr unset
        const char* esperada;  // under the test folder; "" the program's; nullptr an error
    };
    const std::string casaOriginal = std::getenv("HOME") ? std::getenv("HOME") : "/root";
    const Caso casos[] = {
        {"prog", false, "xdg", ""},
        {"prog", true, "xdg/a/b", "xdg/a/b/corvelian"},
        {"prog", true, nullptr, "casa/.local/share/corvelian"},
        {"prog", true, "", "casa/.local/share/corvelian"},
        {"prog", true, "!relativa", "casa/.local/share/corvelian"},
        {"/usr/bin", false, "xdg", "xdg/corvelian"},
        {"/usr/games/", false, "xdg", "xdg/corvelian"},
        {"opt/bin", false, "xdg", "xdg/corvelian"},  // opt/share/corvelian exists
        {"otro/bin", false, "xdg", ""},
        {"prog", true, "archivo", nullptr},  // a file where the folder goes
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(std::string(caso.programa) + " " + (caso.xdg ? caso.xdg : "-"));
        CarpetaTemporal t;
        const fs::path programa = caso.programa[0] == '/' ? fs::path(caso.programa) : t / caso.programa;
        for (const char* c : {"prog", "opt/bin", "opt/share/corvelian", "otro/bin"}) fs::create_directories(t / c);
        escribirBytes(t / "archivo", {1});
        std::string xdg;  // "!name" stays relative
        if (caso.xdg && caso.xdg[0] == '!') xdg = caso.xdg + 1;
        else if (caso.xdg && caso.xdg[0]) xdg = (t / caso.xdg).string();
        caso.xdg ? ::setenv("XDG_DATA_HOME", xdg.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
        ::setenv("HOME", (t / "casa").c_str(), 1);
        TSistemaArchivosFalso falso;
        if (caso.sinPermiso) falso.fallarEn(1, TSistemaArchivos::Operacion::abrir);

        if (!caso.esperada) {
            EXPECT_THROW(carpetaDatosPorOmision(programa, falso), ErrorArchivo);
            continue;
        }
        const fs::path elegida = carpetaDatosPorOmision(programa, falso);
        EXPECT_EQ(elegida, *caso.esperada ? t / caso.esperada : programa);
        EXPECT_TRUE(fs::is_directory(elegida));
        EXPECT_TRUE(fs::is_empty(t / "prog"));  // the trial file is gone
    }
    ::unsetenv("HOME");  // no home folder: a clear error, not a crash
    ::unsetenv("XDG_DATA_HOME");
    TSistemaArchivosFalso falso;
    falso.fallarEn(1, TSistemaArchivos::Operacion::abrir);
    try {
        carpetaDatosPorOmision("/tmp", falso);
        ADD_FAILURE();
    } catch (const ErrorArchivo& e) {
        EXPECT_NE(std::string(e.what()).find("falta la carpeta personal (HOME)"), std::string::npos);
    }
    ::setenv("HOME", casaOriginal.c_str(), 1);
}
