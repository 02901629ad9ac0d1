// The teams screen: what the list shows as the game master adds, removes
// and clears teams, and the name records its save writes.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "store/Texto.h"
#include "ui/UDatosIniciales.h"
#include "ui/UEquipos.h"
#include "ui/UPrincipal.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>
#include <optional>

using Icono = ServicioDialogos::Icono;
using Botones = ServicioDialogos::Botones;
using Respuesta = ServicioDialogos::Respuesta;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// "Nro.|Nombre" of every row, top to bottom.
QStringList filas(const TFEquipos* equipos) { return filasDeLista(control<QTreeWidget>(equipos, "lsvEquipos"), 0, 1); }

void agregar(const TFEquipos* equipos, const QString& nombre) {
    escribir(control<QLineEdit>(equipos, "edNombreEquipo"), nombre);
    pulsar(equipos, "btnAgregar");
}

// The names the screen hands on to the new game.
QStringList nombresGuardados(const TFEquipos* equipos) {
    QStringList nombres;
    for (const std::string& nombre : equipos->nombresEquipos()) nombres << QString::fromLatin1(nombre.c_str());
    return nombres;
}

}  // namespace

class PruebaEquipos : public QObject {
    Q_OBJECT

    std::unique_ptr<CarpetaDeJuego> carpeta;
    std::unique_ptr<DialogosFalsos> falsos;
    std::unique_ptr<TFPrincipal> principal;
    TFEquipos* equipos = nullptr;

private slots:
    // Every case starts from "Nuevo" answered with Sí, in an empty folder.
    void init() {
        carpeta = std::make_unique<CarpetaDeJuego>();
        falsos = std::make_unique<DialogosFalsos>();
        principal = std::make_unique<TFPrincipal>(carpetaDePrueba().ruta());
        principal->show();
        principal->findChild<QAction*>(QStringLiteral("mnuNuevo"))->trigger();
        equipos = ventanaVisible<TFEquipos>();
        QVERIFY(equipos);
        falsos->cajas.clear();
    }
    void cleanup() {
        principal.reset();
        descartarCerradas();
        falsos.reset();
        carpeta.reset();
    }

    void laPantallaAlAbrirse() {
        QCOMPARE(equipos->windowTitle(), QStringLiteral("Nuevo Juego - Carga de equipos"));
        QCOMPARE(control<QGroupBox>(equipos, "GroupBox1")->title(), QStringLiteral("Equipos"));
        auto* lista = control<QTreeWidget>(equipos, "lsvEquipos");
        QCOMPARE(lista->columnCount(), 3);  // number, name, who plays it
        QVERIFY(lista->isHeaderHidden());
        QCOMPARE(lista->columnWidth(0), 30);
        QCOMPARE(lista->topLevelItemCount(), 0);
        for (auto [boton, texto] : {std::pair{"btnAgregar", "Agregar"}, std::pair{"btnQuitar", "Quitar"},
                                    std::pair{"btnLimpiar", "Limpiar"}, std::pair{"btnAgregarVarios", "Agregar Varios"}})
            QCOMPARE(control<QPushButton>(equipos, boton)->text().remove(QLatin1Char('&')), QString::fromLatin1(texto));
        for (const char* boton : {"btnGuardar", "btnCancelar"}) {
            QVERIFY(control<QPushButton>(equipos, boton)->text().isEmpty());
            QVERIFY(!control<QPushButton>(equipos, boton)->icon().isNull());
            QVERIFY(!control<QPushButton>(equipos, boton)->toolTip().isEmpty());
        }
    }

