// The portal's side of the game core: the teams' access codes and the
// submissions of the open period, what refuses them, and their files.

#include "comun/CarpetaTemporal.h"
#include "comun/FotoCarpeta.h"
#include "comun/MensajeDe.h"
#include "comun/SistemaArchivosFalso.h"
#include "engine/ValidarDecision.h"
#include "juego/Juego.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>

namespace fs = std::filesystem;

// Global, so that std::optional's comparison finds it.
static bool operator==(const TRegDecision& a, const TRegDecision& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

namespace {

const TRegDecision kDecision{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};
const TRegDecision kOtra{70, 50, 2000, 500, 0, 100, 0, 0, 0, 0};

void juegoEnPeriodo1(const std::vector<std::string>& equipos = {"Alfa", "Beta", "Gama"}) {
    juegoDePrueba().crearJuego(equipos, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
}

bool esCodigoValido(const std::string& codigo) {
    if (codigo.size() != kLargoCodigo) return false;
    for (char c : codigo)
        if (kAlfabetoCodigos.find(c) == std::string_view::npos) return false;
    return true;
}

}  // namespace

TEST(CodigosAcceso, UnCodigoPorEquipoQueSeConservaYSeRenueva) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    const auto codigos = juegoDePrueba().codigosDeAcceso();
    ASSERT_EQ(codigos.size(), 3u);
    std::set<std::string> distintos;
    for (std::size_t i = 0; i < codigos.size(); ++i) {
        EXPECT_EQ(codigos[i].empresa, (std::vector<std::string>{"Alfa", "Beta", "Gama"})[i]);
        EXPECT_TRUE(esCodigoValido(codigos[i].codigo)) << codigos[i].codigo;
        distintos.insert(codigos[i].codigo);
    }
    EXPECT_EQ(distintos.size(), 3u);
    EXPECT_EQ(juegoDePrueba().codigosDeAcceso(), codigos) << "a second call keeps the codes";

    const std::string nuevo = juegoDePrueba().renovarCodigo("Beta");
    EXPECT_NE(nuevo, codigos[1].codigo);
    const auto despues = juegoDePrueba().codigosDeAcceso();
    EXPECT_EQ(despues[0], codigos[0]);
    EXPECT_EQ(despues[1].codigo, nuevo);
    EXPECT_EQ(despues[2], codigos[2]);
    EXPECT_EQ(juegoDePrueba().equipoDelCodigo(codigos[1].codigo), std::nullopt) << "the renewed code no longer opens";
    EXPECT_EQ(juegoDePrueba().equipoDelCodigo(nuevo), std::optional<std::string>("Beta"));
    EXPECT_NE(mensajeDe([] { juegoDePrueba().renovarCodigo("Zeta"); }).find("no es un equipo del juego"), std::string::npos);
}

TEST(CodigosAcceso, ElCodigoTecleadoSeReconoceComoLoEscribeUnEquipo) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    const std::string alfa = juegoDePrueba().codigosDeAcceso()[0].codigo;
    std::string minusculas = alfa;
    for (char& c : minusculas) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    struct Caso {
        std::string tecleado;
        bool entra;
    };
    const Caso casos[] = {
        {alfa, true},
        {minusculas, true},
        {" " + alfa.substr(0, 4) + "-" + alfa.substr(4) + " ", true},
        {alfa.substr(0, 7), false},
        {alfa + "2", false},
        {"", false},
        {std::string(8, 'Z') == alfa ? "YYYYYYYY" : "ZZZZZZZZ", false},
    };
    for (const Caso& caso : casos)
        EXPECT_EQ(juegoDePrueba().equipoDelCodigo(caso.tecleado).has_value(), caso.entra) << "«" << caso.tecleado << "»";
}

