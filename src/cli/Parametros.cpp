#include "cli/Parametros.h"

#include "cli/Consola.h"
#include "cli/Errores.h"
#include "reports/Reportes_UD.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <algorithm>
#include <map>

namespace {

// The bank name boxes of the screen take at most 10 characters.
constexpr std::size_t kLargoBanco = 10;
// The counters and the company index of the game files are single bytes.
constexpr std::size_t kMaxEquipos = 255;
constexpr std::size_t kLargoNombre = 50;

// The boxes the screen opens with a text may be left out of the file.
bool obligatoria(const TParametro& p) { return textoPorOmision(p).empty(); }

/// A decimal as the screen reads it, or written with '.', which is how most
/// people write one in a text file whatever their regional settings. Returns
/// the text in the regional format, or nothing when it is not a number.
std::optional<std::string> decimalRegional(const std::string& valor) {
    if (leerDecimal(valor)) return valor;
    const char separador = separadorDecimal();
    if (separador == '.' || std::count(valor.begin(), valor.end(), '.') != 1) return std::nullopt;
    std::string regional = valor;
    std::replace(regional.begin(), regional.end(), '.', separador);
    if (leerDecimal(regional)) return regional;
    return std::nullopt;
}

std::string juntar(const std::vector<std::string>& lineas) {
    std::string texto;
    for (const auto& linea : lineas) texto += (texto.empty() ? "" : "\n") + linea;
    return texto;
}

}  // namespace

TEquiposLeidos leerEquipos(const std::filesystem::path& archivo, std::size_t adicionales) {
    TEquiposLeidos leidos;
    std::vector<std::string> errores;
    std::size_t cantidad = 0;
    const auto lineas = leerLineas(archivo);
    for (std::size_t i = 0; i < lineas.size(); ++i) {
        std::string nombre = recortar(lineas[i]);
        if (nombre.empty()) continue;
        ++cantidad;
        const std::string donde = enLinea(archivo, i + 1);
        try {
            nombre = aWindows1252(nombre, donde);
        } catch (const ErrorJuego& e) {
            errores.push_back(e.what());
            continue;
        }
        if (nombre.size() > kLargoNombre) {
            nombre.resize(kLargoNombre);
            leidos.avisos.push_back(donde + ": el nombre tiene más de 50 caracteres; se guarda «" +
                                    cp1252AUtf8(nombre) + "».");
        }
        leidos.nombres.push_back(nombre);
    }
    // Reports are named after the company: two names that give one file name would lose reports.
    for (const auto& falla : fallasNombresEquipos(leidos.nombres))
        errores.push_back(textoDeRuta(archivo.filename()) + ": " + falla);
    cantidad += adicionales;
    if (cantidad == 0)
        errores.push_back(textoDeRuta(archivo.filename()) +
                          ": Es necesario ingresar al menos un equipo para continuar.");
    if (cantidad > kMaxEquipos)
        errores.push_back(textoDeRuta(archivo.filename()) + ": hay " + std::to_string(cantidad) +
                          " equipos y el juego admite a lo sumo 255.");
    if (!errores.empty()) throw ErrorJuego(juntar(errores));
    return leidos;
}

const std::vector<std::string>& clavesParametros() {
    static const std::vector<std::string> nombres = [] {
        std::vector<std::string> v;
        for (const TParametro& p : kTablaParametros) v.emplace_back(p.clave);
        return v;
    }();
    return nombres;
}

namespace {

// One value of the file into its box, its faults into errores.
void leerValor(const TParametro& p, const std::string& valor, const std::string& enClave, TParametrosLeidos& leidos,
               std::vector<std::string>& errores) {
    std::string& campo = leidos.textos.*p.texto;
    if (esNombre(p)) {
        try {
            campo = mayusculas1252(aWindows1252(valor, enClave));
        } catch (const ErrorJuego& e) {
            errores.push_back(e.what());
            return;
        }
        if (campo.size() > kLargoBanco) errores.push_back(enClave + ": «" + valor + "» tiene más de 10 caracteres.");
    } else if (esDecimal(p)) {
        const auto regional = decimalRegional(valor);
        if (!regional) {
            errores.push_back(enClave + ": «" + valor + "» no es un número.");
            return;
        }
        campo = *regional;
        if (auto falla = fallaParametro(p, *leerDecimal(campo), valor); !falla.empty())
            errores.push_back(enClave + ": " + falla);
    } else {
        const auto numero = leerEntero(valor);
        if (!numero) {
            errores.push_back(enClave + ": «" + valor + "» no es un número entero.");
            return;
        }
        campo = valor;
        if (auto falla = fallaParametro(p, *numero, valor); !falla.empty()) errores.push_back(enClave + ": " + falla);
        if (esByte(p) && (*numero < 0 || *numero > 255))
            leidos.avisos.push_back(enClave + ": " + valor + " se guarda como " + std::to_string(*numero & 0xFF) +
                                    ", pues el archivo guarda este dato en un byte (de 0 a 255).");
    }
}

}  // namespace

TParametrosLeidos leerParametros(const std::filesystem::path& archivo) {
    TParametrosLeidos leidos;
    std::vector<std::string> errores;
    std::map<const TParametro*, std::size_t> vistas;  // key -> line
    const auto lineas = leerLineas(archivo);
    for (std::size_t i = 0; i < lineas.size(); ++i) {
        const std::string donde = enLinea(archivo, i + 1);
        std::string linea = lineas[i];
        if (auto comentario = linea.find('#'); comentario != std::string::npos) linea.resize(comentario);
        linea = recortar(linea);
        if (linea.empty()) continue;
        auto igual = linea.find('=');
        if (igual == std::string::npos) {
            errores.push_back(donde + ": se esperaba «clave = valor» y dice «" + linea + "».");
            continue;
        }
        const std::string nombre = recortar(linea.substr(0, igual));
        const TParametro* parametro = parametroDeClave(nombre);
        if (!parametro) {
            errores.push_back(donde + ": la clave «" + nombre + "» no existe.");
            continue;
        }
        if (auto [pos, nueva] = vistas.emplace(parametro, i + 1); !nueva) {
            errores.push_back(donde + ": la clave «" + parametro->clave + "» ya figura en la línea " +
                              std::to_string(pos->second) + ".");
            continue;
        }
        leerValor(*parametro, recortar(linea.substr(igual + 1)), donde + ": " + parametro->clave, leidos, errores);
    }
    for (const TParametro& p : kTablaParametros)
        if (obligatoria(p) && !vistas.contains(&p))
            errores.push_back(textoDeRuta(archivo.filename()) + ": falta la clave «" + p.clave + "».");
    if (!errores.empty()) throw ErrorJuego(juntar(errores));
    return leidos;
}
