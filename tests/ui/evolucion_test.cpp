// The season's charts screen and the projector view: opened from the menu
// on a game of several periods, every line holds the history's figures, the
// companies shown can be chosen among many, hovering tells the point, the
// chart is saved as PNG and SVG of a usable size, and the projector's
// standings follow every run.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "juego/Juego.h"
#include "store/Texto.h"
#include "ui/UEvolucion.h"
#include "ui/UPrincipal.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QXmlStreamReader>

#include <functional>
#include <map>

namespace {

// Gama's plant investment in period 2 passes every limit: it goes bankrupt.
TRegDecision decision(int empresa, int periodo) {
    TRegDecision d{60 + (7 * empresa) % 35 + periodo % 5, 75, 2000, 4000 + 500 * (empresa % 10), 1000, 0, 0, 0, 0, 0};
    if (empresa == 2 && periodo == 2) d.invPlanta = 900000;
    if (empresa == 1) d.pedPrestamoB = 3000;
    return d;
}

void simularPeriodo(int periodo) {
    std::vector<TRegDecision> d;
    for (std::size_t i = 0; i < empresasActivas().size(); ++i) d.push_back(decision(static_cast<int>(i), periodo));
    guardarDecisiones(d);
    simular();
}

void prepararJuego(const std::vector<std::string>& equipos, int ultimo) {
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.limiteGiroDescubierto = "20000";
    crearJuego(equipos, t);
    correrPeriodo0(ejemploPeriodo0());
    for (int periodo = 1; periodo <= ultimo; ++periodo) simularPeriodo(periodo);
}

// What the history holds for a company in a period, by measure, read through the history reader.
using TLectura = std::function<double(const TFilaIndustria&, const TRegDatosAcum&)>;
const std::map<TMedida, TLectura> lecturas = {
    {TMedida::utilidadAcumulada, [](const TFilaIndustria& f, const TRegDatosAcum&) { return f.utilidadAcumulada; }},
    {TMedida::utilidadPeriodo, [](const TFilaIndustria& f, const TRegDatosAcum&) { return f.utilidadPeriodo; }},
    {TMedida::unidadesVendidas, [](const TFilaIndustria& f, const TRegDatosAcum&) { return f.unidadesVendidas; }},
    {TMedida::participacion, [](const TFilaIndustria& f, const TRegDatosAcum&) { return f.participacion; }},
    {TMedida::precio, [](const TFilaIndustria& f, const TRegDatosAcum&) { return f.precio; }},
    {TMedida::efectivo, [](const TFilaIndustria&, const TRegDatosAcum& d) { return d.efectivo; }},
    {TMedida::deuda,
     [](const TFilaIndustria&, const TRegDatosAcum& d) {
         return double(d.prestamoA) + d.prestamoB + d.giroDescubierto;
     }},
    {TMedida::stockUnidades, [](const TFilaIndustria&, const TRegDatosAcum& d) { return d.stockUnidades; }},
    {TMedida::empleados, [](const TFilaIndustria&, const TRegDatosAcum& d) { return d.empleados; }},
};

/// Each company's points of a measure, by team name, as the history holds them.
std::map<QString, QList<QPointF>> puntosDelHistorial(TMedida medida) {
    std::map<QString, QList<QPointF>> puntos;
    for (int periodo : periodosDelHistorial()) {
        const TArchivoPeriodo archivo = periodoDelHistorial(periodo);
        for (std::size_t i = 0; i < archivo.industria.size(); ++i)
            puntos[QString::fromStdString(cp1252AUtf8(archivo.industria[i].empresa))].append(
                QPointF(periodo, lecturas.at(medida)(archivo.industria[i], archivo.empresas[i])));
    }
    return puntos;
}

std::map<QString, QList<QPointF>> puntosDelGrafico(const QChart* grafico) {
    std::map<QString, QList<QPointF>> puntos;
    for (QAbstractSeries* s : grafico->series())
        if (auto* linea = qobject_cast<QLineSeries*>(s)) puntos[linea->name()] = linea->points();
    return puntos;
}

QStringList nombresDibujados(const QChart* grafico) {
    QStringList nombres;
    for (QAbstractSeries* s : grafico->series()) nombres.append(s->name());
    return nombres;
}

}  // namespace

