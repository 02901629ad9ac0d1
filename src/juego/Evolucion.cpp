#include "juego/Evolucion.h"

#include "juego/Juego.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace {

struct TDescripcion {
    const char* nombre;
    const char* archivo;
};

constexpr std::array<TDescripcion, cantidadMedidas> descripciones = {{
    {"Utilidad acumulada", "utilidad_acumulada"},
    {"Utilidad del período", "utilidad_periodo"},
    {"Unidades vendidas", "unidades_vendidas"},
    {"Participación de mercado (%)", "participacion"},
    {"Precio", "precio"},
    {"Efectivo", "efectivo"},
    {"Deuda (bancos A y B y giro en descubierto)", "deuda"},
    {"Stock (unidades)", "stock_unidades"},
    {"Empleados", "empleados"},
}};

void agregarPunto(TEmpresaEvolucion& empresa, int periodo, const TFilaIndustria& fila, const TRegDatosAcum& datos) {
    empresa.periodos.push_back(periodo);
    auto poner = [&](TMedida m, double v) { empresa.valores[static_cast<std::size_t>(m)].push_back(v); };
    poner(TMedida::utilidadAcumulada, fila.utilidadAcumulada);
    poner(TMedida::utilidadPeriodo, fila.utilidadPeriodo);
    poner(TMedida::unidadesVendidas, fila.unidadesVendidas);
    poner(TMedida::participacion, fila.participacion);
    poner(TMedida::precio, fila.precio);
    poner(TMedida::efectivo, datos.efectivo);
    // Summed wide: three loans near the int32 limit must not wrap.
    poner(TMedida::deuda, static_cast<double>(static_cast<int64_t>(datos.prestamoA) + datos.prestamoB +
                                              datos.giroDescubierto));
    poner(TMedida::stockUnidades, datos.stockUnidades);
    poner(TMedida::empleados, datos.empleados);
    empresa.posiciones.push_back(fila.posicion);
    empresa.quebro = fila.quebrada;
}

void marcarComputadora(TJuego& juego, TEvolucion& e) {
    TComputadora computadora;
    try {
        computadora = juego.computadora();
    } catch (const ErrorArchivo&) {
        // The marks are a help: the season shows without them, and the run
        // itself refuses the damaged file.
        return;
    }
    for (TEmpresaEvolucion& empresa : e.empresas)
        empresa.deComputadora = computadora.de(utf8ACp1252(empresa.nombre).value_or(empresa.nombre)) != nullptr;
}

/// The characters of a UTF-8 text: its bytes that start one.
std::size_t caracteres(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

/// "u$s -70.121": thousands grouped with a point, as the screens show figures.
std::string utilidad(double valor) {
    const std::string cifras = enteroAlineado(static_cast<long long>(valor), 0);
    const std::size_t signo = !cifras.empty() && cifras[0] == '-' ? 1 : 0;
    std::string agrupado;
    for (std::size_t i = signo; i < cifras.size(); ++i) {
        if (i > signo && (cifras.size() - i) % 3 == 0) agrupado += '.';
        agrupado += cifras[i];
    }
    return "u$s " + cifras.substr(0, signo) + agrupado;
}

}  // namespace

std::string nombreMedida(TMedida medida) { return descripciones[static_cast<std::size_t>(medida)].nombre; }

std::string archivoMedida(TMedida medida) { return descripciones[static_cast<std::size_t>(medida)].archivo; }

TEvolucion evolucion(TJuego& juego, int hasta) {
    TEvolucion e;
    // The reader lists only the periods the game has run (none undone).
    for (int periodo : juego.periodosDelHistorial())
        if (hasta < 0 || periodo <= hasta) e.periodos.push_back(periodo);

    // The series of the companies still in the game after the last period
    // read, in company order.
    std::vector<std::size_t> activas;
    for (int periodo : e.periodos) {
        const TArchivoPeriodo archivo = juego.periodoDelHistorial(periodo);
        const std::size_t n = archivo.industria.size();
        std::vector<std::size_t> cuales(n, SIZE_MAX);
        bool enOrden = activas.size() == n;
        for (std::size_t i = 0; enOrden && i < n; ++i)
            enOrden = e.empresas[activas[i]].nombre == cp1252AUtf8(archivo.industria[i].empresa);
        if (enOrden) {
            cuales = activas;
        } else {
            // A period of an older version is missing in between: follow the
            // companies by name, and start new series for the others.
            std::vector<bool> usada(activas.size(), false);
            for (std::size_t i = 0; i < n; ++i) {
                const std::string nombre = cp1252AUtf8(archivo.industria[i].empresa);
                for (std::size_t k = 0; k < activas.size(); ++k)
                    if (!usada[k] && e.empresas[activas[k]].nombre == nombre) {
                        usada[k] = true;
                        cuales[i] = activas[k];
                        break;
                    }
            }
        }
        activas.clear();
        for (std::size_t i = 0; i < n; ++i) {
            if (cuales[i] == SIZE_MAX) {
                cuales[i] = e.empresas.size();
                e.empresas.emplace_back().nombre = cp1252AUtf8(archivo.industria[i].empresa);
            }
            agregarPunto(e.empresas[cuales[i]], periodo, archivo.industria[i], archivo.empresas[i]);
            if (!archivo.industria[i].quebrada) activas.push_back(cuales[i]);
        }
    }
    marcarComputadora(juego, e);
    return e;
}

