#include "engine/CalculoCorrida.h"

#include "engine/Calculos_UD.h"
#include "engine/EmpresaPeriodo.h"
#include "engine/Ordenes_UD.h"
#include "engine/Ranking.h"
#include "engine/Redondeo.h"
#include "store/Texto.h"

#include <cmath>

TCalculoCorrida::TCalculoCorrida(const TRegDatosIniciales& ini, std::vector<TRegDecision> decisiones,
                                 std::vector<TRegDatosAcum> acumulados, std::vector<TRegDatosAcum> resultados)
    : ini_(ini), decisiones_(std::move(decisiones)), acumulados_(std::move(acumulados)),
      resultados_(std::move(resultados)) {}

void TCalculoCorrida::estadisticasZona() {
    int64_t precios = 0, iyd = 0;
    for (int i = 1; i <= static_cast<int>(decisiones_.size()); ++i) {
        if (i > ini_.cantEquiposZona1) continue;
        precios += decisiones_[i - 1].precio;
        iyd += int64_t{acumulados_[i - 1].invYDesAcumulada} + decisiones_[i - 1].invYDes;
    }
    sumaPreciosZona_ = static_cast<int32_t>(precios);
    sumaIyDZona_ = static_cast<int32_t>(iyd);
}

void TCalculoCorrida::simularEmpresa(int i) {
    const std::size_t pos = static_cast<std::size_t>(i - 1);
    const TRegDecision& d = decisiones_[pos];
    const TRegDatosAcum& a = acumulados_[pos];

    TMercadoEmpresa mercado;
    mercado.ordenesPorIyD = TOrdenes().ordenesPorInvDes(ini_.nroInvYDes, a.invYDesAcumulada, sumaIyDZona_);
    mercado.ordenesPorPrecio = TOrdenes().ajustePorPrecio(sumaPreciosZona_, d.precio, ini_.multipOrdenesMas,
                                                          ini_.multipOrdenesMenos, ini_.cantEquiposZona1);
    const TEmpresaCalculada calculo = calcularEmpresa(a, d, ini_, mercado, reglasCorrida(ini_.periodoActual));
    const TCifrasEmpresa& cifras = calculo.cifras;

    TEmpresaCorrida empresa;
    empresa.informe = {cifras, d, ini_, aTexto(ini_.nombreBancoA), aTexto(ini_.nombreBancoB),
                       aTexto(a.nombreEmpresa), ini_.periodoActual, false};
    TFilaIndustria fila;
    fila.empresa = empresa.informe.empresa;
    if (calculo.quebrada) {
        empresa.aviso = cifrasAviso(empresa.informe, a, cifras.giro);
        quiebras_.push_back(empresa.informe.empresa);
    } else if (cifras.prestamoAdicA + cifras.prestamoAdicB > 0) {
        empresa.aviso = cifrasAviso(empresa.informe, a, 0);
    }
    empresa.enLaZona = a.zona == 1;
    empresas_.push_back(std::move(empresa));
    if (a.zona != 1) return;

    const TRegDatosAcum& nuevo = resultados_[pos] = registroResultados(calculo, a.nombreEmpresa);
    fila.precio = d.precio;
    fila.ventas = cifras.resultado.ventas;
    fila.utilidadPeriodo = redondearTecho(cifras.resultado.utilPeriodo);
    fila.utilidadAcumulada = nuevo.utilidadAcumulada;
    fila.unidadesVendidas = cifras.ventas;
    fila.quebrada = calculo.quebrada;

    TCompetidor& competidor = competidores_[pos];
    competidor.nombre = fila.empresa;
    competidor.precio = d.precio;
    competidor.ventas = cifras.resultado.ventas;
    competidor.utilidadPeriodo = cifras.resultado.utilPeriodo;
    competidor.utilidadAcumulada = cifras.balance.utilAcumulada;
    competidor.unidadesVendidas = cifras.ventas;
    // The report's accumulated profit, read as a whole number, ranks it.
    claves_[pos] = nuevo.utilidadAcumulada;
    filas_[pos] = std::move(fila);
    sumarALaZona(cifras, d);

    if (i == ini_.cantEquiposZona1) {
        antesDeIndustria_ = empresas_.size();
        terminarZona();
        suma_ = TSumaZona{};
    }
}

void TCalculoCorrida::sumarALaZona(const TCifrasEmpresa& cifras, const TRegDecision& d) {
    suma_.ordenes += cifras.ordenesRecibidas;
    suma_.produccion += cifras.produccion.produccion;
    suma_.capacidad += cifras.produccion.capacidadActual;
    suma_.vendido += cifras.ventas;
    suma_.stock += cifras.stockFinal;
    suma_.noRealizadas += cifras.ordenesNoRealizadas;
    suma_.empleados += cifras.produccion.empleadosNecesarios;
    suma_.costoUnitario = suma_.costoUnitario + cifras.costoUnitario;
    suma_.precio = suma_.precio + d.precio;
    suma_.nivel += d.nivelProduccion;
    suma_.ventas += cifras.resultado.ventas;
}

