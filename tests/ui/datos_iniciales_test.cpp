// The initial data screen: the boxes as they open, the bank names, the
// sample game, and the parameters record a save writes or, when a box does
// not convert, leaves exactly as it was.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "engine/UDecicionesPeriodo0.h"
#include "store/Texto.h"
#include "ui/UDatosIniciales.h"
#include "ui/UEquipos.h"
#include "ui/UPrincipal.h"
#include "ui/UTablas.h"

#include <QLabel>
#include <QPushButton>

#include <clocale>
#include <memory>

using Icono = ServicioDialogos::Icono;
using Botones = ServicioDialogos::Botones;

namespace {

const char* const cajasNumericas[] = {"Edit3",  "Edit4",  "Edit5",  "Edit6",  "Edit7",  "Edit8",
                                      "Edit9",  "Edit10", "Edit11", "Edit12", "Edit13", "Edit14",
                                      "Edit15", "Edit16", "Edit17", "edMaxGiroDescub", "edNroZona",
                                      "edIndemXEmp", "edPenalidad"};

const QString textoError =
    QStringLiteral("Ud. ha colocado un valor incorrecto o no completó todos los datos. Verifique y vuelva a intentarlo.");

}  // namespace

class PruebaDatosIniciales : public QObject {
    Q_OBJECT

    std::unique_ptr<CarpetaDeJuego> carpeta;
    std::unique_ptr<DialogosFalsos> falsos;
    std::unique_ptr<TFPrincipal> principal;
    TFDatosIniciales* datos = nullptr;

    // "Nuevo", the given number of teams saved, and the initial data screen.
    void abrir(int equipos) {
        // Sí, also over a game already in the folder (where Enter would keep it).
        falsos->respuestas.push_front(ServicioDialogos::Respuesta::si);
        principal->findChild<QAction*>(QStringLiteral("mnuNuevo"))->trigger();
        TFEquipos* pantallaEquipos = ventanaVisible<TFEquipos>();
        QVERIFY(pantallaEquipos);
        for (int i = 1; i <= equipos; ++i) {
            escribir(control<QLineEdit>(pantallaEquipos, "edNombreEquipo"), QStringLiteral("Equipo %1").arg(i));
            QTest::mouseClick(control<QPushButton>(pantallaEquipos, "btnAgregar"), Qt::LeftButton);
        }
        QTest::mouseClick(control<QPushButton>(pantallaEquipos, "btnGuardar"), Qt::LeftButton);
        datos = ventanaVisible<TFDatosIniciales>();
        QVERIFY(datos);
        falsos->cajas.clear();
    }

    QLineEdit* caja(const char* nombre) { return control<QLineEdit>(datos, nombre); }
    void muestra() { QTest::mouseDClick(control<QLabel>(datos, "Label15"), Qt::LeftButton); }
    void guardar() { QTest::mouseClick(control<QPushButton>(datos, "btnGuardar"), Qt::LeftButton); }
    bool habilitado(const char* nombre) { return principal->findChild<QAction*>(QString::fromLatin1(nombre))->isEnabled(); }

private slots:
    void init() {
        carpeta = std::make_unique<CarpetaDeJuego>();
        falsos = std::make_unique<DialogosFalsos>();
        principal = std::make_unique<TFPrincipal>(carpetaDePrueba().ruta());
        principal->show();
    }
    void cleanup() {
        principal.reset();
        descartarCerradas();
        falsos.reset();
        carpeta.reset();
    }

