#pragma once
// The command line: global options, the orders and their arguments.
//
//   corvelian-cli [--datos CARPETA] ORDEN [ARGUMENTOS]
//
// Faults are thrown: ErrorUso for a wrong command line, ErrorJuego and the
// core's errors for a game or file fault; main turns them into exit codes.

#include <string>
#include <vector>

/// The help text (UTF-8) that --help prints.
std::string textoAyuda();

/// Interprets the arguments after the program name and runs the order.
void ejecutarLineaDeOrdenes(const std::vector<std::string>& argumentos);
