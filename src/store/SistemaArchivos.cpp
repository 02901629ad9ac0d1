#include "store/SistemaArchivos.h"

#include "store/NombresArchivos.h"
#include "store/ErrorArchivo.h"

// The real file system lives in SistemaArchivosPosix.cpp and
// SistemaArchivosWindows.cpp; the helpers below work on any of them.

std::vector<std::pair<std::string, TSistemaArchivos::Tipo>> TSistemaArchivos::listarConTipos(const ruta& carpeta) {
    std::vector<std::pair<std::string, Tipo>> entradas;
    for (std::string& nombre : listar(carpeta)) {
        const Tipo t = tipo(carpeta / rutaDeTexto(nombre));
        entradas.emplace_back(std::move(nombre), t);
    }
    return entradas;
}

std::string leerArchivoEntero(TSistemaArchivos& fs, const std::filesystem::path& archivo) {
    const int d = fs.abrir(archivo, TSistemaArchivos::Apertura::leer);
    std::string bytes;
    try {
        // Sized and read through one handle, and read to its real end: a file
        // that grows or shrinks meanwhile is still read whole, never past it.
        bytes.resize(static_cast<std::size_t>(fs.tamano(d)));
        std::size_t total = fs.leer(d, 0, bytes.data(), bytes.size());
        for (;;) {
            char mas[4096];
            const std::size_t n = fs.leer(d, total, mas, sizeof mas);
            if (n == 0) break;
            bytes.resize(total);
            bytes.append(mas, n);
            total += n;
        }
        bytes.resize(total);
    } catch (...) {
        try { fs.cerrar(d); } catch (...) {}
        throw;
    }
    fs.cerrar(d);
    return bytes;
}

void escribirArchivoNuevo(TSistemaArchivos& fs, const std::filesystem::path& archivo, const std::string& bytes,
                          bool sincronizar) {
    const int d = fs.abrir(archivo, TSistemaArchivos::Apertura::crearNuevo);
    try {
        if (!bytes.empty()) fs.escribir(d, 0, bytes.data(), bytes.size());
        if (sincronizar) fs.sincronizar(d);
    } catch (...) {
        try { fs.cerrar(d); } catch (...) {}
        throw;
    }
    fs.cerrar(d);
}

void reemplazarArchivo(TSistemaArchivos& fs, const std::filesystem::path& archivo, const std::string& bytes) {
    auto temporal = archivo;
    temporal += kSufijoTemporal;
    // A leftover of a crash, or a planted link, is removed, never written
    // through; anything else in the way is an error.
    const auto tipo = fs.tipo(temporal);
    if (tipo == TSistemaArchivos::Tipo::archivo || tipo == TSistemaArchivos::Tipo::enlace) fs.eliminar(temporal);
    try {
        escribirArchivoNuevo(fs, temporal, bytes);
        fs.renombrar(temporal, archivo);
    } catch (...) {
        try { fs.eliminar(temporal); } catch (...) {}
        throw;
    }
    // The new file is in place: from here a failure says the disk did not confirm it.
    try {
        fs.sincronizarCarpeta(archivo.parent_path().empty() ? std::filesystem::path(".") : archivo.parent_path());
    } catch (const ErrorArchivo& e) {
        throw ErrorArchivoSinConfirmar(e.archivo(), e.operacion());
    }
}

void reemplazarArchivos(TSistemaArchivos& fs, const std::filesystem::path& carpeta,
                        const std::vector<std::pair<std::filesystem::path, std::string>>& archivos,
                        const std::function<void()>& antesDeColocar) {
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> cambios;
    try {
        for (const auto& [ruta, bytes] : archivos) {
            auto temporal = ruta;
            temporal += kSufijoTemporal;
            const auto tipo = fs.tipo(temporal);
            if (tipo == TSistemaArchivos::Tipo::archivo || tipo == TSistemaArchivos::Tipo::enlace) fs.eliminar(temporal);
            cambios.emplace_back(temporal, ruta);
            escribirArchivoNuevo(fs, temporal, bytes, false);
        }
        if (!cambios.empty()) fs.sincronizarTodo(carpeta);
        if (antesDeColocar) antesDeColocar();
        for (const auto& [temporal, ruta] : cambios) fs.renombrar(temporal, ruta);
    } catch (...) {
        for (const auto& [temporal, ruta] : cambios) {
            try { fs.eliminar(temporal); } catch (...) {}
        }
        throw;
    }
    try {
        fs.sincronizarCarpeta(carpeta);
    } catch (const ErrorArchivo& e) {
        throw ErrorArchivoSinConfirmar(e.archivo(), e.operacion());
    }
}

void agregarLineas(TSistemaArchivos& fs, const std::filesystem::path& archivo, const std::string& lineas,
                   const std::string& encabezado) {
    const bool nuevo = fs.tipo(archivo) == TSistemaArchivos::Tipo::ninguno;
    const int d = fs.abrir(archivo, TSistemaArchivos::Apertura::actualizar);
    std::uint64_t fin = 0;
    bool escrito = false;
    try {
        // A new file's name is made durable before any line goes in: what
        // fails after a line went in is only the write or its sync.
        if (nuevo) fs.sincronizarCarpeta(archivo.parent_path().empty() ? std::filesystem::path(".") : archivo.parent_path());
        fin = fs.tamano(d);
        std::string bytes;
        if (fin == 0) {
            bytes = encabezado;
        } else {
            char ultimo = '\n';
            if (fs.leer(d, fin - 1, &ultimo, 1) == 1 && ultimo != '\n') bytes = "\n";
        }
        bytes += lineas;
        escrito = true;
        if (!bytes.empty()) fs.escribir(d, fin, bytes.data(), bytes.size());
        fs.sincronizar(d);
    } catch (...) {
        // A part that reached the file is cut off again; the sync may have failed
        // with the lines in it, and they are the part a reader must not trust.
        if (escrito) {
            try { fs.truncar(d, fin); } catch (...) {}
        }
        try { fs.cerrar(d); } catch (...) {}
        throw;
    }
    fs.cerrar(d);
}

void crearCarpetas(TSistemaArchivos& fs, const std::filesystem::path& carpeta) {
    // Only the missing folders are made, from the top: an existing one may
    // be a link (a moved home folder), which the seam would not take as one.
    std::vector<std::filesystem::path> faltan;
    std::error_code error;
    for (auto p = carpeta; !std::filesystem::exists(p, error) && p.has_relative_path(); p = p.parent_path())
        faltan.push_back(p);
    for (auto p = faltan.rbegin(); p != faltan.rend(); ++p) fs.crearCarpeta(*p);
}

void eliminarArbol(TSistemaArchivos& fs, const std::filesystem::path& carpeta) {
    if (fs.tipo(carpeta) == TSistemaArchivos::Tipo::carpeta)
        for (const std::string& nombre : fs.listar(carpeta)) {
            const auto entrada = carpeta / rutaDeTexto(nombre);
            // A link inside is removed as a link; its target is never touched.
            if (fs.tipo(entrada) == TSistemaArchivos::Tipo::carpeta) eliminarArbol(fs, entrada);
            else fs.eliminar(entrada);
        }
    fs.eliminar(carpeta);
}

std::string textoDeRuta(const std::filesystem::path& ruta) {
    const std::u8string texto = ruta.u8string();
    return {texto.begin(), texto.end()};
}

std::filesystem::path rutaDeTexto(std::string_view utf8) { return std::u8string(utf8.begin(), utf8.end()); }
