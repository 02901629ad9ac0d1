#include "juego/CorridaPeriodo.h"

#include "engine/CalculoCorrida.h"
#include "engine/Historial.h"
#include "engine/ValidarDecision.h"
#include "reports/Reportes_UD.h"
#include "store/ArchivoRegistros.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/ErrorArchivo.h"
#include "store/NombresArchivos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

namespace {

// The checkpoint: the three game files as they are now. It replaces the
// previous one only when the run commits.
void guardarRespaldo(const TCarpeta& carpeta, TTransaccion& transaccion) {
    for (const auto& [juego, respaldo] : kRespaldos) {
        const auto ruta = carpeta.ruta(juego);
        transaccion.escribir(respaldo, carpeta.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno
                                           ? std::string()
                                           : leerArchivoEntero(carpeta.sa(), ruta));
    }
}

// The reports in the order the run always wrote them: each company's report
// and notice, the industry's after the zone's last company. The history's
// lines name their files.
std::vector<std::filesystem::path> escribirReportes(const TReporte& reporte, const TCalculoCorrida& corrida,
                                                    std::vector<TFilaIndustria>& filas) {
    std::vector<std::filesystem::path> reportes;
    const auto& empresas = corrida.empresas();
    for (std::size_t i = 0; i < empresas.size(); ++i) {
        reportes.push_back(reporte.escribirInforme(empresas[i].informe));
        const bool enLaZona = empresas[i].enLaZona && i < filas.size();
        if (enLaZona) filas[i].reporte = textoDeRuta(reportes.back().filename());
        if (empresas[i].aviso) {
            reportes.push_back(reporte.escribirAviso(*empresas[i].aviso));
            if (enLaZona) filas[i].aviso = textoDeRuta(reportes.back().filename());
        }
        if (corrida.industria() && i + 1 == corrida.empresasAntesDeIndustria())
            reportes.push_back(reporte.escribirInforme(*corrida.industria()));
    }
    return reportes;
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
    guardarRespaldo(carpeta, transaccion);
    TArchivoPeriodo archivo;
    archivo.periodo = periodo;
    archivo.decisiones = decisiones;
    TCalculoCorrida corrida(ini, std::move(decisiones), std::move(acumulados), std::move(resultados));
    corrida.ejecutar();
    TReporte reporte(carpeta);
    reporte.escribirEn(&transaccion);
    archivo.industria = corrida.filasIndustria();
    const auto reportes = escribirReportes(reporte, corrida, archivo.industria);
    transaccion.escribir(kArchivoResultados, bytesDeRegistros(corrida.resultados()));
    transaccion.escribir(kArchivoParametros, bytesDeRegistros(std::vector{corrida.parametros()}));
    transaccion.escribir(kArchivoDecisiones, {});
    archivo.parametros = corrida.parametros();
    archivo.resultados = corrida.resultados();
    archivo.empresas = corrida.empresasDelPeriodo();
    archivarPeriodo(transaccion, archivo, reportes);
    std::string aviso = transaccion.confirmar();
    return {periodo, n, corrida.quiebras(), corrida.periodoNuevo(), std::move(aviso)};
}
