#include "juego/Juego.h"

#include "engine/USimular.h"
#include "reports/Reportes_UD.h"
#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/ModificarDatos.h"
#include "store/Notificador.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"
#include "store/Transaccion.h"
#include "store/ValoresGlobales.h"

#include <chrono>
#include <optional>
#include <thread>

namespace {

constexpr const char* kBloqueo = "CORVELIAN.LCK";
constexpr const char* kParametros = "DATOS INICIALES.DAT";
constexpr const char* kNombres = "NOMBRES.DAT";
constexpr const char* kResultados = "DATOS ACUMULADOS.DAT";
constexpr const char* kDecisiones = "DECISIONES.DAT";

/// The folder lock, held while one operation runs. A writer is refused at
/// once when another program holds the lock; a reader waits a moment, as a
/// run takes a fraction of a second.
class TBloqueo {
public:
    // A folder without a game gets no lock file unless a game is being set
    // up in it: a refusal there leaves the folder exactly as it was.
    explicit TBloqueo(bool exclusivo, bool crearJuego = false) {
        TSistemaArchivos& sa = sistemaArchivos();
        using Tipo = TSistemaArchivos::Tipo;
        if (!crearJuego && sa.tipo(rutaDatos(kBloqueo)) == Tipo::ninguno &&
            sa.tipo(rutaDatos(kParametros)) == Tipo::ninguno && !hayTransaccionPendiente())
            return;
        for (int intento = 0;; ++intento) {
            descriptor_ = sa.bloquear(rutaDatos(kBloqueo), exclusivo);
            if (descriptor_ >= 0) break;
            if (exclusivo || intento >= 40) throw ErrorJuego("El juego está en uso por otro programa.");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        // An interrupted change is finished or undone before anything is
        // read; that needs the folder to itself. A constructor that throws
        // has no destructor run, so the lock is released here then.
        try {
            if (hayTransaccionPendiente()) {
                if (!exclusivo) {
                    soltar();
                    descriptor_ = sa.bloquear(rutaDatos(kBloqueo), true);
                    if (descriptor_ < 0) throw ErrorJuego("El juego está en uso por otro programa.");
                }
                const std::string mensaje = recuperarTransaccion();
                if (!mensaje.empty()) notificador().advertencia("Atención", cp1252Seguro(mensaje));
            }
        } catch (...) {
            soltar();
            throw;
        }
    }
    ~TBloqueo() { soltar(); }
    TBloqueo(const TBloqueo&) = delete;
    TBloqueo& operator=(const TBloqueo&) = delete;

private:
    void soltar() {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        if (descriptor < 0) return;
        try {
            sistemaArchivos().cerrar(descriptor);
        } catch (...) {
            // Closing releases the lock whatever close reports.
        }
    }
    static std::string cp1252Seguro(const std::string& utf8) { return utf8ACp1252(utf8).value_or(utf8); }
    int descriptor_ = -1;
};

std::uint64_t fnv(std::uint64_t h, const std::string& bytes) {
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::string contenidoSiExiste(const char* nombre) {
    const auto ruta = rutaDatos(nombre);
    return sistemaArchivos().tipo(ruta) == TSistemaArchivos::Tipo::ninguno ? std::string() : leerArchivoEntero(ruta);
}

// Reads the state without locking; the callers hold the lock.
TEstadoJuego estadoSinBloqueo() {
    TEstadoJuego estado;
    TDatosjuego().leerDatosIniciales(estado.datos);
    const TRegDatosIniciales& d = estado.datos;
    estado.hayJuego = d.periodoActual >= 1;
    const std::string nombres = contenidoSiExiste(kNombres);
    const std::string resultados = contenidoSiExiste(kResultados);
    estado.empresasConResultados = TDatosAcum().cantidadAcum();
    const auto decisiones = leerRegistros<TRegDecision>(rutaDatos(kDecisiones));
    estado.decisionesGuardadas = decisiones ? static_cast<int>(decisiones->size()) : 0;
    if (sistemaArchivos().tipo(rutaDatos(kParametros)) != TSistemaArchivos::Tipo::ninguno) {
        // Counters no game can reach.
        if (d.periodoActual < 1 || d.periodoActual > 11 ||
            d.cantEquipos != d.cantEquiposZona1 + d.cantEquiposZona2 + d.cantEquiposZona3)
            throw ErrorArchivoDanado(rutaDatos(kParametros), "sus contadores son imposibles");
        if (nombres.size() % sizeof(TRegNombre) != 0)
            throw ErrorArchivoDanado(rutaDatos(kNombres), "no tiene registros enteros");
        if (estado.empresasConResultados > 0 && estado.empresasConResultados < d.cantEquipos)
            throw ErrorArchivoDanado(rutaDatos(kResultados), "faltan los resultados de algunas empresas");
    }
    TMarca& m = estado.marca;
    if (!estado.hayJuego) m.fase = TFase::sinJuego;
    else if (!estado.periodo0Corrido()) m.fase = TFase::preparado;
    else if (estado.terminado()) m.fase = TFase::terminado;
    else m.fase = TFase::abierto;
    m.periodo = d.periodoActual;
    m.huella = fnv(fnv(fnv(14695981039346656037ull, nombres), resultados),
                   std::string{static_cast<char>(d.cantEquipos), static_cast<char>(d.periodoActual)});
    return estado;
}

void exigirJuego(const TEstadoJuego& estado) {
    if (!estado.hayJuego)
        throw ErrorJuego("No hay un juego en «" + textoDeRuta(carpetaDatos()) + "». Empiece uno con «Nuevo».");
}

void exigirPeriodoAbierto(const TEstadoJuego& estado) {
    exigirJuego(estado);
    if (estado.terminado()) throw ErrorJuego("El juego terminó: ya se simularon los diez períodos.");
    if (!estado.periodo0Corrido())
        throw ErrorJuego("Todavía no se corrió el período 0: el archivo de resultados tiene " +
                         std::to_string(estado.empresasConResultados) + " de " +
                         std::to_string(estado.datos.cantEquipos) + " empresas.");
}

void exigirMarca(const TEstadoJuego& estado, const TMarca* marca) {
    if (marca && !(*marca == estado.marca)) throw ErrorJuego(mensajeJuegoCambiado(estado));
}

}  // namespace

std::string mensajeJuegoCambiado(const TEstadoJuego& ahora) {
    std::string que;
    switch (ahora.marca.fase) {
    case TFase::sinJuego: que = "ya no hay un juego en esta carpeta"; break;
    case TFase::preparado: que = "ahora hay un juego nuevo, sin el período 0"; break;
    case TFase::terminado: que = "ya se simularon los diez períodos"; break;
    case TFase::abierto: que = "ahora está abierto el período " + std::to_string(ahora.marca.periodo); break;
    }
    return "El juego cambió: " + que + ". Cierre esta pantalla y vuelva a abrirla.";
}

TEstadoJuego leerEstado() {
    TBloqueo bloqueo(false);
    return estadoSinBloqueo();
}

TEstadoJuego reanudar() {
    TBloqueo bloqueo(false);
    const TEstadoJuego estado = estadoSinBloqueo();
    if (!estado.hayJuego) throw ErrorJuego("No hay un juego guardado en esta carpeta.");
    IndemnizacionPorEmpleado = estado.datos.indemXEmpleado;
    ValorPenalidad = estado.datos.penalidad;
    return estado;
}

namespace {

// The names file with these names over its first records; names of an older,
// larger game beyond them stay, unread.
std::string nombresNuevos(const std::vector<std::string>& equipos) {
    auto nombres = leerRegistros<TRegNombre>(rutaDatos(kNombres)).value_or(std::vector<TRegNombre>{});
    if (nombres.size() < equipos.size()) nombres.resize(equipos.size());
    for (std::size_t i = 0; i < equipos.size(); ++i) {
        nombres[i] = TRegNombre{};
        asignar(nombres[i].nombreEquipo, equipos[i]);
    }
    return bytesDeRegistros(nombres);
}

// 1 to 255 teams, each with a name of its own for its reports.
void comprobarEquipos(const std::vector<std::string>& equipos) {
    if (equipos.empty() || equipos.size() > 255)
        throw ErrorJuego("Un juego tiene de 1 a 255 equipos, no " + std::to_string(equipos.size()) + ".");
    if (const auto fallas = fallasNombresEquipos(equipos); !fallas.empty()) {
        std::string texto;
        for (const auto& falla : fallas) texto += (texto.empty() ? "" : "\n") + falla;
        throw ErrorJuego(texto);
    }
}

}  // namespace

void guardarNombresEquipos(const std::vector<std::string>& equipos) {
    comprobarEquipos(equipos);
    TBloqueo bloqueo(true, true);
    reemplazarArchivo(rutaDatos(kNombres), nombresNuevos(equipos));
}

void crearJuego(const std::vector<std::string>& equipos, const TTextosDatosIniciales& textos) {
    comprobarEquipos(equipos);
    // As on the initial data screen, the program-wide values follow their
    // boxes as they are converted.
    const TRegDatosIniciales datos = armarDatosIniciales(textos, static_cast<uint8_t>(equipos.size()));

    TBloqueo bloqueo(true, true);
    const std::string nombres = nombresNuevos(equipos);
    TTransaccion transaccion("El armado del juego nuevo se interrumpió; el juego anterior quedó como estaba.",
                             "El armado del juego nuevo se interrumpió y se completó.");
    // The old game's history is kept, aside, so that nothing of it is shown
    // as the new game's; its results, decisions and checkpoint go.
    if (sistemaArchivos().tipo(rutaDatos("historial")) != TSistemaArchivos::Tipo::ninguno) {
        int n = 1;
        while (sistemaArchivos().tipo(rutaDatos("historial anterior " + std::to_string(n))) !=
               TSistemaArchivos::Tipo::ninguno)
            ++n;
        transaccion.apartarCarpeta("historial", "historial anterior " + std::to_string(n));
    }
    for (const char* archivo : {kResultados, kDecisiones, "AUXACUM.DAT", "AUXDECISIONES.DAT", "AUXINI.DAT"})
        transaccion.eliminar(archivo);
    transaccion.escribir(kNombres, nombres);
    transaccion.escribir(kParametros, bytesDeRegistros(std::vector<TRegDatosIniciales>{datos}));
    transaccion.confirmar();
}

void correrPeriodo0(TDecisionesPeriodo0 decisiones, const TMarca* marca) {
    TBloqueo bloqueo(true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirJuego(estado);
    exigirMarca(estado, marca);
    if (estado.datos.periodoActual > 1 && estado.periodo0Corrido())
        throw ErrorJuego("El período 0 ya se corrió y el juego va por el período " +
                         std::to_string(estado.datos.periodoActual) + ". Para empezar de nuevo use «Nuevo».");
    if (estado.terminado()) throw ErrorJuego("El juego terminó: ya se simularon los diez períodos.");
    // Period 0 creates every company from its stored name.
    if (TDatosjuego().leerNombres().size() < estado.datos.cantEquiposZona1)
        throw ErrorArchivoDanado(rutaDatos(kNombres), "tiene menos equipos que los del juego");
    decisiones.nombreBancoA = aTexto(estado.datos.nombreBancoA);
    decisiones.nombreBancoB = aTexto(estado.datos.nombreBancoB);
    // Nobody repays anything in period 0.
    decisiones.devPrestamoA = 0;
    decisiones.devPrestamoB = 0;
    ejecutarPeriodo0(decisiones);
}

void comprobarPeriodoAbierto() {
    const TEstadoJuego estado = leerEstado();
    exigirPeriodoAbierto(estado);
    if (estado.datos.cantEquipos == 0) throw ErrorJuego("No quedan mas equipos, todos han quebrado.");
}

std::vector<std::string> empresasActivas() {
    TBloqueo bloqueo(false);
    const TEstadoJuego estado = estadoSinBloqueo();
    std::vector<std::string> nombres;
    if (estado.empresasConResultados == 0) return nombres;
    const std::vector<TRegDatosAcum> registros = TDatosAcum().leerTodos();
    for (std::size_t i = 0; i < registros.size() && i < estado.datos.cantEquipos; ++i)
        nombres.push_back(aTexto(registros[i].nombreEmpresa));
    return nombres;
}

std::vector<TRegDecision> decisionesGuardadas() {
    TBloqueo bloqueo(false);
    return leerRegistros<TRegDecision>(rutaDatos(kDecisiones)).value_or(std::vector<TRegDecision>{});
}

void guardarDecisiones(const std::vector<TRegDecision>& decisiones, const TMarca* marca) {
    TBloqueo bloqueo(true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirMarca(estado, marca);
    exigirPeriodoAbierto(estado);
    if (estado.datos.cantEquipos == 0) throw ErrorJuego("No quedan mas equipos, todos han quebrado.");
    if (decisiones.size() != estado.datos.cantEquipos)
        throw ErrorJuego("Hay " + std::to_string(decisiones.size()) + " decisiones y " +
                         std::to_string(estado.datos.cantEquipos) + " empresas activas.");
    TDecision().guardarDecisiones(decisiones);
}

int simular(const TMarca* marca) {
    TBloqueo bloqueo(true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirMarca(estado, marca);
    exigirPeriodoAbierto(estado);
    if (estado.decisionesGuardadas < estado.datos.cantEquipos)
        throw ErrorJuego("Faltan decisiones del período " + std::to_string(estado.datos.periodoActual) + ": hay " +
                         std::to_string(estado.decisionesGuardadas) + " de " +
                         std::to_string(estado.datos.cantEquipos) + " empresas.");
    simularPeriodo();
    return estado.datos.periodoActual;
}

int volver() {
    TBloqueo bloqueo(true);
    estadoSinBloqueo();  // a damaged game is not stepped back into
    if (!restaurarRespaldo()) throw ErrorJuego("No hay un período para deshacer.");
    return estadoSinBloqueo().datos.periodoActual;
}

void modificarDatos(const TTextosDatosIniciales& textos, const TMarca* marca) {
    TBloqueo bloqueo(true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirMarca(estado, marca);
    exigirJuego(estado);
    guardarModificaciones(textos);
}

std::vector<TFilaPosicion> posiciones() {
    TBloqueo bloqueo(false);
    estadoSinBloqueo();
    return posicionesZona();
}

TRegDatosIniciales parametros() {
    TBloqueo bloqueo(false);
    return estadoSinBloqueo().datos;
}

void guardarTablas(int32_t columnaPrecios, int32_t intervaloMarketing) {
    TBloqueo bloqueo(true, true);
    TDatosjuego datos;
    TRegDatosIniciales registro{};
    datos.leerDatosIniciales(registro);
    registro.columnaPrecios = columnaPrecios;
    registro.intervaloMarketing = intervaloMarketing;
    datos.guardarDatosIniciales(registro);
}

namespace {

// The last period the game has run, -1 before period 0. A period undone by a
// step back stays filed until it runs again, but its figures are no longer
// the game's: nobody may read them as if they were.
int ultimoPeriodoCorrido() {
    const TEstadoJuego estado = estadoSinBloqueo();
    return estado.periodo0Corrido() ? std::min(estado.datos.periodoActual - 1, 10) : -1;
}

void exigirPeriodoCorrido(int periodo) {
    if (periodo < 0 || periodo > ultimoPeriodoCorrido())
        throw ErrorJuego("El período " + std::to_string(periodo) + " no se ha simulado.");
}

}  // namespace

std::vector<int> periodosDelHistorial() {
    TBloqueo bloqueo(false);
    const int ultimo = ultimoPeriodoCorrido();
    std::vector<int> periodos = periodosArchivados();
    std::erase_if(periodos, [ultimo](int p) { return p > ultimo; });
    return periodos;
}

TArchivoPeriodo periodoDelHistorial(int periodo) {
    TBloqueo bloqueo(false);
    exigirPeriodoCorrido(periodo);
    return leerArchivoPeriodo(periodo);
}

std::string reporteDelHistorial(int periodo, const std::string& nombre) {
    // Only a plain name of the period's own folder: never a path out of it.
    if (nombre.empty() || nombre.find_first_of("/\\") != std::string::npos || nombre == "." || nombre == "..")
        throw ErrorArchivo(carpetaDePeriodo(periodo) / nombre, "no es un informe del período");
    TBloqueo bloqueo(false);
    exigirPeriodoCorrido(periodo);
    return leerArchivoEntero(carpetaDePeriodo(periodo) / nombre);
}