    void agregarMuestraElNombreTalCualYGuardaSinBlancos() {
        agregar(equipos, QStringLiteral("  Alfa  "));
        agregar(equipos, QStringLiteral("   "));  // blanks only: no row
        agregar(equipos, QStringLiteral("Beta"));
        pulsar(equipos, "btnAgregar");            // the box is empty again: nothing added
        QCOMPARE(filas(equipos), (QStringList{"1.|  Alfa  ", "2.|Beta"}));
        QCOMPARE(control<QLineEdit>(equipos, "edNombreEquipo")->text(), QString());
        agregar(equipos, QStringLiteral("Gamma"));

        pulsar(equipos, "btnGuardar");
        // Kept for the new game, which stores them: nothing is written yet.
        QVERIFY(carpeta->contenido().isEmpty());
        QCOMPARE(nombresGuardados(equipos), (QStringList{"Alfa", "Beta", "Gamma"}));
        // Hidden, alive, with the initial data screen on top of the main window.
        QVERIFY(!equipos->isVisible());
        QCOMPARE(ventanasVivas<TFEquipos>(), 1);
        QVERIFY(ventanaVisible<TFDatosIniciales>());
        QVERIFY(falsos->cajas.isEmpty());
    }

    // A 50-letter name does not fit its column: whole under the mouse, also once corrected.
    void unNombreLargoSeLeeEntero() {
        const QString largo = QStringLiteral("Cooperativa Agrícola Ñandú de Río Cuarto y Alrededo");
        agregar(equipos, largo.left(50));
        auto* fila = control<QTreeWidget>(equipos, "lsvEquipos")->topLevelItem(0);
        fila->setText(1, largo.mid(1, 50));
        QCOMPARE(fila->toolTip(1), largo.mid(1, 50));
    }

    void agregarVarios_data() {
        QTest::addColumn<QStringList>("previas");
        QTest::addColumn<std::optional<QString>>("respuesta");
        QTest::addColumn<QStringList>("esperadas");
        QTest::newRow("3") << QStringList() << std::optional<QString>(QStringLiteral("3"))
                           << QStringList{"1.|Equipo N° 1", "2.|Equipo N° 2", "3.|Equipo N° 3"};
        QTest::newRow("0") << QStringList() << std::optional<QString>(QStringLiteral("0")) << QStringList();
        QTest::newRow("-2") << QStringList() << std::optional<QString>(QStringLiteral("-2")) << QStringList();
        QTest::newRow("no es un número") << QStringList() << std::optional<QString>(QStringLiteral("tres"))
                                         << QStringList();
        QTest::newRow("cancelada: el 1 propuesto")
            << QStringList() << std::optional<QString>() << QStringList{"1.|Equipo N° 1"};
        QTest::newRow("tras otras filas")
            << QStringList{"Uno", "Dos"} << std::optional<QString>(QStringLiteral("2"))
            << QStringList{"1.|Uno", "2.|Dos", "3.|Equipo N° 1", "4.|Equipo N° 2"};
    }
    void agregarVarios() {
        QFETCH(QStringList, previas);
        QFETCH(std::optional<QString>, respuesta);
        QFETCH(QStringList, esperadas);
        for (const QString& nombre : previas) agregar(equipos, nombre);
        escribir(control<QLineEdit>(equipos, "edNombreEquipo"), QStringLiteral("Equipo"));
        falsos->textos = {respuesta};
        pulsar(equipos, "btnAgregarVarios");
        QCOMPARE(falsos->entradas, QStringList{QStringLiteral("Ingrese la cantidad de Equipos")});
        QCOMPARE(filas(equipos), esperadas);
        QVERIFY(falsos->cajas.isEmpty());
    }

    void agregarVariosSinNombre() {
        pulsar(equipos, "btnAgregarVarios");
        QCOMPARE(falsos->textosMostrados(), QStringList{QStringLiteral("Debe ingresar un Nombre para los Equipos.")});
        QCOMPARE(falsos->cajas[0].icono, Icono::ninguno);
        QVERIFY(falsos->entradas.isEmpty());
        QVERIFY(filas(equipos).isEmpty());
    }

