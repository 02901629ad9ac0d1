#include "portal/Manejadores.h"

#include "portal/DatosPortal.h"
#include "portal/Trabajador.h"

#include "engine/ValidarDecision.h"
#include "store/Texto.h"

#include <algorithm>

namespace {

const QString kVolver = QStringLiteral("<p><a href=\"/decisiones\">Volver</a></p>");

bool csrfValido(const TSesiones::TSesion& sesion, const QMap<QString, QString>& campos) {
    const std::string dado = campos.value(QStringLiteral("csrf")).toStdString();
    return igualesTiempoConstante(dado, sesion.csrf);
}

TRespuesta csrfRechazado() {
    return mensaje(403, QStringLiteral("Pedido rechazado"),
                   QStringLiteral("El formulario no es válido o es de una sesión anterior. Abra la página de "
                                  "nuevo y vuelva a enviarlo."));
}

/// The fields of a request's form, or why it is refused before anything is
/// written: a field given twice (which value was meant?) or one holding a
/// control character, named.
std::optional<QString> leerCamposDe(const TPedido& p, QMap<QString, QString>& campos) {
    QString repetido;
    campos = leerFormulario(QByteArray::fromStdString(p.cuerpo), &repetido);
    const auto control = [](QChar c) { return c.category() == QChar::Other_Control; };
    // The name goes back on a page: short, and without what it refuses.
    const auto nombre = [&](const QString& n) {
        QString corto = n.left(40);
        std::replace_if(corto.begin(), corto.end(), control, QChar(u' '));
        return corto;
    };
    if (!repetido.isEmpty())
        return QStringLiteral("El formulario trae dos veces el campo «%1». Abra la página de nuevo y vuelva a "
                              "enviarlo: no se guardó nada.")
            .arg(nombre(repetido));
    for (auto i = campos.cbegin(); i != campos.cend(); ++i)
        if (std::any_of(i.key().begin(), i.key().end(), control) || std::any_of(i->begin(), i->end(), control))
            return QStringLiteral("El campo «%1» trae caracteres de control. Escríbalo de nuevo y vuelva a "
                                  "enviarlo: no se guardó nada.")
                .arg(nombre(i.key()));
    return std::nullopt;
}

TRespuesta formularioRechazado(const QString& motivo) {
    return mensaje(400, QStringLiteral("Formulario rechazado"), motivo);
}

/// Reads the ten fields of the form into t, with why each refused one is.
void leerCampos(const QMap<QString, QString>& campos, TTarea& t) {
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
}

}  // namespace

TVistaDecisiones vistaDecisiones(TJuego& juego, const TSesiones::TSesion& sesion, const TLecturaPortal& lectura,
                                 const TDatosPortal& datos) {
    TVistaDecisiones v;
    v.empresa = sesion.empresa;
    v.csrf = QString::fromStdString(sesion.csrf);
    try {
        const TEstadoJuego& estado = lectura.estado;
        if (estado.marca.fase != TFase::abierto || estado.datos.cantEquipos == 0) {
            juego.comprobarPeriodoAbierto();
            throw ErrorJuego("No hay un período abierto.");
        }
        const TRegDatosIniciales& datosJuego = estado.datos;
        v.periodo = datosJuego.periodoActual;
        v.bancoA = aTexto(datosJuego.nombreBancoA);
        v.bancoB = aTexto(datosJuego.nombreBancoB);
        if (const auto hasta = datos.plazoDe(v.periodo))
            v.plazo = QStringLiteral("hasta las %1").arg(QString::fromStdString(textoHora(*hasta)));
    } catch (const ErrorJuego& e) {
        v.motivoCerrado = QStringLiteral("Ahora no se reciben decisiones: %1").arg(QString::fromUtf8(e.what()));
    }
    v.periodosConReportes = lectura.periodos;
    if (v.periodo > 0) v.enviado = lectura.envio.has_value();
    return v;
}

TManejadores::TManejadores(TDatosPortal& datos, TJuego& juego, TTrabajador& trabajador)
    : datos_(datos), juego_(juego), trabajador_(trabajador) {}

/// The game object of the server thread at hand: each has its own.
TJuego& TManejadores::lector() {
    std::lock_guard<std::mutex> l(lectoresM_);
    auto& propio = lectores_[std::this_thread::get_id()];
    if (!propio) {
        propio = std::make_unique<TJuego>(juego_.ruta(), juego_.sistemaArchivos());
        propio->fijarNotificador(datos_.notificador);
    }
    return *propio;
}

