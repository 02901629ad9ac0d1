#include "ui/ImpresionReportes.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {

bool enBlanco(const QString& linea) { return linea.trimmed().isEmpty(); }

QStringList lineasDe(const QString& texto) {
    QStringList lineas = texto.split(QLatin1Char('\n'));
    // The line end of the last line does not start another one.
    if (!lineas.isEmpty() && lineas.last().isEmpty()) lineas.removeLast();
    return lineas;
}

}  // namespace

QList<QStringList> paginar(const QStringList& lineas, int lineasPorPagina) {
    lineasPorPagina = std::max(1, lineasPorPagina);
    QList<QStringList> paginas{QStringList()};
    auto nuevaPagina = [&] { paginas.append(QStringList()); };
    qsizetype i = 0;
    while (i < lineas.size()) {
        if (enBlanco(lineas[i])) {
            QStringList& actual = paginas.last();
            if (actual.size() >= lineasPorPagina) nuevaPagina();
            // A separator is worth nothing at the top of a later page.
            if (!(paginas.size() > 1 && paginas.last().isEmpty())) paginas.last().append(lineas[i]);
            ++i;
            continue;
        }
        qsizetype fin = i;
        while (fin < lineas.size() && !enBlanco(lineas[fin])) ++fin;
        const qsizetype largo = fin - i;
        const qsizetype libres = lineasPorPagina - paginas.last().size();
        if (largo > libres && largo <= lineasPorPagina && !paginas.last().isEmpty()) nuevaPagina();
        // A block longer than a page is cut wherever the page ends.
        for (; i < fin; ++i) {
            if (paginas.last().size() >= lineasPorPagina) nuevaPagina();
            paginas.last().append(lineas[i]);
        }
    }
    return paginas;
}

QStringList imprimirReportes(QPrinter& impresora, const QString& juego, int periodo,
                             const QList<TReporteImpreso>& reportes) {
    QPainter pintor;
    if (!pintor.begin(&impresora)) return {};
    const QRectF area(QPointF(0, 0), impresora.pageLayout().paintRectPixels(impresora.resolution()).size());

    QFont letra = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    letra.setStyleHint(QFont::Monospace);
    letra.setFixedPitch(true);
    letra.setPointSizeF(10);
    // The widest line must fit across the page: the columns are the report.
    qsizetype columnas = 80;
    for (const TReporteImpreso& r : reportes)
        for (const QString& linea : lineasDe(r.texto)) columnas = std::max(columnas, linea.size());
    const double ancho = QFontMetricsF(letra, &impresora).horizontalAdvance(QString(columnas, QLatin1Char('M')));
    if (ancho > area.width()) letra.setPointSizeF(std::max(4.0, 10 * area.width() / ancho * 0.98));
    QFont negrita = letra;
    negrita.setBold(true);

    const QFontMetricsF medidas(letra, &impresora);
    const double alto = medidas.lineSpacing();
    const double altoCabecera = 2 * alto;
    const int lineasPorPagina = std::max(1, static_cast<int>(std::floor((area.height() - altoCabecera) / alto)));

    QStringList cabeceras;
    for (const TReporteImpreso& reporte : reportes) {
        const QString cabecera = QStringLiteral("%1 - Período %2 - %3").arg(juego).arg(periodo).arg(reporte.empresa);
        for (const QStringList& pagina : paginar(lineasDe(reporte.texto), lineasPorPagina)) {
            if (!cabeceras.isEmpty()) impresora.newPage();
            cabeceras.append(cabecera);
            pintor.setFont(negrita);
            pintor.drawText(QRectF(0, 0, area.width(), alto), Qt::AlignLeft | Qt::AlignVCenter, cabecera);
            pintor.drawText(QRectF(0, 0, area.width(), alto), Qt::AlignRight | Qt::AlignVCenter,
                            QStringLiteral("Hoja %1").arg(cabeceras.size()));
            pintor.drawLine(QPointF(0, alto * 1.25), QPointF(area.width(), alto * 1.25));
            pintor.setFont(letra);
            double y = altoCabecera + medidas.ascent();
            for (const QString& linea : pagina) {
                pintor.drawText(QPointF(0, y), linea);
                y += alto;
            }
        }
    }
    pintor.end();
    return cabeceras;
}
