#pragma once
// The portal's door: a listening socket and a thread of its own that
// accepts every connection, counts it and hands it to the HTTP daemon.
// A connection has the portal's espera to deliver each whole request
// (headers and body): the first from its accept, each next one from the end
// of the previous answer; past it, the socket is shut down. While a request
// is being answered there is no deadline (the daemon's own idle timeout
// still holds). Deadlines run on the portal's clock, the sessions' one.
// One address holds at most the portal's cap per address (an IPv6 /64
// counts as one address; at its cap, its own oldest connection idle between
// requests is cut to make room); when all together reach the total cap,
// the oldest connection still on its first request is cut to make room,
// then the oldest one idle between requests; one being answered never is.
// Every refusal at a cap is noted in the portal's record of caps.
//
// Threads: escuchar, iniciar and detener from the thread that owns the
// server; alAbrir, alCerrar, pedidoCompleto and respuestaEnviada from the
// daemon's threads. Knows nothing of HTTP.

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

#include <sys/socket.h>

struct TDatosPortal;

class TAceptador {
public:
    using Reloj = std::chrono::steady_clock;
    /// Hands an accepted socket to the daemon, which owns it from then on
    /// (and closes it when it cannot take it: false).
    using Entregar = std::function<bool(int socket, const sockaddr* direccion, socklen_t largo)>;
    /// Connections cut to make room and not yet closed by the daemon, at
    /// most: the daemon may hold this many beyond the total cap.
    static constexpr unsigned kHolgura = 64;

    explicit TAceptador(TDatosPortal& datos);
    ~TAceptador();
    TAceptador(const TAceptador&) = delete;
    TAceptador& operator=(const TAceptador&) = delete;

    /// Opens the listening socket at lugar (an IPv6 any address also takes
    /// IPv4) with that backlog; the port open, 0 when it cannot.
    uint16_t escuchar(const sockaddr_storage& lugar, int cola);
    /// Starts accepting, with at most tope connections in total.
    void iniciar(unsigned tope, Entregar entregar);
    /// Stops accepting and closes the listening socket; the connections
    /// handed over stay the daemon's.
    void detener();

    /// The daemon starts serving socket: what it keeps as the connection's context.
    void* alAbrir(int socket);
    /// The daemon closed the connection of contexto (before closing its socket).
    void alCerrar(void* contexto);
    /// The request of contexto arrived whole: no deadline while it is answered.
    void pedidoCompleto(void* contexto);
    /// The answer of contexto was sent: the next request's deadline starts now.
    void respuestaEnviada(void* contexto);

private:
    enum class Estado { primerPedido, entrePedidos, atendiendo };
    struct TConexion {
        int socket;
        std::string clave;
        Reloj::time_point plazo;
        Estado estado = Estado::primerPedido;
        bool enlazada = false;  // the daemon announced it
        bool cortada = false;
    };

    void bucle();
    /// False when it stopped for want of files or memory.
    bool aceptarTodas();
    void aceptar(int socket, const sockaddr_storage& direccion, socklen_t largo);
    bool hacerLugar();
    bool hacerLugarDe(const std::string& clave);
    void cortar(TConexion& c);
    void cortarVencidas();
    // Forget a connection, or the count of a live one; m_ held.
    std::list<TConexion>::iterator quitar(std::list<TConexion>::iterator i);
    void soltar(const std::string& clave);

    TDatosPortal& datos_;
    int escucha_ = -1;
    int despertador_[2] = {-1, -1};
    std::thread hilo_;
    Entregar entregar_;
    unsigned tope_ = 0;
    std::chrono::seconds espera_{10};

    std::mutex m_;  // everything below
    std::list<TConexion> conexiones_;  // in order of arrival
    std::unordered_map<int, std::list<TConexion>::iterator> porSocket_;
    std::map<std::string, unsigned> porClave_;
    unsigned vivas_ = 0, cortadas_ = 0;
};
