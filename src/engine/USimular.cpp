#include "engine/USimular.h"

#include "store/NombresArchivos.h"

#include "engine/Calculos_UD.h"
#include "engine/CifrasEmpresa.h"
#include "engine/EmpresaPeriodo.h"
#include "engine/Historial.h"
#include "engine/Ordenes_UD.h"
#include "engine/ValidarDecision.h"
#include "reports/Reportes_UD.h"
#include "store/ArchivoRegistros.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

// The industry figures of a zone, summed company by company.
// The sums are 64-bit so that 255 large companies cannot overflow them; the
// report prints them as 32-bit figures, as they always were.
struct TAcumuladorIndustria {
    int64_t ordenes = 0, produccion = 0, capacidad = 0, vendido = 0, stock = 0, noRealizadas = 0,
            empleados = 0, ventas = 0, nivel = 0;
    double costoUnitario = 0, precio = 0;  // doubles: every addition rounds to a double
};

// What the run reports to the window; held back until every file step has
// succeeded, so that a run that is rolled back has shown nothing.
struct TAvisos {
    std::vector<std::string> quiebras;  // company names
};

int32_t numero(const cad& texto) { return aEntero(texto); }

class TCorrida {
public:
    // resultados: every record of the results file; the run replaces those
    // of its companies and leaves any beyond them as they are.
    TCorrida(const TRegDatosIniciales& ini, std::vector<TRegDecision> decisiones, std::vector<TRegDatosAcum> acum,
             std::vector<TRegDatosAcum> resultados, TTransaccion& transaccion)
        : ini_(ini), decisiones_(std::move(decisiones)), acum_(std::move(acum)), resultados_(std::move(resultados)),
          calculos_(ini.indemXEmpleado, ini.penalidad) {
        reporte_.escribirEn(&transaccion);
        reporte_.usarEmpresas(&resultados_);
        reporte_.usarParametros(&ini_);
    }

    void ejecutar();
    const TAvisos& avisos() const { return avisos_; }
    const std::vector<std::filesystem::path>& reportes() const { return reportes_; }
    const TRegDatosIniciales& parametros() const { return ini_; }
    const std::vector<TRegDatosAcum>& resultados() const { return resultados_; }
    const std::vector<TFilaIndustria>& filasIndustria() const { return filas_; }
    const std::vector<TRegDatosAcum>& empresasDelPeriodo() const { return empresas_; }
    int periodoNuevo() const { return ini_.periodoActual; }

private:
    void estadisticasZona();
    void simularEmpresa(int i);
    void terminarZona();
    void eliminarQuebradas();

    TRegDatosIniciales ini_;
    std::vector<TRegDecision> decisiones_;
    std::vector<TRegDatosAcum> acum_;
    std::vector<TRegDatosAcum> resultados_;
    std::vector<TFilaIndustria> filas_;  // the industry report's lines, as numbers, for the history
    std::vector<TRegDatosAcum> empresas_;  // every company as the run stored it, before removals

    TCalculos calculos_;
    TOrdenes ordenes_;
    TReporte reporte_;
    empstr emp_{};
    indstr ind_{};
    TAcumuladorIndustria suma_;
    int32_t sumaPreciosZona_ = 0;
    int32_t sumaIyDZona_ = 0;
    TAvisos avisos_;
    std::vector<std::filesystem::path> reportes_;
};

void TCorrida::estadisticasZona() {
    int64_t precios = 0, iyd = 0;
    for (int i = 1; i <= static_cast<int>(decisiones_.size()); ++i) {
        if (i > ini_.cantEquiposZona1) continue;
        precios += decisiones_[i - 1].precio;
        iyd += int64_t{acum_[i - 1].invYDesAcumulada} + decisiones_[i - 1].invYDes;
    }
    sumaPreciosZona_ = static_cast<int32_t>(precios);
    sumaIyDZona_ = static_cast<int32_t>(iyd);
}

