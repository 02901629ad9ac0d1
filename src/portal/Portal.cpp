#include "portal/Portal.h"

#include "portal/Paginas.h"

#include "documentos/Documentos.h"
#include "engine/ValidarDecision.h"
#include "juego/Juego.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <QNetworkInterface>

#include <microhttpd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <shared_mutex>
#include <thread>

namespace {

using Reloj = std::chrono::steady_clock;
using Pared = std::chrono::system_clock;

const QString kOcupado = QStringLiteral("El docente está usando el juego en este momento. Espere unos segundos y "
                                        "vuelva a enviar o a abrir la página: no se guardó nada.");

struct TRespuesta {
    int estado = 200;
    QByteArray cuerpo;
    QByteArray tipo = "text/html; charset=utf-8";
    std::vector<std::pair<QByteArray, QByteArray>> cabeceras;
    bool cerrar = false;  ///< the connection ends after it (a body left unread)
};

TRespuesta html(QByteArray cuerpo, int estado = 200) { return {estado, std::move(cuerpo), "text/html; charset=utf-8", {}}; }

TRespuesta redirigir(const QByteArray& destino) {
    TRespuesta r{303, {}, "text/plain; charset=utf-8", {}};
    r.cabeceras.emplace_back("Location", destino);
    return r;
}

TRespuesta mensaje(int estado, const QString& titulo, const QString& texto) {
    return html(pagina(titulo, QStringLiteral("<h1>%1</h1><p>%2</p><p><a href=\"/decisiones\">Volver</a></p>")
                                   .arg(escaparHtml(titulo), escaparHtml(texto))),
                estado);
}

TRespuesta noEncontrada() { return mensaje(404, QStringLiteral("No encontrada"), QStringLiteral("Esa página no existe.")); }

TRespuesta noPermitido(const QByteArray& permitidos) {
    TRespuesta r = mensaje(405, QStringLiteral("No permitido"), QStringLiteral("Esa página no acepta este pedido."));
    r.cabeceras.emplace_back("Allow", permitidos);
    return r;
}

TRespuesta errorDelJuego(const std::exception& e) {
    const QString texto = QString::fromUtf8(e.what());
    // A run or another program holds the game for a moment.
    if (dynamic_cast<const ErrorJuegoEnUso*>(&e)) return mensaje(503, QStringLiteral("Un momento"), kOcupado);
    if (dynamic_cast<const ErrorJuego*>(&e))
        return mensaje(409, QStringLiteral("No se puede ahora"), texto + QStringLiteral(" No se guardó nada."));
    return mensaje(500, QStringLiteral("Error"), QStringLiteral("El programa del docente no pudo responder: %1").arg(texto));
}

std::string tokenAleatorio() {
    unsigned char azar[32];
    bytesAleatorios(azar, sizeof azar);
    return QByteArray(reinterpret_cast<const char*>(azar), sizeof azar).toHex().toStdString();
}

QString utf8(const std::string& texto1252) { return QString::fromStdString(cp1252AUtf8(texto1252)); }

/// A period number of a path: plain digits, 0 to 10.
std::optional<int> periodoDe(const std::string& texto) {
    if (texto.empty() || texto.size() > 2) return std::nullopt;
    for (char c : texto)
        if (c < '0' || c > '9') return std::nullopt;
    const auto n = leerEntero(texto);
    if (!n || *n > 10) return std::nullopt;
    return *n;
}

bool igualesSinMayusculas(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string textoDireccion(const sockaddr* direccion) {
    char texto[INET6_ADDRSTRLEN] = {};
    if (!direccion) return "?";
    if (direccion->sa_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(direccion)->sin_addr, texto, sizeof texto);
    } else if (direccion->sa_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(direccion);
        // An IPv4 client of a dual-stack socket is named as IPv4.
        if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr)) inet_ntop(AF_INET, &v6->sin6_addr.s6_addr[12], texto, sizeof texto);
        else inet_ntop(AF_INET6, &v6->sin6_addr, texto, sizeof texto);
    }
    return texto;
}

}  // namespace

struct TPortal::TDatos {
    struct TSesion {
        std::string empresa;  // Windows-1252
        std::string codigo;   // the code it entered with: renewing it ends the session
        std::string csrf;
        Reloj::time_point creada;
        Reloj::time_point ultimoUso;
    };
    mutable std::mutex m;  // everything below; never held while a file is read
    std::map<std::string, TSesion> sesiones;
    std::map<std::string, std::deque<Reloj::time_point>> fallidos;  // per address, within the last minute
    std::deque<Reloj::time_point> fallidosTodos;
    std::function<Reloj::time_point()> reloj = [] { return Reloj::now(); };
    std::function<Pared::time_point()> pared = [] { return Pared::now(); };
    std::chrono::seconds espera = TPortal::kEspera;
    std::optional<Pared::time_point> plazo;
    int periodoDelPlazo = 0;
    // Each PDF is built once, until the game moves (a run, a step back).
    TMarca marcaPdf;
    std::map<std::pair<std::string, int>, QByteArray> pdfs;
    // The previous period's decisions that fill the forms, read once per game state.
    TMarca marcaAnteriores;
    std::map<std::string, TRegDecision> anteriores;

