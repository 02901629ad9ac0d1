#pragma once
// A file system for tests: wraps the real one, counts every operation and
// can make one chosen operation fail, or "stop the process" at it.
//
// A stop makes that operation and every later one throw DetencionSimulada,
// which no handler for std::exception catches, so no cleanup code reaches
// the disk afterwards: the folder stays exactly as a crash at that point
// would leave it. reanudar() is the restart: the stop is lifted and the
// handles the "dead" process left open are closed, as the kernel would.

#include "store/SistemaArchivos.h"

#include <array>
#include <cstddef>
#include <map>
#include <optional>

/// Thrown by every operation once the simulated process has stopped.
/// Deliberately not a std::exception.
struct DetencionSimulada {};

class TSistemaArchivosFalso final : public TSistemaArchivos {
public:
    /// The test's games use it while it lives (usarSistemaArchivos). Syncs are counted but not
    /// sent to the disk unless sincronizarDeVerdad: the crash model lives at
    /// this seam, and real fsyncs would only slow the tests down.
    explicit TSistemaArchivosFalso(bool sincronizarDeVerdad = false);
    /// Gives the tests' games the real file system back and closes what is still open.
    ~TSistemaArchivosFalso() override;
    TSistemaArchivosFalso(const TSistemaArchivosFalso&) = delete;
    TSistemaArchivosFalso& operator=(const TSistemaArchivosFalso&) = delete;

    /// Operations counted so far, in total or of one kind. tamano() counts
    /// as a read and sincronizarCarpeta() as a sync.
    int total() const { return total_; }
    int cuenta(Operacion tipo) const { return cuentas_[static_cast<std::size_t>(tipo)]; }
    void reiniciarCuentas();

    /// The n-th operation from now on (counted from 1), of any kind or of
    /// one kind, throws ErrorArchivo without doing anything (a failing close
    /// still releases the handle, as close(2) does).
    void fallarEn(int n, std::optional<Operacion> tipo = std::nullopt);
    /// From the n-th operation on (counted from 1), every operation throws
    /// DetencionSimulada. A write it stops is torn: only its first half
    /// reaches the file, as a crash in the middle of a write may leave it.
    void detenerEn(int n, std::optional<Operacion> tipo = std::nullopt);

    /// From now on nothing inside carpeta may be created, changed or removed,
    /// as on a read-only mount (where even root may not write).
    void soloLectura(const ruta& carpeta) { soloLectura_ = carpeta; }

    bool fallaOcurrida() const { return fallaOcurrida_; }
    bool detenido() const { return detenido_; }
    /// The kind of the operation that failed or stopped.
    std::optional<Operacion> operacionAfectada() const { return afectada_; }
    /// Handles opened through this file system and not closed yet.
    std::size_t abiertos() const { return rutas_.size(); }

    /// The restart: lifts the stop and any pending fault, closes the handles
    /// left open, and counts from zero again.
    void reanudar();

    int abrir(const ruta& archivo, Apertura modo) override;
    std::size_t leer(int archivo, std::uint64_t pos, void* destino, std::size_t n) override;
    void escribir(int archivo, std::uint64_t pos, const void* origen, std::size_t n) override;
    std::uint64_t tamano(int archivo) override;
    void truncar(int archivo, std::uint64_t tamano) override;
    void sincronizar(int archivo) override;
    void cerrar(int archivo) override;
    void renombrar(const ruta& de, const ruta& a) override;
    void eliminar(const ruta& entrada) override;
    void enlazar(const ruta& existente, const ruta& nuevo) override;
    void crearCarpeta(const ruta& carpeta) override;
    void sincronizarCarpeta(const ruta& carpeta) override;
    void sincronizarTodo(const ruta& carpeta) override;
    std::vector<std::string> listar(const ruta& carpeta) override;
    Tipo tipo(const ruta& entrada) override;
    int bloquear(const ruta& archivo, bool exclusivo) override;

private:
    enum class Efecto { ninguno, fallar, detener };
    /// Counts one operation and says what happens to it.
    Efecto contar(Operacion tipo);
    void antesDe(Operacion tipo, const ruta& archivo);
    /// A change inside the read-only folder fails.
    void cambiar(const ruta& archivo);
    [[noreturn]] void fallar(const ruta& archivo);
    ruta rutaDe(int archivo) const;
    void cerrarAbiertos();

    TSistemaArchivos& real_;
    bool sincronizarDeVerdad_;
    int total_ = 0;
    std::array<int, 13> cuentas_{};
    struct Objetivo {
        int n = 0;  // 0: none
        std::optional<Operacion> tipo;
        int vistas = 0;
    };
    Objetivo falla_, detencion_;
    bool fallaOcurrida_ = false;
    bool detenido_ = false;
    std::optional<Operacion> afectada_;
    std::map<int, ruta> rutas_;
    std::optional<ruta> soloLectura_;
};
