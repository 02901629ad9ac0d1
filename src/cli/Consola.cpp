#include "cli/Consola.h"

#include "cli/Errores.h"
#include "store/Texto.h"

#include <exception>
#include <iostream>

std::string mayusculas1252(std::string_view texto) {
    std::string salida(texto);
    for (char& c : salida) {
        unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) b = static_cast<unsigned char>(b - 0x20);
        else if (b == 0x9A || b == 0x9C || b == 0x9E) b = static_cast<unsigned char>(b - 0x10);  // š œ ž
        else if (b == 0xFF) b = 0x9F;                                                          // ÿ
        c = static_cast<char>(b);
    }
    return salida;
}

void TNotificadorConsola::advertencia(const std::string& titulo, const std::string& texto) {
    std::cerr << cp1252AUtf8(titulo) << " " << cp1252AUtf8(texto) << std::endl;
}

void TNotificadorConsola::informacion(const std::string& texto) { std::cout << cp1252AUtf8(texto) << std::endl; }

TNotificadorConsola& notificadorConsola() {
    static TNotificadorConsola consola;
    return consola;
}
