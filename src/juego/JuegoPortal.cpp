// The teams' portal in the game core: the access codes of the game's teams,
// their submissions for the open period, and the portal's register.

#include "juego/Juego.h"

#include "juego/BloqueoJuego.h"
#include "engine/ValidarDecision.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/NombresArchivos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <algorithm>
#include <map>
#include <unordered_set>
#include <utility>

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

// A new code that no line of the file has (the team's old one included):
// two teams with one code would be one team to the portal.
std::string codigoLibre(const TArchivoCodigos& archivo) {
    for (;;) {
        std::string codigo = codigoNuevo();
        if (std::none_of(archivo.equipos.begin(), archivo.equipos.end(),
                         [&](const TCodigoEquipo& e) { return e.codigo == codigo; }))
            return codigo;
    }
}

bool periodoAbierto(const TEstadoJuego& estado) {
    return estado.marca.fase == TFase::abierto && estado.datos.cantEquipos > 0;
}

// What one submission gets, checked against the game as it stands: guardado
// when it is to be stored.
TRespuestaEnvio respuestaAlEnvio(const TEnvioRecibido& e, const TArchivoCodigos& codigos,
                                 const std::vector<std::string>& equipos, int actual) {
    const TCodigoEquipo* suyo = codigoDe(codigos, e.empresa);
    if (!e.codigo.empty() && (!suyo || !igualesTiempoConstante(normalizarCodigo(e.codigo), suyo->codigo)))
        return {TResultadoEnvio::sinSesion, "El código de la empresa cambió: vuelva a entrar con el nuevo."};
    if (e.periodo != actual)
        return {TResultadoEnvio::rechazado, "El período " + std::to_string(e.periodo) +
                                                " no está abierto: ahora se reciben las decisiones del período " +
                                                std::to_string(actual) + "."};
    if (std::find(equipos.begin(), equipos.end(), e.empresa) == equipos.end())
        return {TResultadoEnvio::rechazado, "La empresa «" + cp1252AUtf8(e.empresa) + "» ya no participa del juego."};
    for (const TRangoDecision& rango : rangosDecision())
        if (!enRango(rango, e.decision.*(rango.campo))) return {TResultadoEnvio::fueraDeRango, rango.mensajePantalla};
    return {};
}

}  // namespace

// The teams that get a code for the portal: the computer's companies send nothing.
std::vector<std::string> TJuego::equiposConCodigo(const TBloqueoJuego& bloqueo, const TEstadoJuego& estado) const {
    auto equipos = equiposDelJuego(bloqueo, estado);
    const TComputadora computadora = this->computadora(bloqueo);
    std::erase_if(equipos, [&](const std::string& e) { return computadora.de(e) != nullptr; });
    return equipos;
}

std::optional<TArchivoCodigos> TJuego::archivoCodigos(const TBloqueoJuego&) const {
    const auto ruta = carpeta_.ruta(kArchivoCodigos);
    if (carpeta_.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno) return std::nullopt;
    TArchivoCodigos archivo = leerTextoCodigos(leerArchivoEntero(carpeta_.sa(), ruta), ruta);
    // Codes are given to the game's teams only: those set up, or companies
    // with results (a bankrupt team keeps its line). The results are read
    // only for a name the set-up lacks: the portal looks here on every page.
    const std::vector<std::string> nombres = TDatosjuego(carpeta_).leerNombres();
    std::unordered_set<std::string> conocidos(nombres.begin(), nombres.end());
    bool conResultados = false;
    for (std::size_t i = 0; i < archivo.equipos.size(); ++i) {
        const std::string& empresa = archivo.equipos[i].empresa;
        if (conocidos.contains(empresa)) continue;
        if (!std::exchange(conResultados, true))
            if (TDatosAcum resultados(carpeta_); resultados.cantidadAcum() > 0)
                for (const TRegDatosAcum& r : resultados.leerTodos()) conocidos.insert(aTexto(r.nombreEmpresa));
        if (!conocidos.contains(empresa))
            throw codigosDanados(ruta, "la línea " + std::to_string(i + 3) + " es de «" + cp1252AUtf8(empresa) +
                                           "», que no es un equipo del juego");
    }
    return archivo;
}