TEST(CodigosAcceso, UnJuegoNuevoTieneCodigosNuevos) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1({"Alfa", "Beta"});
    const auto viejos = juegoDePrueba().codigosDeAcceso();
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    EXPECT_FALSE(fs::exists(carpeta / kArchivoCodigos));
    EXPECT_EQ(juegoDePrueba().equipoDelCodigo(viejos[0].codigo), std::nullopt);
    // Before period 0 the teams set up get their codes.
    const auto nuevos = juegoDePrueba().codigosDeAcceso();
    ASSERT_EQ(nuevos.size(), 2u);
    EXPECT_NE(nuevos[0].codigo, viejos[0].codigo);
}

TEST(CodigosAcceso, SinJuegoNoHayCodigosNiArchivo) {
    CarpetaTemporal carpeta;
    EXPECT_THROW(juegoDePrueba().codigosDeAcceso(), ErrorJuego);
    EXPECT_EQ(juegoDePrueba().equipoDelCodigo("ABCDEFGH"), std::nullopt);
    EXPECT_TRUE(fotografiar(carpeta.ruta()).empty());
}

TEST(CodigosAcceso, LaComparacionEnTiempoConstanteMiraCadaByteYElLargo) {
    struct Caso {
        std::string a, b;
        bool iguales;
    };
    const Caso casos[] = {
        {"ABCDEFGH", "ABCDEFGH", true},
        {"", "", true},
        {"ABCDEFGH", "ABCDEFGJ", false},  // only the last byte differs
        {"ABCDEFGH", "BBCDEFGH", false},
        {"ABCDEFGH", "ABCDEFG", false},   // a prefix
        {"", "A", false},
        {"ABC", std::string("ABC\0", 4), false},  // the longer one's extra byte is zero
        {std::string("A\0B", 3), std::string("A\0C", 3), false},  // a zero byte ends nothing
    };
    for (const Caso& caso : casos) {
        EXPECT_EQ(igualesTiempoConstante(caso.a, caso.b), caso.iguales) << caso.a << " / " << caso.b;
        EXPECT_EQ(igualesTiempoConstante(caso.b, caso.a), caso.iguales) << caso.b << " / " << caso.a;
    }
    // A team's code with its last letter changed opens nothing.
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    std::string casi = juegoDePrueba().codigosDeAcceso()[0].codigo;
    casi.back() = casi.back() == kAlfabetoCodigos[0] ? kAlfabetoCodigos[1] : kAlfabetoCodigos[0];
    EXPECT_EQ(juegoDePrueba().equipoDelCodigo(casi), std::nullopt) << casi;
}

TEST(CodigosAcceso, LosCodigosNuevosUsanTodoElAlfabeto) {
    std::set<char> vistas;
    for (int i = 0; i < 400; ++i) {
        const std::string codigo = codigoNuevo();
        ASSERT_TRUE(esCodigoValido(codigo)) << codigo;
        vistas.insert(codigo.begin(), codigo.end());
    }
    // 3200 letters miss one of 32 with a chance far below one in a billion.
    EXPECT_EQ(vistas.size(), kAlfabetoCodigos.size());
}

TEST(CodigosAcceso, UnArchivoDeCodigosDanadoSeNombra) {
    const std::string bueno = "CORVELIAN CODIGOS 1\njuego 0123456789abcdef\nABCDEFGH\tAlfa\n";
    EXPECT_EQ(leerTextoCodigos(bueno, "c").equipos.size(), 1u);
    const std::string danados[] = {
        "",
        "OTRA COSA\njuego 0123456789abcdef\n",
        "CORVELIAN CODIGOS 1\njuego 0123\n",
        "CORVELIAN CODIGOS 1\njuego 0123456789abcdef\nABCDEFGHAlfa\n",
        "CORVELIAN CODIGOS 1\njuego 0123456789abcdef\nABCDEFG0\tAlfa\n",
        "CORVELIAN CODIGOS 1\njuego 0123456789abcdef\nABCDEFGH\t\n",
        "CORVELIAN CODIGOS 1\njuego 0123456789abcdef\nABCDEFGH\tAlfa",
        // One team on two lines; a name longer than any team's.
        "CORVELIAN CODIGOS 1\njuego 0123456789abcdef\nABCDEFGH\tAlfa\nABCDEFGJ\tAlfa\n",
        "CORVELIAN CODIGOS 1\njuego 0123456789abcdef\nABCDEFGH\t" + std::string(51, 'x') + "\n",
    };
    for (const std::string& texto : danados) EXPECT_THROW(leerTextoCodigos(texto, "c"), ErrorArchivoDanado) << texto;
    EXPECT_NO_THROW(leerTextoCodigos("CORVELIAN CODIGOS 1\njuego 0123456789abcdef\nABCDEFGH\t" + std::string(50, 'x') + "\n", "c"));
}

