// The portal through HTTP on a loopback port: codes, logins and lock-out, a
// period played from the teams' submissions, what each team may see, and
// the requests it refuses without storing anything.

#include "portal/PortalDePrueba.h"

#include "portal/Paginas.h"
#include "store/SistemaArchivos.h"

#include <QCoreApplication>
#include <QUrl>

#include <thread>
#include <tuple>

#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray pedidoCon(const QByteArray& lineaYCabeceras, const QByteArray& cuerpo = {}) {
    return lineaYCabeceras + "Host: 127.0.0.1\r\nConnection: close\r\n\r\n" + cuerpo;
}

/// Whether the portal closes connection s within segundos; whatever it answers first is read and dropped.
bool cerradaEn(int s, int segundos) {
    timeval espera{segundos, 0};
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &espera, sizeof espera);
    char trozo[4096];
    for (;;) {
        const ssize_t n = ::recv(s, trozo, sizeof trozo, 0);
        if (n == 0 || (n < 0 && errno == ECONNRESET)) return true;
        if (n < 0) return false;
    }
}

/// Whether s is still open and has nothing to read, without waiting.
bool abiertaYCallada(int s) {
    char byte;
    return ::recv(s, &byte, 1, MSG_DONTWAIT) < 0 && errno == EAGAIN;
}

void enviar(int s, const QByteArray& bytes) { ::send(s, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL); }

}  // namespace

TEST_F(PortalHttp, UnPeriodoJugadoDesdeLosEnviosDeLosEquipos) {
    // Every team enters with its code and submits its own decisions.
    for (std::size_t i = 0; i < kEquipos.size(); ++i) {
        TClienteHttp cliente(puerto);
        const TRespuestaHttp entrada = cliente.entrar(QString::fromStdString(codigos[i].codigo).toLower());
        ASSERT_EQ(entrada.estado, 303);
        EXPECT_EQ(entrada.cabeceras.value("location"), "/decisiones");
        const QByteArray galleta = entrada.cabeceras.value("set-cookie");
        for (const char* atributo : {"HttpOnly", "SameSite=Strict", "Path=/"})
            EXPECT_TRUE(galleta.contains(atributo)) << galleta.constData();
        const TRespuestaHttp envio = cliente.post("/decisiones", formularioDe(cliente.csrf(), 1, decisionDelEquipo(int(i))));
        EXPECT_EQ(envio.estado, 303) << envio.texto().toStdString();
        // The page shows the team's own submission back.
        const QString pagina = cliente.get("/decisiones").texto();
        EXPECT_EQ(valorDelCampo(pagina, QStringLiteral("precio")), QString::number(60 + 10 * int(i)));
        EXPECT_EQ(valorDelCampo(pagina, QStringLiteral("nivelProduccion")), QString::number(25 * (int(i) + 1)));
    }
    // What the decision screen loads is what the teams sent.
    const auto envios = juegoDePrueba().enviosDelPeriodo();
    ASSERT_EQ(envios.size(), kEquipos.size());
    for (std::size_t i = 0; i < envios.size(); ++i) {
        ASSERT_TRUE(envios[i]) << i;
        EXPECT_TRUE(iguales(*envios[i], decisionDelEquipo(int(i)))) << i;
    }
    EXPECT_EQ(juegoDePrueba().guardarDecisionesDelPortal(), 3);
    ASSERT_EQ(juegoDePrueba().simular().periodo, 1);

    // Each team sees its new report, and only its own.
    const TArchivoPeriodo periodo = juegoDePrueba().periodoDelHistorial(1);
    for (std::size_t i = 0; i < kEquipos.size(); ++i) {
        TClienteHttp cliente = clienteDe(i);
        const TRespuestaHttp reporte = cliente.get("/reportes/1");
        ASSERT_EQ(reporte.estado, 200);
        for (std::size_t j = 0; j < kEquipos.size(); ++j) {
            const QString texto = bloqueReporte(juegoDePrueba().reporteDelHistorial(1, periodo.industria[j].reporte));
            EXPECT_EQ(reporte.texto().contains(texto), i == j) << i << " sees " << j;
        }
        const TRespuestaHttp pdf = cliente.get("/pdf/1");
        EXPECT_EQ(pdf.estado, 200);
        EXPECT_EQ(pdf.cabeceras.value("content-type"), "application/pdf");
        EXPECT_TRUE(pdf.cuerpo.startsWith("%PDF-"));
        const TRespuestaHttp industria = cliente.get("/industria/1");
        EXPECT_TRUE(industria.texto().contains(bloqueReporte(juegoDePrueba().reporteDelHistorial(1, periodo.reporteIndustria))));
        // Period 2 is open now, and nothing of period 1 is shown as sent.
        const QString pagina = cliente.get("/decisiones").texto();
        EXPECT_TRUE(pagina.contains(QStringLiteral("Decisiones del período 2")));
        EXPECT_FALSE(pagina.contains(QStringLiteral("están guardadas")));
    }
}

