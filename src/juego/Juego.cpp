#include "juego/Juego.h"

#include "store/NombresArchivos.h"

#include "engine/USimular.h"
#include "engine/ValidarDecision.h"
#include "reports/Reportes_UD.h"
#include "store/ArchivoRegistros.h"
#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/ModificarDatos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <optional>
#include <thread>

namespace {

constexpr const char* kBloqueo = kArchivoBloqueo;
constexpr const char* kParametros = kArchivoParametros;
constexpr const char* kNombres = kArchivoNombres;
constexpr const char* kResultados = kArchivoResultados;
constexpr const char* kDecisiones = kArchivoDecisiones;

std::string cp1252Seguro(const std::string& utf8) { return utf8ACp1252(utf8).value_or(utf8); }

bool esInforme(const std::string& nombre) { return esNombreDeInforme(nombre); }

std::string contenidoSiExiste(const TCarpeta& carpeta, const char* nombre) {
    const auto ruta = carpeta.ruta(nombre);
    return carpeta.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno ? std::string() : leerArchivoEntero(carpeta.sa(), ruta);
}

}  // namespace

/// The folder lock, held while one operation runs. A writer is refused
/// after a fifth of a second when another program holds the lock; a reader
/// waits up to two seconds, as a run takes a fraction of a second.
class TJuego::TBloqueo {
public:
    // A folder without a game gets no lock file unless a game is being set
    // up in it: a refusal there leaves the folder exactly as it was.
    explicit TBloqueo(const TJuego& juego, bool exclusivo, bool crearJuego = false) : carpeta_(juego.carpeta_) {
        TSistemaArchivos& sa = carpeta_.sa();
        using Tipo = TSistemaArchivos::Tipo;
        if (!crearJuego && sa.tipo(carpeta_.ruta(kBloqueo)) == Tipo::ninguno &&
            sa.tipo(carpeta_.ruta(kParametros)) == Tipo::ninguno && !hayTransaccionPendiente(carpeta_))
            return;
        for (int intento = 0;; ++intento) {
            try {
                descriptor_ = sa.bloquear(carpeta_.ruta(kBloqueo), exclusivo);
            } catch (const ErrorArchivo&) {
                // A folder this program may not write (a read-only mount, a
                // colleague's folder) can still be read, and needs no lock for
                // that: nobody here can change it. Changes are refused in Spanish.
                if (sePuedeEscribir(carpeta_.ruta(), sa)) throw;
                if (exclusivo || hayTransaccionPendiente(carpeta_))
                    throw ErrorJuego("La carpeta del juego no se puede modificar.");
                return;
            }
            if (descriptor_ >= 0) break;
            // A writer waits a fifth of a second for the readers of a page
            // (the portal's threads read for a millisecond at a time), a
            // reader up to two seconds for a run.
            if (intento >= 40) throw ErrorJuegoEnUso();
            std::this_thread::sleep_for(std::chrono::milliseconds(exclusivo ? 5 : 50));
        }
        // An interrupted change is finished or undone before anything is
        // read; that needs the folder to itself. A constructor that throws
        // has no destructor run, so the lock is released here then.
        try {
            if (hayTransaccionPendiente(carpeta_)) {
                if (!exclusivo) {
                    soltar();
                    descriptor_ = sa.bloquear(carpeta_.ruta(kBloqueo), true);
                    if (descriptor_ < 0) throw ErrorJuegoEnUso();
                }
                const std::string mensaje = recuperarTransaccion(carpeta_);
                if (!mensaje.empty()) juego.notificador().advertencia(cp1252("Atención"), cp1252Seguro(mensaje));
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
            carpeta_.sa().cerrar(descriptor);
        } catch (...) {
            // Closing releases the lock whatever close reports.
        }
    }
    const TCarpeta& carpeta_;
    int descriptor_ = -1;
};

TJuego::TJuego(std::filesystem::path carpeta, TSistemaArchivos& sistema) : carpeta_(std::move(carpeta), sistema) {}

void TJuego::tomarValores(const TRegDatosIniciales& datos) {
    indemnizacionPorEmpleado_ = datos.indemXEmpleado;
    valorPenalidad_ = datos.penalidad;
}

// Reads the state without locking; the callers hold the lock.
TEstadoJuego TJuego::estadoSinBloqueo() const {
    TEstadoJuego estado;
    TDatosjuego(carpeta_).leerDatosIniciales(estado.datos);
    const TRegDatosIniciales& d = estado.datos;
    estado.hayJuego = d.periodoActual >= 1;
    const std::string nombres = contenidoSiExiste(carpeta_, kNombres);
    const std::string resultados = contenidoSiExiste(carpeta_, kResultados);
    // Read once: for the count, the contents' check and the fingerprint.
    if (resultados.size() % sizeof(TRegDatosAcum) != 0)
        throw ErrorArchivoDanado(carpeta_.ruta(kResultados), "tiene " + std::to_string(resultados.size()) +
                                                                 " bytes, que no son registros enteros de " +
                                                                 std::to_string(sizeof(TRegDatosAcum)));
    std::vector<TRegDatosAcum> empresas(resultados.size() / sizeof(TRegDatosAcum));
    if (!resultados.empty()) std::memcpy(empresas.data(), resultados.data(), resultados.size());
    comprobarEmpresas(empresas, carpeta_.ruta(kResultados));
    estado.empresasConResultados = static_cast<int>(empresas.size());
    const auto decisiones = leerRegistros<TRegDecision>(carpeta_.sa(), carpeta_.ruta(kDecisiones));
    estado.decisionesGuardadas = decisiones ? static_cast<int>(decisiones->size()) : 0;
    if (carpeta_.sa().tipo(carpeta_.ruta(kParametros)) != TSistemaArchivos::Tipo::ninguno) {
        // Counters no game can reach.
        if (d.periodoActual < 1 || d.periodoActual > 11 ||
            d.cantEquipos != d.cantEquiposZona1 + d.cantEquiposZona2 + d.cantEquiposZona3)
            throw ErrorArchivoDanado(carpeta_.ruta(kParametros), "sus contadores son imposibles");
        comprobarParametros(d, carpeta_.ruta(kParametros));
        if (nombres.size() % sizeof(TRegNombre) != 0)
            throw ErrorArchivoDanado(carpeta_.ruta(kNombres), "no tiene registros enteros");
        if (estado.empresasConResultados > 0 && estado.empresasConResultados < d.cantEquipos)
            throw ErrorArchivoDanado(carpeta_.ruta(kResultados), "faltan los resultados de algunas empresas");
        // A game past period 1, or whose period 0 is filed, has run period 0:
        // without its results it is damaged, not a game to start again.
        if (estado.empresasConResultados == 0 && d.cantEquipos > 0 &&
            (d.periodoActual > 1 ||
             carpeta_.sa().tipo(carpetaDePeriodo(carpeta_, 0) / kResultados) != TSistemaArchivos::Tipo::ninguno))
            throw ErrorArchivoDanado(carpeta_.ruta(kResultados), "falta o está vacío, y el juego ya corrió el período 0");
    }
    TMarca& m = estado.marca;
    if (!estado.hayJuego) m.fase = TFase::sinJuego;
    else if (!estado.periodo0Corrido()) m.fase = TFase::preparado;
    else if (estado.terminado()) m.fase = TFase::terminado;
    else m.fase = TFase::abierto;
    m.periodo = d.periodoActual;
    m.huella = huellaFnv(std::string{static_cast<char>(d.cantEquipos), static_cast<char>(d.periodoActual)},
                         huellaFnv(resultados, huellaFnv(nombres)));
    return estado;
}

void TJuego::exigirJuego(const TEstadoJuego& estado) const {
    if (!estado.hayJuego)
        throw ErrorJuego("No hay un juego en «" + textoDeRuta(carpeta_.ruta()) + "». Empiece uno con «Nuevo».");
}

void TJuego::exigirPeriodoAbierto(const TEstadoJuego& estado) const {
    exigirJuego(estado);
    if (estado.terminado()) throw ErrorJuego("El juego terminó: ya se simularon los diez períodos.");
    if (!estado.periodo0Corrido())
        throw ErrorJuego("Todavía no se corrió el período 0: el archivo de resultados tiene " +
                         std::to_string(estado.empresasConResultados) + " de " +
                         std::to_string(estado.datos.cantEquipos) + " empresas.");
}

namespace {

void exigirMarca(const TEstadoJuego& estado, const TMarca* marca) {
    if (marca && !(*marca == estado.marca)) throw ErrorJuegoCambiado(mensajeJuegoCambiado(estado));
}

}  // namespace

void TJuego::exigirDecisionesAbiertas(const TEstadoJuego& estado, const TMarca* marca) const {
    exigirMarca(estado, marca);
    exigirPeriodoAbierto(estado);
    if (estado.datos.cantEquipos == 0) throw ErrorJuego("No quedan mas equipos, todos han quebrado.");
}

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

TEstadoJuego TJuego::leerEstado() {
    TBloqueo bloqueo(*this, false);
    return estadoSinBloqueo();
}

TEstadoJuego TJuego::reanudar() {
    TBloqueo bloqueo(*this, false);
    const TEstadoJuego estado = estadoSinBloqueo();
    if (!estado.hayJuego) throw ErrorJuego("No hay un juego guardado en esta carpeta.");
    tomarValores(estado.datos);
    return estado;
}


// The names file with these names over its first records; names of an older,
// larger game beyond them stay, unread.
std::string TJuego::nombresNuevos(const std::vector<std::string>& equipos) const {
    auto nombres = leerRegistros<TRegNombre>(carpeta_.sa(), carpeta_.ruta(kNombres)).value_or(std::vector<TRegNombre>{});
    if (nombres.size() < equipos.size()) nombres.resize(equipos.size());
    for (std::size_t i = 0; i < equipos.size(); ++i) {
        nombres[i] = TRegNombre{};
        asignar(nombres[i].nombreEquipo, equipos[i]);
    }
    return bytesDeRegistros(nombres);
}

namespace {

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

void TJuego::guardarNombresEquipos(const std::vector<std::string>& equipos) {
    comprobarEquipos(equipos);
    TBloqueo bloqueo(*this, true, true);
    reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kNombres), nombresNuevos(equipos));
}

