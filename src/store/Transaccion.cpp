#include "store/Transaccion.h"

#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCabecera = "CORVELIAN TRANSACCION 1";
constexpr const char* kFin = "FIN";
// Inside the staging folder: how the game is left when the change is undone.
constexpr const char* kComoAntes = "COMO ANTES.TXT";
// Inside the staging folder: the game's folders the change made before its
// commit point, removed again when it is undone.
constexpr const char* kCarpetasNuevas = "CARPETAS NUEVAS.TXT";

using Tipo = TSistemaArchivos::Tipo;

fs::path enDatos(const TCarpeta& c, const std::string& nombre) { return c.ruta(nombre); }
fs::path enPreparacion(const TCarpeta& c, const std::string& nombre) {
    return c.ruta(std::string(kCarpetaTransaccion) + "/" + nombre);
}

// A name from a journal or a caller: relative, without "..", tabs or line ends.
// Checked as text: a run names a thousand files.
void comprobarNombre(const TCarpeta& c, const std::string& nombre) {
#ifdef _WIN32
    constexpr const char* kSeparadores = "/\\";
    // Neither "C:x" nor "\\x": both leave the game folder when joined to it.
    const fs::path ruta = rutaDeTexto(nombre);
    bool bien = !ruta.has_root_name() && !ruta.has_root_directory();
#else
    constexpr const char* kSeparadores = "/";
    bool bien = nombre.empty() || nombre.front() != '/';
#endif
    bien = bien && !nombre.empty() && nombre.find_first_of("\t\r\n") == std::string::npos;
    for (std::size_t inicio = 0; bien && inicio <= nombre.size();) {
        const std::size_t fin = std::min(nombre.find_first_of(kSeparadores, inicio), nombre.size());
        if (std::string_view(nombre).substr(inicio, fin - inicio) == "..") bien = false;
        inicio = fin + 1;
    }
    if (!bien) throw ErrorArchivo(c.ruta(kDiarioTransaccion), "nombre de archivo no válido: " + nombre);
}

struct Diario {
    std::string comoDespues;
    std::vector<std::pair<char, std::pair<std::string, std::string>>> pasos;
};

[[noreturn]] void diarioDanado(const TCarpeta& c) {
    throw ErrorArchivo(c.ruta(kDiarioTransaccion),
                       "el diario de la última operación está dañado; el juego no se puede abrir");
}

Diario leerDiario(const TCarpeta& c) {
    const std::vector<std::string> lineas = dividirLineas(leerArchivoEntero(c.sa(), c.ruta(kDiarioTransaccion)));
    Diario diario;
    if (lineas.size() < 2 || lineas[0] != kCabecera) diarioDanado(c);
    diario.comoDespues = lineas[1];
    bool fin = false;
    for (std::size_t i = 2; i < lineas.size(); ++i) {
        const std::string& linea = lineas[i];
        if (linea == kFin) {
            fin = true;
            break;
        }
        const auto t1 = linea.find('\t');
        if (linea.size() < 3 || t1 != 1) diarioDanado(c);
        const auto t2 = linea.find('\t', 2);
        std::string de = linea.substr(2, t2 == std::string::npos ? std::string::npos : t2 - 2);
        std::string a = t2 == std::string::npos ? std::string() : linea.substr(t2 + 1);
        comprobarNombre(c, de);
        if (linea[0] != 'E') comprobarNombre(c, a);
        if (std::string_view("RECM").find(linea[0]) == std::string_view::npos) diarioDanado(c);
        diario.pasos.push_back({linea[0], {std::move(de), std::move(a)}});
    }
    if (!fin) diarioDanado(c);
    return diario;
}

// One step of the switch; each can run again after an interruption. Right
// after the commit point (recien) everything was checked a moment ago, so
// renames and removals need no look first: that is hundreds of lookups a run.
void aplicar(const TCarpeta& c, char tipo, const std::string& de, const std::string& a, bool recien) {
    TSistemaArchivos& sa = c.sa();
    switch (tipo) {
    case 'R':  // staged file, or a file of the game folder, into its place
        if (recien || sa.tipo(enDatos(c, de)) == Tipo::archivo) sa.renombrar(enDatos(c, de), enDatos(c, a));
        break;
    case 'E':
        if (recien || sa.tipo(enDatos(c, de)) != Tipo::carpeta) sa.eliminar(enDatos(c, de));
        break;
    case 'C':
        if (sa.tipo(enDatos(c, de)) == Tipo::carpeta) {
            sa.crearCarpeta(enDatos(c, a).parent_path());
            eliminarArbol(c.sa(), enDatos(c, a));
            sa.renombrar(enDatos(c, de), enDatos(c, a));
        }
        break;
    case 'M':
        if (sa.tipo(enDatos(c, de)) == Tipo::carpeta && sa.tipo(enDatos(c, a)) == Tipo::ninguno)
            sa.renombrar(enDatos(c, de), enDatos(c, a));
        break;
    }
}

