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
