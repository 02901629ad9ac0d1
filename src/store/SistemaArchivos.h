#pragma once
// The one way the core reaches the file system.
//
// Every file operation of the game files, the reports, the checkpoint, the
// history and the folder lock passes this interface, so that tests can swap
// in an implementation that fails or stops at any chosen operation. The real
// implementation never follows a symbolic link in the last component of a
// path: a link found where a game file, a temporary file or a folder of the
// game should be is an error, so a planted link cannot make the game write
// or delete outside its folder.
//
// Every failure raises ErrorArchivo naming the file and what failed.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TSistemaArchivos {
public:
    using ruta = std::filesystem::path;

    /// What lies at a path, without following a link.
    enum class Tipo { ninguno, archivo, carpeta, enlace, otro };

    enum class Apertura {
        leer,        ///< must exist
        actualizar,  ///< read and write; created empty when missing
        crear,       ///< created, or truncated to zero bytes
        crearNuevo,  ///< created; an existing entry of that name is an error
    };

    /// Kinds of operations, for counting and injecting faults.
    enum class Operacion { abrir, leer, escribir, sincronizar, cerrar, truncar, renombrar, eliminar, enlazar,
                           crearCarpeta, listar, bloquear, tipo };

    virtual ~TSistemaArchivos() = default;

    /// Opens a file and returns its handle.
    virtual int abrir(const ruta& archivo, Apertura modo) = 0;
    /// Reads up to n bytes at pos; returns how many were read (0 at the end).
    virtual std::size_t leer(int archivo, std::uint64_t pos, void* destino, std::size_t n) = 0;
    /// Writes all n bytes at pos.
    virtual void escribir(int archivo, std::uint64_t pos, const void* origen, std::size_t n) = 0;
    virtual std::uint64_t tamano(int archivo) = 0;
    virtual void truncar(int archivo, std::uint64_t tamano) = 0;
    /// Makes the file's data durable.
    virtual void sincronizar(int archivo) = 0;
    virtual void cerrar(int archivo) = 0;

    /// Renames a file or folder, replacing a file of the new name.
    virtual void renombrar(const ruta& de, const ruta& a) = 0;
    /// Removes a file, a link or an empty folder; a missing entry is not an error.
    virtual void eliminar(const ruta& entrada) = 0;
    /// A second name (hard link) for an existing file.
    virtual void enlazar(const ruta& existente, const ruta& nuevo) = 0;
    /// Creates a folder; an existing folder is fine, anything else in its place is an error.
    virtual void crearCarpeta(const ruta& carpeta) = 0;
    /// Makes the entries of a folder (creations, renames, removals) durable.
    virtual void sincronizarCarpeta(const ruta& carpeta) = 0;
    /// Makes durable every file written on the file system that holds the
    /// folder: one flush of the disk for many new files.
    virtual void sincronizarTodo(const ruta& carpeta) = 0;
    /// Names (UTF-8) of the entries of a folder, without "." and "..", in no order.
    virtual std::vector<std::string> listar(const ruta& carpeta) = 0;
    virtual Tipo tipo(const ruta& entrada) = 0;
    /// The entries of a folder with what each one is, as listar and tipo
    /// tell; the real file system answers from the listing alone.
    virtual std::vector<std::pair<std::string, Tipo>> listarConTipos(const ruta& carpeta);

    /// Takes an advisory lock on the file (created when missing): exclusive
    /// or shared. Returns the handle that holds it, to be closed with
    /// cerrar(), or -1 at once when another program holds a lock that
    /// conflicts.
    virtual int bloquear(const ruta& archivo, bool exclusivo) = 0;
};

/// The real file system: what a game uses unless it is handed another one
/// (tests hand it one that fails), and what such implementations wrap.
TSistemaArchivos& sistemaArchivosReal();

// Helpers built on any file system.

/// The whole content of a file, sized and read through one handle; an entry
/// that is not a plain file (a link, a folder) is an error.
std::string leerArchivoEntero(TSistemaArchivos& sa, const std::filesystem::path& archivo);

/// Writes bytes as a new file: the file is created (never through an
/// existing entry), written, synced (unless the caller syncs many files at
/// once later, with sincronizarTodo) and closed. Used for files that a
/// commit renames into place later.
void escribirArchivoNuevo(TSistemaArchivos& sa, const std::filesystem::path& archivo, const std::string& bytes, bool sincronizar = true);

/// Replaces a file atomically: writes a temporary file beside it, syncs it,
/// renames it over the file and syncs the folder. A failure or a crash
/// leaves either the old file or the new one, never a partial one; a failed
/// sync of the folder after the rename is ErrorArchivoSinConfirmar.
void reemplazarArchivo(TSistemaArchivos& sa, const std::filesystem::path& archivo, const std::string& bytes);

/// Replaces several files of one folder, each one whole: every file is first
/// written beside its place (its name + ".tmp"; a leftover or a planted link
/// there is removed, never written through), all reach the disk with one
/// flush, and only then take their places, and the folder is synced. A
/// failure removes what was staged and is raised: each file is then its old
/// self or its complete new self, never a part, and no link is followed.
/// antesDeColocar, when given, runs after the flush and before the first
/// rename: what it throws removes the staged files too, so nothing moves.
/// A failed sync of the folder after the renames is ErrorArchivoSinConfirmar.
void reemplazarArchivos(TSistemaArchivos& sa, const std::filesystem::path& carpeta,
                        const std::vector<std::pair<std::filesystem::path, std::string>>& archivos,
                        const std::function<void()>& antesDeColocar = {});

/// Appends lines (text ending in a line feed) at the end of a file that
/// only grows, with one write and one sync. A missing or empty file gets
/// encabezado first (the file is created and its folder synced); a last
/// line cut short by a crash is ended first, so no two lines run together.
/// A failure is raised after the file is cut back to its old end where it
/// can be: a failed append leaves no part of a line to be read as whole.
void agregarLineas(TSistemaArchivos& sa, const std::filesystem::path& archivo, const std::string& lineas,
                   const std::string& encabezado = {});

/// Creates a folder and its missing parents (an existing folder is fine).
void crearCarpetas(TSistemaArchivos& sa, const std::filesystem::path& carpeta);

/// Removes a folder and everything in it without following any link.
void eliminarArbol(TSistemaArchivos& sa, const std::filesystem::path& carpeta);

/// A path as UTF-8 text, and UTF-8 text as a path, alike on every system
/// (Windows' own narrow texts are in its ANSI code page). File names pass
/// between the core and the seam as UTF-8.
std::string textoDeRuta(const std::filesystem::path& ruta);
std::filesystem::path rutaDeTexto(std::string_view utf8);
