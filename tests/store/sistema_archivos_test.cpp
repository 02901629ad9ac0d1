// The real file system behind the seam: the same answers on every system the
// core is built for.

#include "comun/CarpetaTemporal.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace fs = std::filesystem;
using Apertura = TSistemaArchivos::Apertura;
using Tipo = TSistemaArchivos::Tipo;

namespace {

std::string contenido(const fs::path& archivo) { return leerArchivoEntero(carpetaDePrueba().sa(), archivo); }

}  // namespace

TEST(SistemaArchivos, CadaAperturaConSuArchivoPrevio) {
    struct Caso {
        Apertura modo;
        bool existe;
        std::optional<std::uint64_t> tamano;  ///< nullopt: refused
    };
    const Caso casos[] = {
        {Apertura::leer, true, 5},          {Apertura::leer, false, std::nullopt},
        {Apertura::actualizar, true, 5},    {Apertura::actualizar, false, 0},
        {Apertura::crear, true, 0},         {Apertura::crear, false, 0},
        {Apertura::crearNuevo, true, std::nullopt}, {Apertura::crearNuevo, false, 0},
    };
    TSistemaArchivos& sa = sistemaArchivosReal();
    for (const Caso& caso : casos) {
        SCOPED_TRACE(static_cast<int>(caso.modo) * 10 + caso.existe);
        CarpetaTemporal carpeta;
        const fs::path archivo = carpeta / "A.DAT";
        if (caso.existe) escribirBytes(archivo, {'v', 'i', 'e', 'j', 'o'});
        if (!caso.tamano) {
            EXPECT_THROW(sa.abrir(archivo, caso.modo), ErrorArchivo);
            EXPECT_EQ(sa.tipo(archivo), caso.existe ? Tipo::archivo : Tipo::ninguno);
            if (caso.existe) {
                EXPECT_EQ(contenido(archivo), "viejo");
            }
            continue;
        }
        const int d = sa.abrir(archivo, caso.modo);
        EXPECT_EQ(sa.tamano(d), *caso.tamano);
        sa.cerrar(d);
    }
}

TEST(SistemaArchivos, UnaCarpetaNoSeAbreComoArchivo) {
    CarpetaTemporal carpeta;
    TSistemaArchivos& sa = sistemaArchivosReal();
    sa.crearCarpeta(carpeta / "sub");
    for (Apertura modo : {Apertura::leer, Apertura::actualizar, Apertura::crear, Apertura::crearNuevo}) {
        EXPECT_THROW(sa.abrir(carpeta / "sub", modo), ErrorArchivo) << static_cast<int>(modo);
        EXPECT_EQ(sa.tipo(carpeta / "sub"), Tipo::carpeta);
    }
}

TEST(SistemaArchivos, LeeYEscribeEnCadaPosicion) {
    CarpetaTemporal carpeta;
    TSistemaArchivos& sa = sistemaArchivosReal();
    const int d = sa.abrir(carpeta / "A.DAT", Apertura::crearNuevo);
    sa.escribir(d, 0, "abc", 3);
    sa.escribir(d, 5, "XY", 2);  // past the end: the gap reads as zeros
    sa.sincronizar(d);
    EXPECT_EQ(sa.tamano(d), 7u);
    char leido[8] = {};
    EXPECT_EQ(sa.leer(d, 1, leido, sizeof leido), 6u);
    EXPECT_EQ(std::string(leido, 6), std::string("bc\0\0XY", 6));
    EXPECT_EQ(sa.leer(d, 7, leido, sizeof leido), 0u);
    EXPECT_EQ(sa.leer(d, 100, leido, sizeof leido), 0u);
    sa.truncar(d, 2);
    EXPECT_EQ(sa.tamano(d), 2u);
    sa.cerrar(d);
    EXPECT_EQ(contenido(carpeta / "A.DAT"), "ab");
}

TEST(SistemaArchivos, RenombraEnlazaYBorra) {
    CarpetaTemporal carpeta;
    TSistemaArchivos& sa = sistemaArchivosReal();
    escribirArchivoNuevo(carpetaDePrueba().sa(), carpeta / "nuevo", "nuevo");
    escribirArchivoNuevo(carpetaDePrueba().sa(), carpeta / "viejo", "viejo");
    sa.renombrar(carpeta / "nuevo", carpeta / "viejo");  // replaces the old file
    EXPECT_EQ(sa.tipo(carpeta / "nuevo"), Tipo::ninguno);
    EXPECT_EQ(contenido(carpeta / "viejo"), "nuevo");

    sa.enlazar(carpeta / "viejo", carpeta / "segundo");
    EXPECT_EQ(contenido(carpeta / "segundo"), "nuevo");
    EXPECT_THROW(sa.enlazar(carpeta / "viejo", carpeta / "segundo"), ErrorArchivo);
    EXPECT_THROW(sa.enlazar(carpeta / "falta", carpeta / "tercero"), ErrorArchivo);
    EXPECT_EQ(sa.tipo(carpeta / "tercero"), Tipo::ninguno);

    sa.crearCarpeta(carpeta / "vacia");
    sa.crearCarpeta(carpeta / "vacia");  // already there: fine
    EXPECT_THROW(sa.crearCarpeta(carpeta / "viejo"), ErrorArchivo);
    for (const char* nombre : {"viejo", "segundo", "vacia", "nunca existio"}) {
        sa.eliminar(carpeta / nombre);
        EXPECT_EQ(sa.tipo(carpeta / nombre), Tipo::ninguno) << nombre;
    }
}

