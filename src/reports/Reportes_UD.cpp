#include "reports/Reportes_UD.h"

#include "reports/FormatoCifras.h"

#include "store/NombresArchivos.h"

#include "store/CarpetaDatos.h"
#include "store/DatosAcum_UD.h"
#include "store/Datos_UD.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"
#include "store/SistemaArchivos.h"
#include "store/Transaccion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace {

constexpr std::size_t kCorte = 7;  // characters kept of a figure text

// Blanks to the left or the right up to ancho, as Rellenar with " " does.
std::string padL(const std::string& texto, int ancho) {
    if (static_cast<long long>(texto.size()) >= ancho) return texto;
    std::string relleno(static_cast<std::size_t>(ancho) - texto.size(), ' ');
    return relleno += texto;
}
std::string padR(const std::string& texto, int ancho) {
    if (static_cast<long long>(texto.size()) >= ancho) return texto;
    std::string relleno = texto;
    relleno.append(static_cast<std::size_t>(ancho) - texto.size(), ' ');
    return relleno;
}

/// The text of a report, assembled line by line and written whole when
/// the writer is done, so that a report is either there complete or not.
class ArchivoReporte {
public:
    ArchivoReporte() { texto_.reserve(4096); }  // a company's report is some 3.3 KB
    // The pieces of a line are appended where they go: no text is built
    // only to be copied again.
    template <class... Partes>
    void linea(const Partes&... partes) {
        (texto_ += ... += partes);
        texto_ += "\r\n";
    }
    template <class... Partes>
    void escribir(const Partes&... partes) {
        (texto_ += ... += partes);
    }
    const std::string& texto() const { return texto_; }

private:
    std::string texto_;
};

/// A file name built from game texts (Windows-1252), in the file system's
/// encoding.
std::filesystem::path rutaDesdeTexto(const std::string& nombreArchivo) {
    return rutaDeTexto(cp1252AUtf8(textoParaArchivo(nombreArchivo)));
}

bool esControl(char c) { return static_cast<unsigned char>(c) < 32 || c == 127; }

/// A Windows-1252 text in capitals, as a file system that ignores case
/// compares names: "é" and "É" are the same letter there.
std::string sinMayusculas(std::string texto) {
    for (char& c : texto) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 'a' && b <= 'z') c = static_cast<char>(b - 32);
        else if (b >= 0xE0 && b <= 0xFE && b != 0xF7) c = static_cast<char>(b - 32);
        else if (b == 0x9A || b == 0x9C || b == 0x9E) c = static_cast<char>(b - 16);  // š œ ž
        else if (b == 0xFF) c = static_cast<char>(0x9F);                             // ÿ
    }
    return texto;
}

/// The text the desktop writes for an infinite or undefined value.
std::string textoNoFinito(double valor) {
    if (std::isnan(valor)) return "NAN";
    return valor < 0 ? "-INF" : "INF";
}

/// The period number of a company report: 0 when the text is empty or not a
/// whole number.
int64_t numeroPeriodo(const cad& periodo) { return leerEntero(periodo).value_or(0); }

/// A figure of a notice read back as a number (leading blanks skipped).
long double numero(const cad& texto) { return aDecimal(texto); }

}  // namespace

// ---------------------------------------------------------------------------
// Field formatters

cad TReporte::FormatoDecimal(double valor) const {
    if (!std::isfinite(valor)) return padL(textoNoFinito(valor), 6);
    // The decimal expansion of the double to 40 places, so that the rounding
    // sees the value the double really holds: a double that is not exactly
    // on a half lies further than 1e-30 from it, so 40 places decide as the
    // full expansion would.
    std::array<char, 400> buffer{};
    auto [fin, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(valor),
                                      std::chars_format::fixed, 40);
    if (error != std::errc()) return padL("0", 6);  // cannot happen: the buffer fits any double
    const std::string_view exacto(buffer.data(), static_cast<std::size_t>(fin - buffer.data()));
    const std::size_t punto = exacto.find('.');
    // Integer part and two decimals, then a half away from zero: up when the
    // third decimal is 5 or more, whatever follows.
    std::string cifras = std::string(exacto.substr(0, punto)) + std::string(exacto.substr(punto + 1, 2));
    if (exacto[punto + 3] >= '5') {
        std::size_t k = cifras.size();
        while (k > 0 && cifras[k - 1] == '9') cifras[--k] = '0';
        if (k == 0) cifras.insert(cifras.begin(), '1');
        else ++cifras[k - 1];
    }
    const bool cero = cifras.find_first_not_of('0') == std::string::npos;
    const std::string entero = (valor < 0 && !cero ? "-" : "") + cifras.substr(0, cifras.size() - 2);
    std::string texto = entero + separadorDecimal() + cifras.substr(cifras.size() - 2);
    // Seven characters, but the integer part is never cut.
    texto.resize(std::min(texto.size(), std::max(kCorte, entero.size())));
    return padL(texto, 6);
}