// A damaged codes file: the portal's start and every look at the codes
// refuse it, naming it and the way out; renewing every team's code mends it.
TEST(CodigosAcceso, UnArchivoDeCodigosDanadoNoSeUsaHastaRenovarTodos) {
    const std::string cabecera = "CORVELIAN CODIGOS 1\njuego 0123456789abcdef\nABCDEFGH\tAlfa\n";
    const std::string casos[] = {"ABCDEFGH\tBeta\n", "ABCDEFGJ\tBeta\nABCDEFGK\tIntruso\n",
                                 "ABCDEFGJ\tBeta\nABCDEFGK\t" + std::string(5000, 'G') + "\n"};
    for (const std::string& caso : casos) {
        CarpetaTemporal carpeta;
        juegoEnPeriodo1();
        const std::string texto = cabecera + caso;
        escribirBytes(carpeta / kArchivoCodigos, std::vector<uint8_t>(texto.begin(), texto.end()));
        const std::string mensaje = mensajeDe([] { juegoDePrueba().codigosDeAcceso(); });
        EXPECT_NE(mensaje.find("\"CODIGOS PORTAL.txt\": el archivo está dañado"), std::string::npos) << mensaje;
        EXPECT_NE(mensaje.find("codigos --renovar"), std::string::npos) << mensaje;
        EXPECT_THROW(juegoDePrueba().equipoDelCodigo("ABCDEFGH"), ErrorArchivoDanado) << caso.substr(0, 30);
        EXPECT_THROW(juegoDePrueba().renovarCodigo("Beta"), ErrorArchivoDanado) << caso.substr(0, 30);
        const auto nuevos = juegoDePrueba().renovarCodigos();
        EXPECT_EQ(juegoDePrueba().codigosDeAcceso(), nuevos);
        for (const TCodigoEquipo& e : nuevos) EXPECT_EQ(juegoDePrueba().equipoDelCodigo(e.codigo), e.empresa);
    }
}

// Once the new file is in place, a failed folder sync is a warning: the
// order happened (a renewal's old code is already dead) and gives its result.
TEST(CambioSinConfirmar, SeDaPorHechoConAvisoYElJuegoTieneLoGuardado) {
    const std::pair<std::function<std::string()>, std::function<std::string()>> casos[] = {
        {[] { return juegoDePrueba().renovarCodigo("Alfa"); }, [] { return juegoDePrueba().codigosGuardados()[0].codigo; }},
        {[] { return juegoDePrueba().renovarCodigos()[2].codigo; }, [] { return juegoDePrueba().codigosGuardados()[2].codigo; }},
        {[] {
             TTextosDatosIniciales textos = ejemploDatosIniciales();
             textos.indemXEmpleado = "450";
             juegoDePrueba().modificarDatos(textos);
             return std::to_string(juegoDePrueba().indemnizacionPorEmpleado());
         },
         [] { return std::to_string(juegoDePrueba().parametros().indemXEmpleado); }},
        // Submissions past their renames are stored and in the register: the teams are told so.
        {[] { return juegoDePrueba().guardarEnvios({{"", "Beta", 1, kDecision}})[0].mensaje; },
         [] { return juegoDePrueba().envioDelEquipo("Beta") == kDecision ? std::string() : "sin guardar"; }},
    };
    for (const auto& [accion, guardado] : casos) {
        CarpetaTemporal carpeta;
        juegoEnPeriodo1();
        juegoDePrueba().codigosDeAcceso();
        juegoDePrueba().guardarEnvio("Alfa", 1, kOtra);  // the submissions' folder and register exist
        TSistemaArchivosFalso falso;
        accion();
        // The same change again, failing its last sync: the folder's, after the rename.
        falso.fallarEn(falso.cuenta(TSistemaArchivos::Operacion::sincronizar), TSistemaArchivos::Operacion::sincronizar);
        registroNotificador().eventos.clear();
        std::string dado;
        EXPECT_NO_THROW(dado = accion());
        EXPECT_TRUE(falso.fallaOcurrida());
        EXPECT_EQ(guardado(), dado);
        ASSERT_EQ(registroNotificador().eventos.size(), 1u);
        EXPECT_NE(registroNotificador().eventos[0].find("no confirm"), std::string::npos) << registroNotificador().eventos[0];
    }
}

