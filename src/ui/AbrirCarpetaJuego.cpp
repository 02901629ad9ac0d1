// The main window's switch to another game folder: chosen in a dialog or
// among the recent ones. Every screen of the game left behind closes first,
// the portal of that game stops, and both folders go to the recent list.

#include "ui/UPrincipal.h"

#include "juego/Juego.h"
#include "portal/Portal.h"
#include "store/CarpetaDatos.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <exception>

namespace {

QString rutaLimpia(const QString& carpeta) { return QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath()); }

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
    if (!cerrarPantallas()) return false;

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
    const bool portalActivo = portal_->activo();
    portal_->detener();
    juego_ = std::move(nuevo);
    crearPortal();
    vigilarCarpeta();
    // The menus of a game follow its stored position; a folder without a
    // game is a new place, where only "Nuevo" makes sense.
    mostrarJuego();
    mostrarTitulo();
    if (portalActivo)
        mostrarMensaje(this, QStringLiteral("El portal de equipos se detuvo porque se abrió otro juego. "
                                            "Vuelva a iniciarlo desde Juego → Portal de equipos."));
    // The game left behind stays one click away.
    if (const QString dejada = rutaLimpia(deRuta(anterior)); dejada != ruta) recientes_->recordar(dejada);
    recientes_->recordar(ruta);
    return true;
}
