#include "juego/ArchivoTexto.h"

#include "juego/Juego.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <cctype>
#include <charconv>
#include <exception>
#include <fstream>
#include <iterator>

namespace {

/// Length of the UTF-8 sequence that starts with byte b; 0 when b cannot start one.
std::size_t largoUtf8(unsigned char b) {
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    if ((b & 0xF8) == 0xF0) return 4;
    return 0;
}

std::string codigoUnicode(std::string_view caracter) {
    char32_t codigo = static_cast<unsigned char>(caracter[0]) & (0x7F >> caracter.size());
    for (std::size_t k = 1; k < caracter.size(); ++k)
        codigo = (codigo << 6) | (static_cast<unsigned char>(caracter[k]) & 0x3F);
    char hexadecimal[16];
    const auto fin = std::to_chars(hexadecimal, hexadecimal + sizeof hexadecimal, static_cast<unsigned>(codigo), 16).ptr;
    std::string texto(hexadecimal, fin);
    for (char& c : texto) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return "U+" + std::string(texto.size() < 4 ? 4 - texto.size() : 0, '0') + texto;
}

}  // namespace

std::string aWindows1252(std::string_view utf8, const std::string& donde) {
    if (auto convertido = utf8ACp1252(utf8)) return *convertido;
    // Find the culprit, so the message can show it.
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t largo = largoUtf8(static_cast<unsigned char>(utf8[i]));
        bool valido = largo != 0 && i + largo <= utf8.size();
        for (std::size_t k = 1; valido && k < largo; ++k)
            valido = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
        if (!valido)
            throw ErrorJuego(donde + ": el texto no está en UTF-8 (guarde el archivo con codificación UTF-8).");
        std::string_view caracter = utf8.substr(i, largo);
        if (!utf8ACp1252(caracter))
            throw ErrorJuego(donde + ": el carácter «" + std::string(caracter) + "» (" + codigoUnicode(caracter) +
                             ") no se puede guardar en los archivos del juego, que usan Windows-1252.");
        i += largo;
    }
    throw ErrorJuego(donde + ": el texto no está en UTF-8.");
}


std::string recortar(std::string_view texto) {
    auto blanco = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    std::size_t inicio = 0, fin = texto.size();
    while (inicio < fin && blanco(texto[inicio])) ++inicio;
    while (fin > inicio && blanco(texto[fin - 1])) --fin;
    return std::string(texto.substr(inicio, fin - inicio));
}


std::vector<std::string> leerLineas(const std::filesystem::path& archivo) {
    std::error_code error;
    std::ifstream entrada;
    if (std::filesystem::is_regular_file(archivo, error)) entrada.open(archivo, std::ios::binary);
    if (!entrada.is_open()) throw ErrorJuego("No se pudo abrir el archivo «" + textoDeRuta(archivo) + "».");
    std::string contenido;
    try {
        contenido.assign(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        entrada.setstate(std::ios::badbit);
    }
    if (entrada.bad()) throw ErrorJuego("No se pudo leer el archivo «" + textoDeRuta(archivo) + "».");
    if (contenido.starts_with("\xEF\xBB\xBF")) contenido.erase(0, 3);
    std::vector<std::string> lineas;
    std::size_t inicio = 0;
    while (inicio < contenido.size()) {
        std::size_t fin = contenido.find('\n', inicio);
        if (fin == std::string::npos) fin = contenido.size();
        std::string linea = contenido.substr(inicio, fin - inicio);
        if (!linea.empty() && linea.back() == '\r') linea.pop_back();
        lineas.push_back(std::move(linea));
        inicio = fin + 1;
    }
    return lineas;
}


std::string enLinea(const std::filesystem::path& archivo, std::size_t linea) {
    return textoDeRuta(archivo.filename()) + ", línea " + std::to_string(linea);
}

