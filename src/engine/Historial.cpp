#include "engine/Historial.h"

#include "store/NombresArchivos.h"

#include "engine/Ranking.h"
#include "store/ArchivoRegistros.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr const char* kCabecera =
    "empresa,precio,ventas,utilidadPeriodo,utilidadAcumulada,unidadesVendidas,participacion,posicion,quebrada,"
    "reporte,aviso";

std::string textoCsv(const std::vector<TFilaIndustria>& filas) {
    std::string texto = std::string(kCabecera) + "\n";
    for (const TFilaIndustria& f : filas) {
        // Our own file: the share is written with a point whatever the desktop's separator.
        char participacion[32];
        const auto fin = std::to_chars(participacion, participacion + sizeof participacion, f.participacion,
                                       std::chars_format::fixed, 2).ptr;
        texto += campoCsv(cp1252AUtf8(f.empresa)) + "," + std::to_string(f.precio) + "," + std::to_string(f.ventas) +
                 "," + std::to_string(f.utilidadPeriodo) + "," + std::to_string(f.utilidadAcumulada) + "," +
                 std::to_string(f.unidadesVendidas) + "," + std::string(participacion, fin) + "," + std::to_string(f.posicion) + "," +
                 (f.quebrada ? "1" : "0") + "," + campoCsv(f.reporte) + "," + campoCsv(f.aviso) + "\n";
    }
    return texto;
}

bool soloDigitos(const std::string& texto) {
    return !texto.empty() && texto.find_first_not_of("0123456789") == std::string::npos;
}

std::vector<TFilaIndustria> leerCsv(TSistemaArchivos& sa, const std::filesystem::path& ruta) {
    const auto danado = [&](const std::string& que) { return ErrorArchivoDanado(ruta, que); };
    const auto lineas = dividirCsv(leerArchivoEntero(sa, ruta));
    if (lineas.empty() || lineas.front().size() != 11) throw danado("falta la línea de títulos");
    std::vector<TFilaIndustria> filas;
    for (std::size_t n = 1; n < lineas.size(); ++n) {
        auto c = lineas[n];
        // Games played under a decimal-comma desktop before this was fixed
        // wrote the share as "12,00", splitting it into two fields: one
        // whole number and exactly two decimals put back together.
        if (c.size() == 12 && c[7].size() == 2 && soloDigitos(c[6]) && soloDigitos(c[7])) {
            c[6] += "." + c[7];
            c.erase(c.begin() + 7);
        }
        if (c.size() != 11) throw danado("la línea " + std::to_string(n + 1) + " no tiene 11 campos");
        auto entero = [&](const std::string& texto) {
            const auto valor = leerEntero(texto);
            if (!valor) throw danado("la línea " + std::to_string(n + 1) + " tiene «" + texto + "»");
            return *valor;
        };
        TFilaIndustria f;
        f.empresa = utf8ACp1252(c[0]).value_or(c[0]);
        f.precio = entero(c[1]);
        f.ventas = entero(c[2]);
        f.utilidadPeriodo = entero(c[3]);
        f.utilidadAcumulada = entero(c[4]);
        f.unidadesVendidas = entero(c[5]);
        double participacion = 0;
        const auto r = std::from_chars(c[6].data(), c[6].data() + c[6].size(), participacion);
        if (r.ec != std::errc{} || r.ptr != c[6].data() + c[6].size())
            throw danado("la línea " + std::to_string(n + 1) + " tiene «" + c[6] + "»");
        f.participacion = participacion;
        f.posicion = entero(c[7]);
        f.quebrada = entero(c[8]) != 0;
        f.reporte = c[9];
        f.aviso = c[10];
        filas.push_back(std::move(f));
    }
    return filas;
}

template <class Registro>
std::vector<Registro> registrosDe(TSistemaArchivos& sa, const std::filesystem::path& ruta) {
    auto registros = leerRegistros<Registro>(sa, ruta);
    if (!registros) throw ErrorArchivo(ruta, "falta en la historia del período");
    return *registros;
}

}  // namespace