cad TReporte::FormatoTruncado(double valor) const {
    int64_t truncado = 0;
    // Outside the 64-bit range the value saturates instead of being undefined.
    if (std::isnan(valor)) truncado = 0;
    else if (valor >= 9223372036854775808.0) truncado = std::numeric_limits<int64_t>::max();
    else if (valor < -9223372036854775808.0) truncado = std::numeric_limits<int64_t>::min();
    else truncado = static_cast<int64_t>(valor);
    return padL(std::to_string(truncado), 6);
}

cad TReporte::FormatoTecho(double valor) const { return padL(textoDelTecho(valor), 7); }

cad TReporte::FormatoEntero(int32_t valor) const { return padL(std::to_string(valor), 7); }

std::string TReporte::FormatoNombre(const std::string& nombreEmpresa) const {
    const std::string corto = nombreEmpresa.substr(0, 15);
    return corto + (corto.size() / 8 == 0 ? std::string(8, ' ') : std::string(4, ' '));
}

std::string TReporte::FormatoBanco(const std::string& banco) const {
    const std::string corto = banco.substr(0, 11);
    return corto + (corto.size() < 6 ? "\t\t" : "\t");
}

// ---------------------------------------------------------------------------
// File names

std::string textoParaArchivo(std::string texto) {
    constexpr std::string_view prohibidos = "/\\:*?\"<>|";
    for (char& c : texto)
        if (static_cast<unsigned char>(c) < 32 || prohibidos.find(c) != std::string_view::npos) c = '_';
    return texto;
}

std::vector<std::string> fallasNombresEquipos(const std::vector<std::string>& nombres) {
    std::vector<std::string> fallas;
    const auto citar = [&](std::size_t i) {
        return "el equipo " + std::to_string(i + 1) + " «" + cp1252AUtf8(nombres[i]) + "»";
    };
    std::map<std::string, std::size_t> vistos;  // file name, case ignored -> first team
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        if (std::any_of(nombres[i].begin(), nombres[i].end(), esControl)) {
            std::string mensaje = citar(i) + " tiene caracteres de control; escríbalo de nuevo.";
            mensaje[0] = 'E';
            fallas.push_back(mensaje);
            continue;
        }
        const auto [pos, nuevo] = vistos.emplace(sinMayusculas(textoParaArchivo(nombres[i])), i);
        if (nuevo) continue;
        std::string mensaje = citar(pos->second) + " y " + citar(i) +
                              " darían el mismo nombre a sus informes («" +
                              cp1252AUtf8(textoParaArchivo(nombres[i])) +
                              "»), y uno borraría los del otro. Cambie uno de los dos.";
        mensaje[0] = 'E';
        fallas.push_back(mensaje);
    }
    return fallas;
}

std::filesystem::path rutaReporteEmpresa(const empstr& registro) {
    return rutaDesdeTexto(nombreInformeEmpresa(registro.zona, registro.empresa));
}

std::filesystem::path rutaReporteIndustria(const indstr& registro) {
    return rutaDesdeTexto(nombreInformeIndustria(registro.zona, registro.empresa == kEmpresaPeriodo0));
}

std::filesystem::path rutaReporteQuiebraPenalidad(const empstr& registro, double giro) {
    return rutaDesdeTexto(nombreAviso(giro != 0, registro.empresa));
}

// ---------------------------------------------------------------------------
// Company report

