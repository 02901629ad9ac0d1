#include "cli/Ordenes.h"

#include "cli/Consola.h"
#include "cli/Demo.h"
#include "cli/Errores.h"
#include "juego/Juego.h"
#include "juego/Planilla.h"
#include "juego/LectorCsv.h"
#include "engine/ValidarDecision.h"
#include "cli/Linea.h"
#include "cli/OrdenesComputadora.h"
#include "cli/Parametros.h"
#include "reports/Posiciones.h"
#include "store/CarpetaDatos.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <algorithm>
#include <memory>
#include <functional>
#include <iostream>
#include <optional>

namespace fs = std::filesystem;

namespace {

struct TOrden {
    const char* nombre;
    std::size_t minimo, maximo;  // arguments
    std::string uso;
    std::function<void(const TLinea&)> ejecutar;
};

void ordenNuevo(const TLinea&);
void ordenPeriodo0(const TLinea&);
void ordenDecisiones(const TLinea&);
void ordenSimular(const TLinea&);
void ordenVolver(const TLinea&);
void ordenEstado(const TLinea&);
void ordenDemo(const TLinea&);
void ordenExportar(const TLinea&);
void ordenCodigos(const TLinea&);
void ordenEnvios(const TLinea&);

// The decisions periodo0 takes, in the table's order: all but the
// repayments, since nothing is owed before period 0.
const std::vector<const TRangoDecision*>& decisionesPeriodo0() {
    static const std::vector<const TRangoDecision*> lista = [] {
        std::vector<const TRangoDecision*> v;
        for (const TRangoDecision& r : rangosDecision())
            if (r.campo != &TRegDecision::devPrestamoA && r.campo != &TRegDecision::devPrestamoB) v.push_back(&r);
        return v;
    }();
    return lista;
}

// "periodo0 PRECIO MARKETING …": its arguments are the table's.
std::string usoPeriodo0() {
    std::string uso = "periodo0";
    for (const TRangoDecision* r : decisionesPeriodo0()) uso += std::string(" ") + r->argumento;
    return uso;
}

const std::vector<TOrden>& ordenes() {
    static const std::vector<TOrden> lista = {
        {"nuevo", 2, 6, "nuevo EQUIPOS PARAMETROS [--computadora N] [--estilo E]", ordenNuevo},
        {"practica", 1, 5, "practica CARPETA [--computadora N] [--estilo E]",
         [](const TLinea& l) { ordenPractica(l.argumentos); }},
        {"periodo0", decisionesPeriodo0().size(), decisionesPeriodo0().size(), usoPeriodo0(), ordenPeriodo0},
        {"decisiones", 1, 1, "decisiones ARCHIVO.csv|--portal", ordenDecisiones},
        {"simular", 0, 0, "simular", ordenSimular},
        {"volver", 0, 0, "volver", ordenVolver},
        {"estado", 0, 0, "estado", ordenEstado},
        {"demo", 0, 1, "demo [CARPETA]", ordenDemo},
        {"exportar", 1, 1, "exportar ARCHIVO.xlsx|ARCHIVO.csv", ordenExportar},
        {"pdf", 2, 2, "pdf PERIODO CARPETA", ordenPdf},
        {"graficos", 1, 1, "graficos CARPETA", ordenGraficos},
        {"codigos", 0, 2, "codigos [--renovar [EQUIPO]]", ordenCodigos},
        {"portal", 0, 8, "portal [--puerto P] [--direccion A] [--hasta HH:MM] [--conexiones-por-direccion N]", ordenPortal},
        {"envios", 0, 1, "envios [PERIODO]", ordenEnvios},
    };
    return lista;
}

TLinea interpretar(const std::vector<std::string>& argumentos) {
    TLinea linea;
    for (std::size_t i = 0; i < argumentos.size(); ++i) {
        const std::string& a = argumentos[i];
        if (a == "--help" || a == "-h" || a == "--ayuda") {
            linea.ayuda = true;
        } else if (a == "--datos") {
            if (i + 1 == argumentos.size() || argumentos[i + 1].empty())
                throw ErrorUso("falta la carpeta después de --datos.");
            linea.carpeta = rutaDeTexto(argumentos[++i]);
        } else if (a.starts_with("--datos=")) {
            if (a.size() == 8) throw ErrorUso("falta la carpeta después de --datos=.");
            linea.carpeta = rutaDeTexto(std::string_view(a).substr(8));
        } else if (!linea.orden.empty()) {
            linea.argumentos.push_back(a);  // may be a negative number
        } else if (a.starts_with("-")) {
            throw ErrorUso("opción desconocida «" + a + "».");
        } else {
            linea.orden = a;
        }
    }
    return linea;
}

/// "1 empresa", "3 empresas".
std::string empresas(std::size_t cantidad) { return std::to_string(cantidad) + (cantidad == 1 ? " empresa" : " empresas"); }

void ordenNuevo(const TLinea& linea) {
    // Both files are read and checked before the folder is touched.
    const TOpcionesComputadora computadora = leerOpcionesComputadora(linea.argumentos, 2);
    TEquiposLeidos equipos = leerEquipos(rutaDeTexto(linea.argumentos[0]), computadora.cantidad);
    const TParametrosLeidos parametros = leerParametros(rutaDeTexto(linea.argumentos[1]));
    for (const auto& aviso : equipos.avisos) std::cerr << "Aviso: " << aviso << '\n';
    for (const auto& aviso : parametros.avisos) std::cerr << "Aviso: " << aviso << '\n';
    const TComputadora deLaComputadora =
        agregarComputadora(equipos.nombres, computadora.cantidad, computadora.estilo, semillaNueva());
    const auto juego = usarCarpeta(linea, true);
    try {
        juego->crearJuego(equipos.nombres, parametros.textos, deLaComputadora);
    } catch (const ErrorParametro& e) {
        // The tool names the key of its file, not the box of the screen.
        throw ErrorJuego(e.clave() + ": " + e.falla());
    }
    const std::size_t deEquipos = equipos.nombres.size() - computadora.cantidad;
    std::cout << "Juego nuevo en «" << textoDeRuta(juego->ruta()) << "» con " << deEquipos
              << (deEquipos == 1 ? " equipo" : " equipos") << textoDeComputadora(computadora.cantidad)
              << ". Siga con la orden «periodo0».\n";
}

void ordenPeriodo0(const TLinea& linea) {
    TRegDecision leida{};
    for (std::size_t i = 0; i < decisionesPeriodo0().size(); ++i) {
        const TRangoDecision& r = *decisionesPeriodo0()[i];
        leida.*r.campo = argumentoEntero(r.argumento, linea.argumentos[i]);
    }
    const auto juego = usarCarpeta(linea, false);
    // Nothing is read after the change: once it is made, the tool says so.
    const TResultadoCorrida corrida = juego->correrPeriodo0(decisionesPeriodo0(leida, {}, {}));
    std::cout << "Período 0 corrido para " << empresas(static_cast<std::size_t>(corrida.empresas))
              << ". Siga con las decisiones del período 1.\n";
}

// The warnings on the rows of the file, one line each; a row left to the
// computer is its decision, not the file's, and is not warned about.
std::vector<std::string> avisosDelArchivo(TJuego& juego, const std::vector<std::optional<TRegDecision>>& leidas) {
    std::vector<TRegDecision> completas;
    std::vector<std::optional<TRegDecision>> computadora;
    for (std::size_t i = 0; i < leidas.size(); ++i) {
        if (!leidas[i] && computadora.empty()) computadora = juego.decisionesComputadora();
        const auto& d = leidas[i] ? leidas[i] : computadora.at(i);
        if (!d) return {};  // a team without a row: the store refuses it, naming it
        completas.push_back(*d);
    }
    std::vector<std::string> lineas;
    const std::vector<TAvisosEmpresa> porEmpresa = juego.avisosDeDecisiones(completas);
    for (std::size_t i = 0; i < porEmpresa.size(); ++i)
        if (leidas[i])
            for (const TAvisoDecision& a : porEmpresa[i].avisos)
                lineas.push_back("Aviso: " + cp1252AUtf8(porEmpresa[i].empresa) + ": " + a.texto);
    return lineas;
}

void ordenDecisiones(const TLinea& linea) {
    const auto juego = usarCarpeta(linea, false);
    juego->comprobarPeriodoAbierto();
    // Stored only for the period checked: a run by another program meanwhile
    // makes it a refusal, not a wrong period. Nothing is read after the change.
    const TMarca marca = juego->leerEstado().marca;
    if (linea.argumentos[0] == "--portal") {
        const int cuantas = juego->guardarDecisionesDelPortal(&marca);
        std::cout << "Decisiones del período " << marca.periodo << " guardadas desde el portal para "
                  << empresas(static_cast<std::size_t>(cuantas)) << ". Siga con la orden «simular».\n";
        return;
    }
    const auto decisiones = leerDecisionesDelJuego(*juego, rutaDeTexto(linea.argumentos[0]));
    const std::vector<std::string> avisos = avisosDelArchivo(*juego, decisiones);
    juego->guardarDecisionesCompletas(decisiones, &marca);
    for (const std::string& aviso : avisos) std::cout << aviso << '\n';
    std::cout << "Decisiones del período " << marca.periodo << " guardadas para " << empresas(decisiones.size())
              << ". Siga con la orden «simular».\n";
}

void ordenSimular(const TLinea& linea) {
    const auto juego = usarCarpeta(linea, false);
    const int periodo = juego->simular().periodo;
    std::cout << "Período " << periodo << " simulado; los informes están en «" << textoDeRuta(juego->ruta()) << "».\n";
    if (periodo >= 10) std::cout << "El juego terminó.\n";
    else std::cout << "Siga con las decisiones del período " << periodo + 1 << ".\n";
}

void ordenVolver(const TLinea& linea) {
    const auto juego = usarCarpeta(linea, false);
    const int periodo = juego->volver();
    std::cout << "Se volvió atrás: el período " << periodo
              << " está abierto de nuevo, con las decisiones que se habían cargado.\n";
}

/// text padded with blanks to ancho characters (Windows-1252: one byte each).
std::string columna(std::string texto1252, std::size_t ancho) {
    if (texto1252.size() < ancho) texto1252.append(ancho - texto1252.size(), ' ');
    return cp1252AUtf8(texto1252);
}

void ordenEstado(const TLinea& linea) {
    const auto juego = usarCarpeta(linea, false);
    const TEstadoJuego estado = juego->leerEstado();
    if (!estado.hayJuego) throw ErrorJuego("No hay un juego en «" + textoDeRuta(juego->ruta()) + "».");
    const auto& d = estado.datos;
    std::cout << "Juego en «" << textoDeRuta(juego->ruta()) << "»\n";
    if (!estado.periodo0Corrido()) std::cout << "Próximo período: 0 (todavía no se corrió)\n";
    else if (estado.terminado()) std::cout << "Próximo período: ninguno; el juego terminó\n";
    else std::cout << "Próximo período: " << static_cast<int>(d.periodoActual) << '\n';
    std::cout << "Zona: " << d.nroZona << '\n';
    std::cout << "Empresas activas: " << static_cast<int>(d.cantEquipos);
    if (estado.periodo0Corrido() && !estado.terminado() && d.cantEquipos > 0)
        std::cout << (estado.decisionesGuardadas >= d.cantEquipos ? " (decisiones cargadas)" : " (faltan decisiones)");
    std::cout << '\n';
    if (!estado.periodo0Corrido()) return;
    auto posiciones = juego->posiciones();
    const TComputadora computadora = juego->computadora();
    std::size_t ancho = 7;
    for (TFilaPosicion& fila : posiciones) {
        fila.nombre += marcaComputadora(computadora, fila.nombre);
        ancho = std::max(ancho, fila.nombre.size());
    }
    std::cout << "\nPos.  " << columna("Empresa", ancho) << "  Utilidad acumulada\n";
    for (const TFilaPosicion& fila : posiciones) {
        std::cout << enteroAlineado(fila.posicion, 4) << "  " << columna(fila.nombre, ancho) << "  "
                  << enteroAlineado(fila.utilidadAcumulada, 18) << '\n';
    }
}

void ordenDemo(const TLinea& linea) {
    std::optional<fs::path> carpeta = linea.carpeta;
    if (!linea.argumentos.empty()) carpeta = rutaDeTexto(linea.argumentos[0]);
    jugarDemo(carpeta);
}

void ordenExportar(const TLinea& linea) {
    const fs::path archivo = fs::absolute(rutaDeTexto(linea.argumentos[0]));
    if (!esFormatoDePlanilla(archivo))
        throw ErrorUso("la planilla se exporta como ARCHIVO.xlsx o ARCHIVO.csv, no «" + linea.argumentos[0] + "».");
    const auto juego = usarCarpeta(linea, false);
    exportarPlanilla(*juego, archivo);
    std::cout << "Planilla de la temporada exportada en «" << textoDeRuta(archivo) << "».\n";
}

void ordenCodigos(const TLinea& linea) {
    const auto& a = linea.argumentos;
    if (!a.empty() && a[0] != "--renovar")
        throw ErrorUso("la orden se escribe «corvelian-cli [--datos CARPETA] codigos [--renovar [EQUIPO]]».");
    const auto juego = usarCarpeta(linea, false);
    const auto mostrar = [](const std::vector<TCodigoEquipo>& codigos) {
        for (const TCodigoEquipo& e : codigos) std::cout << cp1252AUtf8(e.empresa) << '\t' << e.codigo << '\n';
    };
    if (a.empty()) return mostrar(juego->codigosDeAcceso());
    if (a.size() == 1) {
        // Every team at once: also the way out of a damaged codes file.
        mostrar(juego->renovarCodigos());
        std::cout << "Las sesiones de todos los equipos en el portal terminaron; entran de nuevo con los códigos nuevos.\n";
        return;
    }
    const auto equipo = utf8ACp1252(a[1]);
    if (!equipo) throw ErrorJuego("«" + a[1] + "» no es un equipo del juego.");
    // The portal checks a session's code on every request: the old code's
    // sessions end with it, in this program or another.
    const std::string nuevo = juego->renovarCodigo(*equipo);
    std::cout << a[1] << '\t' << nuevo << '\n'
              << "Las sesiones del equipo en el portal terminaron; entra de nuevo con el código nuevo.\n";
}

void ordenEnvios(const TLinea& linea) {
    std::optional<int> periodo;
    if (!linea.argumentos.empty()) {
        periodo = argumentoEntero("PERIODO", linea.argumentos[0]);
        if (*periodo < 1 || *periodo > 10) throw ErrorUso("PERIODO: el período va de 1 a 10.");
    }
    const auto juego = usarCarpeta(linea, false);
    std::cout << registroDelPeriodo(juego->registroDelPortal(), periodo);
}

}  // namespace

