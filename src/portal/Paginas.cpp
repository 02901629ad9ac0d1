#include "portal/Paginas.h"

#include "engine/ValidarDecision.h"
#include "store/Texto.h"

#include <QUrl>

#include <algorithm>

QString escaparHtml(const QString& texto) {
    QString salida;
    salida.reserve(texto.size() + 16);
    for (QChar c : texto) {
        switch (c.unicode()) {
        case '&': salida += QStringLiteral("&amp;"); break;
        case '<': salida += QStringLiteral("&lt;"); break;
        case '>': salida += QStringLiteral("&gt;"); break;
        case '"': salida += QStringLiteral("&quot;"); break;
        case '\'': salida += QStringLiteral("&#39;"); break;
        default: salida += c;
        }
    }
    return salida;
}

QString escapar1252(const std::string& texto) { return escaparHtml(texto1252(texto)); }

QString texto1252(const std::string& texto) { return QString::fromStdString(cp1252AUtf8(texto)); }

QMap<QString, QString> leerFormulario(const QByteArray& cuerpo, QString* repetido) {
    QMap<QString, QString> campos;
    if (repetido) repetido->clear();
    for (const QByteArray& par : cuerpo.split('&')) {
        if (par.isEmpty()) continue;
        const qsizetype igual = par.indexOf('=');
        QByteArray clave = igual < 0 ? par : par.left(igual);
        QByteArray valor = igual < 0 ? QByteArray() : par.mid(igual + 1);
        clave.replace('+', ' ');
        valor.replace('+', ' ');
        const QString nombre = QUrl::fromPercentEncoding(clave);
        if (!campos.contains(nombre)) campos.insert(nombre, QUrl::fromPercentEncoding(valor));
        else if (repetido && repetido->isEmpty()) *repetido = nombre;
    }
    return campos;
}

QByteArray pagina(const QString& titulo, const QString& cuerpo) {
    const QString html = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"es\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
        "<title>%1 · CORVELIAN</title><style>"
        "body{font-family:sans-serif;margin:0 auto;max-width:46em;padding:1em;line-height:1.4}"
        "h1{font-size:1.4em}label{display:block;margin:.6em 0 .2em}"
        "input,select,button{font-size:1.1em;padding:.3em;box-sizing:border-box;max-width:100%}"
        "input[type=text],input[type=number],select{width:100%}"
        "button{margin-top:.8em}.error{color:#a00;font-weight:bold}.ok{color:#060;font-weight:bold}"
        "pre{font-size:.8em;margin:0}.reporte{overflow:auto;max-width:100%;max-height:75vh;"
        "background:#f4f4f4;padding:.5em;border:1px solid #ccc}.pista{font-size:.9em;color:#555}"
        "input.mal,select.mal{border:2px solid #a00}.campo-error{color:#a00;margin:.2em 0}"
        "nav form{display:inline}.ayuda{display:block;font-size:.85em;color:#555}"
        ".avisos{border:2px solid #b60;background:#fff4e0;padding:.2em .6em;margin:1em 0;overflow-wrap:anywhere}"
        ".avisos ul{padding-left:1.2em;margin:.4em 0}.aviso{color:#840;margin:.3em 0}</style></head><body>\n%2</body></html>\n")
                             .arg(escaparHtml(titulo), cuerpo);
    return html.toUtf8();
}

QByteArray paginaEntrada(const QString& error) {
    QString cuerpo = QStringLiteral("<h1>CORVELIAN: portal de equipos</h1>");
    if (!error.isEmpty()) cuerpo += QStringLiteral("<p class=\"error\">%1</p>").arg(escaparHtml(error));
    cuerpo += QStringLiteral(
        "<form method=\"post\" action=\"/entrar\"><label for=\"codigo\">Código de acceso del equipo</label>"
        "<input type=\"text\" id=\"codigo\" name=\"codigo\" autocomplete=\"off\" autocapitalize=\"characters\" "
        "maxlength=\"32\" required autofocus><button type=\"submit\">Entrar</button></form>");
    return pagina(QStringLiteral("Entrar"), cuerpo);
}

