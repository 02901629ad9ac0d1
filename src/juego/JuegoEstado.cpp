// The game object itself: where the stored game stands, and the checks every
// operation makes of it before it reads or changes anything.

#include "juego/Juego.h"

#include "juego/BloqueoJuego.h"
#include "store/ArchivoRegistros.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/NombresArchivos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <cstring>

TJuego::TJuego(std::filesystem::path carpeta, TSistemaArchivos& sistema) : carpeta_(std::move(carpeta), sistema) {}

void TJuego::tomarValores(const TRegDatosIniciales& datos) {
    indemnizacionPorEmpleado_ = datos.indemXEmpleado;
    valorPenalidad_ = datos.penalidad;
}

std::string TJuego::contenidoSiExiste(const TBloqueoJuego&, const char* nombre) const {
    const auto ruta = carpeta_.ruta(nombre);
    return carpeta_.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno ? std::string()
                                                                        : leerArchivoEntero(carpeta_.sa(), ruta);
}

namespace {

// Counters no game can reach, and files that do not match them.
void comprobarContadores(const TCarpeta& carpeta, const TEstadoJuego& estado, const std::string& nombres) {
    const TRegDatosIniciales& d = estado.datos;
    if (d.periodoActual < 1 || d.periodoActual > 11 ||
        d.cantEquipos != d.cantEquiposZona1 + d.cantEquiposZona2 + d.cantEquiposZona3)
        throw ErrorArchivoDanado(carpeta.ruta(kArchivoParametros), "sus contadores son imposibles");
    comprobarParametros(d, carpeta.ruta(kArchivoParametros));
    if (nombres.size() % sizeof(TRegNombre) != 0)
        throw ErrorArchivoDanado(carpeta.ruta(kArchivoNombres), "no tiene registros enteros");
    if (estado.empresasConResultados > 0 && estado.empresasConResultados < d.cantEquipos)
        throw ErrorArchivoDanado(carpeta.ruta(kArchivoResultados), "faltan los resultados de algunas empresas");
    // A game past period 1, or whose period 0 is filed, has run period 0:
    // without its results it is damaged, not a game to start again.
    if (estado.empresasConResultados == 0 && d.cantEquipos > 0 &&
        (d.periodoActual > 1 ||
         carpeta.sa().tipo(carpetaDePeriodo(carpeta, 0) / kArchivoResultados) != TSistemaArchivos::Tipo::ninguno))
        throw ErrorArchivoDanado(carpeta.ruta(kArchivoResultados), "falta o está vacío, y el juego ya corrió el período 0");
}

TFase faseDe(const TEstadoJuego& estado) {
    if (!estado.hayJuego) return TFase::sinJuego;
    if (!estado.periodo0Corrido()) return TFase::preparado;
    if (estado.terminado()) return TFase::terminado;
    return TFase::abierto;
}

}  // namespace

TEstadoJuego TJuego::leerEstado(const TBloqueoJuego& bloqueo) const {
    TEstadoJuego estado;
    TDatosjuego(carpeta_).leerDatosIniciales(estado.datos);
    const TRegDatosIniciales& d = estado.datos;
    estado.hayJuego = d.periodoActual >= 1;
    const std::string nombres = contenidoSiExiste(bloqueo, kArchivoNombres);
    const std::string resultados = contenidoSiExiste(bloqueo, kArchivoResultados);
    // Read once: for the count, the contents' check and the fingerprint.
    if (resultados.size() % sizeof(TRegDatosAcum) != 0)
        throw ErrorArchivoDanado(carpeta_.ruta(kArchivoResultados), "tiene " + std::to_string(resultados.size()) +
                                                                        " bytes, que no son registros enteros de " +
                                                                        std::to_string(sizeof(TRegDatosAcum)));
    std::vector<TRegDatosAcum> empresas(resultados.size() / sizeof(TRegDatosAcum));
    if (!resultados.empty()) std::memcpy(empresas.data(), resultados.data(), resultados.size());
    comprobarEmpresas(empresas, carpeta_.ruta(kArchivoResultados));
    estado.empresasConResultados = static_cast<int>(empresas.size());
    const auto decisiones = leerRegistros<TRegDecision>(carpeta_.sa(), carpeta_.ruta(kArchivoDecisiones));
    estado.decisionesGuardadas = decisiones ? static_cast<int>(decisiones->size()) : 0;
    if (carpeta_.sa().tipo(carpeta_.ruta(kArchivoParametros)) != TSistemaArchivos::Tipo::ninguno)
        comprobarContadores(carpeta_, estado, nombres);
    TMarca& m = estado.marca;
    m.fase = faseDe(estado);
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

void TJuego::exigirMarca(const TEstadoJuego& estado, const TMarca* marca) {
    if (marca && !(*marca == estado.marca)) throw ErrorJuegoCambiado(mensajeJuegoCambiado(estado));
}

void TJuego::exigirDecisionesAbiertas(const TEstadoJuego& estado, const TMarca* marca) const {
    exigirMarca(estado, marca);
    exigirPeriodoAbierto(estado);
    if (estado.datos.cantEquipos == 0) throw ErrorJuego("No quedan más equipos: todos han quebrado.");
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
    TBloqueoLectura bloqueo(*this);
    return leerEstado(bloqueo);
}

TEstadoJuego TJuego::reanudar() {
    TBloqueoLectura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    if (!estado.hayJuego) throw ErrorJuego("No hay un juego guardado en esta carpeta.");
    tomarValores(estado.datos);
    return estado;
}

void TJuego::comprobarPeriodoAbierto() {
    const TEstadoJuego estado = leerEstado();
    exigirPeriodoAbierto(estado);
    if (estado.datos.cantEquipos == 0) throw ErrorJuego("No quedan más equipos: todos han quebrado.");
}

TRegDatosIniciales TJuego::parametros() {
    TBloqueoLectura bloqueo(*this);
    return leerEstado(bloqueo).datos;
}

std::vector<std::string> TJuego::empresasActivas() {
    TBloqueoLectura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    if (estado.empresasConResultados == 0) return {};
    return equiposDelJuego(bloqueo, estado);
}

// The teams of the game as the portal knows them: the active companies, or
// before period 0 the teams set up.
std::vector<std::string> TJuego::equiposDelJuego(const TBloqueoJuego&, const TEstadoJuego& estado) const {
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
