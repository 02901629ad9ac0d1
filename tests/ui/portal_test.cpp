// The portal in the window: "Juego → Portal de equipos" starts and stops it
// and hands out the codes; the decisions screen marks who submitted and
// loads the submissions, which the game master then stores as usual.

#include "apoyo/DialogosFalsos.h"
#include "apoyo/Pantallas.h"

#include "juego/Juego.h"
#include "portal/ClienteHttp.h"
#include "portal/Portal.h"
#include "store/NombresArchivos.h"
#include "ui/CodigoQr.h"
#include "ui/UDeciciones.h"
#include "ui/UPortal.h"
#include "ui/UPrincipal.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <cstring>
#include <tuple>

namespace {

const std::vector<std::string> kEquipos = {"Alfa", "Beta", "Gama"};
const TRegDecision kAlfa{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};
const TRegDecision kBeta{60, 25, 2000, 100, 5, 6, 7, 8, 9, 10};
const TRegDecision kGama{100, 100, 20000, 10000, 1, 2, 3, 4, 5, 6};

bool iguales(const TRegDecision& a, const TRegDecision& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void juegoEnPeriodo1(bool conCodigos, const TComputadora& computadora) {
    juegoDePrueba().crearJuego(kEquipos, ejemploDatosIniciales(), computadora);
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    if (conCodigos) juegoDePrueba().codigosDeAcceso();
}

/// The teams' game in period 1 open in the main window, the dialogs answered
/// by the test; the game is made before the window opens it.
struct Aula {
    explicit Aula(bool conCodigos = true, const TComputadora& computadora = {})
        : principal((juegoEnPeriodo1(conCodigos, computadora), carpetaDePrueba().ruta())) {}
    /// "Juego → Portal de equipos", as the teacher opens it.
    TFPortal* abrirPortal() {
        item(&principal, "mnuPortal")->trigger();
        return ventanaVisible<TFPortal>();
    }
    CarpetaDeJuego carpeta;
    DialogosFalsos dialogos;
    TFPrincipal principal;
};

// Free on every address, so the portal may listen on all of them or on one.
quint16 puertoLibre() {
    QTcpServer prueba;
    prueba.listen(QHostAddress::Any, 0);
    return prueba.serverPort();
}

QString textoDelPdf(const QString& archivo) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), archivo, QStringLiteral("-")});
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

}  // namespace