QString bloqueReporte(const std::string& bytes1252) {
    QString texto = QString::fromStdString(cp1252AUtf8(bytes1252));
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return QStringLiteral("<pre>%1</pre>").arg(escaparHtml(texto));
}

QString recuadroReporte(const std::string& bytes1252, const QString& pdf) {
    QString html = QStringLiteral("<p class=\"pista\">El informe es más ancho que la pantalla: deslice el "
                                  "recuadro hacia los lados para verlo entero");
    if (!pdf.isEmpty())
        html += QStringLiteral(", o <a href=\"%1\">descárguelo en PDF</a>").arg(escaparHtml(pdf));
    return html + QStringLiteral(".</p><div class=\"reporte\">%1</div>").arg(bloqueReporte(bytes1252));
}

QString nombreDelCampo(const char* columna) {
    for (const TRangoDecision& r : rangosDecision())
        if (std::string_view(r.columna) == columna) return QString::fromUtf8(r.nombre);
    return QString::fromLatin1(columna);
}

QMap<QString, QString> valoresDe(const TRegDecision& decision) {
    QMap<QString, QString> valores;
    for (const TRangoDecision& r : rangosDecision())
        valores.insert(QString::fromLatin1(r.columna), QString::number(decision.*(r.campo)));
    return valores;
}

namespace {

// A field of the form: its label and one line of help from the decision
// table, the message of why its value was refused, and the field.
QString campo(const TRangoDecision& r, const QString& valor, const TVistaDecisiones& v) {
    const QString nombre = QString::fromLatin1(r.columna);
    const std::string bancoA = cp1252AUtf8(v.bancoA), bancoB = cp1252AUtf8(v.bancoB);
    QString html = QStringLiteral("<label for=\"%1\">%2</label><small class=\"ayuda\" id=\"ayuda-%1\">%3</small>")
                       .arg(nombre, escaparHtml(QString::fromStdString(etiquetaConRango(r, bancoA, bancoB))),
                            escaparHtml(QString::fromStdString(ayudaDecision(r, bancoA, bancoB))));
    // The message stands beside its field, and the field is marked.
    const QString error = v.erroresCampo.value(nombre);
    const QString marca = error.isEmpty()
                              ? QStringLiteral(" aria-describedby=\"ayuda-%1\"").arg(nombre)
                              : QStringLiteral(" class=\"mal\" aria-invalid=\"true\" aria-describedby=\"error-%1 ayuda-%1\"")
                                    .arg(nombre);
    if (!error.isEmpty())
        html += QStringLiteral("<p class=\"campo-error\" id=\"error-%1\">%2</p>").arg(nombre, escaparHtml(error));
    // A level is one of a short list: a list to choose from, as on the screens.
    if (r.campo == &TRegDecision::nivelProduccion) {
        html += QStringLiteral("<select id=\"%1\" name=\"%1\"%2>").arg(nombre, marca);
        for (int nivel = r.minimo; nivel <= r.maximo; nivel += r.paso) {
            const QString n = QString::number(nivel);
            html += QStringLiteral("<option value=\"%1\"%2>%1</option>").arg(n, n == valor ? QStringLiteral(" selected") : QString());
        }
        return html + QStringLiteral("</select>");
    }
    return html + QStringLiteral("<input type=\"number\" inputmode=\"numeric\" id=\"%1\" name=\"%1\" min=\"%2\" "
                                 "max=\"%3\" step=\"%4\" value=\"%5\" required%6>")
                      .arg(nombre, QString::number(r.minimo), QString::number(r.maximo), QString::number(r.paso),
                           escaparHtml(valor), marca);
}

// Under the fields: what each bank still lends the team and what the
// decisions shown will do that the team may not expect. Nothing is refused.
QString recuadroAvisos(const TVistaDecisiones& v) {
    if (!v.credito) return {};
    const auto pesos = [](int64_t monto) { return QStringLiteral("u$s %1").arg(std::max<int64_t>(0, monto)); };
    QString html = QStringLiteral("<div class=\"avisos\" id=\"avisos\" role=\"status\"><p>El banco A (%1) todavía le "
                                  "presta a su empresa %2 y el banco B (%3), %4.</p>")
                       .arg(escapar1252(v.bancoA), pesos(v.credito->bancoA), escapar1252(v.bancoB),
                            pesos(v.credito->bancoB));
    if (!v.avisos.empty()) {
        html += QStringLiteral("<p><strong>%1</strong></p><ul>")
                    .arg(v.enviado ? QStringLiteral("Avisos sobre las decisiones guardadas:")
                                   : QStringLiteral("Avisos sobre las decisiones que trae el formulario:"));
        for (const TAvisoDecision& aviso : v.avisos)
            html += QStringLiteral("<li class=\"aviso\">%1</li>").arg(escaparHtml(QString::fromStdString(aviso.texto)));
        html += QStringLiteral("</ul>");
    }
    return html + QStringLiteral("<p class=\"pista\">Si cambia los valores, envíelos: la página mostrará los avisos "
                                 "sobre lo que guardó.</p></div>");
}

}  // namespace

