// The companies the computer plays: which they are, and their decisions for
// the open period; and in a practice, the one company the student plays.

#include "juego/Juego.h"

#include "juego/BloqueoJuego.h"
#include "juego/Practica.h"
#include "store/DatosAcum_UD.h"
#include "store/NombresArchivos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <algorithm>

TComputadora TJuego::computadora(const TBloqueoJuego&) const {
    const auto ruta = carpeta_.ruta(kArchivoComputadora);
    if (carpeta_.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno) return {};
    return leerTextoComputadora(leerArchivoEntero(carpeta_.sa(), ruta), ruta);
}

TComputadora TJuego::computadora() {
    TBloqueoLectura bloqueo(*this);
    return computadora(bloqueo);
}

std::optional<std::string> TJuego::equipoDePractica(const TBloqueoJuego&) const {
    const auto ruta = carpeta_.ruta(kArchivoPractica);
    if (carpeta_.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno) return std::nullopt;
    return leerTextoPractica(leerArchivoEntero(carpeta_.sa(), ruta), ruta);
}

std::optional<std::string> TJuego::equipoDePractica() {
    TBloqueoLectura bloqueo(*this);
    return equipoDePractica(bloqueo);
}

std::optional<int> TJuego::empresaDePractica() {
    TBloqueoLectura bloqueo(*this);
    const auto equipo = equipoDePractica(bloqueo);
    if (!equipo) return std::nullopt;
    const TEstadoJuego estado = leerEstado(bloqueo);
    if (estado.empresasConResultados == 0) return std::nullopt;
    const auto activas = equiposDelJuego(bloqueo, estado);
    const auto propia = std::find(activas.begin(), activas.end(), *equipo);
    if (propia == activas.end()) return std::nullopt;
    return static_cast<int>(propia - activas.begin()) + 1;
}

std::vector<std::optional<TEstilo>> TJuego::estilosActivas() {
    TBloqueoLectura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    const TComputadora computadora = this->computadora(bloqueo);
    std::vector<std::optional<TEstilo>> estilos;
    for (const std::string& nombre : equiposDelJuego(bloqueo, estado)) {
        const TEmpresaComputadora* e = computadora.de(nombre);
        estilos.push_back(e ? std::optional<TEstilo>(e->estilo) : std::nullopt);
    }
    return estilos;
}

// Each computer company decides from its own results, its own decisions and
// the industry figures of the last period run, and the parameters: what a
// team reads in its reports. Nothing of this period's other decisions.
std::vector<std::optional<TRegDecision>> TJuego::decisionesComputadora(const TBloqueoJuego& bloqueo,
                                                                       const TEstadoJuego& estado) const {
    exigirPeriodoAbierto(estado);
    const TComputadora computadora = this->computadora(bloqueo);
    std::vector<TRegDatosAcum> activas = TDatosAcum(carpeta_).leerTodos();
    if (activas.size() > estado.datos.cantEquipos) activas.resize(estado.datos.cantEquipos);
    std::vector<std::optional<TRegDecision>> decisiones(activas.size());
    if (computadora.empresas.empty()) return decisiones;
    const int periodo = estado.datos.periodoActual;
    std::optional<TArchivoPeriodo> anterior;
    const auto archivados = periodosArchivados(carpeta_);
    if (std::find(archivados.begin(), archivados.end(), periodo - 1) != archivados.end())
        anterior = leerArchivoPeriodo(carpeta_, periodo - 1);
    for (std::size_t i = 0; i < activas.size(); ++i) {
        const std::string nombre = aTexto(activas[i].nombreEmpresa);
        const TEmpresaComputadora* e = computadora.de(nombre);
        if (!e) continue;
        TConocimiento k;
        k.periodo = periodo;
        k.parametros = estado.datos;
        k.propia = activas[i];
        if (anterior) {
            k.industria = anterior->industria;
            for (std::size_t j = 0; j < anterior->empresas.size() && j < anterior->decisiones.size(); ++j)
                if (aTexto(anterior->empresas[j].nombreEmpresa) == nombre) k.anterior = anterior->decisiones[j];
        }
        decisiones[i] = decidirComputadora(e->estilo, nombre, k, computadora.semilla);
    }
    return decisiones;
}

std::vector<std::optional<TRegDecision>> TJuego::decisionesComputadora() {
    TBloqueoLectura bloqueo(*this);
    return decisionesComputadora(bloqueo, leerEstado(bloqueo));
}
