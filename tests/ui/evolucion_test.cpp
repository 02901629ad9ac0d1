// The season's charts screen and the projector view, opened from the menu on
// a game of several periods: every line holds the history's figures, the
// companies shown are chosen among many, hovering tells the point, the chart
// is saved as PNG and SVG, and the projector's standings follow every run.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "juego/Juego.h"
#include "store/Texto.h"
#include "ui/UEvolucion.h"
#include "ui/UPosiciones.h"
#include "ui/UPrincipal.h"
#include "ui/UResultados.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QListWidget>
#include <QGraphicsTextItem>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QXmlStreamReader>

#include <map>

namespace {

// Gama's plant investment in period 2 passes every limit: it goes bankrupt.
TRegDecision decision(int empresa, int periodo) {
    TRegDecision d{60 + (7 * empresa) % 35 + periodo % 5, 75, 2000, 4000 + 500 * (empresa % 10), 1000, 0, 0, 0, 0, 0};
    if (empresa == 2 && periodo == 2) d.invPlanta = 900000;
    if (empresa == 1) d.pedPrestamoB = 3000;
    return d;
}

using TDecidir = TRegDecision (*)(int empresa, int periodo);
void simularPeriodo(int periodo, TDecidir decidir = decision) {
    std::vector<TRegDecision> d;
    for (std::size_t i = 0; i < juegoDePrueba().empresasActivas().size(); ++i) d.push_back(decidir(static_cast<int>(i), periodo));
    juegoDePrueba().guardarDecisiones(d);
    juegoDePrueba().simular();
}

// With the computer, two computer companies join the teams.
void prepararJuego(std::vector<std::string> equipos, int ultimo, bool conComputadora = false, TDecidir decidir = decision) {
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.limiteGiroDescubierto = "20000";
    juegoDePrueba().crearJuego(equipos, t, conComputadora ? agregarComputadora(equipos, 2, TEstilo::prudente, 7) : TComputadora{});
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    for (int periodo = 1; periodo <= ultimo; ++periodo) simularPeriodo(periodo, decidir);
}

const std::string nombreLargo = "Cooperativa Agrícola Ñandú del Litoral Sociedad An";  // 50 letters

/// Each company's points of a measure by team, as the season's series hold
/// them (the core's tests check those against the history's files).
std::map<QString, QList<QPointF>> puntosDelHistorial(TMedida medida) {
    std::map<QString, QList<QPointF>> puntos;
    for (const TEmpresaEvolucion& e : evolucion(juegoDePrueba()).empresas)
        for (std::size_t p = 0; p < e.periodos.size(); ++p)
            puntos[QString::fromStdString(e.nombre)].append(QPointF(e.periodos[p], e.serie(medida)[p]));
    return puntos;
}

std::map<QString, QList<QPointF>> puntosDelGrafico(const QChart* grafico) {
    std::map<QString, QList<QPointF>> puntos;
    for (QAbstractSeries* s : grafico->series())
        if (auto* linea = qobject_cast<QLineSeries*>(s)) puntos[s->name()] = linea->points();
    return puntos;
}

}  // namespace

class PruebaEvolucion : public QObject {
    Q_OBJECT

private slots:
    void cadaLineaTieneLasCifrasDelHistorial() {
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta", "Gama"}, 4);
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        item(&principal, "mnuEvolucion")->trigger();
        auto* pantalla = ventanaVisible<TFEvolucion>();
        QVERIFY(pantalla);
        auto* medidas = control<QComboBox>(pantalla, "cbMedida");
        QCOMPARE(medidas->count(), static_cast<int>(cantidadMedidas));
        for (int i = 0; i < medidas->count(); ++i) {
            medidas->setCurrentIndex(i);
            QCOMPARE(pantalla->grafico()->title(), medidas->itemText(i));
            QCOMPARE(puntosDelGrafico(pantalla->grafico()), puntosDelHistorial(pantalla->medida()));
        }
        QCOMPARE(puntosDelGrafico(pantalla->grafico()).at("Gama").back().x(), 2.0);  // bankrupt in 2
        // Opened again it is brought forward, not doubled; a run refreshes it.
        item(&principal, "mnuEvolucion")->trigger();
        QCOMPARE(ventanasVivas<TFEvolucion>(), 1);
        simularPeriodo(5);
        principal.periodoSimulado(5);
        QCOMPARE(puntosDelGrafico(pantalla->grafico()).at("Alfa").back().x(), 5.0);
    }