void archivarPeriodo(TTransaccion& transaccion, const TArchivoPeriodo& archivo,
                     const std::vector<std::filesystem::path>& reportes) {
    const std::string carpeta = carpetaHistorialDe(archivo.periodo);
    // A rerun after a step back replaces the older copy.
    transaccion.reemplazarCarpeta(carpeta);
    // A report is always a new file, so a link keeps this period's text when
    // the next period writes its own.
    for (const auto& reporte : reportes) {
        const std::string nombre = textoDeRuta(reporte.filename());
        transaccion.enlazar(nombre, carpeta + "/" + nombre);
    }
    transaccion.escribir(carpeta + "/" + kArchivoResultados, bytesDeRegistros(archivo.resultados));
    transaccion.escribir(carpeta + "/" + kArchivoDecisiones, bytesDeRegistros(archivo.decisiones));
    transaccion.escribir(carpeta + "/" + kArchivoEmpresas, bytesDeRegistros(archivo.empresas));
    transaccion.escribir(carpeta + "/" + kArchivoParametros,
                         bytesDeRegistros(std::vector<TRegDatosIniciales>{archivo.parametros}));
    transaccion.escribir(carpeta + "/" + kArchivoIndustria, textoCsv(archivo.industria));
}

std::filesystem::path carpetaDePeriodo(const TCarpeta& juego, int periodo) {
    return juego.ruta(kCarpetaHistorial) / nombrePeriodo(periodo);
}

std::vector<int> periodosArchivados(const TCarpeta& juego) {
    std::vector<int> periodos;
    TSistemaArchivos& sa = juego.sa();
    if (sa.tipo(juego.ruta(kCarpetaHistorial)) != TSistemaArchivos::Tipo::carpeta) return periodos;
    for (int periodo = 0; periodo <= 10; ++periodo)
        if (sa.tipo(carpetaDePeriodo(juego, periodo) / kArchivoIndustria) == TSistemaArchivos::Tipo::archivo)
            periodos.push_back(periodo);
    return periodos;
}

TArchivoPeriodo leerArchivoPeriodo(const TCarpeta& juego, int periodo) {
    TSistemaArchivos& sa = juego.sa();
    const auto carpeta = carpetaDePeriodo(juego, periodo);
    TArchivoPeriodo archivo;
    archivo.periodo = periodo;
    const auto parametros = registrosDe<TRegDatosIniciales>(sa, carpeta / kArchivoParametros);
    if (parametros.size() != 1)
        throw ErrorArchivoDanado(carpeta / kArchivoParametros, "debe tener un solo registro");
    archivo.parametros = parametros.front();
    comprobarParametros(archivo.parametros, carpeta / kArchivoParametros);
    archivo.resultados = registrosDe<TRegDatosAcum>(sa, carpeta / kArchivoResultados);
    comprobarEmpresas(archivo.resultados, carpeta / kArchivoResultados);
    archivo.decisiones = registrosDe<TRegDecision>(sa, carpeta / kArchivoDecisiones);
    archivo.empresas = registrosDe<TRegDatosAcum>(sa, carpeta / kArchivoEmpresas);
    comprobarEmpresas(archivo.empresas, carpeta / kArchivoEmpresas);
    archivo.industria = leerCsv(sa, carpeta / kArchivoIndustria);
    archivo.reporteIndustria = nombreInformeIndustria(std::to_string(archivo.parametros.nroZona), periodo == 0);
    if (archivo.decisiones.size() != archivo.industria.size())
        throw ErrorArchivoDanado(carpeta / kArchivoDecisiones, "no tiene una decisión por empresa");
    if (archivo.empresas.size() != archivo.industria.size())
        throw ErrorArchivoDanado(carpeta / kArchivoEmpresas, "no tiene un registro por empresa");
    return archivo;
}

std::vector<int> posicionesPorUtilidad(const std::vector<TRegDatosAcum>& empresas, std::size_t n) {
    n = std::min(n, empresas.size());
    std::vector<int32_t> claves;
    std::vector<bool> quebradas;
    for (std::size_t i = 0; i < n; ++i) {
        claves.push_back(empresas[i].utilidadAcumulada);
        quebradas.push_back(empresas[i].quebrada == 1);
    }
    std::vector<int> posiciones = posicionesEnRanking(claves, quebradas);
    for (int& posicion : posiciones) posicion = std::max(posicion, 0);
    return posiciones;
}
