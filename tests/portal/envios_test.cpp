// The portal under a mischievous class, over HTTP on a loopback port: a
// team that floods submissions, a classroom behind one address, forms
// with a field twice or with control characters, and a register that
// cannot be written.

#include "portal/PortalDePrueba.h"

#include "comun/SistemaArchivosFalso.h"
#include "juego/Auditoria.h"

#include <QCoreApplication>

#include <tuple>

TEST_F(PortalHttp, LosCodigosErradosSeCuentanPorNavegadorDetrasDeUnaDireccion) {
    const QString desde = QStringLiteral("127.0.4.1");
    const QString bueno = QString::fromStdString(codigos[0].codigo);
    auto navegador = [&] {
        TClienteHttp cliente(puerto, desde);
        const TRespuestaHttp inicio = cliente.get("/");
        EXPECT_EQ(inicio.estado, 200);
        for (const char* atributo : {"previo=", "HttpOnly", "SameSite=Strict", "Path=/"})
            EXPECT_TRUE(inicio.cabeceras.value("set-cookie").contains(atributo)) << atributo;
        return cliente;
    };
    // Thirty phones behind one address, a few typos each: every one still gets in.
    std::vector<TClienteHttp> aula;
    for (int i = 0; i < 30; ++i) aula.push_back(navegador());
    for (int vuelta = 0; vuelta < 3; ++vuelta)
        for (TClienteHttp& telefono : aula) ASSERT_EQ(telefono.entrar(QStringLiteral("ZZZZ-ZZZZ")).estado, 403);
    EXPECT_FALSE(aula[0].get("/").cabeceras.contains("set-cookie")) << "the cookie is given once";
    for (TClienteHttp& telefono : aula) EXPECT_EQ(telefono.entrar(bueno).estado, 303);
    // One browser's five typos hold back that browser only.
    TClienteHttp torpe = navegador();
    for (int i = 0; i < TPortal::kIntentosFallidos; ++i) torpe.entrar(QStringLiteral("ZZZZ-ZZZZ"));
    const TRespuestaHttp retenido = torpe.entrar(bueno);
    EXPECT_EQ(retenido.estado, 429);
    EXPECT_TRUE(retenido.texto().contains(QStringLiteral("desde este navegador")));
    EXPECT_EQ(navegador().entrar(bueno).estado, 303);
    // A new cookie for every guess buys nothing past the address's backstop.
    for (int i = 30 * 3 + TPortal::kIntentosFallidos; i < TSesiones::kFallidosPorDireccion; ++i)
        ASSERT_EQ(navegador().entrar(QStringLiteral("ZZZZ-ZZZZ")).estado, 403) << i;
    const TRespuestaHttp tope = navegador().entrar(bueno);
    EXPECT_EQ(tope.estado, 429);
    EXPECT_TRUE(tope.texto().contains(QStringLiteral("desde esta dirección")));
    // The teacher hears of the address held back, never of one browser's typos.
    const std::vector<TTope> topes = portal.topesDespuesDe(0);
    ASSERT_EQ(topes.size(), 1u);
    EXPECT_EQ(topes[0].direccion, desde.toStdString());
    ahora += TPortal::kBloqueo;
    EXPECT_EQ(navegador().entrar(bueno).estado, 303);
}

