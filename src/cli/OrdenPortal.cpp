#include "cli/OrdenPortal.h"

#include "juego/Juego.h"

#include "documentos/Documentos.h"
#include "portal/Portal.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>
#include <QTimer>

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

/// A deadline already past is taken (it closes the period's submissions at
/// once), but never without saying so.
void avisarPlazoVencido(int periodo, std::chrono::system_clock::time_point hasta) {
    if (hasta <= std::chrono::system_clock::now())
        std::cerr << "Aviso: las " << textoHora(hasta) << " ya pasaron: el portal rechaza desde ahora los envíos del período "
                  << periodo << ".\n";
}

}  // namespace

void correrPortal(TJuego& juego, const TArgumentosPortal& argumentos) {
    QHostAddress ip;
    if (!ip.setAddress(QString::fromStdString(argumentos.direccion)))
        throw ErrorJuego("«" + argumentos.direccion + "» no es una dirección IP.");
    // The PDF hand-outs need Qt Gui; a server draws offscreen, whatever
    // display the session that started it had.
    asegurarAplicacionGrafica(true);
    if (::pipe(tuberia) != 0) throw ErrorJuego("No se pudo preparar la espera de la señal de fin.");
    QSocketNotifier aviso(tuberia[0], QSocketNotifier::Read);
    QObject::connect(&aviso, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
    std::signal(SIGINT, alRecibirSenal);
    std::signal(SIGTERM, alRecibirSenal);

    // The period as a number: the game keeps it in a byte.
    const int periodo = juego.parametros().periodoActual;
    // Said before the port opens: a deadline already past is worth knowing either way.
    if (argumentos.hasta) avisarPlazoVencido(periodo, *argumentos.hasta);
    TPortal portal(juego);
    portal.fijarConexionesPorDireccion(argumentos.conexionesPorDireccion);
    const quint16 abierto = portal.iniciar(ip, argumentos.puerto);
    portal.fijarPlazo(argumentos.hasta);
    std::cout << "Portal de equipos abierto en el puerto " << abierto << ". Los equipos escriben en el navegador:\n";
    const QStringList direcciones = portal.direccionesParaTeclear();
    for (const QString& d : direcciones) std::cout << "  " << d.toStdString() << '\n';
    if (direcciones.isEmpty())
        std::cout << "  (esta computadora no tiene una dirección de red; solo responde en http://127.0.0.1:" << abierto << "/)\n";
    if (argumentos.hasta)
        std::cout << "Se reciben decisiones del período " << periodo << " hasta las " << textoHora(*argumentos.hasta) << ".\n";
    std::cout << "Los códigos de los equipos: «corvelian-cli codigos». Ctrl+C cierra el portal." << std::endl;
    // The record tells each address and cap once a minute; each entry is printed once.
    std::uint64_t ultimoTope = 0;
    QTimer topes;
    QObject::connect(&topes, &QTimer::timeout, [&] {
        for (const TTope& t : portal.topesDespuesDe(ultimoTope)) {
            std::cout << textoHora(t.hora) << " La dirección " << t.direccion << " llegó al tope de "
                      << t.motivo.toStdString() << ".\n";
            ultimoTope = t.numero;
        }
        std::cout.flush();
    });
    topes.start(1000);
    QCoreApplication::exec();
    portal.detener();
    // What the portal's games told in its last moments, before it goes.
    QCoreApplication::sendPostedEvents(&portal);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::cout << "Portal cerrado." << std::endl;
}
