#include "portal/Red.h"

#include "portal/Portal.h"

#include <QNetworkInterface>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>

#include <cstring>

sockaddr_storage direccionDeEscucha(const QHostAddress& direccion, quint16 puerto) {
    const bool todas = direccion == QHostAddress::Any;
    if (!todas && direccion.protocol() != QAbstractSocket::IPv6Protocol) {
        sockaddr_storage lugar{};
        auto* v4 = reinterpret_cast<sockaddr_in*>(&lugar);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(puerto);
        v4->sin_addr.s_addr = htonl(direccion.toIPv4Address());
        return lugar;
    }
    sockaddr_storage lugar{};
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&lugar);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(puerto);
    const Q_IPV6ADDR ip = todas ? QHostAddress(QHostAddress::AnyIPv6).toIPv6Address() : direccion.toIPv6Address();
    std::memcpy(&v6->sin6_addr, &ip, sizeof ip);
    return lugar;
}

sockaddr_storage cualquierIpv4(quint16 puerto) {
    sockaddr_storage lugar{};
    auto* v4 = reinterpret_cast<sockaddr_in*>(&lugar);
    v4->sin_family = AF_INET;
    v4->sin_port = htons(puerto);
    v4->sin_addr.s_addr = htonl(INADDR_ANY);
    return lugar;
}

std::string textoDireccion(const sockaddr* direccion) {
    char texto[INET6_ADDRSTRLEN] = {};
    if (!direccion) return "?";
    if (direccion->sa_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(direccion)->sin_addr, texto, sizeof texto);
    } else if (direccion->sa_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(direccion);
        if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr)) inet_ntop(AF_INET, &v6->sin6_addr.s6_addr[12], texto, sizeof texto);
        else inet_ntop(AF_INET6, &v6->sin6_addr, texto, sizeof texto);
    }
    return texto;
}

std::string claveDeDireccion(const sockaddr* direccion) {
    if (!direccion || direccion->sa_family != AF_INET6) return textoDireccion(direccion);
    in6_addr red = reinterpret_cast<const sockaddr_in6*>(direccion)->sin6_addr;
    if (IN6_IS_ADDR_V4MAPPED(&red)) return textoDireccion(direccion);
    // One subscriber gets a whole /64 and picks its addresses in it at will.
    std::memset(&red.s6_addr[8], 0, 8);
    char texto[INET6_ADDRSTRLEN] = {};
    inet_ntop(AF_INET6, &red, texto, sizeof texto);
    return std::string(texto) + "/64";
}

QStringList direccionesIpv4() {
    QStringList ips;
    for (const QNetworkInterface& interfaz : QNetworkInterface::allInterfaces()) {
        const auto banderas = interfaz.flags();
        if (!(banderas & QNetworkInterface::IsUp) || (banderas & QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& entrada : interfaz.addressEntries()) {
            const QHostAddress ip = entrada.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback()) ips << ip.toString();
        }
    }
    return ips;
}

unsigned elevarLimiteDeArchivos() {
    rlimit limite{};
    if (getrlimit(RLIMIT_NOFILE, &limite) != 0) return 1024;
    if (limite.rlim_cur < limite.rlim_max) {
        rlimit nuevo = limite;
        nuevo.rlim_cur = limite.rlim_max;
        if (setrlimit(RLIMIT_NOFILE, &nuevo) == 0) limite = nuevo;
    }
    return limite.rlim_cur > 1000000 ? 1000000u : static_cast<unsigned>(limite.rlim_cur);
}
