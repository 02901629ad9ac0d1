#include "juego/Planilla.h"

#include "store/NombresArchivos.h"

#include "engine/ValidarDecision.h"
#include "juego/Juego.h"
#include "store/DatosIniciales.h"
#include "store/ErrorArchivo.h"
#include "store/ModificarDatos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#ifdef CORVELIAN_XLSX
#include <xlsxwriter.h>

#include <dlfcn.h>
#include <locale.h>
#include <stdlib.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

namespace fs = std::filesystem;

namespace {

double numero(int64_t valor) { return static_cast<double>(valor); }

TCelda nombreUtf8(const cadena& c) { return cp1252AUtf8(aTexto(c)); }

void comprobarAlineado(const TArchivoPeriodo& p) {
    // The sheets pair every company's record with its industry row and decisions.
    if (p.empresas.size() != p.industria.size() || p.decisiones.size() != p.industria.size())
        throw ErrorArchivoDanado(fs::path(kCarpetaHistorial) / nombrePeriodo(p.periodo),
                                 "las empresas, las decisiones y las cifras de la industria no coinciden");
}

THoja hojaResultados(const std::vector<TArchivoPeriodo>& periodos) {
    THoja hoja{"Resultados",
               {"Período", "Nº empresa", "Empresa", "Intereses", "Stock (u$s)", "Giro en descubierto", "Zona",
                "Préstamo banco A", "Préstamo banco B", "Planta", "Efectivo", "Utilidad acumulada",
                // The decision's own words, as the sheet of decisions names it.
                "Stock (unidades)", etiquetaDecision(rangoDecision(&TRegDecision::invYDes), "A", "B") + " acumulada",
                "Capacitación acumulada", "Empleados", "Quebrada",
                "Marca de quiebra", "Precio", "Ventas", "Utilidad del período", "Utilidad acumulada (informe)",
                "Unidades vendidas", "Participación de mercado (%)", "Posición"},
               {}};
    for (const TArchivoPeriodo& p : periodos) {
        for (std::size_t i = 0; i < p.empresas.size(); ++i) {
            const TRegDatosAcum& e = p.empresas[i];
            const TFilaIndustria& f = p.industria[i];
            hoja.filas.push_back({
                numero(p.periodo), numero(static_cast<int64_t>(i) + 1), nombreUtf8(e.nombreEmpresa),
                numero(e.intereses), numero(e.stockValor), numero(e.giroDescubierto), numero(e.zona),
                numero(e.prestamoA), numero(e.prestamoB), numero(e.planta), numero(e.efectivo),
                numero(e.utilidadAcumulada), numero(e.stockUnidades), numero(e.invYDesAcumulada),
                numero(e.capacitacionAcumulada), numero(e.empleados), numero(e.quebrada), numero(e.marcaQuiebra),
                numero(f.precio), numero(f.ventas), numero(f.utilidadPeriodo), numero(f.utilidadAcumulada),
                numero(f.unidadesVendidas), f.participacion,
                // No rank (bankrupt, period 0) is a blank, not a rank of 0.
                f.posicion > 0 ? TCelda(numero(f.posicion)) : TCelda(),
            });
        }
    }
    return hoja;
}

THoja hojaDecisiones(const std::vector<TArchivoPeriodo>& periodos) {
    THoja hoja{"Decisiones", {"Período", "Nº empresa", "Empresa"}, {}};
    // The decisions in the order of the record, named as the decision table
    // names them, with the bank's letter for its name.
    for (const TRangoDecision* r : rangosEnOrdenDelRegistro())
        hoja.titulos.push_back(etiquetaDecision(*r, "A", "B") + (std::string(r->unidad) == "%" ? " (%)" : ""));
    for (const TArchivoPeriodo& p : periodos) {
        for (std::size_t i = 0; i < p.decisiones.size(); ++i) {
            // Each cell built in place: moving a temporary cell trips a false
            // "may be used uninitialized" warning of g++ 12.
            std::vector<TCelda> fila;
            fila.emplace_back(std::in_place_type<double>, numero(p.periodo));
            fila.emplace_back(std::in_place_type<double>, numero(static_cast<int64_t>(i) + 1));
            fila.emplace_back(std::in_place_type<std::string>, cp1252AUtf8(aTexto(p.empresas[i].nombreEmpresa)));
            for (const TRangoDecision* r : rangosEnOrdenDelRegistro())
                fila.emplace_back(std::in_place_type<double>, numero(p.decisiones[i].*r->campo));
            hoja.filas.push_back(std::move(fila));
        }
    }
    return hoja;
}

// The value of a box as the modify screen shows it (rates as percent, yearly interest).
TCelda valorDeCaja(const std::string& texto) {
    if (auto valor = leerDecimal(texto)) return static_cast<double>(*valor);
    return cp1252AUtf8(texto);
}

THoja hojaParametros(const TArchivoPeriodo& ultimo) {
    const TRegDatosIniciales& d = ultimo.parametros;
    const TTextosDatosIniciales textos = textosModificables(d);
    THoja hoja{"Parametros", {"Parámetro", "Valor"}, {}};
    auto fila = [&](std::string nombre, TCelda valor) { hoja.filas.push_back({std::move(nombre), std::move(valor)}); };
    fila("Parámetros después del período", numero(ultimo.periodo));
    // The bank names, the boxes with a range in screen order, then the byte
    // boxes (they keep the low byte and have none).
    for (const TParametro& p : kTablaParametros)
        if (esNombre(p)) fila(p.caja, cp1252AUtf8(textos.*p.texto));
    for (const TParametro& p : kTablaParametros) {
        if (!p.conRango) continue;
        std::string nombre = p.caja;
        if (p.banco) nombre += " " + cp1252AUtf8(p.banco == 'A' ? textos.nombreBancoA : textos.nombreBancoB);
        fila(nombre, valorDeCaja(textos.*p.texto));
    }
    for (const TParametro& p : kTablaParametros)
        if (esByte(p)) fila(p.caja, valorDeCaja(textos.*p.texto));
    fila("Columna de precios (tablas)", numero(d.columnaPrecios));
    fila("Intervalo de marketing (tablas)", numero(d.intervaloMarketing));
    fila("Empresas activas", numero(d.cantEquipos));
    fila("Próximo período", numero(d.periodoActual));
    return hoja;
}

std::string textoNumero(double valor, char separador) {
    char buffer[64];
    std::to_chars_result r;
    // Whole numbers without decimals; others in the shortest exact notation.
    if (std::trunc(valor) == valor && std::fabs(valor) < 1e15)
        r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(valor));
    else
        r = std::to_chars(buffer, buffer + sizeof buffer, valor, std::chars_format::fixed);
    std::string texto(buffer, r.ptr);
    std::replace(texto.begin(), texto.end(), '.', separador);
    return texto;
}

