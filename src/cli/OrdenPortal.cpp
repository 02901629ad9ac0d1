#include "cli/OrdenPortal.h"

#include "juego/Juego.h"

#include "documentos/Documentos.h"
#include "portal/Portal.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace {

int tuberia[2] = {-1, -1};

// Only what is safe in a signal handler: a byte down the pipe the event loop watches.
void alRecibirSenal(int) {
    const char uno = 1;
    [[maybe_unused]] const auto escrito = ::write(tuberia[1], &uno, 1);
}

}  // namespace

void correrPortal(TJuego& juego, const std::string& direccion, uint16_t puerto,
                  std::optional<std::chrono::system_clock::time_point> hasta) {
    QHostAddress ip;
    if (!ip.setAddress(QString::fromStdString(direccion)))
        throw ErrorJuego("«" + direccion + "» no es una dirección IP.");
    // The PDF hand-outs need Qt Gui; a server draws offscreen, whatever
    // display the session that started it had.
    asegurarAplicacionGrafica(true);
    if (::pipe(tuberia) != 0) throw ErrorJuego("No se pudo preparar la espera de la señal de fin.");
    QSocketNotifier aviso(tuberia[0], QSocketNotifier::Read);
    QObject::connect(&aviso, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
    std::signal(SIGINT, alRecibirSenal);
    std::signal(SIGTERM, alRecibirSenal);

    TPortal portal(juego);
    const quint16 abierto = portal.iniciar(ip, puerto);
    portal.fijarPlazo(hasta);
    std::cout << "Portal de equipos abierto en el puerto " << abierto << ". Los equipos escriben en el navegador:\n";
    const QStringList direcciones = portal.direccionesParaTeclear();
    for (const QString& d : direcciones) std::cout << "  " << d.toStdString() << '\n';
    if (direcciones.isEmpty())
        std::cout << "  (esta computadora no tiene una dirección de red; solo responde en http://127.0.0.1:" << abierto << "/)\n";
    if (hasta)
        std::cout << "Se reciben decisiones del período " << juego.parametros().periodoActual << " hasta las "
                  << textoHora(*hasta) << ".\n";
    std::cout << "Los códigos de los equipos: «corvelian-cli codigos». Ctrl+C cierra el portal." << std::endl;
    QCoreApplication::exec();
    portal.detener();
    // What the portal's games told in its last moments, before it goes.
    QCoreApplication::sendPostedEvents(&portal);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::cout << "Portal cerrado." << std::endl;
}