// The folder part of a name of the game folder ("" for the folder itself).
std::string carpetaDe(const std::string& nombre) {
    const std::size_t barra = nombre.rfind('/');
    return barra == std::string::npos ? std::string() : nombre.substr(0, barra);
}

void sincronizarCarpetasDe(const TCarpeta& c, const std::vector<std::pair<char, std::pair<std::string, std::string>>>& pasos) {
    std::set<std::string> carpetas{""};
    for (const auto& [tipo, nombres] : pasos) {
        if (tipo != 'E') carpetas.insert(carpetaDe(nombres.second));
        carpetas.insert(carpetaDe(nombres.first));
    }
    for (const std::string& nombre : carpetas) {
        const fs::path carpeta = nombre.empty() ? c.ruta() : enDatos(c, nombre);
        if (c.sa().tipo(carpeta) == Tipo::carpeta) c.sa().sincronizarCarpeta(carpeta);
    }
}

// Runs the journal to its end, then forgets it.
void completar(const TCarpeta& c, const Diario& diario, bool recien = false) {
    for (const auto& [tipo, nombres] : diario.pasos) {
        try {
            aplicar(c, tipo, nombres.first, nombres.second, recien);
        } catch (const ErrorArchivo&) {
            // Unchecked, a step may meet what an earlier step changed; looked at, it is done or refused.
            if (!recien) throw;
            aplicar(c, tipo, nombres.first, nombres.second, false);
        }
    }
    sincronizarCarpetasDe(c, diario.pasos);
    eliminarArbol(c.sa(), c.ruta(kCarpetaTransaccion));
    c.sa().eliminar(c.ruta(kDiarioTransaccion));
    // The change is whole and durable by now; should the journal's removal
    // not be, replaying it later changes nothing. So this is no failure of
    // the change, and reporting it as one would tell the game master a
    // finished change failed.
    try {
        c.sa().sincronizarCarpeta(c.ruta());
    } catch (const ErrorArchivo&) {
    }
}

std::string avisoSinConfirmar(const ErrorArchivo& e) {
    return "El cambio quedó hecho, pero el disco no confirmó su último paso (" + std::string(e.what()) +
           "); lo que falte se completa la próxima vez que se abra el juego.";
}

// Temporaries of reemplazarArchivo (the file's name + ".tmp") for the journal
// and the record files: one left behind by a crash before its rename never
// counted, the file it was to replace is intact.
constexpr const char* kTemporales[] = {
    "TRANSACCION.DAT.tmp",   "DATOS INICIALES.DAT.tmp", "NOMBRES.DAT.tmp",      "DATOS ACUMULADOS.DAT.tmp",
    "DECISIONES.DAT.tmp",    "AUXACUM.DAT.tmp",         "AUXDECISIONES.DAT.tmp", "AUXINI.DAT.tmp"};

// Only files and planted links count; anything else of such a name is not
// ours to remove, and reemplazarArchivo reports it.
bool esTemporal(const TCarpeta& c, const char* nombre) {
    const Tipo tipo = c.sa().tipo(c.ruta(nombre));
    return tipo == Tipo::archivo || tipo == Tipo::enlace;
}

bool hayTemporales(const TCarpeta& c) {
    for (const char* nombre : kTemporales)
        if (esTemporal(c, nombre)) return true;
    return false;
}

void eliminarTemporales(const TCarpeta& c) {
    for (const char* nombre : kTemporales)
        if (esTemporal(c, nombre)) c.sa().eliminar(c.ruta(nombre));
}