namespace {

std::string textoEmpresa(const empstr& r, int64_t p) {
    const std::string S = "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -";
    const std::string TAB = "\t";
    ArchivoReporte f;
    f.linea(cp1252("            Reporte de la Compañía "), r.empresa, cp1252(" para el Período "), r.periodo);
    f.linea("");
    f.linea("                   DECISIONES TOMADAS DEL PERIODO");
    f.linea("                   ---------- ------- --- -------");
    f.linea("Precio De Venta u$s", r.precio, cp1252("    Ampliación Planta "), "    ", TAB, TAB, "u$s",
            r.ampplanta);
    f.linea("Marketing       u$s", r.marketing, "    Ped. Prestamo Bco ", r.bancoa, "u$s", r.pedprestamoa);
    f.linea("Nivel de Prod.  (%)", r.nivelprod, "    Dev. Prestamo Bco ", r.bancoa, "u$s", r.devprestamoa);
    f.linea("Inv. en Capac.  u$s", r.capacitacion, "    Ped. Prestamo Bco ", r.bancob, "u$s", r.pedprestamob);
    f.linea("Inv. en I & D   u$s", r.iyd, "    Dev. Prestamo Bco ", r.bancob, "u$s", r.devprestamob);
    f.linea(S);
    f.linea("        BALANCE EN u$s              ESTADO DE RESULTADO EN u$s");
    f.linea("        ------- -- ---              ------ -- --------- -- ---");
    f.linea("Efectivo            ", r.efectivo, "        Ventas              ", r.ventas);
    f.linea("                                   Costo Merc. Vend.   ", r.costomerc);
    f.linea("Stock               ", r.stock, "        ---------------------------");
    f.linea("                                   Margen Bruto        ", r.margenbruto);
    f.linea("Planta              ", r.planta, "        Subsidios           ", r.subsidios);
    f.linea("---------------------------        Marketing           ", r.marketing);
    f.linea("Total Activo        ", r.totalactivo, "        Mantenimiento        ", r.mantenimiento);
    f.linea(cp1252("---------------------------        Capacitación        "), r.capacitacion);
    f.linea("Prestamos Tomados   ", r.prestamostomados, "        I & D               ", r.iyd);
    f.linea("                                   Indemnizaciones     ", r.indemnizaciones);
    f.linea("Ut. Acumuladas      ", r.utacumuladas, "        Mantenimiento Stock ", r.mantstock);
    f.linea("                                   Intereses           ", r.intereses);
    f.linea("Capital             ", r.capital, "        Penalidad           ", r.penalidad);
    f.linea("                                   ---------------------------");
    f.linea("---------------------------        Util. ante Imp.     ", r.utilanteimp);
    f.linea("Pasivo+Patrimonio   ", r.pasivopatrimonio, "        Impuestos Ganancias ", r.impuestos);
    f.linea("                                   ---------------------------");
    f.linea(cp1252("                                   Util. del Período   "), r.utilperiodo);
    f.linea(S);
    f.linea("                   INFORME PRIVADO DE LA EMPRESA");
    f.linea("                   ------- ------- -- -- -------");
    if (p == 0)
        f.linea(cp1252("  Reporte Producción              Reporte de Marketing en Unid."));
    else
        f.linea(cp1252("  Reporte Producción Periodo "), std::to_string(p), "  ", "  Reporte de Marketing en Unid.");
    f.linea("  ------- ---------- ------- --   ------- -- --------- -- -----");
    f.linea("Cap. de la Planta   ", r.capplanta, "        Ordenes Recibidas    ", r.ordrecibidas);
    f.linea(cp1252("Producción          "), r.produccion, "        Ventas realizadas    ", r.ventasunid);
    f.linea("Nivel Utilizado  (%)", r.nivelprod, "        Ordenes no realiz.   ", r.ordnorealiz);
    f.linea("Prod. Costo/Unid.    ", r.costounid, "        Stock en Unidades    ", r.stockunid);
    f.linea("Empleados           ", r.empleados);
    f.linea("Empleados Indemniz. ", r.empindemniz);
    f.linea(S);
    f.linea("                      REPORTE DE CREDITOS");
    f.linea("                      ------- -- --------");
    f.linea("    Banco ", r.bancoa, "                     Banco ", r.bancob);
    f.linea(cp1252("Máximo Crédito     u$s"), r.maxcreditoa, cp1252("        Máximo Crédito      u$s"),
            r.maxcreditob);
    f.linea(cp1252("Tasa Interés Anual (%) "), r.tasaa, cp1252("        Tasa Interés Anual  (%) "), r.tasab);
    f.linea(cp1252("Préstamos Tomados  u$s"), r.prestamosa, cp1252("        Préstamos Tomados   u$s"),
            r.prestamosb);
    f.linea(cp1252("Prést. Adicional   u$s"), r.prestadica, cp1252("        Prést. Adicional    u$s"),
            r.prestadicb);
    f.linea("                                     Giro en Descub.     u$s", r.girodesc);
    f.linea(S);
    // The period number is read from a text, so the next one is computed wide.
    f.linea("DATOS PARA EL PERIODO ", std::to_string(p + 1));
    f.linea("----- ---- -- ------- --");
    f.linea(cp1252("Capacitación Acumulada   u$s"), r.capacacum);
    f.linea("Planta                   u$s", r.planta);
    f.linea(cp1252("Capacidad Producción (100%) "), r.capacidad, " unidades");
    f.linea("I&D Acumulado            u$s", r.iydacum);
    return f.texto();
}

}  // namespace

