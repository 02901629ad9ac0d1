// The main window's practice: a game of the student's company against the
// computer's, set up in a folder of its own, and what the window says when
// the student's company goes bankrupt.

#include "ui/UPrincipal.h"

#include "documentos/TextoQt.h"
#include "juego/Evolucion.h"
#include "juego/Juego.h"
#include "store/CarpetaDatos.h"
#include "store/NombresArchivos.h"
#include "store/Texto.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "ui/UEquipos.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

#include <algorithm>
#include <exception>

namespace {

const QString carpetaNueva = QStringLiteral("En una carpeta nueva de Prácticas");
const QString elegirCarpeta = QStringLiteral("Elegir carpeta…");

// Anything a game keeps, or left behind when a new one replaced it.
bool tieneJuego(const std::filesystem::path& carpeta) {
    const std::string nombres[] = {kArchivoParametros, kArchivoNombres,    kArchivoResultados, kArchivoDecisiones,
                                   kCarpetaHistorial,  kCarpetaTransaccion, historialAnterior(1)};
    std::error_code error;
    for (const std::string& nombre : nombres)
        if (std::filesystem::exists(carpeta / aRuta(QString::fromStdString(nombre)), error) || error) return true;
    return false;
}

}  // namespace

std::optional<QString> TFPrincipal::elegirCarpetaDePractica() {
    const auto elegida = dialogos().pedirCarpeta(this, QStringLiteral("Carpeta de la práctica"),
                                                 deRuta(juego_->ruta().parent_path()));
    if (!elegida || elegida->isEmpty()) return std::nullopt;
    const QString carpeta = QDir::cleanPath(QFileInfo(*elegida).absoluteFilePath());
    if (tieneJuego(aRuta(carpeta))) {
        mostrarMensaje(this, QStringLiteral("La carpeta «%1» tiene un juego; la práctica nunca se juega sobre un juego. "
                                            "Elija una carpeta sin juego, o una carpeta nueva de Prácticas.")
                                 .arg(QDir::toNativeSeparators(carpeta)));
        return std::nullopt;
    }
    try {
        // A folder named that does not exist yet is a new place for the practice.
        crearCarpetaDeJuego(aRuta(carpeta), juego_->sistemaArchivos());
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return std::nullopt;
    }
    return carpeta;
}

void TFPrincipal::PracticaClick() {
    const auto donde = dialogos().elegirOpcion(
        this, QStringLiteral("Práctica"),
        QStringLiteral("La práctica se juega en una carpeta sin juego; el juego abierto queda como está. ¿Dónde?"),
        {carpetaNueva, elegirCarpeta}, 0);
    if (!donde) return;
    std::optional<QString> elegida;
    if (*donde == elegirCarpeta) {
        elegida = elegirCarpetaDePractica();
        if (!elegida) return;
    }
    const auto nombre = dialogos().pedirTexto(this, QStringLiteral("Práctica"), QStringLiteral("Nombre de su empresa:"),
                                              QStringLiteral("Mi empresa"));
    if (!nombre) return;
    const auto pedido = pedirEmpresasComputadora(this, QStringLiteral("Práctica"),
                                                 QStringLiteral("¿Cuántas empresas juega la computadora?"),
                                                 QStringLiteral("Estilo de la computadora (mezcla: uno de cada uno):"),
                                                 TFEquipos::maximoEquipos - 1);
    if (!pedido) return;
    const QString limpio = nombre->trimmed();
    const auto equipo = aCp1252(limpio);
    if (limpio.isEmpty() || !equipo || limpio.size() > static_cast<qsizetype>(sizeof(cadena::texto))) {
        mostrarMensaje(this, QStringLiteral("El nombre «%1» no sirve para una empresa: de 1 a 50 letras que el "
                                            "juego pueda guardar.")
                                 .arg(limpio));
        return;
    }
    // Never over a game: the practice gets a folder of its own and opens it.
    const auto carpeta = elegida ? elegida : crearCarpetaDePractica();
    if (!carpeta) return;
    if (!abrirCarpetaDeJuego(*carpeta)) {
        std::error_code ignorado;
        if (!elegida) std::filesystem::remove(aRuta(*carpeta), ignorado);  // still empty
        return;
    }
    try {
        juego_->crearPractica(*equipo, static_cast<std::size_t>(pedido->cantidad), pedido->estilo, semillaNueva());
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    mostrarJuego();
    statusBar()->showMessage(QStringLiteral("Práctica lista: decida el período 1, simule y lea su informe."));
    PeriodoClick();
}

std::optional<QString> TFPrincipal::crearCarpetaDePractica() {
    try {
        const std::filesystem::path practicas = carpetaDeUsuario() / aRuta(QStringLiteral("Prácticas"));
        // Dots for the time: a colon is not allowed in a Windows folder name.
        const QString momento = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
        for (int n = 1; n <= 100; ++n) {
            const std::filesystem::path ruta =
                practicas / aRuta(n == 1 ? momento : QStringLiteral("%1 (%2)").arg(momento).arg(n));
            if (std::filesystem::exists(ruta)) continue;
            crearCarpetaDeJuego(ruta, juego_->sistemaArchivos());
            return deRuta(ruta);
        }
        mostrarMensaje(this, QStringLiteral("Ya hay demasiadas prácticas de este momento en «%1».").arg(deRuta(practicas)));
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    return std::nullopt;
}

std::optional<int> TFPrincipal::alumnoEn(const TEvolucion& evolucion) {
    std::optional<std::string> equipo;
    try {
        equipo = juego_->equipoDePractica();
    } catch (const std::exception&) {
        return std::nullopt;  // a damaged marker is named where decisions are entered; a chart just shows no one
    }
    if (!equipo) return std::nullopt;
    const std::string nombre = cp1252AUtf8(*equipo);
    for (std::size_t i = 0; i < evolucion.empresas.size(); ++i)
        if (evolucion.empresas[i].nombre == nombre) return static_cast<int>(i);
    return std::nullopt;
}

void TFPrincipal::avisarQuiebraDelAlumno(int periodo) {
    QString alumno;
    try {
        const auto equipo = juego_->equipoDePractica();
        if (!equipo) return;
        const TArchivoPeriodo archivo = juego_->periodoDelHistorial(periodo);
        const bool quebro = std::any_of(archivo.industria.begin(), archivo.industria.end(),
                                        [&](const TFilaIndustria& fila) { return fila.quebrada && fila.empresa == *equipo; });
        if (!quebro) return;
        alumno = aQString(*equipo);
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    const QString volver = QStringLiteral("Volver atrás: deshacer el período %1 y decidirlo de nuevo").arg(periodo);
    const QString nueva = QStringLiteral("Comenzar una práctica nueva");
    const auto eleccion = dialogos().elegirOpcion(
        this, QStringLiteral("Práctica"),
        QStringLiteral("Su empresa «%1» quebró en el período %2: la práctica sigue sin ella.\n¿Qué desea hacer?")
            .arg(alumno)
            .arg(periodo),
        {volver, nueva, QStringLiteral("Solo mirar los resultados")}, 0);
    if (eleccion == volver) volverAtras();
    else if (eleccion == nueva) PracticaClick();
}