// A second submission within the second, a field twice or with control
// characters: each refused, saying why, before anything is written.
TEST_F(PortalHttp, UnEnvioSeguidoOUnCampoRepetidoOConControlesSeRechazaNombrandolo) {
    TClienteHttp alfa = clienteDe(0);
    TClienteHttp beta = clienteDe(1);
    EXPECT_EQ(alfa.post("/decisiones", formularioDe(alfa.csrf(), 1, decisionDelEquipo(0))).estado, 303);
    // Another team is not held back by the first one's second.
    EXPECT_EQ(beta.post("/decisiones", formularioDe(beta.csrf(), 1, decisionDelEquipo(1))).estado, 303);
    const QByteArray envio = formularioDe(alfa.csrf(), 1, decisionDelEquipo(2));
    const std::tuple<const char*, QByteArray, QByteArray, int, QString> casos[] = {  // name, path, body, status, text
        {"otro envío en el mismo segundo", "/decisiones", envio, 429, QStringLiteral("Espere un momento")},
        {"precio dos veces", "/decisiones", envio + "&precio=99", 400, QStringLiteral("dos veces el campo «precio»")},
        {"NUL en un valor", "/decisiones", QByteArray(envio).replace("precio=80", "precio=80%00"), 400,
         QStringLiteral("El campo «precio» trae caracteres de control")},
        {"código dos veces", "/entrar", "codigo=AAAA&codigo=" + QByteArray::fromStdString(codigos[0].codigo), 400,
         QStringLiteral("dos veces el campo «codigo»")},
    };
    const TFoto antes = fotografiar(carpeta.ruta());
    for (const auto& [nombre, ruta, cuerpo, estado, dice] : casos) {
        const TRespuestaHttp r = alfa.post(ruta, cuerpo);
        EXPECT_EQ(r.estado, estado) << nombre;
        EXPECT_TRUE(r.texto().contains(dice)) << nombre << ": " << r.texto().toStdString();
        // Refused before anything is written, the register included.
        EXPECT_EQ(diferencias(antes, fotografiar(carpeta.ruta())), "") << nombre;
        ahora += TSesiones::kEntreEnvios;
    }
    EXPECT_EQ(alfa.post("/decisiones", envio).estado, 303);
    EXPECT_TRUE(iguales(*juegoDePrueba().envioDelEquipo(kEquipos[0]), decisionDelEquipo(2)));
}

TEST_F(PortalHttp, SinRegistroNoSeGuardaNadaYLoPendienteSeEscribeAlCerrar) {
    portal.detener();
    TSistemaArchivosFalso falso;
    const auto registro = carpeta / kArchivoRegistroPortal;
    falso.soloLectura(registro);  // a full disk for the register alone
    TJuego juego(carpeta.ruta(), falso);
    TPortal otro(juego);
    otro.fijarReloj([this] { return ahora; });
    TClienteHttp cliente(otro.iniciar(QHostAddress::LocalHost, 0));
    ASSERT_EQ(cliente.entrar(QString::fromStdString(codigos[0].codigo)).estado, 303);
    const TRespuestaHttp r = cliente.post("/decisiones", formularioDe(cliente.csrf(), 1, decisionDelEquipo(0)));
    EXPECT_EQ(r.estado, 500);
    EXPECT_TRUE(r.texto().contains(QStringLiteral("no se guardaron"))) << r.texto().toStdString();
    EXPECT_FALSE(juego.envioDelEquipo(kEquipos[0]).has_value());
    EXPECT_EQ(juego.registroDelPortal(), "");
    // Still no room as a portal closes: the teacher is told what it could not write.
    {
        TPortal tercero(juego);
        TNotificadorRegistro oido;
        juego.fijarNotificador(&oido);
        TClienteHttp otroCliente(tercero.iniciar(QHostAddress::LocalHost, 0));
        ASSERT_EQ(otroCliente.entrar(QString::fromStdString(codigos[1].codigo)).estado, 303);
        EXPECT_EQ(otroCliente.post("/decisiones", formularioDe(otroCliente.csrf(), 1, decisionDelEquipo(1))).estado, 500);
        tercero.detener();
        QCoreApplication::sendPostedEvents(&tercero);
        juego.fijarNotificador(nullptr);
        ASSERT_EQ(oido.eventos.size(), 1u);
        EXPECT_NE(oido.eventos[0].find(kArchivoRegistroPortal), std::string::npos) << oido.eventos[0];
    }
    // The disk has room again: the refusal's line is written as the portal closes.
    falso.soloLectura(carpeta / "ninguna");
    otro.detener();
    const auto filas = filasDelRegistro(juego.registroDelPortal());
    ASSERT_EQ(filas.size(), 2u);
    EXPECT_EQ(filas[1][2], "Alfa");
    EXPECT_EQ(filas[1][filas[1].size() - 2], "rechazado");
}
