// The results screen: the text on show is the filed report byte for byte
// (decoded, tabs laid out), the keys move through reports and periods,
// printing gives one page per report with its header, it opens after every
// run, and the main window's status line says where the game stands.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "juego/Juego.h"
#include "store/Texto.h"
#include "ui/NotificadorJuego.h"
#include "ui/UDecicionesPeriodo0.h"
#include "ui/UPrincipal.h"
#include "ui/UResultados.h"
#include "ui/USimular.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>
#include <stdexcept>


namespace {

// Price, level, training, marketing, R&D, plant, loans A and B, repayments.
// Gama's plant investment in period 2 passes every limit: it goes bankrupt.
TRegDecision decision(int empresa, int periodo) {
    TRegDecision d{60 + 10 * empresa + periodo % 5, 75, 2000, 4000 + 1000 * empresa, 1000, 0, 0, 0, 0, 0};
    if (empresa == 2 && periodo == 2) d.invPlanta = 900000;
    return d;
}

void guardarDecisionesDe(int periodo) {
    std::vector<TRegDecision> d;
    for (std::size_t i = 0; i < juegoDePrueba().empresasActivas().size(); ++i) d.push_back(decision(static_cast<int>(i), periodo));
    juegoDePrueba().guardarDecisiones(d);
}

/// A game of Alfa, Beta and Gama set up in a fresh folder; period 0 and
/// periods 1..ultimo run when ultimo is 0 or more.
void prepararJuego(int ultimo) {
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.limiteGiroDescubierto = "20000";
    juegoDePrueba().crearJuego({"Alfa", "Beta", "Gama"}, t);
    if (ultimo < 0) return;
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    for (int periodo = 1; periodo <= ultimo; ++periodo) {
        guardarDecisionesDe(periodo);
        juegoDePrueba().simular();
    }
}

/// The report as a text editor with 8-column tabs shows it (the notices
/// hold a bare CR inside a line: an editor breaks the line there).
QString comoEditor(const QByteArray& bytes) {
    QString texto = QString::fromUtf8(cp1252AUtf8(bytes.toStdString()));
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList salida;
    for (const QString& linea : texto.split(QLatin1Char('\n'))) {
        QString l;
        for (QChar c : linea) {
            if (c != QLatin1Char('\t')) {
                l += c;
                continue;
            }
            do l += QLatin1Char(' ');
            while (l.size() % 8 != 0);
        }
        salida << l;
    }
    return salida.join(QLatin1Char('\n'));
}

/// The file names behind an entry of the screen's list, from the history.
QStringList archivosDe(int periodo, const QString& entrada) {
    const TArchivoPeriodo archivo = juegoDePrueba().periodoDelHistorial(periodo);
    if (entrada == QStringLiteral("Industria")) return {QString::fromStdString(archivo.reporteIndustria)};
    QStringList archivos;
    for (const TFilaIndustria& f : archivo.industria) {
        if (entrada == QStringLiteral("Avisos") && !f.aviso.empty()) archivos << QString::fromStdString(f.aviso);
        if (QString::fromUtf8(cp1252AUtf8(f.empresa)) == entrada) archivos << QString::fromStdString(f.reporte);
    }
    return archivos;
}

QString esperado(const CarpetaDeJuego& carpeta, int periodo, const QString& entrada) {
    QStringList textos;
    for (const QString& nombre : archivosDe(periodo, entrada))
        textos << comoEditor(carpeta.leer(QStringLiteral("historial/Periodo %1/%2").arg(periodo).arg(nombre)));
    return textos.join(QLatin1Char('\n'));
}

void elegir(TFResultados* r, int periodo, const QString& entrada) {
    auto* periodos = control<QComboBox>(r, "cbPeriodo");
    periodos->setCurrentIndex(periodos->findData(periodo));
    auto* lista = control<QListWidget>(r, "lstReportes");
    const auto encontrados = lista->findItems(entrada, Qt::MatchExactly);
    if (!encontrados.isEmpty()) lista->setCurrentItem(encontrados.first());
}

int periodoElegido(TFResultados* r) { return control<QComboBox>(r, "cbPeriodo")->currentData().toInt(); }
QString reporteElegido(TFResultados* r) {
    const QListWidgetItem* actual = control<QListWidget>(r, "lstReportes")->currentItem();
    return actual ? actual->text() : QString();
}

/// The pages of a PDF file: its page objects (not the page tree).
int paginasPdf(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) return -1;
    const QString texto = QString::fromLatin1(archivo.readAll());
    return static_cast<int>(texto.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

QString estado(const TFPrincipal& principal) { return control<QLabel>(&principal, "lblEstado")->text(); }

/// The run screen of the game, as the game master opens it, run at once.
void simularCon(TFPrincipal& principal, TJuego& juego) {
    auto* simular = new TFSimular(juego, &principal);
    simular->show();
    pulsar(simular, "btnSimular");
}

/// One test's folder with its game run to ultimo (-2: none, see prepararJuego),
/// the scripted boxes, and the main window, opened when first asked for.
struct Escena {
    CarpetaDeJuego carpeta;
    DialogosFalsos cajas;
    std::optional<TFPrincipal> ventana;

    explicit Escena(int ultimo = -2) {
        if (ultimo > -2) prepararJuego(ultimo);
    }
    TFPrincipal& principal() {
        if (!ventana) ventana.emplace(carpetaDePrueba().ruta());
        return *ventana;
    }
    /// Resultados from the menu; a screen that did not show throws, which fails the test.
    TFResultados* resultados() {
        item(&principal(), "mnuResultados")->trigger();
        if (auto* r = ventanaVisible<TFResultados>()) return r;
        throw std::runtime_error("Resultados no se mostró");
    }
};

}  // namespace

class PruebaResultados : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TFResultados*>(w)) w->close();
        descartarCerradas();
    }

    void muestraElArchivoTalCual_data() {
        QTest::addColumn<int>("periodo");
        QTest::addColumn<QString>("entrada");
        QTest::newRow("industria del período 0") << 0 << "Industria";
        QTest::newRow("empresa en el período 0") << 0 << "Beta";
        QTest::newRow("industria del período 1") << 1 << "Industria";
        QTest::newRow("empresa en el período 1") << 1 << "Alfa";
        QTest::newRow("empresa que quiebra") << 2 << "Gama";
        QTest::newRow("avisos del período") << 2 << "Avisos";
    }
    void muestraElArchivoTalCual() {
        QFETCH(int, periodo);
        QFETCH(QString, entrada);
        Escena e(2);
        TFResultados* r = e.resultados();
        elegir(r, periodo, entrada);
        QCOMPARE(reporteElegido(r), entrada);
        const QString texto = esperado(e.carpeta, periodo, entrada);
        QVERIFY(texto.size() > 100);
        QCOMPARE(r->textoMostrado(), texto);  // tabs laid out, as the expected text has them
        QCOMPARE(r->windowTitle(), QStringLiteral("Resultados - Período %1 - %2").arg(periodo).arg(entrada));
        QVERIFY(control<QPlainTextEdit>(r, "txtReporte")->font().fixedPitch());
        QVERIFY(e.cajas.cajas.isEmpty());
    }

    void teclas_data() {
        QTest::addColumn<QString>("destino");
        QTest::addColumn<QList<Qt::Key>>("teclas");
        QTest::addColumn<int>("periodo");
        QTest::addColumn<QString>("entrada");
        const Qt::Key abajo = Qt::Key_Down, arriba = Qt::Key_Up, repag = Qt::Key_PageUp, avpag = Qt::Key_PageDown;
        QTest::newRow("abajo en el texto") << "txtReporte" << QList{abajo} << 2 << "Alfa";
        QTest::newRow("abajo y arriba en la lista") << "lstReportes" << QList{abajo, abajo, arriba} << 2 << "Alfa";
        QTest::newRow("arriba en el primero se queda") << "txtReporte" << QList{arriba} << 2 << "Industria";
        QTest::newRow("abajo en el último se queda") << "txtReporte" << QList<Qt::Key>(6, abajo) << 2 << "Avisos";
        QTest::newRow("repág conserva la empresa") << "txtReporte" << QList{abajo, abajo, repag} << 1 << "Beta";
        QTest::newRow("repág hasta el período 0") << "cbPeriodo" << QList<Qt::Key>(4, repag) << 0 << "Industria";
        QTest::newRow("avpág vuelve") << "lstReportes" << QList{repag, repag, avpag} << 1 << "Industria";
        QTest::newRow("avpág en el último se queda") << "cbPeriodo" << QList{avpag} << 2 << "Industria";
    }
    void teclas() {
        QFETCH(QString, destino);
        QFETCH(QList<Qt::Key>, teclas);
        QFETCH(int, periodo);
        QFETCH(QString, entrada);
        Escena e(2);
        TFResultados* r = e.resultados();
        QCOMPARE(periodoElegido(r), 2);
        QCOMPARE(reporteElegido(r), QStringLiteral("Industria"));
        for (Qt::Key tecla : teclas) QTest::keyClick(control<QWidget>(r, qPrintable(destino)), tecla);
        QCOMPARE(periodoElegido(r), periodo);
        QCOMPARE(reporteElegido(r), entrada);
        QCOMPARE(r->windowTitle(), QStringLiteral("Resultados - Período %1 - %2").arg(periodo).arg(entrada));
        QCOMPARE(r->textoMostrado(), esperado(e.carpeta, periodo, entrada));
    }

    // One page per report, each with its header; a cancelled dialog prints nothing.
    void imprimir_data() {
        QTest::addColumn<int>("periodo");
        QTest::addColumn<QString>("boton");
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QStringList>("reportes");
        QTest::newRow("un reporte") << 1 << "btnImprimir" << "Beta" << QStringList{"Beta"};
        QTest::newRow("el período 0") << 0 << "btnImprimirPeriodo" << "Alfa"
                                      << QStringList{"Industria", "Alfa", "Beta", "Gama"};
        QTest::newRow("un período con avisos") << 2 << "btnImprimirPeriodo" << "Industria"
                                               << QStringList{"Industria", "Alfa", "Beta", "Gama", "Avisos"};
        QTest::newRow("cancelado") << 1 << "btnImprimirPeriodo" << "Industria" << QStringList();
    }
    void imprimir() {
        QFETCH(int, periodo);
        QFETCH(QString, boton);
        QFETCH(QString, entrada);
        QFETCH(QStringList, reportes);
        QTemporaryDir salida;
        Escena e(2);
        if (!reportes.isEmpty()) e.cajas.archivoImpresion = salida.filePath(QStringLiteral("reportes.pdf"));
        TFResultados* r = e.resultados();
        elegir(r, periodo, entrada);
        pulsar(r, qPrintable(boton));
        QCOMPARE(e.cajas.dialogosImpresion, 1);
        QVERIFY(e.cajas.cajas.isEmpty());
        QCOMPARE(paginasPdf(salida.filePath(QStringLiteral("reportes.pdf"))), reportes.isEmpty() ? -1 : reportes.size());
        const QString juego = QDir(QString::fromStdString(carpetaDePrueba().ruta().string())).dirName();
        QStringList cabeceras;
        for (const QString& reporte : reportes) cabeceras << QStringLiteral("%1 - Período %2 - %3").arg(juego).arg(periodo).arg(reporte);
        QCOMPARE(r->ultimasCabeceras(), cabeceras);
    }

    void unaSolaPantalla() {
        Escena e(1);
        TFResultados* r = e.resultados();
        elegir(r, 0, QStringLiteral("Beta"));
        QCOMPARE(e.resultados(), r);
        QCOMPARE(ventanasVivas<TFResultados>(), 1);
        QCOMPARE(periodoElegido(r), 0);
        QCOMPARE(reporteElegido(r), QStringLiteral("Beta"));
    }

    void sinHistorialLoDice() {
        Escena e(-1);
        TFResultados* r = e.resultados();
        QCOMPARE(r->textoMostrado(), QStringLiteral("Todavía no hay resultados: ningún período fue simulado."));
        QCOMPARE(control<QListWidget>(r, "lstReportes")->count(), 0);
        pulsar(r, "btnImprimirPeriodo");
        QCOMPARE(e.cajas.dialogosImpresion, 0);
    }

    void periodoDanadoLoNombra() {
        Escena e(2);
        e.carpeta.escribir(QStringLiteral("historial/Periodo 1/INDUSTRIA.csv"), QByteArray("roto"));
        TFResultados* r = e.resultados();
        QVERIFY(e.cajas.cajas.isEmpty());
        QTest::keyClick(control<QWidget>(r, "txtReporte"), Qt::Key_PageUp);
        QCOMPARE(periodoElegido(r), 1);
        QCOMPARE(e.cajas.cajas.size(), 1);
        QVERIFY2(e.cajas.cajas[0].texto.contains(QStringLiteral("INDUSTRIA.csv")), qPrintable(e.cajas.cajas[0].texto));
        QCOMPARE(control<QListWidget>(r, "lstReportes")->count(), 0);
        QVERIFY(r->textoMostrado().isEmpty());
        // The other periods still show.
        QTest::keyClick(control<QWidget>(r, "txtReporte"), Qt::Key_PageUp);
        QCOMPARE(r->textoMostrado(), esperado(e.carpeta, 0, QStringLiteral("Industria")));
    }

    void seAbreDespuesDeCadaCorrida_data() {
        QTest::addColumn<int>("periodo");
        QTest::addColumn<QString>("quiebras");
        QTest::addColumn<QString>("donde");
        QTest::newRow("período 0") << 0 << "0 quiebras" << "Período 1 abierto  |  Empresas activas: 3";
        QTest::newRow("período 1") << 1 << "0 quiebras" << "Período 2 abierto  |  Empresas activas: 3";
        QTest::newRow("período con una quiebra") << 2 << "1 quiebra" << "Período 3 abierto  |  Empresas activas: 2";
    }
    void seAbreDespuesDeCadaCorrida() {
        QFETCH(int, periodo);
        QFETCH(QString, quiebras);
        QFETCH(QString, donde);
        Escena e(periodo - 1);
        if (periodo > 0) guardarDecisionesDe(periodo);
        TFPrincipal& principal = e.principal();
        principal.show();
        // A screen left open on another period comes forward on the new one.
        if (periodo == 2) elegir(e.resultados(), 0, QStringLiteral("Beta"));
        if (periodo == 0) {
            auto* cero = new TFDecicionesPeriodo0(juegoDePrueba(), &principal);
            cero->show();
            cero->Label1DblClick();
            pulsar(cero, "btnGuardar");
        } else {
            simularCon(principal, juegoDePrueba());
        }
        QCOMPARE(principal.statusBar()->currentMessage(), QStringLiteral("Período %1 simulado: 3 empresas, %2").arg(periodo).arg(quiebras));
        QCOMPARE(estado(principal), QStringLiteral("Juego: %1  |  %2").arg(QString::fromStdString(carpetaDePrueba().ruta().string()), donde));
        QCOMPARE(ventanasVivas<TFResultados>(), 1);
        TFResultados* r = ventanaVisible<TFResultados>();
        QVERIFY(r);
        QCOMPARE(periodoElegido(r), periodo);
        const QString entrada = periodo == 2 ? QStringLiteral("Beta") : QStringLiteral("Industria");
        QCOMPARE(r->windowTitle(), QStringLiteral("Resultados - Período %1 - %2").arg(periodo).arg(entrada));
        QCOMPARE(r->textoMostrado(), esperado(e.carpeta, periodo, entrada));
    }

    // The bankruptcy box opens while the run still holds the folder: the
    // window's own watcher must not call its run another program.
    void laCorridaPropiaNoEsOtroPrograma() {
        Escena e(1);
        guardarDecisionesDe(2);
        TFPrincipal& principal = e.principal();
        principal.show();
        // The watcher's pause, moved: the folder is looked at as soon as it changes.
        auto* pausa = principal.findChild<QTimer*>(QStringLiteral("cambioVisto"));
        QVERIFY(pausa);
        pausa->setInterval(0);
        QStringList vistos;
        e.cajas.mientrasSeMuestra = [&] {
            for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            vistos << estado(principal);
        };
        simularCon(principal, principal.juego());  // the window's own game, whose notices are its boxes
        QVERIFY(e.cajas.textosMostrados().contains(QStringLiteral("La empresa \"Gama\" ha quebrado.")));
        for (const QString& visto : vistos) QVERIFY2(!visto.contains(QStringLiteral("en uso")), qPrintable(visto));
        QTRY_VERIFY(estado(principal).endsWith(QStringLiteral("Período 3 abierto  |  Empresas activas: 2")));
    }

    // A practice opens on the student's report; the student's bankruptcy is
    // said at once, with a step back or a new practice on offer.
    void practicaConQuiebraDelAlumno_data() {
        QTest::addColumn<int>("prestamo");
        QTest::addColumn<std::optional<QString>>("eleccion");
        QTest::addColumn<int>("periodoAbierto");
        QTest::newRow("sin quiebra") << 0 << std::optional<QString>() << 2;
        QTest::newRow("volver atrás") << 60000 << std::optional<QString>(QStringLiteral("Volver atrás: deshacer el período 1 y decidirlo de nuevo")) << 1;
        QTest::newRow("práctica nueva") << 60000 << std::optional<QString>(QStringLiteral("Comenzar una práctica nueva")) << 2;
    }
    void practicaConQuiebraDelAlumno() {
        QFETCH(int, prestamo);
        QFETCH(std::optional<QString>, eleccion);
        QFETCH(int, periodoAbierto);
        QTemporaryDir datosDeUsuario;
        const DatosDeUsuarioEn datos(datosDeUsuario.path());
        Escena e;
        juegoDePrueba().crearPractica("Ana", 2, TEstilo::prudente, 7);
        juegoDePrueba().guardarDecisionesCompletas({TRegDecision{80, 75, 2000, 4000, 1000, 0, prestamo, 0, 0, 0}, std::nullopt, std::nullopt});
        TFPrincipal& principal = e.principal();
        principal.show();
        principal.mostrarJuego();
        e.cajas.elecciones = {eleccion};
        e.cajas.textos = {std::nullopt};  // a new practice stops at the student's name
        simularCon(principal, principal.juego());
        QCOMPARE(e.cajas.opcionesMostradas.size() >= 1, prestamo > 0);
        QCOMPARE(juegoDePrueba().leerEstado().datos.periodoActual, uint8_t(periodoAbierto));
        QCOMPARE(e.cajas.entradas.contains(QStringLiteral("Nombre de su empresa:")), eleccion && eleccion->contains(QStringLiteral("nueva")));
        if (periodoAbierto == 1) return;  // the step back closed the results of the period undone
        TFResultados* r = ventanaVisible<TFResultados>();
        QVERIFY(r);
        QCOMPARE(reporteElegido(r), QStringLiteral("Ana"));
        QVERIFY(control<QListWidget>(r, "lstReportes")->currentItem()->font().bold());
    }

    // A long name is shortened, whole in its tooltip: the period always shows.
    void cabeceraConNombreLargo() {
        Escena e;
        const QString largo = QStringLiteral("Cooperativa Agroindustrial del Rio Cuarto SA 1234");
        juegoDePrueba().crearJuego({largo.toStdString(), "Beta"}, ejemploDatosIniciales());
        juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
        e.principal().show();
        TFResultados* r = e.resultados();
        r->resize(560, 500);
        elegir(r, 0, QStringLiteral("Industria"));
        QTRY_COMPARE(r->width(), 560);
        auto* nombre = control<QLabel>(r, "lblNombre");
        nombre->setToolTip(QString());
        elegir(r, 0, largo);
        QCOMPARE(control<QLabel>(r, "lblPeriodo")->text(), QStringLiteral("Período 0"));
        QVERIFY(r->rect().contains(control<QLabel>(r, "lblPeriodo")->geometry()));
        QVERIFY2(nombre->text().endsWith(QStringLiteral("…")) && nombre->geometry().right() < r->width(), qPrintable(nombre->text()));
        QCOMPARE(nombre->toolTip(), largo);
    }

    // A period run by another program comes on screen when the screen
    // followed the game; one looked back at stays.
    void sigueAlJuegoTrasUnaCorridaDeOtroPrograma_data() {
        QTest::addColumn<int>("mirado");
        QTest::addColumn<int>("despues");
        QTest::newRow("el último") << 1 << 2;
        QTest::newRow("uno anterior") << 0 << 0;
    }
    void sigueAlJuegoTrasUnaCorridaDeOtroPrograma() {
        QFETCH(int, mirado);
        QFETCH(int, despues);
        Escena e(1);
        TFResultados* r = e.resultados();
        elegir(r, mirado, QStringLiteral("Beta"));
        guardarDecisionesDe(2);
        TJuego(carpetaDePrueba().ruta()).simular();
        emit e.principal().notificador().juegoCambiado();
        QCOMPARE(periodoElegido(r), despues);
        QCOMPARE(r->textoMostrado(), esperado(e.carpeta, despues, QStringLiteral("Beta")));
    }

    void lineaDeEstado_data() {
        QTest::addColumn<int>("ultimo");
        QTest::addColumn<QString>("donde");
        QTest::newRow("sin juego") << -2 << "Sin juego  |  Empresas activas: 0";
        QTest::newRow("preparado") << -1 << "Período 0 abierto  |  Empresas activas: 3";
        QTest::newRow("período 0 corrido") << 0 << "Período 1 abierto  |  Empresas activas: 3";
        QTest::newRow("después de una quiebra") << 2 << "Período 3 abierto  |  Empresas activas: 2";
        QTest::newRow("terminado") << 10 << "Juego terminado  |  Empresas activas: 1";
    }
    void lineaDeEstado() {
        QFETCH(int, ultimo);
        QFETCH(QString, donde);
        Escena e(ultimo);
        QTRY_VERIFY(!estado(e.principal()).isEmpty());
        QCOMPARE(estado(e.principal()), QStringLiteral("Juego: %1  |  %2").arg(QString::fromStdString(carpetaDePrueba().ruta().string()), donde));
    }

    void lineaDeEstadoTrasVolverAtras() {
        Escena e(2);
        TFPrincipal& principal = e.principal();
        QTRY_VERIFY(estado(principal).contains(QStringLiteral("Período 3 abierto  |  Empresas activas: 2")));
        principal.statusBar()->showMessage(QStringLiteral("Período 2 simulado: 3 empresas, 1 quiebra"));
        item(&principal, "mnuVolverAtras")->trigger();
        QVERIFY(estado(principal).endsWith(QStringLiteral("Período 2 abierto  |  Empresas activas: 3")));
        // The run's summary gives way to what the step back did.
        QCOMPARE(principal.statusBar()->currentMessage(),
                 QStringLiteral("Se volvió atrás: el período 2 está abierto de nuevo, con sus decisiones cargadas."));
    }

    void lineaDeEstadoConErrorDeLectura() {
        Escena e(0);
        e.carpeta.escribir(QStringLiteral("DATOS INICIALES.DAT"), QByteArray("dañado"));
        QTRY_VERIFY(!estado(e.principal()).isEmpty());
        const QString visto = estado(e.principal());
        QVERIFY2(!visto.startsWith(QStringLiteral("Juego:")) && visto.contains(QStringLiteral("DATOS INICIALES.DAT")), qPrintable(visto));
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaResultados)
#include "resultados_test.moc"