/// The request's session, when it has a live one whose team still plays
/// with the code it entered with.
std::optional<TManejadores::TSesion> TManejadores::sesionDe(const TPedido& p, TLecturaPortal* lectura) {
    const std::string token = p.tokenDeSesion();
    std::optional<TSesion> sesion = datos_.sesiones.usar(token);
    if (!sesion) return std::nullopt;
    TLecturaPortal leida = lector().lecturaDelPortal(sesion->codigo);
    const auto equipo = leida.equipo;
    if (lectura) *lectura = std::move(leida);
    if (!equipo || *equipo != sesion->empresa) {
        datos_.sesiones.quitar(token);
        return std::nullopt;
    }
    return sesion;
}

// The login page gives a browser without it the pre-login cookie, by
// which its wrong codes are counted apart from its neighbours' behind the
// same address.
std::optional<TRespuesta> TManejadores::inicio(TPedido& p, int) {
    if (sesionDe(p)) return redirigir("/decisiones");
    TRespuesta r = html(paginaEntrada());
    if (!TSesiones::galletaValida(p.galleta(TSesiones::kGalletaPrevia)))
        r.cabeceras.emplace_back("Set-Cookie", QByteArray(TSesiones::kGalletaPrevia) + "=" +
                                                   QByteArray::fromStdString(TSesiones::galletaNueva()) +
                                                   "; HttpOnly; SameSite=Strict; Path=/");
    return r;
}

std::optional<TRespuesta> TManejadores::entrar(TPedido& p, int) {
    const auto ahora = datos_.sesiones.ahora();
    std::string navegador = p.galleta(TSesiones::kGalletaPrevia);
    if (!TSesiones::galletaValida(navegador)) navegador.clear();
    const TSesiones::TBloqueo bloqueo = datos_.sesiones.bloqueo(p.clave, navegador, ahora);
    if (bloqueo == TSesiones::TBloqueo::direccion || bloqueo == TSesiones::TBloqueo::navegador) {
        // The screen tells the teacher which address is held back, not which browser.
        if (bloqueo == TSesiones::TBloqueo::direccion)
            datos_.anotarTope(p.clave, QStringLiteral("códigos errados por dirección"));
        return html(paginaEntrada(QStringLiteral("Hubo demasiados intentos fallidos desde %1. Espere un minuto y "
                                                 "vuelva a intentar.")
                                      .arg(bloqueo == TSesiones::TBloqueo::navegador ? QStringLiteral("este navegador")
                                                                                      : QStringLiteral("esta dirección"))),
                    429);
    }
    QMap<QString, QString> campos;
    if (const auto motivo = leerCamposDe(p, campos)) return html(paginaEntrada(*motivo), 400);
    const auto codigo = utf8ACp1252(campos.value(QStringLiteral("codigo")).left(64).toStdString());
    const auto empresa = codigo ? lector().equipoDelCodigo(*codigo) : std::nullopt;
    if (!empresa) {
        datos_.sesiones.anotarFallido(p.clave, navegador, ahora);
        // Codes are 40 bits, compared in constant time: a flood of wrong codes
        // from many addresses holds back unknown codes, never a team's own.
        if (bloqueo == TSesiones::TBloqueo::portal)
            return html(paginaEntrada(QStringLiteral("Hubo demasiados códigos errados en el portal en el último "
                                                     "minuto. Espere un minuto y vuelva a intentar.")),
                        429);
        return html(paginaEntrada(QStringLiteral("El código no es válido. Revíselo y vuelva a escribirlo.")), 403);
    }
    const std::string token = datos_.sesiones.abrir(*empresa, normalizarCodigo(*codigo), ahora);
    TRespuesta r = redirigir("/decisiones");
    r.cabeceras.emplace_back("Set-Cookie", QByteArray::fromStdString("sesion=" + token + "; HttpOnly; SameSite=Strict; Path=/"));
    return r;
}

