#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/DatosAcum_UD.h"
#include "store/Transaccion.h"

namespace {

using Tipo = TSistemaArchivos::Tipo;

bool hayRespaldo() {
    for (const auto& par : kRespaldos)
        if (sistemaArchivos().tipo(rutaDatos(par[1])) != Tipo::ninguno) return true;
    return false;
}

}  // namespace

void guardarRespaldo() {
    for (const auto& [juego, respaldo] : kRespaldos)
        reemplazarArchivo(rutaDatos(respaldo), leerArchivoEntero(rutaDatos(juego)));
}

bool comprobarRespaldo() {
    if (!hayRespaldo()) return false;
    for (const auto& par : kRespaldos)
        if (sistemaArchivos().tipo(rutaDatos(par[1])) != Tipo::archivo)
            throw ErrorArchivoDanado(rutaDatos(par[1]), "falta este archivo del respaldo; no se deshizo nada");
    const auto ini = *leerRegistros<TRegDatosIniciales>(rutaDatos("AUXINI.DAT"));
    const auto acum = *leerRegistros<TRegDatosAcum>(rutaDatos("AUXACUM.DAT"));
    const auto decisiones = *leerRegistros<TRegDecision>(rutaDatos("AUXDECISIONES.DAT"));
    if (ini.size() != 1) throw ErrorArchivoDanado(rutaDatos("AUXINI.DAT"), "debe tener un solo registro");
    const TRegDatosIniciales& d = ini.front();
    // The checkpoint is taken before a run of periods 1 to 10, over every
    // active company and its decisions.
    if (d.periodoActual < 1 || d.periodoActual > 10 ||
        d.cantEquipos != d.cantEquiposZona1 + d.cantEquiposZona2 + d.cantEquiposZona3)
        throw ErrorArchivoDanado(rutaDatos("AUXINI.DAT"), "sus contadores son imposibles");
    if (acum.size() < d.cantEquipos)
        throw ErrorArchivoDanado(rutaDatos("AUXACUM.DAT"), "faltan empresas del respaldo");
    if (decisiones.size() < d.cantEquipos)
        throw ErrorArchivoDanado(rutaDatos("AUXDECISIONES.DAT"), "faltan decisiones del respaldo");
    return true;
}

bool restaurarRespaldo() {
    if (!comprobarRespaldo()) return false;
    TTransaccion transaccion("La última vuelta atrás se interrumpió; el juego quedó como estaba antes de ella.",
                             "La última vuelta atrás se interrumpió y se completó: se volvió al período anterior.");
    // Renamed into place, the backups are used up: only the last run can be undone.
    for (const auto& [juego, respaldo] : kRespaldos) transaccion.renombrar(respaldo, juego);
    transaccion.confirmar();
    return true;
}

void borrarRespaldo() {
    for (const auto& par : kRespaldos) sistemaArchivos().eliminar(rutaDatos(par[1]));
}
