#include "portal/Aceptador.h"

#include "portal/DatosPortal.h"
#include "portal/Red.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace {

// How often the deadlines are looked at: a tenth of a second late at most.
constexpr int kVueltaMs = 100;

}  // namespace

TAceptador::TAceptador(TDatosPortal& datos) : datos_(datos) {}

TAceptador::~TAceptador() { detener(); }

uint16_t TAceptador::escuchar(const sockaddr_storage& lugar, int cola) {
    detener();
    const int s = ::socket(lugar.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0) return 0;
    const int si = 1, no = 0;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &si, sizeof si);
    // The any address of IPv6 takes IPv4 too; a single IPv6 address only itself.
    if (lugar.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(lugar);
        const int solo6 = IN6_IS_ADDR_UNSPECIFIED(&v6.sin6_addr) ? no : si;
        ::setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &solo6, sizeof solo6);
    }
    const socklen_t largo = lugar.ss_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    sockaddr_storage abierto{};
    socklen_t largoAbierto = sizeof abierto;
    if (::bind(s, reinterpret_cast<const sockaddr*>(&lugar), largo) != 0 || ::listen(s, cola) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&abierto), &largoAbierto) != 0) {
        ::close(s);
        return 0;
    }
    escucha_ = s;
    return abierto.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6&>(abierto).sin6_port)
                                         : ntohs(reinterpret_cast<sockaddr_in&>(abierto).sin_port);
}

