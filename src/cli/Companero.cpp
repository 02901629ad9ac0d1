// The tool without Qt: the orders drawn or served with Qt pass to the
// companion program. It takes this very process (exec), so its output, its
// exit code and Ctrl+C are the tool's, and the user still types
// "corvelian-cli pdf ...".

#include "cli/Linea.h"
#include "juego/Juego.h"
#include "store/Texto.h"

#include <iostream>

#ifndef _WIN32
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace fs = std::filesystem;

namespace {

#ifndef _WIN32
constexpr const char* kCompanero = "corvelian-cli-qt";

/// Beside the tool in a build; in lib/corvelian of the installation.
std::optional<fs::path> companero() {
    std::error_code error;
    const fs::path propio = fs::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    const fs::path aqui = propio.parent_path();
    for (const fs::path& candidato : {aqui / kCompanero, aqui.parent_path() / "lib" / "corvelian" / kCompanero})
        if (::access(candidato.c_str(), X_OK) == 0) return candidato;
    return std::nullopt;
}
#endif

[[noreturn]] void pasarAlCompanero(const TLinea& linea) {
#ifdef _WIN32
    throw ErrorJuego("La orden «" + linea.orden + "» no está disponible: el programa se compiló sin Qt.");
#else
    const auto programa = companero();
    if (!programa)
        throw ErrorJuego("La orden «" + linea.orden + "» no está disponible: falta el programa «" + kCompanero +
                         "» de esta instalación.");
    std::vector<std::string> argumentos{programa->string()};
    if (linea.carpeta) argumentos.insert(argumentos.end(), {"--datos", textoDeRuta(*linea.carpeta)});
    argumentos.push_back(linea.orden);
    argumentos.insert(argumentos.end(), linea.argumentos.begin(), linea.argumentos.end());
    std::vector<char*> argv;
    for (std::string& a : argumentos) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::cout.flush();
    ::execv(programa->c_str(), argv.data());
    throw ErrorJuego("No se pudo iniciar «" + textoDeRuta(*programa) + "»: " + std::strerror(errno) + ".");
#endif
}

}  // namespace

void ordenPdf(const TLinea& linea) {
    argumentoPeriodoPdf(linea.argumentos);
    pasarAlCompanero(linea);
}
void ordenGraficos(const TLinea& linea) { pasarAlCompanero(linea); }
void ordenPortal(const TLinea& linea) {
    argumentosPortal(linea.argumentos);
    pasarAlCompanero(linea);
}