void TCorrida::simularEmpresa(int i) {
    const TRegDecision& d = decisiones_[i - 1];
    TRegDatosAcum a = acum_[i - 1];

    TMercadoEmpresa mercado;
    mercado.ordenesPorIyD = ordenes_.ordenesPorInvDes(ini_.nroInvYDes, a.invYDesAcumulada, sumaIyDZona_);
    mercado.ordenesPorPrecio = ordenes_.ajustePorPrecio(sumaPreciosZona_, d.precio, ini_.multipOrdenesMas,
                                                        ini_.multipOrdenesMenos, ini_.cantEquiposZona1);
    const TEmpresaCalculada calculo = calcularEmpresa(a, d, ini_, mercado, reglasCorrida(ini_.periodoActual));
    const TCifrasEmpresa& cifras = calculo.cifras;
    const TResultadoProduccion& prod = cifras.produccion;
    a.giroDescubierto = calculo.giroAnteriorRestante;
    const bool quebrada = calculo.quebrada;
    const double giroTotal = cifras.giro;

    // The company report.
    llenarEmpstr(cifras, d, ini_, aTexto(ini_.nombreBancoA), aTexto(ini_.nombreBancoB), emp_);
    emp_.empresa = aTexto(a.nombreEmpresa);
    emp_.periodo = std::to_string(ini_.periodoActual);
    TReporte& f = reporte_;
    f.ReporteEmpresa(emp_);
    reportes_.push_back(rutaReporteEmpresa(emp_));
    TFilaIndustria fila;
    fila.empresa = emp_.empresa;
    fila.reporte = textoDeRuta(reportes_.back().filename());

    if (quebrada) {
        f.ReporteQuiebraPenalidad(emp_, a, giroTotal);
        reportes_.push_back(rutaReporteQuiebraPenalidad(emp_, giroTotal));
        fila.aviso = textoDeRuta(reportes_.back().filename());
        avisos_.quiebras.push_back(emp_.empresa);
    } else if (cifras.prestamoAdicA + cifras.prestamoAdicB > 0) {
        f.ReporteQuiebraPenalidad(emp_, a, 0);
        reportes_.push_back(rutaReporteQuiebraPenalidad(emp_, 0));
        fila.aviso = textoDeRuta(reportes_.back().filename());
    }

    if (a.zona != 1) return;

    const TRegDatosAcum& nuevo = resultados_[static_cast<std::size_t>(i - 1)] =
        registroResultados(calculo, a.nombreEmpresa);
    fila.precio = d.precio;
    fila.ventas = cifras.resultado.ventas;
    fila.utilidadPeriodo = redondearTecho(cifras.resultado.utilPeriodo);
    fila.utilidadAcumulada = nuevo.utilidadAcumulada;
    fila.unidadesVendidas = cifras.ventas;
    fila.quebrada = quebrada;
    filas_[static_cast<std::size_t>(i - 1)] = std::move(fila);

    suma_.ordenes += cifras.ordenesRecibidas;
    suma_.produccion += prod.produccion;
    suma_.capacidad += prod.capacidadActual;
    suma_.vendido += cifras.ventas;
    suma_.stock += cifras.stockFinal;
    suma_.noRealizadas += cifras.ordenesNoRealizadas;
    suma_.empleados += prod.empleadosNecesarios;
    suma_.costoUnitario = suma_.costoUnitario + cifras.costoUnitario;
    suma_.precio = suma_.precio + d.precio;
    suma_.nivel += d.nivelProduccion;
    suma_.ventas += cifras.resultado.ventas;

    const std::size_t pos = static_cast<std::size_t>(i - 1);
    ind_.nombres[pos] = f.FormatoNombre(emp_.empresa);
    ind_.precios[pos] = emp_.precio;
    ind_.ventasdol[pos] = emp_.ventas;
    ind_.utilperiodos[pos] = emp_.utilperiodo;
    ind_.utilacums[pos] = emp_.utacumuladas;
    ind_.unidvendidas[pos] = emp_.ventasunid;
    ind_.mercados[pos] = emp_.ventasunid;

    if (i == ini_.cantEquiposZona1) {
        terminarZona();
        suma_ = TAcumuladorIndustria{};
    }
}

void TCorrida::terminarZona() {
    TReporte& f = reporte_;
    const int n = ini_.cantEquiposZona1;
    long double costoPromedio = 0, precioPromedio = 0, ventasPorEmpleado = 0;
    int32_t nivelPromedio = 0;
    if (n != 0) {
        costoPromedio = suma_.costoUnitario / n;
        precioPromedio = suma_.precio / n;
        nivelPromedio = static_cast<int32_t>(std::trunc(static_cast<long double>(suma_.nivel) / n));
        if (static_cast<int32_t>(suma_.empleados) != 0) ventasPorEmpleado = static_cast<long double>(static_cast<int32_t>(suma_.ventas)) / static_cast<int32_t>(suma_.empleados);
    }
    ind_.iydacum = f.FormatoEntero(sumaIyDZona_);
    ind_.totordenes = f.FormatoEntero(static_cast<int32_t>(suma_.ordenes));
    ind_.totproducido = f.FormatoEntero(static_cast<int32_t>(suma_.produccion));
    ind_.totcapacidad = f.FormatoEntero(static_cast<int32_t>(suma_.capacidad));
    ind_.totvendido = f.FormatoEntero(static_cast<int32_t>(suma_.vendido));
    ind_.totstock = f.FormatoEntero(static_cast<int32_t>(suma_.stock));
    ind_.totnorealiz = f.FormatoEntero(static_cast<int32_t>(suma_.noRealizadas));
    ind_.totempleados = f.FormatoEntero(static_cast<int32_t>(suma_.empleados));
    ind_.totventas = f.FormatoEntero(static_cast<int32_t>(suma_.ventas));
    ind_.capprom = f.FormatoEntero(nivelPromedio);
    ind_.tasaimp = f.FormatoDecimal(static_cast<double>(static_cast<long double>(ini_.tasaImpuestos) * 100));
    ind_.costoprom = f.FormatoDecimal(static_cast<double>(costoPromedio));
    ind_.precioprom = f.FormatoDecimal(static_cast<double>(precioPromedio));
    ind_.ventasxempleado = f.FormatoTecho(static_cast<double>(ventasPorEmpleado));
    llenarCondiciones(emp_, ini_, ind_);
    ind_.primera = 0;
    ind_.cantidad = static_cast<uint8_t>(n);
    ind_.periodo = std::to_string(ini_.periodoActual);
    ind_.empresa.clear();
    for (int j = 0; j < n; ++j) {
        const std::size_t pos = static_cast<std::size_t>(j);
        const double participacion =
            calculos_.porcentaje(numero(ind_.unidvendidas[pos]), static_cast<int32_t>(suma_.vendido));
        ind_.mercados[pos] = f.FormatoDecimal(participacion);
        filas_[pos].participacion = static_cast<double>(std::round(static_cast<long double>(participacion) * 100) / 100);
    }
    const std::vector<int> posiciones = posicionesPorUtilidad(resultados_, static_cast<std::size_t>(n));
    for (std::size_t j = 0; j < posiciones.size(); ++j) filas_[j].posicion = posiciones[j];
    f.ReporteIndustria(ind_);
    reportes_.push_back(rutaReporteIndustria(ind_));
}

