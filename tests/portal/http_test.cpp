// The portal through HTTP on a loopback port: codes, logins and lock-out, a
// period played from the teams' submissions, what each team may see, and
// the requests it refuses without storing anything.

#include "portal/ClienteHttp.h"

#include "comun/CarpetaTemporal.h"
#include "comun/FotoCarpeta.h"
#include "engine/ValidarDecision.h"
#include "juego/Juego.h"
#include "portal/Paginas.h"
#include "portal/Portal.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Reloj = std::chrono::steady_clock;

const std::vector<std::string> kEquipos = {"Alfa", "<script>alert(1)</script>", cp1252("Gama & \"Cía\"")};

TRegDecision decisionDelEquipo(int i) {
    return TRegDecision{60 + 10 * i, 25 * (i + 1), 2000 * i, 1000 + i, 10 * i, 100 * i, 0, 50 * i, 0, 0};
}

QByteArray formularioDe(const QByteArray& csrf, int periodo, const TRegDecision& d) {
    QList<QPair<QString, QString>> campos{{QStringLiteral("csrf"), QString::fromUtf8(csrf)},
                                          {QStringLiteral("periodo"), QString::number(periodo)}};
    for (const TRangoDecision& r : rangosDecision())
        campos.append({QString::fromLatin1(r.columna), QString::number(d.*(r.campo))});
    return formulario(campos);
}

bool iguales(const TRegDecision& a, const TRegDecision& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

/// A game with the teams, period 0 run, its codes, and the portal on a free loopback port.
class PortalHttp : public ::testing::Test {
protected:
    void SetUp() override {
        juegoDePrueba().crearJuego(kEquipos, ejemploDatosIniciales());
        juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
        iniciar();
    }
    void iniciar() {
        codigos = juegoDePrueba().codigosDeAcceso();
        portal.fijarReloj([this] { return ahora; });
        puerto = portal.iniciar(QHostAddress::LocalHost, 0);
    }
    TClienteHttp clienteDe(std::size_t equipo) {
        TClienteHttp cliente(puerto);
        EXPECT_EQ(cliente.entrar(QString::fromStdString(codigos[equipo].codigo)).estado, 303);
        return cliente;
    }

    CarpetaTemporal carpeta;
    TPortal portal{juegoDePrueba()};
    quint16 puerto = 0;
    std::vector<TCodigoEquipo> codigos;
    Reloj::time_point ahora = Reloj::now();
};

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
    const TFoto antes = fotografiar(carpeta.ruta());
    for (const Caso& caso : casos) {
        const TRespuestaHttp r = caso.cliente->pedir(caso.metodo, caso.ruta, caso.cuerpo);
        EXPECT_EQ(r.estado, caso.estado) << caso.nombre;
        if (!caso.dice.isEmpty()) {
            EXPECT_TRUE(r.texto().contains(caso.dice)) << caso.nombre << ": " << r.texto().toStdString();
        }
        EXPECT_EQ(diferencias(antes, fotografiar(carpeta.ruta())), "") << caso.nombre;
    }
    for (const auto& envio : juegoDePrueba().enviosDelPeriodo()) EXPECT_FALSE(envio.has_value());
    // The session is still good after all that.
    EXPECT_EQ(cliente.post("/decisiones", formularioDe(csrf, 1, decisionDelEquipo(0))).estado, 303);
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
    const TFoto antes = fotografiar(carpeta.ruta());
    const TRespuestaHttp r = cliente.post("/decisiones", formularioDe(cliente.csrf(), 1, decisionDelEquipo(0)));
    EXPECT_EQ(r.estado, 409);
    EXPECT_TRUE(r.texto().contains(QStringLiteral("Todavía no se corrió el período 0")));
    EXPECT_EQ(diferencias(antes, fotografiar(carpeta.ruta())), "");
}
