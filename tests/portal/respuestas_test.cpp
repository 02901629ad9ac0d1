// The answers as handed to libmicrohttpd: the headers every answer carries,
// and the internal-error page in place of one whose header is refused.

#include "portal/Respuestas.h"

#include <gtest/gtest.h>

namespace {

QByteArray cabecera(MHD_Response* r, const char* nombre) {
    const char* valor = MHD_get_response_header(r, nombre);
    return valor ? QByteArray(valor) : QByteArray();
}

}  // namespace

TEST(Respuestas, UnaCabeceraRechazadaDaErrorInternoYNuncaUnaRespuestaSinSusCabeceras) {
    struct Caso {
        TRespuesta respuesta;
        unsigned estado;
        const char* clave;
        QByteArray valor;  ///< what the answer carries under clave; empty: none
    };
    TRespuesta nombreMalo = html("x");
    nombreMalo.cabeceras.emplace_back("X Malo", "1");
    const Caso casos[] = {
        {redirigir("/decisiones"), 303, "Location", "/decisiones"},
        {respuestaPdf("%PDF", 3), 200, "Content-Disposition", "attachment; filename=\"Periodo 3.pdf\""},
        // A line break would start a header of its own.
        {redirigir("/\r\nSet-Cookie: sesion=robada"), 500, "Location", {}},
        {nombreMalo, 500, "X Malo", {}},
    };
    for (const Caso& caso : casos) {
        unsigned estado = 0;
        MHD_Response* r = respuestaMhd(caso.respuesta, estado);
        ASSERT_NE(r, nullptr) << caso.clave;
        EXPECT_EQ(estado, caso.estado) << caso.clave;
        EXPECT_EQ(cabecera(r, caso.clave), caso.valor) << caso.clave;
        EXPECT_TRUE(cabecera(r, "Content-Security-Policy").startsWith("default-src 'none'")) << caso.clave;
        EXPECT_EQ(cabecera(r, "X-Frame-Options"), "DENY") << caso.clave;
        EXPECT_EQ(cabecera(r, "Set-Cookie"), QByteArray()) << caso.clave;
        MHD_destroy_response(r);
    }
}
