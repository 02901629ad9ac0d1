// The modify data screen: what it shows, what a save keeps, and a save that
// fails changing nothing at all.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/JuegoDePrueba.h"
#include "comun/Empresas.h"
#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "ui/UModificarDatos.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

TRegDatosIniciales juegoGuardado() {
    TRegDatosIniciales d{};
    d.cantEquipos = 3;
    d.cantEquiposZona1 = 3;
    d.zonaActiva = 1;
    d.periodoActual = 5;
    d.penalidadStock = 10;
    d.multipOrdenesMas = 30;
    d.multipOrdenesMenos = 20;
    d.planta = 70000;
    d.maxCreditoA = 90000;
    d.maxCreditoB = 80000;
    d.capital = 80000;
    d.columnaPrecios = 50;
    d.intervaloMarketing = 1000;
    d.nroInvYDes = 400;
    d.nroZona = 1;
    d.modifOrdenes = 0.125;
    d.interesA = 0.08;
    d.interesB = static_cast<double>(21.0L / 100 / 3);
    d.tasaImpuestos = 0.3;
    d.tasaMantenimiento = 0.1;
    d.tasaGiroDescubierto = 1;
    d.tasaProduccion = 0.02;
    d.limiteGiroDescubierto = 1500.5;
    asignar(d.nombreBancoA, "NACION");
    asignar(d.nombreBancoB, "PROVINCIA");
    d.indemXEmpleado = 300;
    d.penalidad = 500;
    return d;
}

std::vector<char> bytes(const std::filesystem::path& ruta) {
    std::ifstream archivo(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>()};
}

class Prueba {
public:
    Prueba() {
        usarCarpetaDePrueba(carpeta_.path().toStdString());
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(juegoGuardado());
        const auto empresas = bytesDeEmpresas(3);
        std::ofstream(carpetaDePrueba().ruta() / "DATOS ACUMULADOS.DAT", std::ios::binary)
            .write(reinterpret_cast<const char*>(empresas.data()), static_cast<std::streamsize>(empresas.size()));
        principal_.show();
    }
    std::vector<char> archivo() const { return bytes(carpetaDePrueba().ruta() / "DATOS INICIALES.DAT"); }
    TRegDatosIniciales leido() const {
        TRegDatosIniciales d{};
        TDatosjuego(carpetaDePrueba()).leerDatosIniciales(d);
        return d;
    }
    TFModificarDatos* abrir() {
        auto* p = new TFModificarDatos(juegoDePrueba(), &principal_);
        p->show();
        return p;
    }
    DialogosFalsos cajas;

private:
    QTemporaryDir carpeta_;
    QWidget principal_;
};

QLineEdit* caja(QWidget* w, const char* nombre) {
    auto* e = w->findChild<QLineEdit*>(QString::fromLatin1(nombre));
    if (!e) qFatal("falta %s", nombre);
    return e;
}

void guardar(QWidget* w) {
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btnGuardar")), Qt::LeftButton);
}

}  // namespace

class PruebaModificarDatos : public QObject {
    Q_OBJECT

private slots:
    void init() { std::setlocale(LC_NUMERIC, "C"); }

