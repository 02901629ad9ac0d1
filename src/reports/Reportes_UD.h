#pragma once
// The report writer: the text types through which every figure becomes report
// text, the field formatters, and the writers of the company report, the
// industry report and the bankruptcy and penalty notices, from the runs'
// figures (engine/CifrasEmpresa.h, engine/CifrasIndustria.h) or from report
// records filled by hand.
//
// Every text here is single-byte Windows-1252, as the report files hold it;
// numeric text uses the regional decimal separator (store/Texto.h). The
// writers only glue the formatted texts together; they create the file in
// the data folder, write it line by line, checking each write, and raise
// ErrorArchivo when the file cannot be created or a write fails (the lines
// already written stay). Lines end in CR LF; the notices also hold lone CRs
// inside a line, and the bankruptcy notice ends without a line end.

#include "engine/CifrasEmpresa.h"
#include "engine/CifrasIndustria.h"
#include "engine/Redondeo.h"
#include "reports/Utils.h"
#include "store/CarpetaDatos.h"
#include "store/Registros.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

/// A formatted figure. Normally at most 7 characters; a figure whose integer
/// part needs more keeps all its digits (see the formatters).
using cad = std::string;
/// One cad per company of a zone.
using cadestr = std::vector<cad>;
/// One name per company of a zone.
using nombre = std::vector<std::string>;

/// The company report record, filled completely by the runs before the
/// company report or a notice is written.
struct empstr {
    std::string bancoa;   ///< bank A name through FormatoBanco (ends in TABs)
    std::string bancob;   ///< bank B name through FormatoBanco
    std::string empresa;  ///< company name; "IGUALES" in period 0
    cad precio;
    cad girodesc;
    cad periodo;  ///< period number, unpadded; empty in period 0
    cad zona;     ///< zone number, unpadded
    cad capacitacion;
    cad marketing;
    cad capacacum;
    cad capacidad;
    cad iyd;
    cad iydacum;
    cad mantenimiento;
    cad mantstock;
    cad subsidios;
    cad indemnizaciones;
    cad intereses;
    cad impuestos;
    cad produccion;
    cad capplanta;
    cad nivelprod;
    cad empleados;
    cad ordrecibidas;
    cad ventasunid;
    cad ordnorealiz;
    cad stockunid;
    cad penalidad;
    cad costounid;
    cad tasaa;
    cad tasab;
    cad prestamosa;
    cad prestamosb;
    cad maxcreditoa;
    cad maxcreditob;
    cad efectivo;
    cad stock;
    cad planta;
    cad totalactivo;
    cad prestamostomados;
    cad utacumuladas;
    cad capital;
    cad pasivopatrimonio;
    cad ventas;
    cad costomerc;
    cad margenbruto;
    cad utilanteimp;
    cad utilperiodo;
    cad ampplanta;
    cad prestadica;
    cad prestadicb;
    cad pedprestamoa;
    cad pedprestamob;
    cad devprestamoa;
    cad devprestamob;
    cad empindemniz;
};
static_assert(sizeof(empstr) == 56 * sizeof(std::string), "empstr holds exactly 56 texts");

/// The industry report record of one zone. The per-company arrays are indexed
/// by the company's 0-based position in the zone.
struct indstr {
    nombre nombres;         ///< names through FormatoNombre
    cadestr precios;
    cadestr ventasdol;
    cadestr utilperiodos;
    cadestr utilacums;      ///< also the ranking key
    cadestr unidvendidas;
    cadestr mercados;
    std::string bancoa;
    std::string bancob;
    std::string empresa;    ///< "IGUALES" for the period-0 report, else empty
    uint8_t primera = 0;    ///< period run: 0; period 0: the number of companies
    uint8_t cantidad = 0;   ///< period run: companies in the zone
    cad capprom;
    cad periodo;            ///< "0" for the period-0 report
    cad zona;
    cad iydacum;
    cad mantstockunid;
    cad tasaprimaa;
    cad tasaprimab;
    cad tasaimp;
    cad tasamant;
    cad totordenes;
    cad totproducido;
    cad totcapacidad;
    cad totvendido;
    cad totstock;
    cad totnorealiz;        ///< not printed
    cad totempleados;
    cad ventasxempleado;
    cad limitegiro;
    cad totventas;
    cad limitea;
    cad limiteb;
    cad costoprom;
    cad precioprom;
};

class TTransaccion;

class TReporte {
public:
    /// A report writer without a folder only formats (and ranks): writing a
    /// report needs the game folder, or a transaction.
    TReporte() = default;
    explicit TReporte(const TCarpeta& carpeta) : carpeta_(carpeta) {}

    /// Reports go into the transaction (staged, to appear when it commits)
    /// instead of straight into the game folder; nullptr writes directly.
    void escribirEn(TTransaccion* transaccion) { transaccion_ = transaccion; }

