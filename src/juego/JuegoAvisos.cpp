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

TAvisosEmpresa TJuego::avisosDeEmpresa(const std::string& empresa, const TRegDecision& decision) {
    TBloqueoLectura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirPeriodoAbierto(estado);
    for (const TRegDatosAcum& registro : TDatosAcum(carpeta_).leerTodos())
        if (aTexto(registro.nombreEmpresa) == empresa)
            return {empresa, creditoRestante(registro, decision, estado.datos),
                    avisosDeDecision(registro, decision, estado.datos)};
    throw ErrorJuego("La empresa no está en el juego.");
}
