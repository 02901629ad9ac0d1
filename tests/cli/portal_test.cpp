// "codigos" and "decisiones --portal": the teams' access codes and their
// submissions, through the tool.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"
#include "store/Decision_UD.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::vector<std::pair<std::string, std::string>> lineasDeCodigos(const std::string& salida) {
    std::vector<std::pair<std::string, std::string>> filas;
    std::istringstream entrada(salida);
    for (std::string linea; std::getline(entrada, linea);) {
        const auto tab = linea.find('\t');
        filas.emplace_back(linea.substr(0, tab), tab == std::string::npos ? "" : linea.substr(tab + 1));
    }
    return filas;
}

}  // namespace

TEST(OrdenCodigos, UnaLineaPorEquipoActivoYSiempreLosMismos) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Ñandú", "Gamma"}, 1);
    const auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "codigos"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto filas = lineasDeCodigos(r.salida);
    ASSERT_EQ(filas.size(), 3u) << r.salida;
    EXPECT_EQ(filas[0].first, "Alfa");
    EXPECT_EQ(filas[1].first, "Ñandú");
    for (const auto& [nombre, codigo] : filas) EXPECT_EQ(codigo.size(), 8u) << nombre;
    const auto otra = ejecutarCli({"--datos", carpeta.ruta().string(), "codigos"});
    EXPECT_EQ(otra.salida, r.salida);
}

TEST(OrdenCodigos, SinJuegoSeRechazaSinCrearNada) {
    CarpetaTemporal carpeta;
    const auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "codigos"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("No hay un juego"), std::string::npos) << r.errores;
    EXPECT_TRUE(fotoDeCarpeta(carpeta.ruta()).empty());
}

TEST(OrdenDecisionesPortal, NombraLosQueFaltanYDespuesGuardaLosDeTodos) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Beta", "Gamma"}, 1);
    ASSERT_EQ(ejecutarCli({"--datos", carpeta.ruta().string(), "codigos"}).codigo, 0);
    const TRegDecision alfa{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};
    const TRegDecision beta{60, 25, 2000, 100, 5, 6, 7, 8, 9, 10};
    juegoDePrueba().guardarEnvio("Alfa", 1, alfa);
    const auto antes = fotoDeCarpeta(carpeta.ruta());
    auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "decisiones", "--portal"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("Faltan los envíos del portal del período 1 de: Beta, Gamma."), std::string::npos)
        << r.errores;
    EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes);

    juegoDePrueba().guardarEnvio("Beta", 1, beta);
    juegoDePrueba().guardarEnvio("Gamma", 1, beta);
    r = ejecutarCli({"--datos", carpeta.ruta().string(), "decisiones", "--portal"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("guardadas desde el portal para 3 empresas"), std::string::npos) << r.salida;
    const auto guardadas = juegoDePrueba().decisionesGuardadas();
    ASSERT_EQ(guardadas.size(), 3u);
    EXPECT_EQ(std::memcmp(&guardadas[0], &alfa, sizeof alfa), 0);
    EXPECT_EQ(std::memcmp(&guardadas[2], &beta, sizeof beta), 0);
}

TEST(OrdenPortal, UnaLineaDeOrdenesMalEscritaSeRechaza) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa"}, 1);
    const std::vector<std::vector<std::string>> casos = {
        {"portal", "--puerto"}, {"portal", "--puerto", "0"}, {"portal", "--puerto", "70000"},
        {"portal", "--puerto", "x"}, {"portal", "--otra", "1"}, {"portal", "--hasta", "24:00"},
        {"portal", "--hasta", "9"}, {"portal", "--conexiones-por-direccion", "0"},
        {"portal", "--conexiones-por-direccion", "4097"}, {"portal", "--conexiones-por-direccion", "x"},
        {"codigos", "Alfa"}, {"codigos", "--otra", "Alfa"},
        {"envios", "0"}, {"envios", "x"},
    };
    for (const auto& caso : casos) {
        std::vector<std::string> argumentos{"--datos", carpeta.ruta().string()};
        argumentos.insert(argumentos.end(), caso.begin(), caso.end());
        EXPECT_EQ(ejecutarCli(argumentos).codigo, 2) << caso.back();
    }
    const auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "portal", "--direccion", "no-es-ip"});
    EXPECT_EQ(r.codigo, 1);
    // An address not this machine's is refused once Qt has started, in the tool's words alone.
    ::unsetenv("XDG_RUNTIME_DIR");
    const auto lejos = ejecutarCli({"--datos", carpeta.ruta().string(), "portal", "--direccion", "192.0.2.1"});
    EXPECT_EQ(lejos.errores, "El portal no pudo escuchar en 192.0.2.1:8080 (¿otro programa usa ese puerto?).\n");
}

