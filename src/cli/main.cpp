// corvelian-cli: the game on the command line. See Ordenes.h for the orders.

#include "cli/Consola.h"
#include "cli/Errores.h"
#include "cli/Ordenes.h"

#include <clocale>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

// The tool speaks UTF-8. On Windows the console and argv use the ANSI code
// page instead, which would garble team names and folders with accents.
std::vector<std::string> argumentos(int argc, char** argv) {
#ifdef _WIN32
    SetConsoleOutputCP(CP_UTF8);
    int cantidad = 0;
    if (LPWSTR* anchos = CommandLineToArgvW(GetCommandLineW(), &cantidad)) {
        std::vector<std::string> lista;
        for (int i = 1; i < cantidad; ++i) {
            const int largo = WideCharToMultiByte(CP_UTF8, 0, anchos[i], -1, nullptr, 0, nullptr, nullptr);
            std::string texto(largo > 0 ? static_cast<std::size_t>(largo - 1) : 0, '\0');
            if (largo > 1) WideCharToMultiByte(CP_UTF8, 0, anchos[i], -1, texto.data(), largo, nullptr, nullptr);
            lista.push_back(std::move(texto));
        }
        LocalFree(anchos);
        return lista;
    }
#endif
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
    // Numbers typed and printed follow the regional decimal separator, as in the window.
    std::setlocale(LC_ALL, "");
    try {
        ejecutarLineaDeOrdenes(argumentos(argc, argv));
        std::cout.flush();
        return std::cout ? 0 : 1;
    } catch (const ErrorUso& e) {
        std::cerr << "corvelian-cli: " << e.what() << "\nEscriba «corvelian-cli --help» para ver las órdenes.\n";
        return 2;
    } catch (const std::exception& e) {
        // Game refusals, file errors, decisions out of range: the message says it all.
        std::cerr << e.what() << '\n';
        return 1;
    }
}
