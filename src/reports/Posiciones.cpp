#include "reports/Posiciones.h"

#include "engine/Ranking.h"
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
    std::vector<int32_t> claves;
    std::vector<bool> quebradas;
    for (int i = 0; i < n; ++i) {
        claves.push_back(empresas[static_cast<std::size_t>(i)].utilidadAcumulada);
        quebradas.push_back(empresas[static_cast<std::size_t>(i)].quebrada == 1);
    }
    // The same ranking as the industry report's: bankrupt companies have none.
    const std::vector<int> posiciones = posicionesEnRanking(claves, quebradas);
    std::vector<TFilaPosicion> filas;
    for (int i = 0; i < n; ++i) {
        const auto& e = empresas[static_cast<std::size_t>(i)];
        const int posicion = posiciones[static_cast<std::size_t>(i)];
        if (posicion > 0) filas.push_back({posicion, aTexto(e.nombreEmpresa), e.utilidadAcumulada});
    }
    std::sort(filas.begin(), filas.end(), [](const auto& a, const auto& b) { return a.posicion < b.posicion; });
    return filas;
}