void TJuego::crearJuego(const std::vector<std::string>& equipos, const TTextosDatosIniciales& textos,
                        const TComputadora& computadora) {
    comprobarEquipos(equipos);
    for (std::size_t i = 0; i < computadora.empresas.size(); ++i) {
        const std::string& nombre = computadora.empresas[i].nombre;
        if (std::find(equipos.begin(), equipos.end(), nombre) == equipos.end())
            throw ErrorJuego("«" + cp1252AUtf8(nombre) + "» no es una empresa del juego.");
        for (std::size_t j = 0; j < i; ++j)
            if (computadora.empresas[j].nombre == nombre)
                throw ErrorJuego("«" + cp1252AUtf8(nombre) + "» está dos veces entre las empresas de la computadora.");
    }
    const TRegDatosIniciales datos = armarDatosIniciales(textos, static_cast<uint8_t>(equipos.size()));

    TBloqueo bloqueo(*this, true, true);
    const std::string nombres = nombresNuevos(equipos);
    TTransaccion transaccion(carpeta_, "El armado del juego nuevo se interrumpió; el juego anterior quedó como estaba.",
                             "El armado del juego nuevo se interrumpió y se completó.");
    // The old game's history is kept, aside, so that nothing of it is shown
    // as the new game's; its results, decisions and checkpoint go.
    if (carpeta_.sa().tipo(carpeta_.ruta(kCarpetaHistorial)) != TSistemaArchivos::Tipo::ninguno) {
        int n = 1;
        while (carpeta_.sa().tipo(carpeta_.ruta(historialAnterior(n))) !=
               TSistemaArchivos::Tipo::ninguno)
            ++n;
        transaccion.apartarCarpeta(kCarpetaHistorial, historialAnterior(n));
    }
    for (const char* archivo : {kResultados, kDecisiones, kRespaldoResultados, kRespaldoDecisiones, kRespaldoParametros,
                                kArchivoCodigos})
        transaccion.eliminar(archivo);
    transaccion.escribir(kNombres, nombres);
    transaccion.escribir(kParametros, bytesDeRegistros(std::vector<TRegDatosIniciales>{datos}));
    // Which companies the computer plays lives in a file of its own: the
    // game files stay what every other program of the game reads.
    if (computadora.empresas.empty()) transaccion.eliminar(kArchivoComputadora);
    else transaccion.escribir(kArchivoComputadora, textoComputadora(computadora));
    transaccion.confirmar();
    tomarValores(datos);
}

