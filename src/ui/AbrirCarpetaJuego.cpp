// The main window's switch to another game folder: chosen in a dialog or
// among the recent ones. A running portal is stopped only when the game
// master agrees, told which teams are on it; every screen of the game left
// behind closes first, and both folders go to the recent list.
// A game a new one replaced opens from here too.

#include "ui/UPrincipal.h"

#include "juego/Juego.h"
#include "juego/JuegoAnterior.h"
#include "portal/Portal.h"
#include "store/CarpetaDatos.h"
#include "store/NombresArchivos.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStatusBar>

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

void TFPrincipal::JuegosAnterioresClick() {
    std::vector<TJuegoAnterior> juegos;
    try {
        juegos = juegosAnteriores(juego_->carpeta());
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    if (juegos.empty()) {
        mostrarMensaje(this, QStringLiteral("Esta carpeta no guarda juegos anteriores: un juego que «Nuevo» reemplaza "
                                            "deja aquí su historial, «historial anterior N»."));
        return;
    }
    QStringList opciones;
    for (const TJuegoAnterior& j : juegos)
        opciones << (j.ultimoPeriodo < 0 ? QStringLiteral("historial anterior %1 (sin períodos)").arg(j.numero)
                                         : QStringLiteral("historial anterior %1 (hasta el período %2)")
                                               .arg(j.numero)
                                               .arg(j.ultimoPeriodo));
    const auto elegido = dialogos().elegirOpcion(
        this, QStringLiteral("Juegos anteriores"),
        QStringLiteral("Se abre una copia del juego elegido en una carpeta nueva; esta carpeta no cambia."), opciones,
        static_cast<int>(opciones.size()) - 1);
    const auto indice = elegido ? opciones.indexOf(*elegido) : -1;
    if (indice < 0) return;
    const TJuegoAnterior& juego = juegos[static_cast<std::size_t>(indice)];
    QString destino;
    int periodo = 0;
    try {
        const QString base = QStringLiteral("%1, historial anterior %2")
                                 .arg(deRuta(juego_->ruta().filename()).isEmpty() ? QStringLiteral("juego")
                                                                                   : deRuta(juego_->ruta().filename()))
                                 .arg(juego.numero);
        const std::filesystem::path anteriores = carpetaDeUsuario() / aRuta(QStringLiteral("Juegos anteriores"));
        std::filesystem::path ruta = anteriores / aRuta(base);
        for (int n = 2; std::filesystem::exists(ruta) && n <= 100; ++n)
            ruta = anteriores / aRuta(QStringLiteral("%1 (%2)").arg(base).arg(n));
        periodo = restaurarJuegoAnterior(juego_->carpeta(), juego.numero, ruta);
        destino = deRuta(ruta);
    } catch (const ErrorJuego& e) {
        mostrarMensaje(this, QString::fromUtf8(e.what()));
        return;
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    if (!abrirCarpetaDeJuego(destino)) return;
    statusBar()->showMessage(QStringLiteral("Juego anterior %1 abierto, hasta el período %2, en «%3»; la carpeta de "
                                            "donde vino no cambió.")
                                 .arg(juego.numero)
                                 .arg(periodo)
                                 .arg(QDir::toNativeSeparators(destino)));
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
