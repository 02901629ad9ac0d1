#pragma once
// What the portal's tests over HTTP share: a game of three teams with
// period 0 run and its codes, the portal on a free loopback port with a
// clock the test moves, and the forms a team sends.

#include "portal/ClienteHttp.h"

#include "comun/CarpetaTemporal.h"
#include "comun/FotoCarpeta.h"
#include "engine/ValidarDecision.h"
#include "juego/Juego.h"
#include "portal/Portal.h"
#include "portal/Sesiones.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <QHostAddress>

#include <chrono>
#include <cstring>

using Reloj = std::chrono::steady_clock;
using Pared = std::chrono::system_clock;

inline const std::vector<std::string> kEquipos = {"Alfa", "<script>alert(1)</script>", cp1252("Gama & \"Cía\"")};

inline TRegDecision decisionDelEquipo(int i) {
    return TRegDecision{60 + 10 * i, 25 * (i + 1), 2000 * i, 1000 + i, 10 * i, 100 * i, 0, 50 * i, 0, 0};
}

inline bool iguales(const TRegDecision& a, const TRegDecision& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

/// The folder as the game sees it: the register of submissions grows with
/// every refusal, and is checked on its own.
inline TFoto juegoEn(const std::filesystem::path& carpeta) {
    TFoto foto = fotografiar(carpeta);
    foto.erase(kArchivoRegistroPortal);
    return foto;
}

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