class PruebaEvolucion : public QObject {
    Q_OBJECT

private slots:
    void cadaLineaTieneLasCifrasDelHistorial() {
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta", "Gama"}, 4);
        TFPrincipal principal;
        principal.show();
        item(&principal, "mnuEvolucion")->trigger();
        auto* pantalla = ventanaVisible<TFEvolucion>();
        QVERIFY(pantalla);
        auto* medidas = control<QComboBox>(pantalla, "cbMedida");
        QCOMPARE(medidas->count(), static_cast<int>(cantidadMedidas));
        for (int i = 0; i < medidas->count(); ++i) {
            medidas->setCurrentIndex(i);
            const TMedida medida = pantalla->medida();
            QCOMPARE(pantalla->grafico()->title(), medidas->itemText(i));
            const auto esperados = puntosDelHistorial(medida);
            const auto dibujados = puntosDelGrafico(pantalla->grafico());
            QCOMPARE(dibujados.size(), std::size_t{3});
            for (const auto& [empresa, puntos] : esperados) {
                QVERIFY2(dibujados.count(empresa), qPrintable(empresa));
                QCOMPARE(dibujados.at(empresa), puntos);
            }
        }
        QCOMPARE(puntosDelGrafico(pantalla->grafico()).at("Gama").back().x(), 2.0);  // bankrupt in 2
        QVERIFY(pantalla->grafico()->legend()->isVisible());

        // Opened again it is brought forward, not doubled; a run refreshes it.
        item(&principal, "mnuEvolucion")->trigger();
        QCOMPARE(ventanasVivas<TFEvolucion>(), 1);
        simularPeriodo(5);
        principal.periodoSimulado(5);
        QCOMPARE(pantalla->evolucionMostrada().periodos.back(), 5);
        QCOMPARE(puntosDelGrafico(pantalla->grafico()), puntosDelHistorial(pantalla->medida()));
    }

    void conMuchosEquiposSeEligenLosQueSeMuestran() {
        CarpetaDeJuego carpeta;
        std::vector<std::string> equipos;
        for (int i = 1; i <= 40; ++i) equipos.push_back("Equipo " + std::to_string(i));
        prepararJuego(equipos, 1);
        TFEvolucion pantalla(nullptr);
        pantalla.show();
        auto* lista = control<QListWidget>(&pantalla, "lstEmpresas");
        QCOMPARE(lista->count(), 40);
        QCOMPARE(pantalla.grafico()->series().size(), 40);
        QVERIFY(!pantalla.grafico()->legend()->isVisible());

        struct TPaso {
            const char* buscado;
            const char* boton;
            QStringList dibujadas;
        };
        const QList<TPaso> pasos = {
            {"", "btnNinguna", {}},
            {"equipo 1", "btnTodas", {"Equipo 1", "Equipo 10", "Equipo 11", "Equipo 12", "Equipo 13", "Equipo 14",
                                      "Equipo 15", "Equipo 16", "Equipo 17", "Equipo 18", "Equipo 19"}},
            {"equipo 17", "btnNinguna", {"Equipo 1", "Equipo 10", "Equipo 11", "Equipo 12", "Equipo 13",
                                         "Equipo 14", "Equipo 15", "Equipo 16", "Equipo 18", "Equipo 19"}},
            {"40", "btnTodas", {"Equipo 1", "Equipo 10", "Equipo 11", "Equipo 12", "Equipo 13", "Equipo 14",
                                "Equipo 15", "Equipo 16", "Equipo 18", "Equipo 19", "Equipo 40"}},
        };
        for (const TPaso& paso : pasos) {
            escribir(control<QLineEdit>(&pantalla, "txtBuscar"), QString::fromUtf8(paso.buscado));
            control<QPushButton>(&pantalla, paso.boton)->click();
            QCOMPARE(nombresDibujados(pantalla.grafico()), paso.dibujadas);
        }
        // The legend comes back once few enough are shown.
        QVERIFY(pantalla.grafico()->legend()->isVisible());

        // Each box ticked by hand is one more line; past a dozen the legend goes.
        escribir(control<QLineEdit>(&pantalla, "txtBuscar"), QString());
        for (const char* nombre : {"Equipo 2", "Equipo 3"}) {
            QListWidgetItem* equipo = lista->findItems(QString::fromUtf8(nombre), Qt::MatchExactly).value(0);
            QVERIFY(equipo);
            equipo->setCheckState(Qt::Checked);
        }
        QCOMPARE(pantalla.grafico()->series().size(), 13);
        QVERIFY(!pantalla.grafico()->legend()->isVisible());

        // The choice survives a new reading of the history.
        pantalla.actualizar();
        QCOMPARE(pantalla.grafico()->series().size(), 13);
    }

