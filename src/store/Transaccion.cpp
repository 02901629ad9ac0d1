#include "store/Transaccion.h"

#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <set>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCabecera = "CORVELIAN TRANSACCION 1";
constexpr const char* kFin = "FIN";
// Inside the staging folder: how the game is left when the change is undone.
constexpr const char* kComoAntes = "COMO ANTES.TXT";

using Tipo = TSistemaArchivos::Tipo;

fs::path enDatos(const std::string& nombre) { return rutaDatos(nombre); }
fs::path enPreparacion(const std::string& nombre) { return rutaDatos(kCarpetaTransaccion) / rutaDeTexto(nombre); }

// A name from a journal or a caller: relative, without "..", tabs or line ends.
void comprobarNombre(const std::string& nombre) {
    const fs::path ruta = rutaDeTexto(nombre);
    bool bien = !nombre.empty() && ruta.is_relative() && nombre.find_first_of("\t\r\n") == std::string::npos;
    for (const auto& parte : ruta)
        if (parte == "..") bien = false;
    if (!bien) throw ErrorArchivo(rutaDatos(kDiarioTransaccion), "nombre de archivo no válido: " + nombre);
}

struct Diario {
    std::string comoDespues;
    std::vector<std::pair<char, std::pair<std::string, std::string>>> pasos;
};

[[noreturn]] void diarioDanado() {
    throw ErrorArchivo(rutaDatos(kDiarioTransaccion),
                       "el diario de la última operación está dañado; el juego no se puede abrir");
}

Diario leerDiario() {
    const std::vector<std::string> lineas = dividirLineas(leerArchivoEntero(rutaDatos(kDiarioTransaccion)));
    Diario diario;
    if (lineas.size() < 2 || lineas[0] != kCabecera) diarioDanado();
    diario.comoDespues = lineas[1];
    bool fin = false;
    for (std::size_t i = 2; i < lineas.size(); ++i) {
        const std::string& linea = lineas[i];
        if (linea == kFin) {
            fin = true;
            break;
        }
        const auto t1 = linea.find('\t');
        if (linea.size() < 3 || t1 != 1) diarioDanado();
        const auto t2 = linea.find('\t', 2);
        std::string de = linea.substr(2, t2 == std::string::npos ? std::string::npos : t2 - 2);
        std::string a = t2 == std::string::npos ? std::string() : linea.substr(t2 + 1);
        comprobarNombre(de);
        if (linea[0] != 'E') comprobarNombre(a);
        if (std::string_view("RECM").find(linea[0]) == std::string_view::npos) diarioDanado();
        diario.pasos.push_back({linea[0], {std::move(de), std::move(a)}});
    }
    if (!fin) diarioDanado();
    return diario;
}

// One step of the switch; each can run again after an interruption.
void aplicar(char tipo, const std::string& de, const std::string& a) {
    TSistemaArchivos& sa = sistemaArchivos();
    switch (tipo) {
    case 'R':  // staged file, or a file of the game folder, into its place
        if (sa.tipo(enDatos(de)) == Tipo::archivo) sa.renombrar(enDatos(de), enDatos(a));
        break;
    case 'E':
        if (sa.tipo(enDatos(de)) != Tipo::carpeta) sa.eliminar(enDatos(de));
        break;
    case 'C':
        if (sa.tipo(enDatos(de)) == Tipo::carpeta) {
            sa.crearCarpeta(enDatos(a).parent_path());
            eliminarArbol(enDatos(a));
            sa.renombrar(enDatos(de), enDatos(a));
        }
        break;
    case 'M':
        if (sa.tipo(enDatos(de)) == Tipo::carpeta && sa.tipo(enDatos(a)) == Tipo::ninguno)
            sa.renombrar(enDatos(de), enDatos(a));
        break;
    }
}

void sincronizarCarpetasDe(const std::vector<std::pair<char, std::pair<std::string, std::string>>>& pasos) {
    std::set<fs::path> carpetas{carpetaDatos()};
    for (const auto& [tipo, nombres] : pasos) {
        if (tipo != 'E') carpetas.insert(enDatos(nombres.second).parent_path());
        carpetas.insert(enDatos(nombres.first).parent_path());
    }
    for (const auto& carpeta : carpetas)
        if (sistemaArchivos().tipo(carpeta) == Tipo::carpeta) sistemaArchivos().sincronizarCarpeta(carpeta);
}

// Runs the journal to its end, then forgets it.
void completar(const Diario& diario) {
    for (const auto& [tipo, nombres] : diario.pasos) aplicar(tipo, nombres.first, nombres.second);
    sincronizarCarpetasDe(diario.pasos);
    eliminarArbol(rutaDatos(kCarpetaTransaccion));
    sistemaArchivos().eliminar(rutaDatos(kDiarioTransaccion));
    // The change is whole and durable by now; should the journal's removal
    // not be, replaying it later changes nothing. So this is no failure of
    // the change, and reporting it as one would tell the game master a
    // finished change failed.
    try {
        sistemaArchivos().sincronizarCarpeta(carpetaDatos());
    } catch (const ErrorArchivo&) {
    }
}