    void conMuchosEquiposSeEligenLosQueSeMuestran() {
        CarpetaDeJuego carpeta;
        std::vector<std::string> equipos;
        for (int i = 1; i <= 40; ++i) equipos.push_back("Equipo " + std::to_string(i));
        prepararJuego(equipos, 1);
        TFEvolucion pantalla(juegoDePrueba(), nullptr);
        pantalla.show();
        QCOMPARE(pantalla.grafico()->series().size(), 40);
        QVERIFY(!pantalla.grafico()->legend()->isVisible());
        const struct {
            const char* buscado;
            const char* boton;
            int lineas;
            bool leyenda;
        } pasos[] = {{"", "btnNinguna", 0, false},       // Equipo 1, 10..19:
                     {"equipo 1", "btnTodas", 11, true},  //
                     {"equipo 17", "btnNinguna", 10, true},
                     {"4", "btnTodas", 14, false}};  // and 4, 14 (already), 24, 34, 40
        for (const auto& paso : pasos) {
            escribir(control<QLineEdit>(&pantalla, "txtBuscar"), QString::fromUtf8(paso.buscado));
            control<QPushButton>(&pantalla, paso.boton)->click();
            QCOMPARE(pantalla.grafico()->series().size(), paso.lineas);
            QCOMPARE(pantalla.grafico()->legend()->isVisible(), paso.leyenda);
        }
        QVERIFY(!puntosDelGrafico(pantalla.grafico()).count("Equipo 17"));
        // A box ticked by hand is one more line, and the choice survives a new reading.
        control<QListWidget>(&pantalla, "lstEmpresas")->item(1)->setCheckState(Qt::Checked);
        pantalla.actualizar();
        QCOMPARE(pantalla.grafico()->series().size(), 15);
        QVERIFY(puntosDelGrafico(pantalla.grafico()).count("Equipo 2"));
    }

    void alPasarSobreUnPuntoSeVeQuienCuandoYCuanto() {
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta", "Gama"}, 3);
        TFEvolucion pantalla(juegoDePrueba(), nullptr);
        pantalla.show();
        control<QComboBox>(&pantalla, "cbMedida")->setCurrentIndex(static_cast<int>(TMedida::unidadesVendidas));
        auto* beta = qobject_cast<QLineSeries*>(pantalla.grafico()->series().value(1));
        QVERIFY(beta);
        emit beta->hovered(QPointF(2.2, 0), true);
        const QString esperado = QStringLiteral("Beta\nPeríodo 2\nUnidades vendidas: %1")
                                     .arg(QLocale(QLocale::Spanish, QLocale::Argentina)
                                              .toString(juegoDePrueba().periodoDelHistorial(2).industria[1].unidadesVendidas));
        QCOMPARE(pantalla.textoFlotante(), esperado);
        QCOMPARE(pantalla.grafico()->toolTip(), esperado);  // what a resting mouse shows
        emit beta->hovered(QPointF(2.2, 0), false);
        QVERIFY(pantalla.grafico()->toolTip().isEmpty());
    }

    void elGraficoSeGuardaComoPngYSvg() {
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta", "Gama"}, 2);
        DialogosFalsos dialogos;
        TFEvolucion pantalla(juegoDePrueba(), nullptr);
        pantalla.show();
        const QSize esperado = control<QChartView>(&pantalla, "vistaGrafico")->size().expandedTo(QSize(1280, 720));
        dialogos.archivos = {carpeta.ruta("precio"), carpeta.ruta("precio.SVG"), carpeta.ruta("no hay/p.png")};
        for (const char* boton : {"btnGuardarPng", "btnGuardarSvg", "btnGuardarPng"})
            control<QPushButton>(&pantalla, boton)->click();
        QCOMPARE(QImage::fromData(carpeta.leer("precio.png"), "PNG").size(), esperado);
        QXmlStreamReader svg(carpeta.leer("precio.SVG"));
        QVERIFY(svg.readNextStartElement());
        QCOMPARE(svg.attributes().value("viewBox").toString(),
                 QStringLiteral("0 0 %1 %2").arg(esperado.width()).arg(esperado.height()));
        // Two saved, then the error of the missing folder, never called a success.
        QCOMPARE(dialogos.cajas.size(), 3);
        QVERIFY(dialogos.cajas[0].texto.contains(carpeta.ruta("precio.png")));
        QVERIFY(!dialogos.cajas[2].texto.contains(QStringLiteral("guardado")));
    }

