#include "juego/Auditoria.h"

#include "engine/ValidarDecision.h"
#include "store/Texto.h"

#include <charconv>
#include <ctime>
#include <utility>

namespace {

// One line per submission: line ends and tabs in a field become blanks.
std::string campoDeUnaLinea(const std::string& texto) {
    std::string limpio;
    for (char c : texto) limpio += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
    return campoCsv(limpio);
}

std::string dosCifras(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

// The parts of a moment on this computer's clock, safe on any thread.
std::tm horaLocal(std::time_t t) {
    std::tm partes{};
#ifdef _WIN32
    localtime_s(&partes, &t);
#else
    localtime_r(&t, &partes);
#endif
    return partes;
}

}  // namespace

std::string cabeceraRegistro() {
    std::string texto = "momento,periodo,empresa,direccion";
    for (const TRangoDecision& r : rangosDecision()) texto += std::string(",") + r.columna;
    return texto + ",resultado,motivo\n";
}

std::string lineaRegistro(const TAnotacionEnvio& a) {
    std::string linea = fechaHoraLocal(a.momento) + "," + std::to_string(a.periodo) + "," +
                        campoDeUnaLinea(cp1252AUtf8(a.empresa)) + "," + campoDeUnaLinea(a.direccion);
    for (std::size_t i = 0; i < rangosDecision().size(); ++i)
        linea += "," + campoDeUnaLinea(i < a.valores.size() ? a.valores[i] : std::string());
    return linea + (a.aceptado ? ",guardado," : ",rechazado,") + campoDeUnaLinea(a.motivo) + "\n";
}

std::vector<std::vector<std::string>> filasDelRegistro(const std::string& texto) {
    auto filas = dividirCsv(texto);
    std::erase_if(filas, [](const auto& campos) { return campos.size() == 1 && campos.front().empty(); });
    return filas;
}

std::string registroDelPeriodo(const std::string& texto, std::optional<int> periodo) {
    std::string salida = cabeceraRegistro();
    bool primera = true;
    for (const std::string& linea : dividirLineas(texto)) {
        // The header written with the file is given once, above.
        if (std::exchange(primera, false) || linea.empty()) continue;
        const std::size_t coma = linea.find(',');
        const std::size_t otra = linea.find(',', coma + 1);
        if (coma == std::string::npos || otra == std::string::npos) continue;
        const auto numero = leerEntero(linea.substr(coma + 1, otra - coma - 1));
        if (!periodo || (numero && *numero == *periodo)) salida += linea + "\n";
    }
    return salida;
}

std::string fechaHoraLocal(std::chrono::system_clock::time_point momento) {
    const std::tm partes = horaLocal(std::chrono::system_clock::to_time_t(momento));
    return std::to_string(partes.tm_year + 1900) + "-" + dosCifras(partes.tm_mon + 1) + "-" + dosCifras(partes.tm_mday) +
           " " + dosCifras(partes.tm_hour) + ":" + dosCifras(partes.tm_min) + ":" + dosCifras(partes.tm_sec);
}

std::optional<std::chrono::system_clock::time_point> horaDeHoy(const std::string& hhmm) {
    const std::size_t dos = hhmm.find(':');
    if (dos == std::string::npos || dos == 0 || dos > 2 || hhmm.size() - dos != 3) return std::nullopt;
    const auto horas = leerEntero(hhmm.substr(0, dos));
    const auto minutos = leerEntero(hhmm.substr(dos + 1));
    for (char c : hhmm)
        if (c != ':' && (c < '0' || c > '9')) return std::nullopt;
    if (!horas || !minutos || *horas > 23 || *minutos > 59) return std::nullopt;
    std::tm partes = horaLocal(std::time(nullptr));
    partes.tm_hour = *horas;
    partes.tm_min = *minutos;
    partes.tm_sec = 0;
    partes.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&partes));
}

std::string textoHora(std::chrono::system_clock::time_point momento) {
    return fechaHoraLocal(momento).substr(11, 5);
}