TEST(EnviosPortal, ElUltimoEnvioDeCadaEquipoEsElQueVale) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    juegoDePrueba().codigosDeAcceso();
    EXPECT_EQ(juegoDePrueba().enviosDelPeriodo(), (std::vector<std::optional<TRegDecision>>(3)));
    juegoDePrueba().guardarEnvio("Beta", 1, kDecision);
    juegoDePrueba().guardarEnvio("Beta", 1, kOtra);
    const auto envios = juegoDePrueba().enviosDelPeriodo();
    ASSERT_EQ(envios.size(), 3u);
    EXPECT_FALSE(envios[0]);
    ASSERT_TRUE(envios[1]);
    EXPECT_TRUE(*envios[1] == kOtra);
    EXPECT_FALSE(envios[2]);
    EXPECT_TRUE(juegoDePrueba().envioDelEquipo("Beta") && *juegoDePrueba().envioDelEquipo("Beta") == kOtra);
    // Nothing reaches the decisions file until the game master stores them.
    EXPECT_EQ(juegoDePrueba().leerEstado().decisionesGuardadas, 0);
}

TEST(EnviosPortal, UnEnvioRechazadoNoCambiaNada) {
    struct Caso {
        const char* nombre;
        std::function<void()> preparar;
        std::function<void()> enviar;
        std::string esperado;
    };
    const Caso casos[] = {
        {"sin período 0", [] { juegoDePrueba().crearJuego({"Alfa"}, ejemploDatosIniciales()); juegoDePrueba().codigosDeAcceso(); },
         [] { juegoDePrueba().guardarEnvio("Alfa", 1, kDecision); }, "Todavía no se corrió el período 0"},
        {"otro período", [] { juegoEnPeriodo1(); juegoDePrueba().codigosDeAcceso(); }, [] { juegoDePrueba().guardarEnvio("Alfa", 2, kDecision); },
         "El período 2 no está abierto: ahora se reciben las decisiones del período 1."},
        {"empresa que no juega", [] { juegoEnPeriodo1(); juegoDePrueba().codigosDeAcceso(); },
         [] { juegoDePrueba().guardarEnvio("Zeta", 1, kDecision); }, "ya no participa del juego"},
        {"precio fuera de rango", [] { juegoEnPeriodo1(); juegoDePrueba().codigosDeAcceso(); },
         [] { TRegDecision d = kDecision; d.precio = 49; juegoDePrueba().guardarEnvio("Alfa", 1, d); },
         rangoDecision(&TRegDecision::precio).mensajePantalla},
        {"capacitación fuera de paso", [] { juegoEnPeriodo1(); juegoDePrueba().codigosDeAcceso(); },
         [] { TRegDecision d = kDecision; d.capacitacion = 2001; juegoDePrueba().guardarEnvio("Alfa", 1, d); },
         rangoDecision(&TRegDecision::capacitacion).mensajePantalla},
        {"juego terminado", [] {
             juegoEnPeriodo1({"Alfa"});
             juegoDePrueba().codigosDeAcceso();
             for (int p = 1; p <= 10; ++p) { juegoDePrueba().guardarDecisiones({kDecision}); juegoDePrueba().simular(); }
         }, [] { juegoDePrueba().guardarEnvio("Alfa", 11, kDecision); }, "El juego terminó"},
        {"sin códigos", [] { juegoEnPeriodo1(); }, [] { juegoDePrueba().guardarEnvio("Alfa", 1, kDecision); },
         "El portal no tiene códigos para este juego."},
    };
    for (const Caso& caso : casos) {
        CarpetaTemporal carpeta;
        caso.preparar();
        const TFoto antes = fotografiar(carpeta.ruta());
        EXPECT_NE(mensajeDe(caso.enviar).find(caso.esperado), std::string::npos) << caso.nombre << ": " << mensajeDe(caso.enviar);
        EXPECT_EQ(diferencias(antes, fotografiar(carpeta.ruta())), "") << caso.nombre;
    }
}

