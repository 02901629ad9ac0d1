#pragma once
// The portal's HTTP server on GNU libmicrohttpd: starts and stops the
// daemon with its limits, takes the connections the door (TAceptador)
// accepts and tells it when each request arrived whole and when its answer
// went out, gathers each request from its callbacks, refuses what the
// request line and headers alone show to be wrong (framing read two ways, a
// malformed or doubled header, a path that decodes to something else, a
// body too big, a POST from a page of another site), and hands the rest to
// the routes. Requests are read and answered on libmicrohttpd's threads,
// each with its own game object; submissions and PDFs go to the worker.

#include "portal/Aceptador.h"
#include "portal/Manejadores.h"
#include "portal/Trabajador.h"

#include <QHostAddress>

#include <optional>
#include <shared_mutex>

class TPortal;
struct TDatosPortal;

class TServidorPortal {
public:
    TServidorPortal(TPortal& portal, TDatosPortal& datos, TJuego& juego);
    ~TServidorPortal();

    /// Listens on direccion:puerto with at most conexiones connections;
    /// returns the port open, 0 when it cannot listen.
    quint16 iniciar(const QHostAddress& direccion, quint16 puerto, unsigned conexiones);
    /// Answers what waits, then closes every connection.
    void detener();

private:
    // Two threads read the game at once: a classroom's machine has two cores or more.
    static constexpr unsigned kHilos = 2;

    MHD_Daemon* arrancar(unsigned conexiones);
    static void* alLlegarRuta(void* yo, const char* ruta, MHD_Connection* conexion);
    static void alConectar(void* yo, MHD_Connection* conexion, void** contexto, MHD_ConnectionNotificationCode que);
    static MHD_Result alPedido(void* yo, MHD_Connection* conexion, const char* ruta, const char* metodo,
                               const char* version, const char* datos, size_t* tamano, void** estado);
    static void alTerminar(void* yo, MHD_Connection* conexion, void** estado, MHD_RequestTerminationCode causa);
    MHD_Result alLlegarCuerpo(TPedido& p, const char* datos, size_t* tamano);
    MHD_Result alTerminarPedido(TPedido& p);
    std::optional<TRespuesta> revisarEncabezados(const TPedido& p) const;

    TDatosPortal& datos_;
    // Held while a request thread answers and while the worker changes
    // the game: the game objects are holders of the folder's lock, and a
    // writer is refused at once while a reader holds it.
    std::shared_mutex turnoJuego_;
    TTrabajador trabajador_;
    TManejadores manejadores_;
    TAceptador aceptador_;
    MHD_Daemon* demonio_ = nullptr;
};