// Temporaries of reemplazarArchivo (the file's name + ".tmp") for the journal
// and the record files: one left behind by a crash before its rename never
// counted, the file it was to replace is intact.
constexpr const char* kTemporales[] = {
    "TRANSACCION.DAT.tmp",   "DATOS INICIALES.DAT.tmp", "NOMBRES.DAT.tmp",      "DATOS ACUMULADOS.DAT.tmp",
    "DECISIONES.DAT.tmp",    "AUXACUM.DAT.tmp",         "AUXDECISIONES.DAT.tmp", "AUXINI.DAT.tmp"};

// Only files and planted links count; anything else of such a name is not
// ours to remove, and reemplazarArchivo reports it.
bool esTemporal(const char* nombre) {
    const Tipo tipo = sistemaArchivos().tipo(rutaDatos(nombre));
    return tipo == Tipo::archivo || tipo == Tipo::enlace;
}

bool hayTemporales() {
    for (const char* nombre : kTemporales)
        if (esTemporal(nombre)) return true;
    return false;
}

void eliminarTemporales() {
    for (const char* nombre : kTemporales)
        if (esTemporal(nombre)) sistemaArchivos().eliminar(rutaDatos(nombre));
}

}  // namespace

bool hayTransaccionPendiente() {
    TSistemaArchivos& sa = sistemaArchivos();
    return sa.tipo(rutaDatos(kDiarioTransaccion)) != Tipo::ninguno ||
           sa.tipo(rutaDatos(kCarpetaTransaccion)) != Tipo::ninguno || hayTemporales();
}

std::string recuperarTransaccion() {
    TSistemaArchivos& sa = sistemaArchivos();
    const Tipo diario = sa.tipo(rutaDatos(kDiarioTransaccion));
    if (diario != Tipo::ninguno) {
        if (diario != Tipo::archivo) diarioDanado();
        const Diario leido = leerDiario();
        completar(leido);
        return leido.comoDespues;
    }
    const fs::path preparacion = rutaDatos(kCarpetaTransaccion);
    const bool temporales = hayTemporales();
    // Before the staging folder: while it exists, the interruption is still seen.
    if (temporales) eliminarTemporales();
    const Tipo tipo = sa.tipo(preparacion);
    if (tipo == Tipo::ninguno) {
        if (!temporales) return {};
        sa.sincronizarCarpeta(carpetaDatos());
        return "La última operación se interrumpió; el juego quedó como estaba antes de ella.";
    }
    std::string comoAntes;
    if (tipo == Tipo::carpeta && sa.tipo(preparacion / kComoAntes) == Tipo::archivo) {
        try {
            comoAntes = leerArchivoEntero(preparacion / kComoAntes);
        } catch (const ErrorArchivo&) {
            // Only the message is lost; the change is undone all the same.
        }
    }
    eliminarArbol(preparacion);
    sa.sincronizarCarpeta(carpetaDatos());
    // A message cut short by the interruption itself gives way to the general one.
    if (comoAntes.empty() || comoAntes.back() != '.')
        return "La última operación se interrumpió; el juego quedó como estaba antes de ella.";
    return comoAntes;
}

TTransaccion::TTransaccion(std::string comoAntes, std::string comoDespues)
    : comoAntes_(std::move(comoAntes)), comoDespues_(std::move(comoDespues)) {
    if (comoDespues_.find_first_of("\r\n") != std::string::npos)
        comoDespues_ = "La última operación se interrumpió y se completó.";
    recuperarTransaccion();
    try {
        sistemaArchivos().crearCarpeta(rutaDatos(kCarpetaTransaccion));
        escribirArchivoNuevo(enPreparacion(kComoAntes), comoAntes_);
    } catch (...) {
        // No destructor runs for a constructor that throws: the staging
        // folder is removed here, or the game would not be as it was.
        try {
            eliminarArbol(rutaDatos(kCarpetaTransaccion));
        } catch (...) {
        }
        throw;
    }
}

TTransaccion::~TTransaccion() {
    if (confirmada_) return;
    try {
        // Nothing reached the game; the staged files are only clutter. Should
        // this fail too, the next opening removes them.
        if (sistemaArchivos().tipo(rutaDatos(kDiarioTransaccion)) == Tipo::ninguno)
            eliminarArbol(rutaDatos(kCarpetaTransaccion));
    } catch (...) {
    }
}

void TTransaccion::preparar(const std::string& nombre) {
    comprobarNombre(nombre);
    const fs::path padre = rutaDeTexto(nombre).parent_path();
    if (!padre.empty() && carpetasPreparadas_.insert(textoDeRuta(padre)).second) {
        fs::path carpeta = rutaDatos(kCarpetaTransaccion);
        for (const auto& parte : padre) sistemaArchivos().crearCarpeta(carpeta /= parte);
    }
    // Written again in the same change: the last content wins.
    if (!nombresEscritos_.insert(nombre).second) {
        sistemaArchivos().eliminar(enPreparacion(nombre));
        return;
    }
    escritos_.push_back(nombre);
}

