#pragma once
// The network side of the portal that is not HTTP: the socket address it
// listens on, the client's address as text and as the key it is counted by. (The machine's addresses
// and the open-files limit are declared in Portal.h.)

#include <QHostAddress>

#include <string>

#include <sys/socket.h>

/// Where to listen: for any address, IPv6's any address (dual stack); for
/// an IPv6 address, that address; else the IPv4 address.
sockaddr_storage direccionDeEscucha(const QHostAddress& direccion, quint16 puerto);

/// IPv4's any address, for a machine without IPv6.
sockaddr_storage cualquierIpv4(quint16 puerto);

/// The key by which every per-address limit counts a client: an IPv4
/// address (or IPv4 mapped into IPv6) as itself, an IPv6 address as its
/// /64, the network a single home or classroom is given ("2001:db8:1:2::/64").
/// "?" when there is none.
std::string claveDeDireccion(const sockaddr* direccion);

/// A client's address as text; an IPv4 client of a dual-stack socket is
/// named as IPv4. "?" when there is none.
std::string textoDireccion(const sockaddr* direccion);