void TJuego::crearPractica(const std::string& equipo, std::size_t cantidad, std::optional<TEstilo> estilo,
                           std::uint64_t semilla) {
    std::vector<std::string> equipos{equipo};
    const TComputadora computadora = agregarComputadora(equipos, cantidad, estilo, semilla);
    crearJuego(equipos, ejemploDatosIniciales(), computadora);
    correrPeriodo0(ejemploPeriodo0());
}

TComputadora TJuego::computadoraSinBloqueo() const {
    const auto ruta = carpeta_.ruta(kArchivoComputadora);
    if (carpeta_.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno) return {};
    return leerTextoComputadora(leerArchivoEntero(carpeta_.sa(), ruta), ruta);
}

TComputadora TJuego::computadora() {
    TBloqueo bloqueo(*this, false);
    return computadoraSinBloqueo();
}

std::vector<std::optional<TEstilo>> TJuego::estilosActivas() {
    TBloqueo bloqueo(*this, false);
    const TEstadoJuego estado = estadoSinBloqueo();
    const TComputadora computadora = computadoraSinBloqueo();
    std::vector<std::optional<TEstilo>> estilos;
    for (const std::string& nombre : equiposDelJuego(estado)) {
        const TEmpresaComputadora* e = computadora.de(nombre);
        estilos.push_back(e ? std::optional<TEstilo>(e->estilo) : std::nullopt);
    }
    return estilos;
}

// Each computer company decides from its own results, its own decisions and
// the industry figures of the last period run, and the parameters: what a
// team reads in its reports. Nothing of this period's other decisions.
std::vector<std::optional<TRegDecision>> TJuego::decisionesComputadoraSinBloqueo(const TEstadoJuego& estado) const {
    exigirPeriodoAbierto(estado);
    const TComputadora computadora = computadoraSinBloqueo();
    std::vector<TRegDatosAcum> activas = TDatosAcum(carpeta_).leerTodos();
    if (activas.size() > estado.datos.cantEquipos) activas.resize(estado.datos.cantEquipos);
    std::vector<std::optional<TRegDecision>> decisiones(activas.size());
    if (computadora.empresas.empty()) return decisiones;
    const int periodo = estado.datos.periodoActual;
    std::optional<TArchivoPeriodo> anterior;
    const auto archivados = periodosArchivados(carpeta_);
    if (std::find(archivados.begin(), archivados.end(), periodo - 1) != archivados.end())
        anterior = leerArchivoPeriodo(carpeta_, periodo - 1);
    for (std::size_t i = 0; i < activas.size(); ++i) {
        const std::string nombre = aTexto(activas[i].nombreEmpresa);
        const TEmpresaComputadora* e = computadora.de(nombre);
        if (!e) continue;
        TConocimiento k;
        k.periodo = periodo;
        k.parametros = estado.datos;
        k.propia = activas[i];
        if (anterior) {
            k.industria = anterior->industria;
            for (std::size_t j = 0; j < anterior->empresas.size() && j < anterior->decisiones.size(); ++j)
                if (aTexto(anterior->empresas[j].nombreEmpresa) == nombre) k.anterior = anterior->decisiones[j];
        }
        decisiones[i] = decidirComputadora(e->estilo, nombre, k, computadora.semilla);
    }
    return decisiones;
}