    void abrirNoEscribeNada() {
        TRegDatosIniciales anterior{};
        anterior.periodoActual = 6;
        anterior.cantEquipos = 4;
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(anterior);
        carpeta->escribir(QStringLiteral("AUXINI.DAT"), bytesDe(anterior));
        abrir(2);
        const auto antes = carpeta->contenido();

        QCOMPARE(datos->windowTitle(), QStringLiteral("Cargar Datos Iniciales"));
        QCOMPARE(caja("Edit1")->text(), QStringLiteral("NACION"));
        QCOMPARE(caja("Edit2")->text(), QStringLiteral("PROVINCIA"));
        QCOMPARE(caja("edNroZona")->text(), QStringLiteral("1"));
        QCOMPARE(caja("edIndemXEmp")->text(), QStringLiteral("300"));
        QCOMPARE(caja("edPenalidad")->text(), QStringLiteral("500"));
        for (const char* nombre : cajasNumericas)
            if (QByteArray(nombre) != "edNroZona" && QByteArray(nombre) != "edIndemXEmp" &&
                QByteArray(nombre) != "edPenalidad")
                QVERIFY2(caja(nombre)->text().isEmpty(), nombre);
        QCOMPARE(control<QLabel>(datos, "lblBancoB2")->text(), QStringLiteral("PROVINCIA"));
        QCOMPARE(control<QLabel>(datos, "lblTitulo")->text(), QStringLiteral("DATOS INICIALES"));
        QCOMPARE(control<QPushButton>(datos, "btnAdminTablas")->text(), QStringLiteral("&ADMINISTRAR TABLAS"));

        // The previous game is still there, checkpoint included, until a save.
        QTest::mouseClick(control<QPushButton>(datos, "btnCancelar"), Qt::LeftButton);
        QCOMPARE(carpeta->contenido(), antes);
        QCOMPARE(parametrosGuardados().periodoActual, 6);
    }

    void nombresDeBancoEnMayusculas() {
        abrir(1);
        QVERIFY(activar(datos));
        caja("Edit1")->setFocus();
        escribir(caja("Edit1"), QStringLiteral("galicia"));
        QCOMPARE(caja("Edit1")->text(), QStringLiteral("galicia"));  // still as typed
        QTest::keyClick(caja("Edit1"), Qt::Key_Tab);                    // leaving the box
        QCOMPARE(caja("Edit1")->text(), QStringLiteral("GALICIA"));
        QCOMPARE(control<QLabel>(datos, "lblBancoA1")->text(), QStringLiteral("GALICIA"));
        QCOMPARE(control<QLabel>(datos, "lblBancoA2")->text(), QStringLiteral("GALICIA"));
        QCOMPARE(control<QLabel>(datos, "lblBancoB1")->text(), QStringLiteral("PROVINCIA"));

        // From now on typing comes out in upper case.
        caja("Edit1")->setFocus();
        caja("Edit1")->end(false);
        QTest::keyClicks(caja("Edit1"), QStringLiteral("sa"));
        QCOMPARE(caja("Edit1")->text(), QStringLiteral("GALICIASA"));
        QCOMPARE(caja("Edit1")->maxLength(), 10);

        caja("Edit2")->setFocus();
        escribir(caja("Edit2"), QStringLiteral("río"));
        QTest::keyClick(caja("Edit2"), Qt::Key_Tab);
        QCOMPARE(control<QLabel>(datos, "lblBancoB1")->text(), QStringLiteral("RÍO"));
        QCOMPARE(control<QLabel>(datos, "lblBancoB2")->text(), QStringLiteral("RÍO"));
    }

    // Typed and never left, a bank's name is beside its rows after the sample.
    void losBancosSeVenJuntoASusFilas() {
        abrir(1);
        escribir(caja("Edit2"), QStringLiteral("río"));
        muestra();
        QCOMPARE(control<QLabel>(datos, "lblBancoB2")->text(), QStringLiteral("RÍO"));
    }

