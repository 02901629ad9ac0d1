#include "store/Texto.h"

#include "store/ErrorArchivo.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>

namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their own value.
constexpr std::array<char32_t, 32> kAlto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t aUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kAlto[byte - 0x80];
    return byte;
}

std::optional<unsigned char> aByte(char32_t codigo) {
    if (codigo < 0x80 || (codigo >= 0xA0 && codigo <= 0xFF)) return static_cast<unsigned char>(codigo);
    for (std::size_t i = 0; i < kAlto.size(); ++i)
        if (kAlto[i] == codigo) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void agregarUtf8(std::string& salida, char32_t c) {
    if (c < 0x80) {
        salida += static_cast<char>(c);
    } else if (c < 0x800) {
        salida += static_cast<char>(0xC0 | (c >> 6));
        salida += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        salida += static_cast<char>(0xE0 | (c >> 12));
        salida += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        salida += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool esBlanco(char c) { return c == ' ' || c == '\t'; }

// A number in C notation, to the last bit of the 80-bit type.
std::optional<long double> decimalEnC(const std::string& texto) {
#ifdef _WIN32
    // MinGW's from_chars reads long double as a double: its own strtold reads
    // all 64 bits. Depending on the C library, strtold takes the point or the
    // regional separator.
    for (char separador : {'.', separadorDecimal()}) {
        std::string conSeparador = texto;
        std::replace(conSeparador.begin(), conSeparador.end(), '.', separador);
        errno = 0;
        char* fin = nullptr;
        const long double valor = std::strtold(conSeparador.c_str(), &fin);
        if (fin == conSeparador.c_str() + conSeparador.size())
            return errno == ERANGE ? std::nullopt : std::optional<long double>(valor);
    }
    return std::nullopt;
#else
    long double valor = 0;
    auto [ptr, error] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (error != std::errc() || ptr != texto.data() + texto.size()) return std::nullopt;
    return valor;
#endif
}

}  // namespace

std::string cp1252AUtf8(std::string_view texto) {
    std::string salida;
    salida.reserve(texto.size());
    for (char c : texto) agregarUtf8(salida, aUnicode(static_cast<unsigned char>(c)));
    return salida;
}

std::optional<std::string> utf8ACp1252(std::string_view texto) {
    std::string salida;
    for (std::size_t i = 0; i < texto.size();) {
        unsigned char b = static_cast<unsigned char>(texto[i]);
        char32_t codigo;
        std::size_t largo;
        if (b < 0x80) { codigo = b; largo = 1; }
        else if ((b & 0xE0) == 0xC0) { codigo = b & 0x1F; largo = 2; }
        else if ((b & 0xF0) == 0xE0) { codigo = b & 0x0F; largo = 3; }
        else if ((b & 0xF8) == 0xF0) { codigo = b & 0x07; largo = 4; }
        else return std::nullopt;
        if (i + largo > texto.size()) return std::nullopt;
        for (std::size_t k = 1; k < largo; ++k) {
            unsigned char sig = static_cast<unsigned char>(texto[i + k]);
            if ((sig & 0xC0) != 0x80) return std::nullopt;
            codigo = (codigo << 6) | (sig & 0x3F);
        }
        auto byte = aByte(codigo);
        if (!byte) return std::nullopt;
        salida += static_cast<char>(*byte);
        i += largo;
    }
    return salida;
}

std::string cp1252(std::string_view literalUtf8) {
    // Plain ASCII is the same bytes in both.
    if (std::all_of(literalUtf8.begin(), literalUtf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(literalUtf8);
    // The reports ask for the same few dozen literals on every line of every
    // company, so each text is converted once. One cache per thread: the
    // portal formats pages on its own threads while the window writes reports.
    thread_local std::map<std::string, std::string, std::less<>> convertidos;
    if (auto hallado = convertidos.find(literalUtf8); hallado != convertidos.end()) return hallado->second;
    auto convertido = utf8ACp1252(literalUtf8);
    if (!convertido) throw std::logic_error("texto fuera de Windows-1252: " + std::string(literalUtf8));
    return convertidos.emplace(std::string(literalUtf8), *convertido).first->second;
}

std::string minusculas(std::string_view texto) {
    std::string salida(texto);
    for (char& c : salida)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return salida;
}

std::uint64_t huellaFnv(std::string_view bytes, std::uint64_t h) {
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::vector<std::string> dividirLineas(std::string_view texto) {
    std::vector<std::string> lineas;
    while (!texto.empty()) {
        const std::size_t fin = texto.find('\n');
        lineas.emplace_back(texto.substr(0, fin));
        texto.remove_prefix(fin == std::string_view::npos ? texto.size() : fin + 1);
    }
    return lineas;
}

std::string campoCsv(std::string_view texto, char separador) {
    if (texto.find_first_of(std::string("\"\r\n") + separador) == std::string_view::npos) return std::string(texto);
    std::string salida = "\"";
    for (char c : texto) {
        if (c == '"') salida += '"';
        salida += c;
    }
    return salida + '"';
}

std::string celdaCsv(std::string_view texto, char separador) {
    if (texto.empty() || std::string_view("=+-@\t\r").find(texto.front()) == std::string_view::npos)
        return campoCsv(texto, separador);
    const std::string_view cifras = texto.substr(1);
    const bool numero = texto.front() == '-' && !cifras.empty() &&
                        cifras.find_first_not_of("0123456789") == std::string_view::npos;
    return campoCsv(numero ? std::string(texto) : "'" + std::string(texto), separador);
}

std::vector<std::vector<std::string>> dividirCsv(std::string_view texto) {
    std::vector<std::vector<std::string>> lineas;
    std::vector<std::string> campos(1);
    bool comillas = false;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if (comillas) {
            if (c == '"' && i + 1 < texto.size() && texto[i + 1] == '"') campos.back() += '"', ++i;
            else if (c == '"') comillas = false;
            else campos.back() += c;
        } else if (c == '"') {
            comillas = true;
        } else if (c == ',') {
            campos.emplace_back();
        } else if (c == '\n') {
            lineas.push_back(std::move(campos));
            campos.assign(1, {});
        } else if (c != '\r') {
            campos.back() += c;
        }
    }
    if (campos.size() > 1 || !campos.front().empty()) lineas.push_back(std::move(campos));
    return lineas;
}

std::string enteroAlineado(long long valor, std::size_t ancho) {
    std::string texto = std::to_string(valor);
    return texto.size() < ancho ? std::string(ancho - texto.size(), ' ') + texto : texto;
}

char separadorDecimal() {
    const std::lconv* conv = std::localeconv();
    if (conv && conv->decimal_point && conv->decimal_point[0] != '\0' && conv->decimal_point[1] == '\0')
        return conv->decimal_point[0];
    return '.';
}

std::string textoGeneral(long double valor) {
    std::array<char, 64> buffer{};
    auto [fin, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), valor,
                                      std::chars_format::general, 15);
    if (error != std::errc()) return "0";
    std::string texto(buffer.data(), fin);
    // The C notation "1e-05" becomes "1E-5", as the desktop writes it.
    if (auto e = texto.find('e'); e != std::string::npos) {
        std::string mantisa = texto.substr(0, e);
        std::string exponente = texto.substr(e + 1);
        bool negativo = !exponente.empty() && exponente[0] == '-';
        if (!exponente.empty() && (exponente[0] == '-' || exponente[0] == '+')) exponente.erase(0, 1);
        while (exponente.size() > 1 && exponente[0] == '0') exponente.erase(0, 1);
        texto = mantisa + "E" + (negativo ? "-" : "") + exponente;
    }
    if (auto punto = texto.find('.'); punto != std::string::npos) texto[punto] = separadorDecimal();
    if (texto == "-0") texto = "0";
    return texto;
}

std::optional<int32_t> leerEntero(std::string_view texto) {
    std::size_t i = 0;
    while (i < texto.size() && esBlanco(texto[i])) ++i;
    bool negativo = false;
    if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) negativo = texto[i++] == '-';
    if (i == texto.size()) return std::nullopt;
    int64_t valor = 0;
    for (; i < texto.size(); ++i) {
        char c = texto[i];
        if (c < '0' || c > '9') return std::nullopt;
        valor = valor * 10 + (c - '0');
        if (valor > int64_t{1} << 32) return std::nullopt;
    }
    if (negativo) valor = -valor;
    if (valor < INT32_MIN || valor > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(valor);
}

int32_t aEntero(std::string_view texto) {
    if (auto valor = leerEntero(texto)) return *valor;
    throw ErrorConversion(textoNoEsEntero(cp1252AUtf8(texto)));
}

std::string textoNoEsEntero(std::string_view texto) {
    if (texto.find_first_not_of(" \t") == std::string_view::npos)
        return "El campo está vacío: escriba un número entero.";
    return "«" + std::string(texto) + "» no es un número entero: escríbalo en cifras, sin puntos ni comas.";
}

std::optional<long double> leerDecimal(std::string_view texto) {
    std::size_t inicio = 0, fin = texto.size();
    while (inicio < fin && esBlanco(texto[inicio])) ++inicio;
    while (fin > inicio && esBlanco(texto[fin - 1])) --fin;
    std::string normal;
    const char separador = separadorDecimal();
    std::size_t i = inicio;
    if (i < fin && (texto[i] == '+' || texto[i] == '-')) {
        if (texto[i] == '-') normal += '-';
        ++i;
    }
    bool digitos = false, separadorVisto = false;
    for (; i < fin; ++i) {
        char c = texto[i];
        if (c >= '0' && c <= '9') { normal += c; digitos = true; }
        else if (c == separador && !separadorVisto) { normal += '.'; separadorVisto = true; }
        else break;
    }
    if (!digitos) return std::nullopt;
    if (i < fin && (texto[i] == 'e' || texto[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < fin && (texto[i] == '+' || texto[i] == '-')) normal += texto[i++];
        bool exponente = false;
        for (; i < fin && texto[i] >= '0' && texto[i] <= '9'; ++i) { normal += texto[i]; exponente = true; }
        if (!exponente) return std::nullopt;
    }
    if (i != fin) return std::nullopt;
    return decimalEnC(normal);
}

long double aDecimal(std::string_view texto) {
    if (auto valor = leerDecimal(texto)) return *valor;
    throw ErrorConversion(textoNoEsDecimal(cp1252AUtf8(texto)));
}

std::string textoNoEsDecimal(std::string_view texto) {
    if (texto.find_first_not_of(" \t") == std::string_view::npos) return "El campo está vacío: escriba un número.";
    return "«" + std::string(texto) + "» no es un número: escríbalo en cifras, con punto decimal.";
}