std::vector<std::optional<TRegDecision>> TJuego::decisionesComputadora() {
    TBloqueo bloqueo(*this, false);
    return decisionesComputadoraSinBloqueo(estadoSinBloqueo());
}

void TJuego::guardarCompletandoSinBloqueo(const TEstadoJuego& estado,
                                          std::vector<std::optional<TRegDecision>> decisiones) {
    if (decisiones.size() != estado.datos.cantEquipos)
        throw ErrorJuego("Hay " + std::to_string(decisiones.size()) + " decisiones y " +
                         std::to_string(estado.datos.cantEquipos) + " empresas activas.");
    // The computer decides only when some company's decisions are missing.
    std::vector<std::optional<TRegDecision>> computadora(decisiones.size());
    if (std::any_of(decisiones.begin(), decisiones.end(), [](const auto& d) { return !d.has_value(); }))
        computadora = decisionesComputadoraSinBloqueo(estado);
    const auto equipos = equiposDelJuego(estado);
    std::string faltan;
    std::vector<TRegDecision> completas;
    for (std::size_t i = 0; i < decisiones.size(); ++i) {
        if (!decisiones[i]) decisiones[i] = computadora[i];
        if (decisiones[i]) completas.push_back(*decisiones[i]);
        else faltan += (faltan.empty() ? "" : ", ") + cp1252AUtf8(equipos[i]);
    }
    if (!faltan.empty())
        throw ErrorJuego("Faltan las decisiones del período " + std::to_string(estado.datos.periodoActual) +
                         " de: " + faltan + ".");
    for (std::size_t i = 0; i < completas.size(); ++i) validarDecision(completas[i], equipos[i]);
    TDecision(carpeta_).guardarDecisiones(completas);
}