    void olvidarFallidos(Reloj::time_point ahora) {
        const auto viejo = [&](Reloj::time_point t) { return ahora - t >= TPortal::kBloqueo; };
        while (!fallidosTodos.empty() && viejo(fallidosTodos.front())) fallidosTodos.pop_front();
        for (auto i = fallidos.begin(); i != fallidos.end();) {
            while (!i->second.empty() && viejo(i->second.front())) i->second.pop_front();
            i = i->second.empty() ? fallidos.erase(i) : std::next(i);
        }
    }
    Reloj::time_point ultimaLimpieza{};
    // Sessions past their life are dropped when they are used, and all of
    // them once a minute: a login does not walk thousands of sessions.
    void olvidarSesionesViejas(Reloj::time_point ahora) {
        if (ahora - ultimaLimpieza < std::chrono::minutes(1) && ahora >= ultimaLimpieza) return;
        ultimaLimpieza = ahora;
        for (auto i = sesiones.begin(); i != sesiones.end();)
            i = ahora - i->second.ultimoUso > TPortal::kVidaSesion ? sesiones.erase(i) : std::next(i);
    }
    /// Drops the oldest session among those that cumplen, when there are limite or more.
    template <class Condicion> void dejarLugar(std::size_t limite, Condicion cumple) {
        for (;;) {
            std::size_t cuantas = 0;
            auto masVieja = sesiones.end();
            for (auto i = sesiones.begin(); i != sesiones.end(); ++i)
                if (cumple(i->second)) {
                    ++cuantas;
                    if (masVieja == sesiones.end() || i->second.creada < masVieja->second.creada) masVieja = i;
                }
            if (cuantas < limite || masVieja == sesiones.end()) return;
            sesiones.erase(masVieja);
        }
    }
};

/// One request of a connection, from its headers to its answer.
struct TPedido {
    MHD_Connection* conexion = nullptr;
    std::string metodo, ruta, direccion;
    std::string cuerpo;
    bool demasiado = false;
    bool suspendido = false;
    std::optional<TRespuesta> respuesta;  // set by the worker before it resumes the connection
};

/// A slow task left to the worker: a submission or a PDF to build.
struct TTarea {
    TPedido* pedido = nullptr;
    bool esPdf = false;
    std::string token, empresa, codigo;
    int periodo = 0;  // of the form (0 when it said none) or of the PDF
    QMap<QString, QString> valores;
    QMap<QString, QString> erroresCampo;
    QString motivo;  // refused before reaching the game
    int estadoRechazo = 400;
    TRegDecision decision{};
    Pared::time_point momento;
};

/// The HTTP side. Requests are read and answered on libmicrohttpd's thread
/// with its own TJuego (lector_); submissions and PDFs go to one worker
/// thread with another (trabajador_), which stores what has arrived
/// together under one lock and answers each.
class TServidorPortal {
public:
    TServidorPortal(TPortal& portal, TJuego& juego)
        : portal_(portal), d_(*portal.datos_), juego_(juego), trabajador_(juego.ruta(), juego.sistemaArchivos()) {}
    ~TServidorPortal() { detener(); }

    quint16 iniciar(const QHostAddress& direccion, quint16 puerto, unsigned conexiones) {
        sockaddr_storage lugar{};
        unsigned banderas = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME;
        const bool todas = direccion == QHostAddress::Any;
        if (todas || direccion.protocol() == QAbstractSocket::IPv6Protocol) {
            auto* v6 = reinterpret_cast<sockaddr_in6*>(&lugar);
            v6->sin6_family = AF_INET6;
            v6->sin6_port = htons(puerto);
            const Q_IPV6ADDR ip = todas ? QHostAddress(QHostAddress::AnyIPv6).toIPv6Address() : direccion.toIPv6Address();
            std::memcpy(&v6->sin6_addr, &ip, sizeof ip);
            banderas |= todas ? MHD_USE_DUAL_STACK : MHD_USE_IPv6;
        } else {
            auto* v4 = reinterpret_cast<sockaddr_in*>(&lugar);
            v4->sin_family = AF_INET;
            v4->sin_port = htons(puerto);
            v4->sin_addr.s_addr = htonl(direccion.toIPv4Address());
        }
        hilo_ = std::thread([this] { trabajar(); });
        // Every limit acts at the socket, before a request is read.
        const auto arrancar = [&](unsigned conBanderas) {
            return MHD_start_daemon(
                conBanderas, puerto, nullptr, nullptr, &TServidorPortal::alPedido, this,
                MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&lugar),
                MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<size_t>(TPortal::kMemoriaPorConexion),
                MHD_OPTION_CONNECTION_LIMIT, conexiones,
                MHD_OPTION_PER_IP_CONNECTION_LIMIT, TPortal::kConexionesPorDireccion,
                MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(d_.espera.count()),
                MHD_OPTION_LISTEN_BACKLOG_SIZE, static_cast<unsigned>(TPortal::kColaDeEspera),
                MHD_OPTION_STRICT_FOR_CLIENT, 1,
                MHD_OPTION_THREAD_POOL_SIZE, kHilos,
                MHD_OPTION_NOTIFY_COMPLETED, &TServidorPortal::alTerminar, this,
                MHD_OPTION_END);
        };
        demonio_ = arrancar(banderas);
        if (!demonio_ && todas) {
            // A machine without IPv6 still serves IPv4.
            auto* v4 = reinterpret_cast<sockaddr_in*>(&lugar);
            lugar = {};
            v4->sin_family = AF_INET;
            v4->sin_port = htons(puerto);
            v4->sin_addr.s_addr = htonl(INADDR_ANY);
            demonio_ = arrancar(banderas & ~unsigned(MHD_USE_DUAL_STACK));
        }
        if (!demonio_) {
            detener();
            return 0;
        }
        const MHD_DaemonInfo* info = MHD_get_daemon_info(demonio_, MHD_DAEMON_INFO_BIND_PORT);
        return info ? info->port : puerto;
    }

    /// Answers what waits, then closes every connection.
    void detener() {
        {
            std::lock_guard<std::mutex> l(colaM_);
            fin_ = true;
        }
        colaCv_.notify_all();
        if (hilo_.joinable()) hilo_.join();
        if (demonio_) MHD_stop_daemon(demonio_);
        demonio_ = nullptr;
    }