std::vector<TFilaClase> clasificacion(const TEvolucion& e) {
    std::vector<TFilaClase> filas;
    if (e.periodos.empty()) return filas;
    const int ultimo = e.periodos.back();
    const int anterior = e.periodos.size() > 1 ? e.periodos[e.periodos.size() - 2] : -1;
    for (std::size_t i = 0; i < e.empresas.size(); ++i) {
        const TEmpresaEvolucion& empresa = e.empresas[i];
        // Gone in another way (a period of an older version missing): not ours to rank.
        if (empresa.periodos.empty() || (!empresa.quebro && empresa.periodos.back() != ultimo)) continue;
        const std::size_t k = empresa.periodos.size() - 1;
        TFilaClase fila;
        fila.empresa = empresa.nombre;
        fila.indice = i;
        fila.utilidadAcumulada = empresa.serie(TMedida::utilidadAcumulada)[k];
        fila.quebro = empresa.quebro;
        fila.periodoQuiebra = empresa.quebro ? empresa.periodos.back() : 0;
        fila.deComputadora = empresa.deComputadora;
        if (empresa.periodos.back() == ultimo) {
            fila.posicion = empresa.posiciones[k];
            if (k > 0 && empresa.periodos[k - 1] == anterior && empresa.posiciones[k - 1] > 0 && fila.posicion > 0) {
                fila.hayCambio = true;
                fila.cambio = empresa.posiciones[k - 1] - fila.posicion;
            }
        }
        filas.push_back(std::move(fila));
    }
    // Ranked first, by rank; then those without one in company order; the
    // bankrupt last, who lasted longest first.
    std::stable_sort(filas.begin(), filas.end(), [](const TFilaClase& a, const TFilaClase& b) {
        auto clave = [](const TFilaClase& f) {
            return std::tuple{f.quebro ? 2 : (f.posicion > 0 ? 0 : 1), f.posicion, -f.periodoQuiebra};
        };
        return clave(a) < clave(b);
    });
    return filas;
}

std::string lineaMejorEquipo(const TEvolucion& e, const std::vector<TFilaClase>& filas) {
    if (std::none_of(e.empresas.begin(), e.empresas.end(), [](const TEmpresaEvolucion& m) { return m.deComputadora; }))
        return {};
    const auto mejor = std::find_if(filas.begin(), filas.end(),
                                    [](const TFilaClase& f) { return f.posicion > 0 && !f.deComputadora; });
    if (mejor == filas.end()) return "Mejor equipo de la clase: ninguno sigue en el juego.";
    return "Mejor equipo de la clase: " + mejor->empresa + ", puesto " + std::to_string(mejor->posicion) +
           ", con una utilidad acumulada de " + utilidad(mejor->utilidadAcumulada) + ".";
}

std::string nombreConMarcas(const TFilaClase& fila) {
    std::string nombre = fila.empresa;
    if (fila.deComputadora) nombre += " (PC)";
    if (fila.quebro) nombre += " (quebró en el período " + std::to_string(fila.periodoQuiebra) + ")";
    return nombre;
}

bool juegoTerminado(const TEvolucion& e) { return !e.periodos.empty() && e.periodos.back() == 10; }

std::vector<std::string> textoFinal(const TEvolucion& e) {
    if (!juegoTerminado(e)) return {};
    const std::vector<TFilaClase> filas = clasificacion(e);
    std::vector<std::string> lineas{"Juego terminado", ""};
    if (!filas.empty() && filas.front().posicion == 1)
        lineas.push_back("Ganó " + nombreConMarcas(filas.front()) + ", con una utilidad acumulada de " +
                         utilidad(filas.front().utilidadAcumulada) + ".");
    if (const std::string mejor = lineaMejorEquipo(e, filas); !mejor.empty()) lineas.push_back(mejor);
    lineas.emplace_back();
    lineas.push_back("Posiciones finales");
    // In columns, for the fixed-width type of the PDF: names padded to the
    // longest (in characters, not bytes), profits aligned at the right.
    std::size_t ancho = 0, anchoCifra = 0;
    for (const TFilaClase& f : filas) {
        ancho = std::max(ancho, caracteres(nombreConMarcas(f)));
        anchoCifra = std::max(anchoCifra, utilidad(f.utilidadAcumulada).size());
    }
    for (const TFilaClase& f : filas) {
        const std::string puesto = f.posicion > 0 ? enteroAlineado(f.posicion, 3) : "  -";
        const std::string medalla = f.posicion >= 1 && f.posicion <= 3 ? " *" : "  ";
        const std::string nombre = nombreConMarcas(f), cifra = utilidad(f.utilidadAcumulada);
        lineas.push_back(puesto + medalla + " " + nombre + std::string(ancho - caracteres(nombre) + 2, ' ') +
                         std::string(anchoCifra - cifra.size(), ' ') + cifra);
    }
    return lineas;
}
