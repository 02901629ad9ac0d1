#pragma once
// A small HTTP client for the portal's tests: one connection per request,
// read on a local event loop. Keeps the session cookie and the pre-login
// one like a browser would. Beside it, raw requests without Qt for what no
// browser sends.

#include "store/Registros.h"

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
    /// desde: the loopback address it speaks from (any of 127.0.0.0/8).
    explicit TClienteHttp(quint16 puerto, QString desde = QStringLiteral("127.0.0.1"))
        : puerto_(puerto), desde_(std::move(desde)) {}

    /// A raw request; cuerpo is sent as a form.
    TRespuestaHttp pedir(const QByteArray& metodo, const QByteArray& ruta, const QByteArray& cuerpo = {});
    TRespuestaHttp get(const QByteArray& ruta) { return pedir("GET", ruta); }
    TRespuestaHttp post(const QByteArray& ruta, const QByteArray& cuerpo) { return pedir("POST", ruta, cuerpo); }

    /// POST /entrar with the code.
    TRespuestaHttp entrar(const QString& codigo);
    /// The CSRF token of the decisions page, empty without a session.
    QByteArray csrf();

    QByteArray cookie;  ///< "sesion=..." as last set
    QByteArray previa;  ///< the pre-login cookie, "previo=...", as the login page set it

private:
    quint16 puerto_;
    QString desde_;
};

/// A form body from pairs, percent-encoded.
QByteArray formulario(const QList<QPair<QString, QString>>& campos);

/// A team's decisions form for periodo, as its browser sends it.
QByteArray formularioDe(const QByteArray& csrf, int periodo, const TRegDecision& d);

/// The value="..." of the input or the selected option named nombre in a page.
QString valorDelCampo(const QString& pagina, const QString& nombre);

/// A connection to the portal on 127.0.0.1 from the loopback address desde
/// (any of 127.0.0.0/8), without Qt: -1 when it fails.
int conectarCrudo(quint16 puerto, const char* desde = "127.0.0.1");

/// Sends bytes as they are on a new connection and returns everything read
/// until the server closes it or segundos pass.
QByteArray pedidoCrudo(quint16 puerto, const QByteArray& bytes, int segundos = 5);

/// The status of a raw answer, 0 when there is none.
int estadoCrudo(const QByteArray& respuesta);

/// This process's resident memory, in bytes.
long long memoriaResidente();
