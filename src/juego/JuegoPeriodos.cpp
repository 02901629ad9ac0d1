// The periods: period 0, the decisions of the open period, its run, and the
// step back over the last period run.

#include "juego/Juego.h"

#include "juego/BloqueoJuego.h"
#include "engine/ValidarDecision.h"
#include "store/ArchivoRegistros.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/NombresArchivos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

#include <algorithm>

TResultadoCorrida TJuego::correrPeriodo0(TDecisionesPeriodo0 decisiones, const TMarca* marca) {
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirJuego(estado);
    exigirMarca(estado, marca);
    if (estado.datos.periodoActual > 1 && estado.periodo0Corrido())
        throw ErrorJuego("El período 0 ya se corrió y el juego va por el período " +
                         std::to_string(estado.datos.periodoActual) + ". Para empezar de nuevo use «Nuevo».");
    if (estado.terminado()) throw ErrorJuego("El juego terminó: ya se simularon los diez períodos.");
    // Period 0 creates every company from its stored name.
    if (TDatosjuego(carpeta_).leerNombres().size() < estado.datos.cantEquiposZona1)
        throw ErrorArchivoDanado(carpeta_.ruta(kArchivoNombres), "tiene menos equipos que los del juego");
    decisiones.nombreBancoA = aTexto(estado.datos.nombreBancoA);
    decisiones.nombreBancoB = aTexto(estado.datos.nombreBancoB);
    // Nobody repays anything in period 0.
    decisiones.devPrestamoA = 0;
    decisiones.devPrestamoB = 0;
    TResultadoCorrida corrida = ejecutarPeriodo0(carpeta_, decisiones);
    avisar(corrida.aviso);
    return corrida;
}

void TJuego::guardarDecisionesEnArchivo(const TBloqueoEscritura&, const std::vector<TRegDecision>& decisiones) {
    cambiarSinConfirmarEsAviso("Las decisiones quedaron guardadas",
                               [&] { TDecision(carpeta_).guardarDecisiones(decisiones); });
}

std::vector<TRegDecision> TJuego::decisionesGuardadas() {
    TBloqueoLectura bloqueo(*this);
    return leerRegistros<TRegDecision>(carpeta_.sa(), carpeta_.ruta(kArchivoDecisiones))
        .value_or(std::vector<TRegDecision>{});
}

void TJuego::guardarDecisiones(const std::vector<TRegDecision>& decisiones, const TMarca* marca) {
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirDecisionesAbiertas(estado, marca);
    if (decisiones.size() != estado.datos.cantEquipos)
        throw ErrorJuego("Hay " + std::to_string(decisiones.size()) + " decisiones y " +
                         std::to_string(estado.datos.cantEquipos) + " empresas activas.");
    guardarDecisionesEnArchivo(bloqueo, decisiones);
}

void TJuego::guardarDecisionesCompletas(const std::vector<std::optional<TRegDecision>>& decisiones,
                                        const TMarca* marca) {
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirDecisionesAbiertas(estado, marca);
    guardarDecisionesCompletas(bloqueo, estado, decisiones);
}

void TJuego::guardarDecisionesCompletas(const TBloqueoEscritura& bloqueo, const TEstadoJuego& estado,
                                        std::vector<std::optional<TRegDecision>> decisiones) {
    if (decisiones.size() != estado.datos.cantEquipos)
        throw ErrorJuego("Hay " + std::to_string(decisiones.size()) + " decisiones y " +
                         std::to_string(estado.datos.cantEquipos) + " empresas activas.");
    // The computer decides only when some company's decisions are missing.
    std::vector<std::optional<TRegDecision>> computadora(decisiones.size());
    if (std::any_of(decisiones.begin(), decisiones.end(), [](const auto& d) { return !d.has_value(); }))
        computadora = decisionesComputadora(bloqueo, estado);
    const auto equipos = equiposDelJuego(bloqueo, estado);
    std::string faltan;
    std::vector<TRegDecision> completas;
    for (std::size_t i = 0; i < decisiones.size(); ++i) {
        if (!decisiones[i]) decisiones[i] = computadora[i];
        if (decisiones[i]) completas.push_back(*decisiones[i]);
        else faltan += (faltan.empty() ? "" : ", ") + cp1252AUtf8(equipos[i]);
    }
    if (!faltan.empty())
        throw ErrorJuego("Faltan las decisiones del período " + std::to_string(estado.datos.periodoActual) +
                         " de: " + faltan + ".");
    for (std::size_t i = 0; i < completas.size(); ++i) validarDecision(completas[i], equipos[i]);
    guardarDecisionesEnArchivo(bloqueo, completas);
}

