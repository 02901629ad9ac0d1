#include "portal/NotificadorDelPortal.h"

#include "juego/Juego.h"

#include <QMetaObject>
#include <QObject>

#include <utility>

void TNotificadorDelPortal::advertencia(const std::string& titulo, const std::string& texto) {
    pasar([titulo, texto](TNotificador& n) { n.advertencia(titulo, texto); });
}

void TNotificadorDelPortal::informacion(const std::string& texto) {
    pasar([texto](TNotificador& n) { n.informacion(texto); });
}

void TNotificadorDelPortal::abrirCarpeta(const std::filesystem::path& carpeta) {
    pasar([carpeta](TNotificador& n) { n.abrirCarpeta(carpeta); });
}

// The game's notifier is read when the call is delivered: the owner may
// have given its game another since.
void TNotificadorDelPortal::pasar(std::function<void(TNotificador&)> llamada) {
    QMetaObject::invokeMethod(
        &contexto_, [&juego = juego_, llamada = std::move(llamada)] { llamada(juego.notificador()); },
        Qt::QueuedConnection);
}