    /// Fixed notation with two decimals, the exact value of the double rounded
    /// half away from zero (0.125 -> "0.13"; 77.095, held as 77.09499..., ->
    /// "77.09"); a value that rounds to zero prints unsigned. Cut to its first
    /// 7 characters, but never inside the integer part (sign included), then
    /// right-aligned in 6 columns: 12345.678 -> "12345.6", 12345678.9 ->
    /// "12345678".
    cad FormatoDecimal(double valor) const;
    /// The value truncated toward zero (saturating at the 64-bit limits; NaN
    /// gives 0), right-aligned in 6 columns, never cut.
    cad FormatoTruncado(double valor) const;
    /// The ceiling in shortest general notation (15 significant digits),
    /// right-aligned in 7 columns, never cut.
    cad FormatoTecho(double valor) const;
    /// Decimal, right-aligned in 7 columns, never cut.
    cad FormatoEntero(int32_t valor) const;
    /// The name column of the industry report: the first 15 characters, then
    /// 8 spaces when they are 0 to 7 characters, else 4 spaces.
    std::string FormatoNombre(const std::string& nombreEmpresa) const;
    /// A bank name inside a report line: the first 11 characters, then two
    /// TABs when they are fewer than 6, else one TAB.
    std::string FormatoBanco(const std::string& banco) const;

    /// Writes the company's private report (rutaReporteEmpresa), creating or
    /// replacing it.
    void ReporteEmpresa(const empstr& registro) const;

    /// Writes the zone's industry and competition report
    /// (rutaReporteIndustria). Reads the overdraft rate, the severance and
    /// the penalty from the game parameters and each company's bankruptcy
    /// flags from the results file. Everything is read
    /// before the file is created: a ranking key that is neither blank nor an
    /// integer (ErrorConversion) or a results record that cannot be read
    /// (ErrorArchivo) leaves the previous report as it was. The caller
    /// guarantees one array element per company; a missing one is a
    /// programming error (std::logic_error).
    void ReporteIndustria(const indstr& registro) const;

    /// Ranking position of the company whose row holds posicion in column 0
    /// of a sorted matrix: 1 for the last row (largest key), the row count for
    /// the first; -1 when no row holds it.
    int PosicionRanking(int posicion, const TIntMatrix& matriz) const;

    /// Writes the company report of a run's figures; returns its file name
    /// in the game folder.
    std::filesystem::path escribirInforme(const TInformeEmpresa& informe) const;
    /// Writes the industry report of a run's figures, with the ranks, flags
    /// and parameters the figures carry: it reads nothing.
    std::filesystem::path escribirInforme(const TCifrasIndustria& industria) const;
    /// Writes the notice of a run's figures; returns its file name.
    std::filesystem::path escribirAviso(const TCifrasAviso& aviso) const;

    /// Writes the bankruptcy notice (giro != 0) or the penalty notice
    /// (giro == 0) of a company (rutaReporteQuiebraPenalidad). acumulado is
    /// the company's results record as it stood before this period; its
    /// efectivo and intereses are the opening cash and the interest paid. A
    /// figure text that is not a number raises ErrorConversion before the
    /// file is touched.
    void ReporteQuiebraPenalidad(const empstr& registro, const TRegDatosAcum& acumulado, double giro) const;

private:
    void escribirReporte(const std::filesystem::path& ruta, const std::string& texto) const;

    /// The game folder, for what the writer reads or writes without a transaction.
    const TCarpeta& carpeta() const;

    std::optional<TCarpeta> carpeta_;
    TTransaccion* transaccion_ = nullptr;
};

/// A text for a file name (Windows-1252): / \\ : * ? " < > | and control
/// bytes become "_". Every report name goes through it.
std::string textoParaArchivo(std::string texto);

/// What keeps a list of team names (Windows-1252, as stored) from naming
/// every company's reports apart, one Spanish message (UTF-8) per fault,
/// naming the teams by position and name; empty when the list is fine. A
/// name with control characters is refused, and so are two names that give
/// the same report file name once textoParaArchivo has replaced their unsafe
/// characters, case ignored as Windows ignores it ("A/B" and "a:b").
std::vector<std::string> fallasNombresEquipos(const std::vector<std::string>& nombres);

/// The report files' names in the game folder. Names carry the company
/// name in the file system's encoding (UTF-8), with / \ : * ? " < > | and
/// control bytes replaced by "_"; the reports themselves keep the name as is.
/// "COMZONA" + zona + empresa + ".txt".
std::filesystem::path rutaReporteEmpresa(const empstr& registro);
/// "INDZONA" + zona + ".txt", or + "IGUALES.txt" when empresa is "IGUALES".
std::filesystem::path rutaReporteIndustria(const indstr& registro);
/// "QuiebraEmpresa_" (giro != 0) or "PenalidadEmpresa_" (giro == 0) +
/// empresa + ".txt".
std::filesystem::path rutaReporteQuiebraPenalidad(const empstr& registro, double giro);