    void muestraLosValoresGuardados_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("editable");
        QTest::newRow("banco A") << "Edit1" << "NACION" << false;
        QTest::newRow("banco B") << "Edit2" << "PROVINCIA" << false;
        QTest::newRow("planta") << "Edit3" << "70000" << false;
        QTest::newRow("capital") << "Edit4" << "80000" << false;
        QTest::newRow("crédito A") << "Edit5" << "90000" << true;
        QTest::newRow("crédito B") << "Edit6" << "80000" << true;
        QTest::newRow("mantenimiento") << "Edit7" << "10" << true;
        QTest::newRow("impuestos") << "Edit8" << "30" << true;
        QTest::newRow("interés A de 0.08 por período") << "Edit9" << "24" << true;
        QTest::newRow("interés B") << "Edit10" << "21" << true;
        QTest::newRow("tasa de producción") << "Edit11" << "2" << false;
        QTest::newRow("giro en descubierto") << "Edit12" << "100" << true;
        QTest::newRow("penalidad de stock") << "Edit13" << "10" << true;
        QTest::newRow("multiplicador +") << "Edit14" << "30" << true;
        QTest::newRow("multiplicador -") << "Edit15" << "20" << true;
        QTest::newRow("inv y des") << "Edit16" << "400" << true;
        QTest::newRow("modificador de órdenes") << "Edit17" << "12.5" << true;
        QTest::newRow("límite del giro") << "edMaxGiroDescub" << "1500.5" << true;
        QTest::newRow("zona") << "edNroZona" << "1" << false;
        QTest::newRow("indemnización") << "edIndemXEmp" << "300" << true;
        QTest::newRow("penalidad") << "edPenalidad" << "500" << true;
    }

    void muestraLosValoresGuardados() {
        QFETCH(QString, nombre);
        QFETCH(QString, texto);
        QFETCH(bool, editable);
        Prueba prueba;
        QPointer<TFModificarDatos> p = prueba.abrir();
        QCOMPARE(p->windowTitle(), QStringLiteral("Modificar Datos"));
        QLineEdit* e = caja(p, nombre.toLatin1().constData());
        QCOMPARE(e->text(), texto);
        QCOMPARE(e->isEnabled(), editable);
        for (const char* banco : {"lblBancoA1", "lblBancoA2"})
            QCOMPARE(p->findChild<QLabel*>(QString::fromLatin1(banco))->text(), QStringLiteral("NACION"));
        for (const char* banco : {"lblBancoB1", "lblBancoB2"})
            QCOMPARE(p->findChild<QLabel*>(QString::fromLatin1(banco))->text(), QStringLiteral("PROVINCIA"));
        p->close();
    }

    void nombresDeBancoEntreEtiquetaYCaja_data() {
        QTest::addColumn<QString>("banco");
        QTest::addColumn<QString>("caja");
        QTest::newRow("crédito A") << "lblBancoA1" << "Edit5";
        QTest::newRow("crédito B") << "lblBancoB1" << "Edit6";
        QTest::newRow("intereses A") << "lblBancoA2" << "Edit9";
        QTest::newRow("intereses B") << "lblBancoB2" << "Edit10";
    }

    void nombresDeBancoEntreEtiquetaYCaja() {
        QFETCH(QString, banco);
        QFETCH(QString, caja);
        Prueba prueba;
        QPointer<TFModificarDatos> p = prueba.abrir();
        auto* nombre = p->findChild<QLabel*>(banco);
        auto* edit = p->findChild<QLineEdit*>(caja);
        QVERIFY(nombre && edit);
        QVERIFY(nombre->font().bold());
        QLabel* etiqueta = nullptr;
        for (QLabel* l : p->findChildren<QLabel*>())
            if (l->buddy() == edit) etiqueta = l;
        QVERIFY(etiqueta);
        // Same row, in the order label, bank, box.
        QCOMPARE(nombre->geometry().center().y() / 4, edit->geometry().center().y() / 4);
        QVERIFY(etiqueta->geometry().right() < nombre->geometry().left());
        QVERIFY(nombre->geometry().right() < edit->geometry().left());
        // Minimize and close controls, no maximize on a fixed size.
        QVERIFY(p->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!p->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(p->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        p->close();
    }

    void conComaDecimalMuestraComa() {
        QVERIFY(std::setlocale(LC_NUMERIC, "es_AR.UTF-8"));
        Prueba prueba;
        QPointer<TFModificarDatos> p = prueba.abrir();
        QCOMPARE(caja(p, "Edit17")->text(), QStringLiteral("12,5"));
        QCOMPARE(caja(p, "edMaxGiroDescub")->text(), QStringLiteral("1500,5"));
        // Saved unchanged, the record stays exactly as it was.
        const auto antes = prueba.archivo();
        guardar(p);
        QTRY_VERIFY(!p);
        QCOMPARE(prueba.archivo(), antes);
    }

    void guardarSinCambiosNoCambiaElArchivo() {
        Prueba prueba;
        const auto antes = prueba.archivo();
        QPointer<TFModificarDatos> p = prueba.abrir();
        guardar(p);
        QVERIFY(prueba.cajas.cajas.isEmpty());
        QTRY_VERIFY(!p);
        QCOMPARE(prueba.archivo(), antes);
        QCOMPARE(prueba.leido().modifOrdenes, 0.125);
        QCOMPARE(prueba.leido().interesA, 0.08);
    }

    void guardarCambiaSoloLoEditable() {
        Prueba prueba;
        QPointer<TFModificarDatos> p = prueba.abrir();
        // Disabled boxes changed behind the screen's back are still not saved.
        caja(p, "Edit1")->setText(QStringLiteral("OTRO"));
        caja(p, "Edit3")->setText(QStringLiteral("1"));
        caja(p, "Edit11")->setText(QStringLiteral("50"));
        caja(p, "edNroZona")->setText(QStringLiteral("3"));
        caja(p, "Edit13")->setText(QStringLiteral("300"));
        caja(p, "Edit8")->setText(QStringLiteral("35"));
        caja(p, "Edit9")->setText(QStringLiteral("30"));
        caja(p, "edIndemXEmp")->setText(QStringLiteral("450"));
        caja(p, "edPenalidad")->setText(QStringLiteral("800"));
        guardar(p);
        QTRY_VERIFY(!p);
        const TRegDatosIniciales d = prueba.leido();
        const TRegDatosIniciales antes = juegoGuardado();
        QCOMPARE(aTexto(d.nombreBancoA), std::string("NACION"));
        QCOMPARE(d.planta, 70000);
        QCOMPARE(d.tasaProduccion, 0.02);
        QCOMPARE(d.nroZona, 1);
        QCOMPARE(d.periodoActual, uint8_t{5});
        QCOMPARE(d.cantEquipos, uint8_t{3});
        QCOMPARE(d.cantEquiposZona1, uint8_t{3});
        QCOMPARE(d.columnaPrecios, 50);
        QCOMPARE(d.penalidadStock, uint8_t{44});
        QCOMPARE(d.tasaImpuestos, static_cast<double>(35.0L / 100));
        QCOMPARE(d.interesA, static_cast<double>(30.0L / 100 / 3));
        QCOMPARE(d.interesB, antes.interesB);
        QCOMPARE(d.indemXEmpleado, 450);
        QCOMPARE(d.penalidad, 800);
        QCOMPARE(juegoDePrueba().indemnizacionPorEmpleado(), 450);
        QCOMPARE(juegoDePrueba().valorPenalidad(), 800);
    }

    void unaCajaIncorrectaNoCambiaNada_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("impuestos vacío") << "Edit8" << "" << "El campo está vacío: escriba un número.";
        QTest::newRow("crédito con letra") << "Edit5" << "9O000" << "«9O000» no es un número entero: escríbalo en cifras, sin puntos ni comas.";
        QTest::newRow("límite con coma") << "edMaxGiroDescub" << "30,5" << "«30,5» no es un número: escríbalo en cifras, con punto decimal.";
        // The severance converts before the penalty fails, and still does not change.
        QTest::newRow("penalidad") << "edPenalidad" << "quinientos" << "«quinientos» no es un número entero: escríbalo en cifras, sin puntos ni comas.";
    }

    void unaCajaIncorrectaNoCambiaNada() {
        QFETCH(QString, nombre);
        QFETCH(QString, texto);
        QFETCH(QString, mensaje);
        Prueba prueba;
        const auto antes = prueba.archivo();
        QPointer<TFModificarDatos> p = prueba.abrir();
        caja(p, "edIndemXEmp")->setText(QStringLiteral("450"));
        caja(p, "edPenalidad")->setText(QStringLiteral("800"));
        caja(p, "Edit7")->setText(QStringLiteral("15"));
        caja(p, nombre.toLatin1().constData())->setText(texto);
        guardar(p);
        QCOMPARE(prueba.cajas.textosMostrados(), QStringList{mensaje});
        QCoreApplication::processEvents();
        QVERIFY(p);
        QVERIFY(p->isVisible());
        QCOMPARE(prueba.archivo(), antes);
        QCOMPARE(juegoDePrueba().indemnizacionPorEmpleado(), 300);
        QCOMPARE(juegoDePrueba().valorPenalidad(), 500);

        // Corrected, the same screen saves.
        caja(p, nombre.toLatin1().constData())->setText(QStringLiteral("40"));
        guardar(p);
        QTRY_VERIFY(!p);
        QCOMPARE(juegoDePrueba().indemnizacionPorEmpleado(), 450);
        QCOMPARE(prueba.leido().tasaMantenimiento, 0.15);
    }

    void unaEscrituraFallidaNoCambiaNada() {
        Prueba prueba;
        const auto antes = prueba.archivo();
        QPointer<TFModificarDatos> p = prueba.abrir();
        caja(p, "edPenalidad")->setText(QStringLiteral("800"));
        // The new record is written beside the old one first; block that place.
        std::filesystem::create_directory(carpetaDePrueba().ruta() / "DATOS INICIALES.DAT.tmp");
        guardar(p);
        QCOMPARE(prueba.cajas.cajas.size(), 1);
        QCoreApplication::processEvents();
        QVERIFY(p);
        QCOMPARE(prueba.archivo(), antes);
        QCOMPARE(juegoDePrueba().valorPenalidad(), 500);
        p->close();
    }

    void cancelarNoGuarda() {
        Prueba prueba;
        const auto antes = prueba.archivo();
        QPointer<TFModificarDatos> p = prueba.abrir();
        caja(p, "edPenalidad")->setText(QStringLiteral("800"));
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("btnCancelar")), Qt::LeftButton);
        QTRY_VERIFY(!p);
        QCOMPARE(prueba.archivo(), antes);
        QCOMPARE(juegoDePrueba().valorPenalidad(), 500);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    PruebaModificarDatos prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "modificar_datos_test.moc"
