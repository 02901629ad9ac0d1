#include "portal/ClienteHttp.h"

#include "engine/ValidarDecision.h"

#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Parses what arrived; true once the whole answer is there.
bool completa(const QByteArray& datos, TRespuestaHttp& r) {
    const qsizetype fin = datos.indexOf("\r\n\r\n");
    if (fin < 0) return false;
    const QList<QByteArray> lineas = datos.left(fin).split('\n');
    r.cabeceras.clear();
    const QList<QByteArray> estado = lineas[0].trimmed().split(' ');
    r.estado = estado.size() > 1 ? estado[1].toInt() : 0;
    for (qsizetype i = 1; i < lineas.size(); ++i) {
        const qsizetype dos = lineas[i].indexOf(':');
        if (dos < 0) continue;
        const QByteArray nombre = lineas[i].left(dos).trimmed().toLower();
        const QByteArray valor = lineas[i].mid(dos + 1).trimmed();
        // Several Set-Cookie lines would be joined; the portal sends one.
        r.cabeceras.insert(nombre, valor);
    }
    const qsizetype largo = r.cabeceras.value("content-length", "0").toLongLong();
    if (datos.size() - (fin + 4) < largo) return false;
    r.cuerpo = datos.mid(fin + 4, largo);
    return true;
}

}  // namespace

TRespuestaHttp TClienteHttp::pedir(const QByteArray& metodo, const QByteArray& ruta, const QByteArray& cuerpo) {
    QTcpSocket socket;
    QByteArray datos;
    TRespuestaHttp r;
    QEventLoop bucle;
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&limite, &QTimer::timeout, &bucle, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::connected, [&] {
        QByteArray pedido = metodo + " " + ruta + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(puerto_) +
                            "\r\nConnection: close\r\n";
        const QByteArray galletas = cookie + (cookie.isEmpty() || previa.isEmpty() ? "" : "; ") + previa;
        if (!galletas.isEmpty()) pedido += "Cookie: " + galletas + "\r\n";
        if (metodo == "POST")
            pedido += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                      QByteArray::number(cuerpo.size()) + "\r\n";
        socket.write(pedido + "\r\n" + cuerpo);
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        datos += socket.readAll();
        if (completa(datos, r)) bucle.quit();
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, &bucle, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &bucle, &QEventLoop::quit);
    socket.bind(QHostAddress(desde_));
    socket.connectToHost(QStringLiteral("127.0.0.1"), puerto_);
    limite.start(20000);
    bucle.exec();
    if (!completa(datos, r)) return {};
    const QByteArray galleta = r.cabeceras.value("set-cookie");
    if (!galleta.isEmpty()) {
        const QByteArray par = galleta.split(';').first().trimmed();
        if (par.startsWith("previo=")) previa = par;
        else cookie = par == "sesion=" ? QByteArray() : par;
    }
    return r;
}

TRespuestaHttp TClienteHttp::entrar(const QString& codigo) {
    return post("/entrar", formulario({{QStringLiteral("codigo"), codigo}}));
}

QByteArray TClienteHttp::csrf() {
    const TRespuestaHttp r = get("/decisiones");
    if (r.estado != 200) return {};
    return valorDelCampo(r.texto(), QStringLiteral("csrf")).toUtf8();
}

QByteArray formulario(const QList<QPair<QString, QString>>& campos) {
    QByteArray cuerpo;
    for (const auto& [clave, valor] : campos) {
        if (!cuerpo.isEmpty()) cuerpo += '&';
        cuerpo += QUrl::toPercentEncoding(clave) + '=' + QUrl::toPercentEncoding(valor);
    }
    return cuerpo;
}

QByteArray formularioDe(const QByteArray& csrf, int periodo, const TRegDecision& d) {
    QList<QPair<QString, QString>> campos{{QStringLiteral("csrf"), QString::fromUtf8(csrf)},
                                          {QStringLiteral("periodo"), QString::number(periodo)}};
    for (const TRangoDecision& r : rangosDecision())
        campos.append({QString::fromLatin1(r.columna), QString::number(d.*(r.campo))});
    return formulario(campos);
}

QString valorDelCampo(const QString& pagina, const QString& nombre) {
    const QString n = QRegularExpression::escape(nombre);
    const auto entrada = QRegularExpression(QStringLiteral("<input[^>]*name=\"%1\"[^>]*value=\"([^\"]*)\"").arg(n)).match(pagina);
    if (entrada.hasMatch()) return entrada.captured(1);
    const auto lista = QRegularExpression(QStringLiteral("<select[^>]*name=\"%1\"[^>]*>.*?<option value=\"([^\"]*)\" selected>").arg(n),
                                          QRegularExpression::DotMatchesEverythingOption)
                           .match(pagina);
    return lista.hasMatch() ? lista.captured(1) : QString();
}

int conectarCrudo(quint16 puerto, const char* desde) {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, desde, &local.sin_addr);
    sockaddr_in destino{};
    destino.sin_family = AF_INET;
    destino.sin_port = htons(puerto);
    destino.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::connect(s, reinterpret_cast<sockaddr*>(&destino), sizeof destino) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

QByteArray pedidoCrudo(quint16 puerto, const QByteArray& bytes, int segundos) {
    const int s = conectarCrudo(puerto);
    if (s < 0) return {};
    timeval espera{segundos, 0};
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &espera, sizeof espera);
    ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &espera, sizeof espera);
    for (qsizetype enviado = 0; enviado < bytes.size();) {
        const ssize_t n = ::send(s, bytes.constData() + enviado, size_t(bytes.size() - enviado), MSG_NOSIGNAL);
        if (n <= 0) break;
        enviado += n;
    }
    QByteArray respuesta;
    char trozo[4096];
    for (ssize_t n; (n = ::recv(s, trozo, sizeof trozo, 0)) > 0;) respuesta.append(trozo, n);
    ::close(s);
    return respuesta;
}

int estadoCrudo(const QByteArray& respuesta) {
    if (!respuesta.startsWith("HTTP/1.1 ")) return 0;
    return respuesta.mid(9, 3).toInt();
}

long long memoriaResidente() {
    QFile estado(QStringLiteral("/proc/self/statm"));
    if (!estado.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> campos = estado.readAll().split(' ');
    return campos.size() > 1 ? campos[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
}