// Removes the folders an undone change made (those still empty: a folder
// that holds anything was not made by it alone).
void quitarCarpetasNuevas(const TCarpeta& c) {
    const fs::path lista = enPreparacion(c, kCarpetasNuevas);
    if (c.sa().tipo(lista) != Tipo::archivo) return;
    for (const std::string& nombre : dividirLineas(leerArchivoEntero(c.sa(), lista))) {
        comprobarNombre(c, nombre);
        if (c.sa().tipo(enDatos(c, nombre)) != Tipo::carpeta) continue;
        try {
            c.sa().eliminar(enDatos(c, nombre));
        } catch (const ErrorArchivo&) {
        }
    }
    c.sa().sincronizarCarpeta(c.ruta());
}

}  // namespace

bool hayTransaccionPendiente(const TCarpeta& c) {
    TSistemaArchivos& sa = c.sa();
    return sa.tipo(c.ruta(kDiarioTransaccion)) != Tipo::ninguno ||
           sa.tipo(c.ruta(kCarpetaTransaccion)) != Tipo::ninguno || hayTemporales(c);
}

std::string recuperarTransaccion(const TCarpeta& c) {
    TSistemaArchivos& sa = c.sa();
    const Tipo diario = sa.tipo(c.ruta(kDiarioTransaccion));
    if (diario != Tipo::ninguno) {
        if (diario != Tipo::archivo) diarioDanado(c);
        const Diario leido = leerDiario(c);
        completar(c, leido);
        return leido.comoDespues;
    }
    const fs::path preparacion = c.ruta(kCarpetaTransaccion);
    const bool temporales = hayTemporales(c);
    // Before the staging folder: while it exists, the interruption is still seen.
    if (temporales) eliminarTemporales(c);
    const Tipo tipo = sa.tipo(preparacion);
    if (tipo == Tipo::ninguno) {
        if (!temporales) return {};
        sa.sincronizarCarpeta(c.ruta());
        return "La última operación se interrumpió; el juego quedó como estaba antes de ella.";
    }
    if (tipo == Tipo::carpeta) quitarCarpetasNuevas(c);
    std::string comoAntes;
    if (tipo == Tipo::carpeta && sa.tipo(preparacion / kComoAntes) == Tipo::archivo) {
        try {
            comoAntes = leerArchivoEntero(c.sa(), preparacion / kComoAntes);
        } catch (const ErrorArchivo&) {
            // Only the message is lost; the change is undone all the same.
        }
    }
    eliminarArbol(c.sa(), preparacion);
    sa.sincronizarCarpeta(c.ruta());
    // A message cut short by the interruption itself gives way to the general one.
    if (comoAntes.empty() || comoAntes.back() != '.')
        return "La última operación se interrumpió; el juego quedó como estaba antes de ella.";
    return comoAntes;
}

TTransaccion::TTransaccion(const TCarpeta& carpeta, std::string comoAntes, std::string comoDespues)
    : carpeta_(carpeta), comoAntes_(std::move(comoAntes)), comoDespues_(std::move(comoDespues)) {
    const TCarpeta& c = carpeta_;
    if (comoDespues_.find_first_of("\r\n") != std::string::npos)
        comoDespues_ = "La última operación se interrumpió y se completó.";
    recuperarTransaccion(c);
    try {
        c.sa().crearCarpeta(c.ruta(kCarpetaTransaccion));
        escribirArchivoNuevo(c.sa(), enPreparacion(c, kComoAntes), comoAntes_);
    } catch (...) {
        // No destructor runs for a constructor that throws: the staging
        // folder is removed here, or the game would not be as it was.
        try {
            eliminarArbol(c.sa(), c.ruta(kCarpetaTransaccion));
        } catch (...) {
        }
        throw;
    }
}

TTransaccion::~TTransaccion() {
    const TCarpeta& c = carpeta_;
    if (confirmada_) return;
    try {
        // Nothing reached the game; the staged files are only clutter. Should
        // this fail too, the next opening removes them.
        if (c.sa().tipo(c.ruta(kDiarioTransaccion)) == Tipo::ninguno) {
            quitarCarpetasNuevas(c);
            eliminarArbol(c.sa(), c.ruta(kCarpetaTransaccion));
        }
    } catch (...) {
    }
}