void TJuego::guardarCodigos(const TBloqueoEscritura&, const TArchivoCodigos& archivo) {
    // Unconfirmed, the new codes are in place and the old ones dead: the caller must still show them.
    cambiarSinConfirmarEsAviso("Los códigos quedaron guardados", [&] {
        reemplazarArchivo(carpeta_.sa(), carpeta_.ruta(kArchivoCodigos), textoCodigos(archivo));
    });
}

std::vector<TCodigoEquipo> TJuego::codigosDeAcceso() {
    {
        TBloqueoLectura bloqueo(*this);
        const TEstadoJuego estado = leerEstado(bloqueo);
        exigirJuego(estado);
        const auto equipos = equiposConCodigo(bloqueo, estado);
        if (const auto archivo = archivoCodigos(bloqueo)) {
            auto codigos = codigosDe(*archivo, equipos);
            if (codigos.size() == equipos.size()) return codigos;
        }
    }
    // Some team has no code yet: written under the exclusive lock, looking again.
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirJuego(estado);
    const auto equipos = equiposConCodigo(bloqueo, estado);
    TArchivoCodigos archivo = archivoCodigos(bloqueo).value_or(TArchivoCodigos{identificadorNuevo(), {}});
    for (const std::string& equipo : equipos)
        if (!codigoDe(archivo, equipo)) archivo.equipos.push_back({equipo, codigoLibre(archivo)});
    guardarCodigos(bloqueo, archivo);
    return codigosDe(archivo, equipos);
}

std::vector<TCodigoEquipo> TJuego::codigosGuardados() {
    TBloqueoLectura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    if (!estado.hayJuego) return {};
    const auto archivo = archivoCodigos(bloqueo);
    return archivo ? codigosDe(*archivo, equiposConCodigo(bloqueo, estado)) : std::vector<TCodigoEquipo>{};
}

std::string TJuego::renovarCodigo(const std::string& empresa) {
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirJuego(estado);
    const auto equipos = equiposConCodigo(bloqueo, estado);
    if (std::find(equipos.begin(), equipos.end(), empresa) == equipos.end())
        throw ErrorJuego("«" + cp1252AUtf8(empresa) + "» no es un equipo del juego.");
    TArchivoCodigos archivo = archivoCodigos(bloqueo).value_or(TArchivoCodigos{identificadorNuevo(), {}});
    const std::string nuevo = codigoLibre(archivo);
    bool hallado = false;
    for (TCodigoEquipo& e : archivo.equipos)
        if (e.empresa == empresa) {
            e.codigo = nuevo;
            hallado = true;
        }
    if (!hallado) archivo.equipos.push_back({empresa, nuevo});
    guardarCodigos(bloqueo, archivo);
    return nuevo;
}

std::vector<TCodigoEquipo> TJuego::renovarCodigos() {
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirJuego(estado);
    // The game's codes keep their mark, and with it the teams' submissions;
    // a damaged file gets a new one: a submission made under a code two
    // teams shared may be either team's.
    TArchivoCodigos archivo{identificadorNuevo(), {}};
    try {
        if (const auto anterior = archivoCodigos(bloqueo)) archivo.juego = anterior->juego;
    } catch (const ErrorArchivoDanado&) {
    }
    for (const std::string& equipo : equiposConCodigo(bloqueo, estado))
        archivo.equipos.push_back({equipo, codigoLibre(archivo)});
    guardarCodigos(bloqueo, archivo);
    return archivo.equipos;
}

std::optional<std::string> TJuego::equipoDelCodigo(const std::string& tecleado) {
    TBloqueoLectura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    const auto archivo = estado.hayJuego ? archivoCodigos(bloqueo) : std::nullopt;
    return archivo ? equipoDelCodigo(bloqueo, estado, *archivo, tecleado) : std::nullopt;
}