void TReporte::ReporteEmpresa(const empstr& r) const {
    escribirReporte(rutaReporteEmpresa(r), textoEmpresa(r, numeroPeriodo(r.periodo)));
}

std::filesystem::path TReporte::escribirInforme(const TInformeEmpresa& informe) const {
    const empstr r = textosEmpresa(informe);
    const auto ruta = rutaReporteEmpresa(r);
    escribirReporte(ruta, textoEmpresa(r, informe.periodo0 ? 0 : informe.periodo));
    return ruta;
}

// ---------------------------------------------------------------------------
// Industry report

int TReporte::PosicionRanking(int posicion, const TIntMatrix& matriz) const {
    return posicionEnRanking(posicion, matriz);
}

namespace {

/// The companies' results records, read once when first asked for; a
/// company beyond them is an input/output error as a single read would be.
class TEmpresasZona {
public:
    TEmpresasZona(std::function<std::vector<TRegDatosAcum>()> leer, std::filesystem::path ruta)
        : leer_(std::move(leer)), ruta_(std::move(ruta)) {}

    const TRegDatosAcum& operator()(int numero) {
        if (numero < 1 || numero > 255) throw std::logic_error("número de empresa fuera de rango");
        if (!registros_) registros_ = leer_();
        if (static_cast<std::size_t>(numero) > registros_->size())
            throw ErrorArchivo(ruta_, "lectura más allá del fin del archivo");
        return (*registros_)[static_cast<std::size_t>(numero - 1)];
    }

private:
    std::function<std::vector<TRegDatosAcum>()> leer_;
    std::filesystem::path ruta_;
    std::optional<std::vector<TRegDatosAcum>> registros_;
};

/// A ranking key: a blank text counts as 0; anything else must be a whole
/// number.
int32_t claveRanking(const cad& texto) {
    if (texto.find_first_not_of(" \t") == std::string::npos) return 0;
    return aEntero(texto);
}

/// The ranking of a record filled by hand: its accumulated profit texts as
/// keys, the bankrupt companies of the results left out.
TIntMatrix rankingDeTextos(const indstr& r, TEmpresasZona& empresas) {
    TIntMatrix ranking;
    for (std::size_t k = 0; k < r.utilacums.size(); ++k)
        ranking.push_back({static_cast<int32_t>(k), claveRanking(r.utilacums[k])});
    int borradas = 0;
    for (int j = 1; j <= r.cantidad; ++j) {
        if (empresas(j).quebrada == 1) {
            BorrarFila(ranking, j - borradas - 1);
            ++borradas;
        }
    }
    if (ranking.size() > 1) OrdenarMatriz(ranking, 0, static_cast<int>(ranking.size()) - 1);
    return ranking;
}

/// One line of the competition table: the figures of entry i of the record
/// (those of entry 0 for every line of the period-0 report) and the rank;
/// "-" for the profits of a company that went bankrupt.
std::string lineaCompetencia(const indstr& r, std::size_t i, std::size_t cifras, const std::string& posicion,
                             bool sinUtilidades = false) {
    const std::string& up = sinUtilidades ? "-" : r.utilperiodos.at(cifras);
    const std::string& ua = sinUtilidades ? "-" : r.utilacums.at(cifras);
    return padR(r.nombres.at(i).substr(0, 16), 16) + " " + padL(r.ventasdol.at(cifras), 10) + "    " +
           padL(r.precios.at(cifras), 6) + "    " + padL(r.unidvendidas.at(cifras), 8) + "     " + padL(up, 8) +
           "      " + padL(ua, 8) + "    " + padL(r.mercados.at(cifras), 6) + "   " + padL(posicion, 2);
}

/// Period 0: every company equal, the first one's figures on every line.
std::vector<std::string> competenciaPeriodo0(const indstr& r) {
    std::vector<std::string> competencia;
    for (std::size_t i = 0; i < r.primera; ++i) competencia.push_back(lineaCompetencia(r, i, 0, "-"));
    return competencia;
}

/// A period run of a record filled by hand: ranks from the sorted matrix,
/// flags from the results records.
std::vector<std::string> competenciaDeTextos(const indstr& r, const TIntMatrix& ranking, TEmpresasZona& empresas) {
    std::vector<std::string> competencia;
    for (std::size_t i = 0; i < r.cantidad; ++i) {
        const TRegDatosAcum& empresa = empresas(r.primera + static_cast<int>(i) + 1);
        if (empresa.quebrada == 0)
            competencia.push_back(
                lineaCompetencia(r, i, i, std::to_string(posicionEnRanking(static_cast<int>(i), ranking))));
        else if (empresa.marcaQuiebra == 0)
            competencia.push_back(lineaCompetencia(r, i, i, "-", true));
    }
    return competencia;
}

/// A period run's figures: ranks and flags as the run computed them.
std::vector<std::string> competenciaDeCifras(const indstr& r, const TCifrasIndustria& c) {
    std::vector<std::string> competencia;
    for (std::size_t i = 0; i < c.empresas.size(); ++i) {
        const TCompetidor& empresa = c.empresas[i];
        if (!empresa.quebrada) competencia.push_back(lineaCompetencia(r, i, i, std::to_string(empresa.posicion)));
        else if (!empresa.marcaQuiebra) competencia.push_back(lineaCompetencia(r, i, i, "-", true));
    }
    return competencia;
}

/// The report's heading: the zone's totals and averages, its productivity,
/// and the economic conditions, with the overdraft rate, the severance and
/// the penalty of the parameters.
void cabeceraIndustria(ArchivoReporte& f, const indstr& r, const TRegDatosIniciales& parametros) {
    const std::string tasaGiroAnual = textoGeneral(parametros.tasaGiroDescubierto * 100 * 3);
    const std::string blancos = padL("", 18);
    const std::string margen(24, ' ');
    f.linea("            Informe Industrial de la Zona ", r.zona, cp1252(" para el Período "), r.periodo);
    f.linea("");
    f.linea("      UNIDADES          ", blancos, "                   DOLARES");
    f.linea("      --------          ", blancos, "                   -------");
    f.linea("Capacidad Total         ", padL(r.totcapacidad, 18), "               Ingreso por vtas    u$s ",
            padL(r.totventas, 10));
    f.linea("Total Producido         ", padL(r.totproducido, 18), "               Precio Promedio     u$s ",
            padL(r.precioprom, 10));
    f.linea("Total Ord. Recibidas    ", padL(r.totordenes, 18), "               Costo Prod. Prom.   u$s ",
            padL(r.costoprom, 10));
    f.linea("Total Vendido           ", padL(r.totvendido, 18));
    f.linea("Stock Total             ", padL(r.totstock, 18));
    f.linea("");
    f.linea("      PRODUCTIVIDAD     ", blancos, "                   ECONOMIA");
    f.linea("      -------------     ", blancos, "                   --------");
    f.linea("Cant. Empleados         ", padL(r.totempleados, 18), "               Banco ", r.bancoa);
    f.linea("Ventas/Empleado     u$s ", padL(r.ventasxempleado, 18), cp1252("               *Préstamo Límite    u$s "),
            padL(r.limitea, 10));
    f.linea("Capac. Prom. Utiliz.  % ", padL(r.capprom, 18), "               *Tasa Prima             ",
            padL(r.tasaprimaa, 10));
    f.linea(margen, blancos, "               Banco ", r.bancob);
    f.linea("Inv. y des. acum.   u$s ", padL(r.iydacum, 18), cp1252("               *Préstamo Límite    u$s "),
            padL(r.limiteb, 10));
    f.linea(margen, blancos, "               *Tasa Prima             ", padL(r.tasaprimab, 10));
    f.linea("");
    f.linea("Tasa de Mantenimiento % ", padL(r.tasamant, 18), "               Limite Giro Desc.   u$s ",
            padL(r.limitegiro, 10));
    f.linea("Mantenim. de Stock  u$s ", padL(r.mantstockunid, 18), " c/u", "           Tasa Giro Desc. Anual % ",
            padL(tasaGiroAnual, 10));
    f.linea(cp1252("Indemnización x Empleado"), padL(std::to_string(parametros.indemXEmpleado), 18),
            "               Tasa Imp. Ganancias   % ", padL(r.tasaimp, 10));
    f.linea("Valor de la Penalidad   ", padL(std::to_string(parametros.penalidad), 18));
    f.linea("");
}

std::string textoIndustria(const indstr& r, const std::vector<std::string>& competencia,
                           const TRegDatosIniciales& parametros) {
    ArchivoReporte f;
    cabeceraIndustria(f, r, parametros);
    f.linea(" - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -");
    f.linea("                              INFORME DE COMPETICION");
    f.linea("                              ------- -- -----------");
    f.linea("Nombre              Ventas     Precio     UnidVend     UtilPeri      UtilAcum    %Mercado Pos.");
    f.linea("---------------    --------   --------    --------    ---------     ---------   --------- ----");
    for (const std::string& linea : competencia) f.linea(linea);
    f.linea("");
    return f.texto();
}

}  // namespace

