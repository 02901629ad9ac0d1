#include "engine/CifrasEmpresa.h"

#include "engine/Redondeo.h"

#include <cmath>

TCifrasAviso cifrasAviso(const TInformeEmpresa& informe, const TRegDatosAcum& anterior, double giro) {
    const TCifrasEmpresa& c = informe.cifras;
    const TRegDecision& d = informe.decision;
    TCifrasAviso a;
    a.empresa = informe.empresa;
    a.quiebra = giro != 0;
    a.giro = giro;
    a.efectivo = anterior.efectivo;
    a.intereses = anterior.intereses;
    a.pedPrestamoA = d.pedPrestamoA;
    a.pedPrestamoB = d.pedPrestamoB;
    a.mantenimiento = c.produccion.mantenimiento;
    a.marketing = d.marketing;
    a.invYDes = d.invYDes;
    a.capacitacion = d.capacitacion;
    a.invPlanta = d.invPlanta;
    a.devPrestamoA = d.devPrestamoA;
    a.devPrestamoB = d.devPrestamoB;
    // In extended precision and in this order, as the notice always added them.
    a.costoProduccion = static_cast<long double>(c.produccion.produccion) * comoDosDecimales(c.costoUnitario);
    a.totalIngresos = (static_cast<long double>(d.pedPrestamoA) + anterior.efectivo) + d.pedPrestamoB;
    a.totalEgresos = static_cast<long double>(comoTruncado(c.produccion.mantenimiento)) + a.costoProduccion +
                     anterior.intereses + d.marketing + d.invYDes + d.capacitacion + d.invPlanta +
                     d.devPrestamoA + d.devPrestamoB;
    return a;
}

double porcientoTipeado(double tasa) {
    const long double porciento = static_cast<double>(static_cast<long double>(tasa) * 100);
    constexpr long double escala = 1e9L;
    return static_cast<double>(std::roundl(porciento * escala) / escala);
}