TEST(OrdenPortal, UnPlazoYaVencidoSeAvisaConElPeriodoEnCifras) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa"}, 1);
    // A port taken: the order ends after the warning, which comes first.
    const int ocupado = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in lugar{};
    lugar.sin_family = AF_INET;
    lugar.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t largo = sizeof lugar;
    ASSERT_EQ(::bind(ocupado, reinterpret_cast<sockaddr*>(&lugar), sizeof lugar), 0);
    ASSERT_EQ(::listen(ocupado, 1), 0);
    ::getsockname(ocupado, reinterpret_cast<sockaddr*>(&lugar), &largo);
    const auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "portal", "--direccion", "127.0.0.1", "--puerto",
                                std::to_string(ntohs(lugar.sin_port)), "--hasta", "00:00", "--conexiones-por-direccion", "40"});
    ::close(ocupado);
    EXPECT_EQ(r.codigo, 1) << r.errores;
    EXPECT_NE(r.errores.find("Aviso: las 00:00 ya pasaron: el portal rechaza desde ahora los envíos del período 1."),
              std::string::npos)
        << r.errores;
}

TEST(OrdenCodigos, RenovarDaOtroCodigoSoloAEseEquipo) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Ñandú"}, 1);
    const auto antes = lineasDeCodigos(ejecutarCli({"--datos", carpeta.ruta().string(), "codigos"}).salida);
    const auto r = ejecutarCli({"--datos", carpeta.ruta().string(), "codigos", "--renovar", "Ñandú"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto despues = lineasDeCodigos(ejecutarCli({"--datos", carpeta.ruta().string(), "codigos"}).salida);
    EXPECT_EQ(despues[0], antes[0]);
    EXPECT_NE(despues[1].second, antes[1].second);
    EXPECT_EQ(lineasDeCodigos(r.salida)[0], despues[1]);
    EXPECT_EQ(ejecutarCli({"--datos", carpeta.ruta().string(), "codigos", "--renovar", "Nadie"}).codigo, 1);
}

TEST(OrdenEnvios, ElRegistroEnCsvDeUnPeriodoODeTodos) {
    CarpetaTemporal carpeta;
    prepararJuego({"Alfa", "Beta"}, 1);
    const auto momento = std::chrono::system_clock::now();
    juegoDePrueba().anotarEnvios({{momento, 1, "Alfa", "10.0.0.7", {"70", "50"}, true, {}},
                                  {momento, 2, "Beta", "10.0.0.8", {"x,y"}, false, "dice \"no\""}});
    const auto uno = ejecutarCli({"--datos", carpeta.ruta().string(), "envios", "1"});
    ASSERT_EQ(uno.codigo, 0) << uno.errores;
    EXPECT_EQ(uno.salida, cabeceraRegistro() + fechaHoraLocal(momento) + ",1,Alfa,10.0.0.7,70,50,,,,,,,,,guardado,\n");
    const auto todos = ejecutarCli({"--datos", carpeta.ruta().string(), "envios"});
    EXPECT_NE(todos.salida.find(",2,Beta,10.0.0.8,\"x,y\",,,,,,,,,,rechazado,\"dice \"\"no\"\"\"\n"), std::string::npos)
        << todos.salida;
}
