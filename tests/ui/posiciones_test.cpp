// The standings screen: its fixed title and headings, and the companies of
// the results file ranked as the industry report ranks them.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "store/DatosAcum_UD.h"
#include "store/Texto.h"
#include "ui/UPosiciones.h"
#include "ui/UPrincipal.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <memory>
#include <vector>

namespace {

struct Empresa {
    const char* nombre;
    int32_t utilidad;
    bool quebrada = false;
};

// A game of zone 1 at period periodo with these companies in the results file.
void guardarEmpresas(const std::vector<Empresa>& empresas, uint8_t periodo = 3) {
    TRegDatosIniciales p{};
    p.cantEquipos = static_cast<uint8_t>(empresas.size());
    p.cantEquiposZona1 = p.cantEquipos;
    p.zonaActiva = 1;
    p.periodoActual = periodo;
    p.nroZona = 1;
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(p);
    TDatosAcum acumulados(carpetaDePrueba());
    for (std::size_t i = 0; i < empresas.size(); ++i) {
        TRegDatosAcum r{};
        asignar(r.nombreEmpresa, cp1252(empresas[i].nombre));
        r.zona = 1;
        r.utilidadAcumulada = empresas[i].utilidad;
        r.quebrada = empresas[i].quebrada ? 1 : 0;
        r.marcaQuiebra = r.quebrada;
        acumulados.guardarAcum(static_cast<uint8_t>(i + 1), r);
    }
}

// "name|profit" of every row with text.
QStringList filasConTexto(const QTableWidget* grilla) {
    QStringList filas;
    for (int f = 0; f < grilla->rowCount(); ++f) {
        const QString nombre = grilla->item(f, 0) ? grilla->item(f, 0)->text() : QString();
        const QString utilidad = grilla->item(f, 1) ? grilla->item(f, 1)->text() : QString();
        if (!nombre.isEmpty() || !utilidad.isEmpty()) filas << nombre + QLatin1Char('|') + utilidad;
    }
    return filas;
}

}  // namespace

class PruebaPosiciones : public QObject {
    Q_OBJECT

    std::unique_ptr<CarpetaDeJuego> carpeta;
    std::unique_ptr<DialogosFalsos> falsos;
    std::unique_ptr<TFPrincipal> principal;

    TFPosiciones* abrir() {
        principal = std::make_unique<TFPrincipal>(carpetaDePrueba().ruta());
        principal->show();
        principal->findChild<QAction*>(QStringLiteral("mnuZona1"))->trigger();
        return ventanaVisible<TFPosiciones>();
    }

private slots:
    void init() {
        carpeta = std::make_unique<CarpetaDeJuego>();
        falsos = std::make_unique<DialogosFalsos>();
    }
    void cleanup() {
        principal.reset();
        descartarCerradas();
        falsos.reset();
        carpeta.reset();
    }

    void sinJuegoTituloYEncabezados() {
        TFPosiciones* posiciones = abrir();
        QVERIFY(posiciones);
        QVERIFY(falsos->cajas.isEmpty());
        QCOMPARE(posiciones->windowTitle(), QStringLiteral("Posiciones"));
        QCOMPARE(control<QLabel>(posiciones, "Label1")->text(), QStringLiteral("ZONA 1"));
        auto* grilla = control<QTableWidget>(posiciones, "StringGrid1");
        QCOMPARE(grilla->columnCount(), 2);
        QCOMPARE(grilla->horizontalHeaderItem(0)->text(), QStringLiteral("              NOMBRES"));
        QCOMPARE(grilla->horizontalHeaderItem(1)->text(), QStringLiteral("UTILIDADES ACUMULADAS"));
        // At least as wide as designed, and wide enough for the headings.
        const QFontMetrics letra(grilla->horizontalHeader()->font());
        QVERIFY(grilla->columnWidth(0) >= 174);
        QVERIFY(grilla->columnWidth(1) >= 152);
        QVERIFY(grilla->columnWidth(1) > letra.horizontalAdvance(QStringLiteral("UTILIDADES ACUMULADAS")));
        QCOMPARE(grilla->rowCount(), 13);
        QVERIFY(filasConTexto(grilla).isEmpty());
        QVERIFY(posiciones->testAttribute(Qt::WA_DeleteOnClose));

        QTest::mouseClick(control<QPushButton>(posiciones, "btnGuardar"), Qt::LeftButton);
        QCOMPARE(ventanasVivas<TFPosiciones>(), 0);
    }

    void lasEmpresasPorUtilidadAcumulada() {
        guardarEmpresas({{"Alfa", 1200}, {"Beta", 98000}, {"Quebrada", 500000, true}, {"Ñandú", -3500},
                         {"Delta", 45000}});
        TFPosiciones* posiciones = abrir();
        QVERIFY(posiciones);
        QVERIFY2(falsos->cajas.isEmpty(), qPrintable(falsos->textosMostrados().join(QLatin1Char('\n'))));
        auto* grilla = control<QTableWidget>(posiciones, "StringGrid1");
        QCOMPARE(filasConTexto(grilla), (QStringList{"Beta|98000", "Delta|45000", "Alfa|1200", "Ñandú|-3500"}));
        QCOMPARE(grilla->rowCount(), 13);
        // The title and headings stay as they are.
        QCOMPARE(control<QLabel>(posiciones, "Label1")->text(), QStringLiteral("ZONA 1"));
        QCOMPARE(grilla->horizontalHeaderItem(1)->text(), QStringLiteral("UTILIDADES ACUMULADAS"));
    }

    void masDeTreceEmpresasMasFilas() {
        std::vector<Empresa> empresas;
        std::vector<std::string> nombres;
        for (int i = 1; i <= 15; ++i) nombres.push_back("Empresa " + std::to_string(i));
        for (int i = 0; i < 15; ++i) empresas.push_back({nombres[i].c_str(), 1000 * (i + 1)});
        guardarEmpresas(empresas);
        TFPosiciones* posiciones = abrir();
        auto* grilla = control<QTableWidget>(posiciones, "StringGrid1");
        QCOMPARE(grilla->rowCount(), 15);
        const QStringList filas = filasConTexto(grilla);
        QCOMPARE(filas.size(), 15);
        QCOMPARE(filas.first(), QStringLiteral("Empresa 15|15000"));
        QCOMPARE(filas.last(), QStringLiteral("Empresa 1|1000"));
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaPosiciones)
#include "posiciones_test.moc"
