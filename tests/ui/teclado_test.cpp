// The keyboard in every screen: each push button has an Alt letter of its
// own in its window, Tab reaches it and Enter presses it; viewers close on Esc.

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

namespace {

const char* const kPantallas[] = {"datos iniciales", "equipos", "tablas", "modificar", "período 0", "decisiones",
                                  "revisión", "simular", "posiciones", "resultados", "evolución"};
constexpr int kPrimerVisor = 9;

QWidget* crear(int pantalla, TFPrincipal& p, TJuego& j) {
    switch (pantalla) {
    case 0: return new TFDatosIniciales(j, &p, nullptr);
    case 1: return new TFEquipos(j, &p);
    case 2: return new TFTablas(&p, [](int32_t, int32_t) {});
    case 3: return new TFModificarDatos(j, &p);
    case 4: return new TFDecicionesPeriodo0(j, &p);
    case 5: return new TFDeciciones(j, &p);
    case 6: return new TFRevisionDecisiones(j, &p, {"Alfa", "Beta"}, {"A", "B"}, std::vector<TRegDecision>(2),
                                            j.leerEstado().marca, [](const std::vector<TRegDecision>&, bool) {});
    case 7: return new TFSimular(j, &p);
    case 8: return new TFPosiciones(j, &p);
    case 9: return new TFResultados(j, &p);
    default: return new TFEvolucion(j, &p);
    }
}

QString letraAlt(const QKeySequence& atajo) {
    return atajo.count() == 1 && atajo[0].keyboardModifiers() == Qt::AltModifier ? atajo.toString() : QString();
}

}  // namespace

class PruebaTeclado : public QObject {
    Q_OBJECT

private slots:
    void cadaBotonTieneSuLetraYEscCierraLosVisores_data() {
        QTest::addColumn<int>("pantalla");
        for (int i = 0; i < int(std::size(kPantallas)); ++i) QTest::newRow(kPantallas[i]) << i;
    }
    void cadaBotonTieneSuLetraYEscCierraLosVisores() {
        QFETCH(int, pantalla);
        CarpetaDeJuego carpeta;
        DialogosFalsos dialogos;
        guardarJuegoNuevo(carpetaDePrueba(), armarDatosIniciales(ejemploDatosIniciales(), 2));
        for (uint8_t i = 0; i < 2; ++i) TDatosjuego(carpetaDePrueba()).guardarNombre(i, i ? "Beta" : "Alfa");
        ejecutarPeriodo0(carpetaDePrueba(), ejemploPeriodo0());
        TFPrincipal principal(carpetaDePrueba().ruta());
        QPointer<QWidget> ventana = crear(pantalla, principal, juegoDePrueba());
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
        if (pantalla >= kPrimerVisor) {
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
