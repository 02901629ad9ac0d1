#pragma once
// The runs' figures as report texts: every number of a company report and
// of an industry report through the field formatters of TReporte, as the
// report records hold them. The writers in Reportes_UD glue these texts.

#include "engine/CifrasEmpresa.h"
#include "engine/CifrasIndustria.h"
#include "reports/Reportes_UD.h"

/// The company report record of a run's figures: every field, the bank
/// names through FormatoBanco, the company and its period (none, and no
/// dismissed employees, in the period-0 report).
empstr textosEmpresa(const TInformeEmpresa& informe);

/// The industry report record of a run's figures. A period run fills one
/// entry per company; the period-0 report fills every name and the first
/// company's figures, which stand for all.
indstr textosIndustria(const TCifrasIndustria& industria);
