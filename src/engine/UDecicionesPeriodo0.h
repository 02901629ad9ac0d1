#pragma once
// The period-0 start-up, as arithmetic: every company takes the same
// decisions, so one standard company is simulated from the initial plant and
// capital, and its figures stand for every company: the one company report,
// the industry of n equal companies, their results records and the period's
// history record. Touches no file: the run in juego/ reads, writes and stores.

#include "engine/CifrasEmpresa.h"
#include "engine/CifrasIndustria.h"
#include "engine/EmpresaPeriodo.h"
#include "engine/Historial.h"
#include "store/Registros.h"

#include <cstdint>
#include <string>
#include <vector>

/// The common decisions typed on the period-0 screen.
struct TDecisionesPeriodo0 {
    int32_t precio = 0;
    int32_t marketing = 0;
    int32_t invYDes = 0;
    int32_t capacitacion = 0;
    int32_t nivelProduccion = 0;  ///< 0, 25, 50, 75 or 100
    int32_t invPlanta = 0;
    int32_t pedPrestamoA = 0;
    int32_t pedPrestamoB = 0;
    int32_t devPrestamoA = 0;
    int32_t devPrestamoB = 0;
    std::string nombreBancoA;  ///< Windows-1252, as the screen's bank labels show it
    std::string nombreBancoB;
};

/// The ready example of the period-0 screen (repayments 0, no bank names).
TDecisionesPeriodo0 ejemploPeriodo0();

/// The decisions as the record every company takes.
TRegDecision decisionComun(const TDecisionesPeriodo0& d);
/// The common decisions from a record and the bank names (Windows-1252).
TDecisionesPeriodo0 decisionesPeriodo0(const TRegDecision& r, std::string nombreBancoA, std::string nombreBancoB);

class TCalculoPeriodo0 {
public:
    /// Simulates the standard company under the game's parameters.
    TCalculoPeriodo0(const TRegDatosIniciales& ini, const TDecisionesPeriodo0& d);

    /// The report that stands for every company ("IGUALES", no period).
    const TInformeEmpresa& informe() const { return informe_; }

    /// The industry of the named companies (at least one), all equal.
    TCifrasIndustria industria(const std::vector<std::string>& nombres) const;

    /// The results file with the named companies' records in front: the
    /// standard company under each name, replacing the first records of
    /// previos and leaving any beyond them as they were.
    std::vector<TRegDatosAcum> resultados(std::vector<TRegDatosAcum> previos,
                                          const std::vector<std::string>& nombres) const;

    /// The period's history record: every company with the same decisions
    /// and figures, each line naming reporte as its report.
    TArchivoPeriodo archivo(const std::vector<std::string>& nombres, const std::vector<TRegDatosAcum>& resultados,
                            const std::string& reporte) const;

private:
    TRegDatosIniciales ini_;
    TDecisionesPeriodo0 decisiones_;
    TEmpresaCalculada calculo_;
    TInformeEmpresa informe_;
};
