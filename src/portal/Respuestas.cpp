#include "portal/Respuestas.h"

#include "portal/Paginas.h"

#include "juego/Juego.h"
#include "store/ErrorArchivo.h"
#include "store/NombresArchivos.h"

namespace {

const QString kOcupado = QStringLiteral("El docente está usando el juego en este momento. Espere unos segundos y "
                                        "vuelva a enviar o a abrir la página: no se guardó nada.");

/// The response with every header, or nullptr (and nothing left behind) when one is refused.
MHD_Response* armar(const TRespuesta& r) {
    MHD_Response* respuesta = MHD_create_response_from_buffer(static_cast<size_t>(r.cuerpo.size()),
                                                              const_cast<char*>(r.cuerpo.constData()),
                                                              MHD_RESPMEM_MUST_COPY);
    if (!respuesta) return nullptr;
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
    bool todas = true;
    for (const auto& [clave, valor] : fijas)
        todas = todas && MHD_add_response_header(respuesta, clave, valor.constData()) == MHD_YES;
    for (const auto& [clave, valor] : r.cabeceras)
        todas = todas && MHD_add_response_header(respuesta, clave.constData(), valor.constData()) == MHD_YES;
    if (r.cerrar) todas = todas && MHD_add_response_header(respuesta, "Connection", "close") == MHD_YES;
    if (!todas) {
        MHD_destroy_response(respuesta);
        return nullptr;
    }
    return respuesta;
}

}  // namespace

TRespuesta html(QByteArray cuerpo, int estado) { return {estado, std::move(cuerpo), "text/html; charset=utf-8", {}}; }

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

TRespuesta demasiadoGrande() {
    TRespuesta r = mensaje(413, QStringLiteral("Demasiado grande"),
                           QStringLiteral("El pedido supera los 16 KiB que acepta el portal."));
    r.cerrar = true;
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

TRespuesta errorInterno() {
    TRespuesta r = mensaje(500, QStringLiteral("Error"),
                           QStringLiteral("El portal no pudo armar la respuesta. Vuelva a intentar."));
    r.cerrar = true;
    return r;
}

TRespuesta respuestaPdf(const QByteArray& bytes, int periodo) {
    TRespuesta r{200, bytes, "application/pdf", {}};
    r.cabeceras.emplace_back("Content-Disposition",
                             "attachment; filename=\"" + QByteArray::fromStdString(nombrePeriodo(periodo)) + ".pdf\"");
    return r;
}

MHD_Response* respuestaMhd(const TRespuesta& r, unsigned& estado) {
    if (MHD_Response* respuesta = armar(r)) {
        estado = static_cast<unsigned>(r.estado);
        return respuesta;
    }
    const TRespuesta error = errorInterno();
    estado = static_cast<unsigned>(error.estado);
    return armar(error);
}

MHD_Result responder(MHD_Connection* conexion, const TRespuesta& r) {
    unsigned estado = 0;
    MHD_Response* respuesta = respuestaMhd(r, estado);
    if (!respuesta) return MHD_NO;
    const MHD_Result hecho = MHD_queue_response(conexion, estado, respuesta);
    MHD_destroy_response(respuesta);
    return hecho;
}
