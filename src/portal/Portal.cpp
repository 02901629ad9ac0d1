#include "portal/Portal.h"

#include "portal/DatosPortal.h"
#include "portal/NotificadorDelPortal.h"
#include "portal/ServidorHttp.h"

#include "juego/Juego.h"

#include <algorithm>

TPortal::TPortal(TJuego& juego, QObject* padre)
    : QObject(padre), juego_(juego), notificador_(std::make_unique<TNotificadorDelPortal>(*this, juego)),
      datos_(std::make_unique<TDatosPortal>()) {
    datos_->notificador = notificador_.get();
}

TPortal::~TPortal() { detener(); }

quint16 TPortal::iniciar(const QHostAddress& direccion, quint16 puerto) {
    detener();
    juego_.codigosDeAcceso();
    // Every connection is an open file: the portal takes what the system
    // allows, and keeps some for the game's own files.
    const unsigned limite = elevarLimiteDeArchivos();
    conexionesMaximas_ = limite > 256 ? std::min(limite - 128, 16384u) : limite / 2;
    // The door may let the daemon hold a few cut connections beyond the cap while they close.
    conexionesMaximas_ -= std::min(conexionesMaximas_ / 2, TAceptador::kHolgura);
    if (conexionesEnTotal_ > 0) conexionesMaximas_ = std::min(conexionesMaximas_, conexionesEnTotal_);
    auto servidor = std::make_unique<TServidorPortal>(*this, *datos_, juego_);
    const quint16 abierto = servidor->iniciar(direccion, puerto, conexionesMaximas_);
    if (abierto == 0)
        throw ErrorJuego("El portal no pudo escuchar en " + direccion.toString().toStdString() + ":" +
                         std::to_string(puerto) + " (¿otro programa usa ese puerto?).");
    servidor_ = std::move(servidor);
    direccion_ = direccion;
    puerto_ = abierto;
    emit estadoCambiado(true);
    return abierto;
}

void TPortal::detener() {
    if (!servidor_) return;
    servidor_.reset();
    datos_->sesiones.vaciar();
    {
        std::lock_guard<std::mutex> l(datos_->m);
        datos_->pdfs.clear();
    }
    puerto_ = 0;
    emit estadoCambiado(false);
}

bool TPortal::activo() const { return servidor_ != nullptr; }

QStringList TPortal::direccionesParaTeclear() const {
    QStringList direcciones;
    if (!activo()) return direcciones;
    const bool todas = direccion_ == QHostAddress::Any || direccion_ == QHostAddress::AnyIPv4;
    const QStringList ips = todas ? direccionesIpv4() : QStringList{direccion_.toString()};
    for (const QString& ip : ips) direcciones << QStringLiteral("http://%1:%2/").arg(ip).arg(puerto_);
    return direcciones;
}

int TPortal::cerrarSesiones(const std::string& empresa) { return datos_->sesiones.cerrarDe(empresa); }

int TPortal::sesionesDe(const std::string& empresa) const { return datos_->sesiones.sesionesDe(empresa); }

int TPortal::equiposConectados() const { return datos_->sesiones.equiposConectados(); }

void TPortal::fijarPlazo(std::optional<std::chrono::system_clock::time_point> hasta) {
    // The deadline belongs to the period open when it is set.
    int periodo = 0;
    if (hasta) periodo = juego_.parametros().periodoActual;
    std::lock_guard<std::mutex> l(datos_->m);
    datos_->plazo = hasta;
    datos_->periodoDelPlazo = periodo;
}

std::optional<std::chrono::system_clock::time_point> TPortal::plazo() const {
    std::lock_guard<std::mutex> l(datos_->m);
    return datos_->plazo;
}

void TPortal::fijarReloj(std::function<std::chrono::steady_clock::time_point()> reloj) {
    datos_->sesiones.fijarReloj(std::move(reloj));
}

void TPortal::fijarRelojDePared(std::function<std::chrono::system_clock::time_point()> reloj) {
    std::lock_guard<std::mutex> l(datos_->m);
    datos_->pared = std::move(reloj);
}

void TPortal::fijarEspera(std::chrono::seconds espera) {
    std::lock_guard<std::mutex> l(datos_->m);
    datos_->espera = espera;
}

void TPortal::fijarConexionesPorDireccion(unsigned conexiones) {
    std::lock_guard<std::mutex> l(datos_->m);
    datos_->conexionesPorDireccion = std::clamp(conexiones, 1u, kConexionesPorDireccionMaximas);
}

unsigned TPortal::conexionesPorDireccion() const {
    std::lock_guard<std::mutex> l(datos_->m);
    return datos_->conexionesPorDireccion;
}

std::vector<TTope> TPortal::topesDespuesDe(std::uint64_t numero) const { return datos_->topesDespuesDe(numero); }
