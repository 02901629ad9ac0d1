// The main window's switch to another game folder: chosen in a dialog or
// among the recent ones. A running portal is stopped only when the game
// master agrees, told which teams are on it; every screen of the game left
// behind closes first, and both folders go to the recent list.
// A practice's own new folder is made here too.

#include "ui/UPrincipal.h"

#include "juego/Juego.h"
#include "portal/Portal.h"
#include "store/CarpetaDatos.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <exception>

namespace {

QString rutaLimpia(const QString& carpeta) { return QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath()); }

/// With the portal running, whether the game master lets it close, told
/// which teams are on it now; No is the default, as teams may be typing.
bool dejarElPortal(QWidget* padre, TJuego& juego, const TPortal& portal) {
    if (!portal.activo()) return true;
    QStringList conectados;
    try {
        for (const std::string& empresa : juego.empresasActivas())
            if (portal.sesionesDe(empresa) > 0) conectados << aQString(empresa);
    } catch (const std::exception&) {
        // Without the names the question is still asked.
    }
    const QString quienes = conectados.isEmpty() ? QStringLiteral("sin equipos conectados")
                            : conectados.size() == 1
                                ? QStringLiteral("con 1 equipo conectado: %1").arg(conectados.front())
                                : QStringLiteral("con %1 equipos conectados: %2")
                                      .arg(conectados.size())
                                      .arg(conectados.join(QStringLiteral(", ")));
    return dialogos().mensaje(padre, QStringLiteral("Atención"),
                              QStringLiteral("El portal está abierto %1; ¿cerrarlo y abrir la otra carpeta?").arg(quienes),
                              ServicioDialogos::Icono::advertencia, ServicioDialogos::Botones::siNoPorOmisionNo) ==
           ServicioDialogos::Respuesta::si;
}

}  // namespace

void TFPrincipal::AbrirCarpetaClick() {
    const auto elegida = dialogos().pedirCarpeta(this, QStringLiteral("Abrir carpeta de juego"),
                                                 deRuta(juego_->ruta().parent_path()));
    if (!elegida || elegida->isEmpty()) return;
    // A folder named that does not exist yet is a new place for a game.
    try {
        crearCarpetaDeJuego(aRuta(rutaLimpia(*elegida)), juego_->sistemaArchivos());
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    abrirCarpetaDeJuego(*elegida);
}

void TFPrincipal::abrirReciente(const QString& carpeta) {
    if (!QFileInfo(carpeta).isDir()) {
        mostrarMensaje(this, QStringLiteral("La carpeta de juego «%1» ya no existe; se quita de la lista.")
                                 .arg(QDir::toNativeSeparators(carpeta)));
        recientes_->olvidar(carpeta);
        return;
    }
    abrirCarpetaDeJuego(carpeta);
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

bool TFPrincipal::cerrarPantallas() {
    // Decision screens first: they ask before typed decisions are lost.
    if (!cerrarPantallasDePeriodo()) return false;
    // Then whatever else shows the old game (set-up, results, standings).
    QList<QPointer<QWidget>> abiertas;
    for (QObject* hijo : children())
        if (auto* pantalla = qobject_cast<QWidget*>(hijo); pantalla && pantalla->isWindow() && pantalla->isVisible())
            abiertas.append(pantalla);
    for (const QPointer<QWidget>& pantalla : std::as_const(abiertas))
        if (pantalla && pantalla->isVisible() && !pantalla->close()) return false;
    return true;
}

bool TFPrincipal::abrirCarpetaDeJuego(const QString& carpeta) {
    const QString ruta = rutaLimpia(carpeta);
    if (!QFileInfo(ruta).isDir()) {
        mostrarMensaje(this, QStringLiteral("La carpeta de juego «%1» no existe.").arg(QDir::toNativeSeparators(ruta)));
        return false;
    }
    if (!dejarElPortal(this, *juego_, *portal_) || !cerrarPantallas()) return false;

    const std::filesystem::path anterior = juego_->ruta();
    auto nuevo = std::make_unique<TJuego>(aRuta(ruta));
    nuevo->fijarNotificador(this);
    try {
        // As "Reanudar": an interrupted change is settled and the severance
        // and the penalty come from this game.
        if (nuevo->leerEstado().hayJuego) nuevo->reanudar();
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return false;
    }

    // The portal's codes and sessions belong to the game left behind.
    portal_->detener();
    juego_ = std::move(nuevo);
    crearPortal();
    vigilarCarpeta();
    // The menus of a game follow its stored position; a folder without a
    // game is a new place, where only "Nuevo" makes sense.
    mostrarJuego();
    mostrarTitulo();
    // The game left behind stays one click away.
    if (const QString dejada = rutaLimpia(deRuta(anterior)); dejada != ruta) recientes_->recordar(dejada);
    recientes_->recordar(ruta);
    return true;
}