class PruebaPortal : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { descartarCerradas(); }

    void laPantallaDeDecisionesMarcaYCargaLosEnvios() {
        Aula aula;
        auto& [carpeta, dialogos, principal] = aula;
        juegoDePrueba().guardarEnvio("Alfa", 1, kAlfa);
        juegoDePrueba().guardarEnvio("Gama", 1, kGama);
        auto* pantalla = new TFDeciciones(juegoDePrueba(), &principal);
        QCOMPARE(pantalla->enviadosPortal(), (std::vector<bool>{true, false, true}));
        const QString resumen = control<QLabel>(pantalla, "lblEnviosPortal")->text();
        QVERIFY2(resumen.contains(QStringLiteral("2 de 3")) && resumen.contains(QStringLiteral("Faltan: Beta")),
                 qPrintable(resumen));
        QVERIFY(!control<QLabel>(pantalla, "lblPortal")->text().isEmpty());  // Alfa on show

        control<QPushButton>(pantalla, "btnCargarPortal")->click();
        QVERIFY(iguales(pantalla->decisionesEquipos()[0], kAlfa));
        QVERIFY(iguales(pantalla->decisionesEquipos()[1], TRegDecision{}));
        QVERIFY(iguales(pantalla->decisionesEquipos()[2], kGama));
        QVERIFY(pantalla->decisionesSinGuardar());
        QVERIFY2(dialogos.textosMostrados().join(QLatin1Char('|')).contains(QStringLiteral("No enviaron las suyas: Beta")),
                 qPrintable(dialogos.textosMostrados().join(QLatin1Char('|'))));

        // Beta's submission arrives while the screen is open.
        juegoDePrueba().guardarEnvio("Beta", 1, kBeta);
        principal.portal().envioRecibido(QStringLiteral("Beta"));
        QCOMPARE(pantalla->enviadosPortal(), (std::vector<bool>{true, true, true}));
        control<QPushButton>(pantalla, "btnCargarPortal")->click();
        QVERIFY(iguales(pantalla->decisionesEquipos()[1], kBeta));

        // The game master goes through the teams as always; the screen stores them, then the period runs.
        dialogos.respuestas = {ServicioDialogos::Respuesta::no};
        for (int i = 0; i < 3; ++i) control<QPushButton>(pantalla, "btnSiguiente")->click();
        const auto guardadas = juegoDePrueba().decisionesGuardadas();
        QCOMPARE(guardadas.size(), std::size_t(3));
        QVERIFY(iguales(guardadas[0], kAlfa) && iguales(guardadas[1], kBeta) && iguales(guardadas[2], kGama));
        pantalla->close();
        QCOMPARE(juegoDePrueba().simular().periodo, 1);
    }

    void cargarLosEnviosDeUnJuegoQueCambioSeRechaza() {
        Aula aula;
        juegoDePrueba().guardarEnvio("Alfa", 1, kAlfa);
        auto* pantalla = new TFDeciciones(juegoDePrueba(), &aula.principal);
        juegoDePrueba().guardarDecisiones({kBeta, kBeta, kBeta});
        juegoDePrueba().simular();
        control<QPushButton>(pantalla, "btnCargarPortal")->click();
        QVERIFY(aula.dialogos.textosMostrados().join(QLatin1Char('|')).contains(QStringLiteral("El juego cambió")));
        for (const TRegDecision& d : pantalla->decisionesEquipos()) QVERIFY(iguales(d, TRegDecision{}));
        pantalla->close();
    }

    // A codes file two teams share a code in is mended from the window, not only from the tool.
    void unArchivoDeCodigosDanadoSeRehaceDesdeLaPantalla() {
        Aula aula;
        const auto codigos = juegoDePrueba().codigosDeAcceso();
        const QString archivo = QString::fromLatin1(kArchivoCodigos);
        const QByteArray bueno = aula.carpeta.leer(archivo);
        QVERIFY(bueno.contains(QByteArray::fromStdString(codigos[1].codigo)));
        aula.carpeta.escribir(archivo, QByteArray(bueno).replace(QByteArray::fromStdString(codigos[1].codigo),
                                                                QByteArray::fromStdString(codigos[0].codigo)));
        auto* ventana = aula.abrirPortal();
        QVERIFY(ventana);
        QVERIFY(control<QLabel>(ventana, "lblEstado")->text().contains(QStringLiteral("Renovar todos")));
        control<QPushButton>(ventana, "btnRenovarTodos")->click();
        QCOMPARE(control<QTableWidget>(ventana, "tblCodigos")->rowCount(), 3);
        QVERIFY(juegoDePrueba().codigosGuardados()[0].codigo != juegoDePrueba().codigosGuardados()[1].codigo);
        ventana->close();
    }

    void elDialogoIniciaDetieneYRenuevaCodigos() {
        Aula aula(false);
        auto& [carpeta, dialogos, principal] = aula;
        auto* ventana = aula.abrirPortal();
        QVERIFY(ventana);
        auto* tabla = control<QTableWidget>(ventana, "tblCodigos");
        QCOMPARE(tabla->rowCount(), 0);  // no codes until the portal starts
        // A port found free may be taken by another program before the
        // portal opens it: then the next one.
        for (int intento = 0; intento < 5 && !principal.portal().activo(); ++intento) {
            control<QSpinBox>(ventana, "edPuerto")->setValue(puertoLibre());
            control<QPushButton>(ventana, "btnIniciar")->click();
        }
        QVERIFY(principal.portal().activo());
        QCOMPARE(control<QPushButton>(ventana, "btnIniciar")->text(), QStringLiteral("&Detener"));
        const auto codigos = juegoDePrueba().codigosGuardados();
        QCOMPARE(tabla->rowCount(), 3);
        for (int fila = 0; fila < 3; ++fila) {
            QCOMPARE(tabla->item(fila, 0)->text(), QString::fromStdString(kEquipos[fila]));
            QCOMPARE(tabla->item(fila, 1)->text().remove(QLatin1Char(' ')), QString::fromStdString(codigos[fila].codigo));
        }

        tabla->selectRow(1);
        control<QPushButton>(ventana, "btnRenovar")->click();
        const auto renovados = juegoDePrueba().codigosGuardados();
        QVERIFY(renovados[1].codigo != codigos[1].codigo);
        QCOMPARE(renovados[0].codigo, codigos[0].codigo);
        QCOMPARE(tabla->item(1, 1)->text().remove(QLatin1Char(' ')), QString::fromStdString(renovados[1].codigo));

        // The deadline: a time that is not one is refused and sets nothing.
        auto* plazo = control<QLineEdit>(ventana, "edPlazo");
        for (const char* texto : {"25:00", "10:59"}) {
            plazo->setText(QString::fromLatin1(texto));
            control<QPushButton>(ventana, "btnPlazo")->click();
        }
        QVERIFY(dialogos.textosMostrados().join(QLatin1Char('|')).contains(QStringLiteral("«25:00» no es una hora")));
        QVERIFY(principal.portal().plazo().has_value());
        QCOMPARE(QString::fromStdString(textoHora(*principal.portal().plazo())), QStringLiteral("10:59"));
        QVERIFY(control<QLabel>(ventana, "lblPlazo")->text().contains(QStringLiteral("10:59")));
        control<QPushButton>(ventana, "btnCerrarSesiones")->click();
        QVERIFY(dialogos.textosMostrados().last().contains(QStringLiteral("Se cerraron 0 sesiones de «Beta»")));
        // The register of submissions, newest first.
        juegoDePrueba().anotarEnvios({{std::chrono::system_clock::now(), 1, "Alfa", "10.0.0.7", {"70"}, true, {}},
                                      {std::chrono::system_clock::now(), 1, "Beta", "10.0.0.8", {"x"}, false, "malo"}});
        ventana->actualizarEnvios();
        auto* envios = control<QTableWidget>(ventana, "tblEnvios");
        QCOMPARE(envios->rowCount(), 2);
        QCOMPARE(envios->item(0, 2)->text(), QStringLiteral("Beta"));
        QCOMPARE(envios->item(0, 3)->text(), QStringLiteral("10.0.0.8"));

        // Closing the screen leaves the portal running; closing the window stops it.
        ventana->close();
        QVERIFY(principal.portal().activo());
        dialogos.cajas.clear();
        principal.close();  // asked first: the teams lose the portal
        QVERIFY(dialogos.textosMostrados().value(0).startsWith(
            QStringLiteral("El portal de equipos está abierto y se cerrará: 0 equipos conectados; 0 de 3 equipos "
                           "enviaron")));
        QVERIFY(!principal.portal().activo());
    }

    // Every attempt shows at once, the refused ones with their reason, under Spanish captions.
    void losEnviosRecibidosSeVenAlLlegar() {
        Aula aula;
        auto* envios = control<QTableWidget>(aula.abrirPortal(), "tblEnvios");
        QCOMPARE(envios->horizontalHeaderItem(6)->text(), QStringLiteral("Investigación y desarrollo"));
        const quint16 puerto = aula.principal.portal().iniciar(QHostAddress::LocalHost, 0);
        const auto codigos = juegoDePrueba().codigosGuardados();
        const std::tuple<std::size_t, TRegDecision, int, QString> intentos[] = {
            {0, kAlfa, 303, "guardado"}, {1, {30, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0}, 400, "rechazado"}, {2, kGama, 303, "guardado"}};
        for (int filas = 1; const auto& [equipo, decision, estado, resultado] : intentos) {
            TClienteHttp cliente(puerto);
            QCOMPARE(cliente.entrar(QString::fromStdString(codigos[equipo].codigo)).estado, 303);
            QCOMPARE(cliente.post("/decisiones", formularioDe(cliente.csrf(), 1, decision)).estado, estado);
            // The newest first, as soon as the answer is given.
            QTRY_COMPARE_WITH_TIMEOUT(envios->rowCount(), filas, 2000);
            QCOMPARE(envios->item(0, 2)->text() + envios->item(0, envios->columnCount() - 2)->text(),
                     QString::fromStdString(kEquipos[equipo]) + resultado);
            ++filas;
        }
        QVERIFY(envios->item(1, envios->columnCount() - 1)->text().contains(QStringLiteral("precio")));
    }

    // The teacher picks the network the portal listens on; the screen says what to type.
    void laRedElegidaEsDondeEscucha_data() {
        QTest::addColumn<QString>("elegida");  // the combo's address, empty for "Todas"
        QTest::addColumn<QString>("escrita");  // how the address to type begins
        const QString primera = direccionesIpv4().value(0);
        QTest::newRow("todas") << QString()
                               << (primera.isEmpty() ? QStringLiteral("(esta computadora") : QStringLiteral("http://") + primera);
        QTest::newRow("solo esta computadora") << QStringLiteral("127.0.0.1") << QStringLiteral("http://127.0.0.1:");
    }
    void laRedElegidaEsDondeEscucha() {
        QFETCH(QString, elegida);
        QFETCH(QString, escrita);
        Aula aula;
        auto* ventana = aula.abrirPortal();
        auto* red = control<QComboBox>(ventana, "cmbDireccion");
        red->setCurrentIndex(red->findData(elegida));
        control<QSpinBox>(ventana, "edPuerto")->setValue(puertoLibre());
        control<QPushButton>(ventana, "btnIniciar")->click();
        QCOMPARE(aula.principal.portal().direccion(), elegida.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(elegida));
        QVERIFY(control<QLabel>(ventana, "lblDirecciones")->text().startsWith(escrita));
    }

    // Closing with the portal open counts the class's teams, not the computer's companies.
    void salirCuentaSoloLosEquipos_data() {
        QTest::addColumn<QStringList>("computadora");
        QTest::addColumn<QString>("pregunta");
        const QString salir = QStringLiteral("¿Seguro que desea salir del juego?");
        QTest::newRow("solo equipos") << QStringList()
                                      << QStringLiteral("El portal de equipos está abierto y se cerrará: 0 equipos "
                                                        "conectados; 1 de 3 equipos enviaron sus decisiones de este "
                                                        "período.\n") + salir;
        QTest::newRow("dos de la computadora")
            << QStringList{QStringLiteral("Beta"), QStringLiteral("Gama")}
            << QStringLiteral("El portal de equipos está abierto y se cerrará: 0 equipos conectados; 1 de 1 equipos "
                              "enviaron sus decisiones de este período.\n") + salir;
        QTest::newRow("ningún equipo")
            << QStringList{QStringLiteral("Alfa"), QStringLiteral("Beta"), QStringLiteral("Gama")} << salir;
    }
    void salirCuentaSoloLosEquipos() {
        QFETCH(QStringList, computadora);
        QFETCH(QString, pregunta);
        TComputadora deLaComputadora{7, {}};
        for (const QString& nombre : computadora)
            deLaComputadora.empresas.push_back({nombre.toStdString(), TEstilo::prudente});
        Aula aula(true, deLaComputadora);
        auto& [carpeta, dialogos, principal] = aula;
        if (!computadora.contains(QStringLiteral("Alfa"))) juegoDePrueba().guardarEnvio("Alfa", 1, kAlfa);
        principal.portal().iniciar(QHostAddress::LocalHost, 0);
        QVERIFY(principal.portal().activo());
        principal.close();
        QCOMPARE(dialogos.textosMostrados(), QStringList{pregunta});
    }

    // Another folder while teams are on the portal: asked first, naming them, No by default.
    void abrirOtraCarpetaPreguntaAntesDeCerrarElPortal_data() {
        QTest::addColumn<bool>("acepta");
        QTest::newRow("No, por omisión") << false;
        QTest::newRow("Sí") << true;
    }
    void abrirOtraCarpetaPreguntaAntesDeCerrarElPortal() {
        QFETCH(bool, acepta);
        Aula aula;
        auto& [carpeta, dialogos, principal] = aula;
        const auto codigos = juegoDePrueba().codigosDeAcceso();
        QTemporaryDir otra;
        TPortal& portal = principal.portal();
        const quint16 puerto = portal.iniciar(QHostAddress::LocalHost, 0);
        TClienteHttp alfa(puerto), gama(puerto);
        for (auto [telefono, codigo] : {std::pair{&alfa, codigos[0]}, std::pair{&gama, codigos[2]}})
            QVERIFY(telefono->get("/").estado == 200 && telefono->entrar(QString::fromStdString(codigo.codigo)).estado == 303);
        if (acepta) dialogos.respuestas.push_back(ServicioDialogos::Respuesta::si);
        QCOMPARE(principal.abrirCarpetaDeJuego(otra.path()), acepta);
        QCOMPARE(dialogos.textosMostrados(), QStringList{"El portal está abierto con 2 equipos conectados: Alfa, Gama; "
                                                         "¿cerrarlo y abrir la otra carpeta?"});
        QCOMPARE(juegoDePrueba().ruta() == principal.juego().ruta(), !acepta);
        // Declined, the teams keep their sessions; accepted, the old portal went with its game.
        QCOMPARE(acepta ? principal.portal().activo() : portal.equiposConectados() == 2, !acepta);
        if (!acepta) portal.detener();
    }

    void losTopesYUnPlazoVencidoSeVenEnLaPantalla() {
        Aula aula;
        auto& [carpeta, dialogos, principal] = aula;
        auto* ventana = aula.abrirPortal();
        QVERIFY(ventana);
        // The cap per address typed on the screen is in force at once.
        control<QSpinBox>(ventana, "edConexiones")->setValue(2);
        QCOMPARE(principal.portal().conexionesPorDireccion(), 2u);
        const quint16 puerto = principal.portal().iniciar(QHostAddress::LocalHost, 0);
        std::vector<std::unique_ptr<QTcpSocket>> conexiones;
        for (int i = 0; i < 3; ++i) {
            conexiones.push_back(std::make_unique<QTcpSocket>());
            conexiones.back()->bind(QHostAddress(QStringLiteral("127.0.6.1")));
            conexiones.back()->connectToHost(QHostAddress::LocalHost, puerto);
            QVERIFY(conexiones.back()->waitForConnected(5000));
        }
        QVERIFY(conexiones.back()->waitForDisconnected(5000));  // the third is turned away
        ventana->actualizarAvisos();
        const QString topes = control<QLabel>(ventana, "lblTopes")->text();
        QVERIFY2(topes.contains(QStringLiteral("127.0.6.1 llegó al tope de conexiones por dirección (2)")), qPrintable(topes));

        // A deadline already past is set, and said so.
        control<QLineEdit>(ventana, "edPlazo")->setText(QStringLiteral("00:00"));
        control<QPushButton>(ventana, "btnPlazo")->click();
        QVERIFY(principal.portal().plazo().has_value());
        QVERIFY(dialogos.textosMostrados().join(QLatin1Char('|')).contains(QStringLiteral("Las 00:00 ya pasaron")));
        QVERIFY(control<QLabel>(ventana, "lblPlazo")->text().contains(QStringLiteral("ya pasó")));
        principal.portal().detener();
        ventana->close();
    }

    void lasTarjetasLlevanEquipoCodigoYDireccion() {
        CarpetaDeJuego carpeta;
        std::vector<std::string> equipos;
        for (int i = 1; i <= 9; ++i) equipos.push_back("Equipo " + std::to_string(i));
        juegoDePrueba().crearJuego(equipos, ejemploDatosIniciales());
        const auto codigos = juegoDePrueba().codigosDeAcceso();
        QTemporaryDir destino;
        const QString archivo = destino.filePath(QStringLiteral("tarjetas.pdf"));
        QPrinter impresora(QPrinter::HighResolution);
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(archivo);
        QCOMPARE(imprimirTarjetas(impresora, codigos, QStringLiteral("http://10.1.2.3:8080/")), 2);
        const QString texto = textoDelPdf(archivo);
        for (const TCodigoEquipo& c : codigos) {
            const QString codigo = QString::fromStdString(c.codigo);
            QVERIFY2(texto.contains(codigo.left(4) + QLatin1Char(' ') + codigo.mid(4)), qPrintable(codigo));
            QVERIFY(texto.contains(QString::fromStdString(c.empresa)));
        }
        QCOMPARE(texto.count(QStringLiteral("http://10.1.2.3:8080/")), 9);
    }

    void elCodigoQrTieneSusMarcasDeEsquina() {
        const int escala = 3;
        const QImage qr = imagenQr(QStringLiteral("http://192.168.0.10:8080/"), escala);
        QVERIFY(!qr.isNull());
        const int modulos = qr.width() / escala - 8;
        QCOMPARE(qr.width(), qr.height());
        QVERIFY(modulos >= 21 && (modulos - 21) % 4 == 0);  // a QR version's size
        auto oscuro = [&](int x, int y) { return qGray(qr.pixel((x + 4) * escala + 1, (y + 4) * escala + 1)) < 128; };
        // The three finder patterns: a dark ring, a light ring, a dark 3x3 core.
        for (const auto& [ox, oy] : {std::pair{0, 0}, std::pair{modulos - 7, 0}, std::pair{0, modulos - 7}}) {
            QVERIFY(oscuro(ox, oy) && oscuro(ox + 6, oy + 6) && oscuro(ox + 3, oy + 3));
            QVERIFY(!oscuro(ox + 1, oy + 1) && !oscuro(ox + 5, oy + 5));
        }
        QVERIFY(qGray(qr.pixel(1, 1)) >= 128);  // the quiet zone
    }
};

CORVELIAN_PRUEBA_PANTALLAS(PruebaPortal)
#include "portal_test.moc"
