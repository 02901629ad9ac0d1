#include "cli/Juego.h"

#include "cli/Consola.h"
#include "cli/Errores.h"
#include "engine/USimular.h"
#include "reports/Reportes_UD.h"
#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Decision_UD.h"
#include "store/ValoresGlobales.h"

#include <system_error>

namespace {

constexpr const char* kParametros = "DATOS INICIALES.DAT";
constexpr const char* kResultados = "DATOS ACUMULADOS.DAT";
constexpr const char* kDecisiones = "DECISIONES.DAT";

int registros(const char* archivo, std::uintmax_t tamano) {
    std::error_code error;
    auto bytes = std::filesystem::file_size(rutaDatos(archivo), error);
    return error ? 0 : static_cast<int>(bytes / tamano);
}

void exigirJuego(const TEstadoJuego& estado) {
    if (!estado.hayJuego)
        throw ErrorJuego("No hay un juego en «" + carpetaDatos().string() +
                         "». Empiece uno con la orden «nuevo».");
}

void exigirPeriodoAbierto(const TEstadoJuego& estado) {
    exigirJuego(estado);
    if (estado.terminado()) throw ErrorJuego("El juego terminó: ya se simularon los diez períodos.");
    if (!estado.periodo0Corrido())
        throw ErrorJuego("Todavía no se corrió el período 0: el archivo de resultados tiene " +
                         std::to_string(estado.empresasConResultados) + " de " +
                         std::to_string(estado.datos.cantEquipos) + " empresas. Use la orden «periodo0».");
}

void borrar(const char* archivo) {
    std::error_code error;
    std::filesystem::remove(rutaDatos(archivo), error);
    if (error) throw ErrorJuego("No se pudo borrar «" + rutaDatos(archivo).string() + "»: " + error.message());
}

}  // namespace

TEstadoJuego leerEstado() {
    TEstadoJuego estado;
    TDatosjuego().leerDatosIniciales(estado.datos);
    estado.hayJuego = estado.datos.periodoActual >= 1;
    estado.empresasConResultados = TDatosAcum().cantidadAcum();
    estado.decisionesGuardadas = registros(kDecisiones, sizeof(TRegDecision));
    return estado;
}

void reanudar() {
    if (!std::filesystem::exists(rutaDatos(kParametros))) return;
    TRegDatosIniciales datos{};
    TDatosjuego().leerDatosIniciales(datos);
    IndemnizacionPorEmpleado = datos.indemXEmpleado;
    ValorPenalidad = datos.penalidad;
}

void crearJuego(const std::vector<std::string>& equipos, const TTextosDatosIniciales& textos) {
    if (equipos.empty() || equipos.size() > 255)
        throw ErrorJuego("Un juego tiene de 1 a 255 equipos, no " + std::to_string(equipos.size()) + ".");
    if (const auto fallas = fallasNombresEquipos(equipos); !fallas.empty()) {
        std::string texto;
        for (const auto& falla : fallas) texto += (texto.empty() ? "" : "\n") + falla;
        throw ErrorJuego(texto);
    }
    TRegDatosIniciales datos{};
    try {
        datos = armarDatosIniciales(textos, static_cast<uint8_t>(equipos.size()));
    } catch (const ErrorParametro& e) {
        // The tool names the key of its file, not the box of the screen.
        throw ErrorJuego(e.clave() + ": " + e.falla());
    }
    TDatosjuego juego;
    for (std::size_t i = 0; i < equipos.size(); ++i) juego.guardarNombre(static_cast<uint8_t>(i), equipos[i]);
    guardarJuegoNuevo(datos);
    // Results and decisions of an earlier game would let its period be run
    // on the new companies; the new game starts without them.
    borrar(kResultados);
    borrar(kDecisiones);
}

void correrPeriodo0(TDecisionesPeriodo0 decisiones) {
    const TEstadoJuego estado = leerEstado();
    exigirJuego(estado);
    if (estado.datos.periodoActual > 1 && estado.periodo0Corrido())
        throw ErrorJuego("El período 0 ya se corrió y el juego va por el período " +
                         std::to_string(estado.datos.periodoActual) +
                         ". Para empezar de nuevo use la orden «nuevo».");
    decisiones.nombreBancoA = aTexto(estado.datos.nombreBancoA);
    decisiones.nombreBancoB = aTexto(estado.datos.nombreBancoB);
    // As on the period-0 screen, nobody repays anything in period 0.
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
    const TEstadoJuego estado = leerEstado();
    std::vector<std::string> nombres;
    TDatosAcum resultados;
    for (int i = 1; i <= estado.datos.cantEquipos && i <= estado.empresasConResultados; ++i) {
        TRegDatosAcum registro{};
        resultados.leerAcum(static_cast<uint8_t>(i), registro);
        nombres.push_back(aTexto(registro.nombreEmpresa));
    }
    return nombres;
}

void guardarDecisiones(const std::vector<TRegDecision>& decisiones) {
    comprobarPeriodoAbierto();
    const TEstadoJuego estado = leerEstado();
    if (decisiones.size() != estado.datos.cantEquipos)
        throw ErrorJuego("Hay " + std::to_string(decisiones.size()) + " decisiones y " +
                         std::to_string(estado.datos.cantEquipos) + " empresas activas.");
    const int antes = notificadorConsola().advertencias();
    TDecision archivo;
    archivo.vaciarDecisiones();
    for (std::size_t i = 0; i < decisiones.size(); ++i) archivo.guardarDecision(decisiones[i], static_cast<uint8_t>(i));
    // The store reports a failed write only as a warning and goes on.
    if (notificadorConsola().advertencias() != antes ||
        registros(kDecisiones, sizeof(TRegDecision)) != static_cast<int>(decisiones.size()))
        throw ErrorJuego("No se pudieron guardar todas las decisiones en «" + rutaDatos(kDecisiones).string() + "».");
}

int simular() {
    const TEstadoJuego estado = leerEstado();
    exigirPeriodoAbierto(estado);
    if (estado.decisionesGuardadas < estado.datos.cantEquipos)
        throw ErrorJuego("Faltan decisiones del período " + std::to_string(estado.datos.periodoActual) + ": hay " +
                         std::to_string(estado.decisionesGuardadas) + " de " +
                         std::to_string(estado.datos.cantEquipos) + " empresas. Cárguelas con la orden «decisiones».");
    simularPeriodo();
    return estado.datos.periodoActual;
}

int volver() {
    if (!restaurarRespaldo()) throw ErrorJuego("No hay un período para deshacer.");
    return leerEstado().datos.periodoActual;
}
