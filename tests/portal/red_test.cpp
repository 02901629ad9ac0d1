// The key every per-address limit counts by: a home or a classroom gets an
// IPv6 /64 and may use any address in it, so the /64 is one address.

#include "portal/Red.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>

namespace {

sockaddr_storage direccionDe(const char* texto) {
    sockaddr_storage lugar{};
    auto* v4 = reinterpret_cast<sockaddr_in*>(&lugar);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&lugar);
    if (inet_pton(AF_INET, texto, &v4->sin_addr) == 1) v4->sin_family = AF_INET;
    else if (inet_pton(AF_INET6, texto, &v6->sin6_addr) == 1) v6->sin6_family = AF_INET6;
    return lugar;
}

}  // namespace

TEST(Red, UnaRedIpv6De64SeCuentaComoUnaDireccion) {
    const std::pair<const char*, const char*> casos[] = {
        {"192.168.0.10", "192.168.0.10"},
        {"::ffff:192.168.0.10", "192.168.0.10"},
        {"2001:db8:1:2::1", "2001:db8:1:2::/64"},
        {"2001:db8:1:2:ffff:ffff:ffff:ffff", "2001:db8:1:2::/64"},
        {"2001:db8:1:3::1", "2001:db8:1:3::/64"},
        {"::1", "::/64"},
    };
    for (const auto& [direccion, clave] : casos) {
        const sockaddr_storage lugar = direccionDe(direccion);
        EXPECT_EQ(claveDeDireccion(reinterpret_cast<const sockaddr*>(&lugar)), clave) << direccion;
    }
    EXPECT_EQ(claveDeDireccion(nullptr), "?");
}