TEST(EnviosPortal, MientrasOtroProgramaCambiaElJuegoSeRechazaEnElActo) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    juegoDePrueba().codigosDeAcceso();
    const TFoto antes = fotografiar(carpeta.ruta());
    const int otro = carpetaDePrueba().sa().bloquear(carpeta / "CORVELIAN.LCK", true);
    ASSERT_GE(otro, 0);
    EXPECT_EQ(mensajeDe([] { juegoDePrueba().guardarEnvio("Alfa", 1, kDecision); }), "El juego está en uso por otro programa.");
    carpetaDePrueba().sa().cerrar(otro);
    EXPECT_EQ(diferencias(antes, fotografiar(carpeta.ruta())), "");
}

TEST(EnviosPortal, UnEnvioEsDeSuPeriodoYDeSuJuego) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1({"Alfa", "Beta"});
    juegoDePrueba().codigosDeAcceso();
    juegoDePrueba().guardarEnvio("Alfa", 1, kDecision);
    juegoDePrueba().guardarEnvio("Beta", 1, kOtra);
    EXPECT_EQ(juegoDePrueba().guardarDecisionesDelPortal(), 2);
    juegoDePrueba().simular();
    // Period 2 is open: period 1's submissions are not its.
    EXPECT_EQ(juegoDePrueba().enviosDelPeriodo(), (std::vector<std::optional<TRegDecision>>(2)));
    EXPECT_EQ(juegoDePrueba().envioDelEquipo("Alfa"), std::nullopt);
    // A new game with the same teams does not inherit them either.
    juegoDePrueba().volver();
    ASSERT_TRUE(juegoDePrueba().envioDelEquipo("Alfa").has_value());
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    juegoDePrueba().codigosDeAcceso();
    EXPECT_EQ(juegoDePrueba().envioDelEquipo("Alfa"), std::nullopt);
}

TEST(EnviosPortal, GuardarLosEnviosComoDecisionesExigeLosDeTodos) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    juegoDePrueba().codigosDeAcceso();
    juegoDePrueba().guardarEnvio("Gama", 1, kOtra);
    const TFoto antes = fotografiar(carpeta.ruta());
    EXPECT_EQ(mensajeDe([] { juegoDePrueba().guardarDecisionesDelPortal(); }),
              "Faltan los envíos del portal del período 1 de: Alfa, Beta.");
    EXPECT_EQ(diferencias(antes, fotografiar(carpeta.ruta())), "");
    juegoDePrueba().guardarEnvio("Alfa", 1, kDecision);
    juegoDePrueba().guardarEnvio("Beta", 1, kDecision);
    const TMarca marca = juegoDePrueba().leerEstado().marca;
    EXPECT_EQ(juegoDePrueba().guardarDecisionesDelPortal(&marca), 3);
    const auto guardadas = juegoDePrueba().decisionesGuardadas();
    ASSERT_EQ(guardadas.size(), 3u);
    EXPECT_TRUE(guardadas[0] == kDecision);
    EXPECT_TRUE(guardadas[2] == kOtra);
}