    void laMuestraSeGuardaConLasConversiones() {
        abrir(5);
        carpeta->escribir(QStringLiteral("AUXACUM.DAT"), QByteArray(104, '\x01'));
        carpeta->escribir(QStringLiteral("AUXDECISIONES.DAT"), QByteArray(40, '\x01'));
        carpeta->escribir(QStringLiteral("AUXINI.DAT"), QByteArray(224, '\x01'));
        muestra();
        QCOMPARE(caja("Edit3")->text(), QStringLiteral("70000"));
        QCOMPARE(caja("Edit12")->text(), QStringLiteral("100"));
        QCOMPARE(caja("Edit1")->text(), QStringLiteral("NACION"));
        escribir(caja("edIndemXEmp"), QStringLiteral("450"));
        escribir(caja("edPenalidad"), QStringLiteral("800"));
        escribir(caja("Edit2"), QStringLiteral("Córdoba"));
        guardar();

        QVERIFY(falsos->cajas.isEmpty());
        const TRegDatosIniciales r = parametrosGuardados();
        QCOMPARE(carpeta->leer(QStringLiteral("DATOS INICIALES.DAT")).size(), 224);
        QCOMPARE(r.cantEquipos, 5);
        QCOMPARE(r.cantEquiposZona1, 5);
        QCOMPARE(r.cantEquiposZona2, 0);
        QCOMPARE(r.cantEquiposZona3, 0);
        QCOMPARE(r.zonaActiva, 1);
        QCOMPARE(r.periodoActual, 1);
        QCOMPARE(aTexto(r.nombreBancoA), std::string("NACION"));
        QCOMPARE(aTexto(r.nombreBancoB), cp1252("CÓRDOBA"));
        QCOMPARE(r.planta, 70000);
        QCOMPARE(r.capital, 80000);
        QCOMPARE(r.maxCreditoA, 90000);
        QCOMPARE(r.maxCreditoB, 80000);
        QCOMPARE(r.tasaMantenimiento, 0.1);
        QCOMPARE(r.tasaImpuestos, 0.3);
        QCOMPARE(r.interesA, 0.07);
        QCOMPARE(r.interesB, 0.08);  // 24 % a year is 8 % a period
        QCOMPARE(r.tasaProduccion, 0.02);
        QCOMPARE(r.tasaGiroDescubierto, 1.0);
        QCOMPARE(r.penalidadStock, 10);
        QCOMPARE(r.multipOrdenesMas, 30);
        QCOMPARE(r.multipOrdenesMenos, 20);
        QCOMPARE(r.nroInvYDes, 0);
        QCOMPARE(r.modifOrdenes, 0.3);
        QCOMPARE(r.limiteGiroDescubierto, 30.0);
        QCOMPARE(r.nroZona, 1);
        QCOMPARE(r.indemXEmpleado, 450);
        QCOMPARE(r.penalidad, 800);
        QCOMPARE(r.columnaPrecios, 0);
        QCOMPARE(r.intervaloMarketing, 0);
        QCOMPARE(principal->juego().indemnizacionPorEmpleado(), 450);
        QCOMPARE(principal->juego().valorPenalidad(), 800);

        // The previous game's checkpoint cannot be stepped back into.
        QVERIFY(!carpeta->existe(QStringLiteral("AUXACUM.DAT")));
        QVERIFY(!carpeta->existe(QStringLiteral("AUXDECISIONES.DAT")));
        QVERIFY(!carpeta->existe(QStringLiteral("AUXINI.DAT")));
        // Both screens are gone; period 0 and "Modificar" are open.
        QCOMPARE(ventanasVivas<TFDatosIniciales>(), 0);
        QCOMPARE(ventanasVivas<TFEquipos>(), 0);
        QVERIFY(habilitado("mnuPeriodo0"));
        QVERIFY(habilitado("mnuModificar"));
        QVERIFY(!habilitado("mnuPeriodo1"));
    }

    void soloElByteBajo() {
        abrir(1);
        muestra();
        escribir(caja("Edit13"), QStringLiteral("300"));
        escribir(caja("Edit14"), QStringLiteral("257"));
        guardar();
        QCOMPARE(parametrosGuardados().penalidadStock, 44);
        QCOMPARE(parametrosGuardados().multipOrdenesMas, 1);
    }

