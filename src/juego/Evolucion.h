#pragma once
// The season period by period, for the charts: one series per company and
// measure, built only from the history reader. A company is followed from
// period to period by its place among the companies still in the game (a
// run removes the bankrupt ones and keeps the order of the rest).
//
// A bankrupt company's series end at the period it went bankrupt, with the
// figures that period's reports printed for it; it has no point afterwards.
// The standings keep it, unranked, to the end of the season.

#include <array>
#include <string>
#include <vector>

class TJuego;

enum class TMedida {
    utilidadAcumulada,
    utilidadPeriodo,
    unidadesVendidas,
    participacion,
    precio,
    efectivo,
    deuda,  ///< bank A plus bank B plus overdraft
    stockUnidades,
    empleados,
};
inline constexpr std::size_t cantidadMedidas = 9;
inline constexpr std::array<TMedida, cantidadMedidas> todasLasMedidas = {
    TMedida::utilidadAcumulada, TMedida::utilidadPeriodo, TMedida::unidadesVendidas,
    TMedida::participacion,     TMedida::precio,          TMedida::efectivo,
    TMedida::deuda,             TMedida::stockUnidades,   TMedida::empleados};

/// The measure's name as the screens show it (UTF-8), e.g. "Utilidad acumulada".
std::string nombreMedida(TMedida medida);
/// The file name of its chart without extension, e.g. "utilidad_acumulada".
std::string archivoMedida(TMedida medida);

/// One company over the periods it took part in.
struct TEmpresaEvolucion {
    std::string nombre;         ///< team name, UTF-8
    std::vector<int> periodos;  ///< the periods it has a point in, ascending
    /// per measure, one value per entry of periodos
    std::array<std::vector<double>, cantidadMedidas> valores;
    std::vector<int> posiciones;  ///< rank per entry of periodos; 0 when it had none
    bool quebro = false;          ///< its last point is the period it went bankrupt
    bool deComputadora = false;   ///< the computer plays it

    const std::vector<double>& serie(TMedida medida) const { return valores[static_cast<std::size_t>(medida)]; }
};

struct TEvolucion {
    std::vector<int> periodos;  ///< the periods filed, ascending
    std::vector<TEmpresaEvolucion> empresas;  ///< in the order of the first period filed
};

/// The season from the first period filed up to hasta (every period of the
/// current game when negative). Periods undone by a step back are left out.
/// ErrorArchivo when a period's record is damaged.
TEvolucion evolucion(TJuego& juego, int hasta = -1);

/// One line of the standings for the projector.
struct TFilaClase {
    int posicion = 0;       ///< 0 when it has none (period 0, bankrupt)
    std::string empresa;    ///< UTF-8
    std::size_t indice = 0; ///< its place in TEvolucion::empresas
    double utilidadAcumulada = 0;  ///< at its last point
    int cambio = 0;         ///< places gained since the previous period (negative: lost)
    bool hayCambio = false; ///< false when there is no previous rank to compare with
    bool quebro = false;
    int periodoQuiebra = 0; ///< the period it went bankrupt in, when quebro
    bool deComputadora = false;
};

/// The standings of the last period of e: the ranked companies by rank, then
/// the unranked still playing, then every company that went bankrupt, the
/// latest bankruptcy first (with the profit of its last period).
std::vector<TFilaClase> clasificacion(const TEvolucion& e);

/// With computer companies in e, "Mejor equipo de la clase: …" naming the
/// best ranked team of the class in filas (its standings), or saying none
/// is ranked; empty in a game of teams only.
std::string lineaMejorEquipo(const TEvolucion& e, const std::vector<TFilaClase>& filas);

/// The company's name with its marks: " (PC)" for the computer's,
/// " (quebró en el período N)" for a bankrupt one.
std::string nombreConMarcas(const TFilaClase& fila);

/// Whether e reaches the last period of a game: the game is over.
bool juegoTerminado(const TEvolucion& e);

/// The end of the game as text (UTF-8): "Juego terminado", the winner, with
/// the computer in the game the best team of the class, and the final
/// standings of every company, the first three marked. Empty before the end.
std::vector<std::string> textoFinal(const TEvolucion& e);
