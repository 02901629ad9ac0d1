#pragma once
// One request of a connection, from its headers to its answer: what the
// libmicrohttpd callbacks gather, the routes read and the worker answers.

#include "portal/Respuestas.h"

#include <optional>
#include <string>

struct TPedido {
    MHD_Connection* conexion = nullptr;
    std::string metodo, ruta, direccion;
    /// What every per-address limit counts by (claveDeDireccion: an IPv6 /64 is one).
    std::string clave;
    std::string rutaCruda;  ///< the request's target as sent, before decoding
    std::string cuerpo;
    bool demasiado = false;   ///< the body went over the limit
    bool suspendido = false;  ///< left to the worker
    std::optional<TRespuesta> respuesta;  ///< set by the worker before it resumes the connection

    /// A request header; nothing when the request has none.
    std::optional<std::string> cabecera(const char* nombre) const;
    /// The session cookie, empty when there is none.
    std::string tokenDeSesion() const;
    /// A cookie of the request, empty when it has none.
    std::string galleta(const char* nombre) const {
        const char* valor = MHD_lookup_connection_value(conexion, MHD_COOKIE_KIND, nombre);
        return valor ? valor : "";
    }
};
