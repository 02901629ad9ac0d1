#include "portal/ServidorHttp.h"

#include "portal/DatosPortal.h"
#include "portal/Portal.h"
#include "portal/Red.h"
#include "portal/Rutas.h"

#include <algorithm>
#include <charconv>
#include <cctype>

namespace {

bool igualesSinMayusculas(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

/// A POST comes from the portal's own pages: the browser says so, or
/// (an older browser, a program) says nothing of where it comes from.
bool delMismoSitio(const TPedido& p) {
    const std::string sitio = p.cabecera("Sec-Fetch-Site").value_or("");
    if (!sitio.empty() && sitio != "same-origin" && sitio != "none") return false;
    const auto origen = p.cabecera("Origin");
    if (!origen) return true;
    const std::string anfitrion = p.cabecera("Host").value_or("");
    return !anfitrion.empty() && igualesSinMayusculas(*origen, "http://" + anfitrion);
}

}  // namespace

std::optional<std::string> TPedido::cabecera(const char* nombre) const {
    const char* valor = MHD_lookup_connection_value(conexion, MHD_HEADER_KIND, nombre);
    if (!valor) return std::nullopt;
    return std::string(valor);
}

std::string TPedido::tokenDeSesion() const {
    const char* valor = MHD_lookup_connection_value(conexion, MHD_COOKIE_KIND, "sesion");
    return valor ? valor : "";
}

TServidorPortal::TServidorPortal(TPortal& portal, TDatosPortal& datos, TJuego& juego)
    : datos_(datos), trabajador_(portal, datos, juego, turnoJuego_), manejadores_(datos, juego, trabajador_) {}

TServidorPortal::~TServidorPortal() { detener(); }

quint16 TServidorPortal::iniciar(const QHostAddress& direccion, quint16 puerto, unsigned conexiones) {
    unsigned banderas = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME;
    const bool todas = direccion == QHostAddress::Any;
    if (todas) banderas |= MHD_USE_DUAL_STACK;
    else if (direccion.protocol() == QAbstractSocket::IPv6Protocol) banderas |= MHD_USE_IPv6;
    sockaddr_storage lugar = direccionDeEscucha(direccion, puerto);
    trabajador_.iniciar();
    demonio_ = arrancar(banderas, puerto, lugar, conexiones);
    if (!demonio_ && todas) {
        // A machine without IPv6 still serves IPv4.
        lugar = cualquierIpv4(puerto);
        demonio_ = arrancar(banderas & ~unsigned(MHD_USE_DUAL_STACK), puerto, lugar, conexiones);
    }
    if (!demonio_) {
        detener();
        return 0;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(demonio_, MHD_DAEMON_INFO_BIND_PORT);
    return info ? info->port : puerto;
}

// Every limit acts at the socket, before a request is read.
MHD_Daemon* TServidorPortal::arrancar(unsigned banderas, quint16 puerto, sockaddr_storage& lugar, unsigned conexiones) {
    std::chrono::seconds espera;
    {
        std::lock_guard<std::mutex> l(datos_.m);
        espera = datos_.espera;
    }
    return MHD_start_daemon(banderas, puerto, nullptr, nullptr, &TServidorPortal::alPedido, this,
                            MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&lugar),
                            MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<size_t>(TPortal::kMemoriaPorConexion),
                            MHD_OPTION_CONNECTION_LIMIT, conexiones,
                            MHD_OPTION_PER_IP_CONNECTION_LIMIT, TPortal::kConexionesPorDireccion,
                            MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(espera.count()),
                            MHD_OPTION_LISTEN_BACKLOG_SIZE, static_cast<unsigned>(TPortal::kColaDeEspera),
                            MHD_OPTION_STRICT_FOR_CLIENT, 1,
                            MHD_OPTION_THREAD_POOL_SIZE, kHilos,
                            MHD_OPTION_NOTIFY_COMPLETED, &TServidorPortal::alTerminar, this,
                            MHD_OPTION_END);
}

void TServidorPortal::detener() {
    trabajador_.detener();
    if (demonio_) MHD_stop_daemon(demonio_);
    demonio_ = nullptr;
}

MHD_Result TServidorPortal::alPedido(void* yo, MHD_Connection* conexion, const char* ruta, const char* metodo,
                                     const char*, const char* datos, size_t* tamano, void** estado) {
    auto& s = *static_cast<TServidorPortal*>(yo);
    auto* p = static_cast<TPedido*>(*estado);
    if (p) return *tamano > 0 ? s.alLlegarCuerpo(*p, datos, tamano) : s.alTerminarPedido(*p);
    // The headers are here and nothing of the body has been read.
    p = new TPedido;
    *estado = p;
    p->conexion = conexion;
    p->metodo = metodo;
    p->ruta = ruta;
    const MHD_ConnectionInfo* info = MHD_get_connection_info(conexion, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    p->direccion = textoDireccion(info ? info->client_addr : nullptr);
    if (auto r = s.revisarEncabezados(*p)) return responder(conexion, *r);
    return MHD_YES;
}

MHD_Result TServidorPortal::alLlegarCuerpo(TPedido& p, const char* datos, size_t* tamano) {
    if (!p.demasiado && p.cuerpo.size() + *tamano <= std::size_t(TPortal::kCuerpoMaximo))
        p.cuerpo.append(datos, *tamano);
    else
        p.demasiado = true;
    *tamano = 0;
    // A body without a length that grows too big: answered at once.
    if (p.demasiado) return responder(p.conexion, demasiadoGrande());
    return MHD_YES;
}

MHD_Result TServidorPortal::alTerminarPedido(TPedido& p) {
    if (p.respuesta) return responder(p.conexion, *p.respuesta);
    if (p.suspendido) return MHD_YES;
    TRespuesta r;
    try {
        std::shared_lock<std::shared_mutex> turno(turnoJuego_);
        auto respuesta = atender(manejadores_, p);
        if (!respuesta) return MHD_YES;  // left to the worker
        r = std::move(*respuesta);
    } catch (const std::exception& e) {
        r = errorDelJuego(e);
    }
    return responder(p.conexion, r);
}

void TServidorPortal::alTerminar(void*, MHD_Connection*, void** estado, MHD_RequestTerminationCode) {
    delete static_cast<TPedido*>(*estado);
    *estado = nullptr;
}

/// What the headers alone refuse: framing that two programs could read
/// two ways, a body too big, a POST from a page of another site.
std::optional<TRespuesta> TServidorPortal::revisarEncabezados(const TPedido& p) const {
    struct TCuenta {
        int largos = 0, transferencias = 0;
    } cuenta;
    MHD_get_connection_values(
        p.conexion, MHD_HEADER_KIND,
        [](void* c, MHD_ValueKind, const char* clave, const char*) -> MHD_Result {
            auto& n = *static_cast<TCuenta*>(c);
            if (igualesSinMayusculas(clave, "Content-Length")) ++n.largos;
            if (igualesSinMayusculas(clave, "Transfer-Encoding")) ++n.transferencias;
            return MHD_YES;
        },
        &cuenta);
    const std::string largo = p.cabecera("Content-Length").value_or("");
    const bool soloCifras = !largo.empty() && largo.size() <= 18 &&
                            std::all_of(largo.begin(), largo.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (cuenta.largos > 1 || cuenta.transferencias > 1 || (cuenta.largos && cuenta.transferencias) ||
        (cuenta.largos && !soloCifras) ||
        (cuenta.transferencias && !igualesSinMayusculas(p.cabecera("Transfer-Encoding").value_or(""), "chunked"))) {
        TRespuesta r = mensaje(400, QStringLiteral("Pedido mal formado"),
                               QStringLiteral("El pedido no dice de una sola manera dónde termina."));
        r.cerrar = true;
        return r;
    }
    long long bytes = 0;
    if (cuenta.largos) std::from_chars(largo.data(), largo.data() + largo.size(), bytes);
    if (bytes > TPortal::kCuerpoMaximo) return demasiadoGrande();
    if (p.metodo == "POST" && !delMismoSitio(p)) {
        TRespuesta r = mensaje(403, QStringLiteral("Pedido rechazado"),
                               QStringLiteral("El pedido viene de una página de otro sitio. Abra el portal "
                                              "escribiendo su dirección y vuelva a intentar."));
        r.cerrar = true;
        return r;
    }
    return std::nullopt;
}