std::optional<std::string> TJuego::equipoDelCodigo(const TBloqueoJuego& bloqueo, const TEstadoJuego& estado,
                                                   const TArchivoCodigos& archivo, const std::string& tecleado) const {
    const std::string codigo = normalizarCodigo(tecleado);
    // Every code is compared, all the way: the time says nothing of which matched.
    const TCodigoEquipo* hallado = nullptr;
    for (const TCodigoEquipo& e : archivo.equipos) {
        const bool igual = igualesTiempoConstante(codigo, e.codigo);
        if (igual) hallado = &e;
    }
    if (!hallado) return std::nullopt;
    const auto equipos = equiposDelJuego(bloqueo, estado);
    if (std::find(equipos.begin(), equipos.end(), hallado->empresa) == equipos.end()) return std::nullopt;
    return hallado->empresa;
}

// A page of the portal reads the game once, not once per question.
TLecturaPortal TJuego::lecturaDelPortal(const std::string& tecleado) {
    TBloqueoLectura bloqueo(*this);
    TLecturaPortal lectura;
    lectura.estado = leerEstado(bloqueo);
    if (!lectura.estado.hayJuego) return lectura;
    const auto archivo = archivoCodigos(bloqueo);
    if (!archivo) return lectura;
    lectura.equipo = equipoDelCodigo(bloqueo, lectura.estado, *archivo, tecleado);
    if (!lectura.equipo) return lectura;
    const int ultimo = lectura.estado.periodo0Corrido() ? std::min(lectura.estado.datos.periodoActual - 1, 10) : -1;
    lectura.periodos = periodosArchivados(carpeta_);
    std::erase_if(lectura.periodos, [ultimo](int p) { return p > ultimo; });
    if (periodoAbierto(lectura.estado)) lectura.envio = envioDe(bloqueo, lectura.estado, *archivo, *lectura.equipo);
    return lectura;
}

std::filesystem::path TJuego::rutaEnvio(const std::string& empresa) const {
    return carpeta_.ruta(kCarpetaEnvios) / nombreArchivoEnvio(empresa);
}

// A team's submission for the game as it stands now, if it has one.
std::optional<TRegDecision> TJuego::envioDe(const TBloqueoJuego&, const TEstadoJuego& estado,
                                            const TArchivoCodigos& codigos, const std::string& empresa) const {
    const auto ruta = rutaEnvio(empresa);
    if (carpeta_.sa().tipo(ruta) == TSistemaArchivos::Tipo::ninguno) return std::nullopt;
    const TEnvio envio = leerTextoEnvio(leerArchivoEntero(carpeta_.sa(), ruta), ruta);
    if (envio.juego != codigos.juego || envio.periodo != estado.datos.periodoActual ||
        envio.huella != estado.marca.huella || envio.empresa != empresa)
        return std::nullopt;
    return envio.decision;
}

void TJuego::guardarEnvio(const std::string& empresa, int periodo, const TRegDecision& decision) {
    const TRespuestaEnvio respuesta = guardarEnvios({{std::string(), empresa, periodo, decision}}).front();
    if (respuesta.resultado == TResultadoEnvio::fueraDeRango) throw ErrorDecision(respuesta.mensaje);
    if (respuesta.resultado != TResultadoEnvio::guardado) throw ErrorJuego(respuesta.mensaje);
}

