#include "portal/Portal.h"

#include "portal/Paginas.h"

#include "engine/ValidarDecision.h"
#include "juego/Juego.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"
#include "documentos/Documentos.h"

#include <QAbstractHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QNetworkInterface>
#include <QPointer>
#include <QTimer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <map>

namespace {

using Reloj = std::chrono::steady_clock;
using Estado = QHttpServerResponder::StatusCode;

constexpr auto kVidaSesion = std::chrono::hours(12);

const QString kOcupado = QStringLiteral("El docente está usando el juego en este momento. Espere unos segundos y "
                                        "vuelva a enviar o a abrir la página: no se guardó nada.");

struct TRespuesta {
    Estado estado = Estado::Ok;
    QByteArray cuerpo;
    QByteArray tipo = "text/html; charset=utf-8";
    std::vector<std::pair<QByteArray, QByteArray>> cabeceras;
    bool diferida = false;  ///< answered later, with the submissions stored together
};

TRespuesta errorDelJuego(const std::exception& e);

TRespuesta html(QByteArray cuerpo, Estado estado = Estado::Ok) { return {estado, std::move(cuerpo), "text/html; charset=utf-8", {}}; }

TRespuesta redirigir(const QByteArray& destino) {
    TRespuesta r{Estado::SeeOther, {}, "text/plain; charset=utf-8", {}};
    r.cabeceras.emplace_back("Location", destino);
    return r;
}

TRespuesta mensaje(Estado estado, const QString& titulo, const QString& texto) {
    return html(pagina(titulo, QStringLiteral("<h1>%1</h1><p>%2</p><p><a href=\"/decisiones\">Volver</a></p>")
                                   .arg(escaparHtml(titulo), escaparHtml(texto))),
                estado);
}

TRespuesta noEncontrada() {
    return mensaje(Estado::NotFound, QStringLiteral("No encontrada"), QStringLiteral("Esa página no existe."));
}

QByteArray tokenAleatorio() {
    quint32 palabras[8];
    QRandomGenerator::system()->fillRange(palabras);
    return QByteArray(reinterpret_cast<const char*>(palabras), sizeof palabras).toHex();
}

bool mismosBytes(const QByteArray& a, const QByteArray& b) {
    return igualesTiempoConstante(std::string_view(a.constData(), static_cast<std::size_t>(a.size())),
                                  std::string_view(b.constData(), static_cast<std::size_t>(b.size())));
}

QString utf8(const std::string& texto1252) { return QString::fromStdString(cp1252AUtf8(texto1252)); }

/// A period number of a path: plain digits, 0 to 10.
std::optional<int> periodoDe(const QString& texto) {
    if (texto.isEmpty() || texto.size() > 2) return std::nullopt;
    for (QChar c : texto)
        if (!c.isDigit() || c.unicode() > '9') return std::nullopt;
    const int n = texto.toInt();
    if (n > 10) return std::nullopt;
    return n;
}

}  // namespace

struct TPortal::TDatos {
    struct TSesion {
        std::string empresa;  // Windows-1252
        std::string codigo;   // the code it entered with: renewing it ends the session
        QByteArray csrf;
        Reloj::time_point ultimoUso;
    };
    struct TIntentos {
        int fallidos = 0;
        Reloj::time_point hasta{};
    };
    std::map<QByteArray, TSesion> sesiones;
    std::map<QString, TIntentos> intentos;
    std::function<Reloj::time_point()> reloj = [] { return Reloj::now(); };
};

/// The HTTP side: turns each whole request into one answer.
class TServidorPortal : public QAbstractHttpServer {
public:
    explicit TServidorPortal(TPortal& portal) : portal_(portal) {}

protected:
    bool handleRequest(const QHttpServerRequest& pedido, QTcpSocket* socket) override {
        TRespuesta r;
        try {
            r = atender(pedido, socket);
        } catch (const std::exception& e) {
            r = errorDelJuego(e);
        }
        if (!r.diferida) responder(cierra(pedido), socket, r);
        return true;
    }
    void missingHandler(const QHttpServerRequest& pedido, QTcpSocket* socket) override {
        responder(cierra(pedido), socket, noEncontrada());
    }

private:
    using TSesion = TPortal::TDatos::TSesion;

    // The whole answer leaves in one write: written piece by piece, small
    // segments wait on each other's acknowledgements.
    static bool cierra(const QHttpServerRequest& pedido) {
        return pedido.value("Connection").trimmed().compare("close", Qt::CaseInsensitive) == 0;
    }

