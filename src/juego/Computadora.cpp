#include "juego/Computadora.h"

#include "engine/Calculos_UD.h"
#include "engine/EmpresaPeriodo.h"
#include "engine/Ordenes_UD.h"
#include "engine/UTablaCostos.h"
#include "engine/ValidarDecision.h"
#include "juego/CodigosAcceso.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr std::array<TEstilo, 4> kEstilos = {TEstilo::prudente, TEstilo::agresivo, TEstilo::innovador,
                                             TEstilo::imitador};

// splitmix64: small, fast, and the same numbers on every compiler and
// standard library, which std::uniform_int_distribution does not promise.
class TAzar {
public:
    explicit TAzar(std::uint64_t semilla) : estado_(semilla) {}
    std::uint64_t siguiente() {
        std::uint64_t z = (estado_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    /// A whole number from a to b, both included.
    int32_t entre(int32_t a, int32_t b) {
        const auto ancho = static_cast<std::uint64_t>(static_cast<int64_t>(b) - a + 1);
        return static_cast<int32_t>(a + static_cast<int64_t>(siguiente() % ancho));
    }
    /// A number in [0, 1), from the top 53 bits.
    double fraccion() { return static_cast<double>(siguiente() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t estado_;
};

int32_t acotar(int32_t TRegDecision::*campo, int64_t valor) {
    const TRangoDecision& r = rangoDecision(campo);
    valor = std::clamp<int64_t>(valor, r.minimo, r.maximo);
    valor -= (valor - r.minimo) % r.paso;
    return static_cast<int32_t>(valor);
}

// Every field inside the ranges every checker applies.
void acotarTodo(TRegDecision& d) {
    for (const TRangoDecision& r : rangosDecision()) d.*(r.campo) = acotar(r.campo, d.*(r.campo));
}

/// The previous period's market as the industry report shows it.
struct TMercado {
    double precioMedio = 0;
    int32_t precioLider = 0;
    int32_t unidadesLider = 0;
    int competidores = 1;  ///< companies that will decide this period, itself included
};

TMercado mercadoAnterior(const TConocimiento& k) {
    TMercado m;
    m.competidores = std::max<int>(1, k.parametros.cantEquiposZona1);
    double suma = 0;
    int cuantos = 0;
    const TFilaIndustria* lider = nullptr;
    for (const TFilaIndustria& f : k.industria) {
        if (f.quebrada) continue;
        suma += f.precio;
        ++cuantos;
        // The ranking when there is one; in period 0 nobody is ranked and
        // every company is the same.
        if (!lider || (f.posicion > 0 && (lider->posicion == 0 || f.posicion < lider->posicion))) lider = &f;
    }
    const int32_t propio = k.anterior ? k.anterior->precio : 85;
    m.precioMedio = cuantos > 0 ? suma / cuantos : propio;
    m.precioLider = lider ? lider->precio : propio;
    m.unidadesLider = lider ? lider->unidadesVendidas : 0;
    return m;
}

// The orders the market adds or takes for a price, if the others keep the
// previous period's average.
TMercadoEmpresa estimarMercado(const TRegDecision& d, const TConocimiento& k, const TMercado& m) {
    TMercadoEmpresa mercado;
    const int n = m.competidores;
    const double suma = m.precioMedio * (n - 1) + d.precio;
    mercado.ordenesPorPrecio = TOrdenes().ajustePorPrecio(
        static_cast<int32_t>(std::lround(suma)), d.precio, k.parametros.multipOrdenesMas,
        k.parametros.multipOrdenesMenos, static_cast<uint8_t>(std::clamp(n, 1, 255)));
    return mercado;
}

TEmpresaCalculada ensayar(const TRegDecision& d, const TConocimiento& k, const TMercado& m) {
    return calcularEmpresa(k.propia, d, k.parametros, estimarMercado(d, k, m),
                           reglasCorrida(static_cast<uint8_t>(k.periodo)));
}

// The leader's marketing, read back from its units sold and price through
// the demand table: the least marketing that brings those orders.
int32_t marketingEstimado(const TMercado& m, const TConocimiento& k) {
    if (m.unidadesLider <= 0 || m.precioLider < 50 || m.precioLider > 100) return 6000;
    const int32_t ajuste = static_cast<int32_t>((m.precioMedio - m.precioLider) *
                                                (m.precioLider < m.precioMedio ? k.parametros.multipOrdenesMas
                                                                               : k.parametros.multipOrdenesMenos));
    for (int32_t marketing = 0; marketing <= 10000; marketing += 1000) {
        int32_t ordenes = 0, ventas = 0, noRealizadas = 0, stock = 0;
        TOrdenes().calcularOrdenes(ajuste, 0, k.parametros.modifOrdenes, std::numeric_limits<int32_t>::max(),
                                   marketing, m.precioLider, ordenes, ventas, noRealizadas, stock);
        if (ordenes >= m.unidadesLider) return marketing;
    }
    return 10000;
}

int32_t techo(double valor) {
    if (!(valor > 0)) return 0;
    return valor >= kMaxMonto ? kMaxMonto : static_cast<int32_t>(std::ceil(valor));
}

/// What each style wants before money has its say.
struct TPreferencias {
    int32_t nivelPreferido = 75;
    double stockTolerado = 0.15;  ///< of the orders, left unsold at the end
    bool alLimite = false;        ///< borrows everything the banks allow
    bool devuelve = false;        ///< repays its debts when money is left over
    double descuido = 0;          ///< share of the previous interest left out of its sums
};

}  // namespace

const std::array<TEstilo, 4>& estilosComputadora() { return kEstilos; }

const char* nombreEstilo(TEstilo estilo) {
    switch (estilo) {
    case TEstilo::prudente: return "prudente";
    case TEstilo::agresivo: return "agresivo";
    case TEstilo::innovador: return "innovador";
    case TEstilo::imitador: return "imitador";
    }
    return "prudente";
}

std::optional<TEstilo> estiloDeNombre(std::string_view nombre) {
    const std::string buscado = minusculas(nombre);
    for (TEstilo e : kEstilos)
        if (buscado == nombreEstilo(e)) return e;
    return std::nullopt;
}

TEstilo estiloDeMezcla(std::size_t i) { return kEstilos[i % kEstilos.size()]; }

const TEmpresaComputadora* TComputadora::de(const std::string& nombre) const {
    for (const TEmpresaComputadora& e : empresas)
        if (e.nombre == nombre) return &e;
    return nullptr;
}

std::string textoComputadora(const TComputadora& c) {
    std::string texto = "semilla," + std::to_string(c.semilla) + "\nempresa,estilo\n";
    for (const TEmpresaComputadora& e : c.empresas)
        texto += campoCsv(cp1252AUtf8(e.nombre)) + "," + nombreEstilo(e.estilo) + "\n";
    return texto;
}

TComputadora leerTextoComputadora(std::string_view texto, const std::filesystem::path& ruta) {
    const auto filas = dividirCsv(texto);
    auto danado = [&](std::size_t linea, const std::string& problema) {
        return ErrorArchivoDanado(ruta, "línea " + std::to_string(linea) + ": " + problema);
    };
    TComputadora c;
    if (filas.size() < 2 || filas[0].size() != 2 || filas[0][0] != "semilla")
        throw danado(1, "se esperaba «semilla,NÚMERO»");
    const std::string& numero = filas[0][1];
    const auto [fin, error] = std::from_chars(numero.data(), numero.data() + numero.size(), c.semilla);
    if (error != std::errc() || fin != numero.data() + numero.size() || numero.empty())
        throw danado(1, "la semilla «" + numero + "» no es un número");
    if (filas[1] != std::vector<std::string>{"empresa", "estilo"}) throw danado(2, "se esperaba «empresa,estilo»");
    for (std::size_t i = 2; i < filas.size(); ++i) {
        const auto& fila = filas[i];
        if (fila.size() == 1 && fila[0].empty()) continue;
        if (fila.size() != 2) throw danado(i + 1, "se esperaban dos campos");
        const auto nombre = utf8ACp1252(fila[0]);
        const auto estilo = estiloDeNombre(fila[1]);
        if (!nombre || nombre->empty()) throw danado(i + 1, "el nombre «" + fila[0] + "» no es de una empresa");
        if (!estilo) throw danado(i + 1, "el estilo «" + fila[1] + "» no existe");
        if (c.de(*nombre)) throw danado(i + 1, "la empresa «" + fila[0] + "» está dos veces");
        c.empresas.push_back({*nombre, *estilo});
    }
    return c;
}

std::uint64_t semillaNueva() {
    std::uint64_t semilla = 0;
    bytesAleatorios(&semilla, sizeof semilla);
    return semilla;
}

std::vector<std::string> nombresComputadora(std::size_t cantidad, const std::vector<std::string>& ocupados) {
    std::vector<std::string> usados;
    for (const std::string& n : ocupados) usados.push_back(minusculas(n));
    std::vector<std::string> nombres;
    for (int n = 1; nombres.size() < cantidad; ++n) {
        const std::string nombre = "Compu " + std::to_string(n);
        if (std::find(usados.begin(), usados.end(), minusculas(nombre)) == usados.end()) nombres.push_back(nombre);
    }
    return nombres;
}

TComputadora agregarComputadora(std::vector<std::string>& equipos, std::size_t cantidad,
                                std::optional<TEstilo> estilo, std::uint64_t semilla) {
    TComputadora computadora{semilla, {}};
    for (const std::string& nombre : nombresComputadora(cantidad, equipos)) {
        computadora.empresas.push_back({nombre, estilo.value_or(estiloDeMezcla(computadora.empresas.size()))});
        equipos.push_back(nombre);
    }
    return computadora;
}

// Funds minus outlays as the run's funds check counts them: positive is
// money left over, negative the shortfall that the banks would cover with a
// penalty.
double holguraDeFondos(const TRegDecision& d, const TConocimiento& k) {
    const TRegDatosAcum& a = k.propia;
    const TRegDatosIniciales& ini = k.parametros;
    TCalculos calculos(ini.indemXEmpleado, ini.penalidad);
    TResultadoProduccion prod{};
    calculos.calcularProduccion(entradaDeProduccion(a, d, ini), prod);
    double unitario = 0, costo = 0;
    tcosto().costoProduccion(a.planta, prod.produccion, a.capacitacionAcumulada,
                             static_cast<uint8_t>(d.nivelProduccion), unitario, costo);
    const long double fondos = static_cast<long double>(d.pedPrestamoA) + d.pedPrestamoB + a.efectivo -
                               d.devPrestamoA - d.devPrestamoB;
    const long double egresos = static_cast<long double>(costo) + a.intereses + d.marketing + d.capacitacion +
                                d.invYDes + d.invPlanta + prod.mantenimiento;
    return static_cast<double>(fondos - egresos);
}

namespace {

// One stream per game, period and company: a period redone gets the same numbers.
TAzar azarDe(std::uint64_t semilla, const std::string& nombre, int periodo) {
    TAzar azar(semilla ^ (huellaFnv(nombre) * 0x9E3779B97F4A7C15ull) ^
               (static_cast<std::uint64_t>(periodo) * 0xD6E8FEB86659FD93ull));
    azar.siguiente();
    return azar;
}

// Plant bought in the last periods never produces: capacity counts from the next period.
bool invierte(const TConocimiento& k) { return k.periodo <= 8; }

/// A style's first choice, before the market and the money have their say.
struct TPropuesta {
    TRegDecision decision{};
    TPreferencias preferencias;
};

TPropuesta propuestaDelEstilo(TEstilo estilo, const TConocimiento& k, const TMercado& m, TAzar& azar) {
    const TRegDatosAcum& a = k.propia;
    const auto medio = static_cast<int32_t>(std::lround(m.precioMedio));
    TPropuesta propuesta;
    TRegDecision& d = propuesta.decision;
    TPreferencias& pref = propuesta.preferencias;
    switch (estilo) {
    case TEstilo::prudente:
        d.precio = medio + azar.entre(-1, 2);
        d.marketing = 1000 * azar.entre(5, 7);
        d.capacitacion = 2000 * azar.entre(1, 2);
        d.invYDes = 500 * azar.entre(1, 3);
        pref.devuelve = true;
        break;
    case TEstilo::agresivo:
        d.precio = std::max(60, medio - azar.entre(3, 8));
        d.marketing = 1000 * azar.entre(9, 10);
        d.capacitacion = 2000;
        d.invYDes = 500;
        d.invPlanta = invierte(k) ? static_cast<int32_t>(int64_t{a.planta} * azar.entre(10, 40) / 100) : 0;
        pref.nivelPreferido = 100;
        pref.stockTolerado = 0.5;
        pref.alLimite = true;
        // Now and then it counts on its loans and forgets part of last
        // period's interest.
        pref.descuido = azar.fraccion() < 0.1 ? azar.fraccion() : 0;
        break;
    case TEstilo::innovador:
        d.precio = medio + azar.entre(2, 5);
        d.marketing = 1000 * azar.entre(5, 8);
        d.capacitacion = 2000 * azar.entre(2, 4);
        d.invYDes = 1000 * azar.entre(2, 5);
        d.invPlanta = invierte(k) ? static_cast<int32_t>(int64_t{a.planta} * azar.entre(0, 8) / 100) : 0;
        break;
    case TEstilo::imitador:
        d.precio = m.precioLider + azar.entre(-1, 1);
        d.marketing = marketingEstimado(m, k) + 500 * azar.entre(-1, 1);
        d.capacitacion = 4000;
        d.invYDes = 1000;
        pref.devuelve = true;
        break;
    }
    d.nivelProduccion = pref.nivelPreferido;
    acotarTodo(d);
    return propuesta;
}

// No more production than the market is expected to take.
void ajustarProduccionAlMercado(TRegDecision& d, const TConocimiento& k, const TMercado& m,
                                const TPreferencias& pref) {
    while (d.nivelProduccion > 25) {
        const TEmpresaCalculada r = ensayar(d, k, m);
        if (r.cifras.stockFinal <= pref.stockTolerado * std::max(1, r.cifras.ordenesRecibidas)) break;
        d.nivelProduccion -= 25;
    }
}

// A debt above a limit (lowered with Modificar) and the carried overdraft
// would count as overdraft again: they are repaid first.
void devolverLoExcedido(TRegDecision& d, const TConocimiento& k) {
    const TRegDatosAcum& a = k.propia;
    d.devPrestamoA = std::max(0, a.prestamoA - k.parametros.maxCreditoA);
    d.devPrestamoB = std::max(0, a.giroDescubierto) + std::max(0, a.prestamoB - k.parametros.maxCreditoB);
}

/// The loans a decision asks for, within what each bank still lends.
class TFinanciacion {
public:
    TFinanciacion(const TConocimiento& k, const TPreferencias& pref)
        : k_(k), pref_(pref), lugarA_(std::max(0, k.parametros.maxCreditoA - k.propia.prestamoA)),
          lugarB_(std::max(0, k.parametros.maxCreditoB - k.propia.prestamoB)) {}

    /// Everything the banks allow, or what the outlays need and no more.
    void financiar(TRegDecision& d) const {
        if (pref_.alLimite) {
            d.pedPrestamoA = lugarA_;
            d.pedPrestamoB = lugarB_;
            return;
        }
        d.pedPrestamoA = d.pedPrestamoB = 0;
        const double falta = -holguraDeFondos(d, k_);
        if (falta <= 0) return;
        const int32_t pedir = techo(falta * 1.01 + 100);
        d.pedPrestamoA = std::min(pedir, lugarA_);
        d.pedPrestamoB = std::min(pedir - d.pedPrestamoA, lugarB_);
    }

    /// Financed, the money pays for the decision (as the company counts it).
    bool alcanza(TRegDecision& d) const {
        financiar(d);
        return holguraDeFondos(d, k_) + pref_.descuido * k_.propia.intereses >= 0;
    }

private:
    const TConocimiento& k_;
    const TPreferencias& pref_;
    int32_t lugarA_;
    int32_t lugarB_;
};

// What the money cannot pay is cut, the least urgent first; production last.
void recortarGastos(TRegDecision& d, const TFinanciacion& financiacion) {
    for (int paso = 0; paso < 60 && !financiacion.alcanza(d); ++paso) {
        if (d.invPlanta > 0) d.invPlanta = d.invPlanta > 2000 ? d.invPlanta / 2 : 0;
        else if (d.invYDes > 0) d.invYDes = d.invYDes > 500 ? d.invYDes / 2 : 0;
        else if (d.capacitacion > 0) d.capacitacion -= 2000;
        else if (d.marketing > 2000) d.marketing -= 1000;
        else break;
    }
}

// When the money still falls short, the level it allows with the best
// expected profit: a lower level is not always cheaper per unit (75 % is the
// cheapest). True when production was cut.
bool recortarProduccion(TRegDecision& d, const TConocimiento& k, const TMercado& m,
                        const TFinanciacion& financiacion) {
    if (financiacion.alcanza(d)) return false;
    const int32_t deseado = d.nivelProduccion;
    std::optional<std::pair<double, int32_t>> mejor;
    for (int32_t nivel = deseado; nivel >= 0; nivel -= 25) {
        d.nivelProduccion = nivel;
        if (!financiacion.alcanza(d)) continue;
        const double utilidad = ensayar(d, k, m).cifras.resultado.utilPeriodo;
        if (!mejor || utilidad > mejor->first) mejor = std::make_pair(utilidad, nivel);
    }
    d.nivelProduccion = mejor ? mejor->second : 0;
    if (!mejor) d.marketing = 0;
    financiacion.financiar(d);
    return true;
}

// A careful company grows its plant only with its own money, when the
// market asks for more than it can make.
void ampliarPlantaConFondosPropios(TRegDecision& d, const TConocimiento& k, const TMercado& m) {
    const TEmpresaCalculada r = ensayar(d, k, m);
    const double libre = holguraDeFondos(d, k);
    if (r.cifras.ordenesNoRealizadas > r.cifras.ordenesRecibidas / 10 && libre > 0) {
        d.invPlanta = static_cast<int32_t>(std::min<double>(k.propia.planta * 0.1, libre * 0.4));
        acotarTodo(d);
    }
}

// Money left over pays the dearer debt first, keeping a reserve.
void devolverConElSobrante(TRegDecision& d, const TConocimiento& k) {
    const TRegDatosAcum& a = k.propia;
    const TRegDatosIniciales& ini = k.parametros;
    double libre = holguraDeFondos(d, k) - 0.1 * a.planta;
    const bool bMasCara = ini.interesB >= ini.interesA;
    for (int banco = 0; banco < 2 && libre > 1000; ++banco) {
        const bool esB = (banco == 0) == bMasCara;
        int32_t& devolucion = esB ? d.devPrestamoB : d.devPrestamoA;
        const int32_t yaDevuelto = esB ? std::max(0, a.prestamoB - ini.maxCreditoB)
                                       : std::max(0, a.prestamoA - ini.maxCreditoA);
        const int32_t deuda = (esB ? a.prestamoB : a.prestamoA) - yaDevuelto;
        const auto extra = static_cast<int32_t>(std::min<double>(deuda, libre * 0.5));
        if (extra <= 0) continue;
        devolucion += extra;
        libre -= extra;
    }
}

}  // namespace

TRegDecision decidirComputadora(TEstilo estilo, const std::string& nombre, const TConocimiento& k,
                                std::uint64_t semilla) {
    TAzar azar = azarDe(semilla, nombre, k.periodo);
    const TMercado m = mercadoAnterior(k);
    auto [d, pref] = propuestaDelEstilo(estilo, k, m, azar);
    ajustarProduccionAlMercado(d, k, m, pref);
    devolverLoExcedido(d, k);
    const TFinanciacion financiacion(k, pref);
    recortarGastos(d, financiacion);
    const bool recortada = recortarProduccion(d, k, m, financiacion);
    if (estilo == TEstilo::prudente && invierte(k) && !recortada && d.pedPrestamoA + d.pedPrestamoB == 0)
        ampliarPlantaConFondosPropios(d, k, m);
    if (pref.devuelve && !recortada && d.pedPrestamoA + d.pedPrestamoB == 0) devolverConElSobrante(d, k);
    acotarTodo(d);
    return d;
}
