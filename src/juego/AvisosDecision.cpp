#include "juego/AvisosDecision.h"

#include "engine/EmpresaPeriodo.h"
#include "engine/ValidarDecision.h"
#include "store/Texto.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

std::string pesos(int64_t monto) { return "u$s " + std::to_string(monto); }

// "banco A (NACION)": the letter of the decision screens, the name of the reports.
std::string nombreBanco(const TRegDatosIniciales& ini, char banco) {
    const std::string nombre = cp1252AUtf8(aTexto(banco == 'A' ? ini.nombreBancoA : ini.nombreBancoB));
    std::string texto = "banco ";
    texto += banco;
    return nombre.empty() ? texto : texto + " (" + nombre + ")";
}

int64_t redondeado(double monto) { return static_cast<int64_t>(std::ceil(monto)); }

TAvisoDecision excesoDeCredito(const TRegDatosIniciales& ini, char banco, int32_t pedido, int64_t restante,
                               int64_t exceso) {
    TAvisoDecision a{TTipoAviso::excesoDeCredito, banco, exceso, restante, {}};
    a.texto = "El préstamo pedido al " + nombreBanco(ini, banco) + " (" + pesos(pedido) + ") supera en " +
              pesos(exceso) + " lo que el banco todavía le presta (" + pesos(std::max<int64_t>(0, restante)) +
              "). El exceso se toma como giro en descubierto; el límite de giro en descubierto del juego es " +
              pesos(redondeado(ini.limiteGiroDescubierto)) + " y, si el giro lo supera, la empresa quiebra.";
    return a;
}

// The run's arithmetic is defined for decisions within their ranges only:
// a screen asks while a field may still hold anything typed.
bool enSusRangos(const TRegDecision& d) {
    return std::ranges::all_of(rangosDecision(), [&](const TRangoDecision& r) { return enRango(r, d.*(r.campo)); });
}

TRegDecision acotada(TRegDecision d) {
    for (const TRangoDecision& r : rangosDecision()) d.*(r.campo) = std::clamp(d.*(r.campo), r.minimo, r.maximo);
    return d;
}

}  // namespace

TCreditoRestante creditoRestante(const TRegDatosAcum& anterior, const TRegDecision& d,
                                 const TRegDatosIniciales& ini) {
    const TCreditoPeriodo c = creditoDelPeriodo(anterior, acotada(d), ini, true);
    return {c.restanteA, c.restanteB};
}

std::vector<TAvisoDecision> avisosDeDecision(const TRegDatosAcum& anterior, const TRegDecision& d,
                                             const TRegDatosIniciales& ini) {
    std::vector<TAvisoDecision> avisos;
    if (!enSusRangos(d)) return avisos;  // refused when stored, with its own message
    const TCreditoPeriodo credito = creditoDelPeriodo(anterior, d, ini, true);
    if (credito.excesoA > 0)
        avisos.push_back(excesoDeCredito(ini, 'A', d.pedPrestamoA, credito.restanteA, credito.excesoA));
    if (credito.excesoB > 0)
        avisos.push_back(excesoDeCredito(ini, 'B', d.pedPrestamoB, credito.restanteB, credito.excesoB));

    // Financing and layoffs do not depend on the orders: the market is left out.
    const TEmpresaCalculada periodo = calcularEmpresa(anterior, d, ini, {}, reglasCorrida(ini.periodoActual));
    const TCifrasEmpresa& c = periodo.cifras;
    if (c.penalidad > 0) {
        // What the banks do not cover is the overdraft beyond the excesses and the carried one.
        const double parteGiro = c.giro - credito.excesoA - credito.excesoB - credito.giroAnteriorRestante;
        TAvisoDecision a{TTipoAviso::faltanteDeFondos, 0, 0, c.penalidad, {}};
        a.monto = redondeado(c.prestamoAdicA + c.prestamoAdicB + parteGiro) - c.penalidad;
        a.texto = "Con estas decisiones a los fondos les faltan " + pesos(a.monto) +
                  " para cubrir los gastos: la empresa pagará una penalidad de " +
                  pesos(c.penalidad) + ".";
        for (const auto& [banco, adicional] : {std::pair{'A', c.prestamoAdicA}, std::pair{'B', c.prestamoAdicB}})
            if (adicional > 0)
                a.texto += " El " + nombreBanco(ini, banco) + " le prestará " + pesos(redondeado(adicional)) +
                           " adicionales.";
        if (parteGiro > 0)
            a.texto += " Lo que los bancos no cubren (" + pesos(redondeado(parteGiro)) +
                       ") se toma como giro en descubierto.";
        avisos.push_back(a);
    }
    if (periodo.quebrada) {
        TAvisoDecision a{TTipoAviso::quiebra, 0, redondeado(c.giro), redondeado(ini.limiteGiroDescubierto), {}};
        a.texto = "Con estas decisiones el giro en descubierto sería de " + pesos(a.monto) +
                  ", más que el límite del juego (" + pesos(a.referencia) + "): la empresa quebraría.";
        avisos.push_back(a);
    }
    if (c.produccion.empleadosIndemnizados > 0) {
        const int32_t despedidos = c.produccion.empleadosIndemnizados;
        TAvisoDecision a{TTipoAviso::despidos, 0, despedidos, c.produccion.indemnizaciones, {}};
        a.texto = "El nivel de producción pedido necesita " + std::to_string(c.produccion.empleadosNecesarios) +
                  " empleados y la empresa tiene " + std::to_string(anterior.empleados) + ": " +
                  (despedidos == 1 ? std::string("se despide 1 empleado")
                                   : "se despiden " + std::to_string(despedidos) + " empleados") +
                  " con una indemnización total de " + pesos(c.produccion.indemnizaciones) + ".";
        avisos.push_back(a);
    }
    return avisos;
}
