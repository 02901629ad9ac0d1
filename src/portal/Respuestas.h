#pragma once
// The portal's answers: a status, a body, its type and extra headers, built
// here for every case the portal answers alike (a page, a redirection, a
// refusal, an error of the game, a PDF), and handed to libmicrohttpd with
// the headers every answer carries. An answer whose headers libmicrohttpd
// refuses is never sent without them: the internal-error page goes instead.

#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>
#include <vector>

#include <microhttpd.h>

struct TRespuesta {
    int estado = 200;
    QByteArray cuerpo;
    QByteArray tipo = "text/html; charset=utf-8";
    std::vector<std::pair<QByteArray, QByteArray>> cabeceras;
    bool cerrar = false;  ///< the connection ends after it (a body left unread)
};

/// A page (UTF-8 HTML).
TRespuesta html(QByteArray cuerpo, int estado = 200);
/// 303 to destino.
TRespuesta redirigir(const QByteArray& destino);
/// A page with a title, a sentence and a link back to the decisions.
TRespuesta mensaje(int estado, const QString& titulo, const QString& texto);
TRespuesta noEncontrada();
/// 405, naming the methods the path takes.
TRespuesta noPermitido(const QByteArray& permitidos);
/// 413: the body is over the portal's limit; the connection is closed.
TRespuesta demasiadoGrande();
/// 503 when another program holds the game, 409 when the game refuses, else 500.
TRespuesta errorDelJuego(const std::exception& e);
/// The page sent when an answer cannot be built (500, closing the connection).
TRespuesta errorInterno();
/// A team's PDF of one period, to download as "Periodo N.pdf".
TRespuesta respuestaPdf(const QByteArray& bytes, int periodo);

/// The libmicrohttpd answer for r with the portal's fixed headers. When one
/// of its headers is refused (a line break in it, no memory) the
/// internal-error page takes its place; estado receives the status of what
/// was built. nullptr when not even that could be built.
MHD_Response* respuestaMhd(const TRespuesta& r, unsigned& estado);

/// Queues r on the connection; MHD_NO closes the connection unanswered.
MHD_Result responder(MHD_Connection* conexion, const TRespuesta& r);
