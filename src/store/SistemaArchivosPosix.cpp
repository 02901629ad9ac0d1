// The real file system on POSIX systems (Linux); SistemaArchivosWindows.cpp
// is its Windows counterpart.
#ifndef _WIN32

#include "store/SistemaArchivos.h"

#include "store/ErrorArchivo.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string conCausa(const std::string& operacion, int error) {
    if (error == ELOOP) return operacion + " (hay un enlace simbólico en su lugar)";
    if (error == ENOSPC) return operacion + " (el disco está lleno)";
    if (error == EACCES || error == EPERM || error == EROFS) return operacion + " (no hay permiso)";
    return operacion;
}

[[noreturn]] void fallar(const std::filesystem::path& ruta, const std::string& operacion) {
    throw ErrorArchivo(ruta, conCausa(operacion, errno));
}

// Plain descriptors; the last component of every path is opened without
// following a link (O_NOFOLLOW), so a planted link is an error, not a detour.
class TSistemaReal final : public TSistemaArchivos {
public:
    int abrir(const ruta& archivo, Apertura modo) override {
        int banderas = O_CLOEXEC | O_NOFOLLOW;
        switch (modo) {
        case Apertura::leer: banderas |= O_RDONLY; break;
        case Apertura::actualizar: banderas |= O_RDWR | O_CREAT; break;
        case Apertura::crear: banderas |= O_RDWR | O_CREAT | O_TRUNC; break;
        case Apertura::crearNuevo: banderas |= O_RDWR | O_CREAT | O_EXCL; break;
        }
        int d;
        do d = ::open(archivo.c_str(), banderas, 0666);
        while (d < 0 && errno == EINTR);
        if (d < 0) {
            if (modo == Apertura::leer) fallar(archivo, "no se pudo abrir el archivo para leer");
            if (modo == Apertura::actualizar) fallar(archivo, "no se pudo abrir el archivo para escribir");
            fallar(archivo, "no se pudo crear el archivo");
        }
        // O_CREAT with O_EXCL makes a new plain file or nothing: no need to look.
        if (modo == Apertura::crearNuevo) return d;
        struct stat datos {};
        if (::fstat(d, &datos) != 0 || !S_ISREG(datos.st_mode)) {
            ::close(d);
            throw ErrorArchivo(archivo, "no es un archivo común");
        }
        return d;
    }

    std::size_t leer(int archivo, std::uint64_t pos, void* destino, std::size_t n) override {
        auto* bytes = static_cast<char*>(destino);
        std::size_t leidos = 0;
        while (leidos < n) {
            ssize_t r = ::pread(archivo, bytes + leidos, n - leidos, static_cast<off_t>(pos + leidos));
            if (r < 0 && errno == EINTR) continue;
            if (r < 0) throw ErrorArchivo(rutaDe(archivo), conCausa("no se pudo leer el archivo", errno));
            if (r == 0) break;
            leidos += static_cast<std::size_t>(r);
        }
        return leidos;
    }

