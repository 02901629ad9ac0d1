// The keyboard in every screen: each push button has an Alt letter of its
// own in its window, Tab reaches it and Enter presses it; the viewers close
// with Esc.

#include "comun/ArchivosDePrueba.h"
#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "engine/UDecicionesPeriodo0.h"
#include "juego/CorridaPeriodo0.h"
#include "store/DatosIniciales.h"
#include "ui/UDatosIniciales.h"
#include "ui/UDeciciones.h"
#include "ui/UDecicionesPeriodo0.h"
#include "ui/UEquipos.h"
#include "ui/UEvolucion.h"
#include "ui/UModificarDatos.h"
#include "ui/UPosiciones.h"
#include "ui/UPrincipal.h"
#include "ui/UResultados.h"
#include "ui/URevisionDecisiones.h"
#include "ui/USimular.h"
#include "ui/UTablas.h"

#include <QLabel>
#include <QPointer>

#include <functional>
#include <memory>

namespace {

/// A game of two teams with period 1 open, as the decision screens need it.
void juegoEnPeriodo1() {
    guardarJuegoNuevo(carpetaDePrueba(), armarDatosIniciales(ejemploDatosIniciales(), 2));
    for (uint8_t i = 0; i < 2; ++i) TDatosjuego(carpetaDePrueba()).guardarNombre(i, i ? "Beta" : "Alfa");
    TDecisionesPeriodo0 cero = ejemploPeriodo0();
    ejecutarPeriodo0(carpetaDePrueba(), cero);
}

/// The letter of an Alt shortcut, empty when it is something else.
QString letraAlt(const QKeySequence& atajo) {
    if (atajo.count() != 1 || atajo[0].keyboardModifiers() != Qt::AltModifier) return {};
    return QKeySequence(atajo[0].key()).toString().toLower();
}

struct Pantalla {
    const char* nombre;
    std::function<QWidget*(TFPrincipal&)> crear;
};

const Pantalla pantallas[] = {
    {"datos iniciales", [](TFPrincipal& p) { return new TFDatosIniciales(juegoDePrueba(), &p, nullptr); }},
    {"equipos", [](TFPrincipal& p) { return new TFEquipos(juegoDePrueba(), &p); }},
    {"tablas", [](TFPrincipal& p) { return new TFTablas(&p, [](int32_t, int32_t) {}); }},
    {"modificar datos", [](TFPrincipal& p) { return new TFModificarDatos(juegoDePrueba(), &p); }},
    {"período 0", [](TFPrincipal& p) { return new TFDecicionesPeriodo0(juegoDePrueba(), &p); }},
    {"decisiones", [](TFPrincipal& p) { return new TFDeciciones(juegoDePrueba(), &p); }},
    {"revisión", [](TFPrincipal& p) {
         return new TFRevisionDecisiones(juegoDePrueba(), &p, {"Alfa", "Beta"}, {"NACION", "PROVINCIA"},
                                         std::vector<TRegDecision>(2), juegoDePrueba().leerEstado().marca,
                                         [](const std::vector<TRegDecision>&, bool) {});
     }},
    {"simular", [](TFPrincipal& p) { return new TFSimular(juegoDePrueba(), &p); }},
    {"posiciones", [](TFPrincipal& p) { return new TFPosiciones(juegoDePrueba(), &p); }},
    {"resultados", [](TFPrincipal& p) { return new TFResultados(juegoDePrueba(), &p); }},
    {"evolución", [](TFPrincipal& p) { return new TFEvolucion(juegoDePrueba(), &p); }},
};

}  // namespace

class PruebaTeclado : public QObject {
    Q_OBJECT

    std::unique_ptr<CarpetaDeJuego> carpeta;
    std::unique_ptr<DialogosFalsos> falsos;

private slots:
    void init() {
        carpeta = std::make_unique<CarpetaDeJuego>();
        falsos = std::make_unique<DialogosFalsos>();
        juegoEnPeriodo1();
    }
    void cleanup() {
        descartarCerradas();
        falsos.reset();
        carpeta.reset();
    }

    void cadaBotonTieneSuLetraYSeAlcanzaConTab() {
        TFPrincipal principal(carpetaDePrueba().ruta());
        for (const Pantalla& p : pantallas) {
            QPointer<QWidget> ventana = p.crear(principal);
            QMap<QString, QString> duenos;  // Alt letter -> what uses it
            for (const QLabel* l : ventana->findChildren<QLabel*>())
                if (l->buddy()) duenos[letraAlt(QKeySequence::mnemonic(l->text()))] = l->text();
            for (const QPushButton* b : ventana->findChildren<QPushButton*>()) {
                const QString quien = QStringLiteral("%1: %2").arg(p.nombre, b->objectName());
                const QString letra = letraAlt(b->shortcut());
                QVERIFY2(!letra.isEmpty(), qPrintable(quien + QStringLiteral(" sin letra")));
                QVERIFY2(!duenos.contains(letra), qPrintable(quien + QStringLiteral(" repite la de ") + duenos[letra]));
                duenos[letra] = b->objectName();
                QVERIFY2(b->focusPolicy() & Qt::TabFocus, qPrintable(quien));
                QVERIFY2(b->autoDefault(), qPrintable(quien + QStringLiteral(" no responde a Enter")));
            }
            QVERIFY2(!duenos.isEmpty(), p.nombre);
            delete ventana;
        }
    }

    // Tab from the decisions screen's fields reaches its buttons.
    void tabLlegaALosBotonesDeDecisiones() {
        TFPrincipal principal(carpetaDePrueba().ruta());
        QPointer<QWidget> ventana = new TFDeciciones(juegoDePrueba(), &principal);
        QVERIFY(activar(ventana));
        QSet<QString> alcanzados;
        for (int i = 0; i < 40 && QApplication::focusWidget(); ++i) {
            if (auto* b = qobject_cast<QPushButton*>(QApplication::focusWidget())) alcanzados << b->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (const char* nombre : {"btnAnterior", "btnSiguiente", "btnCancelar", "btnCopiarAnterior", "btnRevisar"})
            QVERIFY2(alcanzados.contains(QLatin1String(nombre)), nombre);
        ventana->close();
    }

    void escCierraLosVisores_data() {
        QTest::addColumn<int>("indice");
        for (int i = 0; i < int(std::size(pantallas)); ++i)
            if (QByteArray(pantallas[i].nombre) == "resultados" || QByteArray(pantallas[i].nombre) == "evolución")
                QTest::newRow(pantallas[i].nombre) << i;
    }
    void escCierraLosVisores() {
        QFETCH(int, indice);
        TFPrincipal principal(carpetaDePrueba().ruta());
        QPointer<QWidget> visor = pantallas[indice].crear(principal);
        QVERIFY(activar(visor));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : visor.data(), Qt::Key_Escape);
        descartarCerradas();
        QVERIFY(!visor);
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaTeclado)
#include "teclado_test.moc"
