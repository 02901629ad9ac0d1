#pragma once
// The fixed-layout records of the game files, stored raw, little-endian.
// Every field sits at its natural alignment, so the plain struct layout is the
// file layout; the static_asserts below pin every offset and size.

#include "store/Plataforma.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// A length-prefixed text of at most 50 Windows-1252 bytes (51 bytes in all).
struct cadena {
    uint8_t longitud;
    char texto[50];
};
static_assert(sizeof(cadena) == 51 && alignof(cadena) == 1);

/// The text of a cadena (a length above 50 counts as 50).
std::string aTexto(const cadena& c);
/// Stores a text in a cadena: its first 50 bytes, the rest of the field zero.
void asignar(cadena& c, std::string_view texto);

/// "DATOS INICIALES.DAT": the game parameters and running counters.
struct TRegDatosIniciales {
    uint8_t cantEquipos;
    uint8_t reservado;
    uint8_t cantEquiposZona1;
    uint8_t cantEquiposZona2;
    uint8_t cantEquiposZona3;
    uint8_t zonaActiva;
    uint8_t penalidadStock;
    uint8_t periodoActual;
    uint8_t multipOrdenesMas;
    uint8_t multipOrdenesMenos;
    uint8_t relleno1[2];
    int32_t planta;
    int32_t maxCreditoA;
    int32_t maxCreditoB;
    int32_t capital;
    int32_t columnaPrecios;
    int32_t intervaloMarketing;
    int32_t nroInvYDes;
    int32_t nroZona;
    uint8_t relleno2[4];
    double modifOrdenes;
    double interesA;
    double interesB;
    double tasaImpuestos;
    double tasaMantenimiento;
    double tasaGiroDescubierto;
    double tasaProduccion;
    double limiteGiroDescubierto;
    cadena nombreBancoA;
    cadena nombreBancoB;
    uint8_t relleno3[2];
    int32_t indemXEmpleado;
    int32_t penalidad;
};
static_assert(sizeof(TRegDatosIniciales) == 224);
static_assert(offsetof(TRegDatosIniciales, cantEquiposZona1) == 2);
static_assert(offsetof(TRegDatosIniciales, zonaActiva) == 5);
static_assert(offsetof(TRegDatosIniciales, periodoActual) == 7);
static_assert(offsetof(TRegDatosIniciales, multipOrdenesMenos) == 9);
static_assert(offsetof(TRegDatosIniciales, planta) == 12);
static_assert(offsetof(TRegDatosIniciales, columnaPrecios) == 28);
static_assert(offsetof(TRegDatosIniciales, nroZona) == 40);
static_assert(offsetof(TRegDatosIniciales, modifOrdenes) == 48);
static_assert(offsetof(TRegDatosIniciales, tasaGiroDescubierto) == 88);
static_assert(offsetof(TRegDatosIniciales, limiteGiroDescubierto) == 104);
static_assert(offsetof(TRegDatosIniciales, nombreBancoA) == 112);
static_assert(offsetof(TRegDatosIniciales, nombreBancoB) == 163);
static_assert(offsetof(TRegDatosIniciales, indemXEmpleado) == 216);
static_assert(offsetof(TRegDatosIniciales, penalidad) == 220);

/// "NOMBRES.DAT": one team name per record.
struct TRegNombre {
    cadena nombreEquipo;
};
static_assert(sizeof(TRegNombre) == 51);

/// "DATOS ACUMULADOS.DAT": a company's state after the last period run.
struct TRegDatosAcum {
    int32_t intereses;
    int32_t stockValor;
    int32_t giroDescubierto;
    cadena nombreEmpresa;
    uint8_t zona;
    int32_t prestamoA;
    int32_t prestamoB;
    int32_t planta;
    int32_t efectivo;
    int32_t utilidadAcumulada;
    int32_t stockUnidades;
    int32_t invYDesAcumulada;
    int32_t capacitacionAcumulada;
    int32_t empleados;
    uint8_t quebrada;
    uint8_t marcaQuiebra;
    uint8_t relleno[2];
};
static_assert(sizeof(TRegDatosAcum) == 104);
static_assert(offsetof(TRegDatosAcum, nombreEmpresa) == 12);
static_assert(offsetof(TRegDatosAcum, zona) == 63);
static_assert(offsetof(TRegDatosAcum, prestamoA) == 64);
static_assert(offsetof(TRegDatosAcum, efectivo) == 76);
static_assert(offsetof(TRegDatosAcum, empleados) == 96);
static_assert(offsetof(TRegDatosAcum, quebrada) == 100);
static_assert(offsetof(TRegDatosAcum, marcaQuiebra) == 101);

/// "DECISIONES.DAT": one company's decisions for the period being entered.
struct TRegDecision {
    int32_t precio;
    int32_t nivelProduccion;
    int32_t capacitacion;
    int32_t marketing;
    int32_t invYDes;
    int32_t invPlanta;
    int32_t pedPrestamoA;
    int32_t pedPrestamoB;
    int32_t devPrestamoA;
    int32_t devPrestamoB;
};
static_assert(sizeof(TRegDecision) == 40);
static_assert(offsetof(TRegDecision, marketing) == 12);
static_assert(offsetof(TRegDecision, devPrestamoB) == 36);

inline bool operator==(const cadena& a, const cadena& b) { return aTexto(a) == aTexto(b); }

/// Amounts of a results record beyond this, either way, are damage: ten
/// periods of the largest decisions move a company's money and counts by
/// well under a tenth of it.
inline constexpr int64_t kMaximoVerosimil = 1'000'000'000;

/// Why a results record cannot be a company's, or empty when it can: a name
/// of 1 to 50 printable Windows-1252 characters, zone 1 to 3, flags 0 or 1,
/// and every amount within kMaximoVerosimil either way.
std::string fallaDeEmpresa(const TRegDatosAcum& r);
