#include "juego/LectorCsv.h"

#include "juego/ArchivoTexto.h"
#include "juego/Juego.h"
#include "engine/ValidarDecision.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <array>
#include <optional>

namespace {

struct Columna {
    const char* nombre;
    int32_t TRegDecision::*campo;
};

const std::array<Columna, 10> kColumnas = {{
    {"precio", &TRegDecision::precio},
    {"nivelProduccion", &TRegDecision::nivelProduccion},
    {"capacitacion", &TRegDecision::capacitacion},
    {"marketing", &TRegDecision::marketing},
    {"invYDes", &TRegDecision::invYDes},
    {"invPlanta", &TRegDecision::invPlanta},
    {"pedPrestamoA", &TRegDecision::pedPrestamoA},
    {"pedPrestamoB", &TRegDecision::pedPrestamoB},
    {"devPrestamoA", &TRegDecision::devPrestamoA},
    {"devPrestamoB", &TRegDecision::devPrestamoB},
}};

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

}  // namespace

const std::vector<std::string>& columnasDecision() {
    static const std::vector<std::string> nombres = [] {
        std::vector<std::string> v;
        for (const Columna& c : kColumnas) v.emplace_back(c.nombre);
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
    Errores errores;

    std::size_t cabecera = 0;
    while (cabecera < lineas.size() && recortar(lineas[cabecera]).empty()) ++cabecera;
    if (cabecera == lineas.size())
        throw ErrorJuego(textoDeRuta(archivo.filename()) + ": el archivo está vacío; falta la fila de títulos.");

    // A spreadsheet set to a decimal comma separates the fields with ';'.
    const std::string& titulos = lineas[cabecera];
    const char separador =
        titulos.find(';') != std::string::npos && titulos.find(',') == std::string::npos ? ';' : ',';
    const std::string enCabecera = enLinea(archivo, cabecera + 1);
    auto nombres = dividir(titulos, separador);
    if (!nombres) throw ErrorJuego(enCabecera + ": hay comillas sin cerrar.");
    const bool conEmpresa = !nombres->empty() && minusculas(nombres->front()) == "empresa";
    const std::size_t primera = conEmpresa ? 1 : 0;
    const std::size_t cantColumnas = primera + kColumnas.size();
    std::string esperada = conEmpresa ? "empresa" : "";
    for (const Columna& c : kColumnas) esperada += (esperada.empty() ? "" : ",") + std::string(c.nombre);
    if (nombres->size() != cantColumnas)
        throw ErrorJuego(enCabecera + ": la fila de títulos tiene " + std::to_string(nombres->size()) +
                         " columnas y se esperaban " + std::to_string(cantColumnas) + ": " + esperada);
    for (std::size_t k = 0; k < kColumnas.size(); ++k)
        if (minusculas((*nombres)[primera + k]) != minusculas(kColumnas[k].nombre))
            errores.agregar(enCabecera + ", columna " + std::to_string(primera + k + 1) + ": se esperaba «" +
                            kColumnas[k].nombre + "» y dice «" + (*nombres)[primera + k] + "».");
    if (!errores.vacia()) errores.lanzar();

    std::vector<std::optional<TRegDecision>> decisiones(empresas.size());
    std::size_t siguiente = 0;  // the company the next row is for
    auto esDeComputadora = [&](std::size_t e) { return e < computadora.size() && computadora[e]; };
    for (std::size_t i = cabecera + 1; i < lineas.size(); ++i) {
        if (recortar(lineas[i]).empty()) continue;
        const std::string donde = enLinea(archivo, i + 1);
        auto campos = dividir(lineas[i], separador);
        // A company of the computer may be left out when rows name their
        // company: the row goes to the next company of that name.
        if (conEmpresa && campos && !campos->empty())
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
        if (!campos) {
            errores.agregar(donde + ": hay comillas sin cerrar.");
            continue;
        }
        if (campos->size() != cantColumnas) {
            errores.agregar(donde + ": tiene " + std::to_string(campos->size()) + " columnas y se esperaban " +
                            std::to_string(cantColumnas) + ".");
            continue;
        }
        if (conEmpresa) {
            const std::string enColumna = donde + ", columna 1 (empresa)";
            try {
                std::string nombre = aWindows1252(campos->front(), enColumna);
                if (nombre != recortar(empresas[empresa]))
                    errores.agregar(enColumna + ": dice «" + campos->front() + "» y la empresa " +
                                    std::to_string(empresa + 1) + " es «" + cp1252AUtf8(empresas[empresa]) + "».");
            } catch (const ErrorJuego& e) {
                errores.agregar(e.what());
            }
        }
        for (std::size_t k = 0; k < kColumnas.size(); ++k) {
            const std::string& texto = (*campos)[primera + k];
            const std::string enColumna =
                donde + ", columna " + std::to_string(primera + k + 1) + " (" + kColumnas[k].nombre + ")";
            auto valor = leerEntero(texto);
            if (!valor) {
                errores.agregar(enColumna + ": «" + texto + "» no es un número entero.");
                continue;
            }
            if (auto falla = fallaDecision(rangoDecision(kColumnas[k].campo), *valor); !falla.empty()) {
                errores.agregar(enColumna + ": " + falla);
                continue;
            }
            (*decisiones[empresa]).*(kColumnas[k].campo) = *valor;
        }
    }
    std::string faltan;
    std::size_t filas = 0;
    for (std::size_t e = 0; e < empresas.size(); ++e) {
        if (decisiones[e]) ++filas;
        else if (!esDeComputadora(e) || !conEmpresa)
            faltan += (faltan.empty() ? "" : ", ") + std::to_string(e + 1) + " («" + cp1252AUtf8(empresas[e]) + "»)";
    }
    if (!faltan.empty())
        errores.agregar(textoDeRuta(archivo.filename()) + ": tiene " + std::to_string(filas) +
                        " filas de decisiones y el juego tiene " + std::to_string(empresas.size()) +
                        " empresas activas; faltan las de " + faltan + ".");
    if (!errores.vacia()) errores.lanzar();
    return decisiones;
}