void TCalculoCorrida::terminarZona() {
    const int n = ini_.cantEquiposZona1;
    TCifrasIndustria ind;
    ind.periodo = ini_.periodoActual;
    ind.parametros = ini_;
    ind.bancoA = aTexto(ini_.nombreBancoA);
    ind.bancoB = aTexto(ini_.nombreBancoB);
    if (n != 0) {
        ind.costoPromedio = suma_.costoUnitario / n;
        ind.precioPromedio = suma_.precio / n;
        ind.nivelPromedio = static_cast<int32_t>(std::trunc(static_cast<long double>(suma_.nivel) / n));
        if (static_cast<int32_t>(suma_.empleados) != 0)
            ind.ventasPorEmpleado = static_cast<double>(static_cast<long double>(static_cast<int32_t>(suma_.ventas)) /
                                                        static_cast<int32_t>(suma_.empleados));
    }
    ind.invYDesAcumulada = sumaIyDZona_;
    ind.ordenes = static_cast<int32_t>(suma_.ordenes);
    ind.produccion = static_cast<int32_t>(suma_.produccion);
    ind.capacidad = static_cast<int32_t>(suma_.capacidad);
    ind.vendido = static_cast<int32_t>(suma_.vendido);
    ind.stock = static_cast<int32_t>(suma_.stock);
    ind.noRealizadas = static_cast<int32_t>(suma_.noRealizadas);
    ind.empleados = static_cast<int32_t>(suma_.empleados);
    ind.ventas = static_cast<int32_t>(suma_.ventas);

    // The ranking leaves out the companies the results mark as bankrupt.
    std::vector<bool> fuera;
    for (int j = 0; j < n; ++j) fuera.push_back(resultados_[static_cast<std::size_t>(j)].quebrada == 1);
    const std::vector<int> rango = posicionesEnRanking(claves_, fuera);
    TCalculos calculos(ini_.indemXEmpleado, ini_.penalidad);
    for (int j = 0; j < n; ++j) {
        const std::size_t pos = static_cast<std::size_t>(j);
        TCompetidor c = competidores_[pos];
        c.participacion = calculos.porcentaje(c.unidadesVendidas, ind.vendido);
        c.posicion = rango[pos];
        c.quebrada = resultados_[pos].quebrada != 0;
        c.marcaQuiebra = resultados_[pos].marcaQuiebra != 0;
        filas_[pos].participacion =
            static_cast<double>(std::round(static_cast<long double>(c.participacion) * 100) / 100);
        ind.empresas.push_back(std::move(c));
    }
    const std::vector<int> posiciones = posicionesPorUtilidad(resultados_, static_cast<std::size_t>(n));
    for (std::size_t j = 0; j < posiciones.size(); ++j) filas_[j].posicion = posiciones[j];
    industria_ = std::move(ind);
}

void TCalculoCorrida::eliminarQuebradas() {
    if (ini_.cantEquipos == 0) return;
    std::vector<TRegDatosAcum> quedan;
    for (std::size_t i = 0; i < resultados_.size(); ++i) {
        const TRegDatosAcum& r = resultados_[i];
        if (i >= ini_.cantEquipos || r.quebrada != 1) {
            quedan.push_back(r);
            continue;
        }
        switch (r.zona) {
        case 1: --ini_.cantEquiposZona1; break;
        case 2: --ini_.cantEquiposZona2; break;
        case 3: --ini_.cantEquiposZona3; break;
        default: break;
        }
    }
    resultados_ = std::move(quedan);
}

void TCalculoCorrida::ejecutar() {
    const int n = ini_.cantEquipos;
    filas_.assign(static_cast<std::size_t>(n), TFilaIndustria{});
    competidores_.assign(static_cast<std::size_t>(n), TCompetidor{});
    claves_.assign(static_cast<std::size_t>(n), 0);
    for (int i = 1; i <= n; ++i) {
        if (i == 1) estadisticasZona();
        simularEmpresa(i);
    }
    ini_.periodoActual = static_cast<uint8_t>(ini_.periodoActual + 1);
    empresasDelPeriodo_.assign(resultados_.begin(), resultados_.begin() + n);
    eliminarQuebradas();
    ini_.cantEquipos = static_cast<uint8_t>(ini_.cantEquiposZona1 + ini_.cantEquiposZona2 + ini_.cantEquiposZona3);
}