void TReporte::ReporteIndustria(const indstr& r) const {
    TEmpresasZona empresas([this] { return TDatosAcum(carpeta()).leerTodos(); },
                           carpeta_ ? carpeta_->ruta(kArchivoResultados) : kArchivoResultados);
    // Everything is read before the file is created, so that a key that is
    // no number or a record that cannot be read leaves the previous report.
    const TIntMatrix ranking = r.empresa != kEmpresaPeriodo0 ? rankingDeTextos(r, empresas) : TIntMatrix{};
    TRegDatosIniciales parametros{};
    TDatosjuego(carpeta()).leerDatosIniciales(parametros);
    const std::vector<std::string> competencia =
        r.periodo == "0" ? competenciaPeriodo0(r) : competenciaDeTextos(r, ranking, empresas);
    escribirReporte(rutaReporteIndustria(r), textoIndustria(r, competencia, parametros));
}

std::filesystem::path TReporte::escribirInforme(const TCifrasIndustria& industria) const {
    const indstr r = textosIndustria(industria);
    const auto competencia = industria.periodo0 ? competenciaPeriodo0(r) : competenciaDeCifras(r, industria);
    const auto ruta = rutaReporteIndustria(r);
    escribirReporte(ruta, textoIndustria(r, competencia, industria.parametros));
    return ruta;
}