    void alPasarSobreUnPuntoSeVeQuienCuandoYCuanto() {
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta", "Gama"}, 3);
        TFEvolucion pantalla(nullptr);
        pantalla.show();
        control<QComboBox>(&pantalla, "cbMedida")->setCurrentIndex(static_cast<int>(TMedida::unidadesVendidas));
        const TArchivoPeriodo periodo2 = periodoDelHistorial(2);
        for (QAbstractSeries* s : pantalla.grafico()->series()) {
            auto* linea = qobject_cast<QLineSeries*>(s);
            QVERIFY(linea);
            emit linea->hovered(QPointF(2.2, 0), true);
            const QString texto = pantalla.textoFlotante();
            QVERIFY2(texto.startsWith(linea->name() + QStringLiteral("\nPeríodo 2\nUnidades vendidas: ")), qPrintable(texto));
            bool hallada = false;
            for (const TFilaIndustria& f : periodo2.industria)
                if (QString::fromStdString(cp1252AUtf8(f.empresa)) == linea->name()) {
                    hallada = true;
                    QVERIFY2(texto.endsWith(QLocale(QLocale::Spanish, QLocale::Argentina).toString(f.unidadesVendidas)),
                             qPrintable(texto));
                }
            QVERIFY(hallada);
            QCOMPARE(pantalla.grafico()->toolTip(), texto);  // what a resting mouse shows
            emit linea->hovered(QPointF(2.2, 0), false);
            QVERIFY(pantalla.textoFlotante().isEmpty());
            QVERIFY(pantalla.grafico()->toolTip().isEmpty());
        }
    }

    void elGraficoSeGuardaComoPngYSvg() {
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta", "Gama"}, 2);
        DialogosFalsos dialogos;
        TFEvolucion pantalla(nullptr);
        pantalla.show();
        const QSize esperado = control<QChartView>(&pantalla, "vistaGrafico")->size().expandedTo(QSize(1280, 720));
        dialogos.archivos = {carpeta.ruta("precio"), carpeta.ruta("precio.SVG"), std::nullopt};
        control<QComboBox>(&pantalla, "cbMedida")->setCurrentIndex(static_cast<int>(TMedida::precio));
        control<QPushButton>(&pantalla, "btnGuardarPng")->click();
        control<QPushButton>(&pantalla, "btnGuardarSvg")->click();
        control<QPushButton>(&pantalla, "btnGuardarPng")->click();  // cancelled: nothing
        QCOMPARE(dialogos.archivosSugeridos.size(), 3);
        QVERIFY(dialogos.archivosSugeridos[0].endsWith(QStringLiteral("precio.png")));

        const QByteArray png = carpeta.leer("precio.png");
        QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(QImage::fromData(png, "PNG").size(), esperado);
        QXmlStreamReader svg(carpeta.leer("precio.SVG"));
        QVERIFY(svg.readNextStartElement());
        QCOMPARE(svg.name().toString(), QStringLiteral("svg"));
        QCOMPARE(svg.attributes().value("viewBox").toString(),
                 QStringLiteral("0 0 %1 %2").arg(esperado.width()).arg(esperado.height()));
        while (!svg.atEnd()) svg.readNext();
        QVERIFY(!svg.hasError());
        QCOMPARE(dialogos.cajas.size(), 2);
        QVERIFY(dialogos.cajas[0].texto.contains(carpeta.ruta("precio.png")));

        // A folder that cannot take it: the error, and no message of success.
        dialogos.archivos = {carpeta.ruta("no existe/precio.png")};
        control<QPushButton>(&pantalla, "btnGuardarPng")->click();
        QCOMPARE(dialogos.cajas.size(), 3);
        QVERIFY(!dialogos.cajas.back().texto.contains(QStringLiteral("guardado")));
        QVERIFY(!carpeta.existe(QStringLiteral("no existe")));
    }