private:
    using TSesion = TPortal::TDatos::TSesion;
    // Two threads read the game at once: a classroom's machine has two cores or more.
    static constexpr unsigned kHilos = 2;

    // libmicrohttpd's callbacks.
    static MHD_Result alPedido(void* yo, MHD_Connection* conexion, const char* ruta, const char* metodo, const char*,
                               const char* datos, size_t* tamano, void** estado) {
        auto& s = *static_cast<TServidorPortal*>(yo);
        auto* p = static_cast<TPedido*>(*estado);
        if (!p) {
            // The headers are here and nothing of the body has been read.
            p = new TPedido;
            *estado = p;
            p->conexion = conexion;
            p->metodo = metodo;
            p->ruta = ruta;
            const MHD_ConnectionInfo* info = MHD_get_connection_info(conexion, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
            p->direccion = textoDireccion(info ? info->client_addr : nullptr);
            if (auto r = s.revisarEncabezados(*p)) return s.responder(*p, *r);
            return MHD_YES;
        }
        if (*tamano > 0) {
            if (!p->demasiado && p->cuerpo.size() + *tamano <= std::size_t(TPortal::kCuerpoMaximo))
                p->cuerpo.append(datos, *tamano);
            else
                p->demasiado = true;
            *tamano = 0;
            // A body without a length that grows too big: answered at once.
            if (p->demasiado) {
                TRespuesta r = demasiadoGrande();
                return s.responder(*p, r);
            }
            return MHD_YES;
        }
        if (p->respuesta) return s.responder(*p, *p->respuesta);
        if (p->suspendido) return MHD_YES;
        TRespuesta r;
        try {
            std::shared_lock<std::shared_mutex> turno(s.turnoJuego_);
            if (!s.atender(*p, r)) return MHD_YES;  // left to the worker
        } catch (const std::exception& e) {
            r = errorDelJuego(e);
        }
        return s.responder(*p, r);
    }

    static void alTerminar(void*, MHD_Connection*, void** estado, MHD_RequestTerminationCode) {
        delete static_cast<TPedido*>(*estado);
        *estado = nullptr;
    }

    static TRespuesta demasiadoGrande() {
        TRespuesta r = mensaje(413, QStringLiteral("Demasiado grande"),
                               QStringLiteral("El pedido supera los 16 KiB que acepta el portal."));
        r.cerrar = true;
        return r;
    }

    MHD_Result responder(TPedido& p, const TRespuesta& r) {
        MHD_Response* respuesta = MHD_create_response_from_buffer(static_cast<size_t>(r.cuerpo.size()),
                                                                  const_cast<char*>(r.cuerpo.constData()),
                                                                  MHD_RESPMEM_MUST_COPY);
        if (!respuesta) return MHD_NO;
        const std::pair<const char*, QByteArray> fijas[] = {
            {"Content-Type", r.tipo},
            {"Content-Security-Policy",
             "default-src 'none'; style-src 'unsafe-inline'; form-action 'self'; frame-ancestors 'none'"},
            {"X-Content-Type-Options", "nosniff"},
            // Not "no-referrer": under it a browser sends "Origin: null" with
            // the portal's own forms, which the origin check must refuse.
            {"Referrer-Policy", "same-origin"},
            {"Cache-Control", "no-store"},
            {"X-Frame-Options", "DENY"},
        };
        for (const auto& [clave, valor] : fijas) MHD_add_response_header(respuesta, clave, valor.constData());
        for (const auto& [clave, valor] : r.cabeceras)
            MHD_add_response_header(respuesta, clave.constData(), valor.constData());
        if (r.cerrar) MHD_add_response_header(respuesta, "Connection", "close");
        const MHD_Result hecho = MHD_queue_response(p.conexion, static_cast<unsigned>(r.estado), respuesta);
        MHD_destroy_response(respuesta);
        return hecho;
    }

    std::string cabecera(const TPedido& p, const char* nombre) const {
        const char* valor = MHD_lookup_connection_value(p.conexion, MHD_HEADER_KIND, nombre);
        return valor ? valor : "";
    }

    /// What the headers alone refuse: framing that two programs could read
    /// two ways, a body too big, a POST from a page of another site.
    std::optional<TRespuesta> revisarEncabezados(const TPedido& p) {
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
        const std::string largo = cabecera(p, "Content-Length");
        const bool soloCifras = !largo.empty() && largo.size() <= 18 &&
                                std::all_of(largo.begin(), largo.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (cuenta.largos > 1 || cuenta.transferencias > 1 || (cuenta.largos && cuenta.transferencias) ||
            (cuenta.largos && !soloCifras) ||
            (cuenta.transferencias && !igualesSinMayusculas(cabecera(p, "Transfer-Encoding"), "chunked"))) {
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

    /// A POST comes from the portal's own pages: the browser says so, or
    /// (an older browser, a program) says nothing of where it comes from.
    bool delMismoSitio(const TPedido& p) const {
        const std::string sitio = cabecera(p, "Sec-Fetch-Site");
        if (!sitio.empty() && sitio != "same-origin" && sitio != "none") return false;
        if (MHD_lookup_connection_value(p.conexion, MHD_HEADER_KIND, "Origin") == nullptr) return true;
        const std::string origen = cabecera(p, "Origin"), anfitrion = cabecera(p, "Host");
        return !anfitrion.empty() && igualesSinMayusculas(origen, "http://" + anfitrion);
    }

    /// Answers into r and returns true, or leaves the request to the worker.
    bool atender(TPedido& p, TRespuesta& r) {
        const std::string& ruta = p.ruta;
        // HEAD is GET without a body (libmicrohttpd sends none).
        const bool get = p.metodo == "GET" || p.metodo == "HEAD";
        const bool post = p.metodo == "POST";
        if (ruta == "/") {
            if (!get) r = noPermitido("GET, HEAD");
            else if (sesionDe(p)) r = redirigir("/decisiones");
            else r = html(paginaEntrada());
            return true;
        }
        if (ruta == "/entrar") {
            r = post ? entrar(p) : noPermitido("POST");
            return true;
        }
        if (ruta == "/salir") {
            r = post ? salir(p) : noPermitido("POST");
            return true;
        }
        if (ruta == "/decisiones") {
            if (post) return enviar(p, r);
            r = get ? verDecisiones(p) : noPermitido("GET, HEAD, POST");
            return true;
        }
        for (const char* tipo : {"reportes", "industria", "pdf"}) {
            const std::string prefijo = std::string("/") + tipo + "/";
            if (ruta.rfind(prefijo, 0) != 0) continue;
            const auto periodo = periodoDe(ruta.substr(prefijo.size()));
            if (!periodo) r = noEncontrada();
            else if (!get) r = noPermitido("GET, HEAD");
            else return reporte(p, tipo, *periodo, r);
            return true;
        }
        r = noEncontrada();
        return true;
    }

    std::string tokenDe(const TPedido& p) const {
        const char* valor = MHD_lookup_connection_value(p.conexion, MHD_COOKIE_KIND, "sesion");
        return valor ? valor : "";
    }

    /// The request's session, when it has a live one whose team still plays
    /// with the code it entered with.
    std::optional<TSesion> sesionDe(const TPedido& p, TLecturaPortal* lectura = nullptr) {
        const std::string token = tokenDe(p);
        std::optional<TSesion> sesion = sesionEnMemoria(token);
        if (!sesion) return std::nullopt;
        TLecturaPortal leida = lector().lecturaDelPortal(sesion->codigo);
        const auto equipo = leida.equipo;
        if (lectura) *lectura = std::move(leida);
        if (!equipo || *equipo != sesion->empresa) {
            std::lock_guard<std::mutex> l(d_.m);
            d_.sesiones.erase(token);
            return std::nullopt;
        }
        return sesion;
    }

    /// The session from memory alone: a submission's code is checked again
    /// when it is stored.
    std::optional<TSesion> sesionEnMemoria(const std::string& token) {
        std::lock_guard<std::mutex> l(d_.m);
        const auto lugar = d_.sesiones.find(token);
        if (token.empty() || lugar == d_.sesiones.end()) return std::nullopt;
        const auto ahora = d_.reloj();
        if (ahora - lugar->second.ultimoUso > TPortal::kVidaSesion) {
            d_.sesiones.erase(lugar);
            return std::nullopt;
        }
        lugar->second.ultimoUso = ahora;
        return lugar->second;
    }

    static bool csrfValido(const TSesion& sesion, const QMap<QString, QString>& campos) {
        const std::string dado = campos.value(QStringLiteral("csrf")).toStdString();
        return igualesTiempoConstante(dado, sesion.csrf);
    }

    static TRespuesta csrfRechazado() {
        return mensaje(403, QStringLiteral("Pedido rechazado"),
                       QStringLiteral("El formulario no es válido o es de una sesión anterior. Abra la página de "
                                      "nuevo y vuelva a enviarlo."));
    }

    TRespuesta entrar(const TPedido& p) {
        const auto ahora = d_.reloj();
        {
            std::lock_guard<std::mutex> l(d_.m);
            d_.olvidarFallidos(ahora);
            const auto lugar = d_.fallidos.find(p.direccion);
            if (lugar != d_.fallidos.end() && lugar->second.size() >= std::size_t(TPortal::kIntentosFallidos))
                return html(paginaEntrada(QStringLiteral("Hubo demasiados intentos fallidos desde esta dirección. "
                                                         "Espere un minuto y vuelva a intentar.")),
                            429);
            if (d_.fallidosTodos.size() >= std::size_t(TPortal::kFallidosPorMinuto))
                return html(paginaEntrada(QStringLiteral("Hubo demasiados códigos errados en el portal en el último "
                                                         "minuto. Espere un minuto y vuelva a intentar.")),
                            429);
        }
        const auto campos = leerFormulario(QByteArray::fromStdString(p.cuerpo));
        const auto codigo = utf8ACp1252(campos.value(QStringLiteral("codigo")).left(64).toStdString());
        const auto empresa = codigo ? lector().equipoDelCodigo(*codigo) : std::nullopt;
        std::lock_guard<std::mutex> l(d_.m);
        if (!empresa) {
            // A success later does not wipe these out: they expire by the minute.
            d_.fallidos[p.direccion].push_back(ahora);
            d_.fallidosTodos.push_back(ahora);
            return html(paginaEntrada(QStringLiteral("El código no es válido. Revíselo y vuelva a escribirlo.")), 403);
        }
        d_.olvidarSesionesViejas(ahora);
        d_.dejarLugar(TPortal::kSesionesPorEquipo, [&](const TSesion& s) { return s.empresa == *empresa; });
        if (d_.sesiones.size() >= TPortal::kSesionesEnTotal)
            d_.dejarLugar(TPortal::kSesionesEnTotal, [](const TSesion&) { return true; });
        const std::string token = tokenAleatorio();
        d_.sesiones[token] = {*empresa, normalizarCodigo(*codigo), tokenAleatorio(), ahora, ahora};
        TRespuesta r = redirigir("/decisiones");
        r.cabeceras.emplace_back("Set-Cookie", QByteArray::fromStdString("sesion=" + token + "; HttpOnly; SameSite=Strict; Path=/"));
        return r;
    }

    TRespuesta salir(const TPedido& p) {
        const auto sesion = sesionDe(p);
        if (!sesion) return redirigir("/");
        if (!csrfValido(*sesion, leerFormulario(QByteArray::fromStdString(p.cuerpo)))) return csrfRechazado();
        {
            std::lock_guard<std::mutex> l(d_.m);
            d_.sesiones.erase(tokenDe(p));
        }
        TRespuesta r = redirigir("/");
        r.cabeceras.emplace_back("Set-Cookie", "sesion=; HttpOnly; SameSite=Strict; Path=/; Max-Age=0");
        return r;
    }

    /// The deadline of the period open now, as the page says it; none when it has none.
    std::optional<Pared::time_point> plazoDe(int periodo) const {
        std::lock_guard<std::mutex> l(d_.m);
        if (!d_.plazo || d_.periodoDelPlazo != periodo) return std::nullopt;
        return d_.plazo;
    }

    /// The page's view from what was read; the game is asked again only for
    /// the words of why no period is open.
    TVistaDecisiones vistaDe(TJuego& juego, const TSesion& sesion, const TLecturaPortal& lectura) {
        TVistaDecisiones v;
        v.empresa = sesion.empresa;
        v.csrf = QString::fromStdString(sesion.csrf);
        try {
            const TEstadoJuego& estado = lectura.estado;
            if (estado.marca.fase != TFase::abierto || estado.datos.cantEquipos == 0) {
                juego.comprobarPeriodoAbierto();
                throw ErrorJuego("No hay un período abierto.");
            }
            const TRegDatosIniciales& datos = estado.datos;
            v.periodo = datos.periodoActual;
            v.bancoA = aTexto(datos.nombreBancoA);
            v.bancoB = aTexto(datos.nombreBancoB);
            if (const auto hasta = plazoDe(v.periodo))
                v.plazo = QStringLiteral("hasta las %1").arg(QString::fromStdString(textoHora(*hasta)));
        } catch (const ErrorJuego& e) {
            v.motivoCerrado = QStringLiteral("Ahora no se reciben decisiones: %1").arg(QString::fromUtf8(e.what()));
        }
        v.periodosConReportes = lectura.periodos;
        if (v.periodo > 0) v.enviado = lectura.envio.has_value();
        return v;
    }

    /// The team's decisions of the period before, when the history has
    /// them; the period is read once for every team while the game stays put.
    std::optional<TRegDecision> decisionAnterior(TJuego& juego, const TMarca& marca, const std::string& empresa,
                                                 int periodo, const std::vector<int>& periodos) {
        {
            std::lock_guard<std::mutex> l(d_.m);
            if (d_.marcaAnteriores == marca) {
                const auto hallada = d_.anteriores.find(empresa);
                if (hallada == d_.anteriores.end()) return std::nullopt;
                return hallada->second;
            }
        }
        std::map<std::string, TRegDecision> anteriores;
        if (std::find(periodos.begin(), periodos.end(), periodo - 1) != periodos.end()) {
            const TArchivoPeriodo archivo = juego.periodoDelHistorial(periodo - 1);
            for (std::size_t i = 0; i < archivo.industria.size() && i < archivo.decisiones.size(); ++i)
                anteriores.emplace(archivo.industria[i].empresa, archivo.decisiones[i]);
        }
        std::lock_guard<std::mutex> l(d_.m);
        d_.marcaAnteriores = marca;
        d_.anteriores = std::move(anteriores);
        const auto hallada = d_.anteriores.find(empresa);
        if (hallada == d_.anteriores.end()) return std::nullopt;
        return hallada->second;
    }

    TRespuesta verDecisiones(const TPedido& p) {
        TLecturaPortal lectura;
        const auto sesion = sesionDe(p, &lectura);
        if (!sesion) return redirigir("/");
        TVistaDecisiones v = vistaDe(lector(), *sesion, lectura);
        if (v.periodo > 0) {
            // The form starts from what the team sent, or else from what it decided last time.
            if (lectura.envio) {
                v.valores = valoresDe(*lectura.envio);
            } else if (const auto anterior = decisionAnterior(lector(), lectura.estado.marca, sesion->empresa, v.periodo,
                                                              v.periodosConReportes)) {
                v.valores = valoresDe(*anterior);
                v.nota = QStringLiteral("Igual que el período anterior: el formulario trae sus decisiones del período "
                                        "%1. Cámbielas o envíelas así.")
                             .arg(v.periodo - 1);
            }
        }
        return html(paginaDecisiones(v));
    }

    // A submission is read and checked here; it is stored (or refused) and
    // written in the register by the worker, together with those that
    // arrive meanwhile: one lock and one flush of the disk for all.
    bool enviar(TPedido& p, TRespuesta& r) {
        const std::string token = tokenDe(p);
        const auto sesion = sesionEnMemoria(token);
        if (!sesion) {
            r = redirigir("/");
            return true;
        }
        const auto campos = leerFormulario(QByteArray::fromStdString(p.cuerpo));
        if (!csrfValido(*sesion, campos)) {
            r = csrfRechazado();
            return true;
        }
        TTarea t;
        t.pedido = &p;
        t.token = token;
        t.empresa = sesion->empresa;
        t.codigo = sesion->codigo;
        t.momento = d_.pared();
        for (const TRangoDecision& rango : rangosDecision()) {
            const QString nombre = QString::fromLatin1(rango.columna);
            const QString texto = campos.value(nombre).left(32).trimmed();
            t.valores.insert(nombre, texto);
            const auto valor = leerEntero(texto.toStdString());
            if (texto.isEmpty())
                t.erroresCampo.insert(nombre, QStringLiteral("Escriba %1: el campo está vacío.").arg(nombreDelCampo(rango.columna)));
            else if (!valor)
                t.erroresCampo.insert(nombre, QStringLiteral("«%1» no es un número entero: escriba %2 en cifras, sin "
                                                             "puntos ni comas.")
                                                  .arg(texto, nombreDelCampo(rango.columna)));
            else if (!enRango(rango, *valor))
                t.erroresCampo.insert(nombre, QString::fromUtf8(rango.mensajePantalla));
            else
                t.decision.*(rango.campo) = *valor;
        }
        bool hayPeriodo = false;
        t.periodo = campos.value(QStringLiteral("periodo")).toInt(&hayPeriodo);
        if (!hayPeriodo) {
            t.periodo = 0;
            t.motivo = QStringLiteral("El formulario no dice de qué período es.");
        } else if (!t.erroresCampo.isEmpty()) {
            t.motivo = QStringLiteral("Revise los campos marcados: no se guardó nada.");
        } else if (const auto hasta = plazoDe(t.periodo); hasta && t.momento > *hasta) {
            t.motivo = QStringLiteral("El plazo para enviar las decisiones del período %1 terminó a las %2. No se "
                                      "guardó nada.")
                           .arg(t.periodo)
                           .arg(QString::fromStdString(textoHora(*hasta)));
            t.estadoRechazo = 409;
        }
        return encolar(std::move(t), r);
    }

    /// Leaves a task to the worker and suspends the connection until it
    /// answers; while the portal stops, answers at once.
    bool encolar(TTarea t, TRespuesta& r) {
        {
            std::lock_guard<std::mutex> l(colaM_);
            if (fin_) {
                r = mensaje(503, QStringLiteral("Portal cerrado"), QStringLiteral("El portal se está cerrando."));
                return true;
            }
            t.pedido->suspendido = true;
            MHD_suspend_connection(t.pedido->conexion);
            cola_.push_back(std::move(t));
        }
        colaCv_.notify_one();
        return false;
    }

    void trabajar() {
        for (;;) {
            std::deque<TTarea> tareas;
            {
                std::unique_lock<std::mutex> l(colaM_);
                colaCv_.wait(l, [&] { return fin_ || !cola_.empty(); });
                if (cola_.empty() && fin_) return;
                tareas.swap(cola_);
            }
            std::vector<TTarea> envios, pdfs;
            for (TTarea& t : tareas) (t.esPdf ? pdfs : envios).push_back(std::move(t));
            if (!envios.empty()) guardarEnvios(envios);
            for (TTarea& t : pdfs) {
                TRespuesta r;
                try {
                    r = construirPdf(t);
                } catch (const std::exception& e) {
                    r = errorDelJuego(e);
                }
                reanudar(t, std::move(r));
            }
        }
    }

    /// A change of the game, in turn with the requests being read: the
    /// portal's own readers never make it wait. The window or another
    /// program may hold the game for a moment (a run): tried again for two
    /// seconds before the team is told to send again.
    template <class Cambio> auto conTurno(Cambio cambio) {
        const auto hasta = Reloj::now() + std::chrono::seconds(2);
        for (;;) {
            try {
                std::lock_guard<std::shared_mutex> turno(turnoJuego_);
                return cambio();
            } catch (const ErrorJuegoEnUso&) {
                if (Reloj::now() >= hasta) throw;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    void reanudar(TTarea& t, TRespuesta r) {
        t.pedido->respuesta = std::move(r);
        MHD_resume_connection(t.pedido->conexion);
    }

    /// The decisions page again, with what was typed and why it was refused.
    TRespuesta rechazo(const TTarea& t, int estado, const QString& error) {
        const auto sesion = sesionEnMemoria(t.token);
        if (!sesion) return redirigir("/");
        TVistaDecisiones v = vistaDe(trabajador_, *sesion, trabajador_.lecturaDelPortal(sesion->codigo));
        v.valores = t.valores;
        v.error = error;
        v.erroresCampo = t.erroresCampo;
        return html(paginaDecisiones(v), estado);
    }

    void guardarEnvios(std::vector<TTarea>& tareas) {
        std::vector<TEnvioRecibido> recibidos;
        std::vector<std::size_t> deQuien;
        for (std::size_t i = 0; i < tareas.size(); ++i)
            if (tareas[i].motivo.isEmpty()) {
                recibidos.push_back({tareas[i].codigo, tareas[i].empresa, tareas[i].periodo, tareas[i].decision});
                deQuien.push_back(i);
            }
        std::vector<std::optional<TRespuestaEnvio>> resultados(tareas.size());
        std::optional<TRespuesta> paraTodos;
        QString motivoDeTodos;
        try {
            const auto respuestas = conTurno([&] { return trabajador_.guardarEnvios(recibidos); });
            for (std::size_t k = 0; k < respuestas.size(); ++k) resultados[deQuien[k]] = respuestas[k];
        } catch (const std::exception& e) {
            paraTodos = errorDelJuego(e);
            motivoDeTodos = dynamic_cast<const ErrorJuegoEnUso*>(&e) ? QStringLiteral("El juego estaba en uso.")
                                                                    : QString::fromUtf8(e.what());
        }
        std::vector<TRespuesta> respuestas(tareas.size());
        for (std::size_t i = 0; i < tareas.size(); ++i) {
            TTarea& t = tareas[i];
            TRespuesta& r = respuestas[i];
            TAnotacionEnvio nota{t.momento, t.periodo, t.empresa, t.pedido->direccion, {}, false, {}};
            for (const TRangoDecision& rango : rangosDecision())
                nota.valores.push_back(t.valores.value(QString::fromLatin1(rango.columna)).toStdString());
            try {
                if (!t.motivo.isEmpty()) {
                    // The register keeps what was wrong with each field, not the page's summary.
                    nota.motivo = t.erroresCampo.isEmpty() ? t.motivo.toStdString()
                                                           : t.erroresCampo.values().join(QLatin1Char(' ')).toStdString();
                    r = rechazo(t, t.estadoRechazo, t.motivo);
                } else if (paraTodos) {
                    nota.motivo = motivoDeTodos.toStdString();
                    r = *paraTodos;
                } else {
                    const TRespuestaEnvio& resultado = *resultados[i];
                    const QString texto = QString::fromUtf8(resultado.mensaje);
                    nota.motivo = resultado.mensaje;
                    switch (resultado.resultado) {
                    case TResultadoEnvio::guardado:
                        nota.aceptado = true;
                        emit portal_.envioRecibido(utf8(t.empresa));
                        r = redirigir("/decisiones");
                        break;
                    case TResultadoEnvio::sinSesion: {
                        std::lock_guard<std::mutex> l(d_.m);
                        d_.sesiones.erase(t.token);
                        r = redirigir("/");
                        break;
                    }
                    case TResultadoEnvio::fueraDeRango:
                        r = rechazo(t, 400, texto);
                        break;
                    case TResultadoEnvio::rechazado:
                        r = rechazo(t, 409, texto + QStringLiteral(" No se guardó nada."));
                        break;
                    }
                }
            } catch (const std::exception& e) {
                r = errorDelJuego(e);
            }
            pendientesDeAnotar_.push_back(std::move(nota));
        }
        anotar();
        for (std::size_t i = 0; i < tareas.size(); ++i) reanudar(tareas[i], std::move(respuestas[i]));
    }

    /// Writes the register; while another program holds the game, tries for
    /// two seconds, and what could not be written waits for the next batch.
    void anotar() {
        try {
            conTurno([&] { trabajador_.anotarEnvios(pendientesDeAnotar_); });
            pendientesDeAnotar_.clear();
        } catch (const std::exception&) {
            // Kept for the next batch: the register loses nothing while the program runs.
        }
    }

    bool reporte(TPedido& p, const std::string& tipo, int periodo, TRespuesta& r) {
        TLecturaPortal lectura;
        const auto sesion = sesionDe(p, &lectura);
        if (!sesion) {
            r = redirigir("/");
            return true;
        }
        const auto& periodos = lectura.periodos;
        if (std::find(periodos.begin(), periodos.end(), periodo) == periodos.end()) {
            r = noEncontrada();
            return true;
        }
        const TArchivoPeriodo archivo = lector().periodoDelHistorial(periodo);
        const auto fila = std::find_if(archivo.industria.begin(), archivo.industria.end(),
                                       [&](const TFilaIndustria& f) { return f.empresa == sesion->empresa; });
        const QString volver = QStringLiteral("<p><a href=\"/decisiones\">Volver</a></p>");
        const QString pdf = QStringLiteral("/pdf/%1").arg(periodo);
        if (tipo == "industria") {
            const QString titulo = QStringLiteral("Informe de la industria, período %1").arg(periodo);
            r = html(pagina(titulo, QStringLiteral("<h1>%1</h1>").arg(escaparHtml(titulo)) + volver +
                                        recuadroReporte(lector().reporteDelHistorial(periodo, archivo.reporteIndustria),
                                                        fila == archivo.industria.end() ? QString() : pdf)));
            return true;
        }
        if (fila == archivo.industria.end()) {
            r = noEncontrada();
            return true;
        }
        if (tipo == "pdf") {
            const TMarca marca = lectura.estado.marca;
            {
                std::lock_guard<std::mutex> l(d_.m);
                if (!(d_.marcaPdf == marca)) {
                    d_.pdfs.clear();
                    d_.marcaPdf = marca;
                }
                const auto hecho = d_.pdfs.find({sesion->empresa, periodo});
                if (hecho != d_.pdfs.end()) {
                    r = respuestaPdf(hecho->second, periodo);
                    return true;
                }
            }
            TTarea t;
            t.pedido = &p;
            t.esPdf = true;
            t.empresa = sesion->empresa;
            t.periodo = periodo;
            return encolar(std::move(t), r);
        }
        const QString titulo = QStringLiteral("Informe de %1, período %2").arg(utf8(sesion->empresa)).arg(periodo);
        QString cuerpo = QStringLiteral("<h1>%1</h1>").arg(escaparHtml(titulo)) + volver +
                         recuadroReporte(lector().reporteDelHistorial(periodo, fila->reporte), pdf);
        if (!fila->aviso.empty())
            cuerpo += QStringLiteral("<h2>Aviso</h2>") + recuadroReporte(lector().reporteDelHistorial(periodo, fila->aviso), {});
        r = html(pagina(titulo, cuerpo));
        return true;
    }

    static TRespuesta respuestaPdf(const QByteArray& bytes, int periodo) {
        TRespuesta r{200, bytes, "application/pdf", {}};
        r.cabeceras.emplace_back("Content-Disposition", "attachment; filename=\"Periodo " + QByteArray::number(periodo) + ".pdf\"");
        return r;
    }

    TRespuesta construirPdf(const TTarea& t) {
        const TMarca marca = trabajador_.leerEstado().marca;
        {
            std::lock_guard<std::mutex> l(d_.m);
            const auto hecho = d_.pdfs.find({t.empresa, t.periodo});
            if (d_.marcaPdf == marca && hecho != d_.pdfs.end()) return respuestaPdf(hecho->second, t.periodo);
        }
        const QByteArray bytes = pdfDeEmpresa(trabajador_, t.periodo, t.empresa);
        std::lock_guard<std::mutex> l(d_.m);
        if (!(d_.marcaPdf == marca)) {
            d_.pdfs.clear();
            d_.marcaPdf = marca;
        }
        d_.pdfs[{t.empresa, t.periodo}] = bytes;
        return respuestaPdf(bytes, t.periodo);
    }

    TPortal& portal_;
    TPortal::TDatos& d_;
    TJuego& juego_;
    std::mutex lectoresM_;
    std::map<std::thread::id, std::unique_ptr<TJuego>> lectores_;  // one per server thread
    /// The game object of the server thread at hand: each has its own.
    TJuego& lector() {
        std::lock_guard<std::mutex> l(lectoresM_);
        auto& propio = lectores_[std::this_thread::get_id()];
        if (!propio) propio = std::make_unique<TJuego>(juego_.ruta(), juego_.sistemaArchivos());
        return *propio;
    }
    TJuego trabajador_;  // the worker's thread only
    MHD_Daemon* demonio_ = nullptr;
    std::thread hilo_;
    std::mutex colaM_;
    std::condition_variable colaCv_;
    std::deque<TTarea> cola_;
    bool fin_ = false;
    std::vector<TAnotacionEnvio> pendientesDeAnotar_;  // the worker's
    // Held while the server's thread answers and while the worker changes
    // the game: the two game objects are two holders of the folder's lock,
    // and a writer is refused at once while a reader holds it.
    std::shared_mutex turnoJuego_;
};

TPortal::TPortal(TJuego& juego, QObject* padre) : QObject(padre), juego_(juego), datos_(std::make_unique<TDatos>()) {}

TPortal::~TPortal() { detener(); }

quint16 TPortal::iniciar(const QHostAddress& direccion, quint16 puerto) {
    detener();
    juego_.codigosDeAcceso();
    // Every connection is an open file: the portal takes what the system
    // allows, and keeps some for the game's own files.
    const unsigned limite = elevarLimiteDeArchivos();
    conexionesMaximas_ = limite > 256 ? std::min(limite - 128, 16384u) : limite / 2;
    auto servidor = std::make_unique<TServidorPortal>(*this, juego_);
    const quint16 abierto = servidor->iniciar(direccion, puerto, conexionesMaximas_);
    if (abierto == 0)
        throw ErrorJuego("El portal no pudo escuchar en " + direccion.toString().toStdString() + ":" +
                         std::to_string(puerto) + " (¿otro programa usa ese puerto?).");
    servidor_ = std::move(servidor);
    direccion_ = direccion;
    puerto_ = abierto;
    emit estadoCambiado(true);
    return abierto;
}

void TPortal::detener() {
    if (!servidor_) return;
    servidor_.reset();
    {
        std::lock_guard<std::mutex> l(datos_->m);
        datos_->sesiones.clear();
        datos_->fallidos.clear();
        datos_->fallidosTodos.clear();
        datos_->pdfs.clear();
    }
    puerto_ = 0;
    emit estadoCambiado(false);
}

bool TPortal::activo() const { return servidor_ != nullptr; }

QStringList TPortal::direccionesParaTeclear() const {
    QStringList direcciones;
    if (!activo()) return direcciones;
    const bool todas = direccion_ == QHostAddress::Any || direccion_ == QHostAddress::AnyIPv4;
    const QStringList ips = todas ? direccionesIpv4() : QStringList{direccion_.toString()};
    for (const QString& ip : ips) direcciones << QStringLiteral("http://%1:%2/").arg(ip).arg(puerto_);
    return direcciones;
}

int TPortal::cerrarSesiones(const std::string& empresa) {
    std::lock_guard<std::mutex> l(datos_->m);
    int cerradas = 0;
    for (auto i = datos_->sesiones.begin(); i != datos_->sesiones.end();)
        if (i->second.empresa == empresa) {
            i = datos_->sesiones.erase(i);
            ++cerradas;
        } else {
            ++i;
        }
    return cerradas;
}

int TPortal::sesionesDe(const std::string& empresa) const {
    std::lock_guard<std::mutex> l(datos_->m);
    const auto ahora = datos_->reloj();
    return static_cast<int>(std::count_if(datos_->sesiones.begin(), datos_->sesiones.end(), [&](const auto& s) {
        return s.second.empresa == empresa && ahora - s.second.ultimoUso <= kVidaSesion;
    }));
}

int TPortal::equiposConectados() const {
    std::lock_guard<std::mutex> l(datos_->m);
    const auto ahora = datos_->reloj();
    std::set<std::string> equipos;
    for (const auto& [token, sesion] : datos_->sesiones)
        if (ahora - sesion.ultimoUso <= kVidaSesion) equipos.insert(sesion.empresa);
    return static_cast<int>(equipos.size());
}

void TPortal::fijarPlazo(std::optional<std::chrono::system_clock::time_point> hasta) {
    // The deadline belongs to the period open when it is set.
    int periodo = 0;
    if (hasta) periodo = juego_.parametros().periodoActual;
    std::lock_guard<std::mutex> l(datos_->m);
    datos_->plazo = hasta;
    datos_->periodoDelPlazo = periodo;
}

std::optional<std::chrono::system_clock::time_point> TPortal::plazo() const {
    std::lock_guard<std::mutex> l(datos_->m);
    return datos_->plazo;
}

void TPortal::fijarReloj(std::function<std::chrono::steady_clock::time_point()> reloj) {
    std::lock_guard<std::mutex> l(datos_->m);
    datos_->reloj = std::move(reloj);
}

void TPortal::fijarRelojDePared(std::function<std::chrono::system_clock::time_point()> reloj) {
    std::lock_guard<std::mutex> l(datos_->m);
    datos_->pared = std::move(reloj);
}

void TPortal::fijarEspera(std::chrono::seconds espera) {
    std::lock_guard<std::mutex> l(datos_->m);
    datos_->espera = espera;
}

QStringList direccionesIpv4() {
    QStringList ips;
    for (const QNetworkInterface& interfaz : QNetworkInterface::allInterfaces()) {
        const auto banderas = interfaz.flags();
        if (!(banderas & QNetworkInterface::IsUp) || (banderas & QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& entrada : interfaz.addressEntries()) {
            const QHostAddress ip = entrada.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback()) ips << ip.toString();
        }
    }
    return ips;
}

unsigned elevarLimiteDeArchivos() {
    rlimit limite{};
    if (getrlimit(RLIMIT_NOFILE, &limite) != 0) return 1024;
    if (limite.rlim_cur < limite.rlim_max) {
        rlimit nuevo = limite;
        nuevo.rlim_cur = limite.rlim_max;
        if (setrlimit(RLIMIT_NOFILE, &nuevo) == 0) limite = nuevo;
    }
    return limite.rlim_cur > 1000000 ? 1000000u : static_cast<unsigned>(limite.rlim_cur);
}