#ifdef CORVELIAN_XLSX
// libxlsxwriter's failures, as the game master reads them.
std::string fallaXlsx(lxw_error error) {
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED: return "no alcanzó la memoria para armar la planilla";
        case LXW_ERROR_CREATING_XLSX_FILE: return "no se pudo crear el archivo";
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE: return "falló un archivo temporal de la planilla";
        default: return "no se pudo escribir la planilla (¿disco lleno?)";
    }
}

// Debian's libxlsxwriter prints numbers with printf, which follows the
// regional settings: under a decimal comma it would write "33,33" into the
// XML. The C settings hold on this thread while the workbook is built.
class NumerosEnC {
public:
    NumerosEnC() : c_(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0))) {
        if (c_) anterior_ = uselocale(c_);
    }
    ~NumerosEnC() {
        if (!c_) return;
        uselocale(anterior_);
        freelocale(c_);
    }
    NumerosEnC(const NumerosEnC&) = delete;
    NumerosEnC& operator=(const NumerosEnC&) = delete;

private:
    locale_t c_;
    locale_t anterior_ = LC_GLOBAL_LOCALE;
};

// The library is loaded when a workbook is asked for, not at every start of
// the tool: it brings zlib and OpenSSL, whose loading took a tenth of a run.
struct TBibliotecaXlsx {
    decltype(&::workbook_new) workbook_new = nullptr;
    decltype(&::workbook_add_format) workbook_add_format = nullptr;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet = nullptr;
    decltype(&::workbook_close) workbook_close = nullptr;
    decltype(&::format_set_bold) format_set_bold = nullptr;
    decltype(&::worksheet_freeze_panes) worksheet_freeze_panes = nullptr;
    decltype(&::worksheet_write_number) worksheet_write_number = nullptr;
    decltype(&::worksheet_write_string) worksheet_write_string = nullptr;
    std::string falla;  // why it could not be loaded
};