    void sinHistorialLoDice() {
        CarpetaDeJuego carpeta;
        TFEvolucion pantalla(nullptr);
        pantalla.show();
        QVERIFY(control<QLabel>(&pantalla, "lblAviso")->text().contains(QStringLiteral("Todavía no hay resultados")));
        QCOMPARE(pantalla.grafico()->series().size(), 0);
        TFClase clase(nullptr);
        QCOMPARE(control<QTableWidget>(&clase, "tblPosiciones")->rowCount(), 0);
    }

    void laVistaDeClaseSigueCadaCorrida() {
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta", "Gama", "Delta"}, 2);
        TFPrincipal principal;
        principal.show();
        item(&principal, "mnuClase")->trigger();
        auto* clase = ventanaVisible<TFClase>();
        QVERIFY(clase);
        QVERIFY(clase->isFullScreen());
        auto* tabla = control<QTableWidget>(clase, "tblPosiciones");
        for (int periodo : {2, 3, 4}) {
            if (periodo > 2) {
                simularPeriodo(periodo);
                principal.periodoSimulado(periodo);
            }
            QVERIFY(control<QLabel>(clase, "lblTitulo")->text().endsWith(QString::number(periodo)));
            const TArchivoPeriodo ahora = periodoDelHistorial(periodo), antes = periodoDelHistorial(periodo - 1);
            std::map<std::string, int> puestoAnterior;
            for (const TFilaIndustria& f : antes.industria) puestoAnterior[f.empresa] = f.posicion;
            QCOMPARE(tabla->rowCount(), static_cast<int>(ahora.industria.size()));
            for (const TFilaIndustria& f : ahora.industria) {
                const QString nombre = QString::fromStdString(cp1252AUtf8(f.empresa));
                if (f.quebrada) {  // listed last, without a rank
                    QCOMPARE(tabla->item(tabla->rowCount() - 1, 0)->text(), QStringLiteral("—"));
                    QCOMPARE(tabla->item(tabla->rowCount() - 1, 1)->text(), nombre + QStringLiteral(" (quebró)"));
                    continue;
                }
                const int fila = f.posicion - 1;
                QVERIFY2(f.posicion > 0, qPrintable(nombre));
                QCOMPARE(tabla->item(fila, 0)->text(), QString::number(f.posicion));
                QCOMPARE(tabla->item(fila, 1)->text(), nombre);
                QCOMPARE(tabla->item(fila, 2)->text(),
                         QLocale(QLocale::Spanish, QLocale::Argentina).toString(f.utilidadAcumulada));
                const int cambio = puestoAnterior.at(f.empresa) - f.posicion;
                const QString marca = cambio > 0   ? QStringLiteral("▲ %1").arg(cambio)
                                      : cambio < 0 ? QStringLiteral("▼ %1").arg(-cambio)
                                                   : QStringLiteral("=");
                QCOMPARE(tabla->item(fila, 3)->text(), marca);
            }
            QCOMPARE(puntosDelGrafico(clase->grafico()), puntosDelHistorial(TMedida::utilidadAcumulada));
        }
        QTest::keyClick(clase, Qt::Key_Escape);
        QVERIFY(!clase->isVisible());
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaEvolucion)
#include "evolucion_test.moc"
