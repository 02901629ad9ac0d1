#include "portal/Trabajador.h"

#include "portal/DatosPortal.h"
#include "portal/Manejadores.h"
#include "portal/Paginas.h"
#include "portal/Portal.h"

#include "documentos/Documentos.h"
#include "engine/ValidarDecision.h"
#include "store/ErrorArchivo.h"

TTrabajador::TTrabajador(TPortal& portal, TDatosPortal& datos, TJuego& juego, std::shared_mutex& turnoJuego)
    : portal_(portal), datos_(datos), turnoJuego_(turnoJuego), juego_(juego.ruta(), juego.sistemaArchivos()) {
    juego_.fijarNotificador(datos.notificador);
}

TTrabajador::~TTrabajador() { detener(); }

void TTrabajador::iniciar() { hilo_ = std::thread([this] { trabajar(); }); }

void TTrabajador::detener() {
    {
        std::lock_guard<std::mutex> l(colaM_);
        fin_ = true;
    }
    colaCv_.notify_all();
    if (hilo_.joinable()) hilo_.join();
}

std::optional<TRespuesta> TTrabajador::encolar(TTarea t) {
    {
        std::lock_guard<std::mutex> l(colaM_);
        if (fin_) return mensaje(503, QStringLiteral("Portal cerrado"), QStringLiteral("El portal se está cerrando."));
        t.pedido->suspendido = true;
        MHD_suspend_connection(t.pedido->conexion);
        cola_.push_back(std::move(t));
    }
    colaCv_.notify_one();
    return std::nullopt;
}

void TTrabajador::trabajar() {
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
template <class Cambio> auto TTrabajador::conTurno(Cambio cambio) {
    using Reloj = std::chrono::steady_clock;
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

void TTrabajador::reanudar(TTarea& t, TRespuesta r) {
    t.pedido->respuesta = std::move(r);
    MHD_resume_connection(t.pedido->conexion);
}

/// The decisions page again, with what was typed and why it was refused.
TRespuesta TTrabajador::rechazo(const TTarea& t, int estado, const QString& error) {
    const auto sesion = datos_.sesiones.usar(t.token);
    if (!sesion) return redirigir("/");
    TVistaDecisiones v = vistaDecisiones(juego_, *sesion, juego_.lecturaDelPortal(sesion->codigo), datos_);
    v.valores = t.valores;
    v.error = error;
    v.erroresCampo = t.erroresCampo;
    return html(paginaDecisiones(v), estado);
}

void TTrabajador::guardarEnvios(std::vector<TTarea>& tareas) {
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
        const auto respuestas = conTurno([&] { return juego_.guardarEnvios(recibidos); });
        for (std::size_t k = 0; k < respuestas.size(); ++k) resultados[deQuien[k]] = respuestas[k];
    } catch (const std::exception& e) {
        paraTodos = errorDelJuego(e);
        motivoDeTodos = dynamic_cast<const ErrorJuegoEnUso*>(&e) ? QStringLiteral("El juego estaba en uso.")
                                                                : QString::fromUtf8(e.what());
    }
    std::vector<TRespuesta> respuestas(tareas.size());
    for (std::size_t i = 0; i < tareas.size(); ++i) {
        const TTarea& t = tareas[i];
        TAnotacionEnvio nota{t.momento, t.periodo, t.empresa, t.pedido->direccion, {}, false, {}};
        for (const TRangoDecision& rango : rangosDecision())
            nota.valores.push_back(t.valores.value(QString::fromLatin1(rango.columna)).toStdString());
        try {
            if (!t.motivo.isEmpty()) {
                // The register keeps what was wrong with each field, not the page's summary.
                nota.motivo = t.erroresCampo.isEmpty() ? t.motivo.toStdString()
                                                       : t.erroresCampo.values().join(QLatin1Char(' ')).toStdString();
                respuestas[i] = rechazo(t, t.estadoRechazo, t.motivo);
            } else if (paraTodos) {
                nota.motivo = motivoDeTodos.toStdString();
                respuestas[i] = *paraTodos;
            } else {
                respuestas[i] = respuestaDeEnvio(t, *resultados[i], nota);
            }
        } catch (const std::exception& e) {
            respuestas[i] = errorDelJuego(e);
        }
        pendientesDeAnotar_.push_back(std::move(nota));
    }
    anotar();
    for (std::size_t i = 0; i < tareas.size(); ++i) reanudar(tareas[i], std::move(respuestas[i]));
}

/// The answer to a submission the game took in, and its line in the register.
TRespuesta TTrabajador::respuestaDeEnvio(const TTarea& t, const TRespuestaEnvio& resultado, TAnotacionEnvio& nota) {
    const QString texto = QString::fromUtf8(resultado.mensaje);
    nota.motivo = resultado.mensaje;
    switch (resultado.resultado) {
    case TResultadoEnvio::guardado:
        nota.aceptado = true;
        emit portal_.envioRecibido(texto1252(t.empresa));
        return redirigir("/decisiones");
    case TResultadoEnvio::sinSesion:
        datos_.sesiones.quitar(t.token);
        return redirigir("/");
    case TResultadoEnvio::fueraDeRango:
        return rechazo(t, 400, texto);
    case TResultadoEnvio::rechazado:
        break;
    }
    return rechazo(t, 409, texto + QStringLiteral(" No se guardó nada."));
}

/// Writes the register; while another program holds the game, tries for
/// two seconds, and what could not be written waits for the next batch.
void TTrabajador::anotar() {
    try {
        conTurno([&] { juego_.anotarEnvios(pendientesDeAnotar_); });
        pendientesDeAnotar_.clear();
    } catch (const std::exception&) {
        // Kept for the next batch: the register loses nothing while the program runs.
    }
}

TRespuesta TTrabajador::construirPdf(const TTarea& t) {
    const TMarca marca = juego_.leerEstado().marca;
    if (const auto hecho = datos_.pdfHecho(marca, t.empresa, t.periodo)) return respuestaPdf(*hecho, t.periodo);
    const QByteArray bytes = pdfDeEmpresa(juego_, t.periodo, t.empresa);
    datos_.guardarPdf(marca, t.empresa, t.periodo, bytes);
    return respuestaPdf(bytes, t.periodo);
}
