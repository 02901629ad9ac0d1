#include "juego/LectorCsv.h"

#include "juego/ArchivoTexto.h"
#include "juego/Juego.h"
#include "engine/ValidarDecision.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <array>
#include <optional>
#include <utility>

namespace fs = std::filesystem;

namespace {

// The decision columns of the file, in the order of the record.
const std::array<const TRangoDecision*, 10>& columnas() { return rangosEnOrdenDelRegistro(); }

// Beyond this many faults the list stops; the game master fixes those first.
constexpr std::size_t kMaxErrores = 30;

/// The fields of one line; a field in double quotes may hold the separator,
/// and "" inside it stands for one quote. Nothing when a quote is left open.
std::optional<std::vector<std::string>> dividir(const std::string& linea, char separador) {
    std::vector<std::string> campos(1);
    bool entreComillas = false;
    for (std::size_t i = 0; i < linea.size(); ++i) {
        char c = linea[i];
        if (entreComillas) {
            if (c == '"' && i + 1 < linea.size() && linea[i + 1] == '"') {
                campos.back() += '"';
                ++i;
            } else if (c == '"') {
                entreComillas = false;
            } else {
                campos.back() += c;
            }
        } else if (c == '"') {
            entreComillas = true;
        } else if (c == separador) {
            campos.emplace_back();
        } else {
            campos.back() += c;
        }
    }
    if (entreComillas) return std::nullopt;
    for (auto& campo : campos) campo = recortar(campo);
    return campos;
}

class Errores {
public:
    void agregar(std::string mensaje) {
        if (lista_.size() < kMaxErrores) lista_.push_back(std::move(mensaje));
        else ++omitidos_;
    }
    bool vacia() const { return lista_.empty(); }
    [[noreturn]] void lanzar() const {
        std::string texto;
        for (const auto& linea : lista_) texto += (texto.empty() ? "" : "\n") + linea;
        if (omitidos_ > 0) texto += "\n(y " + std::to_string(omitidos_) + " errores más)";
        throw ErrorJuego(texto);
    }

private:
    std::vector<std::string> lista_;
    std::size_t omitidos_ = 0;
};

/// The title row: the first line that is not blank.
struct TCabecera {
    std::size_t linea = 0;  ///< its index in the file
    char separador = ',';
    bool conEmpresa = false;
    std::size_t primera = 0;       ///< the column of the first decision
    std::size_t cantColumnas = 0;  ///< columns of every row
};

TCabecera leerCabecera(const std::vector<std::string>& lineas, const fs::path& archivo) {
    TCabecera c;
    while (c.linea < lineas.size() && recortar(lineas[c.linea]).empty()) ++c.linea;
    if (c.linea == lineas.size())
        throw ErrorJuego(textoDeRuta(archivo.filename()) + ": el archivo está vacío; falta la fila de títulos.");
    // A spreadsheet set to a decimal comma separates the fields with ';'.
    const std::string& titulos = lineas[c.linea];
    c.separador = titulos.find(';') != std::string::npos && titulos.find(',') == std::string::npos ? ';' : ',';
    const std::string enCabecera = enLinea(archivo, c.linea + 1);
    auto nombres = dividir(titulos, c.separador);
    if (!nombres) throw ErrorJuego(enCabecera + ": hay comillas sin cerrar.");
    c.conEmpresa = !nombres->empty() && minusculas(nombres->front()) == "empresa";
    c.primera = c.conEmpresa ? 1 : 0;
    c.cantColumnas = c.primera + columnas().size();
    std::string esperada = c.conEmpresa ? "empresa" : "";
    for (const TRangoDecision* r : columnas()) esperada += (esperada.empty() ? "" : ",") + std::string(r->columna);
    if (nombres->size() != c.cantColumnas)
        throw ErrorJuego(enCabecera + ": la fila de títulos tiene " + std::to_string(nombres->size()) +
                         " columnas y se esperaban " + std::to_string(c.cantColumnas) + ": " + esperada);
    Errores errores;
    for (std::size_t k = 0; k < columnas().size(); ++k)
        if (minusculas((*nombres)[c.primera + k]) != minusculas(columnas()[k]->columna))
            errores.agregar(enCabecera + ", columna " + std::to_string(c.primera + k + 1) + ": se esperaba «" +
                            columnas()[k]->columna + "» y dice «" + (*nombres)[c.primera + k] + "».");
    if (!errores.vacia()) errores.lanzar();
    return c;
}

/// The fields of one row into decision, each fault into errores; donde names
/// the line, empresa is the company the row is for (counted from 0).
void leerFila(const std::vector<std::string>& campos, const TCabecera& c, const std::string& donde,
              const std::vector<std::string>& empresas, std::size_t empresa, TRegDecision& decision,
              Errores& errores) {
    if (c.conEmpresa) {
        const std::string enColumna = donde + ", columna 1 (empresa)";
        try {
            std::string nombre = aWindows1252(campos.front(), enColumna);
            if (nombre != recortar(empresas[empresa]))
                errores.agregar(enColumna + ": dice «" + campos.front() + "» y la empresa " +
                                std::to_string(empresa + 1) + " es «" + cp1252AUtf8(empresas[empresa]) + "».");
        } catch (const ErrorJuego& e) {
            errores.agregar(e.what());
        }
    }
    for (std::size_t k = 0; k < columnas().size(); ++k) {
        const TRangoDecision& rango = *columnas()[k];
        const std::string& texto = campos[c.primera + k];
        const std::string enColumna =
            donde + ", columna " + std::to_string(c.primera + k + 1) + " (" + rango.columna + ")";
        auto valor = leerEntero(texto);
        if (!valor) {
            errores.agregar(enColumna + ": «" + texto + "» no es un número entero.");
            continue;
        }
        if (auto falla = fallaDecision(rango, *valor); !falla.empty()) {
            errores.agregar(enColumna + ": " + falla);
            continue;
        }
        decision.*(rango.campo) = *valor;
    }
}

/// The companies without a row, e.g. "2 («Beta»), 3 («Gamma»)", and how many
/// rows were read; a company of the computer may lack one when rows name theirs.
std::pair<std::string, std::size_t> sinFila(const std::vector<std::optional<TRegDecision>>& decisiones,
                                             const std::vector<std::string>& empresas,
                                             const std::vector<bool>& computadora, bool conEmpresa) {
    std::string faltan;
    std::size_t filas = 0;
    for (std::size_t e = 0; e < empresas.size(); ++e) {
        const bool deComputadora = e < computadora.size() && computadora[e];
        if (decisiones[e]) ++filas;
        else if (!deComputadora || !conEmpresa)
            faltan += (faltan.empty() ? "" : ", ") + std::to_string(e + 1) + " («" + cp1252AUtf8(empresas[e]) + "»)";
    }
    return {faltan, filas};
}

}  // namespace