void TTransaccion::preparar(const std::string& nombre) {
    const TCarpeta& c = carpeta_;
    comprobarNombre(c, nombre);
    const std::size_t barra = nombre.rfind('/');
    if (barra != std::string::npos && carpetasPreparadas_.insert(nombre.substr(0, barra)).second) {
        fs::path carpeta = c.ruta(kCarpetaTransaccion);
        for (const auto& parte : rutaDeTexto(nombre.substr(0, barra))) c.sa().crearCarpeta(carpeta /= parte);
    }
    // Written again in the same change: the last content wins.
    if (!nombresEscritos_.insert(nombre).second) {
        c.sa().eliminar(enPreparacion(c, nombre));
        return;
    }
    escritos_.push_back(nombre);
}

void TTransaccion::escribir(const std::string& nombre, const std::string& bytes) {
    const TCarpeta& c = carpeta_;
    preparar(nombre);
    // Synced all together before the commit point: one flush of the disk
    // instead of one per report.
    escribirArchivoNuevo(c.sa(), enPreparacion(c, nombre), bytes, false);
}

void TTransaccion::enlazar(const std::string& escrito, const std::string& nombre) {
    const TCarpeta& c = carpeta_;
    preparar(nombre);
    try {
        c.sa().enlazar(enPreparacion(c, escrito), enPreparacion(c, nombre));
    } catch (const ErrorArchivo&) {
        // A file system without hard links gets a copy.
        escribirArchivoNuevo(c.sa(), enPreparacion(c, nombre), leerArchivoEntero(c.sa(), enPreparacion(c, escrito)), false);
    }
}

void TTransaccion::eliminar(const std::string& nombre) {
    const TCarpeta& c = carpeta_;
    comprobarNombre(c, nombre);
    pasos_.push_back({'E', nombre, {}});
}

void TTransaccion::renombrar(const std::string& de, const std::string& a) {
    const TCarpeta& c = carpeta_;
    comprobarNombre(c, de);
    comprobarNombre(c, a);
    pasos_.push_back({'R', de, a});
}

void TTransaccion::reemplazarCarpeta(const std::string& carpeta) {
    const TCarpeta& c = carpeta_;
    comprobarNombre(c, carpeta);
    fs::path ruta = c.ruta(kCarpetaTransaccion);
    for (const auto& parte : rutaDeTexto(carpeta)) c.sa().crearCarpeta(ruta /= parte);
    carpetasPreparadas_.insert(carpeta);
    pasos_.push_back({'C', std::string(kCarpetaTransaccion) + "/" + carpeta, carpeta});
}

void TTransaccion::apartarCarpeta(const std::string& carpeta, const std::string& destino) {
    const TCarpeta& c = carpeta_;
    comprobarNombre(c, carpeta);
    comprobarNombre(c, destino);
    pasos_.push_back({'M', carpeta, destino});
}

std::vector<TTransaccion::Paso> TTransaccion::pasosEnOrden() const {
    std::vector<Paso> pasos;
    for (const Paso& p : pasos_)
        if (p.tipo == 'M') pasos.push_back(p);
    // A file written anew needs no removal first; replayed after its rename,
    // the removal would take the new file.
    for (const Paso& p : pasos_)
        if (p.tipo == 'E' && !nombresEscritos_.contains(p.de)) pasos.push_back(p);
    std::vector<std::string> carpetas;
    for (const Paso& p : pasos_)
        if (p.tipo == 'C') carpetas.push_back(p.a);
    for (const std::string& nombre : escritos_) {
        bool dentro = false;
        for (const std::string& carpeta : carpetas)
            if (nombre.rfind(carpeta + "/", 0) == 0) dentro = true;
        if (!dentro) pasos.push_back({'R', std::string(kCarpetaTransaccion) + "/" + nombre, nombre});
    }
    for (const Paso& p : pasos_)
        if (p.tipo == 'R' || p.tipo == 'C') pasos.push_back(p);
    return pasos;
}