QByteArray paginaDecisiones(const TVistaDecisiones& v) {
    QString cuerpo = QStringLiteral("<h1>Equipo %1</h1>").arg(escapar1252(v.empresa));
    if (!v.error.isEmpty()) cuerpo += QStringLiteral("<p class=\"error\">%1</p>").arg(escaparHtml(v.error));
    if (v.periodo == 0) {
        cuerpo += QStringLiteral("<p>%1</p>").arg(escaparHtml(v.motivoCerrado));
    } else {
        cuerpo += QStringLiteral("<h2>Decisiones del período %1</h2>").arg(v.periodo);
        if (!v.plazo.isEmpty()) cuerpo += QStringLiteral("<p>Plazo: %1.</p>").arg(escaparHtml(v.plazo));
        if (!v.nota.isEmpty()) cuerpo += QStringLiteral("<p class=\"pista\">%1</p>").arg(escaparHtml(v.nota));
        if (v.enviado)
            cuerpo += QStringLiteral("<p class=\"ok\">Sus decisiones del período %1 están guardadas. Puede "
                                     "corregirlas y enviarlas de nuevo hasta que se simule el período.</p>")
                          .arg(v.periodo);
        // novalidate: the ranges are checked by the game, with its own Spanish messages.
        cuerpo += QStringLiteral("<form method=\"post\" action=\"/decisiones\" novalidate>"
                                 "<input type=\"hidden\" name=\"csrf\" value=\"%1\">"
                                 "<input type=\"hidden\" name=\"periodo\" value=\"%2\">")
                      .arg(escaparHtml(v.csrf), QString::number(v.periodo));
        for (const TRangoDecision& r : rangosDecision())
            cuerpo += campo(r, v.valores.value(QString::fromLatin1(r.columna), QStringLiteral("0")), v);
        cuerpo += recuadroAvisos(v);
        cuerpo += QStringLiteral("<button type=\"submit\">Enviar decisiones</button></form>");
    }
    if (!v.periodosConReportes.empty()) {
        cuerpo += QStringLiteral("<h2>Informes</h2><ul>");
        for (int p : v.periodosConReportes)
            cuerpo += QStringLiteral("<li>Período %1: <a href=\"/reportes/%1\">informe de la empresa</a> · "
                                     "<a href=\"/industria/%1\">informe de la industria</a> · "
                                     "<a href=\"/pdf/%1\">PDF</a></li>")
                          .arg(p);
        cuerpo += QStringLiteral("</ul>");
    }
    cuerpo += QStringLiteral("<nav><form method=\"post\" action=\"/salir\"><input type=\"hidden\" name=\"csrf\" "
                             "value=\"%1\"><button type=\"submit\">Salir</button></form></nav>")
                  .arg(escaparHtml(v.csrf));
    return pagina(QStringLiteral("Decisiones"), cuerpo);
}
