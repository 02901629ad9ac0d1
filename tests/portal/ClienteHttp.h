#pragma once
// A small HTTP client for the portal's tests: one connection per request,
// answered while a local event loop runs, so that a server on the same
// thread can answer. Keeps the session cookie like a browser would.

#include <QByteArray>
#include <QMap>
#include <QString>

struct TRespuestaHttp {
    int estado = 0;                          ///< 0 when no answer came
    QMap<QByteArray, QByteArray> cabeceras;  ///< names in lower case
    QByteArray cuerpo;
    QString texto() const { return QString::fromUtf8(cuerpo); }
};

class TClienteHttp {
public:
    explicit TClienteHttp(quint16 puerto) : puerto_(puerto) {}

    /// A raw request; cuerpo is sent as a form.
    TRespuestaHttp pedir(const QByteArray& metodo, const QByteArray& ruta, const QByteArray& cuerpo = {});
    TRespuestaHttp get(const QByteArray& ruta) { return pedir("GET", ruta); }
    TRespuestaHttp post(const QByteArray& ruta, const QByteArray& cuerpo) { return pedir("POST", ruta, cuerpo); }

    /// POST /entrar with the code.
    TRespuestaHttp entrar(const QString& codigo);
    /// The CSRF token of the decisions page, empty without a session.
    QByteArray csrf();

    QByteArray cookie;  ///< "sesion=..." as last set

private:
    quint16 puerto_;
};

/// A form body from pairs, percent-encoded.
QByteArray formulario(const QList<QPair<QString, QString>>& campos);

/// The value="..." of the input or the selected option named nombre in a page.
QString valorDelCampo(const QString& pagina, const QString& nombre);