std::string TTransaccion::confirmar() {
    const TCarpeta& c = carpeta_;
    TSistemaArchivos& sa = c.sa();
    const std::vector<Paso> pasos = pasosEnOrden();

    // Everything that can refuse the switch is checked before the commit
    // point, and everything the switch needs is made before it. What lies in
    // the places of the files comes from one listing per folder.
    std::map<std::string, std::map<std::string, Tipo>> listados;
    const auto tipoEnLista = [&](const std::string& nombre) {
        const std::string padre = carpetaDe(nombre);
        auto listado = listados.find(padre);
        if (listado == listados.end()) {
            std::map<std::string, Tipo> entradas;
            const fs::path carpeta = padre.empty() ? c.ruta() : enDatos(c, padre);
            if (sa.tipo(carpeta) == Tipo::carpeta)
                for (auto& [entrada, tipo] : sa.listarConTipos(carpeta)) entradas.emplace(std::move(entrada), tipo);
            listado = listados.emplace(padre, std::move(entradas)).first;
        }
        const auto entrada = listado->second.find(padre.empty() ? nombre : nombre.substr(padre.size() + 1));
        return entrada == listado->second.end() ? Tipo::ninguno : entrada->second;
    };
    std::vector<fs::path> carpetasNuevas;
    for (const Paso& p : pasos) {
        if (p.tipo == 'R') {
            // Staged files were just written here; a file of the game folder may be gone.
            if (!p.de.starts_with(std::string(kCarpetaTransaccion) + "/") && sa.tipo(enDatos(c, p.de)) != Tipo::archivo)
                throw ErrorArchivo(enDatos(c, p.de), "falta el archivo");
            const Tipo t = tipoEnLista(p.a);
            if (t == Tipo::carpeta || t == Tipo::otro)
                throw ErrorArchivo(enDatos(c, p.a), "hay una carpeta u otra cosa en el lugar del archivo");
            continue;
        }
        const fs::path destino = enDatos(c, p.a);
        if (p.tipo == 'C') {
            const Tipo padre = sa.tipo(destino.parent_path());
            if (padre != Tipo::carpeta && padre != Tipo::ninguno)
                throw ErrorArchivo(destino.parent_path(), "no es una carpeta del juego");
            if (padre == Tipo::ninguno) carpetasNuevas.push_back(rutaDeTexto(p.a).parent_path());
        } else if (p.tipo == 'M') {
            if (sa.tipo(destino) != Tipo::ninguno) throw ErrorArchivo(destino, "ya existe");
        } else if (sa.tipo(enDatos(c, p.de)) == Tipo::carpeta) {
            throw ErrorArchivo(enDatos(c, p.de), "es una carpeta");
        }
    }
    sa.sincronizarTodo(c.ruta(kCarpetaTransaccion));
    sa.sincronizarCarpeta(c.ruta(kCarpetaTransaccion));
    // The folders the switch puts things into exist before the commit point,
    // listed first so that undoing the change removes them again.
    if (!carpetasNuevas.empty()) {
        std::string lista;
        for (const fs::path& carpeta : carpetasNuevas) lista += textoDeRuta(carpeta) + "\n";
        escribirArchivoNuevo(sa, enPreparacion(c, kCarpetasNuevas), lista);
        sa.sincronizarCarpeta(c.ruta(kCarpetaTransaccion));
        for (const fs::path& carpeta : carpetasNuevas) sa.crearCarpeta(enDatos(c, textoDeRuta(carpeta)));
        sa.sincronizarCarpeta(c.ruta());
    }
    // Each folder once: the history holds hundreds of staged files, and a
    // sync per file of the same folder cost a disk flush each.
    std::set<std::string> subcarpetas;
    for (const std::string& nombre : escritos_)
        if (const std::string carpeta = carpetaDe(nombre); !carpeta.empty()) subcarpetas.insert(carpeta);
    for (const std::string& carpeta : subcarpetas) sa.sincronizarCarpeta(enPreparacion(c, carpeta));

    std::string diario = std::string(kCabecera) + "\n" + comoDespues_ + "\n";
    Diario leido;
    leido.comoDespues = comoDespues_;
    for (const Paso& p : pasos) {
        diario += std::string(1, p.tipo) + "\t" + p.de + (p.tipo == 'E' ? "" : "\t" + p.a) + "\n";
        leido.pasos.push_back({p.tipo, {p.de, p.a}});
    }
    diario += std::string(kFin) + "\n";
    std::string aviso;
    try {
        reemplazarArchivo(c.sa(), c.ruta(kDiarioTransaccion), diario);
    } catch (const ErrorArchivoSinConfirmar& e) {
        aviso = avisoSinConfirmar(e);
    }
    confirmada_ = true;
    // Past the commit point the change has happened, whatever fails now: the
    // journal stays, and the next opening finishes what is left of it.
    try {
        completar(c, leido, true);
    } catch (const ErrorArchivo& e) {
        if (aviso.empty()) aviso = avisoSinConfirmar(e);
    }
    return aviso;
}
