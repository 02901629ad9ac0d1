#include "engine/UDecicionesPeriodo0.h"

#include "engine/Redondeo.h"
#include "store/NombresArchivos.h"

TDecisionesPeriodo0 ejemploPeriodo0() {
    TDecisionesPeriodo0 d;
    d.precio = 90;
    d.marketing = 8000;
    d.invYDes = 1000;
    d.capacitacion = 4000;
    d.nivelProduccion = 75;
    d.invPlanta = 0;
    d.pedPrestamoA = 80000;
    d.pedPrestamoB = 70000;
    return d;
}

TRegDecision decisionComun(const TDecisionesPeriodo0& d) {
    return TRegDecision{d.precio,    d.nivelProduccion, d.capacitacion, d.marketing,    d.invYDes,
                        d.invPlanta, d.pedPrestamoA,    d.pedPrestamoB, d.devPrestamoA, d.devPrestamoB};
}

TDecisionesPeriodo0 decisionesPeriodo0(const TRegDecision& r, std::string nombreBancoA, std::string nombreBancoB) {
    return TDecisionesPeriodo0{r.precio,       r.marketing,    r.invYDes,      r.capacitacion,
                               r.nivelProduccion, r.invPlanta, r.pedPrestamoA, r.pedPrestamoB,
                               r.devPrestamoA, r.devPrestamoB, std::move(nombreBancoA), std::move(nombreBancoB)};
}

TCalculoPeriodo0::TCalculoPeriodo0(const TRegDatosIniciales& ini, const TDecisionesPeriodo0& d)
    : ini_(ini), decisiones_(d) {
    // One standard company that starts from nothing but the initial plant and capital.
    calculo_ = calcularEmpresa(estadoInicial(ini), decisionComun(d), ini, {}, reglasPeriodo0());
    informe_ = {calculo_.cifras, decisionComun(d), ini, d.nombreBancoA, d.nombreBancoB, kEmpresaPeriodo0, 0, true};
}

TCifrasIndustria TCalculoPeriodo0::industria(const std::vector<std::string>& nombres) const {
    const TCifrasEmpresa& c = calculo_.cifras;
    const TResultadoProduccion& prod = c.produccion;
    const int n = static_cast<int>(nombres.size());
    TCifrasIndustria ind;
    ind.periodo0 = true;
    ind.parametros = ini_;
    ind.bancoA = decisiones_.nombreBancoA;
    ind.bancoB = decisiones_.nombreBancoB;
    // All companies are equal: the industry is the standard company n times.
    ind.ordenes = c.ordenesRecibidas * n;
    ind.produccion = prod.produccion * n;
    ind.capacidad = prod.capacidadActual * n;
    ind.vendido = c.ventas * n;
    ind.stock = c.stockFinal * n;
    ind.noRealizadas = c.ordenesNoRealizadas * n;
    ind.empleados = prod.empleadosNecesarios * n;
    ind.ventas = c.resultado.ventas * n;
    const int64_t empleados = int64_t{prod.empleadosNecesarios} * n;
    ind.ventasPorEmpleado =
        empleados == 0 ? 0.0
                       : static_cast<double>(static_cast<long double>(int64_t{c.resultado.ventas} * n) / empleados);
    ind.costoPromedio = c.costoUnitario;
    ind.precioPromedio = decisiones_.precio;
    ind.nivelPromedio = decisiones_.nivelProduccion;
    for (const std::string& nombre : nombres) {
        TCompetidor competidor;
        competidor.nombre = nombre;
        competidor.precio = decisiones_.precio;
        competidor.ventas = c.resultado.ventas;
        competidor.utilidadPeriodo = c.resultado.utilPeriodo;
        competidor.utilidadAcumulada = c.balance.utilAcumulada;
        competidor.unidadesVendidas = c.ventas;
        competidor.participacion = 100 / n;  // the remainder dropped, as the report always printed it
        ind.empresas.push_back(std::move(competidor));
    }
    return ind;
}

std::vector<TRegDatosAcum> TCalculoPeriodo0::resultados(std::vector<TRegDatosAcum> previos,
                                                        const std::vector<std::string>& nombres) const {
    TRegDatosAcum r = registroResultados(calculo_, cadena{});
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        asignar(r.nombreEmpresa, nombres[i]);
        if (i < previos.size()) previos[i] = r;
        else previos.push_back(r);
    }
    return previos;
}

TArchivoPeriodo TCalculoPeriodo0::archivo(const std::vector<std::string>& nombres,
                                          const std::vector<TRegDatosAcum>& resultados,
                                          const std::string& reporte) const {
    const TCifrasEmpresa& c = calculo_.cifras;
    TArchivoPeriodo archivo;
    archivo.periodo = 0;
    archivo.parametros = ini_;
    archivo.resultados = resultados;
    const int n = static_cast<int>(nombres.size());
    for (const std::string& nombre : nombres) {
        TFilaIndustria fila;
        fila.empresa = nombre;
        fila.precio = decisiones_.precio;
        fila.ventas = c.resultado.ventas;
        fila.utilidadPeriodo = redondearTecho(c.resultado.utilPeriodo);
        fila.utilidadAcumulada = redondearTecho(c.balance.utilAcumulada);
        fila.unidadesVendidas = c.ventas;
        fila.participacion = 100 / n;  // as the report prints it, the remainder dropped
        fila.reporte = reporte;
        archivo.industria.push_back(std::move(fila));
        TRegDatosAcum empresa = registroResultados(calculo_, cadena{});
        asignar(empresa.nombreEmpresa, nombre);
        archivo.empresas.push_back(empresa);
        archivo.decisiones.push_back(informe_.decision);
    }
    return archivo;
}
