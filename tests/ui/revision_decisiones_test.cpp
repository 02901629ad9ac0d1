// The decision screen on a real game: copying the previous period from the
// history, importing the tool's CSV file and the review grid.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "juego/Juego.h"
#include "ui/UDeciciones.h"
#include "ui/USimular.h"

#include <QPointer>
#include <QPushButton>

#include <cstring>
#include <vector>

namespace {

bool iguales(const TRegDecision& a, const TRegDecision& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool iguales(const std::vector<TRegDecision>& a, const std::vector<TRegDecision>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!iguales(a[i], b[i])) return false;
    return true;
}

TRegDecision decision(int32_t precio, int32_t nivel, int32_t semilla) {
    return {precio, nivel, 2000, 1000 + semilla, semilla, semilla + 1, semilla + 2, semilla + 3, 0, 0};
}

/// Three teams, period 0 run, then periodos more periods run with
/// different decisions per team: period periodos + 1 open.
void juegoEnPeriodo(int periodos) {
    crearJuego({"Alfa", "Beta", "Gamma"}, ejemploDatosIniciales());
    correrPeriodo0(ejemploPeriodo0());
    for (int p = 1; p <= periodos; ++p) {
        guardarDecisiones({decision(60 + p, 25, p), decision(70 + p, 50, 10 * p), decision(80 + p, 100, 100 * p)});
        simular();
    }
}

void clic(QWidget* ventana, const char* boton) {
    QTest::mouseClick(control<QPushButton>(ventana, boton), Qt::LeftButton);
}

/// The decision screen on top of principal, active.
TFDeciciones* abrir(QWidget* principal) {
    auto* pantalla = new TFDeciciones(principal);
    if (!activar(pantalla)) qWarning("la pantalla no quedó activa");
    return pantalla;
}

}  // namespace

class PruebaRevisionDecisiones : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void copiarPeriodoAnterior_data() {
        QTest::addColumn<int>("corridos");
        QTest::newRow("período 1 desde el período 0") << 0;
        QTest::newRow("período 2 desde el período 1") << 1;
        QTest::newRow("período 4 desde el período 3") << 3;
    }

    void copiarPeriodoAnterior() {
        QFETCH(int, corridos);
        CarpetaDeJuego carpeta;
        juegoEnPeriodo(corridos);
        DialogosFalsos cajas;
        QWidget principal;
        principal.show();
        QPointer<TFDeciciones> p = abrir(&principal);
        const auto antes = carpeta.contenido();
        clic(p, "btnCopiarAnterior");
        QVERIFY(cajas.cajas.isEmpty());
        const std::vector<TRegDecision> historia = periodoDelHistorial(corridos).decisiones;
        QCOMPARE(historia.size(), std::size_t{3});
        QVERIFY(iguales(p->decisionesEquipos(), historia));
        QCOMPARE(control<QLineEdit>(p, "Edit1")->text(), QString::number(historia[0].precio));
        // Nothing is stored until the game master goes on.
        QCOMPARE(carpeta.contenido(), antes);
        QVERIFY(p->decisionesSinGuardar());
        cajas.respuestas = {ServicioDialogos::Respuesta::no};
        for (int t = 0; t < 3; ++t) clic(p, "btnSiguiente");
        QCOMPARE(cajas.textosMostrados(), QStringList{QStringLiteral("¿Pasar a la simulación?")});
        QVERIFY(iguales(decisionesGuardadas(), historia));
        p->close();
    }

    void copiarSinHistorialNoCambiaNada() {
        CarpetaDeJuego carpeta;
        juegoEnPeriodo(2);
        QDir(carpeta.ruta(QStringLiteral("historial/Periodo 2"))).removeRecursively();
        DialogosFalsos cajas;
        QWidget principal;
        principal.show();
        QPointer<TFDeciciones> p = abrir(&principal);
        escribir(control<QLineEdit>(p, "Edit1"), QStringLiteral("77"));
        clic(p, "btnCopiarAnterior");
        QCOMPARE(cajas.textosMostrados(),
                 QStringList{QStringLiteral("No hay decisiones del período 2 en el historial.")});
        QCOMPARE(control<QLineEdit>(p, "Edit1")->text(), QStringLiteral("77"));
        QVERIFY(iguales(p->decisionesEquipos(), std::vector<TRegDecision>(3)));
        cajas.respuestas = {ServicioDialogos::Respuesta::si};
        p->close();
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaRevisionDecisiones)

#include "revision_decisiones_test.moc"
