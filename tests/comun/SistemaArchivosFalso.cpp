#include "comun/SistemaArchivosFalso.h"

#include "comun/CarpetaTemporal.h"

#include "store/ErrorArchivo.h"

static_assert(static_cast<std::size_t>(TSistemaArchivos::Operacion::tipo) + 1 == 13,
              "one counter per kind of operation");

TSistemaArchivosFalso::TSistemaArchivosFalso(bool sincronizarDeVerdad)
    : real_(sistemaArchivosReal()), sincronizarDeVerdad_(sincronizarDeVerdad) {
    usarSistemaArchivos(this);
}

TSistemaArchivosFalso::~TSistemaArchivosFalso() {
    usarSistemaArchivos(nullptr);
    cerrarAbiertos();
}

void TSistemaArchivosFalso::reiniciarCuentas() {
    total_ = 0;
    cuentas_.fill(0);
}

void TSistemaArchivosFalso::fallarEn(int n, std::optional<Operacion> tipo) { falla_ = {n, tipo, 0}; }
void TSistemaArchivosFalso::detenerEn(int n, std::optional<Operacion> tipo) { detencion_ = {n, tipo, 0}; }

void TSistemaArchivosFalso::reanudar() {
    cerrarAbiertos();
    falla_ = {};
    detencion_ = {};
    detenido_ = false;
    fallaOcurrida_ = false;
    afectada_.reset();
    reiniciarCuentas();
}

void TSistemaArchivosFalso::cerrarAbiertos() {
    for (const auto& [descriptor, ruta] : rutas_) {
        try {
            real_.cerrar(descriptor);
        } catch (const ErrorArchivo&) {
        }
    }
    rutas_.clear();
}

TSistemaArchivosFalso::Efecto TSistemaArchivosFalso::contar(Operacion tipo) {
    // A stopped process does nothing more, not even count.
    if (detenido_) throw DetencionSimulada{};
    ++total_;
    ++cuentas_[static_cast<std::size_t>(tipo)];
    auto alcanza = [tipo](Objetivo& o) {
        if (o.n == 0 || (o.tipo && *o.tipo != tipo)) return false;
        return ++o.vistas == o.n;
    };
    if (alcanza(detencion_)) {
        detenido_ = true;
        afectada_ = tipo;
        return Efecto::detener;
    }
    if (alcanza(falla_)) {
        falla_ = {};
        fallaOcurrida_ = true;
        afectada_ = tipo;
        return Efecto::fallar;
    }
    return Efecto::ninguno;
}

void TSistemaArchivosFalso::fallar(const ruta& archivo) { throw ErrorArchivo(archivo, "falla simulada"); }

TSistemaArchivosFalso::ruta TSistemaArchivosFalso::rutaDe(int archivo) const {
    const auto it = rutas_.find(archivo);
    return it == rutas_.end() ? ruta("?") : it->second;
}

// Counts the operation, then fails or stops it before it touches the disk.
void TSistemaArchivosFalso::antesDe(Operacion tipo, const ruta& archivo) {
    switch (contar(tipo)) {
    case Efecto::detener: throw DetencionSimulada{};
    case Efecto::fallar: fallar(archivo);
    case Efecto::ninguno: break;
    }
}

void TSistemaArchivosFalso::cambiar(const ruta& archivo) {
    if (!soloLectura_) return;
    const auto relativa = archivo.lexically_relative(*soloLectura_);
    if (!relativa.empty() && *relativa.begin() != "..") throw ErrorArchivo(archivo, "sistema de archivos de solo lectura");
}

int TSistemaArchivosFalso::abrir(const ruta& archivo, Apertura modo) {
    antesDe(Operacion::abrir, archivo);
    if (modo != Apertura::leer) cambiar(archivo);
    const int descriptor = real_.abrir(archivo, modo);
    rutas_[descriptor] = archivo;
    return descriptor;
}