TEST_F(PortalHttp, LosNombresYLoQueSeDevuelveSeMuestranComoTexto) {
    TClienteHttp cliente = clienteDe(1);
    const QString pagina = cliente.get("/decisiones").texto();
    EXPECT_FALSE(pagina.contains(QStringLiteral("<script>")));
    EXPECT_TRUE(pagina.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;")));
    TClienteHttp gama = clienteDe(2);
    EXPECT_TRUE(gama.get("/decisiones").texto().contains(QStringLiteral("Gama &amp; &quot;Cía&quot;")));
    // A value typed in a field comes back escaped with the refusal.
    QByteArray cuerpo = formularioDe(cliente.csrf(), 1, decisionDelEquipo(0));
    cuerpo.replace("precio=60", "precio=%22%3E%3Cscript%3E");
    const TRespuestaHttp r = cliente.post("/decisiones", cuerpo);
    EXPECT_EQ(r.estado, 400);
    EXPECT_FALSE(r.texto().contains(QStringLiteral("\"><script>")));
    EXPECT_TRUE(r.texto().contains(QStringLiteral("&quot;&gt;&lt;script&gt;")));
    EXPECT_TRUE(r.cabeceras.value("content-security-policy").startsWith("default-src 'none'"));
}

TEST_F(PortalHttp, LosPedidosRechazadosNoGuardanNada) {
    TClienteHttp cliente = clienteDe(0);
    const QByteArray csrf = cliente.csrf();
    ASSERT_FALSE(csrf.isEmpty());
    TClienteHttp sinSesion(puerto);
    QByteArray grande = formularioDe(csrf, 1, decisionDelEquipo(0));
    grande += "&relleno=" + QByteArray(TPortal::kCuerpoMaximo, 'x');
    struct Caso {
        const char* nombre;
        TClienteHttp* cliente;
        QByteArray metodo, ruta, cuerpo;
        int estado;
        QString dice;
    };
    const Caso casos[] = {
        {"sin token", &cliente, "POST", "/decisiones", formularioDe("", 1, decisionDelEquipo(0)), 403, {}},
        {"token de otro", &cliente, "POST", "/decisiones", formularioDe(QByteArray(64, 'a'), 1, decisionDelEquipo(0)), 403, {}},
        {"cuerpo de más de 16 KiB", &cliente, "POST", "/decisiones", grande, 413, {}},
        {"otro período", &cliente, "POST", "/decisiones", formularioDe(csrf, 2, decisionDelEquipo(0)), 409,
         QStringLiteral("El período 2 no está abierto")},
        {"precio fuera de rango", &cliente, "POST", "/decisiones",
         formularioDe(csrf, 1, TRegDecision{101, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 400,
         QString::fromUtf8(rangoDecision(&TRegDecision::precio).mensajePantalla)},
        {"sin sesión", &sinSesion, "POST", "/decisiones", formularioDe(csrf, 1, decisionDelEquipo(0)), 303, {}},
        {"salir sin token", &cliente, "POST", "/salir", "", 403, {}},
        {"ruta desconocida", &cliente, "GET", "/otra", "", 404, {}},
        {"un archivo del juego", &cliente, "GET", "/CODIGOS%20PORTAL.txt", "", 404, {}},
        {"listado", &cliente, "GET", "/reportes/", "", 404, {}},
        {"ruta que sube", &cliente, "GET", "/reportes/0/../../DECISIONES.DAT", "", 404, {}},
        {"período que no es número", &cliente, "GET", "/reportes/x", "", 404, {}},
        {"período sin informes", &cliente, "GET", "/reportes/5", "", 404, {}},
        {"número de empresa", &cliente, "GET", "/reportes/0/2", "", 404, {}},
        {"método equivocado", &cliente, "GET", "/entrar", "", 405, {}},
    };
    const TFoto antes = juegoEn(carpeta.ruta());
    for (const Caso& caso : casos) {
        ahora += TSesiones::kEntreEnvios;  // one submission a second per team
        const TRespuestaHttp r = caso.cliente->pedir(caso.metodo, caso.ruta, caso.cuerpo);
        EXPECT_EQ(r.estado, caso.estado) << caso.nombre;
        EXPECT_TRUE(r.texto().contains(caso.dice)) << caso.nombre << ": " << r.texto().toStdString();
        EXPECT_EQ(diferencias(antes, juegoEn(carpeta.ruta())), "") << caso.nombre;
    }
    // The register names the two submissions of a session that the game refused, and why.
    const auto filas = filasDelRegistro(juegoDePrueba().registroDelPortal());
    ASSERT_EQ(filas.size(), 3u);
    EXPECT_EQ(filas[1][1], "2");
    EXPECT_EQ(filas[1][3], "127.0.0.1");
    EXPECT_EQ(filas[2][4], "101");
    for (std::size_t i = 1; i < filas.size(); ++i) EXPECT_EQ(filas[i][filas[i].size() - 2], "rechazado");
    EXPECT_EQ(filas[2].back(), rangoDecision(&TRegDecision::precio).mensajePantalla);
    for (const auto& envio : juegoDePrueba().enviosDelPeriodo()) EXPECT_FALSE(envio.has_value());
    // The session is still good after all that.
    EXPECT_EQ(cliente.post("/decisiones", formularioDe(csrf, 1, decisionDelEquipo(0))).estado, 303);
}

// A change interrupted while the portal serves is undone by the first page
// that reads the game, on a server thread; the game's notifier hears of it
// on the portal's thread, as it hears of what the game itself undoes.
TEST_F(PortalHttp, LoQueUnPedidoDeshaceLoOyeElNotificadorDelJuego) {
    TClienteHttp cliente = clienteDe(0);
    const std::filesystem::path interrumpido = carpeta / (std::string(kArchivoDecisiones) + kSufijoTemporal);
    escribirBytes(interrumpido, {'x'});
    registroNotificador().eventos.clear();
    EXPECT_EQ(cliente.get("/decisiones").estado, 200);
    EXPECT_FALSE(std::filesystem::exists(interrumpido));
    // The page was answered after the roll-back was told.
    QCoreApplication::sendPostedEvents(&portal);
    ASSERT_EQ(registroNotificador().eventos.size(), 1u);
    EXPECT_NE(registroNotificador().eventos[0].find(cp1252("se interrumpió")), std::string::npos)
        << registroNotificador().eventos[0];
}

TEST_F(PortalHttp, UnEnvioMientrasOtroProgramaUsaElJuegoPideVolverAIntentar) {
    TClienteHttp cliente = clienteDe(0);
    const QByteArray csrf = cliente.csrf();
    const TFoto antes = fotografiar(carpeta.ruta());
    const int otro = carpetaDePrueba().sa().bloquear(carpeta / "CORVELIAN.LCK", true);
    ASSERT_GE(otro, 0);
    const TRespuestaHttp r = cliente.post("/decisiones", formularioDe(csrf, 1, decisionDelEquipo(0)));
    carpetaDePrueba().sa().cerrar(otro);
    EXPECT_EQ(r.estado, 503);
    EXPECT_TRUE(r.texto().contains(QStringLiteral("vuelva a enviar"))) << r.texto().toStdString();
    EXPECT_EQ(diferencias(antes, fotografiar(carpeta.ruta())), "");
    ahora += TSesiones::kEntreEnvios;
    EXPECT_EQ(cliente.post("/decisiones", formularioDe(csrf, 1, decisionDelEquipo(0))).estado, 303);
}

TEST_F(PortalHttp, CincoCodigosErradosBloqueanLaDireccionUnMinuto) {
    TClienteHttp cliente(puerto);
    for (int i = 0; i < TPortal::kIntentosFallidos; ++i) {
        const TRespuestaHttp r = cliente.entrar(QStringLiteral("ZZZZ-ZZZZ"));
        EXPECT_EQ(r.estado, 403) << i;
        EXPECT_TRUE(r.texto().contains(QStringLiteral("El código no es válido"))) << i;
        EXPECT_FALSE(r.cabeceras.contains("set-cookie"));
    }
    // Locked out: even the right code is refused for a minute.
    const QString bueno = QString::fromStdString(codigos[0].codigo);
    EXPECT_EQ(cliente.entrar(bueno).estado, 429);
    ahora += std::chrono::seconds(59);
    EXPECT_EQ(cliente.entrar(bueno).estado, 429);
    ahora += std::chrono::seconds(2);
    EXPECT_EQ(cliente.entrar(bueno).estado, 303);
    EXPECT_FALSE(cliente.cookie.isEmpty());
}

TEST_F(PortalHttp, LosCodigosErradosDeTodoElAulaNoDejanAfueraAlCodigoBueno) {
    // 24 addresses with 5 wrong codes each reach the portal's limit per minute.
    for (int d = 1; d * TPortal::kIntentosFallidos <= TPortal::kFallidosPorMinuto; ++d) {
        TClienteHttp intruso(puerto, QStringLiteral("127.0.2.%1").arg(d));
        for (int i = 0; i < TPortal::kIntentosFallidos; ++i)
            ASSERT_EQ(intruso.entrar(QStringLiteral("ZZZZ-ZZZZ")).estado, 403) << d << " " << i;
    }
    // A team's right code still gets in; an unknown one is held back.
    TClienteHttp equipo(puerto, QStringLiteral("127.0.3.1"));
    const TRespuestaHttp errado = equipo.entrar(QStringLiteral("ZZZZ-ZZZY"));
    EXPECT_EQ(errado.estado, 429);
    EXPECT_TRUE(errado.texto().contains(QStringLiteral("demasiados códigos errados en el portal")));
    EXPECT_EQ(equipo.entrar(QString::fromStdString(codigos[0].codigo)).estado, 303);
    EXPECT_FALSE(equipo.cookie.isEmpty());
}

TEST_F(PortalHttp, SalirORenovarElCodigoTerminaLaSesion) {
    TClienteHttp alfa = clienteDe(0);
    TClienteHttp beta = clienteDe(1);
    const TRespuestaHttp salida = alfa.post("/salir", formulario({{QStringLiteral("csrf"), QString::fromUtf8(alfa.csrf())}}));
    EXPECT_EQ(salida.estado, 303);
    EXPECT_EQ(alfa.get("/decisiones").estado, 303);
    EXPECT_EQ(beta.get("/decisiones").estado, 200);
    juegoDePrueba().renovarCodigo(kEquipos[1]);
    EXPECT_EQ(beta.get("/decisiones").estado, 303);
    EXPECT_EQ(beta.get("/reportes/0").estado, 303);
    // A stolen cookie is no use once the portal stops.
    TClienteHttp gama = clienteDe(2);
    portal.detener();
    EXPECT_FALSE(portal.activo());
    EXPECT_EQ(gama.get("/decisiones").estado, 0);
}

TEST_F(PortalHttp, SinPeriodoAbiertoSeMuestraPorQueYNoSeRecibeNada) {
    portal.detener();
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    iniciar();
    TClienteHttp cliente = clienteDe(0);
    const QString pagina = cliente.get("/decisiones").texto();
    EXPECT_TRUE(pagina.contains(QStringLiteral("Ahora no se reciben decisiones"))) << pagina.toStdString();
    EXPECT_FALSE(pagina.contains(QStringLiteral("name=\"precio\"")));
    const TFoto antes = juegoEn(carpeta.ruta());
    const TRespuestaHttp r = cliente.post("/decisiones", formularioDe(cliente.csrf(), 1, decisionDelEquipo(0)));
    EXPECT_EQ(r.estado, 409);
    EXPECT_TRUE(r.texto().contains(QStringLiteral("Todavía no se corrió el período 0")));
    EXPECT_EQ(diferencias(antes, juegoEn(carpeta.ruta())), "");
}

TEST_F(PortalHttp, LoQueSeRechazaAlLlegarLasCabeceras) {
    const QByteArray codigo = "codigo=" + QByteArray::fromStdString(codigos[0].codigo);
    const QByteArray largo = "Content-Length: " + QByteArray::number(codigo.size()) + "\r\n";
    QByteArray muchas;
    for (int i = 0; i < 20000; ++i) muchas += "X-" + QByteArray::number(i) + ": a\r\n";
    const std::tuple<const char*, QByteArray, int> casos[] = {  // name, request, status
        {"20.000 cabeceras", pedidoCon("GET / HTTP/1.1\r\n" + muchas), 431},
        {"una cabecera de 1 MiB", pedidoCon("GET / HTTP/1.1\r\nX-A: " + QByteArray(1 << 20, 'a') + "\r\n"), 431},
        {"dos largos", pedidoCon("POST /entrar HTTP/1.1\r\n" + largo + largo, codigo), 400},
        {"largo y trozos", pedidoCon("POST /entrar HTTP/1.1\r\n" + largo + "Transfer-Encoding: chunked\r\n", codigo), 400},
        {"entrar desde otro sitio", pedidoCon("POST /entrar HTTP/1.1\r\nOrigin: http://malo.example\r\n" + largo, codigo), 403},
        {"entrar con Sec-Fetch-Site", pedidoCon("POST /entrar HTTP/1.1\r\nSec-Fetch-Site: cross-site\r\n" + largo, codigo), 403},
        {"entrar desde una página sin origen", pedidoCon("POST /entrar HTTP/1.1\r\nOrigin: null\r\n" + largo, codigo), 403},
        {"entrar desde el portal", pedidoCon("POST /entrar HTTP/1.1\r\nOrigin: http://127.0.0.1\r\n" + largo, codigo), 303},
        {"un blanco antes de los dos puntos", pedidoCon("POST /entrar HTTP/1.1\r\nContent-Length : 3\r\n", "abc"), 400},
        {"dos anfitriones", pedidoCon("GET / HTTP/1.1\r\nHost: otro.example\r\n"), 400},
        {"un control en una cabecera", pedidoCon("GET / HTTP/1.1\r\nX-A: a\x01z\r\n"), 400},
        {"un NUL en una cabecera", pedidoCon(QByteArrayLiteral("GET / HTTP/1.1\r\nX-A: a\0z\r\n")), 400},
        {"un NUL en la última cabecera", QByteArrayLiteral("GET / HTTP/1.1\r\nHost: 1\r\nX-A: a\0z\r\n\r\n"), 400},
        {"un NUL codificado en la ruta", pedidoCon("GET /decisiones%00/../x HTTP/1.1\r\n"), 400},
        {"un salto de línea codificado en la ruta", pedidoCon("GET /%0d%0aSet-Cookie:x HTTP/1.1\r\n"), 400},
    };
    for (const auto& [nombre, pedido, estado] : casos) {
        const QByteArray r = pedidoCrudo(puerto, pedido);
        EXPECT_EQ(estadoCrudo(r), estado) << nombre << ": " << r.left(200).constData();
        EXPECT_EQ(r.contains("Set-Cookie"), estado == 303) << nombre;
    }
    // HEAD is answered as GET, without the body.
    const QByteArray get = pedidoCrudo(puerto, pedidoCon("GET / HTTP/1.1\r\n"));
    const QByteArray head = pedidoCrudo(puerto, pedidoCon("HEAD / HTTP/1.1\r\n"));
    EXPECT_EQ(estadoCrudo(head), 200);
    EXPECT_TRUE(head.endsWith("\r\n\r\n")) << head.constData();
    const QByteArray largoDelGet = "Content-Length: " + QByteArray::number(get.size() - get.indexOf("\r\n\r\n") - 4);
    EXPECT_TRUE(head.contains(largoDelGet)) << head.constData();
}

TEST_F(PortalHttp, UnCuerpoDe64MiBSeRechazaSinLeerlo) {
    const long long antes = memoriaResidente();
    for (const QByteArray& cabeceras : {QByteArray("Content-Length: 67108864\r\n"), QByteArray("Transfer-Encoding: chunked\r\n")}) {
        const int s = conectarCrudo(puerto);
        ASSERT_GE(s, 0);
        const QByteArray inicio = "POST /entrar HTTP/1.1\r\nHost: 127.0.0.1\r\n" + cabeceras + "\r\n";
        ASSERT_EQ(::send(s, inicio.constData(), size_t(inicio.size()), MSG_NOSIGNAL), inicio.size());
        // The body is pushed until the portal stops taking it.
        const QByteArray trozo = cabeceras.startsWith("Transfer") ? "10000\r\n" + QByteArray(0x10000, 'x') + "\r\n"
                                                                  : QByteArray(0x10000, 'x');
        timeval espera{2, 0};
        ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &espera, sizeof espera);
        ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &espera, sizeof espera);
        long long enviado = 0;
        for (ssize_t n; enviado < (64 << 20) && (n = ::send(s, trozo.constData(), size_t(trozo.size()), MSG_NOSIGNAL)) > 0;)
            enviado += n;
        char respuesta[64] = {};
        ::recv(s, respuesta, sizeof respuesta - 1, 0);
        ::close(s);
        EXPECT_LT(enviado, 64 << 20) << cabeceras.constData();
        // The refusal may be lost under the reset of a body still arriving; nothing else may come.
        EXPECT_TRUE(!respuesta[0] || estadoCrudo(respuesta) == 413) << respuesta;
    }
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer's own memory alone passes 100 MB; the growth below holds there too.
    EXPECT_LT(memoriaResidente(), 100ll << 20);
#endif
    EXPECT_LT(memoriaResidente() - antes, 8ll << 20);
}

TEST_F(PortalHttp, CodigosErradosYBuenosAlternadosSeBloqueanALosCinco) {
    TClienteHttp cliente(puerto);
    const QString bueno = QString::fromStdString(codigos[0].codigo);
    for (int i = 1; i <= TPortal::kIntentosFallidos; ++i) {
        EXPECT_EQ(cliente.entrar(QStringLiteral("ZZZZ-ZZZZ")).estado, 403) << i;
        const TRespuestaHttp r = cliente.entrar(bueno);
        EXPECT_EQ(r.estado, i < TPortal::kIntentosFallidos ? 303 : 429) << i;
        EXPECT_EQ(r.texto().contains(QStringLiteral("desde esta dirección")), r.estado == 429) << i;
    }
    // Each failure expires a minute after it was made.
    ahora += std::chrono::seconds(61);
    EXPECT_EQ(cliente.entrar(bueno).estado, 303);
}

TEST_F(PortalHttp, UnClienteQueSeDetieneSeCortaAlVencerLaEspera) {
    portal.detener();
    portal.fijarEspera(std::chrono::seconds(1));
    iniciar();
    const int s = conectarCrudo(puerto);
    ASSERT_GE(s, 0);
    enviar(s, "POST /entrar HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Le");
    const auto inicio = Reloj::now();
    EXPECT_TRUE(cerradaEn(s, 5));
    EXPECT_LT(Reloj::now() - inicio, std::chrono::seconds(4));
    ::close(s);
}

TEST_F(PortalHttp, MilCienConexionesQuietasNoDetienenAOtroEquipo) {
    // Sixteen connections from each of 69 loopback addresses, the most one address may hold.
    std::vector<int> quietas;
    for (int i = 0; quietas.size() < 1100; ++i) {
        const std::string desde = "127.0.1." + std::to_string(1 + i / int(TPortal::kConexionesPorDireccion));
        const int s = conectarCrudo(puerto, desde.c_str());
        ASSERT_GE(s, 0) << i;
        quietas.push_back(s);
    }
    // One more from an address that has its sixteen is turned away.
    const int demas = conectarCrudo(puerto, "127.0.1.1");
    EXPECT_TRUE(cerradaEn(demas, 2));
    ::close(demas);
    const auto inicio = Reloj::now();
    TClienteHttp cliente = clienteDe(2);
    EXPECT_EQ(cliente.post("/decisiones", formularioDe(cliente.csrf(), 1, decisionDelEquipo(2))).estado, 303);
    EXPECT_LT(Reloj::now() - inicio, std::chrono::seconds(1));
    EXPECT_TRUE(juegoDePrueba().envioDelEquipo(kEquipos[2]).has_value());
    for (int s : quietas) ::close(s);
}

TEST_F(PortalHttp, CadaCampoMalEscritoDiceSuMotivoAlLado) {
    TClienteHttp cliente = clienteDe(0);
    const QByteArray csrf = cliente.csrf();
    const std::tuple<const char*, const char*, QString> casos[] = {  // field, value typed, what it says
        {"precio", "", QStringLiteral("Escriba el precio: el campo está vacío.")},
        {"marketing", "12.5", QStringLiteral("«12.5» no es un número entero")},
        {"capacitacion", "2001", QString::fromUtf8(rangoDecision(&TRegDecision::capacitacion).mensajePantalla)},
    };
    for (const auto& [campo, valor, dice] : casos) {
        ahora += TSesiones::kEntreEnvios;
        QByteArray cuerpo = formularioDe(csrf, 1, decisionDelEquipo(0));
        const qsizetype desde = cuerpo.indexOf(QByteArray(campo) + "=") + qsizetype(std::strlen(campo)) + 1;
        cuerpo.replace(desde, cuerpo.indexOf('&', desde) - desde, QUrl::toPercentEncoding(valor));
        const TRespuestaHttp r = cliente.post("/decisiones", cuerpo);
        EXPECT_EQ(r.estado, 400) << campo;
        const QString html = r.texto();
        const QString nota = QStringLiteral("id=\"error-%1\">").arg(QLatin1String(campo));
        EXPECT_TRUE(html.contains(nota + escaparHtml(dice))) << campo << html.toStdString();
        EXPECT_EQ(html.count(QStringLiteral("class=\"campo-error\"")), 1) << campo;
        EXPECT_FALSE(html.contains(QStringLiteral("valid integer"))) << campo;
    }
    EXPECT_FALSE(juegoDePrueba().envioDelEquipo(kEquipos[0]).has_value());
}

TEST_F(PortalHttp, ElFormularioEmpiezaComoElPeriodoAnteriorYElPlazoSeRespeta) {
    for (std::size_t i = 0; i < kEquipos.size(); ++i) juegoDePrueba().guardarEnvio(kEquipos[i], 1, decisionDelEquipo(int(i)));
    juegoDePrueba().guardarDecisionesDelPortal();
    juegoDePrueba().simular();
    TClienteHttp cliente = clienteDe(1);
    const QString pagina = cliente.get("/decisiones").texto();
    EXPECT_TRUE(pagina.contains(QStringLiteral("Igual que el período anterior")));
    EXPECT_EQ(valorDelCampo(pagina, QStringLiteral("precio")), QStringLiteral("70"));

    // A deadline passed refuses the period's submissions, and says when it was.
    Pared::time_point reloj = Pared::now();
    portal.fijarRelojDePared([&] { return reloj; });
    portal.fijarPlazo(reloj + std::chrono::minutes(1));
    EXPECT_EQ(cliente.post("/decisiones", formularioDe(cliente.csrf(), 2, decisionDelEquipo(1))).estado, 303);
    reloj += std::chrono::minutes(2);
    ahora += TSesiones::kEntreEnvios;
    const TRespuestaHttp tarde = cliente.post("/decisiones", formularioDe(cliente.csrf(), 2, decisionDelEquipo(0)));
    EXPECT_EQ(tarde.estado, 409);
    EXPECT_TRUE(tarde.texto().contains(QString::fromStdString("terminó a las " + textoHora(*portal.plazo()))));
    EXPECT_TRUE(iguales(*juegoDePrueba().envioDelEquipo(kEquipos[1]), decisionDelEquipo(1)));
    const auto filas = filasDelRegistro(juegoDePrueba().registroDelPortal());
    ASSERT_EQ(filas.size(), 3u);
    EXPECT_EQ(filas[1][filas[1].size() - 2], "guardado");
    EXPECT_EQ(filas[2][filas[2].size() - 2], "rechazado");
}

TEST_F(PortalHttp, LasSesionesTienenTopePorEquipoYElDocenteLasCierra) {
    std::vector<TClienteHttp> clientes;
    for (std::size_t i = 0; i <= TPortal::kSesionesPorEquipo; ++i) {
        clientes.push_back(clienteDe(0));
        ahora += std::chrono::seconds(1);
    }
    EXPECT_EQ(portal.sesionesDe(kEquipos[0]), int(TPortal::kSesionesPorEquipo));
    EXPECT_EQ(clientes.front().get("/decisiones").estado, 303);  // the oldest went
    EXPECT_EQ(clientes.back().get("/decisiones").estado, 200);
    TClienteHttp otro = clienteDe(1);
    EXPECT_EQ(portal.equiposConectados(), 2);
    EXPECT_EQ(portal.cerrarSesiones(kEquipos[0]), int(TPortal::kSesionesPorEquipo));
    EXPECT_EQ(clientes.back().get("/decisiones").estado, 303);
    EXPECT_EQ(otro.get("/decisiones").estado, 200);
    EXPECT_EQ(portal.equiposConectados(), 1);
    // Two hours idle end a session.
    ahora += TPortal::kVidaSesion + std::chrono::seconds(1);
    EXPECT_EQ(portal.equiposConectados(), 0);
    EXPECT_EQ(otro.get("/decisiones").estado, 303);
}

TEST_F(PortalHttp, UnPedidoQueLlegaGotaAGotaSeCortaAlVencerSuPlazo) {
    const QByteArray cabeceras = "POST /entrar HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    const QByteArray get = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    // What arrives at once, then what arrives a byte at a time.
    const std::tuple<const char*, QByteArray, QByteArray> casos[] = {
        {"cabeceras", cabeceras, "X-Relleno: aaaaaaaa"},
        {"cuerpo", cabeceras + "Content-Length: 100\r\n\r\n", QByteArray(50, 'x')},
        {"el pedido siguiente", get, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Relleno: aaaa"},
    };
    for (const auto& [nombre, antes, gota] : casos) {
        const int s = conectarCrudo(puerto);
        ASSERT_GE(s, 0);
        enviar(s, antes);
        // The door takes connections in order: once a later one is answered, this one is in.
        ASSERT_EQ(estadoCrudo(pedidoCrudo(puerto, pedidoCon("GET / HTTP/1.1\r\n"))), 200);
        // The next request's deadline counts from the end of the answer before.
        char respuesta[256];
        if (antes.startsWith("GET")) {
            ASSERT_GT(::recv(s, respuesta, sizeof respuesta, 0), 0);
        }
        // A byte every second: never idle, never done.
        for (char byte : gota.left(TPortal::kEspera.count() + 1)) {
            ahora += std::chrono::seconds(1);
            enviar(s, QByteArray(1, byte));
        }
        EXPECT_TRUE(cerradaEn(s, 2)) << nombre;
        ::close(s);
    }
}

TEST_F(PortalHttp, ConTodasLasConexionesOcupadasPorPedidosSinTerminarUnEquipoEntraIgual) {
    portal.detener();
    portal.fijarConexionesEnTotal(8);
    iniciar();
    std::vector<int> gotas;
    for (int i = 0; i < 8; ++i) {
        gotas.push_back(conectarCrudo(puerto, i % 2 ? "127.0.4.1" : "127.0.4.2"));
        ASSERT_GE(gotas.back(), 0);
        enviar(gotas.back(), "GET / HTTP/1.1\r\nHost: 1");
    }
    TClienteHttp cliente = clienteDe(0);
    EXPECT_EQ(cliente.post("/decisiones", formularioDe(cliente.csrf(), 1, decisionDelEquipo(0))).estado, 303);
    // The oldest unfinished one made room; the newest is still waiting.
    EXPECT_TRUE(cerradaEn(gotas.front(), 2));
    EXPECT_TRUE(abiertaYCallada(gotas.back()));
    for (int s : gotas) ::close(s);
}

TEST_F(PortalHttp, ElTopePorDireccionSeCambiaConElPortalAbiertoYSeAnota) {
    portal.fijarConexionesPorDireccion(3);
    std::vector<int> abiertas;
    for (int i = 0; i < 3; ++i) abiertas.push_back(conectarCrudo(puerto, "127.0.5.1"));
    for (int vez = 1; vez <= 2; ++vez) {
        const int demas = conectarCrudo(puerto, "127.0.5.1");
        EXPECT_TRUE(cerradaEn(demas, 2)) << vez;
        ::close(demas);
    }
    // The screen and the console hear of the address once, however often it pushed.
    const std::vector<TTope> topes = portal.topesDespuesDe(0);
    ASSERT_EQ(topes.size(), 1u);
    EXPECT_EQ(topes[0].direccion, "127.0.5.1");
    EXPECT_EQ(topes[0].motivo, QStringLiteral("conexiones por dirección (3)"));
    EXPECT_EQ(topes[0].veces, 2);
    EXPECT_TRUE(portal.topesDespuesDe(topes[0].numero).empty());
    // A classroom behind one address gets more, at once.
    portal.fijarConexionesPorDireccion(4);
    const int cuarta = conectarCrudo(puerto, "127.0.5.1");
    enviar(cuarta, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");  // kept alive
    char respuesta[16] = {};
    ::recv(cuarta, respuesta, sizeof respuesta - 1, MSG_WAITALL);
    EXPECT_EQ(estadoCrudo(respuesta), 200);
    // At its cap, the address's connection kept alive after its answer makes room for its next one.
    // The server notes an answer's end a moment after the client has read it.
    int estado = 0;
    for (int intento = 0; intento < 100 && estado != 200; ++intento) {
        if (intento) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const int quinta = conectarCrudo(puerto, "127.0.5.1");
        enviar(quinta, pedidoCon("GET / HTTP/1.1\r\n"));
        char otra[16] = {};
        ::recv(quinta, otra, sizeof otra - 1, MSG_WAITALL);
        ::close(quinta);
        estado = estadoCrudo(otra);
    }
    EXPECT_EQ(estado, 200);
    EXPECT_TRUE(cerradaEn(cuarta, 2));
    ::close(cuarta);
    for (int s : abiertas) ::close(s);
}
