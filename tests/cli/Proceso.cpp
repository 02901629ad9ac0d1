#include "cli/Proceso.h"

#include "comun/CarpetaTemporal.h"
#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "store/DatosAcum_UD.h"
#include "store/Texto.h"

#include <cstdlib>
#include <stdexcept>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string leerTodo(const std::filesystem::path& ruta) {
    std::ifstream archivo(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string localeDeLaPrueba() {
    const char* locale = std::getenv("LC_ALL");
    return locale && *locale ? locale : "C.UTF-8";
}

TResultado ejecutarCli(const std::vector<std::string>& argumentos, const TEntorno& entorno, const TPrograma* programa) {
    static int contador = 0;
    const auto base = std::filesystem::temp_directory_path() /
                      ("corvelian-cli-" + std::to_string(::getpid()) + "-" + std::to_string(contador++));
    const auto rutaSalida = base.string() + ".out";
    const auto rutaErrores = base.string() + ".err";

    std::vector<std::string> copia;
    if (programa) copia = programa->antes;
    copia.push_back(programa ? programa->ruta.string() : std::string(CORVELIAN_CLI));
    copia.insert(copia.end(), argumentos.begin(), argumentos.end());
    std::vector<char*> argv;
    for (auto& a : copia) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t hijo = ::fork();
    if (hijo == 0) {
        int salida = ::open(rutaSalida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int errores = ::open(rutaErrores.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (salida < 0 || errores < 0) ::_exit(126);
        ::dup2(salida, STDOUT_FILENO);
        ::dup2(errores, STDERR_FILENO);
        if (!entorno.carpetaActual.empty() && ::chdir(entorno.carpetaActual.c_str()) != 0) ::_exit(126);
        ::setenv("LC_ALL", entorno.locale.c_str(), 1);
        if (programa)
            for (const auto& [nombre, valor] : programa->variables) {
                if (valor)
                    ::setenv(nombre.c_str(), valor->c_str(), 1);
                else
                    ::unsetenv(nombre.c_str());
            }
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    TResultado resultado;
    int estado = 0;
    if (hijo > 0 && ::waitpid(hijo, &estado, 0) == hijo && WIFEXITED(estado)) resultado.codigo = WEXITSTATUS(estado);
    resultado.salida = leerTodo(rutaSalida);
    resultado.errores = leerTodo(rutaErrores);
    std::filesystem::remove(rutaSalida);
    std::filesystem::remove(rutaErrores);
    return resultado;
}

std::filesystem::path carpetaEjemplos() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "ejemplos";
}

void escribirTexto(const std::filesystem::path& ruta, const std::string& texto) {
    std::ofstream archivo(ruta, std::ios::binary | std::ios::trunc);
    archivo << texto;
}

std::map<std::string, std::string> fotoDeCarpeta(const std::filesystem::path& carpeta) {
    std::map<std::string, std::string> foto;
    for (const auto& entrada : std::filesystem::recursive_directory_iterator(carpeta))
        if (entrada.is_regular_file())
            foto[std::filesystem::relative(entrada.path(), carpeta).string()] = leerTodo(entrada.path());
    return foto;
}

void prepararJuego(const std::vector<std::string>& equipos, int periodoActual) {
    const auto carpeta = carpetaDePrueba().ruta();
    std::string lista;
    for (const auto& equipo : equipos) lista += equipo + "\n";
    const auto archivoEquipos = carpeta.parent_path() / (carpeta.filename().string() + "-equipos.txt");
    escribirTexto(archivoEquipos, lista);
    auto r = ejecutarCli({"--datos", carpeta.string(), "nuevo", archivoEquipos.string(),
                          (carpetaEjemplos() / "parametros.ini").string()});
    std::filesystem::remove(archivoEquipos);
    if (r.codigo != 0) throw std::runtime_error("nuevo falló: " + r.errores);
    if (periodoActual == 0) return;
    for (std::size_t i = 0; i < equipos.size(); ++i) {
        TRegDatosAcum registro{};
        asignar(registro.nombreEmpresa, *utf8ACp1252(equipos[i]));
        registro.zona = 1;
        registro.planta = 70000;
        TDatosAcum(carpetaDePrueba()).guardarAcum(static_cast<uint8_t>(i + 1), registro);
    }
    TRegDatosIniciales datos{};
    TDatosjuego(carpetaDePrueba()).leerDatosIniciales(datos);
    datos.periodoActual = static_cast<uint8_t>(periodoActual);
    TDatosjuego(carpetaDePrueba()).guardarDatosIniciales(datos);
}