std::size_t TSistemaArchivosFalso::leer(int archivo, std::uint64_t pos, void* destino, std::size_t n) {
    antesDe(Operacion::leer, rutaDe(archivo));
    return real_.leer(archivo, pos, destino, n);
}

void TSistemaArchivosFalso::escribir(int archivo, std::uint64_t pos, const void* origen, std::size_t n) {
    const Efecto efecto = contar(Operacion::escribir);
    if (efecto == Efecto::detener) {
        // A torn write: the crash lands in the middle of it.
        if (n / 2 > 0) real_.escribir(archivo, pos, origen, n / 2);
        throw DetencionSimulada{};
    }
    if (efecto == Efecto::fallar) fallar(rutaDe(archivo));
    real_.escribir(archivo, pos, origen, n);
}

std::uint64_t TSistemaArchivosFalso::tamano(int archivo) {
    antesDe(Operacion::leer, rutaDe(archivo));
    return real_.tamano(archivo);
}

void TSistemaArchivosFalso::truncar(int archivo, std::uint64_t tamano) {
    antesDe(Operacion::truncar, rutaDe(archivo));
    real_.truncar(archivo, tamano);
}

void TSistemaArchivosFalso::sincronizar(int archivo) {
    antesDe(Operacion::sincronizar, rutaDe(archivo));
    if (sincronizarDeVerdad_) real_.sincronizar(archivo);
}

void TSistemaArchivosFalso::cerrar(int archivo) {
    const Efecto efecto = contar(Operacion::cerrar);
    if (efecto == Efecto::detener) throw DetencionSimulada{};
    const ruta archivoCerrado = rutaDe(archivo);
    rutas_.erase(archivo);
    // close(2) releases the handle even when it reports an error.
    real_.cerrar(archivo);
    if (efecto == Efecto::fallar) fallar(archivoCerrado);
}

void TSistemaArchivosFalso::renombrar(const ruta& de, const ruta& a) {
    antesDe(Operacion::renombrar, a);
    cambiar(a);
    real_.renombrar(de, a);
}

void TSistemaArchivosFalso::eliminar(const ruta& entrada) {
    antesDe(Operacion::eliminar, entrada);
    cambiar(entrada);
    real_.eliminar(entrada);
}

void TSistemaArchivosFalso::enlazar(const ruta& existente, const ruta& nuevo) {
    antesDe(Operacion::enlazar, nuevo);
    cambiar(nuevo);
    real_.enlazar(existente, nuevo);
}

void TSistemaArchivosFalso::crearCarpeta(const ruta& carpeta) {
    antesDe(Operacion::crearCarpeta, carpeta);
    cambiar(carpeta);
    real_.crearCarpeta(carpeta);
}

void TSistemaArchivosFalso::sincronizarCarpeta(const ruta& carpeta) {
    antesDe(Operacion::sincronizar, carpeta);
    if (sincronizarDeVerdad_) real_.sincronizarCarpeta(carpeta);
}

void TSistemaArchivosFalso::sincronizarTodo(const ruta& carpeta) {
    antesDe(Operacion::sincronizar, carpeta);
    if (sincronizarDeVerdad_) real_.sincronizarTodo(carpeta);
}

std::vector<std::string> TSistemaArchivosFalso::listar(const ruta& carpeta) {
    antesDe(Operacion::listar, carpeta);
    return real_.listar(carpeta);
}

TSistemaArchivos::Tipo TSistemaArchivosFalso::tipo(const ruta& entrada) {
    antesDe(Operacion::tipo, entrada);
    return real_.tipo(entrada);
}

int TSistemaArchivosFalso::bloquear(const ruta& archivo, bool exclusivo) {
    antesDe(Operacion::bloquear, archivo);
    cambiar(archivo);
    const int descriptor = real_.bloquear(archivo, exclusivo);
    if (descriptor >= 0) rutas_[descriptor] = archivo;
    return descriptor;
}
