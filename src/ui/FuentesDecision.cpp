#include "ui/FuentesDecision.h"

#include "juego/LectorCsv.h"
#include "documentos/TextoQt.h"

#include <QFile>
#include <QStringList>

#include <exception>
#include <filesystem>

namespace {

const QString kSinDatos = QStringLiteral("No hay datos para el período actual.");

TDecisionesTraidas sinNada(const QString& falla) { return {{}, falla, QString()}; }

}  // namespace

TDecisionesTraidas decisionGuardada(TJuego& juego, const TEquiposDecision& equipos, uint8_t equipo) {
    std::vector<TRegDecision> guardadas;
    try {
        guardadas = juego.decisionesGuardadas();
    } catch (const std::exception& e) {
        // A file that cannot be read is named, never taken for one without decisions.
        return sinNada(QString::fromUtf8(e.what()));
    }
    if (equipo < 1 || guardadas.size() < equipo || equipo > equipos.cantidad) return sinNada(kSinDatos);
    TDecisionesTraidas traidas;
    traidas.decisiones.resize(equipos.cantidad);
    traidas.decisiones[equipo - 1u] = guardadas[equipo - 1u];
    return traidas;
}

TDecisionesTraidas decisionesGuardadas(TJuego& juego, const TEquiposDecision& equipos) {
    std::vector<TRegDecision> guardadas;
    try {
        guardadas = juego.decisionesGuardadas();
    } catch (const std::exception& e) {
        return sinNada(QString::fromUtf8(e.what()));
    }
    TDecisionesTraidas traidas;
    traidas.decisiones.resize(equipos.cantidad);
    // The teams before the first one missing keep what was read.
    for (std::size_t i = 0; i < equipos.cantidad; ++i) {
        if (i >= guardadas.size()) {
            traidas.falla = kSinDatos;
            break;
        }
        traidas.decisiones[i] = guardadas[i];
    }
    return traidas;
}

TDecisionesTraidas decisionesDelPeriodo(TJuego& juego, const TEquiposDecision& equipos, int anterior) {
    TArchivoPeriodo archivo;
    try {
        archivo = juego.periodoDelHistorial(anterior);
    } catch (const ErrorJuego&) {
        // The period was not run, was undone or has no history.
        return sinNada(QStringLiteral("No hay decisiones del período %1 en el historial.").arg(anterior));
    } catch (const std::exception& e) {
        // A damaged history is damage, named by its file.
        return sinNada(QString::fromUtf8(e.what()));
    }
    TDecisionesTraidas traidas;
    traidas.decisiones.resize(equipos.cantidad);
    for (std::size_t t = 0; t < equipos.cantidad; ++t) {
        // The computer's companies keep the decisions it made for this period.
        if (equipos.deComputadora(t)) continue;
        const std::string nombre = t < equipos.nombres.size() ? equipos.nombres[t] : std::string();
        std::size_t i = 0;
        while (i < archivo.industria.size() && archivo.industria[i].empresa != nombre) ++i;
        if (i >= archivo.industria.size() || i >= archivo.decisiones.size())
            return sinNada(QStringLiteral("El período %1 del historial no tiene decisiones de «%2».")
                               .arg(anterior)
                               .arg(aQString(nombre)));
        traidas.decisiones[t] = archivo.decisiones[i];
        // Period 0's requests are the opening loans every company already
        // owes; asking for them again would push each team past its banks.
        if (anterior == 0) {
            TRegDecision& copiada = *traidas.decisiones[t];
            copiada.pedPrestamoA = copiada.pedPrestamoB = 0;
            copiada.devPrestamoA = copiada.devPrestamoB = 0;
        }
    }
    if (anterior == 0)
        traidas.aviso = QStringLiteral("Se copiaron las decisiones del período 0 salvo los préstamos: "
                                       "los pedidos y las devoluciones de préstamos quedan en 0.");
    return traidas;
}

TDecisionesTraidas decisionesDeCsv(const QString& archivo, const TEquiposDecision& equipos) {
    std::vector<std::optional<TRegDecision>> leidas;
    try {
        // The same reader and messages as the tool's "decisiones" order.
        leidas = leerDecisionesCsv(aRuta(archivo), equipos.nombres,
                                   equipos.computadora);
    } catch (const std::exception& e) {
        return sinNada(QString::fromUtf8(e.what()));
    }
    // The reader gives one entry per company.
    if (leidas.size() != equipos.cantidad) return {};
    return {leidas, QString(), QString()};
}

TDecisionesTraidas decisionesDelPortal(TJuego& juego, const TEquiposDecision& equipos, const TMarca& marca) {
    std::vector<std::optional<TRegDecision>> envios;
    try {
        const TEstadoJuego estado = juego.leerEstado();
        if (!(estado.marca == marca)) throw ErrorJuego(mensajeJuegoCambiado(estado));
        envios = juego.enviosDelPeriodo();
    } catch (const std::exception& e) {
        return sinNada(QString::fromUtf8(e.what()));
    }
    TDecisionesTraidas traidas;
    traidas.decisiones.resize(equipos.cantidad);
    QStringList faltan;
    int cargados = 0;
    for (std::size_t i = 0; i < equipos.cantidad; ++i) {
        if (i < envios.size() && envios[i]) {
            traidas.decisiones[i] = envios[i];
            ++cargados;
        } else if (i < equipos.nombres.size() && !equipos.deComputadora(i)) {
            faltan << aQString(equipos.nombres[i]);
        }
    }
    if (cargados == 0)
        traidas.falla = QStringLiteral("Ningún equipo envió decisiones por el portal para este período.");
    else if (!faltan.isEmpty())
        traidas.aviso = QStringLiteral("Se cargaron las decisiones de %1 %2. No enviaron las suyas: %3.")
                            .arg(cargados)
                            .arg(cargados == 1 ? QStringLiteral("equipo") : QStringLiteral("equipos"))
                            .arg(faltan.join(QStringLiteral(", ")));
    return traidas;
}