    void lasVistasSePidenConSuTeclaDesdeOtraPantalla() {
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta"}, 1);
        DialogosFalsos dialogos;
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        item(&principal, "mnuResultados")->trigger();
        auto* resultados = ventanaVisible<TFResultados>();
        QVERIFY(resultados);
        QVERIFY(activar(resultados));
        QTest::keyClick(resultados, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(ventanaVisible<TFEvolucion>());
        QTest::keyClick(resultados, Qt::Key_F11);
        QVERIFY(ventanaVisible<TFClase>());
    }

    void laVistaDeClaseSigueCadaCorrida() {
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta", "Gama", "Delta"}, 2);
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        item(&principal, "mnuClase")->trigger();
        auto* clase = ventanaVisible<TFClase>();
        QVERIFY(clase && clase->isFullScreen());
        auto* tabla = control<QTableWidget>(clase, "tblPosiciones");
        const QLocale regional(QLocale::Spanish, QLocale::Argentina);
        for (int periodo : {2, 3}) {
            if (periodo == 3) {
                simularPeriodo(periodo);
                principal.periodoSimulado(periodo);
            }
            QVERIFY(control<QLabel>(clase, "lblTitulo")->text().endsWith(QString::number(periodo)));
            std::map<std::string, int> antes;
            for (const TFilaIndustria& f : juegoDePrueba().periodoDelHistorial(periodo - 1).industria) antes[f.empresa] = f.posicion;
            const auto ahora = juegoDePrueba().periodoDelHistorial(periodo).industria;
            // Gama went bankrupt in period 2: listed last, without a rank, from then on.
            QCOMPARE(tabla->rowCount(), 4);
            QCOMPARE(tabla->item(3, 0)->text(), QStringLiteral("—"));
            QCOMPARE(tabla->item(3, 1)->text(), QStringLiteral("Gama (quebró en el período 2)"));
            for (const TFilaIndustria& f : ahora) {
                if (f.quebrada) continue;
                const int fila = f.posicion - 1, cambio = antes.at(f.empresa) - f.posicion;
                QCOMPARE(tabla->item(fila, 0)->text(), QString::number(f.posicion));
                QCOMPARE(tabla->item(fila, 1)->text(), QString::fromStdString(cp1252AUtf8(f.empresa)));
                QCOMPARE(tabla->item(fila, 2)->text(), regional.toString(f.utilidadAcumulada));
                QCOMPARE(tabla->item(fila, 3)->text(), cambio > 0   ? QStringLiteral("▲ %1").arg(cambio)
                                                       : cambio < 0 ? QStringLiteral("▼ %1").arg(-cambio)
                                                                    : QStringLiteral("="));
            }
            QCOMPARE(puntosDelGrafico(clase->grafico()), puntosDelHistorial(TMedida::utilidadAcumulada));
        }
        QTest::keyClick(clase, Qt::Key_Escape);
        QVERIFY(!clase->isVisible());
    }

    // Whatever moves the game (a run by another program, seen in the folder;
    // a step back from the menu), every open view shows its last period.
    void lasVistasSiguenAlJuego_data() {
        QTest::addColumn<bool>("otroPrograma");
        QTest::addColumn<int>("ultimo");
        QTest::newRow("otro programa corre el período 3") << true << 3;
        QTest::newRow("Volver atrás deshace el período 2") << false << 1;
    }
    void lasVistasSiguenAlJuego() {
        QFETCH(bool, otroPrograma);
        QFETCH(int, ultimo);
        CarpetaDeJuego carpeta;
        prepararJuego({"Alfa", "Beta", "Gama"}, 2);
        DialogosFalsos dialogos;
        dialogos.respuestas = {ServicioDialogos::Respuesta::si};
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        for (const char* vista : {"mnuResultados", "mnuEvolucion", "mnuClase"}) item(&principal, vista)->trigger();
        auto* resultados = ventanaVisible<TFResultados>();
        auto* evolucion = ventanaVisible<TFEvolucion>();
        auto* clase = ventanaVisible<TFClase>();
        QVERIFY(resultados && evolucion && clase);

        auto* periodos = control<QComboBox>(resultados, "cbPeriodo");
        const auto ultimoListado = [periodos] { return periodos->itemText(periodos->count() - 1); };
        const QString esperado = QStringLiteral("Período %1").arg(ultimo);
        if (otroPrograma) {
            simularPeriodo(3);
            QTRY_COMPARE(ultimoListado(), esperado);
        } else {
            item(&principal, "mnuVolverAtras")->trigger();
            QCOMPARE(ultimoListado(), esperado);
        }
        QCOMPARE(puntosDelGrafico(evolucion->grafico()).at("Alfa").back().x(), static_cast<double>(ultimo));
        QVERIFY(control<QLabel>(clase, "lblTitulo")->text().endsWith(QString::number(ultimo)));
    }

    // A 50-letter name among 30 teams on the projector: the name gives way,
    // every figure and change stays whole, the chart keeps two fifths of the width.
    void laVistaDeClaseNoCortaCifras() {
        CarpetaDeJuego carpeta;
        std::vector<std::string> equipos{cp1252(nombreLargo)};
        for (int i = 2; i <= 30; ++i) equipos.push_back("Equipo " + std::to_string(i));
        prepararJuego(equipos, 1);
        TFClase clase(juegoDePrueba(), nullptr);
        clase.resize(1280, 720);
        clase.show();
        QVERIFY(QTest::qWaitForWindowExposed(&clase));
        auto* tabla = control<QTableWidget>(&clase, "tblPosiciones");
        for (int columna : {0, 2, 3})
            for (int f = 0; f < tabla->rowCount(); ++f)
                QVERIFY(tabla->columnWidth(columna) > tabla->fontMetrics().horizontalAdvance(tabla->item(f, columna)->text()));
        QVERIFY(tabla->columnViewportPosition(3) + tabla->columnWidth(3) <= tabla->viewport()->width());
        QVERIFY(control<QChartView>(&clase, "vistaGrafico")->width() >= 1280 * 2 / 5 - 40);
        int fila = 0;
        while (!tabla->item(fila, 1)->text().startsWith(QStringLiteral("Cooperativa"))) ++fila;
        QCOMPARE(tabla->item(fila, 1)->toolTip(), QString::fromStdString(nombreLargo));
    }

    // Twelve companies, half of them bankrupt on two lines: the type shrinks
    // until the back row sees every one at 1024×768.
    void todasLasFilasCabenEnLaClase() {
        CarpetaDeJuego carpeta;
        std::vector<std::string> equipos{cp1252(nombreLargo)};
        for (int i = 2; i <= 12; ++i) equipos.push_back("Equipo " + std::to_string(i));
        prepararJuego(equipos, 2, false, [](int empresa, int periodo) {
            return TRegDecision{85, 75, 2000, 5000, 1000, empresa % 2 && periodo == 1 ? 900000 : 0, 0, 0, 0, 0};
        });
        TFClase clase(juegoDePrueba(), nullptr);
        clase.resize(1024, 768);
        QVERIFY(activar(&clase));
        auto* tabla = control<QTableWidget>(&clase, "tblPosiciones");
        QTRY_VERIFY(tabla->verticalHeader()->length() <= tabla->viewport()->height());
        QVERIFY(tabla->rowCount() == 12 && tabla->font().pointSize() < 20);
    }

    // The end of a class with the computer on the screens of a classroom: every
    // company listed, the computer's marked, the bankrupt one with its period,
    // the best team of the class named; the long name on two lines, whole in its
    // tooltip; every period's label on the axis; Ctrl+plus and Ctrl+minus change
    // the type; the menu hides a line; a company stands out in Clase and Evolución.
    void laVistaDeClaseCabeEnLaPantalla_data() {
        QTest::addColumn<QSize>("tamano");
        QTest::newRow("1024×768") << QSize(1024, 768);
        QTest::newRow("1280×800") << QSize(1280, 800);
    }
    void laVistaDeClaseCabeEnLaPantalla() {
        QFETCH(QSize, tamano);
        CarpetaDeJuego carpeta;
        prepararJuego({cp1252(nombreLargo), "Beta", "Gama"}, 10, true, [](int empresa, int periodo) {
            return TRegDecision{85, 75, 2000, 5000, 1000, empresa == 2 && periodo == 2 ? 900000 : 0, 0, 0, 0, 0};
        });
        TFClase clase(juegoDePrueba(), nullptr);
        clase.resize(tamano);
        QVERIFY(activar(&clase));
        QVERIFY(control<QLabel>(&clase, "lblTitulo")->text().startsWith(QStringLiteral("Juego terminado: ganó ")));
        QVERIFY(control<QLabel>(&clase, "lblMejorEquipo")->text().startsWith(QStringLiteral("Mejor equipo de la clase: ")));
        auto* tabla = control<QTableWidget>(&clase, "tblPosiciones");
        QVERIFY(tabla->rowCount() == 5 && tabla->item(4, 1)->text() == QStringLiteral("Gama (quebró en el período 2)"));
        const QList<QTableWidgetItem*> pc = tabla->findItems(QStringLiteral("(PC)"), Qt::MatchEndsWith);
        QVERIFY(pc.size() == 2 && pc[0]->toolTip().endsWith(QStringLiteral("\nEmpresa de la computadora")));
        TFPosiciones zona(juegoDePrueba(), nullptr);
        QCOMPARE(control<QTableWidget>(&zona, "StringGrid1")->findItems(QStringLiteral("(PC)"), Qt::MatchEndsWith).size(), 2);

        QCOMPARE(tabla->columnViewportPosition(3) + tabla->columnWidth(3), tabla->viewport()->width());
        QVERIFY(2 * tabla->columnWidth(1) >= tabla->viewport()->width());
        const QString largo = QString::fromStdString(nombreLargo);
        QTableWidgetItem* celda = tabla->findItems(largo, Qt::MatchExactly).value(0);
        QVERIFY(celda && celda->toolTip() == largo && tabla->rowHeight(celda->row()) >= 2 * QFontMetrics(tabla->font()).lineSpacing());
        QStringList etiquetas;
        for (QGraphicsItem* item : control<QChartView>(&clase, "vistaGrafico")->scene()->items())
            if (auto* texto = dynamic_cast<QGraphicsTextItem*>(item)) etiquetas << texto->toPlainText();
        for (int periodo = 0; periodo <= 10; ++periodo) QVERIFY2(etiquetas.contains(QString::number(periodo)), qPrintable(etiquetas.join('|')));

        QTest::keyClick(&clase, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(tabla->font().pointSize(), 22);
        QTest::keyClick(&clase, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(tabla->font().pointSize(), 20);
        control<QMenu>(&clase, "mnuEquipos")->actions().at(1)->setChecked(false);  // Beta, hidden after a run too
        clase.actualizar();
        QCOMPARE(puntosDelGrafico(clase.grafico()).size(), std::size_t{4});
        QVERIFY(!puntosDelGrafico(clase.grafico()).count(QStringLiteral("Beta")));

        TFEvolucion evolucion(juegoDePrueba(), nullptr);
        evolucion.show();
        auto* medidas = control<QComboBox>(&evolucion, "cbMedida");
        for (int i = 0; i < medidas->count(); ++i)  // each measure's name whole, beside the arrow
            QVERIFY(medidas->fontMetrics().horizontalAdvance(medidas->itemText(i)) + 20 < medidas->width());
        clase.resaltarEmpresa(0);  // the long name
        evolucion.resaltarEmpresa(0);
        for (int f = 0; f < tabla->rowCount(); ++f) QCOMPARE(tabla->item(f, 1)->font().bold(), tabla->item(f, 1)->text() == largo);
        auto* lista = control<QListWidget>(&evolucion, "lstEmpresas");
        QVERIFY(lista->item(0)->font().bold() && !lista->item(1)->font().bold());
        for (const QChart* grafico : {clase.grafico(), evolucion.grafico()})
            for (QAbstractSeries* s : grafico->series())
                if (auto* linea = qobject_cast<QLineSeries*>(s)) QCOMPARE(linea->pen().widthF() > 3, linea->name() == largo);
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaEvolucion)
#include "evolucion_test.moc"
