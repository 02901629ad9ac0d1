#include "engine/UDecicionesPeriodo0.h"

#include "engine/Calculos_UD.h"
#include "engine/CifrasEmpresa.h"
#include "engine/Historial.h"
#include "engine/Ordenes_UD.h"
#include "engine/UTablaCostos.h"
#include "engine/ValidarDecision.h"
#include "reports/Reportes_UD.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Notificador.h"
#include "store/ArchivoRegistros.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

#include <cmath>

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

void ejecutarPeriodo0(const TDecisionesPeriodo0& d) {
    const TRegDecision comunes{d.precio,    d.nivelProduccion, d.capacitacion, d.marketing,    d.invYDes,
                               d.invPlanta, d.pedPrestamoA,    d.pedPrestamoB, d.devPrestamoA, d.devPrestamoB};
    validarDecision(comunes, "");

    TDatosjuego datos;
    TRegDatosIniciales ini{};
    datos.leerDatosIniciales(ini);
    const uint8_t precio = static_cast<uint8_t>(d.precio);  // the sales product takes the price as one byte

    TCalculos calculos;
    TOrdenes ordenes;
    tcosto costo;
    // The reports, the results and the history appear together when the run
    // commits; a failure or a crash before that leaves the game as it was.
    TTransaccion transaccion("el juego quedó como antes del período 0.", "el período 0 quedó corrido.");
    TReporte f;
    f.escribirEn(&transaccion);

    // One standard company that starts from nothing but the initial plant and capital.
    TEntradaProduccion entrada{0, d.capacitacion, 0, 0, 0.0, 0.0, ini.interesA, ini.interesB, ini.tasaMantenimiento,
                               static_cast<double>(d.nivelProduccion), ini.tasaProduccion, d.pedPrestamoA,
                               d.pedPrestamoB, d.devPrestamoA, d.devPrestamoB, d.invPlanta, ini.planta, 0};
    TResultadoProduccion prod{};
    calculos.calcularProduccion(entrada, prod);

    double costoUnitario = 0, costoTotal = 0;
    costo.costoProduccion(ini.planta, prod.produccion, 0, static_cast<uint8_t>(d.nivelProduccion), costoUnitario,
                          costoTotal);

    int32_t recibidas = 0, vendidas = 0, noRealizadas = 0, stockFinal = 0;
    ordenes.calcularOrdenes(0, 0, ini.modifOrdenes, prod.produccion, d.marketing, precio, recibidas, vendidas,
                            noRealizadas, stockFinal);

    TEntradaStock entradaStock{0, 0, stockFinal, ini.penalidadStock, prod.produccion, vendidas, 0.0, costoUnitario};
    TResultadoStock stock{};
    calculos.valuarStock(entradaStock, stock);

    bool fondosSuficientes = false;
    double faltante = 0;
    // The interest of this period's loans at this period's rates counts among the outlays.
    const double interesesProvisorios =
        static_cast<double>(static_cast<long double>(prod.interesA) + prod.interesB);
    calculos.verificarFondos(d.pedPrestamoA + d.pedPrestamoB, 0, interesesProvisorios, prod.mantenimiento,
                             costoTotal, d.devPrestamoA + d.devPrestamoB, d.invPlanta, d.marketing, d.capacitacion,
                             d.invYDes, fondosSuficientes, faltante);

    int32_t penalidad = 0;
    double adicionalA = 0, adicionalB = 0, parteGiro = 0;
    TEntradaCredito credito{faltante,        0.0,          0.0,        ini.maxCreditoA, ini.maxCreditoB,
                            d.devPrestamoB,  d.pedPrestamoB, d.devPrestamoA, d.pedPrestamoA};
    if (!fondosSuficientes) calculos.cubrirFaltante(credito, penalidad, adicionalA, adicionalB, parteGiro);

    // No credit limit is enforced in period 0: both excesses are 0.
    double deudaA = 0, deudaB = 0, interesGiro = 0, giro = 0;
    bool quebrada = false, marcaQuiebra = false;
    calculos.calcularDeudas(0, 0, credito, parteGiro, adicionalA, adicionalB, ini.tasaGiroDescubierto, deudaA, deudaB,
                            interesGiro, giro, quebrada, marcaQuiebra);
    prod.interesA = deudaA * ini.interesA;
    prod.interesB = deudaB * ini.interesB;

    const int32_t costoMercVendida = aEntero(f.FormatoTecho(stock.costoMercVendida));
    TEstadoResultado resultado{};
    calculos.estadoDeResultado(costoMercVendida, stock.mantenimientoStock, prod, ini.tasaImpuestos, interesGiro,
                               penalidad, d.invYDes, d.capacitacion, d.marketing, vendidas, precio, resultado);
    TBalance bal{};
    calculos.balance(prod.plantaNueva, ini.capital, 0, deudaB, resultado.utilPeriodo, stock.valorStock, deudaA, 0.0,
                     bal);
    bal.efectivo = std::trunc(bal.efectivo);

    const TCifrasEmpresa cifras{prod,     stock,        resultado,  bal,       costoUnitario, recibidas,
                                vendidas, noRealizadas, stockFinal, penalidad, adicionalA,    adicionalB,
                                deudaA,   deudaB,       giro};
    empstr emp{};
    llenarEmpstr(cifras, comunes, ini, d.nombreBancoA, d.nombreBancoB, emp);
    // One report stands for every company; it carries no period number, and
    // the accumulated figures are the period's own decisions.
    emp.empresa = "IGUALES";
    emp.capacacum = f.FormatoEntero(d.capacitacion);
    emp.iydacum = f.FormatoEntero(d.invYDes);
    // Period 0 computes no dismissals: "Empleados Indemniz." stays empty.
    emp.empindemniz.clear();
    f.ReporteEmpresa(emp);
    std::vector<std::filesystem::path> reportes{rutaReporteEmpresa(emp)};

    uint8_t zonaActiva = 0, periodoActual = 0, zona1 = 0, zona2 = 0, zona3 = 0;
    datos.leerContadores(zonaActiva, periodoActual, zona1, zona2, zona3);
    const int n = zona1;
    std::vector<std::string> nombres(n);
    for (int j = 0; j < n; ++j) datos.leerNombre(static_cast<uint8_t>(j + 1), nombres[j]);

    if (n != 0) {
        indstr ind{};
        prepararIndstr(ind, std::max<std::size_t>(ini.cantEquipos, static_cast<std::size_t>(n)));
        llenarCondiciones(emp, ini, ind);
        // All companies are equal: the industry is the standard company n times.
        ind.totordenes = f.FormatoEntero(recibidas * n);
        ind.totproducido = f.FormatoEntero(prod.produccion * n);
        ind.totcapacidad = f.FormatoEntero(prod.capacidadActual * n);
        ind.totvendido = f.FormatoEntero(vendidas * n);
        ind.totstock = f.FormatoEntero(stockFinal * n);
        ind.totnorealiz = f.FormatoEntero(noRealizadas * n);
        ind.totempleados = f.FormatoEntero(prod.empleadosNecesarios * n);
        ind.totventas = f.FormatoEntero(resultado.ventas * n);
        const int64_t empleados = int64_t{prod.empleadosNecesarios} * n;
        ind.ventasxempleado = f.FormatoTecho(
            empleados == 0 ? 0.0
                           : static_cast<double>(static_cast<long double>(int64_t{resultado.ventas} * n) / empleados));
        ind.costoprom = f.FormatoDecimal(costoUnitario);
        ind.precioprom = f.FormatoTecho(d.precio);
        ind.tasaimp = f.FormatoTecho(static_cast<double>(static_cast<long double>(ini.tasaImpuestos) * 100));
        ind.capprom = emp.nivelprod;
        ind.iydacum = f.FormatoEntero(0);
        ind.empresa = "IGUALES";
        ind.primera = static_cast<uint8_t>(n);
        ind.periodo = "0";
        for (int j = 0; j < n; ++j) ind.nombres[static_cast<std::size_t>(j)] = f.FormatoNombre(nombres[j]);
        ind.precios[0] = emp.precio;
        ind.ventasdol[0] = emp.ventas;
        ind.utilperiodos[0] = emp.utilperiodo;
        ind.utilacums[0] = emp.utacumuladas;
        ind.unidvendidas[0] = emp.ventasunid;
        ind.mercados[0] = f.FormatoEntero(100 / n);
        f.ReporteIndustria(ind);
        reportes.push_back(rutaReporteIndustria(ind));
    }

    std::vector<TRegDatosAcum> resultados;
    if (zonaActiva == 1 && n > 0) {
        if (TDatosAcum().cantidadAcum() > 0) resultados = TDatosAcum().leerTodos();
        for (int i = 1; i <= n; ++i) {
            TRegDatosAcum r{};
            asignar(r.nombreEmpresa, nombres[i - 1]);
            r.zona = 1;
            r.intereses = aEntero(emp.intereses);
            r.stockValor = aEntero(emp.stock);
            r.giroDescubierto = 0;
            r.prestamoA = aEntero(emp.prestamosa);
            r.prestamoB = aEntero(emp.prestamosb);
            r.planta = d.invPlanta + ini.planta;
            r.efectivo = aEntero(emp.efectivo);
            r.utilidadAcumulada = aEntero(emp.utacumuladas);
            r.stockUnidades = stockFinal;
            r.invYDesAcumulada = d.invYDes;
            r.capacitacionAcumulada = d.capacitacion;
            r.empleados = prod.empleadosNecesarios;
            if (static_cast<std::size_t>(i) <= resultados.size()) resultados[static_cast<std::size_t>(i - 1)] = r;
            else resultados.push_back(r);
        }
    }

    // Records of an older, larger game beyond these stay as they were.
    const std::string bytesResultados = bytesDeRegistros(resultados);
    if (zonaActiva == 1 && n > 0) transaccion.escribir("DATOS ACUMULADOS.DAT", bytesResultados);
    archivarPeriodo(transaccion, 0, reportes, bytesResultados);
    transaccion.confirmar();
    notificador().habilitarPeriodo(0, false);
    notificador().habilitarPeriodo(1, true);
}