std::optional<TRespuesta> TManejadores::salir(TPedido& p, int) {
    const auto sesion = sesionDe(p);
    if (!sesion) return redirigir("/");
    QMap<QString, QString> campos;
    if (const auto motivo = leerCamposDe(p, campos)) return formularioRechazado(*motivo);
    if (!csrfValido(*sesion, campos)) return csrfRechazado();
    datos_.sesiones.quitar(p.tokenDeSesion());
    TRespuesta r = redirigir("/");
    r.cabeceras.emplace_back("Set-Cookie", "sesion=; HttpOnly; SameSite=Strict; Path=/; Max-Age=0");
    return r;
}

/// The team's decisions of the period before, when the history has
/// them; the period is read once for every team while the game stays put.
std::optional<TRegDecision> TManejadores::decisionAnterior(TJuego& juego, const TMarca& marca,
                                                           const std::string& empresa, int periodo,
                                                           const std::vector<int>& periodos) {
    {
        std::lock_guard<std::mutex> l(datos_.m);
        if (datos_.marcaAnteriores == marca) {
            const auto hallada = datos_.anteriores.find(empresa);
            if (hallada == datos_.anteriores.end()) return std::nullopt;
            return hallada->second;
        }
    }
    std::map<std::string, TRegDecision> anteriores;
    if (std::find(periodos.begin(), periodos.end(), periodo - 1) != periodos.end()) {
        const TArchivoPeriodo archivo = juego.periodoDelHistorial(periodo - 1);
        for (std::size_t i = 0; i < archivo.industria.size() && i < archivo.decisiones.size(); ++i)
            anteriores.emplace(archivo.industria[i].empresa, archivo.decisiones[i]);
    }
    std::lock_guard<std::mutex> l(datos_.m);
    datos_.marcaAnteriores = marca;
    datos_.anteriores = std::move(anteriores);
    const auto hallada = datos_.anteriores.find(empresa);
    if (hallada == datos_.anteriores.end()) return std::nullopt;
    return hallada->second;
}

std::optional<TRespuesta> TManejadores::verDecisiones(TPedido& p, int) {
    TLecturaPortal lectura;
    const auto sesion = sesionDe(p, &lectura);
    if (!sesion) return redirigir("/");
    TVistaDecisiones v = vistaDecisiones(lector(), *sesion, lectura, datos_);
    if (v.periodo > 0) {
        // The form starts from what the team sent, or else from what it decided last time.
        TRegDecision mostrada{};
        if (lectura.envio) {
            mostrada = *lectura.envio;
        } else if (const auto anterior = decisionAnterior(lector(), lectura.estado.marca, sesion->empresa, v.periodo,
                                                          v.periodosConReportes)) {
            mostrada = *anterior;
            v.nota = QStringLiteral("Igual que el período anterior: el formulario trae sus decisiones del período "
                                    "%1. Cámbielas o envíelas así.")
                         .arg(v.periodo - 1);
            // Period 0's requests are the opening loans the company already
            // owes: sent again they would push it past its banks.
            if (v.periodo == 1) {
                mostrada.pedPrestamoA = mostrada.pedPrestamoB = mostrada.devPrestamoA = mostrada.devPrestamoB = 0;
                v.nota = QStringLiteral("El formulario trae sus decisiones del período 0 salvo los préstamos: los "
                                        "pedidos y las devoluciones de préstamos quedan en 0. Cámbielas o envíelas así.");
            }
        }
        if (lectura.envio || !v.nota.isEmpty()) v.valores = valoresDe(mostrada);
        try {
            const TAvisosEmpresa propios = lector().avisosDeEmpresa(sesion->empresa, mostrada);
            v.credito = propios.credito;
            v.avisos = propios.avisos;
        } catch (const std::exception&) {
            // Only a help: a game that cannot be read now says so when the team sends.
        }
    }
    return html(paginaDecisiones(v));
}

