#include "ui/CarpetasRecientes.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {

const QString claveRecientes = QStringLiteral("carpetasRecientes");

QSettings ajustes() { return QSettings(QStringLiteral("corvelian"), QStringLiteral("corvelian")); }

// A menu text shows "&" doubled, or it would be taken for the Alt letter.
QString sinAtajos(QString texto) { return texto.replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

TCarpetasRecientes::TCarpetasRecientes(QMenu* menu, QAction* antesDe, QObject* padre)
    : QObject(padre), menu_(menu), antesDe_(antesDe) {
    mostrar(lista());
}

QStringList TCarpetasRecientes::lista() { return ajustes().value(claveRecientes).toStringList(); }

void TCarpetasRecientes::recordar(const QString& carpeta) {
    QStringList recientes = lista();
    recientes.removeAll(carpeta);
    recientes.prepend(carpeta);
    while (recientes.size() > maximo) recientes.removeLast();
    guardar(recientes);
}

void TCarpetasRecientes::olvidar(const QString& carpeta) {
    QStringList recientes = lista();
    recientes.removeAll(carpeta);
    guardar(recientes);
}

void TCarpetasRecientes::guardar(const QStringList& recientes) {
    QSettings guardados = ajustes();
    guardados.setValue(claveRecientes, recientes);
    guardados.sync();
    if (guardados.status() != QSettings::NoError)
        emit noSeGuardo(QStringLiteral("No se pudo guardar la lista de juegos recientes en «%1».")
                            .arg(QDir::toNativeSeparators(guardados.fileName())));
    mostrar(recientes);
}

void TCarpetasRecientes::mostrar(const QStringList& recientes) {
    // Removed later: this may run inside the slot of one of these items.
    for (QAction* viejo : std::as_const(items_)) {
        menu_->removeAction(viejo);
        viejo->deleteLater();
    }
    items_.clear();
    for (qsizetype i = 0; i < recientes.size(); ++i) {
        const QString carpeta = recientes[i];
        QString nombre = QFileInfo(carpeta).fileName();
        if (nombre.isEmpty()) nombre = carpeta;
        auto* item = new QAction(
            QStringLiteral("&%1 %2 (%3)").arg(i + 1).arg(sinAtajos(nombre), sinAtajos(QDir::toNativeSeparators(carpeta))),
            menu_);
        item->setObjectName(QStringLiteral("mnuReciente%1").arg(i + 1));
        item->setData(carpeta);
        connect(item, &QAction::triggered, this, [this, carpeta] { emit elegida(carpeta); });
        menu_->insertAction(antesDe_, item);
        items_.append(item);
    }
}