    void unaCajaQueNoConvierteNoEscribe_data() {
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("texto");
        for (const char* nombre : cajasNumericas)
            QTest::newRow(qPrintable(QStringLiteral("%1 vacía").arg(QString::fromLatin1(nombre))))
                << QString::fromLatin1(nombre) << QString();
        QTest::newRow("Edit7 con letras") << "Edit7" << "diez";
        QTest::newRow("Edit3 con decimales") << "Edit3" << "700.5";
        QTest::newRow("Edit4 fuera de 32 bits") << "Edit4" << "3000000000";
    }
    void unaCajaQueNoConvierteNoEscribe() {
        QFETCH(QString, caja);
        QFETCH(QString, texto);
        TRegDatosIniciales anterior{};
        anterior.periodoActual = 3;
        anterior.planta = 12345;
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(anterior);
        abrir(2);
        const auto antes = carpeta->contenido();
        muestra();
        escribir(control<QLineEdit>(datos, qPrintable(caja)), texto);
        guardar();

        QCOMPARE(falsos->cajas.size(), 1);
        QCOMPARE(falsos->cajas[0].titulo, QStringLiteral("Error"));
        QCOMPARE(falsos->cajas[0].texto, textoError);
        QCOMPARE(falsos->cajas[0].icono, Icono::advertencia);
        QCOMPARE(falsos->cajas[0].botones, Botones::ok);
        QCOMPARE(carpeta->contenido(), antes);
        QVERIFY(datos->isVisible());
        QCOMPARE(control<QLineEdit>(datos, qPrintable(caja))->text(), texto);
        QVERIFY(!habilitado("mnuPeriodo0"));
        QVERIFY(!habilitado("mnuModificar"));  // no game was stored to modify
    }

    void unaCajaFueraDeRangoLaNombra_data() {
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("interés A") << "Edit9" << "1e308"
                                   << "INTERESES(%) NACION: «1e308» está fuera del rango de 0 a 1000.";
        QTest::newRow("planta") << "Edit3" << "10000000" << "PLANTA: «10000000» está fuera del rango de 0 a 9999999.";
        QTest::newRow("zona") << "edNroZona" << "0" << "NRO. ZONA: «0» está fuera del rango de 1 a 99.";
    }
    void unaCajaFueraDeRangoLaNombra() {
        QFETCH(QString, caja);
        QFETCH(QString, texto);
        QFETCH(QString, mensaje);
        TRegDatosIniciales anterior{};
        anterior.periodoActual = 3;
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(anterior);
        abrir(2);
        const auto antes = carpeta->contenido();
        muestra();
        escribir(control<QLineEdit>(datos, qPrintable(caja)), texto);
        guardar();

        QCOMPARE(falsos->textosMostrados(), QStringList{mensaje});
        QCOMPARE(falsos->cajas[0].titulo, QStringLiteral("Error"));
        QCOMPARE(falsos->cajas[0].icono, Icono::advertencia);
        QCOMPARE(carpeta->contenido(), antes);
        QVERIFY(datos->isVisible());
        QVERIFY(!habilitado("mnuPeriodo0"));
    }

    void unaCajaQueFallaNoCambiaLosValoresDelJuego() {
        abrir(1);
        muestra();
        escribir(caja("edIndemXEmp"), QStringLiteral("450"));
        escribir(caja("edPenalidad"), QStringLiteral("x"));
        guardar();
        QCOMPARE(falsos->cajas.size(), 1);
        QCOMPARE(principal->juego().indemnizacionPorEmpleado(), 300);
        QCOMPARE(principal->juego().valorPenalidad(), 500);
        QVERIFY(!carpeta->existe(QStringLiteral("DATOS INICIALES.DAT")));
    }

    void decimalesConLaComaRegional() {
        const std::string anterior = std::setlocale(LC_NUMERIC, nullptr);
        if (!std::setlocale(LC_NUMERIC, "es_AR.UTF-8")) QSKIP("es_AR.UTF-8 no está instalado");
        abrir(1);
        muestra();
        escribir(caja("Edit17"), QStringLiteral("12,5"));
        escribir(caja("edMaxGiroDescub"), QStringLiteral("1500,25"));
        guardar();
        const bool sinErrores = falsos->cajas.isEmpty();
        std::setlocale(LC_NUMERIC, anterior.c_str());
        QVERIFY(sinErrores);
        QCOMPARE(parametrosGuardados().modifOrdenes, 0.125);
        QCOMPARE(parametrosGuardados().limiteGiroDescubierto, 1500.25);
    }

