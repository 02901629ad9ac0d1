// The orders drawn or served with Qt speak only the tool's Spanish: nothing
// of Qt's own English reaches the terminal, whatever the session lacks.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

#ifdef CORVELIAN_DOCUMENTOS

namespace {

// A loopback port held by this test, so that the portal stops with its own
// refusal instead of serving.
struct TPuertoOcupado {
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    int puerto = 0;
    TPuertoOcupado() {
        sockaddr_in direccion{};
        direccion.sin_family = AF_INET;
        direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t largo = sizeof direccion;
        if (::bind(socket, reinterpret_cast<sockaddr*>(&direccion), largo) == 0 && ::listen(socket, 1) == 0 &&
            ::getsockname(socket, reinterpret_cast<sockaddr*>(&direccion), &largo) == 0)
            puerto = ntohs(direccion.sin_port);
    }
    ~TPuertoOcupado() { ::close(socket); }
};

}  // namespace

TEST(MensajesDeQt, SinXdgRuntimeDirSoloHablaLaHerramienta) {
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    CarpetaTemporal carpeta;
    juegoDePrueba().crearJuego({"Alfa", "Beta"}, ejemploDatosIniciales());
    juegoDePrueba().correrPeriodo0(ejemploPeriodo0());
    juegoDePrueba().guardarDecisiones(std::vector<TRegDecision>(2, TRegDecision{70, 50, 2000, 5000, 1000, 0, 0, 0, 0, 0}));
    juegoDePrueba().simular();
    TPuertoOcupado ocupado;
    ASSERT_GT(ocupado.puerto, 0);
    const std::string dir = carpeta.ruta().string();
    const struct {
        std::vector<std::string> orden;
        int codigo;
        std::string errores;
    } casos[] = {
        {{"pdf", "1", (carpeta / "pdf").string()}, 0, ""},
        {{"graficos", (carpeta / "graficos").string()}, 0, ""},
        {{"portal", "--direccion", "127.0.0.1", "--puerto", std::to_string(ocupado.puerto)}, 1,
         "El portal no pudo escuchar en 127.0.0.1:" + std::to_string(ocupado.puerto) +
             " (¿otro programa usa ese puerto?).\n"},
    };
    for (const auto& caso : casos) {
        std::vector<std::string> argumentos = {"--datos", dir};
        argumentos.insert(argumentos.end(), caso.orden.begin(), caso.orden.end());
        const TResultado r = ejecutarCli(argumentos);
        EXPECT_EQ(r.codigo, caso.codigo) << caso.orden[0] << ": " << r.errores;
        EXPECT_EQ(r.errores, caso.errores) << caso.orden[0];
    }
}

#endif