/// The game in the folder given, or in the default one (beside the
/// program, or the user's data folder when the program is installed).
std::unique_ptr<TJuego> usarCarpeta(const TLinea& linea, bool crear) {
    fs::path carpeta = fs::absolute(linea.carpeta ? *linea.carpeta : carpetaDatosPorOmision());
    std::error_code error;
    if (crear) fs::create_directories(carpeta, error);
    if (!fs::is_directory(carpeta, error)) throw ErrorJuego("La carpeta «" + textoDeRuta(carpeta) + "» no existe.");
    auto juego = std::make_unique<TJuego>(carpeta);
    // An interrupted change is finished or undone by the order's first look
    // at the game, and said so through this notifier.
    juego->fijarNotificador(&notificadorConsola());
    return juego;
}

int32_t argumentoEntero(const std::string& nombre, const std::string& texto) {
    if (auto valor = leerEntero(texto)) return *valor;
    throw ErrorUso(nombre + ": «" + texto + "» no es un número entero.");
}

namespace {

// "los títulos [empresa,]precio,…": the CSV's columns, wrapped within the help's width.
std::string titulosCsv() {
    constexpr std::size_t kAncho = 78;
    const std::string sangria = "      ";
    std::string texto, linea = sangria + "los títulos [empresa,]";
    const auto& columnas = columnasDecision();
    for (std::size_t i = 0; i < columnas.size(); ++i) {
        const std::string columna = columnas[i] + (i + 1 < columnas.size() ? "," : "");
        if (linea.size() + columna.size() > kAncho) {
            texto += linea + "\n";
            linea = sangria;
        }
        linea += columna;
    }
    return texto + linea + "\n";
}

}  // namespace

