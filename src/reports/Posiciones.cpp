#include "reports/Posiciones.h"

#include "reports/Reportes_UD.h"
#include "reports/Utils.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"

#include <algorithm>

std::vector<TFilaPosicion> posicionesZona(const TCarpeta& carpeta) {
    TRegDatosIniciales ini{};
    TDatosjuego(carpeta).leerDatosIniciales(ini);
    // Sized and read in one step: every index below is within what was read.
    std::vector<TRegDatosAcum> empresas;
    if (TDatosAcum acumulados(carpeta); acumulados.cantidadAcum() > 0) empresas = acumulados.leerTodos();
    const int n = std::min<int>(ini.cantEquiposZona1, static_cast<int>(empresas.size()));
    TIntMatrix matriz;
    for (int i = 0; i < n; ++i) matriz.push_back({i, empresas[static_cast<std::size_t>(i)].utilidadAcumulada});
    // The same steps as the industry report: drop the bankrupt, then sort.
    int eliminadas = 0;
    for (int j = 1; j <= n; ++j) {
        if (empresas[static_cast<std::size_t>(j - 1)].quebrada == 1) {
            BorrarFila(matriz, j - eliminadas - 1);
            ++eliminadas;
        }
    }
    if (matriz.size() > 1) OrdenarMatriz(matriz, 0, static_cast<int>(matriz.size()) - 1);

    TReporte reporte;
    std::vector<TFilaPosicion> filas;
    for (const auto& fila : matriz) {
        const auto& e = empresas[static_cast<std::size_t>(fila[0])];
        filas.push_back({reporte.PosicionRanking(fila[0], matriz), aTexto(e.nombreEmpresa), e.utilidadAcumulada});
    }
    std::sort(filas.begin(), filas.end(), [](const auto& a, const auto& b) { return a.posicion < b.posicion; });
    return filas;
}
