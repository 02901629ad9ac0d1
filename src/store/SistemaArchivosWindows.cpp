// The real file system on Windows, with the POSIX one's guarantees: a link
// in the last component of a path is never followed, data reach the disk
// before a rename puts them in place, and the folder lock refuses a second
// writer at once.
#ifdef _WIN32

#include "store/SistemaArchivos.h"

#include "store/ErrorArchivo.h"

#include <algorithm>
#include <mutex>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

constexpr DWORD kEnlaceEncontrado = 681;  // ERROR_STOPPED_ON_SYMLINK, missing from MinGW's headers

std::string conCausa(const std::string& operacion, DWORD error) {
    if (error == ERROR_CANT_ACCESS_FILE || error == ERROR_CANT_RESOLVE_FILENAME || error == kEnlaceEncontrado)
        return operacion + " (hay un enlace simbólico en su lugar)";
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return operacion + " (el disco está lleno)";
    if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) return operacion + " (no hay permiso)";
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return operacion + " (otro programa lo tiene abierto)";
    return operacion;
}

[[noreturn]] void fallar(const std::filesystem::path& ruta, const std::string& operacion) {
    throw ErrorArchivo(ruta, conCausa(operacion, ::GetLastError()));
}

// Symbolic links and junctions; other reparse points (files kept in the
// cloud, deduplicated files) are plain files and folders.
bool esEnlace(DWORD atributos, DWORD etiqueta) {
    return (atributos & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(etiqueta);
}

struct Atributos {
    DWORD atributos = 0;
    DWORD etiqueta = 0;
};

// What a handle points at, without following it.
bool atributosDe(HANDLE h, Atributos& datos) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &info, sizeof info)) return false;
    datos.atributos = info.FileAttributes;
    datos.etiqueta = info.ReparseTag;
    return true;
}

