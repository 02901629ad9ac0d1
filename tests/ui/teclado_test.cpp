// The keyboard in every screen: each push button has an Alt letter of its
// own in its window, Tab reaches it and Enter presses it; viewers close on Esc.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"
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

namespace {

template <class T>
QWidget* crear(TFPrincipal& p, TJuego& j) { return new T(j, &p); }

const struct {
    const char* nombre;
    QWidget* (*crear)(TFPrincipal&, TJuego&);
    bool visor = false;  // closes on Esc
} kPantallas[] = {
    {"datos iniciales", [](TFPrincipal& p, TJuego& j) -> QWidget* { return new TFDatosIniciales(j, &p, nullptr); }},
    {"tablas", [](TFPrincipal& p, TJuego&) -> QWidget* { return new TFTablas(&p, [](int32_t, int32_t) {}); }},
    {"revisión", [](TFPrincipal& p, TJuego& j) -> QWidget* {
         return new TFRevisionDecisiones(j, &p, {"Alfa", "Beta"}, {"A", "B"}, std::vector<TRegDecision>(2),
                                         j.leerEstado().marca, [](const std::vector<TRegDecision>&, bool) {});
     }},
    {"equipos", crear<TFEquipos>}, {"modificar", crear<TFModificarDatos>}, {"período 0", crear<TFDecicionesPeriodo0>},
    {"decisiones", crear<TFDeciciones>}, {"simular", crear<TFSimular>}, {"posiciones", crear<TFPosiciones>},
    {"resultados", crear<TFResultados>, true}, {"evolución", crear<TFEvolucion>, true}};

QString letraAlt(const QKeySequence& atajo) {
    return atajo.count() == 1 && atajo[0].keyboardModifiers() == Qt::AltModifier ? atajo.toString() : QString();
}

}  // namespace

class PruebaTeclado : public QObject {
    Q_OBJECT

private slots:
    void cadaBotonTieneSuLetraYEscCierraLosVisores_data() {
        QTest::addColumn<int>("pantalla");
        for (const auto& p : kPantallas) QTest::newRow(p.nombre) << int(&p - kPantallas);
    }
    void cadaBotonTieneSuLetraYEscCierraLosVisores() {
        QFETCH(int, pantalla);
        CarpetaDeJuego carpeta;
        DialogosFalsos dialogos;
        juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
        juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
        TFPrincipal principal(carpetaDePrueba().ruta());
        QPointer<QWidget> ventana = kPantallas[pantalla].crear(principal, juegoDePrueba());
        QMap<QString, QString> duenos;  // Alt letter -> what has it
        for (const QLabel* l : ventana->findChildren<QLabel*>())
            if (const QString letra = letraAlt(QKeySequence::mnemonic(l->text())); l->buddy() && !letra.isEmpty())
                duenos[letra] = l->text();
        const auto botones = ventana->findChildren<QPushButton*>();
        QVERIFY(!botones.isEmpty());
        for (const QPushButton* b : botones) {
            const QString letra = letraAlt(b->shortcut()), quien = b->objectName();
            QVERIFY2(!letra.isEmpty() && !duenos.contains(letra), qPrintable(quien + QLatin1Char(' ') + duenos[letra]));
            duenos[letra] = quien;
            QVERIFY2((b->focusPolicy() & Qt::TabFocus) && b->autoDefault(), qPrintable(quien));
        }
        if (kPantallas[pantalla].visor) {
            QVERIFY(activar(ventana));
            QTest::keyClick(ventana->focusWidget() ? ventana->focusWidget() : ventana.data(), Qt::Key_Escape);
            descartarCerradas();
            QVERIFY(!ventana);
        }
        delete ventana;
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaTeclado)
#include "teclado_test.moc"