    static void responder(bool cerrar, QTcpSocket* socket, const TRespuesta& r) {
        const int codigo = static_cast<int>(r.estado);
        QByteArray texto = "HTTP/1.1 " + QByteArray::number(codigo) + ' ' + razon(codigo) + "\r\n";
        const std::pair<QByteArray, QByteArray> fijas[] = {
            {"Content-Type", r.tipo},
            {"Content-Length", QByteArray::number(r.cuerpo.size())},
            {"Content-Security-Policy",
             "default-src 'none'; style-src 'unsafe-inline'; form-action 'self'; frame-ancestors 'none'"},
            {"X-Content-Type-Options", "nosniff"},
            {"Referrer-Policy", "no-referrer"},
            {"Cache-Control", "no-store"},
            {"X-Frame-Options", "DENY"},
        };
        for (const auto& [clave, valor] : fijas) texto += clave + ": " + valor + "\r\n";
        for (const auto& [clave, valor] : r.cabeceras) texto += clave + ": " + valor + "\r\n";
        if (cerrar) texto += "Connection: close\r\n";
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        socket->write(texto + "\r\n" + r.cuerpo);
        if (cerrar) socket->disconnectFromHost();
    }

    static QByteArray razon(int codigo) {
        switch (codigo) {
        case 200: return "OK";
        case 303: return "See Other";
        case 400: return "Bad Request";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 409: return "Conflict";
        case 413: return "Payload Too Large";
        case 429: return "Too Many Requests";
        case 503: return "Service Unavailable";
        default: return "Internal Server Error";
        }
    }

    TRespuesta atender(const QHttpServerRequest& pedido, QTcpSocket* socket) {
        // The body is refused before anything reads it.
        bool hayLargo = false;
        const qlonglong largo = pedido.value("Content-Length").trimmed().toLongLong(&hayLargo);
        if ((hayLargo && largo > TPortal::kCuerpoMaximo) || pedido.body().size() > TPortal::kCuerpoMaximo)
            return mensaje(Estado::PayloadTooLarge, QStringLiteral("Demasiado grande"),
                           QStringLiteral("El pedido supera los 16 KiB que acepta el portal."));
        const QString ruta = pedido.url().path();
        const bool get = pedido.method() == QHttpServerRequest::Method::Get;
        const bool post = pedido.method() == QHttpServerRequest::Method::Post;
        const QStringList partes = ruta.split(QLatin1Char('/'));

        if (ruta == QLatin1String("/")) {
            if (!get) return noPermitido("GET");
            if (sesionDe(pedido)) return redirigir("/decisiones");
            return html(paginaEntrada());
        }
        if (ruta == QLatin1String("/entrar")) return post ? entrar(pedido) : noPermitido("POST");
        if (ruta == QLatin1String("/salir")) return post ? salir(pedido) : noPermitido("POST");
        if (ruta == QLatin1String("/decisiones")) {
            if (!get && !post) return noPermitido("GET, POST");
            return post ? enviar(pedido, socket) : verDecisiones(pedido);
        }
        if (partes.size() == 3 && partes[0].isEmpty() &&
            (partes[1] == QLatin1String("reportes") || partes[1] == QLatin1String("industria") ||
             partes[1] == QLatin1String("pdf"))) {
            const auto periodo = periodoDe(partes[2]);
            if (!periodo) return noEncontrada();
            if (!get) return noPermitido("GET");
            return reporte(pedido, partes[1], *periodo);
        }
        return noEncontrada();
    }

    static TRespuesta noPermitido(const QByteArray& permitidos) {
        TRespuesta r = mensaje(Estado::MethodNotAllowed, QStringLiteral("No permitido"),
                               QStringLiteral("Esa página no acepta este pedido."));
        r.cabeceras.emplace_back("Allow", permitidos);
        return r;
    }

    QByteArray tokenDe(const QHttpServerRequest& pedido) const {
        for (const auto& [clave, valor] : pedido.headers()) {
            if (clave.compare("Cookie", Qt::CaseInsensitive) != 0) continue;
            for (const QByteArray& parte : valor.split(';')) {
                const QByteArray p = parte.trimmed();
                if (p.startsWith("sesion=")) return p.mid(7);
            }
        }
        return {};
    }

    /// The request's session, when it has a live one whose team still plays
    /// with the code it entered with.
    TSesion* sesionDe(const QHttpServerRequest& pedido) {
        auto& d = *portal_.datos_;
        const auto lugar = d.sesiones.find(tokenDe(pedido));
        if (lugar == d.sesiones.end()) return nullptr;
        const auto ahora = d.reloj();
        const auto equipo = portal_.juego_.equipoDelCodigo(lugar->second.codigo);
        if (ahora - lugar->second.ultimoUso > kVidaSesion || !equipo || *equipo != lugar->second.empresa) {
            d.sesiones.erase(lugar);
            return nullptr;
        }
        lugar->second.ultimoUso = ahora;
        return &lugar->second;
    }

