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
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>


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

TFResultados* abrirResultados(TFPrincipal& principal) {
    item(&principal, "mnuResultados")->trigger();
    return ventanaVisible<TFResultados>();
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
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(2);
        TFPrincipal principal(carpetaDePrueba().ruta());
        TFResultados* r = abrirResultados(principal);
        QVERIFY(r);
        elegir(r, periodo, entrada);
        QCOMPARE(reporteElegido(r), entrada);
        const QString texto = esperado(carpeta, periodo, entrada);
        QVERIFY(texto.size() > 100);
        QCOMPARE(r->textoMostrado(), texto);
        QVERIFY(!r->textoMostrado().contains(QLatin1Char('\t')));
        QCOMPARE(r->windowTitle(), QStringLiteral("Resultados - Período %1 - %2").arg(periodo).arg(entrada));
        QVERIFY(control<QPlainTextEdit>(r, "txtReporte")->font().fixedPitch());
        QVERIFY(cajas.cajas.isEmpty());
    }

    void teclas_data() {
        QTest::addColumn<QString>("destino");
        QTest::addColumn<QStringList>("teclas");
        QTest::addColumn<int>("periodo");
        QTest::addColumn<QString>("entrada");
        const QStringList abajo3 = {"abajo", "abajo", "abajo"};
        QTest::newRow("abajo en el texto") << "txtReporte" << QStringList{"abajo"} << 2 << "Alfa";
        QTest::newRow("abajo y arriba en la lista") << "lstReportes" << QStringList{"abajo", "abajo", "arriba"} << 2
                                                    << "Alfa";
        QTest::newRow("arriba en el primero se queda") << "txtReporte" << QStringList{"arriba"} << 2 << "Industria";
        QTest::newRow("abajo en el último se queda")
            << "txtReporte" << (abajo3 + abajo3) << 2 << "Avisos";
        QTest::newRow("repág conserva la empresa") << "txtReporte" << QStringList{"abajo", "abajo", "repag"} << 1
                                                  << "Beta";
        QTest::newRow("repág hasta el período 0") << "cbPeriodo" << QStringList{"repag", "repag", "repag", "repag"}
                                                 << 0 << "Industria";
        QTest::newRow("avpág vuelve") << "lstReportes" << QStringList{"repag", "repag", "avpag"} << 1 << "Industria";
        QTest::newRow("avpág en el último se queda") << "cbPeriodo" << QStringList{"avpag"} << 2 << "Industria";
    }
    void teclas() {
        QFETCH(QString, destino);
        QFETCH(QStringList, teclas);
        QFETCH(int, periodo);
        QFETCH(QString, entrada);
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(2);
        TFPrincipal principal(carpetaDePrueba().ruta());
        TFResultados* r = abrirResultados(principal);
        QVERIFY(r);
        QCOMPARE(periodoElegido(r), 2);
        QCOMPARE(reporteElegido(r), QStringLiteral("Industria"));
        auto* widget = control<QWidget>(r, qPrintable(destino));
        const QMap<QString, Qt::Key> codigos = {{"abajo", Qt::Key_Down},
                                                {"arriba", Qt::Key_Up},
                                                {"repag", Qt::Key_PageUp},
                                                {"avpag", Qt::Key_PageDown}};
        for (const QString& tecla : teclas) QTest::keyClick(widget, codigos.value(tecla));
        QCOMPARE(periodoElegido(r), periodo);
        QCOMPARE(reporteElegido(r), entrada);
        QCOMPARE(r->windowTitle(), QStringLiteral("Resultados - Período %1 - %2").arg(periodo).arg(entrada));
        QCOMPARE(r->textoMostrado(), esperado(carpeta, periodo, entrada));
    }

    void imprimir_data() {
        QTest::addColumn<int>("periodo");
        QTest::addColumn<QString>("boton");
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QStringList>("cabeceras");
        QTest::newRow("un reporte") << 1 << "btnImprimir" << "Beta" << QStringList{"Período 1 - Beta"};
        QTest::newRow("el período 0") << 0 << "btnImprimirPeriodo" << "Alfa"
                                      << QStringList{"Período 0 - Industria", "Período 0 - Alfa", "Período 0 - Beta",
                                                     "Período 0 - Gama"};
        QTest::newRow("un período con avisos")
            << 2 << "btnImprimirPeriodo" << "Industria"
            << QStringList{"Período 2 - Industria", "Período 2 - Alfa", "Período 2 - Beta", "Período 2 - Gama",
                           "Período 2 - Avisos"};
    }
    void imprimir() {
        QFETCH(int, periodo);
        QFETCH(QString, boton);
        QFETCH(QString, entrada);
        QFETCH(QStringList, cabeceras);
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        QTemporaryDir salida;
        cajas.archivoImpresion = salida.filePath(QStringLiteral("reportes.pdf"));
        prepararJuego(2);
        TFPrincipal principal(carpetaDePrueba().ruta());
        TFResultados* r = abrirResultados(principal);
        QVERIFY(r);
        elegir(r, periodo, entrada);
        QTest::mouseClick(control<QPushButton>(r, qPrintable(boton)), Qt::LeftButton);
        QCOMPARE(cajas.dialogosImpresion, 1);
        QVERIFY(cajas.cajas.isEmpty());
        // Every report fits on one page: one page each.
        QCOMPARE(paginasPdf(cajas.archivoImpresion), cabeceras.size());
        QCOMPARE(r->ultimasCabeceras().size(), cabeceras.size());
        const QString juego = QDir(QString::fromStdString(carpetaDePrueba().ruta().string())).dirName();
        for (int i = 0; i < cabeceras.size(); ++i)
            QCOMPARE(r->ultimasCabeceras()[i], juego + QStringLiteral(" - ") + cabeceras[i]);
    }

    void imprimirCanceladoNoImprime() {
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(1);
        TFPrincipal principal(carpetaDePrueba().ruta());
        TFResultados* r = abrirResultados(principal);
        QVERIFY(r);
        QTest::mouseClick(control<QPushButton>(r, "btnImprimirPeriodo"), Qt::LeftButton);
        QCOMPARE(cajas.dialogosImpresion, 1);
        QVERIFY(r->ultimasCabeceras().isEmpty());
    }

    void unaSolaPantalla() {
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(1);
        TFPrincipal principal(carpetaDePrueba().ruta());
        TFResultados* r = abrirResultados(principal);
        QVERIFY(r);
        elegir(r, 0, QStringLiteral("Beta"));
        QCOMPARE(abrirResultados(principal), r);
        QCOMPARE(ventanasVivas<TFResultados>(), 1);
        QCOMPARE(periodoElegido(r), 0);
        QCOMPARE(reporteElegido(r), QStringLiteral("Beta"));
    }

    void sinHistorialLoDice() {
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(-1);
        TFPrincipal principal(carpetaDePrueba().ruta());
        TFResultados* r = abrirResultados(principal);
        QVERIFY(r);
        QCOMPARE(r->textoMostrado(), QStringLiteral("Todavía no hay resultados: ningún período fue simulado."));
        QCOMPARE(control<QListWidget>(r, "lstReportes")->count(), 0);
        QTest::mouseClick(control<QPushButton>(r, "btnImprimirPeriodo"), Qt::LeftButton);
        QCOMPARE(cajas.dialogosImpresion, 0);
    }

    void periodoDanadoLoNombra() {
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(2);
        carpeta.escribir(QStringLiteral("historial/Periodo 1/INDUSTRIA.csv"), QByteArray("roto"));
        TFPrincipal principal(carpetaDePrueba().ruta());
        TFResultados* r = abrirResultados(principal);
        QVERIFY(r);
        QVERIFY(cajas.cajas.isEmpty());
        QTest::keyClick(control<QWidget>(r, "txtReporte"), Qt::Key_PageUp);
        QCOMPARE(periodoElegido(r), 1);
        QCOMPARE(cajas.cajas.size(), 1);
        QVERIFY2(cajas.cajas[0].texto.contains(QStringLiteral("INDUSTRIA.csv")), qPrintable(cajas.cajas[0].texto));
        QCOMPARE(control<QListWidget>(r, "lstReportes")->count(), 0);
        QVERIFY(r->textoMostrado().isEmpty());
        // The other periods still show.
        QTest::keyClick(control<QWidget>(r, "txtReporte"), Qt::Key_PageUp);
        QCOMPARE(r->textoMostrado(), esperado(carpeta, 0, QStringLiteral("Industria")));
    }

    void seAbreDespuesDeCadaCorrida_data() {
        QTest::addColumn<int>("periodo");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<QString>("donde");
        QTest::newRow("período 0") << 0 << "Período 0 simulado: 3 empresas, 0 quiebras"
                                   << "Período 1 abierto  |  Empresas activas: 3";
        QTest::newRow("período 1") << 1 << "Período 1 simulado: 3 empresas, 0 quiebras"
                                   << "Período 2 abierto  |  Empresas activas: 3";
        QTest::newRow("período con una quiebra") << 2 << "Período 2 simulado: 3 empresas, 1 quiebra"
                                                 << "Período 3 abierto  |  Empresas activas: 2";
    }
    void seAbreDespuesDeCadaCorrida() {
        QFETCH(int, periodo);
        QFETCH(QString, mensaje);
        QFETCH(QString, donde);
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(periodo - 1);
        if (periodo > 0) guardarDecisionesDe(periodo);
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        // A screen left open on another period comes forward on the new one.
        if (periodo == 2) elegir(abrirResultados(principal), 0, QStringLiteral("Beta"));
        if (periodo == 0) {
            auto* cero = new TFDecicionesPeriodo0(juegoDePrueba(), &principal);
            cero->show();
            cero->Label1DblClick();
            QTest::mouseClick(control<QPushButton>(cero, "btnGuardar"), Qt::LeftButton);
        } else {
            auto* simular = new TFSimular(juegoDePrueba(), &principal);
            simular->show();
            QTest::mouseClick(control<QPushButton>(simular, "btnSimular"), Qt::LeftButton);
        }
        QCOMPARE(principal.statusBar()->currentMessage(), mensaje);
        QCOMPARE(estado(principal), QStringLiteral("Juego: %1  |  %2").arg(QString::fromStdString(carpetaDePrueba().ruta().string()), donde));
        QCOMPARE(ventanasVivas<TFResultados>(), 1);
        TFResultados* r = ventanaVisible<TFResultados>();
        QVERIFY(r);
        QCOMPARE(periodoElegido(r), periodo);
        const QString entrada = periodo == 2 ? QStringLiteral("Beta") : QStringLiteral("Industria");
        QCOMPARE(r->windowTitle(), QStringLiteral("Resultados - Período %1 - %2").arg(periodo).arg(entrada));
        QCOMPARE(r->textoMostrado(), esperado(carpeta, periodo, entrada));
    }

    // The bankruptcy box opens while the run still holds the folder: the
    // window's own watcher must not call its run another program.
    void laCorridaPropiaNoEsOtroPrograma() {
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(1);
        guardarDecisionesDe(2);
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        // The watcher's pause, moved: the folder is looked at as soon as it changes.
        auto* pausa = principal.findChild<QTimer*>(QStringLiteral("cambioVisto"));
        QVERIFY(pausa);
        pausa->setInterval(0);
        QStringList vistos;
        cajas.mientrasSeMuestra = [&] {
            for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            vistos << estado(principal);
        };
        // The window's own game, whose notices are the window's boxes.
        auto* simular = new TFSimular(principal.juego(), &principal);
        simular->show();
        QTest::mouseClick(control<QPushButton>(simular, "btnSimular"), Qt::LeftButton);
        QVERIFY(cajas.textosMostrados().contains(QStringLiteral("La empresa \"Gama\" ha quebrado.")));
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
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        QTemporaryDir datosDeUsuario;
        const DatosDeUsuarioEn datos(datosDeUsuario.path());
        juegoDePrueba().crearPractica("Ana", 2, TEstilo::prudente, 7);
        juegoDePrueba().guardarDecisionesCompletas({TRegDecision{80, 75, 2000, 4000, 1000, 0, prestamo, 0, 0, 0}, std::nullopt, std::nullopt});
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        principal.mostrarJuego();
        cajas.elecciones = {eleccion};
        cajas.textos = {std::nullopt};  // a new practice stops at the student's name
        auto* simular = new TFSimular(principal.juego(), &principal);
        simular->show();
        QTest::mouseClick(control<QPushButton>(simular, "btnSimular"), Qt::LeftButton);
        QCOMPARE(cajas.opcionesMostradas.size() >= 1, prestamo > 0);
        QCOMPARE(juegoDePrueba().leerEstado().datos.periodoActual, uint8_t(periodoAbierto));
        QCOMPARE(cajas.entradas.contains(QStringLiteral("Nombre de su empresa:")), eleccion && eleccion->contains(QStringLiteral("nueva")));
        if (periodoAbierto == 1) return;  // the step back closed the results of the period undone
        TFResultados* r = ventanaVisible<TFResultados>();
        QVERIFY(r);
        QCOMPARE(reporteElegido(r), QStringLiteral("Ana"));
        QVERIFY(control<QListWidget>(r, "lstReportes")->currentItem()->font().bold());
    }

    // A long name is shortened, whole in its tooltip: the period always shows.
    void cabeceraConNombreLargo() {
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        const QString largo = QStringLiteral("Cooperativa Agroindustrial del Rio Cuarto SA 1234");
        juegoDePrueba().crearJuego({largo.toStdString(), "Beta"}, ejemploDatosIniciales());
        juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        TFResultados* r = abrirResultados(principal);
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
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(1);
        TFPrincipal principal(carpetaDePrueba().ruta());
        TFResultados* r = abrirResultados(principal);
        elegir(r, mirado, QStringLiteral("Beta"));
        guardarDecisionesDe(2);
        TJuego(carpetaDePrueba().ruta()).simular();
        emit principal.notificador().juegoCambiado();
        QCOMPARE(periodoElegido(r), despues);
        QCOMPARE(r->textoMostrado(), esperado(carpeta, despues, QStringLiteral("Beta")));
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
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        if (ultimo > -2) prepararJuego(ultimo);
        TFPrincipal principal(carpetaDePrueba().ruta());
        QTRY_VERIFY(!estado(principal).isEmpty());
        QCOMPARE(estado(principal), QStringLiteral("Juego: %1  |  %2").arg(QString::fromStdString(carpetaDePrueba().ruta().string()), donde));
    }

    void lineaDeEstadoTrasVolverAtras() {
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(2);
        TFPrincipal principal(carpetaDePrueba().ruta());
        QTRY_VERIFY(estado(principal).contains(QStringLiteral("Período 3 abierto  |  Empresas activas: 2")));
        principal.statusBar()->showMessage(QStringLiteral("Período 2 simulado: 3 empresas, 1 quiebra"));
        item(&principal, "mnuVolverAtras")->trigger();
        QVERIFY(estado(principal).endsWith(QStringLiteral("Período 2 abierto  |  Empresas activas: 3")));
        // The run's summary gives way to what the step back did.
        QCOMPARE(principal.statusBar()->currentMessage(),
                 QStringLiteral("Se volvió atrás: el período 2 está abierto de nuevo, con sus decisiones cargadas."));
    }

    void lineaDeEstadoConErrorDeLectura() {
        CarpetaDeJuego carpeta;
        DialogosFalsos cajas;
        prepararJuego(0);
        carpeta.escribir(QStringLiteral("DATOS INICIALES.DAT"), QByteArray("dañado"));
        TFPrincipal principal(carpetaDePrueba().ruta());
        QTRY_VERIFY(!estado(principal).isEmpty());
        QVERIFY2(!estado(principal).startsWith(QStringLiteral("Juego:")), qPrintable(estado(principal)));
        QVERIFY2(estado(principal).contains(QStringLiteral("DATOS INICIALES.DAT")), qPrintable(estado(principal)));
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaResultados)
#include "resultados_test.moc"
