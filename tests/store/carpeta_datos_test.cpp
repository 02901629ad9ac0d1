// Where the game lives when no folder is named: beside a program that can
// write its own folder, in the user's data folder otherwise.

#include "comun/CarpetaTemporal.h"
#include "comun/SistemaArchivosFalso.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace fs = std::filesystem;

namespace {

// Sets or removes an environment variable for one test and puts it back.
class Variable {
public:
    Variable(const char* nombre, const std::optional<std::string>& valor) : nombre_(nombre) {
        if (const char* antes = std::getenv(nombre)) anterior_ = antes;
        poner(valor);
    }
    ~Variable() { poner(anterior_); }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;

private:
    void poner(const std::optional<std::string>& valor) {
        if (valor)
            ::setenv(nombre_, valor->c_str(), 1);
        else
            ::unsetenv(nombre_);
    }
    const char* nombre_;
    std::optional<std::string> anterior_;
};

enum class Programa { escribible, sinPermiso, sistema, prefijoInstalado, prefijoSinInstalar };
enum class Xdg { absoluta, ausente, vacia, relativa };
enum class Destino { junto, xdg, casa };

}  // namespace

TEST(CarpetaPorOmision, SigueLaReglaDeInstalacion) {
    struct Caso {
        const char* nombre;
        Programa programa;
        Xdg xdg;
        Destino esperado;
    };
    const Caso casos[] = {
        {"carpeta propia escribible: portátil", Programa::escribible, Xdg::absoluta, Destino::junto},
        {"carpeta propia sin permiso", Programa::sinPermiso, Xdg::absoluta, Destino::xdg},
        {"sin permiso y sin XDG_DATA_HOME", Programa::sinPermiso, Xdg::ausente, Destino::casa},
        {"sin permiso y XDG_DATA_HOME vacía", Programa::sinPermiso, Xdg::vacia, Destino::casa},
        {"sin permiso y XDG_DATA_HOME relativa", Programa::sinPermiso, Xdg::relativa, Destino::casa},
        {"/usr/bin, aunque root pueda escribir", Programa::sistema, Xdg::absoluta, Destino::xdg},
        {"PREFIJO/bin junto a PREFIJO/share/corvelian", Programa::prefijoInstalado, Xdg::absoluta, Destino::xdg},
        {"una carpeta bin cualquiera", Programa::prefijoSinInstalar, Xdg::ausente, Destino::junto},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        CarpetaTemporal temporal;
        const fs::path casa = temporal / "casa";
        const fs::path xdg = temporal / "datos de usuario";
        fs::path programa = temporal / "programa";
        switch (caso.programa) {
        case Programa::sistema: programa = "/usr/bin"; break;
        case Programa::prefijoInstalado:
            programa = temporal / "opt" / "bin";
            fs::create_directories(temporal / "opt" / "share" / "corvelian");
            break;
        case Programa::prefijoSinInstalar: programa = temporal / "compilado" / "bin"; break;
        default: break;
        }
        if (programa != "/usr/bin") fs::create_directories(programa);
        std::optional<std::string> valorXdg;
        if (caso.xdg == Xdg::absoluta) valorXdg = xdg.string();
        if (caso.xdg == Xdg::vacia) valorXdg = "";
        if (caso.xdg == Xdg::relativa) valorXdg = "datos";
        Variable varXdg("XDG_DATA_HOME", valorXdg);
        Variable varCasa("HOME", casa.string());

        // A refused creation, as a read-only folder gives even to root.
        std::optional<TSistemaArchivosFalso> falso;
        if (caso.programa == Programa::sinPermiso) {
            falso.emplace();
            falso->fallarEn(1, TSistemaArchivos::Operacion::abrir);
        }
        const fs::path elegida = carpetaDatosPorOmision(programa);

        const fs::path esperada = caso.esperado == Destino::junto ? programa
                                  : caso.esperado == Destino::xdg ? xdg / "corvelian"
                                                                  : casa / ".local" / "share" / "corvelian";
        EXPECT_EQ(elegida, esperada);
        EXPECT_TRUE(fs::is_directory(elegida));
        // The trial file is gone, and nothing was made in the other places.
        if (programa != "/usr/bin") {
            EXPECT_TRUE(fs::is_empty(programa));
        }
        if (caso.esperado != Destino::xdg) {
            EXPECT_FALSE(fs::exists(xdg));
        }
        if (caso.esperado != Destino::casa) {
            EXPECT_FALSE(fs::exists(casa));
        }
    }
}

