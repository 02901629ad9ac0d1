#include "ui/NotificadorJuego.h"

#include <QWidget>

TNotificadorJuego::TNotificadorJuego(QObject* ventana) : QObject(ventana) {
    setObjectName(QStringLiteral("notificadorJuego"));
}

TNotificadorJuego* TNotificadorJuego::de(const QWidget* pantalla) {
    for (const QObject* dueno = pantalla; dueno; dueno = dueno->parent())
        if (auto* notificador = dueno->findChild<TNotificadorJuego*>(QString(), Qt::FindDirectChildrenOnly))
            return notificador;
    return nullptr;
}

void TNotificadorJuego::alCambiarElJuego(QWidget* pantalla, const std::function<void()>& accion) {
    TNotificadorJuego* notificador = de(pantalla);
    if (!notificador) return;
    connect(notificador, &TNotificadorJuego::juegoCambiado, pantalla, [pantalla, accion] {
        if (pantalla->isVisible()) accion();
    });
}
