#include "portal/Sesiones.h"

#include "portal/Portal.h"

#include "juego/CodigosAcceso.h"

#include <QByteArray>

#include <algorithm>
#include <set>

namespace {

std::string tokenAleatorio() {
    unsigned char azar[32];
    bytesAleatorios(azar, sizeof azar);
    return QByteArray(reinterpret_cast<const char*>(azar), sizeof azar).toHex().toStdString();
}

}  // namespace

TSesiones::Reloj::time_point TSesiones::ahora() const {
    std::lock_guard<std::mutex> l(m_);
    return reloj_();
}

void TSesiones::fijarReloj(std::function<Reloj::time_point()> reloj) {
    std::lock_guard<std::mutex> l(m_);
    reloj_ = std::move(reloj);
}

std::optional<TSesiones::TSesion> TSesiones::usar(const std::string& token) {
    std::lock_guard<std::mutex> l(m_);
    const auto lugar = sesiones_.find(token);
    if (token.empty() || lugar == sesiones_.end()) return std::nullopt;
    const auto ahora = reloj_();
    if (ahora - lugar->second.ultimoUso > TPortal::kVidaSesion) {
        sesiones_.erase(lugar);
        return std::nullopt;
    }
    lugar->second.ultimoUso = ahora;
    return lugar->second;
}

void TSesiones::quitar(const std::string& token) {
    std::lock_guard<std::mutex> l(m_);
    sesiones_.erase(token);
}

std::string TSesiones::galletaNueva() { return tokenAleatorio(); }

bool TSesiones::galletaValida(const std::string& galleta) {
    return galleta.size() == 64 && galleta.find_first_not_of("0123456789abcdef") == std::string::npos;
}

TSesiones::TBloqueo TSesiones::bloqueo(const std::string& direccion, const std::string& navegador,
                                       Reloj::time_point ahora) {
    std::lock_guard<std::mutex> l(m_);
    olvidarFallidos(ahora);
    const auto llega = [](const TFallidos& f, const std::string& clave, int limite) {
        const auto lugar = f.find(clave);
        return lugar != f.end() && lugar->second.size() >= std::size_t(limite);
    };
    if (llega(fallidos_, direccion, kFallidosPorDireccion) ||
        (navegador.empty() && llega(fallidosSinGalleta_, direccion, TPortal::kIntentosFallidos)))
        return TBloqueo::direccion;
    if (!navegador.empty() && llega(fallidosNavegador_, navegador, TPortal::kIntentosFallidos))
        return TBloqueo::navegador;
    if (fallidosTodos_.size() >= std::size_t(TPortal::kFallidosPorMinuto)) return TBloqueo::portal;
    return TBloqueo::ninguno;
}

void TSesiones::anotarFallido(const std::string& direccion, const std::string& navegador, Reloj::time_point ahora) {
    std::lock_guard<std::mutex> l(m_);
    fallidos_[direccion].push_back(ahora);
    (navegador.empty() ? fallidosSinGalleta_[direccion] : fallidosNavegador_[navegador]).push_back(ahora);
    fallidosTodos_.push_back(ahora);
}

bool TSesiones::permitirEnvio(const std::string& empresa, Reloj::time_point ahora) {
    std::lock_guard<std::mutex> l(m_);
    const auto [lugar, nuevo] = ultimoEnvio_.try_emplace(empresa, ahora);
    if (nuevo) return true;
    if (ahora - lugar->second < kEntreEnvios && ahora >= lugar->second) return false;
    lugar->second = ahora;
    return true;
}

std::string TSesiones::abrir(const std::string& empresa, const std::string& codigo, Reloj::time_point ahora) {
    std::lock_guard<std::mutex> l(m_);
    olvidarSesionesViejas(ahora);
    dejarLugar(TPortal::kSesionesPorEquipo, [&](const TSesion& s) { return s.empresa == empresa; });
    if (sesiones_.size() >= TPortal::kSesionesEnTotal)
        dejarLugar(TPortal::kSesionesEnTotal, [](const TSesion&) { return true; });
    const std::string token = tokenAleatorio();
    sesiones_[token] = {empresa, codigo, tokenAleatorio(), ahora, ahora};
    return token;
}

int TSesiones::cerrarDe(const std::string& empresa) {
    std::lock_guard<std::mutex> l(m_);
    int cerradas = 0;
    for (auto i = sesiones_.begin(); i != sesiones_.end();)
        if (i->second.empresa == empresa) {
            i = sesiones_.erase(i);
            ++cerradas;
        } else {
            ++i;
        }
    return cerradas;
}

int TSesiones::sesionesDe(const std::string& empresa) const {
    std::lock_guard<std::mutex> l(m_);
    const auto ahora = reloj_();
    return static_cast<int>(std::count_if(sesiones_.begin(), sesiones_.end(), [&](const auto& s) {
        return s.second.empresa == empresa && ahora - s.second.ultimoUso <= TPortal::kVidaSesion;
    }));
}

int TSesiones::equiposConectados() const {
    std::lock_guard<std::mutex> l(m_);
    const auto ahora = reloj_();
    std::set<std::string> equipos;
    for (const auto& [token, sesion] : sesiones_)
        if (ahora - sesion.ultimoUso <= TPortal::kVidaSesion) equipos.insert(sesion.empresa);
    return static_cast<int>(equipos.size());
}

void TSesiones::vaciar() {
    std::lock_guard<std::mutex> l(m_);
    sesiones_.clear();
    fallidos_.clear();
    fallidosSinGalleta_.clear();
    fallidosNavegador_.clear();
    fallidosTodos_.clear();
    ultimoEnvio_.clear();
}

void TSesiones::olvidarFallidos(Reloj::time_point ahora) {
    const auto viejo = [&](Reloj::time_point t) { return ahora - t >= TPortal::kBloqueo; };
    while (!fallidosTodos_.empty() && viejo(fallidosTodos_.front())) fallidosTodos_.pop_front();
    for (TFallidos* f : {&fallidos_, &fallidosSinGalleta_, &fallidosNavegador_})
        for (auto i = f->begin(); i != f->end();) {
            while (!i->second.empty() && viejo(i->second.front())) i->second.pop_front();
            i = i->second.empty() ? f->erase(i) : std::next(i);
        }
}

// Sessions past their life are dropped when they are used, and all of
// them once a minute: a login does not walk thousands of sessions.
void TSesiones::olvidarSesionesViejas(Reloj::time_point ahora) {
    if (ahora - ultimaLimpieza_ < std::chrono::minutes(1) && ahora >= ultimaLimpieza_) return;
    ultimaLimpieza_ = ahora;
    for (auto i = sesiones_.begin(); i != sesiones_.end();)
        i = ahora - i->second.ultimoUso > TPortal::kVidaSesion ? sesiones_.erase(i) : std::next(i);
}

/// Drops the oldest session among those that cumplen, while there are limite or more.
template <class Condicion> void TSesiones::dejarLugar(std::size_t limite, Condicion cumple) {
    for (;;) {
        std::size_t cuantas = 0;
        auto masVieja = sesiones_.end();
        for (auto i = sesiones_.begin(); i != sesiones_.end(); ++i)
            if (cumple(i->second)) {
                ++cuantas;
                if (masVieja == sesiones_.end() || i->second.creada < masVieja->second.creada) masVieja = i;
            }
        if (cuantas < limite || masVieja == sesiones_.end()) return;
        sesiones_.erase(masVieja);
    }
}
