#include "store/Registros.h"

#include <algorithm>
#include <cstring>

std::string aTexto(const cadena& c) {
    return std::string(c.texto, std::min<std::size_t>(c.longitud, sizeof c.texto));
}

void asignar(cadena& c, std::string_view texto) {
    const std::size_t largo = std::min(texto.size(), sizeof c.texto);
    std::memset(c.texto, 0, sizeof c.texto);
    std::memcpy(c.texto, texto.data(), largo);
    c.longitud = static_cast<uint8_t>(largo);
}

std::string fallaDeEmpresa(const TRegDatosAcum& r) {
    const auto& nombre = r.nombreEmpresa;
    if (nombre.longitud == 0 || nombre.longitud > sizeof nombre.texto) return "el nombre no tiene de 1 a 50 letras";
    for (std::size_t i = 0; i < nombre.longitud; ++i) {
        const auto c = static_cast<unsigned char>(nombre.texto[i]);
        // Control bytes and the five that Windows-1252 leaves undefined.
        if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
            return "el nombre tiene letras que no son de un nombre";
    }
    if (r.zona < 1 || r.zona > 3) return "la zona no es 1, 2 ni 3";
    if (r.quebrada > 1 || r.marcaQuiebra > 1) return "la marca de quiebra no es 0 ni 1";
    for (const int32_t valor : {r.intereses, r.stockValor, r.giroDescubierto, r.prestamoA, r.prestamoB, r.planta,
                                r.efectivo, r.utilidadAcumulada, r.stockUnidades, r.invYDesAcumulada,
                                r.capacitacionAcumulada, r.empleados})
        if (valor > kMaximoVerosimil || valor < -kMaximoVerosimil) return "tiene una cifra imposible";
    return {};
}