void TAceptador::iniciar(unsigned tope, Entregar entregar) {
    if (escucha_ < 0 || hilo_.joinable() || ::pipe2(despertador_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    tope_ = tope;
    entregar_ = std::move(entregar);
    {
        std::lock_guard<std::mutex> l(datos_.m);
        espera_ = datos_.espera;
    }
    hilo_ = std::thread([this] { bucle(); });
}

void TAceptador::detener() {
    if (hilo_.joinable()) {
        const char fin = 1;
        [[maybe_unused]] const auto escrito = ::write(despertador_[1], &fin, 1);
        hilo_.join();
    }
    for (int& fd : {std::ref(escucha_), std::ref(despertador_[0]), std::ref(despertador_[1])}) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

void TAceptador::bucle() {
    bool sinArchivos = false;
    for (;;) {
        // Out of files, the listening socket rests a turn instead of waking the loop at once.
        pollfd esperados[2] = {{despertador_[0], POLLIN, 0}, {escucha_, POLLIN, 0}};
        const int listos = ::poll(esperados, sinArchivos ? 1 : 2, kVueltaMs);
        if (listos < 0 && errno != EINTR) break;
        if (esperados[0].revents) break;
        sinArchivos = (esperados[1].revents & POLLIN) && !aceptarTodas();
        cortarVencidas();
    }
}

bool TAceptador::aceptarTodas() {
    for (;;) {
        sockaddr_storage direccion{};
        socklen_t largo = sizeof direccion;
        const int s = ::accept4(escucha_, reinterpret_cast<sockaddr*>(&direccion), &largo, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (s >= 0) {
            aceptar(s, direccion, largo);
            continue;
        }
        // A connection reset before it was taken is the client's business;
        // out of files or memory, the rest wait in the backlog.
        if (errno == EINTR || errno == ECONNABORTED || errno == EPROTO) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

void TAceptador::aceptar(int s, const sockaddr_storage& direccion, socklen_t largo) {
    const auto* d = reinterpret_cast<const sockaddr*>(&direccion);
    const std::string clave = claveDeDireccion(d);
    const Reloj::time_point plazo = datos_.sesiones.ahora() + espera_;
    unsigned porDireccion;
    {
        std::lock_guard<std::mutex> l(datos_.m);
        porDireccion = datos_.conexionesPorDireccion;
    }
    QString motivo;
    {
        std::lock_guard<std::mutex> l(m_);
        // A socket number taken again: the connection that had it was closed
        // without the daemon announcing it, and must not be cut any more.
        if (const auto vieja = porSocket_.find(s); vieja != porSocket_.end()) quitar(vieja->second);
        const auto deLaClave = porClave_.find(clave);
        if (deLaClave != porClave_.end() && deLaClave->second >= porDireccion && !hacerLugarDe(clave))
            motivo = QStringLiteral("conexiones por dirección (%1)").arg(porDireccion);
        else if (vivas_ >= tope_ && !hacerLugar()) motivo = QStringLiteral("conexiones en total (%1)").arg(tope_);
        if (motivo.isEmpty()) {
            ++porClave_[clave];
            ++vivas_;
            porSocket_[s] = conexiones_.insert(conexiones_.end(), TConexion{s, clave, plazo});
        }
    }
    if (!motivo.isEmpty()) {
        // Noted before the client can see it refused.
        datos_.anotarTope(clave, motivo);
        ::close(s);
        return;
    }
    if (entregar_(s, d, largo)) return;
    // The daemon closed it: it never was, unless the daemon announced it meanwhile.
    std::lock_guard<std::mutex> l(m_);
    if (const auto i = porSocket_.find(s); i != porSocket_.end() && !i->second->enlazada) quitar(i->second);
}

std::list<TAceptador::TConexion>::iterator TAceptador::quitar(std::list<TConexion>::iterator i) {
    if (i->cortada) --cortadas_;
    else soltar(i->clave);
    porSocket_.erase(i->socket);
    return conexiones_.erase(i);
}

void TAceptador::soltar(const std::string& clave) {
    --vivas_;
    const auto i = porClave_.find(clave);
    if (i != porClave_.end() && --i->second == 0) porClave_.erase(i);
}

/// Cuts the oldest connection still on its first request, else the oldest
/// idle between requests; false when every one is being answered or too
/// many cut ones are still closing.
bool TAceptador::hacerLugar() {
    if (cortadas_ >= kHolgura) return false;
    for (Estado buscado : {Estado::primerPedido, Estado::entrePedidos})
        for (TConexion& c : conexiones_)
            if (!c.cortada && c.estado == buscado) {
                cortar(c);
                return true;
            }
    return false;
}

/// At its cap, an address makes room by its own oldest connection idle
/// between requests (a kept-alive one, or one answered and still closing):
/// a phone's new request goes before its own idle one; false when none is.
bool TAceptador::hacerLugarDe(const std::string& clave) {
    for (TConexion& c : conexiones_)
        if (!c.cortada && c.clave == clave && c.estado == Estado::entrePedidos) {
            cortar(c);
            return true;
        }
    return false;
}

void TAceptador::cortar(TConexion& c) {
    // The daemon sees the end of the stream and closes the connection itself.
    ::shutdown(c.socket, SHUT_RDWR);
    c.cortada = true;
    soltar(c.clave);
    ++cortadas_;
}

void TAceptador::cortarVencidas() {
    const Reloj::time_point ahora = datos_.sesiones.ahora();
    std::lock_guard<std::mutex> l(m_);
    for (TConexion& c : conexiones_)
        if (!c.cortada && c.estado != Estado::atendiendo && c.plazo <= ahora) cortar(c);
}

void* TAceptador::alAbrir(int socket) {
    std::lock_guard<std::mutex> l(m_);
    const auto i = porSocket_.find(socket);
    if (i == porSocket_.end() || i->second->enlazada) return nullptr;
    i->second->enlazada = true;
    return &*i->second;
}

void TAceptador::alCerrar(void* contexto) {
    if (!contexto) return;
    std::lock_guard<std::mutex> l(m_);
    const auto i = porSocket_.find(static_cast<TConexion*>(contexto)->socket);
    if (i != porSocket_.end() && &*i->second == contexto) quitar(i->second);
}

void TAceptador::pedidoCompleto(void* contexto) {
    if (!contexto) return;
    std::lock_guard<std::mutex> l(m_);
    static_cast<TConexion*>(contexto)->estado = Estado::atendiendo;
}

void TAceptador::respuestaEnviada(void* contexto) {
    if (!contexto) return;
    std::lock_guard<std::mutex> l(m_);
    auto& c = *static_cast<TConexion*>(contexto);
    c.estado = Estado::entrePedidos;
    c.plazo = datos_.sesiones.ahora() + espera_;
}