template <class Funcion>
void resolver(void* biblioteca, Funcion& funcion, const char* nombre, std::string& falla) {
    funcion = reinterpret_cast<Funcion>(::dlsym(biblioteca, nombre));
    if (!funcion && falla.empty()) falla = std::string("falta la función ") + nombre;
}

const TBibliotecaXlsx& bibliotecaXlsx() {
    static const TBibliotecaXlsx cargada = [] {
        TBibliotecaXlsx b;
        void* biblioteca = ::dlopen(CORVELIAN_XLSX_BIBLIOTECA, RTLD_NOW | RTLD_LOCAL);
        if (!biblioteca) {
            b.falla = "no se pudo cargar " CORVELIAN_XLSX_BIBLIOTECA;
            return b;
        }
        resolver(biblioteca, b.workbook_new, "workbook_new", b.falla);
        resolver(biblioteca, b.workbook_add_format, "workbook_add_format", b.falla);
        resolver(biblioteca, b.workbook_add_worksheet, "workbook_add_worksheet", b.falla);
        resolver(biblioteca, b.workbook_close, "workbook_close", b.falla);
        resolver(biblioteca, b.format_set_bold, "format_set_bold", b.falla);
        resolver(biblioteca, b.worksheet_freeze_panes, "worksheet_freeze_panes", b.falla);
        resolver(biblioteca, b.worksheet_write_number, "worksheet_write_number", b.falla);
        resolver(biblioteca, b.worksheet_write_string, "worksheet_write_string", b.falla);
        return b;
    }();
    return cargada;
}

struct CerrarLibro {
    void operator()(lxw_workbook* libro) const { bibliotecaXlsx().workbook_close(libro); }
};
#endif

}  // namespace

std::vector<THoja> hojasDeTemporada(const std::vector<TArchivoPeriodo>& periodos) {
    if (periodos.empty()) throw ErrorJuego("No hay períodos simulados para exportar: corra el período 0 primero.");
    for (const TArchivoPeriodo& p : periodos) comprobarAlineado(p);
    return {hojaResultados(periodos), hojaDecisiones(periodos), hojaParametros(periodos.back())};
}

std::string textoCsv(const THoja& hoja) {
    const char decimal = separadorDecimal() == ',' ? ',' : '.';
    const char separador = decimal == ',' ? ';' : ',';
    std::string texto = "\xEF\xBB\xBF";
    auto linea = [&](const auto& celdas, auto&& convertir) {
        for (std::size_t i = 0; i < celdas.size(); ++i) {
            if (i) texto += separador;
            texto += convertir(celdas[i]);
        }
        texto += "\r\n";
    };
    linea(hoja.titulos, [&](const std::string& t) { return celdaCsv(t, separador); });
    for (const auto& fila : hoja.filas)
        linea(fila, [&](const TCelda& c) -> std::string {
            if (const double* n = std::get_if<double>(&c)) return textoNumero(*n, decimal);
            if (const std::string* t = std::get_if<std::string>(&c)) return celdaCsv(*t, separador);
            return {};
        });
    return texto;
}