void TCorrida::eliminarQuebradas() {
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

void TCorrida::ejecutar() {
    const int n = ini_.cantEquipos;
    prepararIndstr(ind_, static_cast<std::size_t>(n));
    filas_.assign(static_cast<std::size_t>(n), TFilaIndustria{});
    for (int i = 1; i <= n; ++i) {
        if (i == 1) estadisticasZona();
        simularEmpresa(i);
    }
    ini_.periodoActual = static_cast<uint8_t>(ini_.periodoActual + 1);
    empresas_.assign(resultados_.begin(), resultados_.begin() + n);
    eliminarQuebradas();
    ini_.cantEquipos = static_cast<uint8_t>(ini_.cantEquiposZona1 + ini_.cantEquiposZona2 + ini_.cantEquiposZona3);
}

}  // namespace

TResultadoCorrida simularPeriodo(const TCarpeta& carpeta) {
    const TRegDatosIniciales ini = TDatosjuego(carpeta).leerDatosDelJuego();

    // Everything the run will use is read and checked before any file changes.
    const int n = ini.cantEquipos;
    std::vector<TRegDecision> decisiones;
    std::vector<TRegDatosAcum> resultados;
    if (n > 0) resultados = TDatosAcum(carpeta).leerTodos();
    if (static_cast<int>(resultados.size()) < n)
        throw ErrorArchivo(carpeta.ruta(kArchivoResultados), "faltan los resultados de algunas empresas");
    // Records of an older, larger game are never read.
    std::vector<TRegDatosAcum> acumulados(resultados.begin(), resultados.begin() + n);
    if (n > 0) decisiones = TDecision(carpeta).leerDecisiones(static_cast<uint8_t>(n));
    for (int i = 1; i <= n; ++i) validarDecision(decisiones[i - 1], aTexto(acumulados[i - 1].nombreEmpresa));
    const int periodo = ini.periodoActual;
    const std::string nombrePeriodo = "período " + std::to_string(periodo);

    // Everything the run produces is staged and appears at once when it
    // commits; a failure or a crash before that leaves the game as it was.
    TTransaccion transaccion(
        carpeta, "La última simulación se interrumpió; el juego quedó como antes del " + nombrePeriodo + ".",
        "La última simulación se interrumpió y se completó: el " + nombrePeriodo + " quedó simulado.");
    // The checkpoint: the three game files as they are now. It replaces the
    // previous one only when this run commits.
    for (const auto& [juego, respaldo] : kRespaldos) {
        const auto ruta = carpeta.ruta(juego);
        transaccion.escribir(respaldo, carpeta.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno
                                           ? std::string()
                                           : leerArchivoEntero(carpeta.sa(), ruta));
    }
    TArchivoPeriodo archivo;
    archivo.periodo = periodo;
    archivo.decisiones = decisiones;
    TCorrida corrida(ini, std::move(decisiones), std::move(acumulados), std::move(resultados), transaccion);
    corrida.ejecutar();
    const std::string bytesResultados = bytesDeRegistros(corrida.resultados());
    transaccion.escribir(kArchivoResultados, bytesResultados);
    transaccion.escribir(kArchivoParametros, bytesDeRegistros(std::vector{corrida.parametros()}));
    transaccion.escribir(kArchivoDecisiones, {});
    archivo.parametros = corrida.parametros();
    archivo.resultados = corrida.resultados();
    archivo.industria = corrida.filasIndustria();
    archivo.empresas = corrida.empresasDelPeriodo();
    archivarPeriodo(transaccion, archivo, corrida.reportes());
    transaccion.confirmar();
    return {periodo, n, corrida.avisos().quiebras, corrida.periodoNuevo()};
}
