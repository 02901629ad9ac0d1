// The decision screen on a real game: copying the previous period from the
// history, importing the tool's CSV file and the review grid.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "engine/ValidarDecision.h"
#include "juego/Juego.h"
#include "ui/UDeciciones.h"
#include "ui/URevisionDecisiones.h"
#include "ui/USimular.h"

#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool iguales(const TRegDecision& a, const TRegDecision& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool iguales(const std::vector<TRegDecision>& a, const std::vector<TRegDecision>& b) {
    return std::ranges::equal(a, b, [](const TRegDecision& x, const TRegDecision& y) { return iguales(x, y); });
}

TRegDecision decision(int32_t precio, int32_t nivel, int32_t semilla) {
    return {precio, nivel, 2000, 1000 + semilla, semilla, semilla + 1, semilla + 2, semilla + 3, 0, 0};
}

/// Three teams, period 0 run, then periodos more periods run with
/// different decisions per team: period periodos + 1 open.
void juegoEnPeriodo(int periodos) {
    juegoDePrueba().crearJuego({"Alfa", "Beta", "Gamma"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    for (int p = 1; p <= periodos; ++p) {
        juegoDePrueba().guardarDecisiones({decision(60 + p, 25, p), decision(70 + p, 50, 10 * p), decision(80 + p, 100, 100 * p)});
        juegoDePrueba().simular();
    }
}

void clic(QWidget* ventana, const char* boton) {
    QTest::mouseClick(control<QPushButton>(ventana, boton), Qt::LeftButton);
}

/// The decision screen on top of principal, active.
TFDeciciones* abrir(QWidget* principal) {
    auto* pantalla = new TFDeciciones(juegoDePrueba(), principal);
    if (!activar(pantalla)) qWarning("la pantalla no quedó activa");
    return pantalla;
}

/// Types texto into a cell of the grid, as the game master does: the cell's
/// editor opens with its text selected, Enter puts the new text in.
void editarCelda(QTableWidget* grilla, int fila, int columna, const QString& texto) {
    // A dialog shares its parent's activation, so waiting for "active" is
    // not enough: the grid must be the active window itself.
    QWidget* ventana = grilla->window();
    ventana->activateWindow();
    if (!QTest::qWaitFor([ventana] { return QApplication::activeWindow() == ventana; }))
        qFatal("la grilla no quedó activa");
    grilla->setCurrentCell(fila, columna);
    grilla->editItem(grilla->item(fila, columna));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!editor || !grilla->isAncestorOf(editor))
        qFatal("la celda no se abrió para editar: %s %s", QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "-", QApplication::activeWindow() ? QApplication::activeWindow()->metaObject()->className() : "-");
    editor->selectAll();
    QTest::keyClicks(editor, texto);
    QPointer<QLineEdit> abierto = editor;
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits and closes the editor from the event loop.
    if (!QTest::qWaitFor([abierto] { return !abierto || !abierto->isVisible(); })) qFatal("la celda no se cerró");
}

/// A game with periodos periods run after period 0, the dialogs answered by
/// the test, and a window for the screens to sit on.
struct Mesa {
    explicit Mesa(int periodos) {
        juegoEnPeriodo(periodos);
        principal.show();
    }
    /// Closes a screen with its decisions unsaved, as the game master agrees to.
    void cerrar(QWidget* pantalla) {
        cajas.respuestas = {ServicioDialogos::Respuesta::si};
        pantalla->close();
    }
    CarpetaDeJuego carpeta;
    DialogosFalsos cajas;
    QWidget principal;
};

/// The screen of period 2, filled from period 1, with its review grid open.
struct Revision {
    QPointer<TFDeciciones> pantalla;
    QPointer<TFRevisionDecisiones> grilla;
    QTableWidget* tabla = nullptr;

    /// The screen's grid opened again, active.
    void revisar() {
        clic(pantalla, "btnRevisar");
        grilla = pantalla->findChild<TFRevisionDecisiones*>();
        if (!grilla || !activar(grilla)) qFatal("la grilla no se abrió");
        tabla = control<QTableWidget>(grilla, "grilla");
    }
};

Revision abrirRevision(QWidget* principal) {
    Revision r{abrir(principal), nullptr, nullptr};
    clic(r.pantalla, "btnCopiarAnterior");
    r.revisar();
    return r;
}

}  // namespace

