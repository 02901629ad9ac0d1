// A whole game played through the window, from "Nuevo" to a rerun after a
// step back, must leave exactly the files that the same game played with the
// command-line tool leaves: every game file, checkpoint, report and history
// copy, byte for byte.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "store/Registros.h"
#include "ui/UDatosIniciales.h"
#include "ui/UDeciciones.h"
#include "ui/UDecicionesPeriodo0.h"
#include "ui/UEquipos.h"
#include "ui/UPrincipal.h"
#include "ui/USimular.h"

#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QPushButton>


namespace {

// The decisions of one team for one period, in the order of the tool's CSV
// header and of the decisions record.
struct Decision {
    int precio, nivelProduccion, capacitacion, marketing, invYDes, invPlanta, pedPrestamoA, pedPrestamoB,
        devPrestamoA, devPrestamoB;

    QString filaCsv() const {
        QStringList campos;
        for (int valor : {precio, nivelProduccion, capacitacion, marketing, invYDes, invPlanta, pedPrestamoA,
                          pedPrestamoB, devPrestamoA, devPrestamoB})
            campos << QString::number(valor);
        return campos.join(QLatin1Char(','));
    }
};

const QStringList kEquipos = {"Alfa", "Beta", "Gamma"};

// The game's parameters: the box of the initial data screen, the tool's key
// and the value. The sample game, with a research pool and an overdraft limit
// that a careless team can pass.
struct Parametro {
    const char* caja;
    const char* clave;
    QString valor;
};
const QList<Parametro> kParametros = {
    {"Edit3", "planta", "70000"},
    {"Edit4", "capital", "80000"},
    {"Edit5", "maxCreditoA", "90000"},
    {"Edit6", "maxCreditoB", "80000"},
    {"Edit7", "mantenimiento", "10"},
    {"Edit8", "impuestos", "30"},
    {"Edit9", "interesA", "21"},
    {"Edit10", "interesB", "24"},
    {"Edit11", "tasaProduccion", "2"},
    {"Edit12", "giroDescubierto", "100"},
    {"Edit13", "penalidadStock", "10"},
    {"Edit14", "multipOrdenesMas", "30"},
    {"Edit15", "multipOrdenesMenos", "20"},
    {"Edit16", "nroInvYDes", "400"},
    {"Edit17", "modifOrdenes", "30"},
    {"edMaxGiroDescub", "limiteGiroDescubierto", "5000"},
    {"edNroZona", "nroZona", "1"},
    {"edIndemXEmp", "indemXEmpleado", "300"},
    {"edPenalidad", "penalidad", "500"},
};

// Period 0, common to every company: price, marketing, R&D, training, level,
// plant investment, loans asked from banks A and B.
const QStringList kPeriodo0 = {"90", "8000", "1000", "4000", "75", "0", "80000", "70000"};

// Period 1: an ordinary period.
const QList<Decision> kPeriodo1 = {
    {85, 75, 2000, 6000, 1000, 0, 0, 0, 0, 0},
    {80, 100, 4000, 8000, 2000, 5000, 0, 0, 0, 0},
    {95, 50, 0, 3000, 0, 0, 0, 0, 0, 0},
};
// Period 2: Gamma's plant investment outruns its cash; the banks cover the
// rest, and Gamma pays the penalty and gets its notice.
const QList<Decision> kPeriodo2 = {
    {85, 75, 2000, 6000, 1000, 0, 0, 0, 5000, 0},
    {80, 100, 4000, 8000, 2000, 5000, 0, 0, 0, 0},
    {90, 50, 2000, 3000, 0, 52000, 0, 0, 0, 0},
};
// Period 3: Beta's plant investment passes every limit and Beta goes
// bankrupt; Gamma produces little to get by.
const QList<Decision> kPeriodo3 = {
    {85, 75, 2000, 6000, 1000, 0, 0, 0, 0, 0},
    {80, 100, 4000, 8000, 2000, 300000, 0, 0, 0, 0},
    {90, 25, 0, 3000, 0, 0, 0, 0, 0, 0},
};
// Period 3 again, after the step back: Alfa changes its price.
QList<Decision> periodo3Corregido() {
    QList<Decision> d = kPeriodo3;
    d[0].precio = 70;
    return d;
}

/// Every file under a folder, by relative path, with its bytes.
QMap<QString, QByteArray> archivosDe(const QString& carpeta) {
    QMap<QString, QByteArray> archivos;
    QDirIterator it(carpeta, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString ruta = it.next();
        QFile f(ruta);
        if (f.open(QIODevice::ReadOnly)) archivos[QDir(carpeta).relativeFilePath(ruta)] = f.readAll();
    }
    return archivos;
}

QAction* accion(const TFPrincipal& principal, const QString& texto) {
    for (QAction* a : principal.findChildren<QAction*>())
        if (a->text() == texto) return a;
    throw std::runtime_error("falta el item " + texto.toStdString());
}

void clic(QWidget* ventana, const char* boton) {
    QTest::mouseClick(control<QPushButton>(ventana, boton), Qt::LeftButton);
}

/// The window game, driven through the menus and the screens.
class JuegoEnVentana {
public:
    JuegoEnVentana() { principal.show(); }