void TJuego::guardarDecisionesCompletas(const std::vector<std::optional<TRegDecision>>& decisiones,
                                        const TMarca* marca) {
    TBloqueo bloqueo(*this, true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirDecisionesAbiertas(estado, marca);
    guardarCompletandoSinBloqueo(estado, decisiones);
}

TResultadoCorrida TJuego::correrPeriodo0(TDecisionesPeriodo0 decisiones, const TMarca* marca) {
    TBloqueo bloqueo(*this, true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirJuego(estado);
    exigirMarca(estado, marca);
    if (estado.datos.periodoActual > 1 && estado.periodo0Corrido())
        throw ErrorJuego("El período 0 ya se corrió y el juego va por el período " +
                         std::to_string(estado.datos.periodoActual) + ". Para empezar de nuevo use «Nuevo».");
    if (estado.terminado()) throw ErrorJuego("El juego terminó: ya se simularon los diez períodos.");
    // Period 0 creates every company from its stored name.
    if (TDatosjuego(carpeta_).leerNombres().size() < estado.datos.cantEquiposZona1)
        throw ErrorArchivoDanado(carpeta_.ruta(kNombres), "tiene menos equipos que los del juego");
    decisiones.nombreBancoA = aTexto(estado.datos.nombreBancoA);
    decisiones.nombreBancoB = aTexto(estado.datos.nombreBancoB);
    // Nobody repays anything in period 0.
    decisiones.devPrestamoA = 0;
    decisiones.devPrestamoB = 0;
    return ejecutarPeriodo0(carpeta_, decisiones);
}

void TJuego::comprobarPeriodoAbierto() {
    const TEstadoJuego estado = leerEstado();
    exigirPeriodoAbierto(estado);
    if (estado.datos.cantEquipos == 0) throw ErrorJuego("No quedan mas equipos, todos han quebrado.");
}

std::vector<std::string> TJuego::empresasActivas() {
    TBloqueo bloqueo(*this, false);
    const TEstadoJuego estado = estadoSinBloqueo();
    std::vector<std::string> nombres;
    if (estado.empresasConResultados == 0) return nombres;
    const std::vector<TRegDatosAcum> registros = TDatosAcum(carpeta_).leerTodos();
    for (std::size_t i = 0; i < registros.size() && i < estado.datos.cantEquipos; ++i)
        nombres.push_back(aTexto(registros[i].nombreEmpresa));
    return nombres;
}

std::vector<TRegDecision> TJuego::decisionesGuardadas() {
    TBloqueo bloqueo(*this, false);
    return leerRegistros<TRegDecision>(carpeta_.sa(), carpeta_.ruta(kDecisiones)).value_or(std::vector<TRegDecision>{});
}

void TJuego::guardarDecisiones(const std::vector<TRegDecision>& decisiones, const TMarca* marca) {
    TBloqueo bloqueo(*this, true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirDecisionesAbiertas(estado, marca);
    if (decisiones.size() != estado.datos.cantEquipos)
        throw ErrorJuego("Hay " + std::to_string(decisiones.size()) + " decisiones y " +
                         std::to_string(estado.datos.cantEquipos) + " empresas activas.");
    TDecision(carpeta_).guardarDecisiones(decisiones);
}

TResultadoCorrida TJuego::simular(const TMarca* marca) {
    TBloqueo bloqueo(*this, true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirMarca(estado, marca);
    exigirPeriodoAbierto(estado);
    // A game the computer plays alone runs period after period by itself.
    if (estado.decisionesGuardadas == 0 && estado.datos.cantEquipos > 0) {
        auto decisiones = decisionesComputadoraSinBloqueo(estado);
        if (std::all_of(decisiones.begin(), decisiones.end(), [](const auto& d) { return d.has_value(); }))
            guardarCompletandoSinBloqueo(estado, std::move(decisiones));
    }
    if (estadoSinBloqueo().decisionesGuardadas < estado.datos.cantEquipos)
        throw ErrorJuego("Faltan decisiones del período " + std::to_string(estado.datos.periodoActual) + ": hay " +
                         std::to_string(estado.decisionesGuardadas) + " de " +
                         std::to_string(estado.datos.cantEquipos) + " empresas.");
    const TResultadoCorrida corrida = simularPeriodo(carpeta_);
    tomarValores(estado.datos);
    for (const std::string& empresa : corrida.quiebras)
        notificador_->informacion("La empresa \"" + empresa + "\" ha quebrado.");
    notificador_->abrirCarpeta(carpeta_.ruta());
    return corrida;
}

int TJuego::volver() {
    TBloqueo bloqueo(*this, true);
    // A damaged game is not stepped back into, unless the damage is in a file
    // the checkpoint replaces whole: that is how a game is recovered.
    std::optional<ErrorArchivoDanado> dano;
    try {
        estadoSinBloqueo();
    } catch (const ErrorArchivoDanado& e) {
        const auto nombre = e.archivo().filename();
        bool enRespaldo = false;
        for (const auto& par : kRespaldos) enRespaldo = enRespaldo || nombre == par[0];
        if (!enRespaldo) throw;
        dano = e;
    }
    // The report files of the folder become those of the last period that
    // stays run, from its history, in the same change.
    const auto periodo = restaurarRespaldo(carpeta_, [this](TTransaccion& transaccion, int abierto) {
        const auto historia = carpetaDePeriodo(carpeta_, abierto - 1);
        TSistemaArchivos& sa = carpeta_.sa();
        if (sa.tipo(historia) != TSistemaArchivos::Tipo::carpeta) return;
        std::vector<std::string> suyos;
        for (const std::string& nombre : sa.listar(historia))
            if (nombre.ends_with(kExtensionInforme)) suyos.push_back(nombre);
        for (const std::string& nombre : sa.listar(carpeta_.ruta()))
            if (esInforme(nombre) && std::find(suyos.begin(), suyos.end(), nombre) == suyos.end())
                transaccion.eliminar(nombre);
        for (const std::string& nombre : suyos)
            transaccion.escribir(nombre, leerArchivoEntero(sa, historia / rutaDeTexto(nombre)));
    });
    if (!periodo) {
        if (dano) throw *dano;
        throw ErrorJuego("No hay un período para deshacer.");
    }
    if (dano)
        notificador_->advertencia(cp1252("Atención"), cp1252Seguro(
                                                          "«" + textoDeRuta(dano->archivo().filename()) +
                                                          "» estaba dañado: se volvió al período " +
                                                          std::to_string(*periodo) +
                                                          " con la copia que se guardó antes de simularlo."));
    return *periodo;
}

void TJuego::modificarDatos(const TTextosDatosIniciales& textos, const TMarca* marca) {
    TBloqueo bloqueo(*this, true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirMarca(estado, marca);
    exigirJuego(estado);
    tomarValores(guardarModificaciones(carpeta_, textos));
}

std::vector<TFilaPosicion> TJuego::posiciones() {
    TBloqueo bloqueo(*this, false);
    estadoSinBloqueo();
    return posicionesZona(carpeta_);
}

TRegDatosIniciales TJuego::parametros() {
    TBloqueo bloqueo(*this, false);
    return estadoSinBloqueo().datos;
}

// The last period the game has run, -1 before period 0. A period undone by a
// step back stays filed until it runs again, but its figures are no longer
// the game's: nobody may read them as if they were.
int TJuego::ultimoPeriodoCorrido() const {
    const TEstadoJuego estado = estadoSinBloqueo();
    return estado.periodo0Corrido() ? std::min(estado.datos.periodoActual - 1, 10) : -1;
}


void TJuego::exigirPeriodoCorrido(int periodo) const {
    if (periodo < 0 || periodo > ultimoPeriodoCorrido())
        throw ErrorJuego("El período " + std::to_string(periodo) + " no se ha simulado.");
}


std::vector<int> TJuego::periodosDelHistorial() {
    TBloqueo bloqueo(*this, false);
    const int ultimo = ultimoPeriodoCorrido();
    const std::vector<int> archivados = periodosArchivados(carpeta_);
    // A game begun by an older version has no history of its first periods;
    // from the first period filed on, every period run is listed, a missing
    // one too, so that no reader skips it without a word.
    std::vector<int> periodos;
    for (int p = archivados.empty() ? ultimo + 1 : archivados.front(); p <= ultimo; ++p) periodos.push_back(p);
    return periodos;
}

TArchivoPeriodo TJuego::periodoDelHistorial(int periodo) {
    TBloqueo bloqueo(*this, false);
    exigirPeriodoCorrido(periodo);
    exigirHistorial(periodo);
    return leerArchivoPeriodo(carpeta_, periodo);
}

void TJuego::exigirHistorial(int periodo) const {
    const auto archivados = periodosArchivados(carpeta_);
    if (std::find(archivados.begin(), archivados.end(), periodo) == archivados.end())
        throw ErrorJuego("Falta el historial del período " + std::to_string(periodo) + ".");
}

std::string TJuego::reporteDelHistorial(int periodo, const std::string& nombre) {
    // Only a plain name of the period's own folder: never a path out of it.
    if (nombre.empty() || nombre.find_first_of("/\\") != std::string::npos || nombre == "." || nombre == "..")
        throw ErrorArchivo(carpetaDePeriodo(carpeta_, periodo) / nombre, "no es un informe del período");
    TBloqueo bloqueo(*this, false);
    exigirPeriodoCorrido(periodo);
    exigirHistorial(periodo);
    return leerArchivoEntero(carpeta_.sa(), carpetaDePeriodo(carpeta_, periodo) / nombre);
}


// The teams of the game as the portal knows them: the active companies, or
// before period 0 the teams set up. The callers hold the lock.
std::vector<std::string> TJuego::equiposDelJuego(const TEstadoJuego& estado) const {
    std::vector<std::string> nombres;
    if (estado.empresasConResultados > 0) {
        const std::vector<TRegDatosAcum> registros = TDatosAcum(carpeta_).leerTodos();
        for (std::size_t i = 0; i < registros.size() && i < estado.datos.cantEquipos; ++i)
            nombres.push_back(aTexto(registros[i].nombreEmpresa));
    } else {
        const auto equipos = TDatosjuego(carpeta_).leerNombres();
        for (std::size_t i = 0; i < equipos.size() && i < estado.datos.cantEquipos; ++i)
            nombres.push_back(equipos[i]);
    }
    return nombres;
}


// The teams that get a code for the portal: the computer's companies send nothing.
std::vector<std::string> TJuego::equiposConCodigo(const TEstadoJuego& estado) const {
    auto equipos = equiposDelJuego(estado);
    const TComputadora computadora = computadoraSinBloqueo();
    std::erase_if(equipos, [&](const std::string& e) { return computadora.de(e) != nullptr; });
    return equipos;
}

std::optional<TArchivoCodigos> TJuego::codigosSinBloqueo() const {
    const auto ruta = carpeta_.ruta(kArchivoCodigos);
    if (carpeta_.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno) return std::nullopt;
    return leerTextoCodigos(leerArchivoEntero(carpeta_.sa(), ruta), ruta);
}

namespace {

const TCodigoEquipo* codigoDe(const TArchivoCodigos& archivo, const std::string& empresa) {
    for (const TCodigoEquipo& e : archivo.equipos)
        if (e.empresa == empresa) return &e;
    return nullptr;
}

std::vector<TCodigoEquipo> codigosDe(const TArchivoCodigos& archivo, const std::vector<std::string>& equipos) {
    std::vector<TCodigoEquipo> codigos;
    for (const std::string& equipo : equipos)
        if (const TCodigoEquipo* c = codigoDe(archivo, equipo)) codigos.push_back(*c);
    return codigos;
}

}  // namespace

void TJuego::guardarCodigos(const TArchivoCodigos& archivo) { reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kArchivoCodigos), textoCodigos(archivo)); }


std::filesystem::path TJuego::rutaEnvio(const std::string& empresa) const {
    return carpeta_.ruta(kCarpetaEnvios) / nombreArchivoEnvio(empresa);
}


// A team's submission for the game as it stands now, if it has one.
std::optional<TRegDecision> TJuego::envioSinBloqueo(const TEstadoJuego& estado, const TArchivoCodigos& codigos,
                                            const std::string& empresa) const {
    const auto ruta = rutaEnvio(empresa);
    if (carpeta_.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno) return std::nullopt;
    const TEnvio envio = leerTextoEnvio(leerArchivoEntero(carpeta_.sa(), ruta), ruta);
    if (envio.juego != codigos.juego || envio.periodo != estado.datos.periodoActual ||
        envio.huella != estado.marca.huella || envio.empresa != empresa)
        return std::nullopt;
    return envio.decision;
}

namespace {

bool periodoAbierto(const TEstadoJuego& estado) {
    return estado.marca.fase == TFase::abierto && estado.datos.cantEquipos > 0;
}

}  // namespace

std::vector<TCodigoEquipo> TJuego::codigosDeAcceso() {
    {
        TBloqueo bloqueo(*this, false);
        const TEstadoJuego estado = estadoSinBloqueo();
        exigirJuego(estado);
        const auto equipos = equiposConCodigo(estado);
        if (const auto archivo = codigosSinBloqueo()) {
            auto codigos = codigosDe(*archivo, equipos);
            if (codigos.size() == equipos.size()) return codigos;
        }
    }
    // Some team has no code yet: written under the exclusive lock, looking again.
    TBloqueo bloqueo(*this, true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirJuego(estado);
    const auto equipos = equiposConCodigo(estado);
    TArchivoCodigos archivo = codigosSinBloqueo().value_or(TArchivoCodigos{identificadorNuevo(), {}});
    for (const std::string& equipo : equipos)
        if (!codigoDe(archivo, equipo)) archivo.equipos.push_back({equipo, codigoNuevo()});
    guardarCodigos(archivo);
    return codigosDe(archivo, equipos);
}

std::vector<TCodigoEquipo> TJuego::codigosGuardados() {
    TBloqueo bloqueo(*this, false);
    const TEstadoJuego estado = estadoSinBloqueo();
    if (!estado.hayJuego) return {};
    const auto archivo = codigosSinBloqueo();
    return archivo ? codigosDe(*archivo, equiposConCodigo(estado)) : std::vector<TCodigoEquipo>{};
}

std::string TJuego::renovarCodigo(const std::string& empresa) {
    TBloqueo bloqueo(*this, true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirJuego(estado);
    const auto equipos = equiposConCodigo(estado);
    if (std::find(equipos.begin(), equipos.end(), empresa) == equipos.end())
        throw ErrorJuego("«" + cp1252AUtf8(empresa) + "» no es un equipo del juego.");
    TArchivoCodigos archivo = codigosSinBloqueo().value_or(TArchivoCodigos{identificadorNuevo(), {}});
    std::string nuevo = codigoNuevo();
    bool hallado = false;
    for (TCodigoEquipo& e : archivo.equipos)
        if (e.empresa == empresa) {
            // A new code is never the old one.
            while (nuevo == e.codigo) nuevo = codigoNuevo();
            e.codigo = nuevo;
            hallado = true;
        }
    if (!hallado) archivo.equipos.push_back({empresa, nuevo});
    guardarCodigos(archivo);
    return nuevo;
}

std::optional<std::string> TJuego::equipoDelCodigo(const std::string& tecleado) {
    TBloqueo bloqueo(*this, false);
    const TEstadoJuego estado = estadoSinBloqueo();
    const auto archivo = estado.hayJuego ? codigosSinBloqueo() : std::nullopt;
    return archivo ? equipoSinBloqueo(estado, *archivo, tecleado) : std::nullopt;
}

std::optional<std::string> TJuego::equipoSinBloqueo(const TEstadoJuego& estado, const TArchivoCodigos& archivo,
                                                    const std::string& tecleado) const {
    const std::string codigo = normalizarCodigo(tecleado);
    // Every code is compared, all the way: the time says nothing of which matched.
    const TCodigoEquipo* hallado = nullptr;
    for (const TCodigoEquipo& e : archivo.equipos) {
        const bool igual = igualesTiempoConstante(codigo, e.codigo);
        if (igual) hallado = &e;
    }
    if (!hallado) return std::nullopt;
    const auto equipos = equiposDelJuego(estado);
    if (std::find(equipos.begin(), equipos.end(), hallado->empresa) == equipos.end()) return std::nullopt;
    return hallado->empresa;
}

// A page of the portal reads the game once, not once per question.
TLecturaPortal TJuego::lecturaDelPortal(const std::string& tecleado) {
    TBloqueo bloqueo(*this, false);
    TLecturaPortal lectura;
    lectura.estado = estadoSinBloqueo();
    if (!lectura.estado.hayJuego) return lectura;
    const auto archivo = codigosSinBloqueo();
    if (!archivo) return lectura;
    lectura.equipo = equipoSinBloqueo(lectura.estado, *archivo, tecleado);
    if (!lectura.equipo) return lectura;
    const int ultimo = lectura.estado.periodo0Corrido() ? std::min(lectura.estado.datos.periodoActual - 1, 10) : -1;
    lectura.periodos = periodosArchivados(carpeta_);
    std::erase_if(lectura.periodos, [ultimo](int p) { return p > ultimo; });
    if (lectura.estado.marca.fase == TFase::abierto && lectura.estado.datos.cantEquipos > 0)
        lectura.envio = envioSinBloqueo(lectura.estado, *archivo, *lectura.equipo);
    return lectura;
}

void TJuego::guardarEnvio(const std::string& empresa, int periodo, const TRegDecision& decision) {
    const TRespuestaEnvio respuesta = guardarEnvios({{std::string(), empresa, periodo, decision}}).front();
    if (respuesta.resultado == TResultadoEnvio::fueraDeRango) throw ErrorDecision(respuesta.mensaje);
    if (respuesta.resultado != TResultadoEnvio::guardado) throw ErrorJuego(respuesta.mensaje);
}

std::vector<TRespuestaEnvio> TJuego::guardarEnvios(const std::vector<TEnvioRecibido>& envios) {
    std::vector<TRespuestaEnvio> respuestas(envios.size());
    if (envios.empty()) return respuestas;
    TBloqueo bloqueo(*this, true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirPeriodoAbierto(estado);
    if (estado.datos.cantEquipos == 0) throw ErrorJuego("No quedan mas equipos, todos han quebrado.");
    const auto codigos = codigosSinBloqueo();
    if (!codigos) throw ErrorJuego("El portal no tiene códigos para este juego.");
    const auto equipos = equiposDelJuego(estado);
    const int actual = estado.datos.periodoActual;

    std::map<std::string, std::size_t> ultimo;  // per team, the submission that counts
    for (std::size_t i = 0; i < envios.size(); ++i) {
        const TEnvioRecibido& e = envios[i];
        TRespuestaEnvio& r = respuestas[i];
        const TCodigoEquipo* suyo = codigoDe(*codigos, e.empresa);
        if (!e.codigo.empty() && (!suyo || !igualesTiempoConstante(normalizarCodigo(e.codigo), suyo->codigo))) {
            r = {TResultadoEnvio::sinSesion, "El código de la empresa cambió: vuelva a entrar con el nuevo."};
        } else if (e.periodo != actual) {
            r = {TResultadoEnvio::rechazado, "El período " + std::to_string(e.periodo) +
                                                 " no está abierto: ahora se reciben las decisiones del período " +
                                                 std::to_string(actual) + "."};
        } else if (std::find(equipos.begin(), equipos.end(), e.empresa) == equipos.end()) {
            r = {TResultadoEnvio::rechazado, "La empresa «" + cp1252AUtf8(e.empresa) + "» ya no participa del juego."};
        } else {
            for (const TRangoDecision& rango : rangosDecision())
                if (!enRango(rango, e.decision.*(rango.campo))) {
                    r = {TResultadoEnvio::fueraDeRango, rango.mensajePantalla};
                    break;
                }
            if (r.resultado == TResultadoEnvio::guardado) ultimo[e.empresa] = i;
        }
    }
    if (ultimo.empty()) return respuestas;

    // Every file is written whole beside its place, all reach the disk with
    // one flush, and only then take their places: a crash leaves each team
    // its old submission or its new one.
    TSistemaArchivos& sa = carpeta_.sa();
    const auto carpeta = carpeta_.ruta(kCarpetaEnvios);
    if (sa.tipo(carpeta) == TSistemaArchivos::Tipo::ninguno) {
        sa.crearCarpeta(carpeta);
        sa.sincronizarCarpeta(carpeta_.ruta());
    }
    std::vector<std::pair<std::filesystem::path, std::string>> archivos;
    for (const auto& [empresa, i] : ultimo)
        archivos.emplace_back(rutaEnvio(empresa),
                              textoEnvio({codigos->juego, actual, estado.marca.huella, empresa, envios[i].decision}));
    reemplazarArchivos(sa, carpeta, archivos);
    return respuestas;
}

std::optional<TRegDecision> TJuego::envioDelEquipo(const std::string& empresa) {
    TBloqueo bloqueo(*this, false);
    const TEstadoJuego estado = estadoSinBloqueo();
    if (!periodoAbierto(estado)) return std::nullopt;
    const auto codigos = codigosSinBloqueo();
    if (!codigos) return std::nullopt;
    return envioSinBloqueo(estado, *codigos, empresa);
}

std::vector<std::optional<TRegDecision>> TJuego::enviosDelPeriodo() {
    TBloqueo bloqueo(*this, false);
    const TEstadoJuego estado = estadoSinBloqueo();
    std::vector<std::optional<TRegDecision>> envios;
    if (!periodoAbierto(estado)) return envios;
    const auto codigos = codigosSinBloqueo();
    if (!codigos) return envios;
    for (const std::string& empresa : equiposDelJuego(estado)) envios.push_back(envioSinBloqueo(estado, *codigos, empresa));
    return envios;
}

int TJuego::guardarDecisionesDelPortal(const TMarca* marca) {
    TBloqueo bloqueo(*this, true);
    const TEstadoJuego estado = estadoSinBloqueo();
    exigirDecisionesAbiertas(estado, marca);
    const auto codigos = codigosSinBloqueo();
    // The computer's companies send nothing: it decides for them.
    const TComputadora computadora = computadoraSinBloqueo();
    std::vector<std::optional<TRegDecision>> decisiones;
    std::string faltan;
    for (const std::string& empresa : equiposDelJuego(estado)) {
        const auto envio = codigos ? envioSinBloqueo(estado, *codigos, empresa) : std::nullopt;
        decisiones.push_back(envio);
        if (!envio && !computadora.de(empresa)) faltan += (faltan.empty() ? "" : ", ") + cp1252AUtf8(empresa);
    }
    if (!faltan.empty())
        throw ErrorJuego("Faltan los envíos del portal del período " + std::to_string(estado.datos.periodoActual) +
                         " de: " + faltan + ".");
    guardarCompletandoSinBloqueo(estado, decisiones);
    return static_cast<int>(decisiones.size());
}

// The register is replaced whole, as every file of the game: a crash
// leaves it as it was before or after the lines of one batch.
void TJuego::anotarEnvios(const std::vector<TAnotacionEnvio>& anotaciones) {
    if (anotaciones.empty()) return;
    TBloqueo bloqueo(*this, true);
    std::string texto = contenidoSiExiste(carpeta_, kArchivoRegistroPortal);
    if (texto.empty()) texto = cabeceraRegistro();
    for (const TAnotacionEnvio& a : anotaciones) texto += lineaRegistro(a);
    reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kArchivoRegistroPortal), texto);
}

std::string TJuego::registroDelPortal() {
    TBloqueo bloqueo(*this, false);
    return contenidoSiExiste(carpeta_, kArchivoRegistroPortal);
}