class PruebaRevisionDecisiones : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void copiarPeriodoAnterior_data() {
        QTest::addColumn<int>("corridos");
        QTest::addColumn<QString>("aviso");
        // Period 0's loans are the opening debt: copied, they would bankrupt every team.
        QTest::newRow("período 1 desde el período 0")
            << 0 << QStringLiteral("Se copiaron las decisiones del período 0 salvo los préstamos: "
                                   "los pedidos y las devoluciones de préstamos quedan en 0.");
        QTest::newRow("período 2 desde el período 1") << 1 << QString();
        QTest::newRow("período 4 desde el período 3") << 3 << QString();
    }

    void copiarPeriodoAnterior() {
        QFETCH(int, corridos);
        QFETCH(QString, aviso);
        Mesa m(corridos);
        QPointer<TFDeciciones> p = abrir(&m.principal);
        const auto antes = m.carpeta.contenido();
        clic(p, "btnCopiarAnterior");
        const QStringList avisos = aviso.isEmpty() ? QStringList() : QStringList{aviso};
        QCOMPARE(m.cajas.textosMostrados(), avisos);
        const std::vector<TRegDecision> historia = juegoDePrueba().periodoDelHistorial(corridos).decisiones;
        QCOMPARE(historia.size(), std::size_t{3});
        std::vector<TRegDecision> esperadas = historia;
        if (corridos == 0) {
            QVERIFY(historia[0].pedPrestamoA != 0 || historia[0].pedPrestamoB != 0);
            for (TRegDecision& d : esperadas) d.pedPrestamoA = d.pedPrestamoB = d.devPrestamoA = d.devPrestamoB = 0;
        }
        QVERIFY(iguales(p->decisionesEquipos(), esperadas));
        QCOMPARE(control<QLineEdit>(p, "precio")->text(), QString::number(historia[0].precio));
        // Nothing is stored until the game master goes on.
        QCOMPARE(m.carpeta.contenido(), antes);
        QVERIFY(p->decisionesSinGuardar());
        m.cajas.respuestas = {ServicioDialogos::Respuesta::no};
        for (int t = 0; t < 3; ++t) clic(p, "btnSiguiente");
        QCOMPARE(m.cajas.textosMostrados(), avisos + QStringList{QStringLiteral("¿Pasar a la simulación?")});
        QVERIFY(iguales(juegoDePrueba().decisionesGuardadas(), esperadas));
        p->close();
    }

    void copiarSinHistorialNoCambiaNada() {
        Mesa m(2);
        QDir(m.carpeta.ruta(QStringLiteral("historial/Periodo 2"))).removeRecursively();
        QPointer<TFDeciciones> p = abrir(&m.principal);
        escribir(control<QLineEdit>(p, "precio"), QStringLiteral("77"));
        clic(p, "btnCopiarAnterior");
        QCOMPARE(m.cajas.textosMostrados(),
                 QStringList{QStringLiteral("No hay decisiones del período 2 en el historial.")});
        QCOMPARE(control<QLineEdit>(p, "precio")->text(), QStringLiteral("77"));
        QVERIFY(iguales(p->decisionesEquipos(), std::vector<TRegDecision>(3)));
        m.cerrar(p);
    }

    // A damaged history is not "no decisions": the message names the copy by
    // its path in the game, not as the live "DECISIONES.DAT".
    void copiarConHistorialDanadoLoNombra() {
        Mesa m(2);
        m.carpeta.escribir(QStringLiteral("historial/Periodo 2/DECISIONES.DAT"), "1234567");
        QPointer<TFDeciciones> p = abrir(&m.principal);
        clic(p, "btnCopiarAnterior");
        const QStringList mostrados = m.cajas.textosMostrados();
        QVERIFY2(mostrados.size() == 1 && mostrados[0].startsWith(QStringLiteral(
                     "Error de archivo \"historial/Periodo 2/DECISIONES.DAT\": el archivo está dañado")),
                 qPrintable(mostrados.join('|')));
        QVERIFY(iguales(p->decisionesEquipos(), std::vector<TRegDecision>(3)));
        m.cerrar(p);
    }

    void importarCsv_data() {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<bool>("elegido");
        QTest::addColumn<QStringList>("mensajes");
        const QString titulos = QStringLiteral(
            "empresa,precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,pedPrestamoA,pedPrestamoB,"
            "devPrestamoA,devPrestamoB\n");
        const QString alfa = QStringLiteral("Alfa,61,25,2000,1001,1,2,3,4,0,0\n");
        const QString beta = QStringLiteral("Beta,71,50,2000,1010,10,11,12,13,0,0\n");
        const QString gamma = QStringLiteral("Gamma,81,100,2000,1100,100,101,102,103,0,0\n");
        QTest::newRow("bueno") << titulos + alfa + beta + gamma << true << QStringList{};
        QTest::newRow("punto y coma sin empresa")
            << QStringLiteral("precio;nivelProduccion;capacitacion;marketing;invYDes;invPlanta;pedPrestamoA;"
                              "pedPrestamoB;devPrestamoA;devPrestamoB\n61;25;2000;1001;1;2;3;4;0;0\n"
                              "71;50;2000;1010;10;11;12;13;0;0\n81;100;2000;1100;100;101;102;103;0;0\n")
            << true << QStringList{};
        QTest::newRow("precio fuera de rango")
            << titulos + alfa + QStringLiteral("Beta,30,50,2000,1010,10,11,12,13,0,0\n") + gamma << true
            << QStringList{QStringLiteral("dec.csv, línea 3, columna 2 (precio): 30 está fuera del rango de 50 a 100.")};
        QTest::newRow("dos errores")
            << titulos + alfa + beta + QStringLiteral("Gama,81,100,2000,1100,mil,101,102,103,0,0\n") << true
            << QStringList{QStringLiteral("dec.csv, línea 4, columna 1 (empresa): dice «Gama» y la empresa 3 es «Gamma»."),
                           QStringLiteral("dec.csv, línea 4, columna 6 (invYDes): «mil» no es un número entero.")};
        QTest::newRow("falta una fila") << titulos + alfa + beta << true
                                        << QStringList{QStringLiteral(
                                               "dec.csv: tiene 2 filas de decisiones y el juego tiene 3 empresas "
                                               "activas; faltan las de 3 («Gamma»).")};
        QTest::newRow("diálogo cancelado") << titulos + alfa + beta + gamma << false << QStringList{};
    }

    void importarCsv() {
        QFETCH(QString, csv);
        QFETCH(bool, elegido);
        QFETCH(QStringList, mensajes);
        Mesa m(1);
        m.carpeta.escribir(QStringLiteral("dec.csv"), csv.toUtf8());
        QPointer<TFDeciciones> p = abrir(&m.principal);
        escribir(control<QLineEdit>(p, "precio"), QStringLiteral("77"));
        clic(p, "btnSiguiente");
        const std::vector<TRegDecision> antes = p->decisionesEquipos();
        const auto archivos = m.carpeta.contenido();
        if (elegido) m.cajas.archivosElegidos = {m.carpeta.ruta(QStringLiteral("dec.csv"))};
        clic(p, "btnImportarCsv");
        QCOMPARE(m.cajas.dialogosArchivo, QStringList{QStringLiteral("Importar decisiones")});
        // Never stored by importing.
        QCOMPARE(m.carpeta.contenido(), archivos);
        const bool leido = elegido && mensajes.isEmpty();
        if (!mensajes.isEmpty()) {
            QCOMPARE(m.cajas.textosMostrados(), QStringList{mensajes.join(QLatin1Char('\n'))});
        } else {
            QVERIFY(m.cajas.cajas.isEmpty());
        }
        if (!leido) {
            QVERIFY(iguales(p->decisionesEquipos(), antes));
            QCOMPARE(p->equipoActual(), uint8_t{2});
            m.cerrar(p);
            return;
        }
        const std::vector<TRegDecision> esperadas = {decision(61, 25, 1), decision(71, 50, 10),
                                                     decision(81, 100, 100)};
        QVERIFY(iguales(p->decisionesEquipos(), esperadas));
        QCOMPARE(p->equipoActual(), uint8_t{1});
        QCOMPARE(control<QLineEdit>(p, "precio")->text(), QStringLiteral("61"));
        m.cajas.respuestas = {ServicioDialogos::Respuesta::no};
        for (int t = 0; t < 3; ++t) clic(p, "btnSiguiente");
        QVERIFY(iguales(juegoDePrueba().decisionesGuardadas(), esperadas));
        p->close();
    }

    void grillaMarcaLasCeldasFueraDeRango_data() {
        QTest::addColumn<int>("fila");
        QTest::addColumn<int>("columna");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("falla");
        QTest::newRow("precio bajo") << 1 << 0 << "30" << "Beta, PRECIO: Debe ingresar un precio con un valor entre u$s 50 y u$s 100";
        QTest::newRow("marketing alto") << 0 << 1 << "10001" << "Alfa, MARKETING: Debe ingresar un valor para marketing entre u$s 0 y u$s 10000";
        QTest::newRow("capacitación fuera de paso")
            << 2 << 3 << "3000"
            << "Gamma, CAPACITACION: Debe ingresar un valor para la capacitación que vaya de u$s 2000 en u$s 2000";
        QTest::newRow("devolución B") << 2 << 9 << "10000000"
                                      << "Gamma, DEV.PRESTAMO PROVINCIA: Debe ingresar un valor para la devolución "
                                         "del préstamo entre u$s 0 y u$s 9999999";
        QTest::newRow("no es un número") << 0 << 2 << "mil" << "Alfa, INV.Y DES.: «mil» no es un número entero.";
        QTest::newRow("precio válido") << 1 << 0 << "95" << "";
    }

    void grillaMarcaLasCeldasFueraDeRango() {
        QFETCH(int, fila);
        QFETCH(int, columna);
        QFETCH(QString, valor);
        QFETCH(QString, falla);
        Mesa m(1);
        Revision r = abrirRevision(&m.principal);
        const std::vector<TRegDecision> historia = juegoDePrueba().periodoDelHistorial(1).decisiones;
        QCOMPARE(r.tabla->rowCount(), 3);
        QCOMPARE(r.tabla->columnCount(), 10);
        QCOMPARE(r.tabla->verticalHeaderItem(1)->text(), QStringLiteral("Beta"));
        QCOMPARE(r.tabla->item(2, 4)->text(), QString::number(historia[2].nivelProduccion));
        QVERIFY(r.grilla->fallas().isEmpty());

        editarCelda(r.tabla, fila, columna, valor);
        QCOMPARE(r.tabla->item(fila, columna)->text(), valor);
        const QStringList esperadas = falla.isEmpty() ? QStringList{} : QStringList{falla};
        QCOMPARE(r.grilla->fallas(), esperadas);
        QCOMPARE(control<QLabel>(r.grilla, "lblFallas")->text(), falla);
        QCOMPARE(r.tabla->item(fila, columna)->background().style() != Qt::NoBrush, !falla.isEmpty());
        QCOMPARE(r.tabla->item(fila, columna)->toolTip().isEmpty(), falla.isEmpty());

        // The grid does not go on while a cell is out of range.
        const auto antes = m.carpeta.contenido();
        clic(r.grilla, "btnGuardarSimular");
        if (!falla.isEmpty()) {
            QCOMPARE(m.cajas.textosMostrados(),
                     QStringList{QStringLiteral("Corrija los valores marcados antes de seguir:\n") + falla});
            QCOMPARE(m.carpeta.contenido(), antes);
            QVERIFY(r.grilla && r.grilla->isVisible());
            QVERIFY(!ventanaVisible<TFSimular>());
            // Corrected, it goes on.
            editarCelda(r.tabla, fila, columna, QString::number(historia[fila].*(rangosDecision()[columna].campo)));
            QVERIFY(r.grilla->fallas().isEmpty());
            QVERIFY(r.tabla->item(fila, columna)->toolTip().isEmpty());
            clic(r.grilla, "btnGuardarSimular");
        }
        QCOMPARE(m.cajas.cajas.size(), falla.isEmpty() ? 0 : 1);
        std::vector<TRegDecision> esperado = historia;
        if (falla.isEmpty()) esperado[fila].*(rangosDecision()[columna].campo) = valor.toInt();
        QVERIFY(iguales(juegoDePrueba().decisionesGuardadas(), esperado));
        QPointer<TFSimular> simular = m.principal.findChild<TFSimular*>();
        QVERIFY(simular && simular->isVisible());
        QTRY_VERIFY(!r.pantalla);
        simular->close();
    }

    // A team still at zeros does not keep the grid shut: its row is marked.
    void grillaAbreConEquiposIncompletos() {
        Mesa m(0);
        QPointer<TFDeciciones> p = abrir(&m.principal);
        clic(p, "btnRevisar");
        auto* grilla = p->findChild<TFRevisionDecisiones*>();
        QVERIFY(grilla && m.cajas.cajas.isEmpty());
        auto* tabla = control<QTableWidget>(grilla, "grilla");
        for (int f = 0; f < tabla->rowCount(); ++f)
            QVERIFY(tabla->verticalHeaderItem(f)->toolTip().contains(QStringLiteral("incompletas")));
        m.cajas.respuestas = {ServicioDialogos::Respuesta::si, ServicioDialogos::Respuesta::si};
        p->close();
    }

    void grillaMuestraLosAvisos_data() {
        QTest::addColumn<int>("fila");
        QTest::addColumn<int>("columna");
        QTest::addColumn<int>("valor");  // for a loan, above what its bank still lends
        QTest::addColumn<QString>("aviso");
        QTest::newRow("banco A, uno de más") << 0 << 6 << 1 << "supera en u$s 1 lo que el banco todavía le presta";
        QTest::newRow("banco A, al límite") << 0 << 6 << 0 << "";
        QTest::newRow("banco B, 250 de más") << 1 << 7 << 250 << "supera en u$s 250 lo que el banco";
        QTest::newRow("despidos") << 2 << 4 << 25 << "se despiden";
    }

    void grillaMuestraLosAvisos() {
        QFETCH(int, fila);
        QFETCH(int, columna);
        QFETCH(int, valor);
        QFETCH(QString, aviso);
        Mesa m(1);
        Revision r = abrirRevision(&m.principal);
        // The ten columns fit a 1280-pixel screen.
        QVERIFY(r.grilla->width() <= 1280 && r.tabla->horizontalScrollBar()->maximum() == 0);
        const auto credito = juegoDePrueba().avisosDeDecisiones(juegoDePrueba().periodoDelHistorial(1).decisiones)[fila].credito;
        const char banco = rangosDecision()[columna].banco;
        valor += static_cast<int>(banco == 'A' ? credito.bancoA : banco == 'B' ? credito.bancoB : 0);
        editarCelda(r.tabla, fila, columna, QString::number(valor));
        const QTableWidgetItem* celda = r.tabla->item(fila, columna);
        QCOMPARE(celda->background().style() != Qt::NoBrush, !aviso.isEmpty());
        QVERIFY(celda->toolTip().contains(aviso) && celda->toolTip().isEmpty() == aviso.isEmpty());
        const QString debajo = control<QLabel>(r.grilla, "lblAvisos")->text();
        QVERIFY2(debajo.contains(QStringLiteral("todavía le presta")) && debajo.contains(aviso), qPrintable(debajo));
        QVERIFY(r.grilla->fallas().isEmpty());  // a warning refuses nothing
        m.cerrar(r.pantalla);
    }

    void grillaNoGuardaEnUnJuegoQueCambio() {
        Mesa m(2);
        Revision r = abrirRevision(&m.principal);
        // Another program steps back while the grid is open.
        QCOMPARE(juegoDePrueba().volver(), 2);
        const auto antes = m.carpeta.contenido();
        clic(r.grilla, "btnGuardarSimular");
        QCOMPARE(m.cajas.cajas.size(), 1);
        QVERIFY(m.cajas.cajas[0].texto.startsWith(QStringLiteral("El juego cambió")));
        QCOMPARE(m.carpeta.contenido(), antes);
        QVERIFY(!m.principal.findChild<TFSimular*>());
        QVERIFY(r.grilla && r.grilla->isVisible());
        m.cerrar(r.pantalla);
    }

    void grillaVuelveALaPantalla() {
        Mesa m(1);
        Revision r = abrirRevision(&m.principal);
        const auto antes = m.carpeta.contenido();
        editarCelda(r.tabla, 0, 0, QStringLiteral("99"));
        clic(r.grilla, "btnVolver");
        QTRY_VERIFY(!r.grilla);
        QCOMPARE(r.pantalla->decisionesEquipos()[0].precio, 99);
        QCOMPARE(control<QLineEdit>(r.pantalla, "precio")->text(), QStringLiteral("99"));

        // Out of range, going back asks and leaves the screen as it was.
        r.revisar();
        editarCelda(r.tabla, 1, 0, QStringLiteral("20"));
        m.cajas.respuestas = {ServicioDialogos::Respuesta::no};
        clic(r.grilla, "btnVolver");
        QVERIFY(r.grilla && r.grilla->isVisible());
        m.cajas.respuestas = {ServicioDialogos::Respuesta::si};
        clic(r.grilla, "btnVolver");
        QTRY_VERIFY(!r.grilla);
        QCOMPARE(r.pantalla->decisionesEquipos()[1].precio, juegoDePrueba().periodoDelHistorial(1).decisiones[1].precio);
        QCOMPARE(m.cajas.cajas.size(), 2);

        // The close box goes back the same way, the grid's changes included.
        r.revisar();
        editarCelda(r.tabla, 2, 1, QStringLiteral("4321"));
        r.grilla->close();
        QTRY_VERIFY(!r.grilla);
        QCOMPARE(r.pantalla->decisionesEquipos()[2].marketing, 4321);
        QCOMPARE(m.carpeta.contenido(), antes);
        m.cerrar(r.pantalla);
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaRevisionDecisiones)

#include "revision_decisiones_test.moc"