TEST(EnviosPortal, UnaEscrituraQueFallaDejaElEnvioAnterior) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    juegoDePrueba().codigosDeAcceso();
    juegoDePrueba().guardarEnvio("Alfa", 1, kDecision);
    {
        TSistemaArchivosFalso falso;
        falso.fallarEn(1, TSistemaArchivos::Operacion::renombrar);
        EXPECT_THROW(juegoDePrueba().guardarEnvio("Alfa", 1, kOtra), ErrorArchivo);
    }
    ASSERT_TRUE(juegoDePrueba().envioDelEquipo("Alfa").has_value());
    EXPECT_TRUE(*juegoDePrueba().envioDelEquipo("Alfa") == kDecision);
}

TEST(EnviosPortal, UnEnvioDanadoSeNombraYNoSeToma) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    juegoDePrueba().codigosDeAcceso();
    juegoDePrueba().guardarEnvio("Alfa", 1, kDecision);
    const fs::path archivo = carpeta / kCarpetaEnvios / nombreArchivoEnvio("Alfa");
    const std::string texto = leerTexto(archivo);
    struct Caso {
        const char* nombre;
        std::string contenido;
    };
    auto cambiar = [&](const std::string& de, const std::string& a) {
        std::string t = texto;
        t.replace(t.find(de), de.size(), a);
        return t;
    };
    const Caso casos[] = {
        {"cortado", texto.substr(0, texto.size() / 2)},
        {"precio fuera de rango", cambiar("precio 90", "precio 900")},
        {"período imposible", cambiar("periodo 1", "periodo 0")},
        {"huella no numérica", cambiar("huella ", "huella x")},
        {"sin fin de línea", texto.substr(0, texto.size() - 1)},
    };
    for (const Caso& caso : casos) {
        escribirBytes(archivo, std::vector<uint8_t>(caso.contenido.begin(), caso.contenido.end()));
        EXPECT_THROW(juegoDePrueba().envioDelEquipo("Alfa"), ErrorArchivoDanado) << caso.nombre;
        EXPECT_THROW(juegoDePrueba().guardarDecisionesDelPortal(), ErrorArchivoDanado) << caso.nombre;
    }
}

TEST(EnviosPortal, LosEnviosQueLleganJuntosTienenCadaUnoSuRespuesta) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    const auto codigos = juegoDePrueba().codigosDeAcceso();
    const std::string betaViejo = codigos[1].codigo;
    juegoDePrueba().renovarCodigo("Beta");
    TRegDecision barato = kDecision;
    barato.precio = 40;
    struct Caso {
        TEnvioRecibido envio;
        TResultadoEnvio esperado;
        std::string mensaje;
    };
    const Caso casos[] = {
        {{codigos[0].codigo, "Alfa", 1, kDecision}, TResultadoEnvio::guardado, ""},
        {{betaViejo, "Beta", 1, kDecision}, TResultadoEnvio::sinSesion, "vuelva a entrar"},
        {{codigos[0].codigo, "Gama", 1, kDecision}, TResultadoEnvio::sinSesion, "vuelva a entrar"},
        {{"", "Gama", 2, kDecision}, TResultadoEnvio::rechazado, "El período 2 no está abierto"},
        {{"", "Gama", 1, barato}, TResultadoEnvio::fueraDeRango, rangoDecision(&TRegDecision::precio).mensajePantalla},
        {{"", "Zeta", 1, kDecision}, TResultadoEnvio::rechazado, "ya no participa"},
        {{codigos[0].codigo, "Alfa", 1, kOtra}, TResultadoEnvio::guardado, ""},
    };
    std::vector<TEnvioRecibido> envios;
    for (const Caso& caso : casos) envios.push_back(caso.envio);
    const auto respuestas = juegoDePrueba().guardarEnvios(envios);
    ASSERT_EQ(respuestas.size(), std::size(casos));
    for (std::size_t i = 0; i < respuestas.size(); ++i) {
        EXPECT_EQ(respuestas[i].resultado, casos[i].esperado) << i;
        EXPECT_NE(respuestas[i].mensaje.find(casos[i].mensaje), std::string::npos) << i << ": " << respuestas[i].mensaje;
    }
    // The later of two from one team counts; the refused ones stored nothing.
    ASSERT_TRUE(juegoDePrueba().envioDelEquipo("Alfa").has_value());
    EXPECT_TRUE(*juegoDePrueba().envioDelEquipo("Alfa") == kOtra);
    EXPECT_FALSE(juegoDePrueba().envioDelEquipo("Beta").has_value());
    EXPECT_FALSE(juegoDePrueba().envioDelEquipo("Gama").has_value());
}

