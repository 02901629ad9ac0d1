#include "cli/OrdenesComputadora.h"

#include "cli/Consola.h"
#include "cli/Errores.h"
#include "juego/LectorCsv.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"

#include <iostream>

namespace fs = std::filesystem;

TOpcionesComputadora leerOpcionesComputadora(const std::vector<std::string>& a, std::size_t desde,
                                             std::size_t porOmision) {
    TOpcionesComputadora opciones;
    opciones.cantidad = porOmision;
    bool conEstilo = false;
    for (std::size_t i = desde; i < a.size(); i += 2) {
        conEstilo = conEstilo || a[i] == "--estilo";
        if (a[i] != "--computadora" && a[i] != "--estilo") throw ErrorUso("opción desconocida «" + a[i] + "».");
        if (i + 1 == a.size()) throw ErrorUso("falta el valor después de " + a[i] + ".");
        const std::string& valor = a[i + 1];
        if (a[i] == "--computadora") {
            const auto n = leerEntero(valor);
            if (!n || *n < 0 || *n > 254)
                throw ErrorUso("--computadora: «" + valor + "» no es una cantidad de empresas de 0 a 254.");
            opciones.cantidad = static_cast<std::size_t>(*n);
        } else if (valor == "mezcla") {
            opciones.estilo.reset();
        } else if (!(opciones.estilo = estiloDeNombre(valor))) {
            throw ErrorUso("--estilo: «" + valor + "» no es prudente, agresivo, innovador, imitador ni mezcla.");
        }
    }
    // A style for no company is a mistake to say, not to ignore.
    if (conEstilo && opciones.cantidad == 0)
        throw ErrorUso("--estilo: no hay empresas de la computadora; agréguelas con --computadora N.");
    return opciones;
}

std::vector<std::optional<TRegDecision>> leerDecisionesDelJuego(TJuego& juego, const fs::path& archivo) {
    std::vector<bool> computadora;
    for (const auto& estilo : juego.estilosActivas()) computadora.push_back(estilo.has_value());
    return leerDecisionesCsv(archivo, juego.empresasActivas(), computadora);
}

std::string textoDeComputadora(std::size_t cantidad) {
    if (cantidad == 0) return {};
    return " y " + std::to_string(cantidad) + (cantidad == 1 ? " empresa" : " empresas") + " de la computadora";
}

std::string marcaComputadora(const TComputadora& computadora, const std::string& empresa) {
    return computadora.de(empresa) ? " (computadora)" : "";
}

void ordenPractica(const std::vector<std::string>& argumentos) {
    const TOpcionesComputadora opciones = leerOpcionesComputadora(argumentos, 1, 5);
    if (opciones.cantidad == 0) throw ErrorUso("--computadora: una práctica tiene al menos una empresa de la computadora.");
    const fs::path carpeta = fs::absolute(rutaDeTexto(argumentos[0]));
    std::error_code error;
    fs::create_directories(carpeta, error);
    if (!fs::is_directory(carpeta, error)) throw ErrorJuego("No se pudo crear la carpeta «" + textoDeRuta(carpeta) + "».");
    TJuego juego(carpeta);
    juego.fijarNotificador(&notificadorConsola());
    if (juego.leerEstado().hayJuego)
        throw ErrorJuego("La carpeta «" + textoDeRuta(carpeta) +
                         "» ya tiene un juego; la práctica se arma en una carpeta sin juego.");
    juego.crearPractica(cp1252("Mi empresa"), opciones.cantidad, opciones.estilo, semillaNueva());
    std::cout << "Práctica en «" << textoDeRuta(carpeta) << "»: «Mi empresa»" << textoDeComputadora(opciones.cantidad)
              << "; el período 0 ya se corrió.\n"
              << "Cada período: escriba sus decisiones en un CSV con la columna «empresa» y la fila de «Mi empresa»,\n"
              << "  corvelian-cli --datos \"" << textoDeRuta(carpeta) << "\" decisiones ARCHIVO.csv\n"
              << "  corvelian-cli --datos \"" << textoDeRuta(carpeta) << "\" simular\n"
              << "y lea su informe «COMZONA1Mi empresa.txt».\n";
}
