#include "portal/Rutas.h"

#include "store/Texto.h"

#include <string_view>

namespace {

struct TRuta {
    std::string_view metodo;
    std::string_view ruta;  // ending in "/": followed by a period
    std::optional<TRespuesta> (TManejadores::*manejador)(TPedido&, int);
};

// No route takes a company: a session belongs to one team.
constexpr TRuta kRutas[] = {
    {"GET", "/", &TManejadores::inicio},
    {"POST", "/entrar", &TManejadores::entrar},
    {"POST", "/salir", &TManejadores::salir},
    {"GET", "/decisiones", &TManejadores::verDecisiones},
    {"POST", "/decisiones", &TManejadores::enviar},
    {"GET", "/reportes/", &TManejadores::informeEmpresa},
    {"GET", "/industria/", &TManejadores::informeIndustria},
    {"GET", "/pdf/", &TManejadores::pdf},
};

/// A period number of a path: plain digits, 0 to 10.
std::optional<int> periodoDe(std::string_view texto) {
    if (texto.empty() || texto.size() > 2) return std::nullopt;
    for (char c : texto)
        if (c < '0' || c > '9') return std::nullopt;
    const auto n = leerEntero(std::string(texto));
    if (!n || *n > 10) return std::nullopt;
    return *n;
}

bool conPeriodo(const TRuta& r) { return r.ruta.size() > 1 && r.ruta.back() == '/'; }

/// Whether the path is the route's; for a route with a period, that period.
bool esDe(const TRuta& r, std::string_view ruta, std::optional<int>& periodo) {
    if (!conPeriodo(r)) return ruta == r.ruta;
    if (ruta.substr(0, r.ruta.size()) != r.ruta) return false;
    periodo = periodoDe(ruta.substr(r.ruta.size()));
    return true;
}

}  // namespace

std::optional<TRespuesta> atender(TManejadores& manejadores, TPedido& p) {
    const std::string_view metodo = p.metodo == "HEAD" ? std::string_view("GET") : std::string_view(p.metodo);
    QByteArray permitidos;
    for (const TRuta& r : kRutas) {
        std::optional<int> periodo;
        if (!esDe(r, p.ruta, periodo)) continue;
        // A path with a period that is none is no page at all.
        if (conPeriodo(r) && !periodo) return noEncontrada();
        if (r.metodo == metodo) return (manejadores.*r.manejador)(p, periodo.value_or(0));
        if (!permitidos.isEmpty()) permitidos += ", ";
        permitidos += r.metodo == "GET" ? QByteArray("GET, HEAD") : QByteArray(r.metodo.data(), r.metodo.size());
    }
    return permitidos.isEmpty() ? noEncontrada() : noPermitido(permitidos);
}
