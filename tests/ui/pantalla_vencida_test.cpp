// A screen opened on one period never stores or runs on another: when the
// game moves under it, storing and simulating are refused and no file
// changes. A period's screen opens once, and the actions that move the game
// close the period screens, asking first when decisions were typed.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "juego/Juego.h"
#include "ui/UDeciciones.h"
#include "ui/UPrincipal.h"
#include "ui/USimular.h"

#include <QDirIterator>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {

const TRegDecision kDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};

// Every file under the game folder but the lock files, by relative path.
QMap<QString, QByteArray> todo(const CarpetaDeJuego& carpeta) {
    QMap<QString, QByteArray> archivos;
    const QString raiz = carpeta.ruta(QString());
    QDirIterator it(raiz, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString ruta = it.next();
        QFile f(ruta);
        if (!ruta.endsWith(QStringLiteral(".LCK")) && f.open(QIODevice::ReadOnly))
            archivos[QDir(raiz).relativeFilePath(ruta)] = f.readAll();
    }
    return archivos;
}

// Three teams, periods 0 and 1 run: period 2 open, period 1 can be undone.
void juegoEnPeriodo2() {
    juegoDePrueba().crearJuego({"Alfa", "Beta", "Gamma"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    juegoDePrueba().guardarDecisiones({kDecision, kDecision, kDecision});
    juegoDePrueba().simular();
}

void clic(QWidget* ventana, const char* boton) {
    QTest::mouseClick(control<QPushButton>(ventana, boton), Qt::LeftButton);
}

// The main window with period 2 open, as after "Reanudar".
void abrirPrincipal(TFPrincipal& principal) {
    principal.show();
    principal.mostrarJuego();
    item(&principal, "mnuPeriodo2")->trigger();
}

// Types a valid team on the screen and moves on.
void cargarEquipo(TFDeciciones* pantalla) {
    escribir(control<QLineEdit>(pantalla, "precio"), QStringLiteral("80"));
    clic(pantalla, "btnSiguiente");
}

}  // namespace

class PruebaPantallaVencida : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void guardarYSimularSeRechazanTrasVolverAtrasDesdeOtroPrograma() {
        CarpetaDeJuego carpeta;
        juegoEnPeriodo2();
        DialogosFalsos cajas;
        TFPrincipal principal(carpetaDePrueba().ruta());
        abrirPrincipal(principal);
        QPointer<TFDeciciones> pantalla = ventanaVisible<TFDeciciones>();
        QVERIFY(pantalla);
        QVERIFY(activar(pantalla));
        const TMarca vieja = juegoDePrueba().leerEstado().marca;

        // Another program steps back while the screen still says period 2.
        QCOMPARE(juegoDePrueba().volver(), 1);
        const auto antes = todo(carpeta);

        for (int equipo = 0; equipo < 3; ++equipo) cargarEquipo(pantalla);
        QCOMPARE(cajas.textosMostrados(),
                 QStringList{QStringLiteral("El juego cambió: ahora está abierto el período 1. Cierre esta pantalla y "
                                            "vuelva a abrirla.")});
        QVERIFY(!ventanaVisible<TFSimular>());
        QCOMPARE(todo(carpeta), antes);

        // A simulate screen opened on the old period refuses the run too.
        auto* simular = new TFSimular(juegoDePrueba(), &principal, vieja);
        simular->show();
        cajas.cajas.clear();
        clic(simular, "btnSimular");
        QCOMPARE(cajas.cajas.size(), 1);
        QVERIFY(cajas.cajas[0].texto.startsWith(QStringLiteral("El juego cambió: ahora está abierto el período 1.")));
        QCOMPARE(todo(carpeta), antes);
        QCOMPARE(parametrosGuardados().periodoActual, uint8_t{1});
        cajas.respuestas = {ServicioDialogos::Respuesta::si};  // leave the typed screen
        pantalla->close();
        simular->close();
    }

    // Another program moves the game: the menus and the status line follow.
    void laVentanaSigueAOtroPrograma() {
        CarpetaDeJuego carpeta;
        juegoEnPeriodo2();
        DialogosFalsos cajas;
        TFPrincipal principal(carpetaDePrueba().ruta());
        principal.show();
        principal.mostrarJuego();
        QVERIFY(item(&principal, "mnuPeriodo2")->isEnabled());
        QCOMPARE(juegoDePrueba().volver(), 1);
        QTRY_VERIFY(item(&principal, "mnuPeriodo1")->isEnabled());
        QVERIFY(!item(&principal, "mnuPeriodo2")->isEnabled());
        QVERIFY(control<QLabel>(&principal, "lblEstado")->text().contains(QStringLiteral("Período 1 abierto")));
    }

    void unPeriodoAbiertoDosVecesEsUnaSolaPantalla() {
        CarpetaDeJuego carpeta;
        juegoEnPeriodo2();
        DialogosFalsos cajas;
        TFPrincipal principal(carpetaDePrueba().ruta());
        abrirPrincipal(principal);
        item(&principal, "mnuPeriodo2")->trigger();
        QCOMPARE(ventanasVivas<TFDeciciones>(), 1);
    }

    void volverAtrasCierraLaPantallaYPreguntaSiHayDecisionesSinGuardar_data() {
        QTest::addColumn<bool>("tipear");
        QTest::addColumn<bool>("cerrar");  // the answer to "close and lose them?"
        QTest::newRow("sin tipear") << false << true;
        QTest::newRow("tipeadas, se cierra") << true << true;
        QTest::newRow("tipeadas, se queda") << true << false;
    }
    void volverAtrasCierraLaPantallaYPreguntaSiHayDecisionesSinGuardar() {
        QFETCH(bool, tipear);
        QFETCH(bool, cerrar);
        CarpetaDeJuego carpeta;
        juegoEnPeriodo2();
        DialogosFalsos cajas;
        TFPrincipal principal(carpetaDePrueba().ruta());
        abrirPrincipal(principal);
        QPointer<TFDeciciones> pantalla = ventanaVisible<TFDeciciones>();
        QVERIFY(activar(pantalla));
        if (tipear) escribir(control<QLineEdit>(pantalla, "marketing"), QStringLiteral("5000"));
        using R = ServicioDialogos::Respuesta;
        cajas.respuestas = {R::si, cerrar ? R::si : R::no};
        item(&principal, "mnuVolverAtras")->trigger();
        descartarCerradas();

        QCOMPARE(cajas.cajas.size(), tipear ? 2 : 1);
        if (tipear)
            QVERIFY(cajas.cajas[1].texto.startsWith(QStringLiteral("Hay decisiones cargadas que no se guardaron.")));
        QCOMPARE(static_cast<bool>(pantalla), !cerrar);
        QCOMPARE(parametrosGuardados().periodoActual, uint8_t(cerrar ? 1 : 2));
        if (pantalla) {
            cajas.respuestas = {R::si};
            pantalla->close();
        }
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaPantallaVencida)

#include "pantalla_vencida_test.moc"
