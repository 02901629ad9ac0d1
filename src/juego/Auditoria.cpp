#include "juego/Auditoria.h"

#include "engine/ValidarDecision.h"
#include "store/Texto.h"

#include <charconv>
#include <ctime>

namespace {

// One line per submission, safe to open in a spreadsheet: control
// characters (line ends, tabs, NUL) become blanks, and what a spreadsheet
// would run as a formula is quoted.
std::string campoDeUnaLinea(const std::string& texto) {
    std::string limpio;
    for (char c : texto) limpio += (static_cast<unsigned char>(c) < 0x20 || c == '\x7f') ? ' ' : c;
    return celdaCsv(limpio);
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

// Each line is written again cell by cell: a register written before its
// cells were made safe for a spreadsheet prints safe all the same.
std::string registroDelPeriodo(const std::string& texto, std::optional<int> periodo) {
    std::string salida = cabeceraRegistro();
    const auto filas = filasDelRegistro(texto);
    // The header written with the file is given once, above.
    for (std::size_t i = 1; i < filas.size(); ++i) {
        if (filas[i].size() < 2) continue;
        const auto numero = leerEntero(filas[i][1]);
        if (periodo && (!numero || *numero != *periodo)) continue;
        for (std::size_t c = 0; c < filas[i].size(); ++c) salida += (c ? "," : "") + campoDeUnaLinea(filas[i][c]);
        salida += "\n";
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
