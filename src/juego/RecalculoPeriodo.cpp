#include "juego/RecalculoPeriodo.h"

#include "store/ArchivoRegistros.h"
#include "store/ErrorArchivo.h"
#include "store/NombresArchivos.h"

#include <algorithm>

namespace {

// Records compared as the bytes the run stores.
bool mismosBytes(const std::vector<TRegDatosAcum>& a, const std::vector<TRegDatosAcum>& b) {
    return bytesDeRegistros(a) == bytesDeRegistros(b);
}

bool mismasCifras(const TFilaIndustria& a, const TFilaIndustria& b) {
    return a.empresa == b.empresa && a.precio == b.precio && a.ventas == b.ventas &&
           a.utilidadPeriodo == b.utilidadPeriodo && a.utilidadAcumulada == b.utilidadAcumulada &&
           a.unidadesVendidas == b.unidadesVendidas && a.quebrada == b.quebrada;
}

}  // namespace

TCalculoCorrida recalcularPeriodo(const TArchivoPeriodo& anterior, const TArchivoPeriodo& actual,
                                  const std::filesystem::path& carpetaActual) {
    // The run changes only the period and, for its bankruptcies, the counts of companies.
    TRegDatosIniciales usados = actual.parametros;
    usados.periodoActual = static_cast<uint8_t>(actual.periodo);
    usados.cantEquipos = anterior.parametros.cantEquipos;
    usados.cantEquiposZona1 = anterior.parametros.cantEquiposZona1;
    usados.cantEquiposZona2 = anterior.parametros.cantEquiposZona2;
    usados.cantEquiposZona3 = anterior.parametros.cantEquiposZona3;
    const std::size_t n = usados.cantEquipos;
    if (anterior.resultados.size() < n || actual.decisiones.size() != n)
        throw ErrorArchivoDanado(carpetaActual / kArchivoDecisiones,
                                 "no tiene una decisión por empresa del período anterior");
    std::vector<TRegDatosAcum> acumulados(anterior.resultados.begin(), anterior.resultados.begin() + n);
    TCalculoCorrida corrida(usados, actual.decisiones, std::move(acumulados), anterior.resultados);
    corrida.ejecutar();

    const auto danado = [&](const char* archivo) {
        return ErrorArchivoDanado(carpetaActual / archivo,
                                  "no es lo que da la simulación del período con las decisiones y los resultados "
                                  "del período anterior");
    };
    if (!mismosBytes(corrida.empresasDelPeriodo(), actual.empresas)) throw danado(kArchivoEmpresas);
    if (!mismosBytes(corrida.resultados(), actual.resultados)) throw danado(kArchivoResultados);
    const auto& filas = corrida.filasIndustria();
    if (filas.size() != actual.industria.size() ||
        !std::equal(filas.begin(), filas.end(), actual.industria.begin(), mismasCifras))
        throw danado(kArchivoIndustria);
    return corrida;
}

TCalculoPeriodo0 recalcularPeriodo0(const TArchivoPeriodo& periodo0, const std::filesystem::path& carpeta0) {
    if (periodo0.decisiones.empty()) throw ErrorArchivoDanado(carpeta0 / kArchivoDecisiones, "no tiene decisiones");
    TRegDatosIniciales usados = periodo0.parametros;
    usados.periodoActual = 0;
    const TCalculoPeriodo0 calculo(usados, decisionesPeriodo0(periodo0.decisiones.front(), aTexto(usados.nombreBancoA),
                                                              aTexto(usados.nombreBancoB)));
    std::vector<std::string> nombres;
    for (const TRegDatosAcum& r : periodo0.empresas) nombres.push_back(aTexto(r.nombreEmpresa));
    if (!mismosBytes(calculo.resultados(periodo0.resultados, nombres), periodo0.resultados))
        throw ErrorArchivoDanado(carpeta0 / kArchivoResultados,
                                 "no es lo que da el período 0 con las decisiones comunes que guardó");
    return calculo;
}
