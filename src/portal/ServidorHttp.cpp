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

/// What the door keeps of a connection.
void* contextoDe(MHD_Connection* conexion) {
    const MHD_ConnectionInfo* info = MHD_get_connection_info(conexion, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info ? info->socket_context : nullptr;
}

bool esControl(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7f; }

/// A path whose decoded form holds a control character (a NUL above all)
/// would be read as one path here and as another by whatever C string
/// comes after: "/decisiones%00/../x" is not "/decisiones".
bool rutaConControles(std::string_view cruda) {
    cruda = cruda.substr(0, cruda.find('?'));
    for (std::size_t i = 0; i < cruda.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(cruda[i]);
        if (c == '%' && i + 2 < cruda.size() && std::isxdigit(static_cast<unsigned char>(cruda[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(cruda[i + 2]))) {
            std::from_chars(cruda.data() + i + 1, cruda.data() + i + 3, c, 16);
            i += 2;
        }
        if (c < 0x20 || c == 0x7f) return true;
    }
    return false;
}

/// A header name is a token (RFC 9110): "Content-Length " with a blank
/// before the colon is no Content-Length, and must not pass for another header.
bool esNombreDeCabecera(std::string_view nombre) {
    static constexpr std::string_view kSignos = "!#$%&'*+-.^_`|~";
    return !nombre.empty() && std::all_of(nombre.begin(), nombre.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || kSignos.find(c) != std::string_view::npos;
    });
}

struct TCuenta {
    int largos = 0, transferencias = 0, anfitriones = 0;
    bool malFormada = false;
    const char* finAnterior = nullptr;  // where the previous header's value ended
};

/// libmicrohttpd 0.9.75 splits the headers in its read buffer, turning each
/// line end into NULs, and a value ends at its first NUL: whatever a client
/// hid after a NUL lies between that value's end and the next name.
bool huboNul(const char* finAnterior, const char* siguiente) {
    const std::ptrdiff_t entre = siguiente - finAnterior;
    return entre > 2 && entre < std::ptrdiff_t(TPortal::kMemoriaPorConexion) && finAnterior[0] == '\0' &&
           siguiente[-1] == '\0';
}

MHD_Result contarCabecera(void* c, MHD_ValueKind, const char* clave, size_t largoClave, const char* valor,
                          size_t largoValor) {
    auto& n = *static_cast<TCuenta*>(c);
    const std::string_view nombre(clave, largoClave), texto(valor ? valor : "", valor ? largoValor : 0);
    if (igualesSinMayusculas(nombre, "Content-Length")) ++n.largos;
    if (igualesSinMayusculas(nombre, "Transfer-Encoding")) ++n.transferencias;
    if (igualesSinMayusculas(nombre, "Host")) ++n.anfitriones;
    if (!esNombreDeCabecera(nombre) || std::any_of(texto.begin(), texto.end(), [](char x) { return esControl(x); }) ||
        (n.finAnterior && huboNul(n.finAnterior, clave)))
        n.malFormada = true;
    n.finAnterior = valor ? valor + largoValor : nullptr;
    return MHD_YES;
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
    : datos_(datos), trabajador_(portal, datos, juego, turnoJuego_), manejadores_(datos, juego, trabajador_),
      aceptador_(datos) {}

TServidorPortal::~TServidorPortal() { detener(); }

quint16 TServidorPortal::iniciar(const QHostAddress& direccion, quint16 puerto, unsigned conexiones) {
    quint16 abierto = aceptador_.escuchar(direccionDeEscucha(direccion, puerto), TPortal::kColaDeEspera);
    // A machine without IPv6 still serves IPv4.
    if (abierto == 0 && direccion == QHostAddress::Any) abierto = aceptador_.escuchar(cualquierIpv4(puerto), TPortal::kColaDeEspera);
    if (abierto == 0) return 0;
    trabajador_.iniciar();
    demonio_ = arrancar(conexiones);
    if (!demonio_) {
        detener();
        return 0;
    }
    aceptador_.iniciar(conexiones, [this](int s, const sockaddr* d, socklen_t largo) {
        return MHD_add_connection(demonio_, s, d, largo) == MHD_YES;
    });
    return abierto;
}

// Every limit acts at the socket, before a request is read: the door
// counts and cuts connections, the daemon bounds each one's memory and idleness.
MHD_Daemon* TServidorPortal::arrancar(unsigned conexiones) {
    std::chrono::seconds espera;
    {
        std::lock_guard<std::mutex> l(datos_.m);
        espera = datos_.espera;
    }
    const unsigned banderas = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME |
                              MHD_USE_NO_LISTEN_SOCKET | MHD_USE_ITC;
    return MHD_start_daemon(banderas, 0, nullptr, nullptr, &TServidorPortal::alPedido, this,
                            MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<size_t>(TPortal::kMemoriaPorConexion),
                            // Room for the connections the door cut and the daemon has not closed yet.
                            MHD_OPTION_CONNECTION_LIMIT, conexiones + TAceptador::kHolgura,
                            MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(espera.count()),
                            MHD_OPTION_STRICT_FOR_CLIENT, 1,
                            MHD_OPTION_THREAD_POOL_SIZE, kHilos,
                            MHD_OPTION_URI_LOG_CALLBACK, &TServidorPortal::alLlegarRuta, this,
                            MHD_OPTION_NOTIFY_CONNECTION, &TServidorPortal::alConectar, this,
                            MHD_OPTION_NOTIFY_COMPLETED, &TServidorPortal::alTerminar, this,
                            MHD_OPTION_END);
}

void TServidorPortal::detener() {
    aceptador_.detener();
    trabajador_.detener();
    if (demonio_) MHD_stop_daemon(demonio_);
    demonio_ = nullptr;
}

void* TServidorPortal::alLlegarRuta(void*, const char* ruta, MHD_Connection*) {
    // The path as it came, before the daemon decodes it: the request starts here.
    auto* p = new TPedido;
    p->rutaCruda = ruta;
    return p;
}

void TServidorPortal::alConectar(void* yo, MHD_Connection* conexion, void** contexto, MHD_ConnectionNotificationCode que) {
    auto& s = *static_cast<TServidorPortal*>(yo);
    if (que == MHD_CONNECTION_NOTIFY_CLOSED) {
        s.aceptador_.alCerrar(*contexto);
        *contexto = nullptr;
        return;
    }
    const MHD_ConnectionInfo* info = MHD_get_connection_info(conexion, MHD_CONNECTION_INFO_CONNECTION_FD);
    *contexto = info ? s.aceptador_.alAbrir(info->connect_fd) : nullptr;
}

MHD_Result TServidorPortal::alPedido(void* yo, MHD_Connection* conexion, const char* ruta, const char* metodo,
                                     const char*, const char* datos, size_t* tamano, void** estado) {
    auto& s = *static_cast<TServidorPortal*>(yo);
    auto* p = static_cast<TPedido*>(*estado);
    if (p && p->conexion) {
        if (*tamano > 0) return s.alLlegarCuerpo(*p, datos, tamano);
        s.aceptador_.pedidoCompleto(contextoDe(conexion));
        return s.alTerminarPedido(*p);
    }
    // The headers are here and nothing of the body has been read.
    if (!p) *estado = p = new TPedido;
    p->conexion = conexion;
    p->metodo = metodo;
    p->ruta = ruta;
    const MHD_ConnectionInfo* info = MHD_get_connection_info(conexion, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    p->direccion = textoDireccion(info ? info->client_addr : nullptr);
    p->clave = claveDeDireccion(info ? info->client_addr : nullptr);
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

void TServidorPortal::alTerminar(void* yo, MHD_Connection* conexion, void** estado, MHD_RequestTerminationCode) {
    static_cast<TServidorPortal*>(yo)->aceptador_.respuestaEnviada(contextoDe(conexion));
    delete static_cast<TPedido*>(*estado);
    *estado = nullptr;
}

/// What the headers alone refuse: framing that two programs could read
/// two ways, a body too big, a POST from a page of another site.
std::optional<TRespuesta> TServidorPortal::revisarEncabezados(const TPedido& p) const {
    TCuenta cuenta;
    MHD_get_connection_values_n(p.conexion, MHD_HEADER_KIND, &contarCabecera, &cuenta);
    // After the last value come at least two line ends, both NULs by now.
    if (cuenta.finAnterior && cuenta.finAnterior[0] == '\0' && cuenta.finAnterior[1] != '\0') cuenta.malFormada = true;
    if (cuenta.malFormada || cuenta.anfitriones > 1 || rutaConControles(p.rutaCruda)) {
        TRespuesta r = mensaje(400, QStringLiteral("Pedido mal formado"),
                               QStringLiteral("El pedido tiene una cabecera o una dirección mal escrita."));
        r.cerrar = true;
        return r;
    }
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