// A submission is read and checked here; it is stored (or refused) and
// written in the register by the worker, together with those that
// arrive meanwhile: one lock and one flush of the disk for all.
std::optional<TRespuesta> TManejadores::enviar(TPedido& p, int) {
    const std::string token = p.tokenDeSesion();
    const auto sesion = datos_.sesiones.usar(token);
    if (!sesion) return redirigir("/");
    QMap<QString, QString> campos;
    if (const auto motivo = leerCamposDe(p, campos)) return formularioRechazado(*motivo);
    if (!csrfValido(*sesion, campos)) return csrfRechazado();
    // One submission a second per team: a flood neither grows the register
    // nor holds back the other teams' submissions.
    if (!datos_.sesiones.permitirEnvio(sesion->empresa, datos_.sesiones.ahora()))
        return mensaje(429, QStringLiteral("Espere un momento"),
                       QStringLiteral("Su equipo acaba de enviar decisiones. Espere un momento y, si hace falta, "
                                      "vuelva a enviarlas: la página de decisiones muestra lo último que se guardó."));
    TTarea t;
    t.pedido = &p;
    t.token = token;
    t.empresa = sesion->empresa;
    t.codigo = sesion->codigo;
    t.momento = datos_.ahoraDePared();
    leerCampos(campos, t);
    bool hayPeriodo = false;
    t.periodo = campos.value(QStringLiteral("periodo")).toInt(&hayPeriodo);
    if (!hayPeriodo) {
        t.periodo = 0;
        t.motivo = QStringLiteral("El formulario no dice de qué período es.");
    } else if (!t.erroresCampo.isEmpty()) {
        t.motivo = QStringLiteral("Revise los campos marcados: no se guardó nada.");
    } else if (const auto hasta = datos_.plazoDe(t.periodo); hasta && t.momento > *hasta) {
        t.motivo = QStringLiteral("El plazo para enviar las decisiones del período %1 terminó a las %2. No se "
                                  "guardó nada.")
                       .arg(t.periodo)
                       .arg(QString::fromStdString(textoHora(*hasta)));
        t.estadoRechazo = 409;
    }
    return trabajador_.encolar(std::move(t));
}

std::optional<TRespuesta> TManejadores::informeEmpresa(TPedido& p, int periodo) {
    return informe(p, TInforme::empresa, periodo);
}

std::optional<TRespuesta> TManejadores::informeIndustria(TPedido& p, int periodo) {
    return informe(p, TInforme::industria, periodo);
}

std::optional<TRespuesta> TManejadores::pdf(TPedido& p, int periodo) { return informe(p, TInforme::pdf, periodo); }

/// A report of a period the team played: the industry's to every team,
/// the company's and its PDF only to a team that took part in it.
std::optional<TRespuesta> TManejadores::informe(TPedido& p, TInforme tipo, int periodo) {
    TLecturaPortal lectura;
    const auto sesion = sesionDe(p, &lectura);
    if (!sesion) return redirigir("/");
    const auto& periodos = lectura.periodos;
    if (std::find(periodos.begin(), periodos.end(), periodo) == periodos.end()) return noEncontrada();
    const TArchivoPeriodo archivo = lector().periodoDelHistorial(periodo);
    const auto fila = std::find_if(archivo.industria.begin(), archivo.industria.end(),
                                   [&](const TFilaIndustria& f) { return f.empresa == sesion->empresa; });
    const QString pdf = QStringLiteral("/pdf/%1").arg(periodo);
    if (tipo == TInforme::industria) {
        const QString titulo = QStringLiteral("Informe de la industria, período %1").arg(periodo);
        return html(pagina(titulo, QStringLiteral("<h1>%1</h1>").arg(escaparHtml(titulo)) + kVolver +
                                       recuadroReporte(lector().reporteDelHistorial(periodo, archivo.reporteIndustria),
                                                       fila == archivo.industria.end() ? QString() : pdf)));
    }
    if (fila == archivo.industria.end()) return noEncontrada();
    if (tipo == TInforme::pdf) {
        if (const auto hecho = datos_.pdfHecho(lectura.estado.marca, sesion->empresa, periodo))
            return respuestaPdf(*hecho, periodo);
        TTarea t;
        t.pedido = &p;
        t.esPdf = true;
        t.empresa = sesion->empresa;
        t.periodo = periodo;
        return trabajador_.encolar(std::move(t));
    }
    const QString titulo = QStringLiteral("Informe de %1, período %2").arg(texto1252(sesion->empresa)).arg(periodo);
    QString cuerpo = QStringLiteral("<h1>%1</h1>").arg(escaparHtml(titulo)) + kVolver +
                     recuadroReporte(lector().reporteDelHistorial(periodo, fila->reporte), pdf);
    if (!fila->aviso.empty())
        cuerpo += QStringLiteral("<h2>Aviso</h2>") + recuadroReporte(lector().reporteDelHistorial(periodo, fila->aviso), {});
    return html(pagina(titulo, cuerpo));
}