constexpr DWORD kCompartir = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class TSistemaReal final : public TSistemaArchivos {
public:
    int abrir(const ruta& archivo, Apertura modo) override {
        DWORD acceso = GENERIC_READ | GENERIC_WRITE;
        DWORD disposicion = OPEN_ALWAYS;
        const char* falla = "no se pudo crear el archivo";
        switch (modo) {
        case Apertura::leer:
            acceso = GENERIC_READ;
            disposicion = OPEN_EXISTING;
            falla = "no se pudo abrir el archivo para leer";
            break;
        case Apertura::actualizar: falla = "no se pudo abrir el archivo para escribir"; break;
        case Apertura::crear: break;
        case Apertura::crearNuevo: disposicion = CREATE_NEW; break;
        }
        // Opened as the link itself when there is one, and then refused: a
        // planted link is never read or written through.
        HANDLE h = ::CreateFileW(archivo.c_str(), acceso, kCompartir, nullptr, disposicion,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (modo == Apertura::leer && tipo(archivo) == Tipo::carpeta)
                throw ErrorArchivo(archivo, "no es un archivo común");
            throw ErrorArchivo(archivo, conCausa(falla, error));
        }
        Atributos datos;
        if (!atributosDe(h, datos)) {
            ::CloseHandle(h);
            fallar(archivo, falla);
        }
        if (esEnlace(datos.atributos, datos.etiqueta)) {
            ::CloseHandle(h);
            throw ErrorArchivo(archivo, conCausa(falla, kEnlaceEncontrado));
        }
        if (datos.atributos & FILE_ATTRIBUTE_DIRECTORY) {
            ::CloseHandle(h);
            throw ErrorArchivo(archivo, "no es un archivo común");
        }
        if (datos.atributos & FILE_ATTRIBUTE_REPARSE_POINT) {
            // Not a link but a file kept elsewhere (the cloud): opened again
            // through its file system filter, which brings its bytes.
            ::CloseHandle(h);
            h = ::CreateFileW(archivo.c_str(), acceso, kCompartir, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
            if (h == INVALID_HANDLE_VALUE) fallar(archivo, falla);
        }
        if (modo == Apertura::crear) {
            // CREATE_ALWAYS would act on the entry before it could be checked.
            FILE_END_OF_FILE_INFO fin{};
            if (!::SetFileInformationByHandle(h, FileEndOfFileInfo, &fin, sizeof fin)) {
                const DWORD error = ::GetLastError();
                ::CloseHandle(h);
                throw ErrorArchivo(archivo, conCausa(falla, error));
            }
        }
        return guardar(h, archivo);
    }

    std::size_t leer(int archivo, std::uint64_t pos, void* destino, std::size_t n) override {
        const HANDLE h = handle(archivo);
        auto* bytes = static_cast<char*>(destino);
        std::size_t leidos = 0;
        while (leidos < n) {
            OVERLAPPED en = posicion(pos + leidos);
            DWORD r = 0;
            const DWORD pedido = static_cast<DWORD>(std::min<std::size_t>(n - leidos, 1u << 30));
            if (!::ReadFile(h, bytes + leidos, pedido, &r, &en)) {
                if (::GetLastError() == ERROR_HANDLE_EOF) break;
                throw ErrorArchivo(rutaDe(archivo), conCausa("no se pudo leer el archivo", ::GetLastError()));
            }
            if (r == 0) break;
            leidos += r;
        }
        return leidos;
    }

    void escribir(int archivo, std::uint64_t pos, const void* origen, std::size_t n) override {
        const HANDLE h = handle(archivo);
        const auto* bytes = static_cast<const char*>(origen);
        std::size_t escritos = 0;
        while (escritos < n) {
            OVERLAPPED en = posicion(pos + escritos);
            DWORD r = 0;
            const DWORD pedido = static_cast<DWORD>(std::min<std::size_t>(n - escritos, 1u << 30));
            if (!::WriteFile(h, bytes + escritos, pedido, &r, &en) || r == 0)
                throw ErrorArchivo(rutaDe(archivo), conCausa("no se pudo escribir en el archivo", ::GetLastError()));
            escritos += r;
        }
    }

    std::uint64_t tamano(int archivo) override {
        LARGE_INTEGER t{};
        if (!::GetFileSizeEx(handle(archivo), &t))
            throw ErrorArchivo(rutaDe(archivo), "no se pudo leer el tamaño del archivo");
        return static_cast<std::uint64_t>(t.QuadPart);
    }

    void truncar(int archivo, std::uint64_t tamano) override {
        FILE_END_OF_FILE_INFO fin{};
        fin.EndOfFile.QuadPart = static_cast<LONGLONG>(tamano);
        if (!::SetFileInformationByHandle(handle(archivo), FileEndOfFileInfo, &fin, sizeof fin))
            throw ErrorArchivo(rutaDe(archivo), conCausa("no se pudo acortar el archivo", ::GetLastError()));
    }

    void sincronizar(int archivo) override {
        if (!::FlushFileBuffers(handle(archivo)))
            throw ErrorArchivo(rutaDe(archivo),
                               conCausa("no se pudo asentar el archivo en el disco", ::GetLastError()));
    }

    void cerrar(int archivo) override {
        Abierto abierto;
        {
            std::lock_guard<std::mutex> cerrojo(mutex_);
            if (archivo < 0 || static_cast<std::size_t>(archivo) >= abiertos_.size() || !abiertos_[archivo].h)
                throw ErrorArchivo("?", "no se pudo cerrar el archivo");
            abierto = std::move(abiertos_[archivo]);
            abiertos_[archivo] = {};
        }
        if (!::CloseHandle(abierto.h)) throw ErrorArchivo(abierto.ruta, "no se pudo cerrar el archivo");
    }

    void renombrar(const ruta& de, const ruta& a) override {
        // Write-through: the rename is on the disk when the call returns.
        if (!::MoveFileExW(de.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            fallar(a, "no se pudo poner el archivo en su lugar");
    }

    void eliminar(const ruta& entrada) override {
        const Tipo t = tipo(entrada);
        if (t == Tipo::ninguno) return;
        // A link to a folder is removed as a folder entry; its target is untouched.
        const DWORD atributos = ::GetFileAttributesW(entrada.c_str());
        const bool comoCarpeta = atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY);
        const BOOL bien = comoCarpeta ? ::RemoveDirectoryW(entrada.c_str()) : ::DeleteFileW(entrada.c_str());
        if (bien) return;
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
        throw ErrorArchivo(entrada, conCausa("no se pudo borrar", error));
    }

    void enlazar(const ruta& existente, const ruta& nuevo) override {
        if (tipo(existente) != Tipo::archivo) throw ErrorArchivo(existente, "no es un archivo común");
        if (!::CreateHardLinkW(nuevo.c_str(), existente.c_str(), nullptr))
            fallar(nuevo, "no se pudo enlazar el archivo");
    }

    void crearCarpeta(const ruta& carpeta) override {
        if (::CreateDirectoryW(carpeta.c_str(), nullptr)) return;
        const DWORD error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS && tipo(carpeta) == Tipo::carpeta) return;
        throw ErrorArchivo(carpeta, conCausa("no se pudo crear la carpeta", error));
    }

    void sincronizarCarpeta(const ruta& carpeta) override {
        // Renames are written through and NTFS journals its folders; a folder
        // is flushed where the file system allows it, and otherwise only
        // checked to be a folder and not a link.
        HANDLE h = abrirCarpeta(carpeta, "no se pudo abrir la carpeta");
        ::FlushFileBuffers(h);
        ::CloseHandle(h);
    }

    void sincronizarTodo(const ruta& carpeta) override {
        // Windows flushes a whole volume for administrators only: every file
        // under the folder is flushed instead.
        ::CloseHandle(abrirCarpeta(carpeta, "no se pudo abrir la carpeta"));
        for (const std::string& nombre : listar(carpeta)) {
            const ruta entrada = carpeta / std::filesystem::path(std::u8string(nombre.begin(), nombre.end()));
            const Tipo t = tipo(entrada);
            if (t == Tipo::carpeta) {
                sincronizarTodo(entrada);
            } else if (t == Tipo::archivo) {
                HANDLE h = ::CreateFileW(entrada.c_str(), GENERIC_READ | GENERIC_WRITE, kCompartir, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
                if (h == INVALID_HANDLE_VALUE) fallar(entrada, "no se pudo asentar el disco");
                const bool bien = ::FlushFileBuffers(h);
                const DWORD error = ::GetLastError();
                ::CloseHandle(h);
                if (!bien) throw ErrorArchivo(entrada, conCausa("no se pudo asentar el disco", error));
            }
        }
    }

    std::vector<std::string> listar(const ruta& carpeta) override {
        if (tipo(carpeta) != Tipo::carpeta) {
            ::SetLastError(ERROR_PATH_NOT_FOUND);
            fallar(carpeta, "no se pudo leer la carpeta");
        }
        WIN32_FIND_DATAW datos{};
        HANDLE busqueda = ::FindFirstFileW((carpeta / L"*").c_str(), &datos);
        std::vector<std::string> nombres;
        if (busqueda == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_NOT_FOUND) return nombres;
            fallar(carpeta, "no se pudo leer la carpeta");
        }
        do {
            const std::wstring nombre = datos.cFileName;
            if (nombre == L"." || nombre == L"..") continue;
            const std::u8string utf8 = std::filesystem::path(nombre).u8string();
            nombres.emplace_back(utf8.begin(), utf8.end());
        } while (::FindNextFileW(busqueda, &datos));
        const DWORD error = ::GetLastError();
        ::FindClose(busqueda);
        if (error != ERROR_NO_MORE_FILES) throw ErrorArchivo(carpeta, conCausa("no se pudo leer la carpeta", error));
        return nombres;
    }

    Tipo tipo(const ruta& entrada) override {
        const DWORD atributos = ::GetFileAttributesW(entrada.c_str());
        if (atributos == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
                return Tipo::ninguno;
            throw ErrorArchivo(entrada, conCausa("no se pudo consultar", error));
        }
        if (atributos & FILE_ATTRIBUTE_REPARSE_POINT) {
            WIN32_FIND_DATAW datos{};
            HANDLE busqueda = ::FindFirstFileW(entrada.c_str(), &datos);
            if (busqueda == INVALID_HANDLE_VALUE) fallar(entrada, "no se pudo consultar");
            ::FindClose(busqueda);
            if (esEnlace(datos.dwFileAttributes, datos.dwReserved0)) return Tipo::enlace;
        }
        if (atributos & FILE_ATTRIBUTE_DIRECTORY) return Tipo::carpeta;
        if (atributos & FILE_ATTRIBUTE_DEVICE) return Tipo::otro;
        return Tipo::archivo;
    }

    int bloquear(const ruta& archivo, bool exclusivo) override {
        const int d = abrir(archivo, Apertura::actualizar);
        OVERLAPPED en = posicion(0);
        const DWORD banderas = LOCKFILE_FAIL_IMMEDIATELY | (exclusivo ? LOCKFILE_EXCLUSIVE_LOCK : 0);
        // The same byte for every program: readers share it, a writer takes it alone.
        if (::LockFileEx(handle(d), banderas, 0, 1, 0, &en)) return d;
        const DWORD error = ::GetLastError();
        cerrar(d);
        if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return -1;
        throw ErrorArchivo(archivo, "no se pudo bloquear el juego");
    }

private:
    struct Abierto {
        HANDLE h = nullptr;
        std::filesystem::path ruta;
    };

    static OVERLAPPED posicion(std::uint64_t pos) {
        OVERLAPPED en{};
        en.Offset = static_cast<DWORD>(pos & 0xFFFFFFFFu);
        en.OffsetHigh = static_cast<DWORD>(pos >> 32);
        return en;
    }

    HANDLE abrirCarpeta(const ruta& carpeta, const char* falla) {
        HANDLE h = ::CreateFileW(carpeta.c_str(), GENERIC_READ, kCompartir, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE) fallar(carpeta, falla);
        Atributos datos;
        if (!atributosDe(h, datos) || esEnlace(datos.atributos, datos.etiqueta) ||
            !(datos.atributos & FILE_ATTRIBUTE_DIRECTORY)) {
            ::CloseHandle(h);
            throw ErrorArchivo(carpeta, falla);
        }
        return h;
    }

    // Handles are kept in a table; the interface hands out its indexes.
    int guardar(HANDLE h, const ruta& archivo) {
        std::lock_guard<std::mutex> cerrojo(mutex_);
        for (std::size_t i = 0; i < abiertos_.size(); ++i)
            if (!abiertos_[i].h) {
                abiertos_[i] = {h, archivo};
                return static_cast<int>(i);
            }
        abiertos_.push_back({h, archivo});
        return static_cast<int>(abiertos_.size() - 1);
    }

    HANDLE handle(int archivo) {
        std::lock_guard<std::mutex> cerrojo(mutex_);
        if (archivo < 0 || static_cast<std::size_t>(archivo) >= abiertos_.size() || !abiertos_[archivo].h)
            throw ErrorArchivo("?", "archivo no abierto");
        return abiertos_[archivo].h;
    }

    std::filesystem::path rutaDe(int archivo) {
        std::lock_guard<std::mutex> cerrojo(mutex_);
        if (archivo < 0 || static_cast<std::size_t>(archivo) >= abiertos_.size()) return "?";
        return abiertos_[archivo].ruta;
    }

    std::mutex mutex_;
    std::vector<Abierto> abiertos_;
};

}  // namespace

TSistemaArchivos& sistemaArchivosReal() {
    static TSistemaReal real;
    return real;
}

#endif
