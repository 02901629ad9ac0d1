#pragma once
// Building small games directly in the stores, for the run tests.

#include "comun/CarpetaTemporal.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"

#include <string>
#include <vector>

/// Parameters of a neutral game: no interest, tax, maintenance or stock
/// cost, no order modifier, generous credit and overdraft limits.
inline TRegDatosIniciales parametrosNeutros(uint8_t empresas, uint8_t periodo = 1) {
    TRegDatosIniciales r{};
    r.cantEquipos = empresas;
    r.cantEquiposZona1 = empresas;
    r.zonaActiva = 1;
    r.periodoActual = periodo;
    r.planta = 100000;
    r.capital = 100000;
    r.maxCreditoA = 1000000;
    r.maxCreditoB = 1000000;
    r.nroZona = 1;
    r.tasaProduccion = 0.02;
    r.limiteGiroDescubierto = 1000000;
    asignar(r.nombreBancoA, "NACION");
    asignar(r.nombreBancoB, "PROVINCIA");
    r.indemXEmpleado = 300;
    r.penalidad = 500;
    return r;
}

/// A company with plant 100000, plenty of cash and stock, nothing owed.
inline TRegDatosAcum empresaNeutra(const std::string& nombre) {
    TRegDatosAcum r{};
    asignar(r.nombreEmpresa, nombre);
    r.zona = 1;
    r.planta = 100000;
    r.efectivo = 1000000;
    r.stockUnidades = 20000;
    r.stockValor = 1000000;
    return r;
}

/// Price 60, marketing 3000, nothing produced, spent or borrowed.
inline TRegDecision decisionNeutra() {
    TRegDecision d{};
    d.precio = 60;
    d.marketing = 3000;
    return d;
}

inline void guardarJuego(const TRegDatosIniciales& ini, const std::vector<TRegDatosAcum>& empresas,
                         const std::vector<TRegDecision>& decisiones) {
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(ini);
    TDatosAcum acum(carpetaDePrueba());
    for (std::size_t i = 0; i < empresas.size(); ++i) acum.guardarAcum(static_cast<uint8_t>(i + 1), empresas[i]);
    TDecision(carpetaDePrueba()).guardarDecisiones(decisiones);
}

inline TRegDatosAcum leerEmpresa(int i) {
    TRegDatosAcum r{};
    TDatosAcum(carpetaDePrueba()).leerAcum(static_cast<uint8_t>(i), r);
    return r;
}

inline TRegDatosIniciales leerParametros() {
    TRegDatosIniciales r{};
    TDatosjuego(carpetaDePrueba()).leerDatosIniciales(r);
    return r;
}

/// The text after a label in a report line, up to the end of the line.
inline std::string valorEnReporte(const std::string& reporte, const std::string& etiqueta) {
    auto pos = reporte.find(etiqueta);
    if (pos == std::string::npos) return "<sin " + etiqueta + ">";
    pos += etiqueta.size();
    auto fin = reporte.find_first_of("\r\n", pos);
    return reporte.substr(pos, fin - pos);
}