const std::vector<std::string>& columnasDecision() {
    static const std::vector<std::string> nombres = [] {
        std::vector<std::string> v;
        for (const TRangoDecision* r : columnas()) v.emplace_back(r->columna);
        return v;
    }();
    return nombres;
}

std::vector<TRegDecision> leerDecisionesCsv(const std::filesystem::path& archivo,
                                            const std::vector<std::string>& empresas) {
    std::vector<TRegDecision> decisiones;
    // Without companies of the computer every row is there.
    for (const auto& d : leerDecisionesCsv(archivo, empresas, std::vector<bool>(empresas.size(), false)))
        decisiones.push_back(d.value_or(TRegDecision{}));
    return decisiones;
}

std::vector<std::optional<TRegDecision>> leerDecisionesCsv(const std::filesystem::path& archivo,
                                                           const std::vector<std::string>& empresas,
                                                           const std::vector<bool>& computadora) {
    const auto lineas = leerLineas(archivo);
    const TCabecera cabecera = leerCabecera(lineas, archivo);
    Errores errores;
    std::vector<std::optional<TRegDecision>> decisiones(empresas.size());
    std::size_t siguiente = 0;  // the company the next row is for
    auto esDeComputadora = [&](std::size_t e) { return e < computadora.size() && computadora[e]; };
    for (std::size_t i = cabecera.linea + 1; i < lineas.size(); ++i) {
        if (recortar(lineas[i]).empty()) continue;
        const std::string donde = enLinea(archivo, i + 1);
        auto campos = dividir(lineas[i], cabecera.separador);
        // A company of the computer may be left out when rows name their
        // company: the row goes to the next company of that name.
        if (cabecera.conEmpresa && campos && !campos->empty())
            if (const auto nombre = utf8ACp1252(campos->front())) {
                std::size_t e = siguiente;
                while (e < empresas.size() && esDeComputadora(e) && *nombre != recortar(empresas[e])) ++e;
                if (e < empresas.size() && *nombre == recortar(empresas[e])) siguiente = e;
            }
        const std::size_t empresa = siguiente++;  // this row is company empresa + 1
        if (empresa >= empresas.size()) {
            errores.agregar(donde + ": sobra esta fila; el juego tiene " + std::to_string(empresas.size()) +
                            " empresas activas.");
            continue;
        }
        decisiones[empresa] = TRegDecision{};
        if (!campos) errores.agregar(donde + ": hay comillas sin cerrar.");
        else if (campos->size() != cabecera.cantColumnas)
            errores.agregar(donde + ": tiene " + std::to_string(campos->size()) + " columnas y se esperaban " +
                            std::to_string(cabecera.cantColumnas) + ".");
        else leerFila(*campos, cabecera, donde, empresas, empresa, *decisiones[empresa], errores);
    }
    const auto [faltan, filas] = sinFila(decisiones, empresas, computadora, cabecera.conEmpresa);
    if (!faltan.empty())
        errores.agregar(textoDeRuta(archivo.filename()) + ": tiene " + std::to_string(filas) +
                        " filas de decisiones y el juego tiene " + std::to_string(empresas.size()) +
                        " empresas activas; faltan las de " + faltan + ".");
    if (!errores.vacia()) errores.lanzar();
    return decisiones;
}
