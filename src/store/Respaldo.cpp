#include "store/NombresArchivos.h"
#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/DatosAcum_UD.h"
#include "store/Transaccion.h"

namespace {

using Tipo = TSistemaArchivos::Tipo;

bool hayRespaldo(const TCarpeta& c) {
    for (const auto& par : kRespaldos)
        if (c.sa().tipo(c.ruta(par[1])) != Tipo::ninguno) return true;
    return false;
}

}  // namespace

bool comprobarRespaldo(const TCarpeta& c) {
    if (!hayRespaldo(c)) return false;
    for (const auto& par : kRespaldos)
        if (c.sa().tipo(c.ruta(par[1])) != Tipo::archivo)
            throw ErrorArchivoDanado(c.ruta(par[1]), "falta este archivo del respaldo; no se deshizo nada");
    const auto ini = *leerRegistros<TRegDatosIniciales>(c.sa(), c.ruta(kRespaldoParametros));
    const auto acum = *leerRegistros<TRegDatosAcum>(c.sa(), c.ruta(kRespaldoResultados));
    const auto decisiones = *leerRegistros<TRegDecision>(c.sa(), c.ruta(kRespaldoDecisiones));
    if (ini.size() != 1) throw ErrorArchivoDanado(c.ruta(kRespaldoParametros), "debe tener un solo registro");
    const TRegDatosIniciales& d = ini.front();
    // The checkpoint is taken before a run of periods 1 to 10, over every
    // active company and its decisions.
    if (d.periodoActual < 1 || d.periodoActual > 10 ||
        d.cantEquipos != d.cantEquiposZona1 + d.cantEquiposZona2 + d.cantEquiposZona3)
        throw ErrorArchivoDanado(c.ruta(kRespaldoParametros), "sus contadores son imposibles");
    comprobarParametros(d, c.ruta(kRespaldoParametros));
    if (acum.size() < d.cantEquipos)
        throw ErrorArchivoDanado(c.ruta(kRespaldoResultados), "faltan empresas del respaldo");
    if (decisiones.size() < d.cantEquipos)
        throw ErrorArchivoDanado(c.ruta(kRespaldoDecisiones), "faltan decisiones del respaldo");
    comprobarEmpresas(acum, c.ruta(kRespaldoResultados));
    return true;
}

std::optional<int> restaurarRespaldo(const TCarpeta& c, const std::function<void(TTransaccion&, int)>& ademas,
                                     std::string* aviso) {
    if (!comprobarRespaldo(c)) return std::nullopt;
    const int periodo = leerRegistros<TRegDatosIniciales>(c.sa(), c.ruta(kRespaldoParametros))->front().periodoActual;
    TTransaccion transaccion(c, "La última vuelta atrás se interrumpió; el juego quedó como estaba antes de ella.",
                             "La última vuelta atrás se interrumpió y se completó: se volvió al período anterior.");
    // Renamed into place, the backups are used up: only the last run can be undone.
    for (const auto& [juego, respaldo] : kRespaldos) transaccion.renombrar(respaldo, juego);
    if (ademas) ademas(transaccion, periodo);
    const std::string sinConfirmar = transaccion.confirmar();
    if (aviso) *aviso = sinConfirmar;
    return periodo;
}
