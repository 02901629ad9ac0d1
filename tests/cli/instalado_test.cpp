// The tool as an installed program: without --datos its game goes to the
// user's data folder when it cannot write its own folder or sits where
// installations go, and stays beside it when it runs from a folder it can
// write.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kNadie = "65534";  // nobody: root writes any folder, this user does not

void darA(const fs::path& carpeta, const char* usuario) {
    const auto id = static_cast<uid_t>(std::stoul(usuario));
    ASSERT_EQ(::chown(carpeta.c_str(), id, id), 0) << carpeta;
}

}  // namespace

TEST(Instalado, SinDatosElJuegoVaDondeCorresponde) {
    enum class Destino { junto, xdg, casa, error };
    struct Caso {
        const char* nombre;
        const char* programa;  // folder of the copy, under the test folder
        bool sinPermiso;       // its folder cannot be written by whoever runs it
        bool instalado;        // PREFIX/share/corvelian exists
        bool conXdg;           // XDG_DATA_HOME set
        bool conCasa;          // HOME set
        Destino destino;
    };
    const Caso casos[] = {
        {"instalado sin permiso, XDG_DATA_HOME", "usr/bin", true, false, true, true, Destino::xdg},
        {"instalado sin permiso, sin XDG_DATA_HOME", "usr/bin", true, false, false, true, Destino::casa},
        {"en PREFIJO/bin, que se puede escribir", "opt/bin", false, true, true, true, Destino::xdg},
        {"portátil", "portatil", false, false, true, true, Destino::junto},
        {"instalado sin carpeta personal", "usr/bin", true, false, false, false, Destino::error},
    };
    const bool root = ::geteuid() == 0;
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        CarpetaTemporal raiz;
        fs::permissions(raiz.ruta(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
        const fs::path carpetaPrograma = raiz / caso.programa;
        fs::create_directories(carpetaPrograma);
        if (caso.instalado) fs::create_directories(carpetaPrograma.parent_path() / "share" / "corvelian");
        const fs::path programa = carpetaPrograma / "corvelian-cli";
        fs::copy_file(CORVELIAN_CLI, programa);
        const fs::path casa = raiz / "casa";
        fs::create_directories(casa);
        escribirTexto(raiz / "equipos.txt", "Alfa\nBeta\n");
        fs::copy_file(carpetaEjemplos() / "parametros.ini", raiz / "parametros.ini");

        TPrograma instalado{programa, {}, {}};
        instalado.variables["XDG_DATA_HOME"] =
            caso.conXdg ? std::optional<std::string>((casa / "datos").string()) : std::nullopt;
        instalado.variables["HOME"] = caso.conCasa ? std::optional<std::string>(casa.string()) : std::nullopt;
        if (caso.sinPermiso) {
            if (root) {
                // The copy's folder stays root's; the game master is nobody, owning only the home folder.
                instalado.antes = {"setpriv", std::string("--reuid=") + kNadie, std::string("--regid=") + kNadie,
                                   "--clear-groups"};
                darA(casa, kNadie);
            } else {
                fs::permissions(carpetaPrograma, fs::perms::owner_write | fs::perms::group_write |
                                                     fs::perms::others_write, fs::perm_options::remove);
            }
        }

        const TEntorno entorno{"C.UTF-8", raiz.ruta()};
        const TResultado nuevo = ejecutarCli(
            {"nuevo", (raiz / "equipos.txt").string(), (raiz / "parametros.ini").string()}, entorno, &instalado);
        const TResultado estado = ejecutarCli({"estado"}, entorno, &instalado);
        fs::permissions(carpetaPrograma, fs::perms::owner_all, fs::perm_options::add);

        if (caso.destino == Destino::error) {
            EXPECT_EQ(nuevo.codigo, 1);
            EXPECT_NE(nuevo.errores.find("falta la carpeta personal (HOME)"), std::string::npos) << nuevo.errores;
            EXPECT_FALSE(fs::exists(carpetaPrograma / "DATOS INICIALES.DAT"));
            continue;
        }
        const fs::path esperada = caso.destino == Destino::junto ? carpetaPrograma
                                  : caso.destino == Destino::xdg ? casa / "datos" / "corvelian"
                                                                 : casa / ".local" / "share" / "corvelian";
        ASSERT_EQ(nuevo.codigo, 0) << nuevo.errores;
        EXPECT_NE(nuevo.salida.find("Juego nuevo en «" + esperada.string() + "»"), std::string::npos) << nuevo.salida;
        EXPECT_TRUE(fs::exists(esperada / "DATOS INICIALES.DAT"));
        EXPECT_TRUE(fs::exists(esperada / "NOMBRES.DAT"));
        // The next order, without --datos either, finds the same game.
        EXPECT_EQ(estado.codigo, 0) << estado.errores;
        EXPECT_NE(estado.salida.find("Juego en «" + esperada.string() + "»"), std::string::npos) << estado.salida;
        if (caso.destino != Destino::junto) {
            // Nothing of the game beside the program; only the copy is there.
            std::vector<std::string> junto;
            for (const auto& entrada : fs::directory_iterator(carpetaPrograma))
                junto.push_back(entrada.path().filename().string());
            EXPECT_EQ(junto, std::vector<std::string>{"corvelian-cli"});
        }
    }
}
