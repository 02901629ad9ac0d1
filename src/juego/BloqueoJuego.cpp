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

namespace {

using Reloj = std::chrono::steady_clock;

// How long a writer waits for the readers in progress, for another change,
// and a reader for a change; how often each looks again.
constexpr auto kEsperaPorLectores = std::chrono::milliseconds(500);
constexpr auto kEsperaPorCambio = std::chrono::milliseconds(200);
constexpr auto kEsperaDeLector = std::chrono::seconds(2);
constexpr auto kPausa = std::chrono::milliseconds(5);

void cerrarSinFallar(TSistemaArchivos& sa, int descriptor) {
    try {
        sa.cerrar(descriptor);
    } catch (...) {
        // Closing releases the lock whatever close reports.
    }
}

// The turn file's handle, released on every way out.
struct TTurno {
    TSistemaArchivos& sa;
    int descriptor = -1;
    ~TTurno() {
        if (descriptor >= 0) cerrarSinFallar(sa, descriptor);
    }
};

}  // namespace

bool TBloqueoJuego::tomar(bool exclusivo) {
    try {
        if (exclusivo) tomarEscritura();
        else tomarLectura();
        return true;
    } catch (const ErrorArchivo&) {
        // A folder this program may not write (a read-only mount, a
        // colleague's folder) can still be read, and needs no lock for
        // that: nobody here can change it. Changes are refused in Spanish.
        if (sePuedeEscribir(carpeta_.ruta(), carpeta_.sa())) throw;
        if (exclusivo || hayTransaccionPendiente(carpeta_))
            throw ErrorJuego("La carpeta del juego no se puede modificar.");
        return false;
    }
}

// The turn is held only for the instant of taking the lock: a writer that
// holds it keeps new readers out.
void TBloqueoJuego::tomarLectura() {
    TSistemaArchivos& sa = carpeta_.sa();
    const auto limite = Reloj::now() + kEsperaDeLector;
    for (;;) {
        {
            TTurno turno{sa, sa.bloquear(carpeta_.ruta(kArchivoTurno), false)};
            if (turno.descriptor >= 0) {
                descriptor_ = sa.bloquear(carpeta_.ruta(kArchivoBloqueo), false);
                if (descriptor_ >= 0) return;
            }
        }
        if (Reloj::now() >= limite) throw ErrorJuegoEnUso();
        std::this_thread::sleep_for(kPausa);
    }
}

// Holds the turn while it waits, and lets go of it once it has the lock, so
// that the next change can queue up behind it.
void TBloqueoJuego::tomarEscritura() {
    TSistemaArchivos& sa = carpeta_.sa();
    const auto inicio = Reloj::now();
    TTurno turno{sa};
    // Another change waiting holds the turn (a reader only for an instant).
    while ((turno.descriptor = sa.bloquear(carpeta_.ruta(kArchivoTurno), true)) < 0) {
        if (Reloj::now() - inicio >= kEsperaPorCambio) throw ErrorJuegoEnUso();
        std::this_thread::sleep_for(kPausa);
    }
    const auto conTurno = Reloj::now();
    for (;;) {
        descriptor_ = sa.bloquear(carpeta_.ruta(kArchivoBloqueo), true);
        if (descriptor_ >= 0) return;
        // Whoever holds the lock lets a reader in only if it is reading.
        const int lector = sa.bloquear(carpeta_.ruta(kArchivoBloqueo), false);
        if (lector >= 0) cerrarSinFallar(sa, lector);
        const auto espera = Reloj::now() - (lector >= 0 ? inicio : conTurno);
        if (espera >= (lector >= 0 ? kEsperaPorLectores : kEsperaPorCambio)) throw ErrorJuegoEnUso();
        std::this_thread::sleep_for(kPausa);
    }
}

// An interrupted change is finished or undone before anything is read;
// that needs the folder to itself.
void TBloqueoJuego::recuperarCambioInterrumpido(const TJuego& juego, bool exclusivo) {
    if (!hayTransaccionPendiente(carpeta_)) return;
    if (!exclusivo) {
        // Readers may still hold the lock with this one: wait for them as a writer.
        soltar();
        tomarEscritura();
    }
    const std::string mensaje = recuperarTransaccion(carpeta_);
    if (!mensaje.empty())
        juego.notificador().advertencia(cp1252("Atención"), utf8ACp1252(mensaje).value_or(mensaje));
}

void TBloqueoJuego::soltar() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (descriptor >= 0) cerrarSinFallar(carpeta_.sa(), descriptor);
}