TEST(SistemaArchivos, SincronizaSoloCarpetas) {
    CarpetaTemporal carpeta;
    TSistemaArchivos& sa = sistemaArchivosReal();
    sa.crearCarpeta(carpeta / "a");
    sa.crearCarpeta(carpeta / "a" / "b");
    escribirArchivoNuevo(carpetaDePrueba().sa(), carpeta / "a" / "b" / "x", "x", false);
    escribirArchivoNuevo(carpetaDePrueba().sa(), carpeta / "a" / "y", "y", false);
    struct Caso {
        fs::path ruta;
        bool bien;
    };
    const Caso casos[] = {{carpeta / "a", true}, {carpeta / "a" / "y", false}, {carpeta / "falta", false}};
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.ruta.string());
        if (caso.bien) {
            EXPECT_NO_THROW(sa.sincronizarTodo(caso.ruta));
            EXPECT_NO_THROW(sa.sincronizarCarpeta(caso.ruta));
        } else {
            EXPECT_THROW(sa.sincronizarTodo(caso.ruta), ErrorArchivo);
            EXPECT_THROW(sa.sincronizarCarpeta(caso.ruta), ErrorArchivo);
        }
    }
}

// Names with accents (teams are named so) pass between the core and the
// seam as UTF-8 on every system.
TEST(SistemaArchivos, NombresConAcentosEnUtf8) {
    CarpetaTemporal carpeta;
    TSistemaArchivos& sa = sistemaArchivosReal();
    const std::vector<std::string> nombres = {"COMZONA1Épsilon.txt", "Compañía Ñandú", "€ y ü"};
    for (const std::string& nombre : nombres) {
        EXPECT_EQ(textoDeRuta(rutaDeTexto(nombre)), nombre);
        if (nombre.find('.') != std::string::npos) escribirArchivoNuevo(carpetaDePrueba().sa(), carpeta / nombre, nombre);
        else sa.crearCarpeta(carpeta / nombre);
    }
    auto listados = sa.listar(carpeta.ruta());
    std::sort(listados.begin(), listados.end());
    auto esperados = nombres;
    std::sort(esperados.begin(), esperados.end());
    EXPECT_EQ(listados, esperados);
    EXPECT_EQ(contenido(carpeta.ruta() / rutaDeTexto(nombres[0])), nombres[0]);
    EXPECT_EQ(textoDeRuta(rutaDeTexto("historial/Periodo 1/COMZONA1Épsilon.txt").filename()), nombres[0]);

    escribirArchivoNuevo(carpetaDePrueba().sa(), carpeta / "Compañía Ñandú" / rutaDeTexto("Período 1.txt"), "1");
    eliminarArbol(carpetaDePrueba().sa(), carpeta.ruta());
    EXPECT_EQ(sa.tipo(carpeta.ruta()), Tipo::ninguno);
}

TEST(SistemaArchivos, LaListaDiceLoQueEsCadaEntradaComoTipo) {
    CarpetaTemporal carpeta;
    TSistemaArchivos& sa = sistemaArchivosReal();
    escribirArchivoNuevo(sa, carpeta / "archivo", "x");
    sa.crearCarpeta(carpeta / "carpeta");
    std::error_code sinEnlaces;
    fs::create_symlink(carpeta / "archivo", carpeta / "enlace", sinEnlaces);
    // The listing's own answer against a look at each entry.
    auto propia = sa.listarConTipos(carpeta.ruta());
    auto mirada = sa.TSistemaArchivos::listarConTipos(carpeta.ruta());
    std::sort(propia.begin(), propia.end());
    std::sort(mirada.begin(), mirada.end());
    EXPECT_EQ(propia, mirada);
    EXPECT_EQ(propia.size(), sinEnlaces ? 2u : 3u);
    EXPECT_EQ(propia.front(), (std::pair<std::string, Tipo>{"archivo", Tipo::archivo}));
}
