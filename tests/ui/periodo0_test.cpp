// The period-0 screen: what it shows, the figures it refuses before
// anything is written, and the start-up run it makes with the example.

#include "comun/ArchivosDePrueba.h"
#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "engine/UDecicionesPeriodo0.h"
#include "store/DatosAcum_UD.h"
#include "store/DatosIniciales.h"
#include "store/Texto.h"
#include "ui/UDecicionesPeriodo0.h"
#include "ui/UPrincipal.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

#include <memory>

namespace {

// The sample game of the initial data screen with the given teams.
void guardarJuego(const QStringList& equipos, const char* bancoA = "NACION", const char* bancoB = "PROVINCIA") {
    TTextosDatosIniciales t = ejemploDatosIniciales();
    t.nombreBancoA = cp1252(bancoA);
    t.nombreBancoB = cp1252(bancoB);
    guardarJuegoNuevo(carpetaDePrueba(), armarDatosIniciales(t, static_cast<uint8_t>(equipos.size())));
    for (int i = 0; i < equipos.size(); ++i)
        TDatosjuego(carpetaDePrueba()).guardarNombre(static_cast<uint8_t>(i), cp1252(equipos[i].toStdString()));
}

const char* const campos[] = {"precio", "marketing", "invYDes", "capacitacion", "invPlanta", "pedPrestamoA", "pedPrestamoB"};

}  // namespace

class PruebaPeriodo0 : public QObject {
    Q_OBJECT

    std::unique_ptr<CarpetaDeJuego> carpeta;
    std::unique_ptr<DialogosFalsos> falsos;
    std::unique_ptr<TFPrincipal> principal;
    TFDecicionesPeriodo0* pantalla = nullptr;