    static bool csrfValido(const TSesion& sesion, const QMap<QString, QString>& campos) {
        return mismosBytes(campos.value(QStringLiteral("csrf")).toUtf8(), sesion.csrf);
    }

    static TRespuesta csrfRechazado() {
        return mensaje(Estado::Forbidden, QStringLiteral("Pedido rechazado"),
                       QStringLiteral("El formulario no es válido o es de una sesión anterior. Abra la página de "
                                      "nuevo y vuelva a enviarlo."));
    }

    TRespuesta entrar(const QHttpServerRequest& pedido) {
        auto& d = *portal_.datos_;
        const auto ahora = d.reloj();
        const QString desde = pedido.remoteAddress().toString();
        // Entries whose minute has passed are forgotten.
        for (auto i = d.intentos.begin(); i != d.intentos.end();)
            i = (i->second.fallidos >= TPortal::kIntentosFallidos && ahora >= i->second.hasta) ? d.intentos.erase(i) : std::next(i);
        TPortal::TDatos::TIntentos& intentos = d.intentos[desde];
        if (intentos.fallidos >= TPortal::kIntentosFallidos)
            return html(paginaEntrada(QStringLiteral("Hubo demasiados intentos fallidos desde este equipo. "
                                                     "Espere un minuto y vuelva a intentar.")),
                        Estado::TooManyRequests);
        const auto campos = leerFormulario(pedido.body());
        const auto codigo = utf8ACp1252(campos.value(QStringLiteral("codigo")).left(64).toStdString());
        const auto empresa = codigo ? portal_.juego_.equipoDelCodigo(*codigo) : std::nullopt;
        if (!empresa) {
            if (++intentos.fallidos >= TPortal::kIntentosFallidos) intentos.hasta = ahora + TPortal::kBloqueo;
            return html(paginaEntrada(QStringLiteral("El código no es válido. Revíselo y vuelva a escribirlo.")),
                        Estado::Forbidden);
        }
        d.intentos.erase(desde);
        for (auto i = d.sesiones.begin(); i != d.sesiones.end();)
            i = ahora - i->second.ultimoUso > kVidaSesion ? d.sesiones.erase(i) : std::next(i);
        const QByteArray token = tokenAleatorio();
        d.sesiones[token] = {*empresa, normalizarCodigo(*codigo), tokenAleatorio(), ahora};
        TRespuesta r = redirigir("/decisiones");
        r.cabeceras.emplace_back("Set-Cookie", "sesion=" + token + "; HttpOnly; SameSite=Strict; Path=/");
        return r;
    }

    TRespuesta salir(const QHttpServerRequest& pedido) {
        TSesion* sesion = sesionDe(pedido);
        if (!sesion) return redirigir("/");
        if (!csrfValido(*sesion, leerFormulario(pedido.body()))) return csrfRechazado();
        portal_.datos_->sesiones.erase(tokenDe(pedido));
        TRespuesta r = redirigir("/");
        r.cabeceras.emplace_back("Set-Cookie", "sesion=; HttpOnly; SameSite=Strict; Path=/; Max-Age=0");
        return r;
    }

    TVistaDecisiones vistaDe(const TSesion& sesion) {
        TVistaDecisiones v;
        v.empresa = sesion.empresa;
        v.csrf = QString::fromLatin1(sesion.csrf);
        try {
            portal_.juego_.comprobarPeriodoAbierto();
            const TRegDatosIniciales datos = portal_.juego_.parametros();
            v.periodo = datos.periodoActual;
            v.bancoA = aTexto(datos.nombreBancoA);
            v.bancoB = aTexto(datos.nombreBancoB);
        } catch (const ErrorJuego& e) {
            v.motivoCerrado = QStringLiteral("Ahora no se reciben decisiones: %1").arg(QString::fromUtf8(e.what()));
        }
        for (int p : portal_.juego_.periodosDelHistorial())
            v.periodosConReportes.push_back(p);
        return v;
    }

    TRespuesta verDecisiones(const QHttpServerRequest& pedido) {
        TSesion* sesion = sesionDe(pedido);
        if (!sesion) return redirigir("/");
        TVistaDecisiones v = vistaDe(*sesion);
        if (v.periodo > 0)
            if (const auto envio = portal_.juego_.envioDelEquipo(sesion->empresa)) {
                v.valores = valoresDe(*envio);
                v.enviado = true;
            }
        return html(paginaDecisiones(v));
    }