// ---------------------------------------------------------------------------
// Bankruptcy and penalty notices

namespace {

/// The sums of a notice and the two figures it takes from the company's
/// previous results.
struct TMontosAviso {
    int32_t efectivo = 0;
    int32_t intereses = 0;
    long double costoProduccion = 0;
    long double totalIngresos = 0;
    long double totalEgresos = 0;
};

std::string textoAviso(const empstr& r, const TMontosAviso& m, double giro) {
    const TReporte formato;
    const std::string CR = "\r";
    ArchivoReporte f;
    f.linea("\t\t\t\t\tREPORTE DE ", std::string(giro != 0 ? "QUIEBRA" : "PENALIDAD"), " EMPRESA ", r.empresa);
    f.linea("");
    f.linea("      INGRESOS");
    f.linea("      --------");
    f.linea("");
    f.linea("EFECTIVO                             u$s", formato.FormatoEntero(m.efectivo));
    f.linea(cp1252("PED. DE PRÉST. BANCO NACIÓN          u$s"), r.pedprestamoa);
    f.linea(cp1252("PED. DE PRÉST. BANCO PROVINCIA       u$s"), r.pedprestamob);
    f.linea("");
    f.linea("TOTAL INGRESOS                       u$s", formato.FormatoTecho(static_cast<double>(m.totalIngresos)));
    f.linea("");
    f.linea("");
    f.linea("      EGRESOS");
    f.linea("      --------");
    f.linea("");
    f.linea("COSTO TOT. BR. DE PROD.              u$s", formato.FormatoTecho(static_cast<double>(m.costoProduccion)));
    f.linea("MANTENIMIENTO                        u$s", r.mantenimiento);
    f.linea("INTERESES                            u$s", formato.FormatoEntero(m.intereses));
    f.linea("MARKETING                            u$s", r.marketing);
    f.linea("INV. Y DESARROLLO                    u$s", r.iyd);
    f.linea(cp1252("CAPACITACIÓN                         u$s"), r.capacitacion);
    f.linea("AMP. DE LA PLANTA                    u$s", r.ampplanta);
    f.linea(cp1252("DEV. AL BANCO NACIÓN                 u$s"), r.devprestamoa);
    f.linea("DEV. AL BANCO PROVINCIA              u$s", r.devprestamob);
    f.linea("");
    f.linea("TOTAL EGRESOS                        u$s", formato.FormatoTecho(static_cast<double>(m.totalEgresos)));
    f.linea("");
    f.linea("");
    f.linea("Los egresos fueron superiores a los ingresos, por lo que su", CR,
            cp1252("empresa fue penalizada y se le otorgaron préstamos adicionales."));
    if (giro > 0) {
        f.linea("");
        f.linea(cp1252("Como el dinero disponible en los bancos no alcanzó para cubrir"), CR,
                cp1252("la deuda se les concedió un giro en descubierto."));
        f.linea("");
        // The notice ends after the final period, without a line end.
        f.escribir("Dicho giro en descubierto fue de u$s ", textoGeneral(giro), " el cual", CR,
                   cp1252("superó al límite máximo establecido para esta simulación y "), CR,
                   "por lo tanto su empresa ha quebrado.");
    }
    return f.texto();
}

}  // namespace