TEST(CarpetaPorOmision, LugaresDelSistema) {
    CarpetaTemporal temporal;
    fs::create_directories(temporal / "opt" / "share" / "corvelian");
    fs::create_directories(temporal / "otro" / "share");
    const struct {
        fs::path carpeta;
        bool sistema;
    } casos[] = {
        {"/usr/bin", true},
        {"/usr/bin/", true},
        {"/usr/local/bin", true},
        {"/usr/games", true},
        {"/bin", true},
        {temporal / "opt" / "bin", true},
        {temporal / "opt" / "games", true},
        {temporal / "opt" / "lib", false},
        {temporal / "otro" / "bin", false},
        {temporal / "build" / "normal", false},
        {"/usr/lib", false},
    };
    for (const auto& caso : casos) EXPECT_EQ(esCarpetaDelSistema(caso.carpeta), caso.sistema) << caso.carpeta;
}

TEST(CarpetaPorOmision, EscrituraSeCompruebaDeVerdad) {
    CarpetaTemporal temporal;
    EXPECT_TRUE(sePuedeEscribir(temporal.ruta()));
    EXPECT_TRUE(fs::is_empty(temporal.ruta()));
    EXPECT_FALSE(sePuedeEscribir(temporal / "no existe"));
    {
        // Created but not removable: renames would fail as well.
        TSistemaArchivosFalso falso;
        falso.fallarEn(1, TSistemaArchivos::Operacion::eliminar);
        EXPECT_FALSE(sePuedeEscribir(temporal.ruta()));
        EXPECT_TRUE(falso.fallaOcurrida());
    }
}

TEST(CarpetaPorOmision, CarpetaQueNoSePuedeCrearEsUnErrorClaro) {
    CarpetaTemporal temporal;
    escribirBytes(temporal / "archivo", {1});
    fs::create_directories(temporal / "ocupada");
    escribirBytes(temporal / "ocupada" / "corvelian", {1});
    struct Caso {
        const char* nombre;
        std::optional<std::string> xdg, casa;
        std::string mensaje;
    };
    const Caso casos[] = {
        {"un archivo en el camino", (temporal / "archivo" / "datos").string(), std::nullopt,
         "no se pudo crear la carpeta del juego «" + (temporal / "archivo" / "datos" / "corvelian").string() + "»"},
        {"un archivo en su lugar", (temporal / "ocupada").string(), std::nullopt,
         "«" + (temporal / "ocupada" / "corvelian").string() + "» no es una carpeta"},
        {"sin carpeta personal", std::nullopt, std::nullopt, "falta la carpeta personal (HOME)"},
        {"carpeta personal relativa", std::nullopt, "casa", "falta la carpeta personal (HOME)"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        Variable varXdg("XDG_DATA_HOME", caso.xdg);
        Variable varCasa("HOME", caso.casa);
        TSistemaArchivosFalso falso;
        falso.fallarEn(1, TSistemaArchivos::Operacion::abrir);  // the program's folder refuses
        try {
            carpetaDatosPorOmision(temporal / "programa");
            ADD_FAILURE() << "no informó el error";
        } catch (const ErrorArchivo& e) {
            EXPECT_NE(std::string(e.what()).find(caso.mensaje), std::string::npos) << e.what();
        }
    }
}

TEST(CarpetaPorOmision, CreaLaCarpetaConSusPadres) {
    CarpetaTemporal temporal;
    const fs::path carpeta = temporal / "a" / "b" / "clase 3";
    crearCarpetaDeJuego(carpeta);
    EXPECT_TRUE(fs::is_directory(carpeta));
    crearCarpetaDeJuego(carpeta);  // an existing one is fine
    // A link to a folder on the way is followed, as the user made it.
    fs::create_directory_symlink(temporal / "a", temporal / "enlace");
    crearCarpetaDeJuego(temporal / "enlace" / "b" / "clase 4");
    EXPECT_TRUE(fs::is_directory(temporal / "a" / "b" / "clase 4"));
}