    /// The session of a request from memory alone: a submission's code is
    /// checked again when it is stored.
    TSesion* sesionEnMemoria(const QHttpServerRequest& pedido) {
        auto& d = *portal_.datos_;
        const auto lugar = d.sesiones.find(tokenDe(pedido));
        if (lugar == d.sesiones.end() || d.reloj() - lugar->second.ultimoUso > kVidaSesion) return nullptr;
        lugar->second.ultimoUso = d.reloj();
        return &lugar->second;
    }

    // The submissions that arrive together are stored together, after the
    // requests at hand are read: one lock and one flush of the disk for
    // all, instead of one each.
    TRespuesta enviar(const QHttpServerRequest& pedido, QTcpSocket* socket) {
        TSesion* sesion = sesionEnMemoria(pedido);
        if (!sesion) return redirigir("/");
        const auto campos = leerFormulario(pedido.body());
        if (!csrfValido(*sesion, campos)) return csrfRechazado();
        TPendiente pendiente;
        pendiente.socket = socket;
        pendiente.cerrar = cierra(pedido);
        pendiente.token = tokenDe(pedido);
        for (const TRangoDecision& r : rangosDecision()) {
            const QString nombre = QString::fromLatin1(r.columna);
            pendiente.valores.insert(nombre, campos.value(nombre).left(32));
        }
        for (const TRangoDecision& r : rangosDecision()) {
            const QString texto = pendiente.valores.value(QString::fromLatin1(r.columna));
            const auto valor = leerEntero(texto.toStdString());
            if (!valor)
                return rechazo(*sesion, pendiente.valores, Estado::BadRequest,
                               QStringLiteral("'%1' is not a valid integer value").arg(texto));
            pendiente.envio.decision.*(r.campo) = *valor;
        }
        bool hayPeriodo = false;
        pendiente.envio.periodo = campos.value(QStringLiteral("periodo")).toInt(&hayPeriodo);
        if (!hayPeriodo)
            return rechazo(*sesion, pendiente.valores, Estado::BadRequest,
                           QStringLiteral("El formulario no dice de qué período es."));
        pendiente.envio.empresa = sesion->empresa;
        pendiente.envio.codigo = sesion->codigo;
        pendientes_.push_back(std::move(pendiente));
        if (pendientes_.size() == 1) QTimer::singleShot(0, this, [this] { guardarPendientes(); });
        TRespuesta r;
        r.diferida = true;
        return r;
    }

    /// The decisions page again, with what was typed and why it was refused.
    TRespuesta rechazo(const TSesion& sesion, const QMap<QString, QString>& valores, Estado estado,
                       const QString& error) {
        TVistaDecisiones v = vistaDe(sesion);
        v.valores = valores;
        v.error = error;
        if (v.periodo > 0) v.enviado = portal_.juego_.envioDelEquipo(sesion.empresa).has_value();
        return html(paginaDecisiones(v), estado);
    }

    void guardarPendientes() {
        std::vector<TPendiente> pendientes;
        pendientes.swap(pendientes_);
        std::vector<TEnvioRecibido> envios;
        for (const TPendiente& p : pendientes) envios.push_back(p.envio);
        std::vector<TRespuestaEnvio> resultados;
        std::optional<TRespuesta> paraTodos;
        try {
            resultados = portal_.juego_.guardarEnvios(envios);
        } catch (const std::exception& e) {
            paraTodos = errorDelJuego(e);
        }
        auto& d = *portal_.datos_;
        for (std::size_t i = 0; i < pendientes.size(); ++i) {
            TPendiente& p = pendientes[i];
            TRespuesta r;
            try {
                if (paraTodos) {
                    r = *paraTodos;
                } else {
                    const TRespuestaEnvio& resultado = resultados[i];
                    const auto sesion = d.sesiones.find(p.token);
                    const QString mensajeResultado = QString::fromUtf8(resultado.mensaje);
                    switch (resultado.resultado) {
                    case TResultadoEnvio::guardado:
                        emit portal_.envioRecibido(utf8(p.envio.empresa));
                        r = redirigir("/decisiones");
                        break;
                    case TResultadoEnvio::sinSesion:
                        if (sesion != d.sesiones.end()) d.sesiones.erase(sesion);
                        r = redirigir("/");
                        break;
                    case TResultadoEnvio::fueraDeRango:
                    case TResultadoEnvio::rechazado:
                        r = sesion == d.sesiones.end()
                                ? redirigir("/")
                                : rechazo(sesion->second, p.valores,
                                          resultado.resultado == TResultadoEnvio::fueraDeRango ? Estado::BadRequest
                                                                                               : Estado::Conflict,
                                          resultado.resultado == TResultadoEnvio::fueraDeRango
                                              ? mensajeResultado
                                              : mensajeResultado + QStringLiteral(" No se guardó nada."));
                        break;
                    }
                }
            } catch (const std::exception& e) {
                r = errorDelJuego(e);
            }
            // A team that gave up waiting has no one to answer.
            if (p.socket) responder(p.cerrar, p.socket, r);
        }
    }