    void nuevo() {
        accion(principal, "Nuevo")->trigger();
        auto* equipos = ventanaVisible<TFEquipos>();
        if (!equipos) throw std::runtime_error("no se abrió la carga de equipos");
        for (const QString& nombre : kEquipos) {
            escribir(control<QLineEdit>(equipos, "edNombreEquipo"), nombre);
            clic(equipos, "btnAgregar");
        }
        clic(equipos, "btnGuardar");
        auto* datos = ventanaVisible<TFDatosIniciales>();
        if (!datos) throw std::runtime_error("no se abrieron los datos iniciales");
        for (const Parametro& p : kParametros) escribir(control<QLineEdit>(datos, p.caja), p.valor);
        clic(datos, "btnGuardar");
        descartarCerradas();
    }

    void periodo0() {
        accion(principal, "Período 0")->trigger();
        auto* cero = ventanaVisible<TFDecicionesPeriodo0>();
        if (!cero) throw std::runtime_error("no se abrió el período 0");
        const char* campos[] = {"precio", "marketing", "invYDes", "capacitacion", nullptr, "invPlanta", "pedPrestamoA", "pedPrestamoB"};
        for (int i = 0; i < kPeriodo0.size(); ++i)
            if (campos[i]) escribir(control<QLineEdit>(cero, campos[i]), kPeriodo0[i]);
        auto* nivel = control<QComboBox>(cero, "nivelProduccion");
        nivel->setCurrentIndex(nivel->findText(kPeriodo0[4]));
        clic(cero, "btnGuardar");
        descartarCerradas();
    }

    /// Opens the period's screen, types every team (or loads the stored
    /// decisions first and types only the changes), and runs the period.
    void periodo(int n, const QList<Decision>& decisiones, bool cargarTodas = false) {
        accion(principal, QStringLiteral("Período %1").arg(n))->trigger();
        auto* pantalla = ventanaVisible<TFDeciciones>();
        if (!pantalla) throw std::runtime_error("no se abrió la carga de decisiones");
        activar(pantalla);
        if (cargarTodas) clic(pantalla, "btnCargarDatosTodas");
        for (int equipo = 0; equipo < decisiones.size(); ++equipo) {
            const Decision& d = decisiones[equipo];
            const QList<QPair<const char*, int>> campos = {
                {"precio", d.precio},        {"marketing", d.marketing},     {"invYDes", d.invYDes},
                {"capacitacion", d.capacitacion},  {"invPlanta", d.invPlanta},     {"pedPrestamoA", d.pedPrestamoA},
                {"pedPrestamoB", d.pedPrestamoB},  {"devPrestamoA", d.devPrestamoA},  {"devPrestamoB", d.devPrestamoB},
            };
            for (const auto& [caja, valor] : campos) {
                QLineEdit* e = control<QLineEdit>(pantalla, caja);
                if (e->text() == QString::number(valor)) continue;
                escribir(e, QString::number(valor));
                ++camposTipeados;
            }
            auto* combo = control<QComboBox>(pantalla, "nivelProduccion");
            combo->setCurrentIndex(combo->findText(QString::number(d.nivelProduccion), Qt::MatchStartsWith));
            clic(pantalla, "btnSiguiente");
        }
        // "¿Pasar a la simulación?" is answered Yes.
        descartarCerradas();
        auto* simular = ventanaVisible<TFSimular>();
        if (!simular) throw std::runtime_error("no se abrió la pantalla de simulación");
        clic(simular, "btnSimular");
        descartarCerradas();
    }

    void volverAtras() { accion(principal, "Volver atrás")->trigger(); }

    QString periodosHabilitados() const {
        QStringList habilitados;
        for (int p = 0; p <= 10; ++p)
            if (accion(principal, QStringLiteral("Período %1").arg(p))->isEnabled()) habilitados << QString::number(p);
        return habilitados.join(QLatin1Char(','));
    }

    DialogosFalsos cajas;
    TFPrincipal principal{carpetaDePrueba().ruta()};
    int camposTipeados = 0;
};

/// The same game played with the command-line tool in its own folder.
class JuegoEnHerramienta {
public:
    QString carpeta() const { return juego_.path(); }