std::string textoAyuda() {
    return R"(Uso: corvelian-cli [--datos CARPETA] ORDEN [ARGUMENTOS]

Juega una partida de CORVELIAN sobre los mismos archivos que la ventana.
CARPETA es la carpeta del juego; por omisión, la del programa cuando se
puede escribir en ella y, si el programa está instalado, la carpeta de datos
del usuario ($XDG_DATA_HOME/corvelian o ~/.local/share/corvelian).

Órdenes:
  nuevo EQUIPOS PARAMETROS [--computadora N] [--estilo E]
      Arma un juego nuevo. EQUIPOS: un nombre de equipo por línea.
      PARAMETROS: líneas «clave = valor», una por dato de la pantalla de
      datos iniciales (vea ejemplos/parametros.ini). Con --computadora, N
      empresas más que juega la computadora (EQUIPOS puede quedar vacío),
      con nombres que elige el programa; E es prudente, agresivo,
      innovador, imitador o mezcla (uno de cada uno por turno, por omisión).
  practica CARPETA [--computadora N] [--estilo E]
      Arma en CARPETA una práctica para un alumno: su empresa, «Mi empresa»,
      y N empresas de la computadora (5 y mezcla por omisión), con los datos
      del ejemplo y el período 0 ya corrido.
  )" + usoPeriodo0() + R"(
      Corre el período 0 con las decisiones comunes a todas las empresas.
  decisiones ARCHIVO.csv
      Guarda las decisiones del período actual, una fila por empresa, con
)" + titulosCsv() + R"(      Con la columna empresa, las filas de las empresas de la computadora
      pueden faltar: ella decide por las que falten. Cada fila que pida a
      un banco más de lo que todavía presta, deje fondos que no alcanzan o
      despida empleados se guarda igual, con una línea «Aviso: …».
  decisiones --portal
      Guarda como decisiones del período actual las que los equipos
      enviaron por el portal; se rechaza, nombrando a los que faltan, si
      algún equipo activo no envió las suyas.
  simular
      Simula el período actual con las decisiones guardadas; si todas las
      empresas son de la computadora y no hay decisiones, ella las toma.
  volver
      Deshace el último período simulado (Volver atrás).
  estado
      Muestra el próximo período, la zona y las empresas por utilidad
      acumulada; las de la computadora llevan «(computadora)».
  demo [CARPETA]
      Juega una partida de ejemplo completa en CARPETA (por omisión, una
      carpeta nueva «corvelian-demo» en la carpeta actual).
  exportar ARCHIVO.xlsx | exportar ARCHIVO.csv
      Exporta la temporada (del período 0 al último simulado) a una
      planilla: .xlsx con las hojas Resultados, Decisiones y Parametros, o
      .csv con los resultados.
  pdf PERIODO CARPETA
      Escribe en CARPETA los PDF del período: uno por empresa, con su
      informe, su aviso si lo tuvo y el informe de la industria, y otro con
      todos los informes para el docente, que termina con una hoja de gráficos.
  graficos CARPETA
      Escribe en CARPETA un PNG de 1280×720 por medida, con una línea por
      empresa del período 0 al último simulado: utilidad_acumulada.png,
      utilidad_periodo.png, unidades_vendidas.png, participacion.png,
      precio.png, efectivo.png, deuda.png, stock_unidades.png, empleados.png.
  codigos
      Muestra «NOMBRE<TAB>CÓDIGO» por equipo activo: los códigos de acceso
      al portal (los crea si el juego no los tiene).
  codigos --renovar [EQUIPO]
      Da un código nuevo al equipo, o a todos sin EQUIPO: el anterior deja
      de valer y las sesiones abiertas con él terminan. Sin EQUIPO rehace
      también un archivo de códigos dañado.
  portal [--puerto P] [--direccion A] [--hasta HH:MM] [--conexiones-por-direccion N]
      Abre el portal de equipos en la red del aula (puerto 8080 por
      omisión) hasta recibir Ctrl+C; muestra las direcciones a escribir.
      Con --hasta, los envíos del período abierto después de esa hora de
      hoy se rechazan diciendo el plazo. Cada dirección puede tener hasta
      16 conexiones a la vez; un aula detrás de una sola dirección (NAT)
      necesita más: --conexiones-por-direccion N (de 1 a 4096).
  envios [PERIODO]
      Muestra en CSV el registro de los envíos del portal (todos, o los de
      un período): hora, período, equipo, dirección, los diez valores como
      se escribieron, si se guardó y por qué se rechazó.

Opciones:
  --datos CARPETA   la carpeta del juego
  --help            esta ayuda

Códigos de salida: 0 si todo salió bien, 1 ante un error del juego o de un
archivo, 2 ante un error en la línea de órdenes.
)";
}

void ejecutarLineaDeOrdenes(const std::vector<std::string>& argumentos) {
    const TLinea linea = interpretar(argumentos);
    if (linea.ayuda) {
        std::cout << textoAyuda();
        return;
    }
    if (linea.orden.empty()) throw ErrorUso("falta la orden.");
    for (const TOrden& orden : ordenes()) {
        if (linea.orden != orden.nombre) continue;
        if (linea.argumentos.size() < orden.minimo || linea.argumentos.size() > orden.maximo)
            throw ErrorUso("la orden se escribe «corvelian-cli [--datos CARPETA] " + std::string(orden.uso) + "».");
        orden.ejecutar(linea);
        return;
    }
    throw ErrorUso("orden desconocida «" + linea.orden + "».");
}
