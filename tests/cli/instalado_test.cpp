// The tool as an installed program: without --datos its game goes to the
// user's data folder when it cannot write its own folder or sits where
// installations go, and stays beside it when it runs from a writable folder.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace fs = std::filesystem;

TEST(Instalado, SinDatosElJuegoVaDondeCorresponde) {
    const struct {
        const char* programa;  // folder of the copy, under the test folder
        bool sinPermiso;       // whoever runs it cannot write there
        const char* esperada;  // the game folder, under the test folder; "" beside the copy
    } casos[] = {
        {"usr/bin", true, "casa/datos/corvelian"},
        {"opt/bin", false, "casa/datos/corvelian"},  // opt/share/corvelian exists: installed, even for root
        {"portatil", false, ""},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.programa);
        CarpetaTemporal t;
        fs::permissions(t.ruta(), fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add);
        fs::create_directories(t / caso.programa);
        fs::create_directories(t / "opt/share/corvelian");
        fs::create_directories(t / "casa");
        escribirTexto(t / "equipos.txt", "Alfa\nBeta\n");
        fs::copy_file(carpetaEjemplos() / "parametros.ini", t / "parametros.ini");
        fs::permissions(t / "parametros.ini", fs::perms::others_read, fs::perm_options::add);
        TPrograma instalado{t / caso.programa / "corvelian-cli", {}, {}};
        fs::copy_file(CORVELIAN_CLI, instalado.ruta);
        instalado.variables = {{"HOME", (t / "casa").string()}, {"XDG_DATA_HOME", (t / "casa/datos").string()}};
        if (caso.sinPermiso && ::geteuid() == 0) {
            // Root writes any folder: the game master is nobody, owning only the home folder.
            instalado.antes = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
            ASSERT_EQ(::chown((t / "casa").c_str(), 65534, 65534), 0);
        } else if (caso.sinPermiso) {
            const auto escritura = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
            fs::permissions(t / caso.programa, escritura, fs::perm_options::remove);
        }
        const TEntorno entorno{"C.UTF-8", t.ruta()};
        const auto nuevo = ejecutarCli({"nuevo", (t / "equipos.txt").string(), (t / "parametros.ini").string()},
                                       entorno, &instalado);
        const auto estado = ejecutarCli({"estado"}, entorno, &instalado);
        fs::permissions(t / caso.programa, fs::perms::owner_all, fs::perm_options::add);

        const fs::path esperada = *caso.esperada ? t / caso.esperada : t / caso.programa;
        ASSERT_EQ(nuevo.codigo, 0) << nuevo.errores;
        EXPECT_TRUE(fs::exists(esperada / "DATOS INICIALES.DAT"));
        // The next order, without --datos either, finds the same game.
        EXPECT_NE(estado.salida.find("Juego en «" + esperada.string() + "»"), std::string::npos) << estado.errores;
        EXPECT_EQ(fs::exists(t / caso.programa / "NOMBRES.DAT"), !*caso.esperada);
    }
}