    void cancelarVuelveALosEquipos() {
        abrir(3);
        TFEquipos* equipos = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* e = qobject_cast<TFEquipos*>(w)) equipos = e;
        QVERIFY(equipos && !equipos->isVisible());
        QTest::mouseClick(control<QPushButton>(datos, "btnCancelar"), Qt::LeftButton);
        QCOMPARE(ventanasVivas<TFDatosIniciales>(), 0);
        QCOMPARE(ventanaVisible<TFEquipos>(), equipos);
        QCOMPARE(equipos->cantidadEquipos(), 3);
        QVERIFY(!carpeta->existe(QStringLiteral("DATOS INICIALES.DAT")));
        QVERIFY(!habilitado("mnuPeriodo0"));

        // Saving the list again comes back to a fresh initial data screen.
        QTest::mouseClick(control<QPushButton>(equipos, "btnGuardar"), Qt::LeftButton);
        QVERIFY(ventanaVisible<TFDatosIniciales>());
    }

    void cerrarLaVentanaDescartaTodo() {
        abrir(2);
        datos->close();
        QCOMPARE(ventanasVivas<TFDatosIniciales>(), 0);
        QCOMPARE(ventanasVivas<TFEquipos>(), 0);
        QVERIFY(!carpeta->existe(QStringLiteral("DATOS INICIALES.DAT")));
        QVERIFY(!habilitado("mnuPeriodo0"));
    }

    void administrarTablasAbreEncima() {
        abrir(1);
        QTest::mouseClick(control<QPushButton>(datos, "btnAdminTablas"), Qt::LeftButton);
        TFTablas* tablas = ventanaVisible<TFTablas>();
        QVERIFY(tablas);
        QCOMPARE(tablas->parentWidget(), datos);
        QVERIFY(datos->isVisible());

        // Nothing is written before the new game, which stores both figures at 0.
        escribir(control<QLineEdit>(tablas, "Edit2"), QStringLiteral("60"));
        QTest::mouseClick(control<QPushButton>(tablas, "btnGuardar"), Qt::LeftButton);
        QVERIFY(!carpeta->existe(QStringLiteral("DATOS INICIALES.DAT")));
        muestra();
        guardar();
        QCOMPARE(parametrosGuardados().columnaPrecios, 0);
        QCOMPARE(parametrosGuardados().intervaloMarketing, 0);
        QCOMPARE(parametrosGuardados().planta, 70000);
    }

    // A set-up abandoned after the teams' and the tables screen's saves leaves
    // the folder as it was, over no game and over a game under way.
    void nuevoAbandonadoTrasLasTablasNoEscribe_data() {
        QTest::addColumn<bool>("conJuego");
        QTest::addColumn<bool>("cancelar");
        QTest::newRow("carpeta vacía, cancelar") << false << true;
        QTest::newRow("carpeta vacía, cerrar") << false << false;
        QTest::newRow("juego en curso, cancelar") << true << true;
        QTest::newRow("juego en curso, cerrar") << true << false;
    }
    void nuevoAbandonadoTrasLasTablasNoEscribe() {
        QFETCH(bool, conJuego);
        QFETCH(bool, cancelar);
        if (conJuego) {
            principal->juego().crearJuego({"Uno", "Dos"}, ejemploDatosIniciales());
            principal->juego().correrPeriodo0(ejemploPeriodo0());
        }
        const auto antes = carpeta->contenido();
        abrir(2);
        QTest::mouseClick(control<QPushButton>(datos, "btnAdminTablas"), Qt::LeftButton);
        TFTablas* tablas = ventanaVisible<TFTablas>();
        QVERIFY(tablas);
        escribir(control<QLineEdit>(tablas, "Edit2"), QStringLiteral("70"));
        QTest::mouseClick(control<QPushButton>(tablas, "btnGuardar"), Qt::LeftButton);
        QVERIFY(!tablas->isVisible());
        if (cancelar) QTest::mouseClick(control<QPushButton>(datos, "btnCancelar"), Qt::LeftButton);
        else datos->close();
        QCOMPARE(carpeta->contenido(), antes);
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaDatosIniciales)
#include "datos_iniciales_test.moc"