#ifndef CORVELIAN_XLSX
void escribirXlsx(TSistemaArchivos&, const std::vector<THoja>&, const fs::path&) {
    throw ErrorJuego("Esta versión del programa no exporta .xlsx (se compiló sin libxlsxwriter): "
                     "exporte la planilla como .csv.");
}
#else
void escribirXlsx(TSistemaArchivos& sistema, const std::vector<THoja>& hojas, const fs::path& archivo) {
    // Checked here, so that the common failure is said in Spanish and not
    // first by the library on standard error.
    const fs::path carpeta = archivo.parent_path().empty() ? fs::path(".") : archivo.parent_path();
    if (sistema.tipo(carpeta) != TSistemaArchivos::Tipo::carpeta)
        throw ErrorArchivo(archivo, "la carpeta «" + textoDeRuta(carpeta) + "» no existe");
    const TBibliotecaXlsx& x = bibliotecaXlsx();
    if (!x.falla.empty())
        throw ErrorJuego("No se puede exportar .xlsx (" + x.falla + "): exporte la planilla como .csv.");
    // libxlsxwriter opens a name itself: it gets a private file of the
    // system's temporary folder, and the workbook reaches its place like
    // every other file, whole, through the file system, never via a link.
    std::string privado = (fs::temp_directory_path() / "corvelian-planilla-XXXXXX").string();
    const int descriptor = ::mkstemp(privado.data());
    if (descriptor < 0) throw ErrorArchivo(archivo, fallaXlsx(LXW_ERROR_CREATING_TMPFILE));
    ::close(descriptor);
    std::string bytes;
    try {
        const NumerosEnC numerosEnC;
        std::unique_ptr<lxw_workbook, CerrarLibro> libro(x.workbook_new(privado.c_str()));
        if (!libro) throw ErrorArchivo(archivo, fallaXlsx(LXW_ERROR_MEMORY_MALLOC_FAILED));
        lxw_format* negrita = x.workbook_add_format(libro.get());
        x.format_set_bold(negrita);
        lxw_error error = LXW_NO_ERROR;
        auto anotar = [&](lxw_error e) {
            if (error == LXW_NO_ERROR) error = e;
        };
        for (const THoja& hoja : hojas) {
            lxw_worksheet* ws = x.workbook_add_worksheet(libro.get(), hoja.nombre.c_str());
            if (!ws) throw ErrorArchivo(archivo, fallaXlsx(LXW_ERROR_PARAMETER_VALIDATION));
            for (std::size_t c = 0; c < hoja.titulos.size(); ++c)
                anotar(x.worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), hoja.titulos[c].c_str(), negrita));
            x.worksheet_freeze_panes(ws, 1, 0);
            for (std::size_t f = 0; f < hoja.filas.size(); ++f) {
                const auto fila = static_cast<lxw_row_t>(f + 1);
                for (std::size_t c = 0; c < hoja.filas[f].size(); ++c) {
                    const TCelda& celda = hoja.filas[f][c];
                    const auto columna = static_cast<lxw_col_t>(c);
                    if (const double* n = std::get_if<double>(&celda))
                        anotar(x.worksheet_write_number(ws, fila, columna, *n, nullptr));
                    else if (const std::string* t = std::get_if<std::string>(&celda))
                        anotar(x.worksheet_write_string(ws, fila, columna, t->c_str(), nullptr));
                }
            }
        }
        if (error != LXW_NO_ERROR) throw ErrorArchivo(archivo, fallaXlsx(error));
        error = x.workbook_close(libro.release());
        if (error != LXW_NO_ERROR) throw ErrorArchivo(archivo, fallaXlsx(error));
        bytes = leerArchivoEntero(sistemaArchivosReal(), privado);
    } catch (...) {
        std::error_code ignorado;
        fs::remove(privado, ignorado);
        throw;
    }
    std::error_code ignorado;
    fs::remove(privado, ignorado);
    reemplazarArchivo(sistema, archivo, bytes);
}
#endif

bool esFormatoDePlanilla(const fs::path& archivo) {
    const std::string extension = minusculas(textoDeRuta(archivo.extension()));
    return extension == ".xlsx" || extension == ".csv";
}

void exportarPlanilla(TJuego& juego, const fs::path& elegido) {
    // The teacher's folder may be reached through a link (a home on another
    // disk): the seam never follows one, so the folder is resolved here. The
    // file's own name is still never followed.
    fs::path archivo = elegido;
    std::error_code error;
    const fs::path carpeta = fs::canonical(fs::absolute(elegido).parent_path(), error);
    if (!error) archivo = carpeta / elegido.filename();
    const std::string extension = minusculas(textoDeRuta(archivo.extension()));
    if (!esFormatoDePlanilla(archivo))
        throw ErrorJuego("La planilla se exporta como .xlsx o .csv, no como «" + textoDeRuta(archivo.filename()) + "».");
    std::vector<TArchivoPeriodo> periodos;
    for (int periodo : juego.periodosDelHistorial()) periodos.push_back(juego.periodoDelHistorial(periodo));
    const std::vector<THoja> hojas = hojasDeTemporada(periodos);
    if (extension == ".csv") reemplazarArchivo(juego.sistemaArchivos(), archivo, textoCsv(hojas.front()));
    else escribirXlsx(juego.sistemaArchivos(), hojas, archivo);
}
