#pragma once
// TNotificadorJuego: how the main window tells its open screens that the
// game moved. The window owns one and emits juegoCambiado after each of its
// operations (a run, a step back, a game set up, resumed or opened) and when
// another program changed the game's folder; before that, periodoSimulado
// names the period a run just filed. envioRecibido relays the teams'
// portal, whichever portal the open game has. A screen connects when it
// opens and is never looked for by the window to be refreshed.

#include <QObject>

#include <functional>

class QWidget;

class TNotificadorJuego : public QObject {
    Q_OBJECT

public:
    explicit TNotificadorJuego(QObject* ventana);

    /// The notifier of the window pantalla was opened on; null for a screen
    /// with no such window (alone, as some tests open it).
    static TNotificadorJuego* de(const QWidget* pantalla);

    /// Runs accion each time the game changes while pantalla is on show; a
    /// screen without a window's notifier is left alone.
    static void alCambiarElJuego(QWidget* pantalla, const std::function<void()>& accion);

signals:
    void juegoCambiado();
    void periodoSimulado(int periodo);
    void envioRecibido();
};