TEST(EnviosPortal, SiElDiscoFallaNingunEnvioDelGrupoQuedaAMedias) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    juegoDePrueba().codigosDeAcceso();
    juegoDePrueba().guardarEnvio("Alfa", 1, kDecision);
    // The second file's write, the one flush of all of them, the second rename.
    const std::pair<TSistemaArchivos::Operacion, int> fallas[] = {{TSistemaArchivos::Operacion::escribir, 2},
                                                                  {TSistemaArchivos::Operacion::sincronizar, 1},
                                                                  {TSistemaArchivos::Operacion::renombrar, 2}};
    for (const auto& [operacion, n] : fallas) {
        const TFoto antes = fotografiar(carpeta.ruta());
        {
            TSistemaArchivosFalso falso;
            falso.fallarEn(n, operacion);
            EXPECT_THROW(juegoDePrueba().guardarEnvios({{"", "Alfa", 1, kOtra}, {"", "Beta", 1, kOtra}, {"", "Gama", 1, kOtra}}),
                         ErrorArchivo);
        }
        // A failed rename may leave the first team's new submission in place, whole; nothing else moves.
        const TFoto despues = fotografiar(carpeta.ruta());
        for (const auto& [nombre, contenido] : despues) EXPECT_EQ(nombre.find(".tmp"), std::string::npos) << nombre;
        if (operacion != TSistemaArchivos::Operacion::renombrar) {
            EXPECT_EQ(diferencias(antes, despues), "");
            EXPECT_TRUE(*juegoDePrueba().envioDelEquipo("Alfa") == kDecision);
        }
        EXPECT_FALSE(juegoDePrueba().envioDelEquipo("Gama").has_value());
    }
}

TEST(RegistroPortal, CadaLineaSeLeeComoSeEscribio) {
    const auto momento = std::chrono::system_clock::now();
    const TAnotacionEnvio anotaciones[] = {
        {momento, 1, "Alfa", "10.0.0.7", {"70", "50"}, true, {}},
        {momento, 3, cp1252("Ñandú, \"SA\""), "::1", {"1,5", "\"x\"", "a\r\nb"}, false, "dice \"no\", dos veces"},
    };
    std::string texto = cabeceraRegistro();
    for (const TAnotacionEnvio& a : anotaciones) texto += lineaRegistro(a);
    const auto filas = filasDelRegistro(texto);
    ASSERT_EQ(filas.size(), 3u);
    for (std::size_t i = 1; i < filas.size(); ++i) {
        const TAnotacionEnvio& a = anotaciones[i - 1];
        ASSERT_EQ(filas[i].size(), filas[0].size()) << i;
        EXPECT_EQ(filas[i][1], std::to_string(a.periodo));
        EXPECT_EQ(filas[i][2], cp1252AUtf8(a.empresa));
        EXPECT_EQ(filas[i][3], a.direccion);
        for (std::size_t v = 0; v < a.valores.size(); ++v)
            EXPECT_EQ(filas[i][4 + v], v == 2 ? "a  b" : a.valores[v]) << i << ' ' << v;
        EXPECT_EQ(filas[i].back(), a.motivo);
    }
    EXPECT_EQ(filasDelRegistro(registroDelPeriodo(texto, 3)).size(), 2u);
    EXPECT_EQ(registroDelPeriodo(texto, 2), cabeceraRegistro());
}