void TTransaccion::escribir(const std::string& nombre, const std::string& bytes) {
    preparar(nombre);
    // Synced all together before the commit point: one flush of the disk
    // instead of one per report.
    escribirArchivoNuevo(enPreparacion(nombre), bytes, false);
}

void TTransaccion::enlazar(const std::string& escrito, const std::string& nombre) {
    preparar(nombre);
    try {
        sistemaArchivos().enlazar(enPreparacion(escrito), enPreparacion(nombre));
    } catch (const ErrorArchivo&) {
        // A file system without hard links gets a copy.
        escribirArchivoNuevo(enPreparacion(nombre), leerArchivoEntero(enPreparacion(escrito)), false);
    }
}

void TTransaccion::eliminar(const std::string& nombre) {
    comprobarNombre(nombre);
    pasos_.push_back({'E', nombre, {}});
}

void TTransaccion::renombrar(const std::string& de, const std::string& a) {
    comprobarNombre(de);
    comprobarNombre(a);
    pasos_.push_back({'R', de, a});
}

void TTransaccion::reemplazarCarpeta(const std::string& carpeta) {
    comprobarNombre(carpeta);
    fs::path ruta = rutaDatos(kCarpetaTransaccion);
    for (const auto& parte : rutaDeTexto(carpeta)) sistemaArchivos().crearCarpeta(ruta /= parte);
    carpetasPreparadas_.insert(carpeta);
    pasos_.push_back({'C', std::string(kCarpetaTransaccion) + "/" + carpeta, carpeta});
}

void TTransaccion::apartarCarpeta(const std::string& carpeta, const std::string& destino) {
    comprobarNombre(carpeta);
    comprobarNombre(destino);
    pasos_.push_back({'M', carpeta, destino});
}

void TTransaccion::confirmar() {
    TSistemaArchivos& sa = sistemaArchivos();
    std::vector<Paso> pasos;
    // Folders moved aside first, removals next, then the files and folders
    // that take their places.
    for (const Paso& p : pasos_)
        if (p.tipo == 'M') pasos.push_back(p);
    for (const Paso& p : pasos_)
        if (p.tipo == 'E') pasos.push_back(p);
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

    // Everything that can refuse the switch is checked before the commit point.
    for (const Paso& p : pasos) {
        const fs::path destino = enDatos(p.a);
        if (p.tipo == 'R') {
            // Staged files were just written here; a file of the game folder may be gone.
            if (!p.de.starts_with(std::string(kCarpetaTransaccion) + "/") && sa.tipo(enDatos(p.de)) != Tipo::archivo)
                throw ErrorArchivo(enDatos(p.de), "falta el archivo");
            const Tipo t = sa.tipo(destino);
            if (t == Tipo::carpeta || t == Tipo::otro)
                throw ErrorArchivo(destino, "hay una carpeta u otra cosa en el lugar del archivo");
        } else if (p.tipo == 'C') {
            const Tipo padre = sa.tipo(destino.parent_path());
            if (padre != Tipo::carpeta && padre != Tipo::ninguno)
                throw ErrorArchivo(destino.parent_path(), "no es una carpeta del juego");
        } else if (p.tipo == 'M') {
            if (sa.tipo(destino) != Tipo::ninguno) throw ErrorArchivo(destino, "ya existe");
        } else if (sa.tipo(enDatos(p.de)) == Tipo::carpeta) {
            throw ErrorArchivo(enDatos(p.de), "es una carpeta");
        }
    }
    sa.sincronizarTodo(rutaDatos(kCarpetaTransaccion));
    sa.sincronizarCarpeta(rutaDatos(kCarpetaTransaccion));
    // Each folder once: the history holds hundreds of staged files, and a
    // sync per file of the same folder cost a disk flush each.
    std::set<fs::path> subcarpetas;
    for (const std::string& nombre : escritos_)
        if (rutaDeTexto(nombre).has_parent_path()) subcarpetas.insert(enPreparacion(nombre).parent_path());
    for (const fs::path& carpeta : subcarpetas) sa.sincronizarCarpeta(carpeta);

    std::string diario = std::string(kCabecera) + "\n" + comoDespues_ + "\n";
    Diario leido;
    leido.comoDespues = comoDespues_;
    for (const Paso& p : pasos) {
        diario += std::string(1, p.tipo) + "\t" + p.de + (p.tipo == 'E' ? "" : "\t" + p.a) + "\n";
        leido.pasos.push_back({p.tipo, {p.de, p.a}});
    }
    diario += std::string(kFin) + "\n";
    reemplazarArchivo(rutaDatos(kDiarioTransaccion), diario);
    confirmada_ = true;
    completar(leido);
}
