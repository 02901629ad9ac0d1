#include "comun/Partida.h"

#include "juego/Juego.h"

std::vector<std::vector<TRegDecision>> jugarPeriodos(int hasta,
                                                     const std::function<TRegDecision(int, int)>& decision) {
    std::vector<std::vector<TRegDecision>> usadas;
    for (int periodo = leerEstado().datos.periodoActual; periodo <= hasta; ++periodo) {
        std::vector<TRegDecision> d;
        for (int i = 0; i < leerEstado().datos.cantEquipos; ++i) d.push_back(decision(i, periodo));
        guardarDecisiones(d);
        simular();
        usadas.push_back(d);
    }
    return usadas;
}
