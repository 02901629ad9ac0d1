// corvelian-cli: the game on the command line. See Ordenes.h for the orders.

#include "cli/Consola.h"
#include "cli/Errores.h"
#include "cli/Ordenes.h"

#include <clocale>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Numbers typed and printed follow the regional decimal separator, as in the window.
    std::setlocale(LC_ALL, "");
    fijarNotificador(&notificadorConsola());
    try {
        ejecutarLineaDeOrdenes(std::vector<std::string>(argv + 1, argv + argc));
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
