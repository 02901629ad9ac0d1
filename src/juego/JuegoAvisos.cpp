// TJuego: the warnings on decisions not yet stored.

#include "juego/Juego.h"

#include "juego/BloqueoJuego.h"
#include "store/DatosAcum_UD.h"
#include "store/Texto.h"

std::vector<TAvisosEmpresa> TJuego::avisosDeDecisiones(const std::vector<TRegDecision>& decisiones) {
    TBloqueoLectura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirPeriodoAbierto(estado);
    if (decisiones.size() != estado.datos.cantEquipos)
        throw ErrorJuego("Hay " + std::to_string(decisiones.size()) + " decisiones y " +
                         std::to_string(estado.datos.cantEquipos) + " empresas activas.");
    const std::vector<TRegDatosAcum> registros = TDatosAcum(carpeta_).leerTodos();
    std::vector<TAvisosEmpresa> avisos;
    for (std::size_t i = 0; i < decisiones.size() && i < registros.size(); ++i)
        avisos.push_back({aTexto(registros[i].nombreEmpresa), creditoRestante(registros[i], decisiones[i], estado.datos),
                          avisosDeDecision(registros[i], decisiones[i], estado.datos)});
    return avisos;
}
