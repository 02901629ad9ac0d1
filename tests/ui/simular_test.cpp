// The simulate screen: its look, closing without a run, a run that succeeds
// and runs that fail, which must leave the game as it was and the screen usable.

#include "comun/ArchivosDePrueba.h"
#include "apoyo/DialogosFalsos.h"
#include "apoyo/JuegoDePrueba.h"
#include "engine/UDecicionesPeriodo0.h"
#include "store/CarpetaDatos.h"
#include "store/DatosAcum_UD.h"
#include "store/Datos_UD.h"
#include "store/DatosIniciales.h"
#include "store/Decision_UD.h"
#include "store/Notificador.h"
#include "ui/USimular.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QCloseEvent>
#include <QPointer>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

namespace {

/// Records what the core asked the main window to do.
class NotasDelNucleo final : public TNotificador {
public:
    void advertencia(const std::string& titulo, const std::string& texto) override {
        eventos.append(QString::fromStdString("advertencia " + titulo + ": " + texto));
    }
    void informacion(const std::string& texto) override {
        eventos.append(QStringLiteral("informacion ") + QString::fromLatin1(texto.c_str()));
    }
    void abrirCarpeta(const std::filesystem::path& carpeta) override {
        eventos.append(QStringLiteral("abrir ") + QString::fromStdString(carpeta.string()));
    }
    QStringList eventos;
};

/// A game of three companies at period 1, started with the real period-0 run.
class Juego {
public:
    Juego() {
        usarCarpetaDePrueba(carpeta_.path().toStdString());
        juegoDePrueba().fijarNotificador(&notas);
        TTextosDatosIniciales t = ejemploDatosIniciales();
        const char* nombres[] = {"Alfa", "Beta", "Gamma"};
        for (uint8_t i = 0; i < 3; ++i) TDatosjuego(carpetaDePrueba()).guardarNombre(i, nombres[i]);
        guardarJuegoNuevo(carpetaDePrueba(), armarDatosIniciales(t, 3));
        TDecisionesPeriodo0 cero;
        cero.precio = 90;
        cero.marketing = 8000;
        cero.invYDes = 1000;
        cero.capacitacion = 4000;
        cero.nivelProduccion = 75;
        cero.pedPrestamoA = 80000;
        cero.pedPrestamoB = 70000;
        cero.nombreBancoA = "NACION";
        cero.nombreBancoB = "PROVINCIA";
        ejecutarPeriodo0(carpetaDePrueba(), cero);
        std::vector<TRegDecision> decisiones;
        for (int32_t i = 0; i < 3; ++i) decisiones.push_back({80 + i * 5, 75, 2000, 5000, 1000, 0, 0, 0, 0, 0});
        juegoDePrueba().guardarDecisiones(decisiones);
        notas.eventos.clear();
        principal_.show();
    }
    ~Juego() { juegoDePrueba().fijarNotificador(nullptr); }

    /// The game files and reports, to prove that a failed run changed nothing.
    QMap<QString, QByteArray> archivos() const {
        QMap<QString, QByteArray> todos;
        for (const QString& nombre : QDir(carpeta_.path()).entryList(QDir::Files)) {
            if (nombre.endsWith(QStringLiteral(".LCK"))) continue;  // the locks, not game content
            QFile f(carpeta_.filePath(nombre));
            if (f.open(QIODevice::ReadOnly)) todos[nombre] = f.readAll();
        }
        return todos;
    }
    uint8_t periodoGuardado() const {
        TRegDatosIniciales d{};
        TDatosjuego(carpetaDePrueba()).leerDatosIniciales(d);
        return d.periodoActual;
    }
    std::filesystem::path ruta(const char* nombre) const { return carpetaDePrueba().ruta() / nombre; }

    TFSimular* abrir() {
        auto* s = new TFSimular(juegoDePrueba(), &principal_);
        s->show();
        return s;
    }

    DialogosFalsos cajas;
    NotasDelNucleo notas;

private:
    QTemporaryDir carpeta_;
    QWidget principal_;
};

void clic(QWidget* w, const char* boton) {
    QTest::mouseClick(w->findChild<QPushButton*>(QString::fromLatin1(boton)), Qt::LeftButton);
}

}  // namespace

class PruebaSimular : public QObject {
    Q_OBJECT

private slots:

    void laPantalla() {
        QWidget principal;
        QPointer<TFSimular> s = new TFSimular(juegoDePrueba(), &principal);
        QCOMPARE(s->windowTitle(), QStringLiteral("Simular"));
        QStringList lineas;
        for (int i = 1; i <= 4; ++i) lineas << s->findChild<QLabel*>(QStringLiteral("Label%1").arg(i))->text();
        QCOMPARE(lineas, (QStringList{"YA ESTÁN CARGADOS TODOS LOS", "DATOS NECESARIOS.",
                                      "CUANDO ESTÉ LISTO, PRESIONE", "EL BOTÓN SIMULAR"}));
        QCOMPARE(s->findChild<QPushButton*>(QStringLiteral("btnSimular"))->text(), QStringLiteral("&SIMULAR"));
        QVERIFY(s->findChild<QPushButton*>(QStringLiteral("btnCerrar"))->text().isEmpty());
        // Left only through its two buttons: no close box.
        QVERIFY(s->windowFlags().testFlag(Qt::CustomizeWindowHint));
        QVERIFY(!s->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(s->isWindow());
        QCOMPARE(s->parentWidget(), &principal);
        delete s;
    }

    void elGestorDeVentanasNoLaCierra() {
        Juego juego;
        const auto antes = juego.archivos();
        QPointer<TFSimular> s = juego.abrir();
        QVERIFY(s->windowHandle());
        // A close from the window manager (a close box it draws anyway,
        // Alt+F4) reaches the window as a spontaneous event.
        QCloseEvent cierre;
        QSpontaneKeyEvent::setSpontaneous(&cierre);
        QApplication::instance()->notify(s->windowHandle(), &cierre);
        QCoreApplication::processEvents();
        QVERIFY(!cierre.isAccepted());
        QVERIFY(s);
        QVERIFY(s->isVisible());
        clic(s, "btnCerrar");
        QTRY_VERIFY(!s);
        QCOMPARE(juego.archivos(), antes);
    }

    void cerrarNoSimula() {
        Juego juego;
        const auto antes = juego.archivos();
        QPointer<TFSimular> s = juego.abrir();
        clic(s, "btnCerrar");
        QTRY_VERIFY(!s);
        QCOMPARE(juego.archivos(), antes);
        QVERIFY(juego.notas.eventos.isEmpty());
    }

    void simularCorreElPeriodoYSeCierra_data() {
        QTest::addColumn<bool>("conEnter");
        QTest::newRow("clic") << false;
        QTest::newRow("Enter") << true;
    }
    void simularCorreElPeriodoYSeCierra() {
        QFETCH(bool, conEnter);
        Juego juego;
        QPointer<TFSimular> s = juego.abrir();
        if (conEnter) QTest::keyClick(s->findChild<QPushButton*>(QStringLiteral("btnSimular")), Qt::Key_Return);
        else clic(s, "btnSimular");
        QTRY_VERIFY(!s);
        QVERIFY(juego.cajas.cajas.isEmpty());
        QCOMPARE(juego.periodoGuardado(), uint8_t{2});
        QCOMPARE(std::filesystem::file_size(juego.ruta("DECISIONES.DAT")), std::uintmax_t{0});
        QVERIFY(std::filesystem::exists(juego.ruta("COMZONA1Beta.txt")));
        // A run leaves the file browser alone: ten runs a class would be ten windows.
        QVERIFY(juego.notas.eventos.isEmpty());
    }

    void unaDecisionFueraDeRangoNoCambiaNada() {
        Juego juego;
        std::vector<TRegDecision> decisiones = juegoDePrueba().decisionesGuardadas();
        decisiones.at(1) = {30, 75, 2000, 5000, 1000, 0, 0, 0, 0, 0};
        juegoDePrueba().guardarDecisiones(decisiones);
        const auto antes = juego.archivos();
        QPointer<TFSimular> s = juego.abrir();
        clic(s, "btnSimular");
        QCOMPARE(juego.cajas.cajas.size(), 1);
        QVERIFY(juego.cajas.cajas[0].texto.contains(QStringLiteral("Beta")));
        QCoreApplication::processEvents();
        QVERIFY(s && s->isVisible());
        QCOMPARE(juego.archivos(), antes);
        QCOMPARE(juego.periodoGuardado(), uint8_t{1});
        QVERIFY(juego.notas.eventos.isEmpty());
        s->close();
    }

    void unErrorDeArchivoDejaElJuegoComoEstabaYLaPantallaUsable() {
        Juego juego;
        const auto antes = juego.archivos();
        // The second company's report cannot be written: a folder is in its place.
        std::filesystem::create_directory(juego.ruta("COMZONA1Beta.txt"));
        QPointer<TFSimular> s = juego.abrir();
        clic(s, "btnSimular");
        QCOMPARE(juego.cajas.cajas.size(), 1);
        QCoreApplication::processEvents();
        QVERIFY(s && s->isVisible());
        for (const char* nombre : {"DATOS INICIALES.DAT", "DATOS ACUMULADOS.DAT", "DECISIONES.DAT"})
            QCOMPARE(juego.archivos().value(QString::fromLatin1(nombre)), antes.value(QString::fromLatin1(nombre)));
        QCOMPARE(juego.periodoGuardado(), uint8_t{1});
        // A failed run announces nothing.
        QVERIFY(juego.notas.eventos.isEmpty());

        // Once the cause is gone, the same screen runs the period.
        std::filesystem::remove(juego.ruta("COMZONA1Beta.txt"));
        juego.cajas.cajas.clear();
        clic(s, "btnSimular");
        QTRY_VERIFY(!s);
        QVERIFY(juego.cajas.cajas.isEmpty());
        QCOMPARE(juego.periodoGuardado(), uint8_t{2});
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    PruebaSimular prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "simular_test.moc"
