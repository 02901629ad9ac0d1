#include "juego/BloqueoJuego.h"

#include "juego/Juego.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"
#include "store/NombresArchivos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

#include <chrono>
#include <thread>

TBloqueoJuego::TBloqueoJuego(const TJuego& juego, bool exclusivo, bool aunSinJuego) : carpeta_(juego.carpeta()) {
    TSistemaArchivos& sa = carpeta_.sa();
    using Tipo = TSistemaArchivos::Tipo;
    if (!aunSinJuego && sa.tipo(carpeta_.ruta(kArchivoBloqueo)) == Tipo::ninguno &&
        sa.tipo(carpeta_.ruta(kArchivoParametros)) == Tipo::ninguno && !hayTransaccionPendiente(carpeta_))
        return;
    if (!tomar(exclusivo)) return;
    // A constructor that throws has no destructor run, so the lock is
    // released here then.
    try {
        recuperarCambioInterrumpido(juego, exclusivo);
    } catch (...) {
        soltar();
        throw;
    }
}

bool TBloqueoJuego::tomar(bool exclusivo) {
    TSistemaArchivos& sa = carpeta_.sa();
    for (int intento = 0;; ++intento) {
        try {
            descriptor_ = sa.bloquear(carpeta_.ruta(kArchivoBloqueo), exclusivo);
        } catch (const ErrorArchivo&) {
            // A folder this program may not write (a read-only mount, a
            // colleague's folder) can still be read, and needs no lock for
            // that: nobody here can change it. Changes are refused in Spanish.
            if (sePuedeEscribir(carpeta_.ruta(), sa)) throw;
            if (exclusivo || hayTransaccionPendiente(carpeta_))
                throw ErrorJuego("La carpeta del juego no se puede modificar.");
            return false;
        }
        if (descriptor_ >= 0) return true;
        // A writer waits a fifth of a second for the readers of a page
        // (the portal's threads read for a millisecond at a time), a
        // reader up to two seconds for a run.
        if (intento >= 40) throw ErrorJuegoEnUso();
        std::this_thread::sleep_for(std::chrono::milliseconds(exclusivo ? 5 : 50));
    }
}

// An interrupted change is finished or undone before anything is read;
// that needs the folder to itself.
void TBloqueoJuego::recuperarCambioInterrumpido(const TJuego& juego, bool exclusivo) {
    if (!hayTransaccionPendiente(carpeta_)) return;
    if (!exclusivo) {
        soltar();
        descriptor_ = carpeta_.sa().bloquear(carpeta_.ruta(kArchivoBloqueo), true);
        if (descriptor_ < 0) throw ErrorJuegoEnUso();
    }
    const std::string mensaje = recuperarTransaccion(carpeta_);
    if (!mensaje.empty())
        juego.notificador().advertencia(cp1252("Atención"), utf8ACp1252(mensaje).value_or(mensaje));
}

void TBloqueoJuego::soltar() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (descriptor < 0) return;
    try {
        carpeta_.sa().cerrar(descriptor);
    } catch (...) {
        // Closing releases the lock whatever close reports.
    }
}
