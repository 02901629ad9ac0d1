// The decision entry screen: walking the teams, the field checks, writing
// the decisions file after the last team and loading stored decisions.

#include "comun/ArchivosDePrueba.h"
#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/NombresArchivos.h"
#include "engine/ValidarDecision.h"
#include "ui/UDeciciones.h"
#include "ui/UDecicionesPeriodo0.h"
#include "documentos/TextoQt.h"
#include "ui/USimular.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>

#include <clocale>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

const QString kPrecio = QStringLiteral("Debe ingresar un precio con un valor entre u$s 50 y u$s 100");
const QString kMarketing = QStringLiteral("Debe ingresar un valor para marketing entre u$s 0 y u$s 10000");
const QString kCapacitacion = QStringLiteral("Debe ingresar un valor para la capacitación que vaya de u$s 2000 en u$s 2000");
const QString kInvYDes = QStringLiteral("Debe ingresar un valor para investigación y desarrollo entre u$s 0 y u$s 9999999");
const QString kPlanta = QStringLiteral("Debe ingresar un valor para inversión en planta entre u$s 0 y u$s 9999999");
const QString kPedido = QStringLiteral("Debe ingresar un valor para el préstamo pedido entre u$s 0 y u$s 9999999");
const QString kDevolucion = QStringLiteral("Debe ingresar un valor para la devolución del préstamo entre u$s 0 y u$s 9999999");
const QString kSimular = QStringLiteral("¿Pasar a la simulación?");
const QString kSinDatos = QStringLiteral("No hay datos para el período actual.");

bool iguales(const TRegDecision& a, const TRegDecision& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TRegDecision decision(int32_t precio, int32_t nivel, int32_t capacitacion, int32_t marketing, int32_t semilla) {
    return {precio, nivel, capacitacion, marketing, semilla, semilla + 1, semilla + 2, semilla + 3, semilla + 4, semilla + 5};
}

/// A game in a fresh data folder: its parameters and companies, written with
/// the stores, as a period-0 run would leave them.
class Juego {
public:
    Juego(const std::vector<std::string>& empresas, uint8_t periodo) {
        TRegDatosIniciales datos{};
        datos.cantEquipos = static_cast<uint8_t>(empresas.size());
        datos.cantEquiposZona1 = datos.cantEquipos;
        datos.zonaActiva = 1;
        datos.periodoActual = periodo;
        datos.nroZona = 1;
        asignar(datos.nombreBancoA, "NACION");
        asignar(datos.nombreBancoB, "PROVINCIA");
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(datos);
        for (std::size_t i = 0; i < empresas.size(); ++i) {
            TRegDatosAcum acum{};
            asignar(acum.nombreEmpresa, empresas[i]);
            acum.zona = 1;
            TDatosAcum(carpetaDePrueba()).guardarAcum(static_cast<uint8_t>(i + 1), acum);
        }
        principal_.show();
    }

    static std::filesystem::path decisiones() { return carpetaDePrueba().ruta() / kArchivoDecisiones; }
    bool hayDecisiones() const { return std::filesystem::exists(decisiones()); }
    std::uintmax_t bytesDecisiones() const { return std::filesystem::file_size(decisiones()); }
    TRegDecision decisionGuardada(uint8_t equipo) const { return juegoDePrueba().decisionesGuardadas().at(equipo - 1u); }

    /// Opens the screen on top of the stand-in main window, active, so that
    /// moving the focus runs the field checks.
    TFDeciciones* abrir() {
        auto* pantalla = new TFDeciciones(juegoDePrueba(), &principal_);
        if (!activar(pantalla)) qWarning("la pantalla no quedó activa");
        return pantalla;
    }

    QWidget& principal() { return principal_; }
    DialogosFalsos cajas;

private:
    CarpetaDeJuego carpeta_;
    QWidget principal_;
};

QLineEdit* edit(QWidget* w, const char* nombre) { return control<QLineEdit>(w, nombre); }
QString texto(QWidget* w, const char* nombre) { return edit(w, nombre)->text(); }
QString etiqueta(QWidget* w, const char* nombre) { return control<QLabel>(w, nombre)->text(); }

/// Types into a field the way the game master does: click in it, replace its text.
void tipear(QWidget* w, const char* nombre, const QString& valor) {
    QLineEdit* e = edit(w, nombre);
    e->setFocus(Qt::MouseFocusReason);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, valor);
}

