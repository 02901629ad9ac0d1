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
