#include "comun/Partida.h"

#include "comun/CarpetaTemporal.h"
#include "juego/Juego.h"

std::vector<std::vector<TRegDecision>> jugarPeriodos(int hasta,
                                                     const std::function<TRegDecision(int, int)>& decision) {
    std::vector<std::vector<TRegDecision>> usadas;
    for (int periodo = juegoDePrueba().leerEstado().datos.periodoActual; periodo <= hasta; ++periodo) {
        std::vector<TRegDecision> d;
        for (int i = 0; i < juegoDePrueba().leerEstado().datos.cantEquipos; ++i) d.push_back(decision(i, periodo));
        juegoDePrueba().guardarDecisiones(d);
        juegoDePrueba().simular();
        usadas.push_back(d);
    }
    return usadas;
}