std::vector<TRespuestaEnvio> TJuego::guardarEnvios(const std::vector<TEnvioRecibido>& envios,
                                                   const std::vector<TAnotacionEnvio>& otrasAnotaciones) {
    std::vector<TRespuestaEnvio> respuestas(envios.size());
    if (envios.empty() && otrasAnotaciones.empty()) return respuestas;
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirPeriodoAbierto(estado);
    if (estado.datos.cantEquipos == 0) throw ErrorJuego("No quedan más equipos: todos han quebrado.");
    const auto codigos = archivoCodigos(bloqueo);
    if (!codigos) throw ErrorJuego("El portal no tiene códigos para este juego.");
    const auto equipos = equiposDelJuego(bloqueo, estado);
    const int actual = estado.datos.periodoActual;

    std::map<std::string, std::size_t> ultimo;  // per team, the submission that counts
    std::vector<TAnotacionEnvio> registro = otrasAnotaciones;
    for (std::size_t i = 0; i < envios.size(); ++i) {
        respuestas[i] = respuestaAlEnvio(envios[i], *codigos, equipos, actual);
        const bool guardado = respuestas[i].resultado == TResultadoEnvio::guardado;
        if (guardado) ultimo[envios[i].empresa] = i;
        if (envios[i].anotacion) {
            registro.push_back(*envios[i].anotacion);
            registro.back().aceptado = guardado;
            registro.back().motivo = respuestas[i].mensaje;
        }
    }
    if (ultimo.empty()) {
        agregarAlRegistro(bloqueo, registro);
        return respuestas;
    }

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
    // The register takes the batch's lines once the files are on the disk and
    // before they take their places: a stored submission always has its line.
    // Unconfirmed, they are stored and in the register: the teams are told so, the teacher of the doubt.
    cambiarSinConfirmarEsAviso("Los envíos quedaron guardados", [&] {
        reemplazarArchivos(sa, carpeta, archivos, [&] { agregarAlRegistro(bloqueo, registro); });
    });
    return respuestas;
}

std::optional<TRegDecision> TJuego::envioDelEquipo(const std::string& empresa) {
    TBloqueoLectura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    if (!periodoAbierto(estado)) return std::nullopt;
    const auto codigos = archivoCodigos(bloqueo);
    if (!codigos) return std::nullopt;
    return envioDe(bloqueo, estado, *codigos, empresa);
}

std::vector<std::optional<TRegDecision>> TJuego::enviosDelPeriodo() {
    TBloqueoLectura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    std::vector<std::optional<TRegDecision>> envios;
    if (!periodoAbierto(estado)) return envios;
    const auto codigos = archivoCodigos(bloqueo);
    if (!codigos) return envios;
    for (const std::string& empresa : equiposDelJuego(bloqueo, estado))
        envios.push_back(envioDe(bloqueo, estado, *codigos, empresa));
    return envios;
}

int TJuego::guardarDecisionesDelPortal(const TMarca* marca) {
    TBloqueoEscritura bloqueo(*this);
    const TEstadoJuego estado = leerEstado(bloqueo);
    exigirDecisionesAbiertas(estado, marca);
    const auto codigos = archivoCodigos(bloqueo);
    // The computer's companies send nothing: it decides for them.
    const TComputadora computadora = this->computadora(bloqueo);
    std::vector<std::optional<TRegDecision>> decisiones;
    std::string faltan;
    for (const std::string& empresa : equiposDelJuego(bloqueo, estado)) {
        const auto envio = codigos ? envioDe(bloqueo, estado, *codigos, empresa) : std::nullopt;
        decisiones.push_back(envio);
        if (!envio && !computadora.de(empresa)) faltan += (faltan.empty() ? "" : ", ") + cp1252AUtf8(empresa);
    }
    if (!faltan.empty())
        throw ErrorJuego("Faltan los envíos del portal del período " + std::to_string(estado.datos.periodoActual) +
                         " de: " + faltan + ".");
    guardarDecisionesCompletas(bloqueo, estado, decisiones);
    return static_cast<int>(decisiones.size());
}

void TJuego::anotarEnvios(const std::vector<TAnotacionEnvio>& anotaciones) {
    if (anotaciones.empty()) return;
    TBloqueoEscritura bloqueo(*this);
    agregarAlRegistro(bloqueo, anotaciones);
}

// The register only grows: a batch's lines are appended with one write and
// one sync, never the whole file written again.
void TJuego::agregarAlRegistro(const TBloqueoEscritura&, const std::vector<TAnotacionEnvio>& anotaciones) {
    if (anotaciones.empty()) return;
    std::string lineas;
    for (const TAnotacionEnvio& a : anotaciones) lineas += lineaRegistro(a);
    agregarLineas(carpeta_.sa(), carpeta_.ruta(kArchivoRegistroPortal), lineas, cabeceraRegistro());
}

std::string TJuego::registroDelPortal() {
    TBloqueoLectura bloqueo(*this);
    return contenidoSiExiste(bloqueo, kArchivoRegistroPortal);
}
