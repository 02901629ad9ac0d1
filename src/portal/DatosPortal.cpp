#include "portal/DatosPortal.h"

TDatosPortal::Pared::time_point TDatosPortal::ahoraDePared() const {
    std::function<Pared::time_point()> reloj;
    {
        std::lock_guard<std::mutex> l(m);
        reloj = pared;
    }
    return reloj();
}

std::optional<TDatosPortal::Pared::time_point> TDatosPortal::plazoDe(int periodo) const {
    std::lock_guard<std::mutex> l(m);
    if (!plazo || periodoDelPlazo != periodo) return std::nullopt;
    return plazo;
}

std::optional<QByteArray> TDatosPortal::pdfHecho(const TMarca& marca, const std::string& empresa, int periodo) {
    std::lock_guard<std::mutex> l(m);
    // A game that moved makes every PDF built before it old.
    if (!(marcaPdf == marca)) {
        pdfs.clear();
        marcaPdf = marca;
    }
    const auto hecho = pdfs.find({empresa, periodo});
    if (hecho == pdfs.end()) return std::nullopt;
    return hecho->second;
}

void TDatosPortal::guardarPdf(const TMarca& marca, const std::string& empresa, int periodo, const QByteArray& bytes) {
    std::lock_guard<std::mutex> l(m);
    if (!(marcaPdf == marca)) {
        pdfs.clear();
        marcaPdf = marca;
    }
    pdfs[{empresa, periodo}] = bytes;
}

void TDatosPortal::anotarTope(const std::string& direccion, const QString& motivo) {
    const auto ahora = sesiones.ahora();
    const Pared::time_point hora = ahoraDePared();
    std::lock_guard<std::mutex> l(mTopes_);
    // An address that keeps pushing is told once a minute, not at every connection.
    for (std::size_t i = topes_.size(); i-- > 0;)
        if (topes_[i].direccion == direccion && topes_[i].motivo == motivo && ahora - desde_[i] < std::chrono::minutes(1)) {
            ++topes_[i].veces;
            return;
        }
    if (topes_.size() == kTopesGuardados) {
        topes_.erase(topes_.begin());
        desde_.erase(desde_.begin());
    }
    topes_.push_back(TTope{++ultimoTope_, hora, direccion, motivo});
    desde_.push_back(ahora);
}

std::vector<TTope> TDatosPortal::topesDespuesDe(std::uint64_t numero) const {
    std::lock_guard<std::mutex> l(mTopes_);
    std::vector<TTope> nuevos;
    for (const TTope& t : topes_)
        if (t.numero > numero) nuevos.push_back(t);
    return nuevos;
}
