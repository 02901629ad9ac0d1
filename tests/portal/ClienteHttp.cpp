#include "portal/ClienteHttp.h"

#include <QEventLoop>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

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
        if (!cookie.isEmpty()) pedido += "Cookie: " + cookie + "\r\n";
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
    socket.connectToHost(QStringLiteral("127.0.0.1"), puerto_);
    limite.start(20000);
    bucle.exec();
    if (!completa(datos, r)) return {};
    const QByteArray galleta = r.cabeceras.value("set-cookie");
    if (!galleta.isEmpty()) {
        const QByteArray par = galleta.split(';').first().trimmed();
        cookie = par == "sesion=" ? QByteArray() : par;
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

QString valorDelCampo(const QString& pagina, const QString& nombre) {
    const QString n = QRegularExpression::escape(nombre);
    const auto entrada = QRegularExpression(QStringLiteral("<input[^>]*name=\"%1\"[^>]*value=\"([^\"]*)\"").arg(n)).match(pagina);
    if (entrada.hasMatch()) return entrada.captured(1);
    const auto lista = QRegularExpression(QStringLiteral("<select[^>]*name=\"%1\">.*?<option value=\"([^\"]*)\" selected>").arg(n),
                                          QRegularExpression::DotMatchesEverythingOption)
                           .match(pagina);
    return lista.hasMatch() ? lista.captured(1) : QString();
}
