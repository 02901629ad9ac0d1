// rand_s is declared only when this is defined before the C library's
// headers are first read.
#ifdef _WIN32
#define _CRT_RAND_S
#endif

#include "juego/CodigosAcceso.h"

#include "engine/ValidarDecision.h"
#include "juego/Juego.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <cerrno>
#include <cstring>
#include <charconv>
#include <system_error>
#include <unordered_map>

#ifdef _WIN32
#include <stdlib.h>
#else
#include <sys/random.h>
#endif

namespace {

constexpr const char* kCabeceraCodigos = "CORVELIAN CODIGOS 1";
constexpr const char* kCabeceraEnvio = "CORVELIAN ENVIO 1";

bool esHexadecimal(const std::string& texto, std::size_t largo) {
    if (texto.size() != largo) return false;
    for (char c : texto)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

bool esCodigo(const std::string& texto) {
    if (texto.size() != kLargoCodigo) return false;
    for (char c : texto)
        if (kAlfabetoCodigos.find(c) == std::string_view::npos) return false;
    return true;
}

bool tieneControl(const std::string& texto) {
    for (unsigned char c : texto)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

}  // namespace

void bytesAleatorios(void* destino, std::size_t n) {
    auto* p = static_cast<unsigned char*>(destino);
#ifdef _WIN32
    for (std::size_t i = 0; i < n;) {
        unsigned int valor = 0;
        if (rand_s(&valor) != 0) throw std::runtime_error("El sistema no dio números aleatorios.");
        for (int b = 0; b < 4 && i < n; ++b, ++i) p[i] = static_cast<unsigned char>(valor >> (8 * b));
    }
#else
    while (n > 0) {
        const ssize_t leidos = getrandom(p, n, 0);
        if (leidos < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category(), "El sistema no dio números aleatorios");
        }
        p += leidos;
        n -= static_cast<std::size_t>(leidos);
    }
#endif
}

std::string codigoNuevo() {
    static_assert(kAlfabetoCodigos.size() == 32, "5 bits per letter, so every byte maps without bias");
    unsigned char azar[kLargoCodigo];
    bytesAleatorios(azar, sizeof azar);
    std::string codigo;
    for (unsigned char b : azar) codigo += kAlfabetoCodigos[b % 32];
    return codigo;
}

std::string identificadorNuevo() {
    unsigned char azar[8];
    bytesAleatorios(azar, sizeof azar);
    static const char* digitos = "0123456789abcdef";
    std::string texto;
    for (unsigned char b : azar) {
        texto += digitos[b >> 4];
        texto += digitos[b & 15];
    }
    return texto;
}

std::string normalizarCodigo(std::string_view tecleado) {
    std::string codigo;
    for (char c : tecleado) {
        if (c == ' ' || c == '-' || c == '\t') continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        codigo += c;
    }
    return codigo;
}

bool igualesTiempoConstante(std::string_view a, std::string_view b) {
    // Every byte of the longer text is looked at, whatever differs first.
    const std::size_t largo = std::max(a.size(), b.size());
    unsigned diferencia = a.size() == b.size() ? 0u : 1u;
    for (std::size_t i = 0; i < largo; ++i) {
        const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        diferencia |= static_cast<unsigned>(x ^ y);
    }
    return diferencia == 0;
}

std::string textoCodigos(const TArchivoCodigos& archivo) {
    std::string texto = std::string(kCabeceraCodigos) + "\njuego " + archivo.juego + "\n";
    for (const TCodigoEquipo& e : archivo.equipos) {
        if (tieneControl(e.empresa))
            throw ErrorJuego("El nombre del equipo «" + cp1252AUtf8(e.empresa) +
                             "» tiene caracteres de control: no se le puede dar un código.");
        texto += e.codigo + "\t" + cp1252AUtf8(e.empresa) + "\n";
    }
    return texto;
}

ErrorArchivoDanado codigosDanados(const std::filesystem::path& ruta, const std::string& problema) {
    return ErrorArchivoDanado(ruta, problema +
                                        ". El portal no se abre con él; se rehace dando códigos nuevos a todos los "
                                        "equipos (corvelian-cli codigos --renovar).");
}

TArchivoCodigos leerTextoCodigos(const std::string& texto, const std::filesystem::path& ruta) {
    const auto filas = dividirLineas(texto);
    if (filas.size() < 2 || filas[0] != kCabeceraCodigos || !filas[1].starts_with("juego ") ||
        !esHexadecimal(filas[1].substr(6), 16) || texto.empty() || texto.back() != '\n')
        throw codigosDanados(ruta, "no es un archivo de códigos del portal");
    TArchivoCodigos archivo;
    archivo.juego = filas[1].substr(6);
    // A team's name fits the game's name record; no longer one is any team's.
    constexpr std::size_t kLargoNombre = sizeof(cadena::texto);
    std::unordered_map<std::string, std::size_t> lineaDelCodigo, lineaDelEquipo;
    for (std::size_t i = 2; i < filas.size(); ++i) {
        const auto linea = [i] { return "la línea " + std::to_string(i + 1); };
        const std::size_t tab = filas[i].find('\t');
        const std::string codigo = filas[i].substr(0, tab);
        if (tab == std::string::npos || !esCodigo(codigo))
            throw codigosDanados(ruta, linea() + " no es «CÓDIGO<TAB>NOMBRE»");
        const auto nombre = utf8ACp1252(filas[i].substr(tab + 1));
        if (!nombre || nombre->empty() || nombre->size() > kLargoNombre || tieneControl(*nombre))
            throw codigosDanados(ruta, linea() + " no tiene un nombre válido");
        // One code for two teams lets one enter as the other; two codes for one
        // team leave one unused. The portal reads this on every page: looked up, not scanned.
        const std::size_t indice = archivo.equipos.size();
        if (const auto [j, nuevo] = lineaDelCodigo.try_emplace(codigo, indice); !nuevo)
            throw codigosDanados(ruta, linea() + " repite el código de la línea " + std::to_string(j->second + 3));
        if (const auto [j, nuevo] = lineaDelEquipo.try_emplace(*nombre, indice); !nuevo)
            throw codigosDanados(ruta, linea() + " repite el equipo de la línea " + std::to_string(j->second + 3));
        archivo.equipos.push_back({*nombre, codigo});
    }
    return archivo;
}

std::string textoEnvio(const TEnvio& envio) {
    std::string texto = std::string(kCabeceraEnvio) + "\njuego " + envio.juego + "\nperiodo " +
                        std::to_string(envio.periodo) + "\nhuella " + std::to_string(envio.huella) + "\nempresa " +
                        cp1252AUtf8(envio.empresa) + "\n";
    for (const TRangoDecision& r : rangosDecision())
        texto += std::string(r.columna) + " " + std::to_string(envio.decision.*(r.campo)) + "\n";
    return texto;
}

TEnvio leerTextoEnvio(const std::string& texto, const std::filesystem::path& ruta) {
    const auto filas = dividirLineas(texto);
    const auto danado = [&](const std::string& que) { return ErrorArchivoDanado(ruta, que); };
    if (filas.size() != 5 + rangosDecision().size() || filas[0] != kCabeceraEnvio || texto.back() != '\n')
        throw danado("no es un envío del portal");
    const auto valor = [&](std::size_t i, const std::string& clave) {
        if (!filas[i].starts_with(clave + " ")) throw danado("falta «" + clave + "» en la línea " + std::to_string(i + 1));
        return filas[i].substr(clave.size() + 1);
    };
    TEnvio envio;
    envio.juego = valor(1, "juego");
    if (!esHexadecimal(envio.juego, 16)) throw danado("el juego no es válido");
    const auto periodo = leerEntero(valor(2, "periodo"));
    if (!periodo || *periodo < 1 || *periodo > 10) throw danado("el período no es válido");
    envio.periodo = *periodo;
    const std::string huella = valor(3, "huella");
    const auto leida = std::from_chars(huella.data(), huella.data() + huella.size(), envio.huella);
    if (huella.empty() || leida.ec != std::errc{} || leida.ptr != huella.data() + huella.size())
        throw danado("la huella no es válida");
    const auto empresa = utf8ACp1252(valor(4, "empresa"));
    if (!empresa || empresa->empty()) throw danado("la empresa no es válida");
    envio.empresa = *empresa;
    std::size_t i = 5;
    for (const TRangoDecision& r : rangosDecision()) {
        const auto numero = leerEntero(valor(i, r.columna));
        if (!numero || !enRango(r, *numero)) throw danado("«" + std::string(r.columna) + "» no es válido");
        envio.decision.*(r.campo) = *numero;
        ++i;
    }
    return envio;
}

std::string nombreArchivoEnvio(const std::string& empresa1252) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : empresa1252) h = (h ^ c) * 1099511628211ull;
    static const char* digitos = "0123456789abcdef";
    std::string nombre = "equipo ";
    for (int b = 60; b >= 0; b -= 4) nombre += digitos[(h >> b) & 15];
    return nombre + ".txt";
}
