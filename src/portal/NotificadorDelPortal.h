#pragma once
// TNotificadorDelPortal: what the portal's own game objects tell, on
// whichever server thread they run, reaches the game's notifier on the
// thread of the portal's owner (the window's, or the tool's main thread),
// queued to it. A game object of a server thread that finishes or undoes an
// interrupted change tells it here, and the window shows it as if its own
// game had done it. Calls may come from several threads at once; a call that
// arrives when the portal is gone is dropped with it.

#include "store/Notificador.h"

#include <functional>

class QObject;
class TJuego;

class TNotificadorDelPortal final : public TNotificador {
public:
    /// Delivers on contexto's thread to juego's notifier of that moment.
    TNotificadorDelPortal(QObject& contexto, const TJuego& juego) : contexto_(contexto), juego_(juego) {}

    void advertencia(const std::string& titulo, const std::string& texto) override;
    void informacion(const std::string& texto) override;
    void abrirCarpeta(const std::filesystem::path& carpeta) override;

private:
    void pasar(std::function<void(TNotificador&)> llamada);

    QObject& contexto_;
    const TJuego& juego_;
};
