#include "portal/Trabajador.h"

#include "portal/DatosPortal.h"
#include "portal/Manejadores.h"
#include "portal/Paginas.h"
#include "portal/Portal.h"

#include "documentos/Documentos.h"
#include "engine/ValidarDecision.h"
#include "store/ErrorArchivo.h"
#include "store/NombresArchivos.h"
#include "store/Texto.h"

#include <utility>

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
            if (cola_.empty() && fin_) break;
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
    // The lines still waiting are written before the portal closes; those the
    // disk still refuses are named to the teacher, never dropped in silence.
    anotar();
    if (!pendientesDeAnotar_.empty())
        juego_.notificador().advertencia(
            cp1252("Atención"),
            cp1252("El portal se cerró sin poder escribir en «") + kArchivoRegistroPortal + "» " +
                std::to_string(pendientesDeAnotar_.size()) +
                cp1252(" línea(s) de envíos (equipo, hora y resultado). Revise el espacio y los permisos de la carpeta del juego."));
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

/// The register's line of a task, with the values as typed.
TAnotacionEnvio TTrabajador::anotacionDe(const TTarea& t) const {
    TAnotacionEnvio nota{t.momento, t.periodo, t.empresa, t.pedido->direccion, {}, false, {}};
    for (const TRangoDecision& rango : rangosDecision())
        nota.valores.push_back(t.valores.value(QString::fromLatin1(rango.columna)).toStdString());
    if (!t.motivo.isEmpty())
        // The register keeps what was wrong with each field, not the page's summary.
        nota.motivo = t.erroresCampo.isEmpty() ? t.motivo.toStdString()
                                               : t.erroresCampo.values().join(QLatin1Char(' ')).toStdString();
    return nota;
}

// The batch's lines go in the register with the submissions, under one
// lock: a submission is acknowledged only when its line was written, and
// when the register cannot be written nothing of the batch is stored.
void TTrabajador::guardarEnvios(std::vector<TTarea>& tareas) {
    std::vector<TEnvioRecibido> recibidos;
    // The lines a refused batch left go first, with this batch's.
    const std::vector<TAnotacionEnvio> previas = std::exchange(pendientesDeAnotar_, {});
    std::vector<TAnotacionEnvio> rechazados = previas;
    std::vector<std::size_t> deQuien;
    for (std::size_t i = 0; i < tareas.size(); ++i) {
        const TTarea& t = tareas[i];
        if (t.motivo.isEmpty()) {
            recibidos.push_back({t.codigo, t.empresa, t.periodo, t.decision, anotacionDe(t)});
            deQuien.push_back(i);
        } else {
            rechazados.push_back(anotacionDe(t));
        }
    }
    std::vector<std::optional<TRespuestaEnvio>> resultados(tareas.size());
    std::optional<TRespuesta> paraTodos;
    bool enUso = false;
    bool anotadas = false;
    try {
        const auto respuestas = conTurno([&] {
            if (!recibidos.empty()) return juego_.guardarEnvios(recibidos, rechazados);
            juego_.anotarEnvios(rechazados);
            return std::vector<TRespuestaEnvio>{};
        });
        anotadas = true;
        for (std::size_t k = 0; k < respuestas.size(); ++k) resultados[deQuien[k]] = respuestas[k];
    } catch (const std::exception& e) {
        paraTodos = noGuardado(e);
        // Their lines wait for the next batch, or for the portal to close.
        pendientesDeAnotar_ = previas;
        enUso = dynamic_cast<const ErrorJuegoEnUso*>(&e) != nullptr;
        const QString motivo = enUso ? QStringLiteral("El juego estaba en uso.") : QString::fromUtf8(e.what());
        for (const TTarea& t : tareas) {
            pendientesDeAnotar_.push_back(anotacionDe(t));
            if (t.motivo.isEmpty()) pendientesDeAnotar_.back().motivo = motivo.toStdString();
        }
    }
    std::vector<TRespuesta> respuestas(tareas.size());
    for (std::size_t i = 0; i < tareas.size(); ++i) {
        const TTarea& t = tareas[i];
        try {
            if (!t.motivo.isEmpty()) respuestas[i] = rechazo(t, t.estadoRechazo, t.motivo);
            else if (paraTodos) respuestas[i] = *paraTodos;
            else respuestas[i] = respuestaDeEnvio(t, *resultados[i]);
        } catch (const std::exception& e) {
            respuestas[i] = errorDelJuego(e);
        }
    }
    // A batch refused for the game's state (no period open) still leaves its
    // lines at once; while another program holds the game, they wait.
    if (paraTodos && !enUso) anotadas = anotar();
    // The teacher's list follows every attempt, refused ones too, once its line is written.
    if (anotadas) emit portal_.envioAnotado();
    for (std::size_t i = 0; i < tareas.size(); ++i) reanudar(tareas[i], std::move(respuestas[i]));
}

/// Why a whole batch was refused, for each of its teams: nothing of it was stored.
TRespuesta TTrabajador::noGuardado(const std::exception& e) {
    if (dynamic_cast<const ErrorJuego*>(&e)) return errorDelJuego(e);
    return mensaje(500, QStringLiteral("No se guardó"),
                   QStringLiteral("Sus decisiones no se guardaron: el programa del docente no pudo escribir en el "
                                  "disco (%1). Avise al docente y vuelva a enviarlas.")
                       .arg(QString::fromUtf8(e.what())));
}

/// The answer to a submission the game judged (its line is in the register).
TRespuesta TTrabajador::respuestaDeEnvio(const TTarea& t, const TRespuestaEnvio& resultado) {
    const QString texto = QString::fromUtf8(resultado.mensaje);
    switch (resultado.resultado) {
    case TResultadoEnvio::guardado:
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

/// Writes the lines a refused batch left; while another program holds the
/// game, tries for two seconds, and what could not be written waits for the
/// next batch, or for the portal to close. True when lines were written.
bool TTrabajador::anotar() {
    if (pendientesDeAnotar_.empty()) return false;
    try {
        conTurno([&] { juego_.anotarEnvios(pendientesDeAnotar_); });
        pendientesDeAnotar_.clear();
        return true;
    } catch (const std::exception&) {
        // Kept for the next batch: the register loses nothing while the program runs.
        return false;
    }
}

TRespuesta TTrabajador::construirPdf(const TTarea& t) {
    const TMarca marca = juego_.leerEstado().marca;
    if (const auto hecho = datos_.pdfHecho(marca, t.empresa, t.periodo)) return respuestaPdf(*hecho, t.periodo);
    const QByteArray bytes = pdfDeEmpresa(juego_, t.periodo, t.empresa);
    datos_.guardarPdf(marca, t.empresa, t.periodo, bytes);
    return respuestaPdf(bytes, t.periodo);
}
