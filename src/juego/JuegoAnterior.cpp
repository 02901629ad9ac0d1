#include "juego/JuegoAnterior.h"

#include "engine/Historial.h"
#include "juego/Juego.h"
#include "store/ArchivoRegistros.h"
#include "store/NombresArchivos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <string>

namespace {

using Tipo = TSistemaArchivos::Tipo;

// The periods with a folder in a history, in order: one whose files are
// incomplete is still there, to be refused rather than silently dropped.
std::vector<int> periodosDe(TSistemaArchivos& sa, const std::filesystem::path& historial) {
    std::vector<int> periodos;
    for (int periodo = 0; periodo <= 10; ++periodo)
        if (sa.tipo(historial / nombrePeriodo(periodo)) == Tipo::carpeta) periodos.push_back(periodo);
    return periodos;
}

// Names listed are UTF-8: TCarpeta joins them as such on every system.
void copiarCarpeta(const TCarpeta& de, const TCarpeta& a) {
    TSistemaArchivos& sa = de.sa();
    sa.crearCarpeta(a.ruta());
    for (const auto& [nombre, tipo] : sa.listarConTipos(de.ruta())) {
        if (tipo == Tipo::carpeta) copiarCarpeta(TCarpeta(de.ruta(nombre), sa), TCarpeta(a.ruta(nombre), sa));
        else if (tipo == Tipo::archivo) escribirArchivoNuevo(sa, a.ruta(nombre), leerArchivoEntero(sa, de.ruta(nombre)), false);
    }
}

void eliminarCarpeta(const TCarpeta& carpeta) {
    for (const auto& [nombre, tipo] : carpeta.sa().listarConTipos(carpeta.ruta())) {
        if (tipo == Tipo::carpeta) eliminarCarpeta(TCarpeta(carpeta.ruta(nombre), carpeta.sa()));
        else carpeta.sa().eliminar(carpeta.ruta(nombre));
    }
    carpeta.sa().eliminar(carpeta.ruta());
}

// The game folder of the last period: everything is read back as a game reads it.
int armarJuego(const TCarpeta& origen, int numero, const TCarpeta& destino) {
    TSistemaArchivos& sa = origen.sa();
    const auto historial = origen.ruta(historialAnterior(numero));
    const std::vector<int> periodos = periodosDe(sa, historial);
    if (periodos.empty() || periodos.front() != 0)
        throw ErrorJuego("no tiene el período 0, con el que empieza todo juego.");
    for (std::size_t i = 0; i < periodos.size(); ++i)
        if (periodos[i] != static_cast<int>(i))
            throw ErrorJuego("falta el período " + std::to_string(i) + ".");
    const int ultimo = periodos.back();
    copiarCarpeta(TCarpeta(historial, sa), TCarpeta(destino.ruta(kCarpetaHistorial), sa));
    const TCarpeta carpetaUltimo(carpetaDePeriodo(destino, ultimo), sa);
    for (const char* archivo : {kArchivoParametros, kArchivoResultados})
        escribirArchivoNuevo(sa, destino.ruta(archivo), leerArchivoEntero(sa, carpetaUltimo.ruta(archivo)), false);
    std::vector<TRegNombre> nombres;
    for (const TRegDatosAcum& empresa : leerArchivoPeriodo(destino, 0).empresas) {
        TRegNombre nombre{};
        asignar(nombre.nombreEquipo, aTexto(empresa.nombreEmpresa));
        nombres.push_back(nombre);
    }
    escribirArchivoNuevo(sa, destino.ruta(kArchivoNombres), bytesDeRegistros(nombres), false);
    for (const std::string& nombre : sa.listar(carpetaUltimo.ruta()))
        if (esNombreDeInforme(nombre))
            escribirArchivoNuevo(sa, destino.ruta(nombre), leerArchivoEntero(sa, carpetaUltimo.ruta(nombre)), false);
    for (int periodo : periodos) (void)leerArchivoPeriodo(destino, periodo);
    sa.sincronizarTodo(destino.ruta());
    return ultimo;
}

}  // namespace

std::vector<TJuegoAnterior> juegosAnteriores(const TCarpeta& carpeta) {
    std::vector<TJuegoAnterior> juegos;
    for (int n = 1; carpeta.sa().tipo(carpeta.ruta(historialAnterior(n))) == Tipo::carpeta; ++n) {
        const std::vector<int> periodos = periodosDe(carpeta.sa(), carpeta.ruta(historialAnterior(n)));
        juegos.push_back({n, periodos.empty() ? -1 : periodos.back()});
    }
    return juegos;
}

int restaurarJuegoAnterior(const TCarpeta& origen, int numero, const std::filesystem::path& destino) {
    TSistemaArchivos& sa = origen.sa();
    if (sa.tipo(destino) != Tipo::ninguno)
        throw ErrorJuego("La carpeta «" + textoDeRuta(destino) + "» ya existe; el juego anterior se abre en una nueva.");
    const std::string nombre = "«" + historialAnterior(numero) + "» no es un juego completo: ";
    crearCarpetaDeJuego(destino, sa);
    try {
        return armarJuego(origen, numero, TCarpeta(destino, sa));
    } catch (const std::exception& e) {
        try {
            eliminarCarpeta(TCarpeta(destino, sa));
        } catch (const std::exception&) {
            // What was copied stays in a folder nobody opened: harmless.
        }
        // A damaged file is named where the user finds it: in the history it came from.
        std::string motivo = e.what();
        const std::string copia = "\"" + std::string(kCarpetaHistorial) + "/";
        if (const auto donde = motivo.find(copia); donde != std::string::npos)
            motivo.replace(donde, copia.size(), "\"" + historialAnterior(numero) + "/");
        throw ErrorJuego(nombre + motivo);
    }
}
