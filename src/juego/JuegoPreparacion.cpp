// Setting up a game (its teams, its parameters, the computer's companies, a
// practice game) and changing its parameters afterwards.

#include "juego/Juego.h"

#include "juego/BloqueoJuego.h"
#include "juego/CorridaPeriodo0.h"
#include "juego/Practica.h"
#include "reports/Reportes_UD.h"
#include "store/ArchivoRegistros.h"
#include "store/Datos_UD.h"
#include "store/ModificarDatos.h"
#include "store/NombresArchivos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"
#include "store/Transaccion.h"

#include <algorithm>

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

// The computer plays companies of the game, each once.
void comprobarComputadora(const std::vector<std::string>& equipos, const TComputadora& computadora) {
    for (std::size_t i = 0; i < computadora.empresas.size(); ++i) {
        const std::string& nombre = computadora.empresas[i].nombre;
        if (std::find(equipos.begin(), equipos.end(), nombre) == equipos.end())
            throw ErrorJuego("«" + cp1252AUtf8(nombre) + "» no es una empresa del juego.");
        for (std::size_t j = 0; j < i; ++j)
            if (computadora.empresas[j].nombre == nombre)
                throw ErrorJuego("«" + cp1252AUtf8(nombre) + "» está dos veces entre las empresas de la computadora.");
    }
}

}  // namespace

// The names file with these names over its first records; names of an older,
// larger game beyond them stay, unread.
std::string TJuego::nombresNuevos(const TBloqueoJuego&, const std::vector<std::string>& equipos) const {
    auto nombres = leerRegistros<TRegNombre>(carpeta_.sa(), carpeta_.ruta(kArchivoNombres))
                       .value_or(std::vector<TRegNombre>{});
    if (nombres.size() < equipos.size()) nombres.resize(equipos.size());
    for (std::size_t i = 0; i < equipos.size(); ++i) {
        nombres[i] = TRegNombre{};
        asignar(nombres[i].nombreEquipo, equipos[i]);
    }
    return bytesDeRegistros(nombres);
}

void TJuego::comprobarNombresEquipos(const std::vector<std::string>& equipos) const { comprobarEquipos(equipos); }

void TJuego::prepararJuego(const TBloqueoEscritura&, TTransaccion& transaccion, const std::string& nombres,
                           const TRegDatosIniciales& datos, const TComputadora& computadora) {
    // The old game's history is kept, aside, so that nothing of it is shown
    // as the new game's; its results, decisions and checkpoint go.
    if (carpeta_.sa().tipo(carpeta_.ruta(kCarpetaHistorial)) != TSistemaArchivos::Tipo::ninguno) {
        int n = 1;
        while (carpeta_.sa().tipo(carpeta_.ruta(historialAnterior(n))) != TSistemaArchivos::Tipo::ninguno) ++n;
        transaccion.apartarCarpeta(kCarpetaHistorial, historialAnterior(n));
    }
    for (const char* archivo : {kArchivoResultados, kArchivoDecisiones, kRespaldoResultados, kRespaldoDecisiones,
                                kRespaldoParametros, kArchivoCodigos, kArchivoPractica})
        transaccion.eliminar(archivo);
    transaccion.escribir(kArchivoNombres, nombres);
    transaccion.escribir(kArchivoParametros, bytesDeRegistros(std::vector<TRegDatosIniciales>{datos}));
    // Which companies the computer plays lives in a file of its own: the
    // game files stay what every other program of the game reads.
    if (computadora.empresas.empty()) transaccion.eliminar(kArchivoComputadora);
    else transaccion.escribir(kArchivoComputadora, textoComputadora(computadora));
}

void TJuego::crearJuego(const std::vector<std::string>& equipos, const TTextosDatosIniciales& textos,
                        const TComputadora& computadora) {
    comprobarEquipos(equipos);
    comprobarComputadora(equipos, computadora);
    const TRegDatosIniciales datos = armarDatosIniciales(textos, static_cast<uint8_t>(equipos.size()));

    TBloqueoEscritura bloqueo(*this, TPreparandoJuego{});
    const std::string nombres = nombresNuevos(bloqueo, equipos);
    TTransaccion transaccion(carpeta_, "El armado del juego nuevo se interrumpió; el juego anterior quedó como estaba.",
                             "El armado del juego nuevo se interrumpió y se completó.");
    prepararJuego(bloqueo, transaccion, nombres, datos, computadora);
    const std::string aviso = transaccion.confirmar();
    tomarValores(datos);
    avisar(aviso);
}

void TJuego::crearPractica(const std::string& equipo, std::size_t cantidad, std::optional<TEstilo> estilo,
                           std::uint64_t semilla) {
    std::vector<std::string> equipos{equipo};
    const TComputadora computadora = agregarComputadora(equipos, cantidad, estilo, semilla);
    comprobarEquipos(equipos);
    comprobarComputadora(equipos, computadora);
    const TRegDatosIniciales datos = armarDatosIniciales(ejemploDatosIniciales(), static_cast<uint8_t>(equipos.size()));
    // As correrPeriodo0 takes them: the stored banks, nothing repaid.
    TDecisionesPeriodo0 decisiones = ejemploPeriodo0();
    decisiones.nombreBancoA = aTexto(datos.nombreBancoA);
    decisiones.nombreBancoB = aTexto(datos.nombreBancoB);
    decisiones.devPrestamoA = 0;
    decisiones.devPrestamoB = 0;
    // Period 0 creates the active zone's companies, as it would read them from the names just staged.
    const std::vector<std::string> zona(equipos.begin(),
                                        equipos.begin() + std::min<std::size_t>(datos.cantEquiposZona1, equipos.size()));

    // The set-up and its period 0 are one change: interrupted, the folder
    // stays as it was and a second practice can be set up in it.
    TBloqueoEscritura bloqueo(*this, TPreparandoJuego{});
    const std::string nombres = nombresNuevos(bloqueo, equipos);
    TTransaccion transaccion(carpeta_, "El armado de la práctica se interrumpió; la carpeta quedó como estaba.",
                             "El armado de la práctica se interrumpió y se completó: el período 0 ya se corrió.");
    prepararJuego(bloqueo, transaccion, nombres, datos, computadora);
    transaccion.escribir(kArchivoPractica, textoPractica(equipo));
    // The new game has no results yet: the old ones go with the set-up.
    prepararPeriodo0(carpeta_, transaccion, datos, zona, datos.zonaActiva == 1, {}, decisiones);
    const std::string aviso = transaccion.confirmar();
    tomarValores(datos);
    avisar(aviso);
}

void TJuego::avisar(const std::string& aviso) {
    if (!aviso.empty()) notificador_->advertencia(cp1252("Atención"), utf8ACp1252(aviso).value_or(aviso));
}

void TJuego::modificarDatos(const TTextosDatosIniciales& textos, const TMarca* marca) {
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirMarca(estado, marca);
    exigirJuego(estado);
    // Unconfirmed, the new parameters are in place all the same: the game takes them.
    const TRegDatosIniciales nuevos = aplicarModificaciones(estado.datos, textos);
    cambiarSinConfirmarEsAviso("Los datos quedaron guardados", [&] { guardarModificaciones(carpeta_, textos); });
    tomarValores(nuevos);
}