    void escribir(int archivo, std::uint64_t pos, const void* origen, std::size_t n) override {
        const auto* bytes = static_cast<const char*>(origen);
        std::size_t escritos = 0;
        while (escritos < n) {
            ssize_t r = ::pwrite(archivo, bytes + escritos, n - escritos, static_cast<off_t>(pos + escritos));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) throw ErrorArchivo(rutaDe(archivo), conCausa("no se pudo escribir en el archivo", errno));
            escritos += static_cast<std::size_t>(r);
        }
    }

    std::uint64_t tamano(int archivo) override {
        struct stat datos {};
        if (::fstat(archivo, &datos) != 0)
            throw ErrorArchivo(rutaDe(archivo), "no se pudo leer el tamaño del archivo");
        return static_cast<std::uint64_t>(datos.st_size);
    }

    void truncar(int archivo, std::uint64_t tamano) override {
        if (::ftruncate(archivo, static_cast<off_t>(tamano)) != 0)
            throw ErrorArchivo(rutaDe(archivo), conCausa("no se pudo acortar el archivo", errno));
    }

    void sincronizar(int archivo) override {
        if (::fsync(archivo) != 0)
            throw ErrorArchivo(rutaDe(archivo), conCausa("no se pudo asentar el archivo en el disco", errno));
    }

    void cerrar(int archivo) override {
        if (::close(archivo) != 0 && errno != EINTR)
            throw ErrorArchivo(rutaDe(archivo), "no se pudo cerrar el archivo");
    }

    void renombrar(const ruta& de, const ruta& a) override {
        if (::rename(de.c_str(), a.c_str()) != 0) fallar(a, "no se pudo poner el archivo en su lugar");
    }

    void eliminar(const ruta& entrada) override {
        if (::unlink(entrada.c_str()) == 0 || errno == ENOENT) return;
        if ((errno == EISDIR || errno == EPERM) && ::rmdir(entrada.c_str()) == 0) return;
        fallar(entrada, "no se pudo borrar");
    }

    void enlazar(const ruta& existente, const ruta& nuevo) override {
        if (::link(existente.c_str(), nuevo.c_str()) != 0) fallar(nuevo, "no se pudo enlazar el archivo");
    }

    void crearCarpeta(const ruta& carpeta) override {
        if (::mkdir(carpeta.c_str(), 0777) == 0) return;
        if (errno == EEXIST && tipo(carpeta) == Tipo::carpeta) return;
        fallar(carpeta, "no se pudo crear la carpeta");
    }

    void sincronizarCarpeta(const ruta& carpeta) override {
        int d = ::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (d < 0) fallar(carpeta, "no se pudo abrir la carpeta");
        const bool bien = ::fsync(d) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
        const int error = errno;
        ::close(d);
        if (!bien) throw ErrorArchivo(carpeta, conCausa("no se pudo asentar la carpeta en el disco", error));
    }

    void sincronizarTodo(const ruta& carpeta) override {
        int d = ::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (d < 0) fallar(carpeta, "no se pudo abrir la carpeta");
        const bool bien = ::syncfs(d) == 0;
        const int error = errno;
        ::close(d);
        if (!bien) throw ErrorArchivo(carpeta, conCausa("no se pudo asentar el disco", error));
    }

    std::vector<std::string> listar(const ruta& carpeta) override {
        std::vector<std::string> nombres;
        for (auto& [nombre, tipo] : listarConTipos(carpeta)) nombres.push_back(std::move(nombre));
        return nombres;
    }

    std::vector<std::pair<std::string, Tipo>> listarConTipos(const ruta& carpeta) override {
        int d = ::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (d < 0) fallar(carpeta, "no se pudo leer la carpeta");
        DIR* dir = ::fdopendir(d);
        if (!dir) {
            ::close(d);
            fallar(carpeta, "no se pudo leer la carpeta");
        }
        std::vector<std::pair<std::string, Tipo>> entradas;
        try {
            while (const dirent* e = ::readdir(dir)) {
                std::string nombre = e->d_name;
                if (nombre == "." || nombre == "..") continue;
                Tipo t;
                switch (e->d_type) {
                case DT_REG: t = Tipo::archivo; break;
                case DT_DIR: t = Tipo::carpeta; break;
                case DT_LNK: t = Tipo::enlace; break;
                case DT_UNKNOWN: t = tipo(carpeta / nombre); break;  // file systems that do not say
                default: t = Tipo::otro; break;
                }
                entradas.emplace_back(std::move(nombre), t);
            }
        } catch (...) {
            ::closedir(dir);
            throw;
        }
        ::closedir(dir);
        return entradas;
    }

    Tipo tipo(const ruta& entrada) override {
        struct stat datos {};
        if (::lstat(entrada.c_str(), &datos) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) return Tipo::ninguno;
            fallar(entrada, "no se pudo consultar");
        }
        if (S_ISREG(datos.st_mode)) return Tipo::archivo;
        if (S_ISDIR(datos.st_mode)) return Tipo::carpeta;
        if (S_ISLNK(datos.st_mode)) return Tipo::enlace;
        return Tipo::otro;
    }

    int bloquear(const ruta& archivo, bool exclusivo) override {
        int d = ::open(archivo.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (d < 0) fallar(archivo, "no se pudo abrir el archivo de bloqueo");
        int r;
        do r = ::flock(d, (exclusivo ? LOCK_EX : LOCK_SH) | LOCK_NB);
        while (r != 0 && errno == EINTR);
        if (r == 0) return d;
        const int error = errno;
        ::close(d);
        if (error == EWOULDBLOCK) return -1;
        throw ErrorArchivo(archivo, "no se pudo bloquear el juego");
    }

private:
    // The path of an open descriptor, for error messages only.
    static std::filesystem::path rutaDe(int archivo) {
        std::error_code error;
        auto ruta = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(archivo), error);
        return error ? std::filesystem::path("?") : ruta;
    }
};

}  // namespace

TSistemaArchivos& sistemaArchivosReal() {
    static TSistemaReal real;
    return real;
}

#endif