    void nuevo() {
        escribirEntrada("equipos.txt", kEquipos.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        QString parametros;
        for (const Parametro& p : kParametros) parametros += QStringLiteral("%1 = %2\n").arg(p.clave, p.valor);
        escribirEntrada("parametros.ini", parametros);
        correr({"nuevo", entradas_.filePath("equipos.txt"), entradas_.filePath("parametros.ini")});
    }
    void periodo0() { correr(QStringList{"periodo0"} + kPeriodo0); }
    void periodo(int n, const QList<Decision>& decisiones) {
        QString csv = QStringLiteral("precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,"
                                     "pedPrestamoA,pedPrestamoB,devPrestamoA,devPrestamoB\n");
        for (const Decision& d : decisiones) csv += d.filaCsv() + QLatin1Char('\n');
        const QString nombre = QStringLiteral("periodo%1-%2.csv").arg(n).arg(++archivos_);
        escribirEntrada(nombre, csv);
        correr({"decisiones", entradas_.filePath(nombre)});
        correr({"simular"});
    }
    void volverAtras() { correr({"volver"}); }

private:
    void escribirEntrada(const QString& nombre, const QString& texto) {
        QFile f(entradas_.filePath(nombre));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("no se pudo escribir");
        f.write(texto.toUtf8());
    }
    void correr(const QStringList& orden) {
        QProcess proceso;
        proceso.start(QStringLiteral(CORVELIAN_CLI), QStringList{"--datos", carpeta()} + orden);
        if (!proceso.waitForFinished(120000) || proceso.exitStatus() != QProcess::NormalExit ||
            proceso.exitCode() != 0)
            throw std::runtime_error(("corvelian-cli " + orden.join(' ') + " falló: ").toStdString() +
                                     proceso.readAllStandardError().toStdString());
    }

    QTemporaryDir juego_;
    QTemporaryDir entradas_;
    int archivos_ = 0;
};

}  // namespace

class PruebaJuegoCompleto : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void laVentanaJuegaComoLaHerramienta() {
        CarpetaDeJuego carpeta;
        JuegoEnVentana juego;
        juego.nuevo();
        QCOMPARE(juego.periodosHabilitados(), QStringLiteral("0"));
        juego.periodo0();
        QCOMPARE(juego.periodosHabilitados(), QStringLiteral("1"));
        juego.periodo(1, kPeriodo1);
        QCOMPARE(juego.periodosHabilitados(), QStringLiteral("2"));
        juego.periodo(2, kPeriodo2);
        QVERIFY(carpeta.existe("PenalidadEmpresa_Gamma.txt"));
        juego.cajas.cajas.clear();
        juego.periodo(3, kPeriodo3);
        QVERIFY(juego.cajas.textosMostrados().contains(QStringLiteral("La empresa \"Beta\" ha quebrado.")));
        QVERIFY(carpeta.existe("QuiebraEmpresa_Beta.txt"));
        QCOMPARE(juego.periodosHabilitados(), QStringLiteral("4"));
        QCOMPARE(parametrosGuardados().cantEquipos, uint8_t{2});

        juego.volverAtras();
        QCOMPARE(juego.periodosHabilitados(), QStringLiteral("3"));
        QCOMPARE(parametrosGuardados().cantEquipos, uint8_t{3});
        // The undone period's decisions come back with "Cargar Todas": only
        // the corrected price is typed.
        juego.camposTipeados = 0;
        juego.periodo(3, periodo3Corregido(), true);
        QCOMPARE(juego.camposTipeados, 1);
        QCOMPARE(juego.periodosHabilitados(), QStringLiteral("4"));
        QCOMPARE(parametrosGuardados().periodoActual, uint8_t{4});
        // No run opened the data folder; the menu does, when asked.
        QVERIFY(juego.cajas.carpetasAbiertas.isEmpty());


        JuegoEnHerramienta herramienta;
        herramienta.nuevo();
        herramienta.periodo0();
        herramienta.periodo(1, kPeriodo1);
        herramienta.periodo(2, kPeriodo2);
        herramienta.periodo(3, kPeriodo3);
        herramienta.volverAtras();
        herramienta.periodo(3, periodo3Corregido());

        const QMap<QString, QByteArray> ventana = archivosDe(carpeta.ruta(QString()));
        const QMap<QString, QByteArray> cli = archivosDe(herramienta.carpeta());
        QVERIFY(ventana.contains(QStringLiteral("INDZONA1.txt")));
        QVERIFY(ventana.contains(QStringLiteral("AUXACUM.DAT")));
        QVERIFY(ventana.contains(QStringLiteral("PenalidadEmpresa_Gamma.txt")));
        QCOMPARE(ventana.keys(), cli.keys());
        for (auto it = ventana.cbegin(); it != ventana.cend(); ++it)
            QVERIFY2(it.value() == cli.value(it.key()), qPrintable(it.key() + QStringLiteral(" difiere")));
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaJuegoCompleto)

#include "juego_completo_test.moc"