void TReporte::ReporteQuiebraPenalidad(const empstr& r, const TRegDatosAcum& acumulado, double giro) const {
    // Every figure is read before the file is touched: a text that is not a
    // number writes no notice at all.
    TMontosAviso m;
    m.efectivo = acumulado.efectivo;
    m.intereses = acumulado.intereses;
    m.costoProduccion = numero(r.produccion) * numero(r.costounid);
    m.totalIngresos = (numero(r.pedprestamoa) + acumulado.efectivo) + numero(r.pedprestamob);
    m.totalEgresos = numero(r.mantenimiento) + m.costoProduccion + acumulado.intereses + numero(r.marketing) +
                     numero(r.iyd) + numero(r.capacitacion) + numero(r.ampplanta) + numero(r.devprestamoa) +
                     numero(r.devprestamob);
    escribirReporte(rutaReporteQuiebraPenalidad(r, giro), textoAviso(r, m, giro));
}

std::filesystem::path TReporte::escribirAviso(const TCifrasAviso& a) const {
    empstr r{};
    r.empresa = a.empresa;
    r.pedprestamoa = FormatoEntero(a.pedPrestamoA);
    r.pedprestamob = FormatoEntero(a.pedPrestamoB);
    r.mantenimiento = FormatoTruncado(a.mantenimiento);
    r.marketing = FormatoEntero(a.marketing);
    r.iyd = FormatoEntero(a.invYDes);
    r.capacitacion = FormatoEntero(a.capacitacion);
    r.ampplanta = FormatoEntero(a.invPlanta);
    r.devprestamoa = FormatoEntero(a.devPrestamoA);
    r.devprestamob = FormatoEntero(a.devPrestamoB);
    const TMontosAviso m{a.efectivo, a.intereses, a.costoProduccion, a.totalIngresos, a.totalEgresos};
    const auto ruta = rutaReporteQuiebraPenalidad(r, a.giro);
    escribirReporte(ruta, textoAviso(r, m, a.giro));
    return ruta;
}

void TReporte::escribirReporte(const std::filesystem::path& ruta, const std::string& texto) const {
    // Always a new file, never the old one rewritten in place: the game's
    // history keeps earlier reports as links to their files.
    if (transaccion_) transaccion_->escribir(textoDeRuta(ruta.filename()), texto);
    else reemplazarArchivo(carpeta().sa(), carpeta().ruta() / ruta, texto);
}

const TCarpeta& TReporte::carpeta() const {
    if (!carpeta_) throw std::logic_error("un informe sin la carpeta del juego");
    return *carpeta_;
}
