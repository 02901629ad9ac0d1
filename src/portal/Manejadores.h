#pragma once
// What the portal does for each of its routes, on the request threads:
// the login and the logout, the decisions page and its submission, the
// reports and their PDF. Each request thread reads the game through a game
// object of its own; a submission or a PDF to build is left to the worker.
// A handler returns its answer, or nothing when the worker will answer.

#include "portal/Paginas.h"
#include "portal/Pedido.h"
#include "portal/Sesiones.h"

#include "juego/Juego.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

struct TDatosPortal;
class TTrabajador;

class TManejadores {
public:
    using TSesion = TSesiones::TSesion;

    /// juego names the game's folder and file system; every thread opens its own.
    TManejadores(TDatosPortal& datos, TJuego& juego, TTrabajador& trabajador);

    // The routes' handlers; periodo is the one in the path, where it has one.
    std::optional<TRespuesta> inicio(TPedido& p, int periodo);
    std::optional<TRespuesta> entrar(TPedido& p, int periodo);
    std::optional<TRespuesta> salir(TPedido& p, int periodo);
    std::optional<TRespuesta> verDecisiones(TPedido& p, int periodo);
    std::optional<TRespuesta> enviar(TPedido& p, int periodo);
    std::optional<TRespuesta> informeEmpresa(TPedido& p, int periodo);
    std::optional<TRespuesta> informeIndustria(TPedido& p, int periodo);
    std::optional<TRespuesta> pdf(TPedido& p, int periodo);

private:
    enum class TInforme { empresa, industria, pdf };

    TJuego& lector();
    std::optional<TSesion> sesionDe(const TPedido& p, TLecturaPortal* lectura = nullptr);
    std::optional<TRegDecision> decisionAnterior(TJuego& juego, const TMarca& marca, const std::string& empresa,
                                                 int periodo, const std::vector<int>& periodos);
    std::optional<TRespuesta> informe(TPedido& p, TInforme tipo, int periodo);

    TDatosPortal& datos_;
    TJuego& juego_;
    TTrabajador& trabajador_;
    std::mutex lectoresM_;
    std::map<std::thread::id, std::unique_ptr<TJuego>> lectores_;  // one per server thread
};

/// The decisions page's view of a session from what was read; the game is
/// asked again only for the words of why no period is open.
TVistaDecisiones vistaDecisiones(TJuego& juego, const TSesiones::TSesion& sesion, const TLecturaPortal& lectura,
                                 const TDatosPortal& datos);