    void noMasDe255Equipos() {
        agregar(equipos, QStringLiteral("Primero"));
        escribir(control<QLineEdit>(equipos, "edNombreEquipo"), QStringLiteral("E"));
        falsos->textos = {QStringLiteral("300")};
        pulsar(equipos, "btnAgregarVarios");
        QCOMPARE(filas(equipos).size(), 255);
        QCOMPARE(filas(equipos).last(), QStringLiteral("255.|E N° 254"));
        QCOMPARE(falsos->cajas.size(), 1);
        QVERIFY(falsos->cajas[0].texto.contains(QStringLiteral("255")));

        falsos->cajas.clear();
        pulsar(equipos, "btnAgregar");
        QCOMPARE(filas(equipos).size(), 255);
        QCOMPARE(falsos->cajas.size(), 1);
    }

    void quitarRenumera() {
        for (const char* nombre : {"A", "B", "C"}) agregar(equipos, QString::fromLatin1(nombre));
        auto* lista = control<QTreeWidget>(equipos, "lsvEquipos");
        const QRect segunda = lista->visualItemRect(lista->topLevelItem(1));
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, segunda.center());
        QCOMPARE(lista->selectedItems().value(0), lista->topLevelItem(1));
        pulsar(equipos, "btnQuitar");
        QCOMPARE(filas(equipos), (QStringList{"1.|A", "2.|C"}));
        // The last row is left selected, so "Quitar" again removes it.
        pulsar(equipos, "btnQuitar");
        QCOMPARE(filas(equipos), QStringList{"1.|A"});
    }

    void limpiar_data() {
        QTest::addColumn<Respuesta>("respuesta");
        QTest::addColumn<int>("quedan");
        QTest::newRow("Sí") << Respuesta::si << 0;
        QTest::newRow("No") << Respuesta::no << 2;
    }
    void limpiar() {
        QFETCH(Respuesta, respuesta);
        QFETCH(int, quedan);
        agregar(equipos, QStringLiteral("A"));
        agregar(equipos, QStringLiteral("B"));
        falsos->respuestas = {respuesta};
        pulsar(equipos, "btnLimpiar");
        QCOMPARE(falsos->cajas.size(), 1);
        QCOMPARE(falsos->cajas[0].titulo, QStringLiteral("Atención"));
        QCOMPARE(falsos->cajas[0].texto, QStringLiteral("Se borrará toda la lista. ¿Desea continuar?"));
        QCOMPARE(falsos->cajas[0].icono, Icono::advertencia);
        QCOMPARE(falsos->cajas[0].botones, Botones::siNo);
        QCOMPARE(filas(equipos).size(), quedan);
    }

    void guardarSinEquipos() {
        pulsar(equipos, "btnGuardar");
        QCOMPARE(falsos->textosMostrados(),
                 QStringList{QStringLiteral("Es necesario ingresar al menos un equipo para continuar.")});
        QCOMPARE(falsos->cajas[0].botones, Botones::ok);
        QVERIFY(equipos->isVisible());
        QVERIFY(!ventanaVisible<TFDatosIniciales>());
        QVERIFY(carpeta->contenido().isEmpty());
    }

    void guardarFallaYLaPantallaSigue() {
        // A folder where the names file should be: the new game's save fails,
        // says which file, and leaves the set-up open to try again.
        QVERIFY(QDir().mkpath(carpeta->ruta(QStringLiteral("NOMBRES.DAT"))));
        agregar(equipos, QStringLiteral("Alfa"));
        pulsar(equipos, "btnGuardar");
        TFDatosIniciales* datos = ventanaVisible<TFDatosIniciales>();
        QVERIFY(datos);
        QTest::mouseDClick(control<QLabel>(datos, "Label15"), Qt::LeftButton);
        pulsar(datos, "btnGuardar");
        QCOMPARE(falsos->cajas.size(), 1);
        QVERIFY(falsos->cajas[0].texto.contains(QStringLiteral("NOMBRES.DAT")));
        QVERIFY(datos->isVisible());
        QVERIFY(!carpeta->existe(QStringLiteral("DATOS INICIALES.DAT")));
    }

    void nombresQueChocan_data() {
        QTest::addColumn<QStringList>("nombres");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("A/B, A:B y A?B")
            << QStringList{"A/B", "A:B", "A?B"}
            << "El equipo 1 «A/B» y el equipo 2 «A:B» darían el mismo nombre a sus informes («A_B»), y uno "
               "borraría los del otro. Cambie uno de los dos.\nEl equipo 1 «A/B» y el equipo 3 «A?B» darían el "
               "mismo nombre a sus informes («A_B»), y uno borraría los del otro. Cambie uno de los dos.";
        QTest::newRow("con tabulador")
            << QStringList{"Uno\tDos"} << "El equipo 1 «Uno\tDos» tiene caracteres de control; escríbalo de nuevo.";
    }
    void nombresQueChocan() {
        QFETCH(QStringList, nombres);
        QFETCH(QString, mensaje);
        // Set directly: typing a tab would move the focus instead.
        for (const QString& nombre : nombres) {
            control<QLineEdit>(equipos, "edNombreEquipo")->setText(nombre);
            pulsar(equipos, "btnAgregar");
        }
        pulsar(equipos, "btnGuardar");
        QCOMPARE(falsos->textosMostrados(), QStringList{mensaje});
        QCOMPARE(falsos->cajas[0].icono, ServicioDialogos::Icono::ninguno);
        QVERIFY(equipos->isVisible());
        QVERIFY(!ventanaVisible<TFDatosIniciales>());
        QVERIFY(carpeta->contenido().isEmpty());
    }

    void cancelarNoGuardaNada() {
        agregar(equipos, QStringLiteral("Alfa"));
        pulsar(equipos, "btnCancelar");
        QCOMPARE(ventanasVivas<TFEquipos>(), 0);
        QVERIFY(carpeta->contenido().isEmpty());
    }

    // Refused as typed, naming why; the box keeps it for correcting.
    void nombresRechazadosAlAgregar_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("51 letras") << QString(51, QLatin1Char('x'))
                                   << QStringLiteral("El nombre «%1» tiene 51 letras; un nombre tiene a lo sumo 50.")
                                          .arg(QString(51, QLatin1Char('x')));
        QTest::newRow("solo cambia la caja")
            << QStringLiteral("  ñANDÚ ")
            << QStringLiteral("«ñANDÚ» es el nombre del equipo 1, «Ñandú»: cada equipo necesita un nombre propio.");
    }
    void nombresRechazadosAlAgregar() {
        QFETCH(QString, nombre);
        QFETCH(QString, mensaje);
        agregar(equipos, QStringLiteral("Ñandú"));
        agregar(equipos, nombre);
        QCOMPARE(falsos->textosMostrados(), QStringList{mensaje});
        QCOMPARE(filas(equipos), QStringList{"1.|Ñandú"});
        QCOMPARE(control<QLineEdit>(equipos, "edNombreEquipo")->text(), nombre);
    }

    void editarYMoverEquipos() {
        for (const char* nombre : {"Alfa", "Beta", "Gama"}) agregar(equipos, QString::fromLatin1(nombre));
        auto* lista = control<QTreeWidget>(equipos, "lsvEquipos");
        lista->setCurrentItem(lista->topLevelItem(2));
        pulsar(equipos, "btnSubir");
        pulsar(equipos, "btnSubir");
        pulsar(equipos, "btnSubir");  // already first: stays
        lista->topLevelItem(1)->setText(1, QStringLiteral("Beta"));  // Alfa renamed as another team: undone
        lista->topLevelItem(2)->setText(1, QStringLiteral("Beta SA"));
        QCOMPARE(filas(equipos), (QStringList{"1.|Gama", "2.|Alfa", "3.|Beta SA"}));
        QCOMPARE(falsos->textosMostrados().size(), 1);
        pulsar(equipos, "btnGuardar");
        QCOMPARE(nombresGuardados(equipos), (QStringList{"Gama", "Alfa", "Beta SA"}));
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaEquipos)
#include "equipos_test.moc"
