#include "ui/VistaGrafico.h"

#include "ui/Formularios.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPen>

#include <exception>

QString textoSinHistorial() { return QStringLiteral("Todavía no hay resultados: ningún período fue simulado."); }

QChartView* crearVistaGrafico(QWidget* padre) {
    auto* vista = new QChartView(padre);
    vista->setObjectName(QStringLiteral("vistaGrafico"));
    vista->setRenderHint(QPainter::Antialiasing);
    return vista;
}

void ponerGrafico(QChartView* vista, QChart* grafico) {
    QChart* anterior = vista->chart();
    vista->setChart(grafico);
    delete anterior;
}

TEvolucion leerEvolucion(TJuego& juego, QWidget* pantalla) {
    try {
        return evolucion(juego);
    } catch (const std::exception& e) {
        mostrarError(pantalla, e);
        return {};
    }
}

void resaltarLinea(QChart* grafico, int empresa) {
    if (!grafico || empresa < 0) return;
    for (QAbstractSeries* s : grafico->series()) {
        auto* serie = qobject_cast<QLineSeries*>(s);
        if (!serie || serie->property("empresa").toLongLong() != empresa) continue;
        QPen lapiz = serie->pen();
        lapiz.setWidthF(6);
        serie->setPen(lapiz);
        serie->setMarkerSize(serie->markerSize() * 1.6);
        return;
    }
}

QString marcaComputadora() { return QStringLiteral(" (PC)"); }

QString ayudaComputadora() { return QStringLiteral("Empresa de la computadora"); }