TEST(RegistroPortal, UnaFallaEnCualquierPasoDejaElRegistroEntero) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    const TAnotacionEnvio primera{std::chrono::system_clock::now(), 1, "Alfa", "10.0.0.7", {"70"}, true, {}};
    juegoDePrueba().anotarEnvios({primera});
    std::string antes = juegoDePrueba().registroDelPortal();
    for (int paso = 1;; ++paso) {
        bool fallo = false;
        {
            TSistemaArchivosFalso falso;
            falso.fallarEn(paso);
            try {
                juegoDePrueba().anotarEnvios({primera});
            } catch (const ErrorArchivo&) {
                fallo = true;
            }
        }
        if (fallo) {
            // A failure once the lines are synced (closing the file) leaves them in, whole.
            const std::string despues = juegoDePrueba().registroDelPortal();
            EXPECT_TRUE(despues == antes || despues == antes + lineaRegistro(primera)) << paso;
            antes = despues;
            continue;
        }
        EXPECT_EQ(juegoDePrueba().registroDelPortal(), antes + lineaRegistro(primera)) << paso;
        break;
    }
}

TEST(RegistroPortal, LoQueUnaPlanillaTomariaPorFormulaVaConApostrofo) {
    const std::pair<std::string, std::string> casos[] = {
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+1+1", "'+1+1"},
        {"-5abc", "'-5abc"},
        {"@SUMA(A1)", "'@SUMA(A1)"},
        {"\tx", "'\tx"},
        {"-5", "-5"},
        {"70", "70"},
        {"'=ya", "'=ya"},
    };
    for (const auto& [texto, celda] : casos) EXPECT_EQ(celdaCsv(texto), celda) << texto;
}

TEST(RegistroPortal, ElRegistroYSuListadoNoLlevanFormulasNiCaracteresDeControl) {
    const TAnotacionEnvio peligrosa{std::chrono::system_clock::now(), 1, "=Alfa", "10.0.0.7",
                                    {"-5", "=1+1", std::string("7\0", 2)}, false, "@motivo"};
    const std::string linea = lineaRegistro(peligrosa);
    EXPECT_NE(linea.find(",'=Alfa,10.0.0.7,-5,'=1+1,7 ,"), std::string::npos) << linea;
    EXPECT_NE(linea.find(",'@motivo\n"), std::string::npos) << linea;
    // A register written before its cells were made safe lists safe all the same.
    const std::string viejo = cabeceraRegistro() + "2026-01-01 10:00:00,1,=cmd|' /C calc'!A0,::1,+9" +
                              std::string(1, '\0') + "\n" + linea;
    const std::string listado = registroDelPeriodo(viejo, 1);
    EXPECT_EQ(listado, cabeceraRegistro() + "2026-01-01 10:00:00,1,'=cmd|' /C calc'!A0,::1,'+9 \n" + linea);
    EXPECT_EQ(registroDelPeriodo(listado, std::nullopt), listado) << "written again, it stays as it is";
}

TEST(RegistroPortal, SeAgregaConUnaEscrituraYUnaSincronizacionSinReescribirlo) {
    CarpetaTemporal carpeta;
    juegoEnPeriodo1();
    const TAnotacionEnvio nota{std::chrono::system_clock::now(), 1, "Alfa", "10.0.0.7", {"70"}, true, {}};
    juegoDePrueba().anotarEnvios({nota});
    EXPECT_EQ(juegoDePrueba().registroDelPortal(), cabeceraRegistro() + lineaRegistro(nota)) << "created with its header";
    // A line cut short by a crash is ended before the next one.
    const fs::path archivo = carpeta / kArchivoRegistroPortal;
    const std::string cortado = cabeceraRegistro() + lineaRegistro(nota).substr(0, 12);
    escribirBytes(archivo, std::vector<uint8_t>(cortado.begin(), cortado.end()));
    {
        TSistemaArchivosFalso falso;
        juegoDePrueba().anotarEnvios({nota, nota});
        EXPECT_EQ(falso.cuenta(TSistemaArchivos::Operacion::escribir), 1);
        EXPECT_EQ(falso.cuenta(TSistemaArchivos::Operacion::sincronizar), 1);
        EXPECT_EQ(falso.cuenta(TSistemaArchivos::Operacion::renombrar), 0);
    }
    EXPECT_EQ(leerTexto(archivo), cortado + "\n" + lineaRegistro(nota) + lineaRegistro(nota));
}