    struct TPendiente {
        QPointer<QTcpSocket> socket;
        bool cerrar = false;
        QByteArray token;
        QMap<QString, QString> valores;
        TEnvioRecibido envio;
    };
    std::vector<TPendiente> pendientes_;

    TRespuesta reporte(const QHttpServerRequest& pedido, const QString& tipo, int periodo) {
        TSesion* sesion = sesionDe(pedido);
        if (!sesion) return redirigir("/");
        const auto periodos = portal_.juego_.periodosDelHistorial();
        if (std::find(periodos.begin(), periodos.end(), periodo) == periodos.end()) return noEncontrada();
        const TArchivoPeriodo archivo = portal_.juego_.periodoDelHistorial(periodo);
        const auto fila = std::find_if(archivo.industria.begin(), archivo.industria.end(),
                                       [&](const TFilaIndustria& f) { return f.empresa == sesion->empresa; });
        const QString volver = QStringLiteral("<p><a href=\"/decisiones\">Volver</a></p>");
        if (tipo == QLatin1String("industria")) {
            const QString titulo = QStringLiteral("Informe de la industria, período %1").arg(periodo);
            return html(pagina(titulo, QStringLiteral("<h1>%1</h1>").arg(escaparHtml(titulo)) + volver +
                                           bloqueReporte(portal_.juego_.reporteDelHistorial(periodo, archivo.reporteIndustria))));
        }
        if (fila == archivo.industria.end()) return noEncontrada();
        if (tipo == QLatin1String("pdf")) {
            TRespuesta r{Estado::Ok, pdfDeEmpresa(portal_.juego_, periodo, sesion->empresa), "application/pdf", {}};
            r.cabeceras.emplace_back("Content-Disposition",
                                     "attachment; filename=\"Periodo " + QByteArray::number(periodo) + ".pdf\"");
            return r;
        }
        const QString titulo = QStringLiteral("Informe de %1, período %2").arg(utf8(sesion->empresa)).arg(periodo);
        QString cuerpo = QStringLiteral("<h1>%1</h1>").arg(escaparHtml(titulo)) + volver +
                         bloqueReporte(portal_.juego_.reporteDelHistorial(periodo, fila->reporte));
        if (!fila->aviso.empty())
            cuerpo += QStringLiteral("<h2>Aviso</h2>") + bloqueReporte(portal_.juego_.reporteDelHistorial(periodo, fila->aviso));
        return html(pagina(titulo, cuerpo));
    }

    TPortal& portal_;
};

namespace {

TRespuesta errorDelJuego(const std::exception& e) {
    const QString texto = QString::fromUtf8(e.what());
    // A run or another program holds the game for a moment.
    if (dynamic_cast<const ErrorJuegoEnUso*>(&e)) return mensaje(Estado::ServiceUnavailable, QStringLiteral("Un momento"), kOcupado);
    if (dynamic_cast<const ErrorJuego*>(&e))
        return mensaje(Estado::Conflict, QStringLiteral("No se puede ahora"), texto + QStringLiteral(" No se guardó nada."));
    return mensaje(Estado::InternalServerError, QStringLiteral("Error"),
                   QStringLiteral("El programa del docente no pudo responder: %1").arg(texto));
}

}  // namespace

TPortal::TPortal(TJuego& juego, QObject* padre) : QObject(padre), juego_(juego), datos_(std::make_unique<TDatos>()) {}

TPortal::~TPortal() { detener(); }

quint16 TPortal::iniciar(const QHostAddress& direccion, quint16 puerto) {
    detener();
    juego_.codigosDeAcceso();
    auto servidor = std::make_unique<TServidorPortal>(*this);
    const quint16 abierto = servidor->listen(direccion, puerto);
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
    datos_->sesiones.clear();
    datos_->intentos.clear();
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

void TPortal::fijarReloj(std::function<std::chrono::steady_clock::time_point()> reloj) {
    datos_->reloj = std::move(reloj);
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
