#include "engine/UDecicionesPeriodo0.h"

#include "store/NombresArchivos.h"

#include "engine/CifrasEmpresa.h"
#include "engine/EmpresaPeriodo.h"
#include "engine/Historial.h"
#include "engine/ValidarDecision.h"
#include "reports/Reportes_UD.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/SistemaArchivos.h"
#include "store/ArchivoRegistros.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

#include <algorithm>

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

TResultadoCorrida ejecutarPeriodo0(const TCarpeta& carpeta, const TDecisionesPeriodo0& d) {
    const TRegDecision comunes{d.precio,    d.nivelProduccion, d.capacitacion, d.marketing,    d.invYDes,
                               d.invPlanta, d.pedPrestamoA,    d.pedPrestamoB, d.devPrestamoA, d.devPrestamoB};
    validarDecision(comunes, "");

    TDatosjuego datos(carpeta);
    const TRegDatosIniciales ini = datos.leerDatosDelJuego();

    // The reports, the results and the history appear together when the run
    // commits; a failure or a crash before that leaves the game as it was.
    TTransaccion transaccion(carpeta, "La última corrida del período 0 se interrumpió; el juego quedó como antes de ella.",
                             "La última corrida del período 0 se interrumpió y se completó.");
    TReporte f(carpeta);
    f.escribirEn(&transaccion);
    // One standard company that starts from nothing but the initial plant and capital.
    const TEmpresaCalculada calculo = calcularEmpresa(estadoInicial(ini), comunes, ini, {}, reglasPeriodo0());
    const TCifrasEmpresa& cifras = calculo.cifras;
    const TResultadoProduccion& prod = cifras.produccion;
    const int32_t recibidas = cifras.ordenesRecibidas, vendidas = cifras.ventas;
    const int32_t noRealizadas = cifras.ordenesNoRealizadas, stockFinal = cifras.stockFinal;
    const TEstadoResultado& resultado = cifras.resultado;
    const double costoUnitario = cifras.costoUnitario;

    empstr emp{};
    llenarEmpstr(cifras, comunes, ini, d.nombreBancoA, d.nombreBancoB, emp);
    // One report stands for every company; it carries no period number.
    emp.empresa = kEmpresaPeriodo0;
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
        ind.tasaimp = f.FormatoTecho(porcientoTipeado(ini.tasaImpuestos));
        ind.capprom = emp.nivelprod;
        ind.iydacum = f.FormatoEntero(0);
        ind.empresa = kEmpresaPeriodo0;
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
        if (TDatosAcum acumulados(carpeta); acumulados.cantidadAcum() > 0) resultados = acumulados.leerTodos();
        TRegDatosAcum r = registroResultados(calculo, cadena{});
        for (int i = 1; i <= n; ++i) {
            asignar(r.nombreEmpresa, nombres[i - 1]);
            if (static_cast<std::size_t>(i) <= resultados.size()) resultados[static_cast<std::size_t>(i - 1)] = r;
            else resultados.push_back(r);
        }
    }

    // Records of an older, larger game beyond these stay as they were.
    if (zonaActiva == 1 && n > 0) transaccion.escribir(kArchivoResultados, bytesDeRegistros(resultados));
    // Every company took the same decisions and reached the same figures.
    TArchivoPeriodo archivo;
    archivo.periodo = 0;
    archivo.parametros = ini;
    archivo.resultados = resultados;
    for (int j = 0; j < n; ++j) {
        TFilaIndustria fila;
        fila.empresa = nombres[static_cast<std::size_t>(j)];
        fila.precio = d.precio;
        fila.ventas = resultado.ventas;
        fila.utilidadPeriodo = redondearTecho(resultado.utilPeriodo);
        fila.utilidadAcumulada = redondearTecho(cifras.balance.utilAcumulada);
        fila.unidadesVendidas = vendidas;
        fila.participacion = 100 / n;  // as the report prints it, the remainder dropped
        fila.reporte = textoDeRuta(reportes.front().filename());
        archivo.industria.push_back(std::move(fila));
        TRegDatosAcum empresa = registroResultados(calculo, cadena{});
        asignar(empresa.nombreEmpresa, nombres[static_cast<std::size_t>(j)]);
        archivo.empresas.push_back(empresa);
        archivo.decisiones.push_back(comunes);
    }
    archivarPeriodo(transaccion, archivo, reportes);
    transaccion.confirmar();
    return {0, n, {}, ini.periodoActual};
}