    // The main window with period 0 open, and the screen its item opens.
    void abrir() {
        principal = std::make_unique<TFPrincipal>(carpetaDePrueba().ruta());
        principal->show();
        principal->mostrarJuego();
        principal->findChild<QAction*>(QStringLiteral("mnuPeriodo0"))->trigger();
        pantalla = ventanaVisible<TFDecicionesPeriodo0>();
        QVERIFY(pantalla);
    }
    QLineEdit* campo(const char* nombre) { return control<QLineEdit>(pantalla, nombre); }
    void guardar() { QTest::mouseClick(control<QPushButton>(pantalla, "btnGuardar"), Qt::LeftButton); }
    void ejemplo() { QTest::mouseDClick(control<QLabel>(pantalla, "Label1"), Qt::LeftButton); }
    bool habilitado(int periodo) {
        return principal->findChild<QAction*>(QStringLiteral("mnuPeriodo%1").arg(periodo))->isEnabled();
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

    void alAbrirse() {
        guardarJuego({"Alfa", "Beta"}, "GALICIA", "CRÉDITO");
        abrir();
        QCOMPARE(pantalla->windowTitle(), QStringLiteral("Decisiones del período 0"));
        // Its window names the screen, not the program in its place.
        QVERIFY(pantalla->windowHandle());
        QCOMPARE(pantalla->windowHandle()->title(), QStringLiteral("Decisiones del período 0"));
        QCOMPARE(pantalla->parentWidget(), principal.get());
        QCOMPARE(control<QLabel>(pantalla, "lblTitulo")->text(), QStringLiteral("DECISIONES PERÍODO 0"));
        QCOMPARE(control<QLabel>(pantalla, "bancoPedPrestamoA")->text(), QStringLiteral("GALICIA"));
        QCOMPARE(control<QLabel>(pantalla, "bancoDevPrestamoA")->text(), QStringLiteral("GALICIA"));
        QCOMPARE(control<QLabel>(pantalla, "bancoPedPrestamoB")->text(), QStringLiteral("CRÉDITO"));
        QCOMPARE(control<QLabel>(pantalla, "bancoDevPrestamoB")->text(), QStringLiteral("CRÉDITO"));
        for (const char* nombre : campos) QVERIFY2(campo(nombre)->text().isEmpty(), nombre);
        for (const char* nombre : {"devPrestamoA", "devPrestamoB"}) {
            QCOMPARE(campo(nombre)->text(), QStringLiteral("0"));
            QVERIFY(!campo(nombre)->isEnabled());
        }
        auto* nivel = control<QComboBox>(pantalla, "nivelProduccion");
        QVERIFY(!nivel->isEditable());
        QCOMPARE(nivel->currentIndex(), -1);
        QStringList items;
        for (int i = 0; i < nivel->count(); ++i) items << nivel->itemText(i);
        QCOMPARE(items, (QStringList{"0", "25", "50", "75", "100"}));
        QVERIFY(carpeta->contenido().size() == 2);  // nothing written by opening
    }

    void elEjemplo() {
        guardarJuego({"Alfa"});
        abrir();
        escribir(campo("devPrestamoA"), QStringLiteral("0"));
        ejemplo();
        const QStringList esperado{"90", "8000", "1000", "4000", "0", "80000", "70000"};
        for (int i = 0; i < esperado.size(); ++i) QCOMPARE(campo(campos[i])->text(), esperado[i]);
        QCOMPARE(control<QComboBox>(pantalla, "nivelProduccion")->currentText(), QStringLiteral("75"));
        QCOMPARE(campo("devPrestamoA")->text(), QStringLiteral("0"));
        // The same sample from the button in sight.
        escribir(campo("precio"), QStringLiteral("55"));
        QTest::mouseClick(control<QPushButton>(pantalla, "btnEjemplo"), Qt::LeftButton);
        QCOMPARE(campo("precio")->text(), QStringLiteral("90"));
    }

    // Typed without the mouse: Enter to the next field, Shift+Enter back.
    void enterPasaDeCampo() {
        guardarJuego({"Alfa"});
        abrir();
        QVERIFY(activar(pantalla));
        campo("precio")->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("90"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("8000"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(campo("precio")->text(), QStringLiteral("90"));
        QCOMPARE(campo("marketing")->text(), QStringLiteral("8000"));
        QCOMPARE(QApplication::focusWidget(), campo("invYDes"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), campo("marketing"));
    }

    void cifrasQueNoSeAceptan_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("precio vacío") << "precio" << "" << "El campo está vacío: escriba un número entero.";
        QTest::newRow("marketing con letras") << "marketing" << "ocho mil" << "«ocho mil» no es un número entero: escríbalo en cifras, sin puntos ni comas.";
        QTest::newRow("préstamo decimal") << "pedPrestamoA" << "800.5" << "«800.5» no es un número entero: escríbalo en cifras, sin puntos ni comas.";
        QTest::newRow("precio 49") << "precio" << "49"
                                   << "Debe ingresar un precio con un valor entre u$s 50 y u$s 100";
        QTest::newRow("precio 101") << "precio" << "101"
                                    << "Debe ingresar un precio con un valor entre u$s 50 y u$s 100";
        QTest::newRow("precio 300") << "precio" << "300"
                                    << "Debe ingresar un precio con un valor entre u$s 50 y u$s 100";
        QTest::newRow("marketing -1") << "marketing" << "-1"
                                      << "Debe ingresar un valor para marketing entre u$s 0 y u$s 10000";
        QTest::newRow("marketing 10001") << "marketing" << "10001"
                                         << "Debe ingresar un valor para marketing entre u$s 0 y u$s 10000";
        QTest::newRow("capacitación 3000")
            << "capacitacion" << "3000" << "Debe ingresar un valor para la capacitación que vaya de u$s 2000 en u$s 2000";
        QTest::newRow("capacitación 22000")
            << "capacitacion" << "22000" << "Debe ingresar un valor para la capacitación que vaya de u$s 2000 en u$s 2000";
        QTest::newRow("capacitación -2000")
            << "capacitacion" << "-2000" << "Debe ingresar un valor para la capacitación que vaya de u$s 2000 en u$s 2000";
        QTest::newRow("I&D -1000000")
            << "invYDes" << "-1000000"
            << "Debe ingresar un valor para investigación y desarrollo entre u$s 0 y u$s 9999999";
        QTest::newRow("planta 10000000") << "invPlanta" << "10000000"
                                         << "Debe ingresar un valor para inversión en planta entre u$s 0 y u$s 9999999";
        QTest::newRow("préstamo A 2147483647")
            << "pedPrestamoA" << "2147483647" << "Debe ingresar un valor para el préstamo pedido entre u$s 0 y u$s 9999999";
        QTest::newRow("préstamo B -1") << "pedPrestamoB" << "-1"
                                       << "Debe ingresar un valor para el préstamo pedido entre u$s 0 y u$s 9999999";
    }
    void cifrasQueNoSeAceptan() {
        QFETCH(QString, nombre);
        QFETCH(QString, texto);
        QFETCH(QString, mensaje);
        guardarJuego({"Alfa", "Beta"});
        const auto antes = carpeta->contenido();
        abrir();
        ejemplo();
        escribir(campo(qPrintable(nombre)), texto);
        guardar();

        QCOMPARE(falsos->textosMostrados(), QStringList{mensaje});
        QCOMPARE(falsos->cajas[0].icono, ServicioDialogos::Icono::ninguno);
        QVERIFY(pantalla->isVisible());
        QCOMPARE(campo(qPrintable(nombre))->text(), texto);
        if (nombre != "pedPrestamoB") QCOMPARE(campo("pedPrestamoB")->text(), QStringLiteral("70000"));
        QCOMPARE(carpeta->contenido(), antes);
        QVERIFY(habilitado(0));
        QVERIFY(!habilitado(1));
    }

    void todoVacioFallaEnElPrecio() {
        guardarJuego({"Alfa"});
        const auto antes = carpeta->contenido();
        abrir();
        guardar();
        QCOMPARE(falsos->textosMostrados(), QStringList{QStringLiteral("El campo está vacío: escriba un número entero.")});
        QCOMPARE(carpeta->contenido(), antes);
        QVERIFY(pantalla->isVisible());
    }

    void cancelarNoEjecutaNada() {
        guardarJuego({"Alfa"});
        const auto antes = carpeta->contenido();
        abrir();
        ejemplo();
        QTest::mouseClick(control<QPushButton>(pantalla, "btnCancelar"), Qt::LeftButton);
        QCOMPARE(ventanasVivas<TFDecicionesPeriodo0>(), 0);
        QCOMPARE(carpeta->contenido(), antes);
        QVERIFY(habilitado(0));
    }

    void elEjemploAbreElJuego_data() {
        QTest::addColumn<bool>("conEnter");
        QTest::newRow("clic") << false;
        QTest::newRow("Enter en el último campo y en Guardar") << true;
    }
    void elEjemploAbreElJuego() {
        QFETCH(bool, conEnter);
        guardarJuego({"Alfa", "Beta", "Gamma"});
        abrir();
        ejemplo();
        if (conEnter) {  // from the last field to the save button, then on it
            QVERIFY(activar(pantalla));
            QTest::keyClick(campo("pedPrestamoB"), Qt::Key_Return);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            guardar();
        }

        QVERIFY2(falsos->cajas.isEmpty(), qPrintable(falsos->textosMostrados().join(QLatin1Char('\n'))));
        QCOMPARE(ventanasVivas<TFDecicionesPeriodo0>(), 0);
        QVERIFY(!habilitado(0));
        QVERIFY(habilitado(1));
        QVERIFY(carpeta->existe(QStringLiteral("COMZONA1IGUALES.txt")));
        QVERIFY(carpeta->existe(QStringLiteral("INDZONA1IGUALES.txt")));

        TDatosAcum acumulados(carpetaDePrueba());
        QCOMPARE(acumulados.cantidadAcum(), 3);
        const char* nombres[] = {"Alfa", "Beta", "Gamma"};
        for (uint8_t i = 1; i <= 3; ++i) {
            TRegDatosAcum r{};
            acumulados.leerAcum(i, r);
            QCOMPARE(aTexto(r.nombreEmpresa), std::string(nombres[i - 1]));
            QCOMPARE(r.zona, 1);
            QCOMPARE(r.planta, 70000);          // no plant investment in the example
            QCOMPARE(r.invYDesAcumulada, 1000);
            QCOMPARE(r.capacitacionAcumulada, 4000);
            QCOMPARE(r.prestamoA, 80000);       // asked within the limits, granted in full
            QCOMPARE(r.prestamoB, 70000);
            QVERIFY(r.empleados > 0);
            QCOMPARE(r.quebrada, 0);
        }
        // Every company starts the same.
        TRegDatosAcum primera{}, tercera{};
        acumulados.leerAcum(1, primera);
        acumulados.leerAcum(3, tercera);
        QCOMPARE(primera.efectivo, tercera.efectivo);
        QCOMPARE(primera.utilidadAcumulada, tercera.utilidadAcumulada);
        // The stored parameters are not touched: period 1 comes next.
        QCOMPARE(parametrosGuardados().periodoActual, 1);
    }

    // The screen hands the run exactly the example's decisions: the same run
    // called directly in another folder writes the same files.
    void elEjemploLlegaTalCualAlPeriodo0() {
        const QStringList equipos{"Alfa", "Beta"};
        guardarJuego(equipos, "GALICIA", "CRÉDITO");
        abrir();
        ejemplo();
        guardar();
        QVERIFY(falsos->cajas.isEmpty());
        const auto porLaPantalla = carpeta->contenido();

        CarpetaDeJuego directa;
        guardarJuego(equipos, "GALICIA", "CRÉDITO");
        TDecisionesPeriodo0 d;
        d.precio = 90;
        d.marketing = 8000;
        d.invYDes = 1000;
        d.capacitacion = 4000;
        d.nivelProduccion = 75;
        d.invPlanta = 0;
        d.pedPrestamoA = 80000;
        d.pedPrestamoB = 70000;
        d.nombreBancoA = cp1252("GALICIA");
        d.nombreBancoB = cp1252("CRÉDITO");
        ejecutarPeriodo0(carpetaDePrueba(), d);
        QCOMPARE(directa.contenido().keys(), porLaPantalla.keys());
        QCOMPARE(directa.contenido(), porLaPantalla);
    }

    void sinNivelDeProduccionEsCero() {
        guardarJuego({"Alfa"});
        abrir();
        ejemplo();
        control<QComboBox>(pantalla, "nivelProduccion")->setCurrentIndex(-1);
        guardar();
        QVERIFY2(falsos->cajas.isEmpty(), qPrintable(falsos->textosMostrados().join(QLatin1Char('\n'))));
        TRegDatosAcum r{};
        TDatosAcum(carpetaDePrueba()).leerAcum(1, r);
        QCOMPARE(r.empleados, 0);
        QCOMPARE(r.stockUnidades, 0);
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaPeriodo0)
#include "periodo0_test.moc"
