#pragma once
// The period run's arithmetic: from the parameters, the stored decisions and
// the companies' results it computes every company's period, its notice, the
// industry of the zone with its market shares and ranks, the results records
// that carry the companies on, the bankrupt companies removed, and the
// parameters of the next period. Touches no file: the run in juego/ reads,
// writes the reports from these figures and stores them.

#include "engine/CifrasEmpresa.h"
#include "engine/CifrasIndustria.h"
#include "engine/Historial.h"
#include "store/Registros.h"

#include <optional>
#include <string>
#include <vector>

/// One company's part of a run.
struct TEmpresaCorrida {
    TInformeEmpresa informe;
    std::optional<TCifrasAviso> aviso;  ///< when it went bankrupt or needed extra loans
    bool enLaZona = false;              ///< zone 1: in the industry and the history's lines
};

class TCalculoCorrida {
public:
    /// acumulados: the results of the run's companies; resultados: every
    /// record of the results file, of which the run replaces those of its
    /// companies and leaves any beyond them as they are.
    TCalculoCorrida(const TRegDatosIniciales& ini, std::vector<TRegDecision> decisiones,
                    std::vector<TRegDatosAcum> acumulados, std::vector<TRegDatosAcum> resultados);

    /// Computes the whole period. A money figure that does not fit in the
    /// results record raises ErrorConversion (see redondearTecho).
    void ejecutar();

    /// Every company of the run, in order.
    const std::vector<TEmpresaCorrida>& empresas() const { return empresas_; }
    /// The zone's industry, once its last company is computed; none when the
    /// zone has no companies.
    const std::optional<TCifrasIndustria>& industria() const { return industria_; }
    /// How many of empresas() come before the industry in the report order.
    std::size_t empresasAntesDeIndustria() const { return antesDeIndustria_; }
    /// The companies that went bankrupt (Windows-1252), in order.
    const std::vector<std::string>& quiebras() const { return quiebras_; }
    /// The parameters the run leaves: the next period, bankrupt companies
    /// taken off the zone counts.
    const TRegDatosIniciales& parametros() const { return ini_; }
    /// The results file after the run, bankrupt companies removed.
    const std::vector<TRegDatosAcum>& resultados() const { return resultados_; }
    /// The industry report's lines for the history, without file names.
    const std::vector<TFilaIndustria>& filasIndustria() const { return filas_; }
    /// Every company as the run stored it, before removals.
    const std::vector<TRegDatosAcum>& empresasDelPeriodo() const { return empresasDelPeriodo_; }
    int periodoNuevo() const { return ini_.periodoActual; }

private:
    void estadisticasZona();
    void simularEmpresa(int i);
    void sumarALaZona(const TCifrasEmpresa& cifras, const TRegDecision& d);
    void terminarZona();
    void eliminarQuebradas();

    TRegDatosIniciales ini_;
    std::vector<TRegDecision> decisiones_;
    std::vector<TRegDatosAcum> acumulados_;
    std::vector<TRegDatosAcum> resultados_;
    std::vector<TEmpresaCorrida> empresas_;
    std::vector<TFilaIndustria> filas_;
    std::vector<TRegDatosAcum> empresasDelPeriodo_;
    std::vector<std::string> quiebras_;
    std::optional<TCifrasIndustria> industria_;
    std::size_t antesDeIndustria_ = 0;

    // The zone, summed company by company in 64 bits so that 255 large
    // companies cannot overflow; the report shows 32-bit figures, as always.
    struct TSumaZona {
        int64_t ordenes = 0, produccion = 0, capacidad = 0, vendido = 0, stock = 0, noRealizadas = 0,
                empleados = 0, ventas = 0, nivel = 0;
        double costoUnitario = 0, precio = 0;  // doubles: every addition rounds to a double
    };
    TSumaZona suma_;
    std::vector<TCompetidor> competidores_;  // one per company of the run
    std::vector<int32_t> claves_;            // the ranking keys; 0 for a company outside the zone
    int32_t sumaPreciosZona_ = 0;
    int32_t sumaIyDZona_ = 0;
};