// The amount fields from the price down, the production level coming after the fourth.
const std::pair<const char*, int32_t TRegDecision::*> kMontos[] = {
    {"precio", &TRegDecision::precio},           {"marketing", &TRegDecision::marketing},
    {"invYDes", &TRegDecision::invYDes},         {"capacitacion", &TRegDecision::capacitacion},
    {"invPlanta", &TRegDecision::invPlanta},     {"pedPrestamoA", &TRegDecision::pedPrestamoA},
    {"pedPrestamoB", &TRegDecision::pedPrestamoB}, {"devPrestamoA", &TRegDecision::devPrestamoA},
    {"devPrestamoB", &TRegDecision::devPrestamoB}};

/// Fills every field of the team on show from a decision record.
void llenar(QWidget* w, const TRegDecision& d) {
    for (const auto& [campo, monto] : kMontos) tipear(w, campo, QString::number(d.*monto));
    control<QComboBox>(w, "nivelProduccion")->setCurrentIndex(d.nivelProduccion / 25);
}

bool muestra(QWidget* w, const TRegDecision& d) {
    for (const auto& [campo, monto] : kMontos)
        if (texto(w, campo) != QString::number(d.*monto)) return false;
    return control<QComboBox>(w, "nivelProduccion")->currentText().trimmed() == QString::number(d.nivelProduccion);
}

/// The control that holds the keyboard focus.
QWidget* foco() { return QApplication::focusWidget(); }

/// Types into whatever has the focus, without the mouse; the field's text
/// is selected on entering it, so the typing replaces it.
void teclear(const QString& valor) { QTest::keyClicks(foco(), valor); }

/// One team's decisions typed from the price down, Enter after each field;
/// the production level chosen with the arrow keys.
void teclearEquipo(const TRegDecision& d, Qt::Key enter = Qt::Key_Return) {
    for (std::size_t i = 0; i < std::size(kMontos); ++i) {
        if (i == 4) {
            auto* combo = qobject_cast<QComboBox*>(foco());
            if (!combo) qFatal("el nivel de producción no tiene el foco");
            QTest::keyClick(combo, Qt::Key_Home);
            for (int nivel = 0; nivel < d.nivelProduccion; nivel += 25) QTest::keyClick(combo, Qt::Key_Down);
            QTest::keyClick(combo, enter);
        }
        teclear(QString::number(d.*kMontos[i].second));
        QTest::keyClick(foco(), enter);
    }
}

}  // namespace

