#pragma once
// Game files written straight, as a test sets a folder up: no program writes
// them this way (a new game and a run are transactions), so these live with
// the tests.

#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/SistemaArchivos.h"

/// Stores a new game's parameters and deletes any checkpoint, so that a step
/// back cannot bring back another game.
inline void guardarJuegoNuevo(const TCarpeta& carpeta, const TRegDatosIniciales& datos) {
    TDatosjuego(carpeta).guardarDatosIniciales(datos);
    for (const auto& par : kRespaldos) carpeta.sa().eliminar(carpeta.ruta(par[1]));
}

/// Copies the three game files to their backups, as a run's checkpoint.
inline void guardarRespaldo(const TCarpeta& c) {
    for (const auto& [juego, respaldo] : kRespaldos)
        reemplazarArchivo(c.sa(), c.ruta(respaldo), leerArchivoEntero(c.sa(), c.ruta(juego)));
}
