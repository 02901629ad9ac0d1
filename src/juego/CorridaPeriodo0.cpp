#include "juego/CorridaPeriodo0.h"

#include "engine/Historial.h"
#include "engine/ValidarDecision.h"
#include "reports/Reportes_UD.h"
#include "store/ArchivoRegistros.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/NombresArchivos.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

namespace {

// The names of the zone's companies, and whether the zone is the active one.
struct TCompaniasPeriodo0 {
    std::vector<std::string> nombres;
    bool zonaActiva = false;
};

TCompaniasPeriodo0 leerCompanias(TDatosjuego& datos) {
    uint8_t zonaActiva = 0, periodoActual = 0, zona1 = 0, zona2 = 0, zona3 = 0;
    datos.leerContadores(zonaActiva, periodoActual, zona1, zona2, zona3);
    TCompaniasPeriodo0 companias;
    companias.zonaActiva = zonaActiva == 1;
    companias.nombres.resize(zona1);
    for (int j = 0; j < zona1; ++j) datos.leerNombre(static_cast<uint8_t>(j + 1), companias.nombres[j]);
    return companias;
}

}  // namespace

TResultadoCorrida prepararPeriodo0(const TCarpeta& carpeta, TTransaccion& transaccion, const TRegDatosIniciales& ini,
                                   const std::vector<std::string>& nombres, bool zonaActiva,
                                   std::vector<TRegDatosAcum> previos, const TDecisionesPeriodo0& d) {
    validarDecision(decisionComun(d), "");
    TReporte reporte(carpeta);
    reporte.escribirEn(&transaccion);
    const TCalculoPeriodo0 calculo(ini, d);
    // One report stands for every company.
    std::vector<std::filesystem::path> reportes{reporte.escribirInforme(calculo.informe())};
    if (!nombres.empty()) reportes.push_back(reporte.escribirInforme(calculo.industria(nombres)));

    // Records of an older, larger game beyond these stay as they were.
    std::vector<TRegDatosAcum> resultados;
    if (zonaActiva && !nombres.empty()) {
        resultados = calculo.resultados(std::move(previos), nombres);
        transaccion.escribir(kArchivoResultados, bytesDeRegistros(resultados));
    }
    // Every company took the same decisions and reached the same figures.
    archivarPeriodo(transaccion, calculo.archivo(nombres, resultados, textoDeRuta(reportes.front().filename())),
                    reportes);
    return {0, static_cast<int>(nombres.size()), {}, ini.periodoActual, {}};
}

TResultadoCorrida ejecutarPeriodo0(const TCarpeta& carpeta, const TDecisionesPeriodo0& d) {
    validarDecision(decisionComun(d), "");
    TDatosjuego datos(carpeta);
    const TRegDatosIniciales ini = datos.leerDatosDelJuego();

    // The reports, the results and the history appear together when the run
    // commits; a failure or a crash before that leaves the game as it was.
    TTransaccion transaccion(carpeta, "La última corrida del período 0 se interrumpió; el juego quedó como antes de ella.",
                             "La última corrida del período 0 se interrumpió y se completó.");
    const TCompaniasPeriodo0 companias = leerCompanias(datos);
    std::vector<TRegDatosAcum> previos;
    if (companias.zonaActiva && !companias.nombres.empty())
        if (TDatosAcum acumulados(carpeta); acumulados.cantidadAcum() > 0) previos = acumulados.leerTodos();
    TResultadoCorrida corrida =
        prepararPeriodo0(carpeta, transaccion, ini, companias.nombres, companias.zonaActiva, std::move(previos), d);
    corrida.aviso = transaccion.confirmar();
    return corrida;
}