class PruebaDeciciones : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

    void unSoloEquipo() {
        Juego juego({"Alfa"}, 4);
        QPointer<TFDeciciones> p = juego.abrir();
        QCOMPARE(p->windowTitle(), QStringLiteral("Decisiones"));
        // A fixed border: neither minimize nor maximize.
        QVERIFY(!(p->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        for (const auto& [nombre, esperado] : {std::pair{"lbNroEquipo", "1/1"}, {"Label6", "Alfa"}, {"Label5", "4"}, {"Label2", "1"},
                                               {"bancoPedPrestamoA", "NACION"}, {"bancoDevPrestamoB", "PROVINCIA"}})
            QCOMPARE(etiqueta(p, nombre), QString::fromLatin1(esperado));
        // A new period opens with every field at 0 and the first level chosen.
        auto* combo = control<QComboBox>(p, "nivelProduccion");
        QCOMPARE(combo->count(), 5);
        QCOMPARE(combo->itemText(2), QStringLiteral("50  "));
        QCOMPARE(combo->itemText(4), QStringLiteral("100 "));
        QCOMPARE(combo->currentText(), QStringLiteral("0 "));
        QVERIFY(muestra(p, TRegDecision{}));
        QCOMPARE(QApplication::focusWidget(), edit(p, "precio"));

        const TRegDecision d = decision(80, 75, 4000, 6000, 100);
        llenar(p, d);
        pulsar(p, "btnAnterior");  // there is no previous team
        QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("1/1"));
        QVERIFY(!juego.hayDecisiones());

        juego.cajas.respuestas = {ServicioDialogos::Respuesta::no};
        pulsar(p, "btnSiguiente");
        QCOMPARE(juego.cajas.textosMostrados(), QStringList{kSimular});
        QCOMPARE(juego.cajas.cajas[0].titulo, QStringLiteral("Atención"));
        QCOMPARE(juego.cajas.cajas[0].botones, ServicioDialogos::Botones::siNo);
        QCOMPARE(juego.bytesDecisiones(), std::uintmax_t{40});
        QVERIFY(iguales(juego.decisionGuardada(1), d));
        QVERIFY(p);
        QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("1/1"));
        QVERIFY(muestra(p, d));
        p->close();
    }

    void idaYVueltaConservaLoTipeado() {
        Juego juego({"Alfa", "Beta", "Gamma"}, 2);
        QPointer<TFDeciciones> p = juego.abrir();
        const TRegDecision d1 = decision(60, 25, 2000, 1000, 10);
        const TRegDecision d2 = decision(95, 100, 20000, 10000, 20);
        llenar(p, d1);
        pulsar(p, "btnSiguiente");
        QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("2/3"));
        QCOMPARE(etiqueta(p, "Label6"), QStringLiteral("Beta"));
        QVERIFY(muestra(p, TRegDecision{}));
        llenar(p, d2);
        pulsar(p, "btnAnterior");
        QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("1/3"));
        QCOMPARE(etiqueta(p, "Label6"), QStringLiteral("Alfa"));
        QVERIFY(muestra(p, d1));
        pulsar(p, "btnSiguiente");
        QVERIFY(muestra(p, d2));
        QVERIFY(iguales(p->decisionesEquipos()[0], d1) && iguales(p->decisionesEquipos()[1], d2));
        // Moving between teams writes nothing.
        QVERIFY(!juego.hayDecisiones() && juego.cajas.cajas.isEmpty());
        p->close();
    }

    void comprobacionAlSalirDelCampo_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<QString>("queda");
        QTest::addColumn<bool>("vuelveElFoco");
        const QString error = QStringLiteral("Error");
        QTest::newRow("precio bajo") << "precio" << "0" << "" << kPrecio << "100" << true;
        QTest::newRow("precio alto") << "precio" << "130" << "" << kPrecio << "100" << true;
        QTest::newRow("precio en el borde") << "precio" << "50" << "" << "" << "50" << false;
        QTest::newRow("precio no numérico") << "precio" << "8O" << error
                                             << "Ud. ha colocado un valor incorrecto en precio" << "8O" << false;
        QTest::newRow("marketing negativo") << "marketing" << "-1" << "" << kMarketing << "10000" << true;
        QTest::newRow("marketing alto") << "marketing" << "10001" << "" << kMarketing << "10000" << true;
        QTest::newRow("marketing vacío") << "marketing" << "" << error
                                          << "Ud. ha colocado un valor incorrecto en marketing" << "" << false;
        QTest::newRow("capacitación fuera de paso") << "capacitacion" << "3000" << "" << kCapacitacion << "3000" << true;
        QTest::newRow("capacitación alta") << "capacitacion" << "22000" << "" << kCapacitacion << "22000" << true;
        QTest::newRow("capacitación válida") << "capacitacion" << "18000" << "" << "" << "18000" << false;
        QTest::newRow("capacitación no numérica")
            << "capacitacion" << "dos mil" << error << "Ud. ha colocado un valor incorrecto en capacitación" << "dos mil"
            << false;
        // The amounts keep what was typed, so the game master sees what to correct.
        QTest::newRow("I&D negativa") << "invYDes" << "-1000000" << "" << kInvYDes << "-1000000" << true;
        QTest::newRow("planta alta") << "invPlanta" << "10000000" << "" << kPlanta << "10000000" << true;
        QTest::newRow("préstamo A negativo") << "pedPrestamoA" << "-1" << "" << kPedido << "-1" << true;
        QTest::newRow("préstamo B en el borde") << "pedPrestamoB" << "9999999" << "" << "" << "9999999" << false;
        QTest::newRow("devolución A alta") << "devPrestamoA" << "10000000" << "" << kDevolucion << "10000000" << true;
        QTest::newRow("devolución B enorme") << "devPrestamoB" << "2147483647" << "" << kDevolucion << "2147483647" << true;
        QTest::newRow("devolución B no numérica") << "devPrestamoB" << "mil" << "" << "" << "mil" << false;
    }

    void comprobacionAlSalirDelCampo() {
        QFETCH(QString, campo);
        QFETCH(QString, valor);
        QFETCH(QString, titulo);
        QFETCH(QString, mensaje);
        QFETCH(QString, queda);
        QFETCH(bool, vuelveElFoco);
        Juego juego({"Alfa", "Beta"}, 1);
        QPointer<TFDeciciones> p = juego.abrir();
        // A new period shows a price of 0, which leaving the field would refuse.
        if (campo != "precio") tipear(p, "precio", QStringLiteral("80"));
        const QByteArray nombre = campo.toLatin1();
        tipear(p, nombre.constData(), valor);
        QTest::keyClick(edit(p, nombre.constData()), Qt::Key_Tab);
        if (mensaje.isEmpty()) {
            QVERIFY(juego.cajas.cajas.isEmpty());
        } else {
            QCOMPARE(juego.cajas.textosMostrados(), QStringList{mensaje});
            QCOMPARE(juego.cajas.cajas[0].titulo, titulo);
            QCOMPARE(juego.cajas.cajas[0].icono, titulo.isEmpty() ? ServicioDialogos::Icono::ninguno
                                                                  : ServicioDialogos::Icono::advertencia);
        }
        QCOMPARE(texto(p, nombre.constData()), queda);
        QCOMPARE(QApplication::focusWidget() == edit(p, nombre.constData()), vuelveElFoco);
        p->close();
    }

    void comprobacionAlCambiarDeEquipo_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<QString>("queda");
        QTest::addColumn<bool>("ultimo");
        QTest::newRow("precio") << "precio" << "30" << kPrecio << "100" << false;
        QTest::newRow("marketing") << "marketing" << "12000" << kMarketing << "10000" << false;
        QTest::newRow("capacitación") << "capacitacion" << "2500" << kCapacitacion << "2500" << false;
        QTest::newRow("precio del último equipo") << "precio" << "101" << kPrecio << "100" << true;
        QTest::newRow("capacitación del último equipo") << "capacitacion" << "-2000" << kCapacitacion << "-2000" << true;
        QTest::newRow("devolución B") << "devPrestamoB" << "2147483647" << kDevolucion << "2147483647" << false;
        QTest::newRow("I&D del último equipo") << "invYDes" << "-1000000" << kInvYDes << "-1000000" << true;
        QTest::newRow("planta") << "invPlanta" << "10000000" << kPlanta << "10000000" << false;
        QTest::newRow("texto no numérico")
            << "invYDes" << "abc" << "«abc» no es un número entero: escríbalo en cifras, sin puntos ni comas."
            << "abc" << false;
    }

    // The navigation buttons take no focus: a value typed and sent on at once
    // never leaves its field, and must still be checked.
    void comprobacionAlCambiarDeEquipo() {
        QFETCH(QString, campo);
        QFETCH(QString, valor);
        QFETCH(QString, mensaje);
        QFETCH(QString, queda);
        QFETCH(bool, ultimo);
        Juego juego({"Alfa", "Beta"}, 1);
        QPointer<TFDeciciones> p = juego.abrir();
        const TRegDecision valida = decision(70, 50, 6000, 3000, 5);
        if (ultimo) {
            llenar(p, valida);
            pulsar(p, "btnSiguiente");
        }
        const std::vector<TRegDecision> antes = p->decisionesEquipos();
        const uint8_t equipo = p->equipoActual();
        llenar(p, valida);
        const QByteArray nombre = campo.toLatin1();
        tipear(p, nombre.constData(), valor);

        pulsar(p, "btnSiguiente");
        QCOMPARE(juego.cajas.textosMostrados(), QStringList{mensaje});
        QCOMPARE(p->equipoActual(), equipo);
        QCOMPARE(texto(p, nombre.constData()), queda);
        for (std::size_t i = 0; i < antes.size(); ++i) QVERIFY(iguales(p->decisionesEquipos()[i], antes[i]));
        QVERIFY(!juego.hayDecisiones());
        if (valor != "abc") QCOMPARE(QApplication::focusWidget(), edit(p, nombre.constData()));

        // Going back is checked the same way.
        if (ultimo) {
            tipear(p, nombre.constData(), valor);
            juego.cajas.cajas.clear();
            pulsar(p, "btnAnterior");
            QCOMPARE(juego.cajas.textosMostrados(), QStringList{mensaje});
            QCOMPARE(p->equipoActual(), equipo);
        }
        p->close();
    }

    void noPasarASimularDejaElUltimoEquipoYElArchivo() {
        Juego juego({"Alfa", "Beta", "Gamma"}, 1);
        QPointer<TFDeciciones> p = juego.abrir();
        const TRegDecision d[] = {decision(50, 0, 0, 0, 0), decision(75, 50, 10000, 5000, 7000),
                                  decision(100, 100, 20000, 10000, 3)};
        juego.cajas.respuestas = {ServicioDialogos::Respuesta::no, ServicioDialogos::Respuesta::no};
        for (const TRegDecision& x : d) {
            llenar(p, x);
            pulsar(p, "btnSiguiente");
        }
        QCOMPARE(juego.cajas.textosMostrados(), QStringList{kSimular});
        QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("3/3"));
        QCOMPARE(etiqueta(p, "Label6"), QStringLiteral("Gamma"));
        QVERIFY(muestra(p, d[2]));
        QCOMPARE(juego.bytesDecisiones(), std::uintmax_t{120});
        for (uint8_t t = 1; t <= 3; ++t) QVERIFY(iguales(juego.decisionGuardada(t), d[t - 1]));

        // Back to a team, a correction, and past the last team again: written again.
        pulsar(p, "btnAnterior");
        tipear(p, "precio", QStringLiteral("77"));
        pulsar(p, "btnSiguiente");
        pulsar(p, "btnSiguiente");
        QCOMPARE(juego.cajas.textosMostrados(), (QStringList{kSimular, kSimular}));
        QCOMPARE(juego.decisionGuardada(2).precio, 77);
        QCOMPARE(juego.bytesDecisiones(), std::uintmax_t{120});
        p->close();
    }

    void siPasaASimularAbreLaPantallaDeSimulacion() {
        Juego juego({"Alfa"}, 1);
        QPointer<TFDeciciones> p = juego.abrir();
        llenar(p, decision(90, 75, 4000, 8000, 1000));
        pulsar(p, "btnSiguiente");
        QVERIFY(!p || !p->isVisible());
        QTRY_VERIFY(!p);
        auto* simular = juego.principal().findChild<TFSimular*>();
        QVERIFY(simular && simular->isVisible() && juego.hayDecisiones());
        QPointer<TFSimular> s = simular;
        pulsar(simular, "btnCerrar");
        QTRY_VERIFY(!s);
    }

    void cargarTodasTrasUnaSimulacionYTrasVolverAtras() {
        Juego juego({"Alfa", "Beta", "Gamma"}, 2);
        const TRegDecision d[] = {decision(55, 25, 2000, 100, 1), decision(65, 50, 4000, 200, 2),
                                  decision(85, 75, 6000, 300, 3)};
        TDecision(carpetaDePrueba()).guardarDecisiones({d[0], d[1], d[2]});
        // A run takes the checkpoint and leaves the decisions file empty.
        guardarRespaldo(carpetaDePrueba());
        TDecision(carpetaDePrueba()).guardarDecisiones({});

        QPointer<TFDeciciones> p = juego.abrir();
        pulsar(p, "btnCargarDatosTodas");
        QCOMPARE(juego.cajas.textosMostrados(), QStringList{kSinDatos});
        pulsar(p, "btnCargarDatos");
        QCOMPARE(juego.cajas.textosMostrados(), (QStringList{kSinDatos, kSinDatos}));
        QVERIFY(muestra(p, TRegDecision{}));
        p->close();

        // "Volver atrás" brings back the decisions of the undone period.
        QVERIFY(restaurarRespaldo(carpetaDePrueba()));
        juego.cajas.cajas.clear();
        p = juego.abrir();
        // The screen opens with them, as the main window says they are loaded.
        QVERIFY(muestra(p, d[0]) && iguales(p->decisionesEquipos()[2], d[2]) && juego.cajas.cajas.isEmpty());
        llenar(p, decision(99, 0, 0, 0, 9));
        pulsar(p, "btnSiguiente");
        QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("2/3"));
        pulsar(p, "btnCargarDatosTodas");
        QVERIFY(juego.cajas.cajas.isEmpty());
        QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("1/3"));
        QVERIFY(muestra(p, d[0]));
        for (int i = 0; i < 3; ++i) QVERIFY(iguales(p->decisionesEquipos()[i], d[i]));
        pulsar(p, "btnSiguiente");
        QVERIFY(muestra(p, d[1]));
        p->close();
    }

    void cargarTodasConDatosIncompletos() {
        Juego juego({"Alfa", "Beta", "Gamma"}, 2);
        const TRegDecision d[] = {decision(55, 25, 2000, 100, 1), decision(65, 50, 4000, 200, 2)};
        TDecision(carpetaDePrueba()).guardarDecisiones({d[0], d[1]});
        QPointer<TFDeciciones> p = juego.abrir();
        llenar(p, decision(98, 0, 0, 0, 9));
        pulsar(p, "btnSiguiente");
        tipear(p, "precio", QStringLiteral("99"));
        pulsar(p, "btnCargarDatosTodas");
        QCOMPARE(juego.cajas.textosMostrados(), QStringList{kSinDatos});
        // The teams read keep what was read; the team on show does not change.
        const TRegDecision leidas[] = {d[0], d[1], TRegDecision{}};
        for (int i = 0; i < 3; ++i) QVERIFY(iguales(p->decisionesEquipos()[i], leidas[i]));
        QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("2/3"));
        QCOMPARE(texto(p, "precio"), QStringLiteral("99"));

        // This team's own stored decision is there.
        pulsar(p, "btnCargarDatos");
        QCOMPARE(juego.cajas.cajas.size(), 1);
        QVERIFY(muestra(p, d[1]));
        p->close();
    }

    void periodoCompletoSinRaton_data() {
        QTest::addColumn<int>("enter");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Enter del teclado numérico") << int(Qt::Key_Enter);
    }

    void periodoCompletoSinRaton() {
        QFETCH(int, enter);
        Juego juego({"Alfa", "Beta", "Gamma"}, 3);
        QPointer<TFDeciciones> p = juego.abrir();
        const TRegDecision d[] = {decision(55, 25, 2000, 100, 1), decision(100, 100, 20000, 10000, 70),
                                  decision(80, 0, 0, 0, 0)};
        juego.cajas.respuestas = {ServicioDialogos::Respuesta::no};
        for (int t = 0; t < 3; ++t) {
            QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("%1/3").arg(t + 1));
            QCOMPARE(foco(), edit(p, "precio"));
            teclearEquipo(d[t], Qt::Key(enter));
        }
        // Enter on the last field of the last team stores and asks, as the arrow does.
        QCOMPARE(juego.cajas.textosMostrados(), QStringList{kSimular});
        QCOMPARE(etiqueta(p, "lbNroEquipo"), QStringLiteral("3/3"));
        for (uint8_t t = 1; t <= 3; ++t) QVERIFY(iguales(juego.decisionGuardada(t), d[t - 1]));
        QVERIFY(!p->decisionesSinGuardar());
        p->close();
    }

    void teclasDeNavegacion_data() {
        QTest::addColumn<QString>("desde");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<bool>("mayusculas");
        QTest::addColumn<QString>("llegaA");
        QTest::addColumn<int>("equipo");
        QTest::newRow("Enter baja un campo") << "marketing" << int(Qt::Key_Return) << false << "invYDes" << 2;
        QTest::newRow("Enter pasa al nivel") << "capacitacion" << int(Qt::Key_Return) << false << "nivelProduccion" << 2;
        QTest::newRow("Mayús+Enter sube un campo") << "invYDes" << int(Qt::Key_Return) << true << "marketing" << 2;
        QTest::newRow("Mayús+Enter desde el nivel") << "invPlanta" << int(Qt::Key_Return) << true << "nivelProduccion" << 2;
        QTest::newRow("Mayús+Enter en el primero") << "precio" << int(Qt::Key_Return) << true << "precio" << 2;
        QTest::newRow("AvPág equipo siguiente") << "pedPrestamoA" << int(Qt::Key_PageDown) << false << "precio" << 3;
        QTest::newRow("RePág equipo anterior") << "devPrestamoA" << int(Qt::Key_PageUp) << false << "precio" << 1;
        QTest::newRow("AvPág desde el nivel") << "nivelProduccion" << int(Qt::Key_PageDown) << false << "precio" << 3;
    }

    void teclasDeNavegacion() {
        QFETCH(QString, desde);
        QFETCH(int, tecla);
        QFETCH(bool, mayusculas);
        QFETCH(QString, llegaA);
        QFETCH(int, equipo);
        Juego juego({"Alfa", "Beta", "Gamma"}, 2);
        QPointer<TFDeciciones> p = juego.abrir();
        teclearEquipo(decision(60, 25, 2000, 1000, 10));
        QCOMPARE(p->equipoActual(), uint8_t{2});
        tipear(p, "precio", QStringLiteral("70"));
        const QByteArray nombre = desde.toLatin1();
        QWidget* inicio = control<QWidget>(p, nombre.constData());
        inicio->setFocus(Qt::TabFocusReason);
        QTest::keyClick(inicio, Qt::Key(tecla), mayusculas ? Qt::ShiftModifier : Qt::NoModifier);
        QVERIFY(juego.cajas.cajas.isEmpty());
        QCOMPARE(int(p->equipoActual()), equipo);
        QCOMPARE(foco()->objectName(), llegaA);
        if (auto* e = qobject_cast<QLineEdit*>(foco()); e && llegaA != desde) QCOMPARE(e->selectedText(), e->text());
        // A team change keeps what was typed for team 2.
        if (equipo != 2) QCOMPARE(p->decisionesEquipos()[1].precio, 70);
        QVERIFY(!juego.hayDecisiones());
        p->close();
    }

    void enterEnElUltimoCampoConValorMalo_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("devolución B alta") << "devPrestamoB" << "10000000" << int(Qt::Key_Return) << kDevolucion;
        QTest::newRow("precio no revisado") << "precio" << "30" << int(Qt::Key_Return) << kPrecio;
        QTest::newRow("capacitación con AvPág") << "capacitacion" << "1000" << int(Qt::Key_PageDown) << kCapacitacion;
        QTest::newRow("texto con Enter") << "pedPrestamoB" << "x" << int(Qt::Key_Return)
                                         << "«x» no es un número entero: escríbalo en cifras, sin puntos ni comas.";
    }

    void enterEnElUltimoCampoConValorMalo() {
        QFETCH(QString, campo);
        QFETCH(QString, valor);
        QFETCH(int, tecla);
        QFETCH(QString, mensaje);
        Juego juego({"Alfa", "Beta"}, 1);
        QPointer<TFDeciciones> p = juego.abrir();
        const TRegDecision valida = decision(70, 50, 6000, 3000, 5);
        llenar(p, valida);
        // Put in without leaving the field, so that no exit check ran.
        const QByteArray nombre = campo.toLatin1();
        edit(p, nombre.constData())->setText(valor);
        edit(p, "devPrestamoB")->setFocus(Qt::TabFocusReason);
        juego.cajas.cajas.clear();
        QTest::keyClick(foco(), Qt::Key(tecla));
        QCOMPARE(juego.cajas.textosMostrados(), QStringList{mensaje});
        QCOMPARE(p->equipoActual(), uint8_t{1});
        QVERIFY(iguales(p->decisionesEquipos()[0], TRegDecision{}));
        QVERIFY(!juego.hayDecisiones());
        p->close();
    }

    void alEntrarElTextoQuedaSeleccionado_data() {
        QTest::addColumn<int>("motivo");
        QTest::newRow("clic") << int(Qt::MouseFocusReason);
        QTest::newRow("tabulador") << int(Qt::TabFocusReason);
        QTest::newRow("otro") << int(Qt::OtherFocusReason);
    }

    void alEntrarElTextoQuedaSeleccionado() {
        QFETCH(int, motivo);
        Juego juego({"Alfa"}, 1);
        QPointer<TFDeciciones> p = juego.abrir();
        tipear(p, "precio", QStringLiteral("80"));  // leaving a price of 0 would be refused
        QLineEdit* e = edit(p, "marketing");
        e->setText(QStringLiteral("5000"));
        if (motivo == Qt::MouseFocusReason)
            QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, QPoint(4, e->height() / 2));
        else
            e->setFocus(Qt::FocusReason(motivo));
        QCOMPARE(foco(), e);
        QCOMPARE(e->selectedText(), QStringLiteral("5000"));
        teclear(QStringLiteral("7"));
        QCOMPARE(e->text(), QStringLiteral("7"));
        p->close();
    }

    void nombreCompletoDelEquipo_data() {
        QTest::addColumn<QString>("nombre");
        QTest::newRow("palabras") << QStringLiteral("LOS EMPRENDEDORES UNIDOS DEL NORTE DE LA PROVINCIA");
        QTest::newRow("una sola palabra") << QString(50, QLatin1Char('W'));
        QTest::newRow("acentos") << QStringLiteral("ÑANDÚ ÁGIL ÉXITO ÍNTEGRO ÓPTIMO ÚNICO SOLIDARIO!!");
        QTest::newRow("corto") << QStringLiteral("Alfa");
    }

    void nombreCompletoDelEquipo() {
        QFETCH(QString, nombre);
        QVERIFY(nombre.size() <= 50);
        Juego juego({"Alfa", std::string(aCp1252(nombre).value())}, 1);
        QPointer<TFDeciciones> p = juego.abrir();
        auto* etiquetaNombre = control<QLabel>(p, "Label6");
        // Shown second, after the window has its size.
        llenar(p, decision(70, 50, 6000, 3000, 5));
        pulsar(p, "btnSiguiente");
        QCOMPARE(etiquetaNombre->text(), nombre);
        const QRect caja = etiquetaNombre->contentsRect();
        const QRect ocupa = QFontMetrics(etiquetaNombre->font())
                                .boundingRect(QRect(0, 0, caja.width(), 100000), Qt::TextWordWrap, nombre);
        QVERIFY2(ocupa.width() <= caja.width() && ocupa.height() <= caja.height(),
                 qPrintable(QStringLiteral("%1x%2 en %3x%4").arg(ocupa.width()).arg(ocupa.height())
                                .arg(caja.width()).arg(caja.height())));
        QVERIFY(etiquetaNombre->font().pointSize() >= 5);
        p->close();
    }

    // Both screens take their fields from the table: each found by its key,
    // captioned by its title, with its help naming the bank as tooltip.
    void camposDeLaTabla_data() {
        QTest::addColumn<bool>("periodo0");
        QTest::newRow("decisiones") << false;
        QTest::newRow("período 0") << true;
    }

    void camposDeLaTabla() {
        QFETCH(bool, periodo0);
        Juego juego({"Alfa"}, 1);
        QPointer<QWidget> p = periodo0 ? static_cast<QWidget*>(new TFDecicionesPeriodo0(juegoDePrueba(), &juego.principal()))
                                       : juego.abrir();
        for (const TRangoDecision& r : rangosDecision()) {
            auto* campo = control<QWidget>(p, r.columna);
            QCOMPARE(campo->toolTip(), QString::fromUtf8(ayudaDecision(r, "NACION", "PROVINCIA")));
            QStringList titulos;
            for (QLabel* l : p->findChildren<QLabel*>())
                if (l->buddy() == campo) titulos << l->text();
            QCOMPARE(titulos, QStringList{QString::fromUtf8(r.titulo)});
        }
        p->close();
        delete p;
    }

    // What the banks still lend and the warnings follow the typing, before anything is stored, with no box.
    void avisosMientrasSeTipea() {
        Juego juego({"Alfa", "Beta"}, 1);  // Beta's decisions still at zeros
        TRegDatosIniciales datos = juegoDePrueba().parametros();
        std::tie(datos.maxCreditoA, datos.maxCreditoB, datos.limiteGiroDescubierto) = std::tuple(90000, 80000, 30.0);
        TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(datos);
        QPointer<TFDeciciones> p = juego.abrir();
        llenar(p, TRegDecision{80, 25, 0, 0, 0, 0, 0, 0, 0, 0});
        QVERIFY(etiqueta(p, "lblAvisos")
                    .startsWith(u"El banco A (NACION) todavía le presta u$s 90000 y el banco B (PROVINCIA), u$s 80000."));
        for (const auto& [pedido, exceso, quiebra] :
             {std::tuple("90030", true, false), std::tuple("90031", true, true), std::tuple("90000", false, false)}) {
            tipear(p, "pedPrestamoA", QString::fromLatin1(pedido));
            const QString avisos = etiqueta(p, "lblAvisos");
            QVERIFY2(avisos.contains(u"El préstamo pedido al banco A") == exceso &&
                         avisos.contains(u"quebraría") == quiebra,
                     qPrintable(avisos));
            const auto* lugar = control<QLabel>(p, "lblAvisos");  // the fixed-size screen makes room for them
            QVERIFY(lugar->height() >= lugar->heightForWidth(lugar->width()));
        }
        QVERIFY(juego.cajas.cajas.isEmpty() && !juego.hayDecisiones());
    }

    void sinEquiposSeCierra() {
        Juego juego({}, 5);
        QPointer<TFDeciciones> p = new TFDeciciones(juegoDePrueba(), &juego.principal());
        p->show();
        QCOMPARE(juego.cajas.textosMostrados(), QStringList{QStringLiteral("No quedan más equipos: todos han quebrado.")});
        QTRY_VERIFY(!p);
        QVERIFY(!juego.hayDecisiones());
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaDeciciones)

#include "deciciones_test.moc"
