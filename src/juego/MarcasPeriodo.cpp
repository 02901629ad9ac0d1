#include "juego/MarcasPeriodo.h"

#include "engine/EmpresaPeriodo.h"

#include <cmath>

std::vector<TMarcaPeriodo> marcasDelPeriodo(const TRegDatosAcum& anterior, const TInformeEmpresa& informe,
                                            bool quebro) {
    const TCifrasEmpresa& c = informe.cifras;
    const TRegDecision& d = informe.decision;
    const TRegDatosIniciales& ini = informe.parametros;
    std::vector<TMarcaPeriodo> marcas;
    if (c.ordenesNoRealizadas > 0)
        marcas.push_back({TTipoMarca::pedidosNoAtendidos, c.ordenesNoRealizadas, int64_t{c.ordenesNoRealizadas} * d.precio});
    if (c.stockFinal > 0) marcas.push_back({TTipoMarca::stockSinVender, c.stockFinal, c.stock.mantenimientoStock});
    if (c.ordenesNoRealizadas > 0 && d.nivelProduccion < 100)
        marcas.push_back({TTipoMarca::nivelBajo, d.nivelProduccion, 0});
    if (c.produccion.empleadosIndemnizados > 0)
        marcas.push_back({TTipoMarca::despidos, c.produccion.empleadosIndemnizados, c.produccion.indemnizaciones});
    if (c.penalidad > 0)
        marcas.push_back({TTipoMarca::penalidad, std::llround(c.prestamoAdicA + c.prestamoAdicB), c.penalidad});
    const TCreditoPeriodo credito = creditoDelPeriodo(anterior, d, ini, true);
    if (credito.excesoA > 0) marcas.push_back({TTipoMarca::excesoDeCredito, d.pedPrestamoA, credito.excesoA, 'A'});
    if (credito.excesoB > 0) marcas.push_back({TTipoMarca::excesoDeCredito, d.pedPrestamoB, credito.excesoB, 'B'});
    if (quebro) {
        // A request above a bank's limit is the cause when it alone passes the limit.
        const bool porExceso = credito.excesoA + credito.excesoB > ini.limiteGiroDescubierto;
        marcas.push_back({TTipoMarca::quiebra, std::llround(c.giro), std::llround(ini.limiteGiroDescubierto), 0,
                          porExceso ? TCausaQuiebra::excesoDeCredito : TCausaQuiebra::faltanteDeFondos});
    }
    return marcas;
}
