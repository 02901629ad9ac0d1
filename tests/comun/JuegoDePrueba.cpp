// The game part of the shared test helpers: the game of the current test
// folder, for the tests that link the game core.
#include "comun/CarpetaTemporal.h"

#include "juego/Juego.h"

#include <memory>

namespace {

std::unique_ptr<TJuego> juegoActual;

void olvidar() { juegoActual.reset(); }

}  // namespace

TJuego& juegoDePrueba() {
    alCambiarDeCarpeta(olvidar);
    const TCarpeta carpeta = carpetaDePrueba();
    if (!juegoActual || juegoActual->ruta() != carpeta.ruta() || &juegoActual->sistemaArchivos() != &carpeta.sa()) {
        juegoActual = std::make_unique<TJuego>(carpeta.ruta(), carpeta.sa());
        juegoActual->fijarNotificador(&registroNotificador());
    }
    return *juegoActual;
}
