#include "juego/Practica.h"

#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <vector>

std::string textoPractica(const std::string& empresa) { return "empresa\n" + campoCsv(cp1252AUtf8(empresa)) + "\n"; }

std::string leerTextoPractica(std::string_view texto, const std::filesystem::path& ruta) {
    std::vector<std::vector<std::string>> filas;
    for (auto& fila : dividirCsv(texto))
        if (!(fila.size() == 1 && fila[0].empty())) filas.push_back(std::move(fila));
    if (filas.empty() || filas[0] != std::vector<std::string>{"empresa"})
        throw ErrorArchivoDanado(ruta, "línea 1: se esperaba «empresa»");
    if (filas.size() != 2 || filas[1].size() != 1)
        throw ErrorArchivoDanado(ruta, "se esperaba una línea con el nombre de la empresa del alumno");
    const auto nombre = utf8ACp1252(filas[1][0]);
    if (!nombre || nombre->empty())
        throw ErrorArchivoDanado(ruta, "el nombre «" + filas[1][0] + "» no es de una empresa");
    return *nombre;
}