TResultadoCorrida TJuego::simular(const TMarca* marca) {
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirMarca(estado, marca);
    exigirPeriodoAbierto(estado);
    // A game the computer plays alone runs period after period by itself.
    if (estado.decisionesGuardadas == 0 && estado.datos.cantEquipos > 0) {
        auto decisiones = decisionesComputadora(bloqueo, estado);
        if (std::all_of(decisiones.begin(), decisiones.end(), [](const auto& d) { return d.has_value(); }))
            guardarDecisionesCompletas(bloqueo, estado, std::move(decisiones));
    }
    if (leerEstado(bloqueo).decisionesGuardadas < estado.datos.cantEquipos)
        throw ErrorJuego("Faltan decisiones del período " + std::to_string(estado.datos.periodoActual) + ": hay " +
                         std::to_string(estado.decisionesGuardadas) + " de " +
                         std::to_string(estado.datos.cantEquipos) + " empresas.");
    const TResultadoCorrida corrida = simularPeriodo(carpeta_);
    tomarValores(estado.datos);
    avisar(corrida.aviso);
    for (const std::string& empresa : corrida.quiebras)
        notificador_->informacion("La empresa \"" + empresa + "\" ha quebrado.");
    return corrida;
}

namespace {

// The report files of the folder become those of the period's history, in
// the step back's own change.
void reponerInformes(const TCarpeta& carpeta, TTransaccion& transaccion, int periodo) {
    const auto historia = carpetaDePeriodo(carpeta, periodo);
    TSistemaArchivos& sa = carpeta.sa();
    if (sa.tipo(historia) != TSistemaArchivos::Tipo::carpeta) return;
    std::vector<std::string> suyos;
    for (const std::string& nombre : sa.listar(historia))
        if (nombre.ends_with(kExtensionInforme)) suyos.push_back(nombre);
    for (const std::string& nombre : sa.listar(carpeta.ruta()))
        if (esNombreDeInforme(nombre) && std::find(suyos.begin(), suyos.end(), nombre) == suyos.end())
            transaccion.eliminar(nombre);
    for (const std::string& nombre : suyos)
        transaccion.escribir(nombre, leerArchivoEntero(sa, historia / rutaDeTexto(nombre)));
}

}  // namespace

// A damaged game is not stepped back into, unless the damage is in a file
// the checkpoint replaces whole: that is how a game is recovered.
std::optional<ErrorArchivoDanado> TJuego::danoQueElRespaldoRepara(const TBloqueoJuego& bloqueo) const {
    try {
        leerEstado(bloqueo);
    } catch (const ErrorArchivoDanado& e) {
        const auto nombre = e.archivo().filename();
        bool enRespaldo = false;
        for (const auto& par : kRespaldos) enRespaldo = enRespaldo || nombre == par[0];
        if (!enRespaldo) throw;
        return e;
    }
    return std::nullopt;
}

int TJuego::volver() {
    TBloqueoEscritura bloqueo(*this);
    const std::optional<ErrorArchivoDanado> dano = danoQueElRespaldoRepara(bloqueo);
    // The report files of the folder become those of the last period that
    // stays run, from its history, in the same change.
    std::string aviso;
    const auto periodo = restaurarRespaldo(
        carpeta_, [this](TTransaccion& transaccion, int abierto) { reponerInformes(carpeta_, transaccion, abierto - 1); },
        &aviso);
    if (!periodo) {
        if (dano) throw *dano;
        throw ErrorJuego("No hay un período para deshacer.");
    }
    if (dano)
        avisar("«" + textoDeRuta(dano->archivo().filename()) + "» estaba dañado: se volvió al período " +
               std::to_string(*periodo) + " con la copia que se guardó antes de simularlo.");
    avisar(aviso);
    return *periodo;
}
