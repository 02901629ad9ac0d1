// Whole games through the tool: set-up to period 10 order by order, and the demo.

#include "cli/Proceso.h"
#include "comun/CarpetaTemporal.h"
#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "store/SistemaArchivos.h"
#include "store/Decision_UD.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace fs = std::filesystem;

namespace {

TResultado orden(const fs::path& carpeta, std::vector<std::string> argumentos) {
    argumentos.insert(argumentos.begin(), {"--datos", carpeta.string()});
    return ejecutarCli(argumentos);
}

const std::vector<std::string> kPeriodo0 = {"periodo0", "90", "8000", "1000", "4000", "75", "0", "80000", "70000"};

TRegDatosIniciales parametros(const fs::path& carpeta = carpetaDePrueba().ruta()) {
    TRegDatosIniciales r{};
    TDatosjuego(TCarpeta(carpeta, sistemaArchivosReal())).leerDatosIniciales(r);
    return r;
}

/// The whole number printed after a label of a report.
long valorDeInforme(const fs::path& informe, const std::string& etiqueta) {
    const std::string texto = leerTexto(informe);
    auto pos = texto.find(etiqueta);
    if (pos == std::string::npos) throw std::runtime_error(etiqueta + " no está en " + informe.string());
    return std::stol(texto.substr(pos + etiqueta.size()));
}

}  // namespace

TEST(Partida, DeLaPuestaEnMarchaAlPeriodoDiez) {
    CarpetaTemporal carpeta;
    const fs::path dir = carpeta.ruta();
    auto r = orden(dir, {"nuevo", (carpetaEjemplos() / "equipos.txt").string(), (carpetaEjemplos() / "parametros.ini").string()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    r = orden(dir, {"estado"});
    EXPECT_NE(r.salida.find("Próximo período: 0 (todavía no se corrió)"), std::string::npos) << r.salida;

    // The engine refuses a price its tables do not hold, before it writes anything.
    auto malo = kPeriodo0;
    malo[1] = "300";
    r = orden(dir, malo);
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("300"), std::string::npos) << r.errores;
    EXPECT_FALSE(fs::exists(dir / "DATOS ACUMULADOS.DAT"));

    r = orden(dir, kPeriodo0);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida, "Período 0 corrido para 4 empresas. Siga con las decisiones del período 1.\n");
    EXPECT_EQ(fs::file_size(dir / "DATOS ACUMULADOS.DAT"), 4u * 104);
    EXPECT_TRUE(fs::exists(dir / "COMZONA1IGUALES.txt"));
    r = orden(dir, kPeriodo0);  // before period 1, period 0 may be run again
    EXPECT_EQ(r.codigo, 0) << r.errores;

    std::string resultadosPeriodo1;
    for (int periodo = 1; periodo <= 10; ++periodo) {
        SCOPED_TRACE("período " + std::to_string(periodo));
        std::string csv = "precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,pedPrestamoA,pedPrestamoB,"
                          "devPrestamoA,devPrestamoB\n";
        for (int i = 0; i < parametros().cantEquipos; ++i) csv += "90,75,4000,8000,1000,0,0,0,0,0\n";
        escribirTexto(dir.string() + ".csv", csv);
        r = orden(dir, {"decisiones", dir.string() + ".csv"});
        ASSERT_EQ(r.codigo, 0) << r.errores;
        r = orden(dir, {"simular"});
        ASSERT_EQ(r.codigo, 0) << r.errores;
        EXPECT_NE(r.salida.find("Período " + std::to_string(periodo) + " simulado"), std::string::npos) << r.salida;
        EXPECT_EQ(parametros().periodoActual, periodo + 1);
        EXPECT_EQ(fs::file_size(dir / "DECISIONES.DAT"), 0u);
        EXPECT_TRUE(fs::exists(dir / "historial" / ("Periodo " + std::to_string(periodo)) / "INDZONA1.txt"));

        if (periodo == 1) {
            // Step back and run again: the same decisions give the same results.
            resultadosPeriodo1 = leerTexto(dir / "DATOS ACUMULADOS.DAT");
            r = orden(dir, {"volver"});
            ASSERT_EQ(r.codigo, 0) << r.errores;
            EXPECT_EQ(parametros().periodoActual, 1);
            EXPECT_EQ(fs::file_size(dir / "DECISIONES.DAT"), 4u * 40);
            r = orden(dir, {"simular"});
            ASSERT_EQ(r.codigo, 0) << r.errores;
            EXPECT_EQ(leerTexto(dir / "DATOS ACUMULADOS.DAT"), resultadosPeriodo1);
        }
        if (periodo == 2) {
            r = orden(dir, kPeriodo0);
            EXPECT_EQ(r.codigo, 1);
            EXPECT_NE(r.errores.find("El período 0 ya se corrió"), std::string::npos) << r.errores;
        }
    }
    fs::remove(dir.string() + ".csv");

    EXPECT_EQ(parametros().periodoActual, 11);
    const auto terminado = fotoDeCarpeta(dir);
    r = orden(dir, {"simular"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("El juego terminó"), std::string::npos) << r.errores;
    EXPECT_EQ(fotoDeCarpeta(dir), terminado);

    // The standings: every company once, best accumulated profit first.
    r = orden(dir, {"estado"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("Próximo período: ninguno; el juego terminó"), std::string::npos) << r.salida;
    std::istringstream lineas(r.salida.substr(r.salida.find("Utilidad acumulada")));
    std::string linea;
    std::getline(lineas, linea);
    std::vector<long> utilidades;
    int posicion = 0;
    while (std::getline(lineas, linea)) {
        std::istringstream campos(linea);
        int pos;
        std::string nombre;
        long utilidad;
        campos >> pos >> nombre >> utilidad;
        EXPECT_EQ(pos, ++posicion) << linea;
        EXPECT_NE(std::string("AlfaBetaGammaDelta").find(nombre), std::string::npos) << linea;
        if (!utilidades.empty()) {
            EXPECT_LE(utilidad, utilidades.back()) << linea;
        }
        utilidades.push_back(utilidad);
    }
    EXPECT_EQ(utilidades.size(), parametros().cantEquipos);
}

TEST(Partida, SimularRechazaDecisionesFueraDeLasTablasSinTocarNada) {
    CarpetaTemporal carpeta;
    auto r = orden(carpeta.ruta(), {"nuevo", (carpetaEjemplos() / "equipos.txt").string(),
                                    (carpetaEjemplos() / "parametros.ini").string()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    ASSERT_EQ(orden(carpeta.ruta(), kPeriodo0).codigo, 0);
    // Written straight to the file, as an older program might have left them.
    const TRegDecision d{90, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0}, baja{30, 75, 4000, 8000, 1000, 0, 0, 0, 0, 0};
    TDecision(carpetaDePrueba()).guardarDecisiones({d, d, baja, d});
    const auto antes = fotoDeCarpeta(carpeta.ruta());
    r = orden(carpeta.ruta(), {"simular"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("Gamma"), std::string::npos) << r.errores;
    EXPECT_EQ(fotoDeCarpeta(carpeta.ruta()), antes);
}

TEST(Partida, IndemnizacionYPenalidadSalenDelJuegoGuardado) {
    // Each order is a new process: it must take both amounts from the stored
    // game, as "Reanudar" does, and not from the program's defaults (300, 500).
    CarpetaTemporal carpeta;
    const fs::path dir = carpeta.ruta();
    std::string ini = leerTexto(carpetaEjemplos() / "parametros.ini");
    ini.replace(ini.find("indemXEmpleado = 300"), 20, "indemXEmpleado = 1000");
    ini.replace(ini.find("penalidad = 500"), 15, "penalidad = 777");
    escribirTexto(dir.string() + ".ini", ini);
    escribirTexto(dir.string() + ".txt", "Alfa\nBeta\n");
    auto r = orden(dir, {"nuevo", dir.string() + ".txt", dir.string() + ".ini"});
    fs::remove(dir.string() + ".ini");
    fs::remove(dir.string() + ".txt");
    ASSERT_EQ(r.codigo, 0) << r.errores;
    ASSERT_EQ(orden(dir, kPeriodo0).codigo, 0);
    // Alfa cuts production and lays off staff; Beta invests beyond its cash and its banks cover it.
    escribirTexto(dir.string() + ".csv",
                  "precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,pedPrestamoA,pedPrestamoB,"
                  "devPrestamoA,devPrestamoB\n90,25,4000,8000,1000,0,0,0,0,0\n90,75,4000,8000,1000,150000,0,0,0,0\n");
    r = orden(dir, {"decisiones", dir.string() + ".csv"});
    fs::remove(dir.string() + ".csv");
    ASSERT_EQ(r.codigo, 0) << r.errores;
    r = orden(dir, {"simular"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const long despedidos = valorDeInforme(dir / "COMZONA1Alfa.txt", "Empleados Indemniz.");
    ASSERT_GT(despedidos, 0);
    EXPECT_EQ(valorDeInforme(dir / "COMZONA1Alfa.txt", "Indemnizaciones"), despedidos * 1000);
    EXPECT_EQ(valorDeInforme(dir / "COMZONA1Beta.txt", "Penalidad           "), 777);
}

TEST(Demo, PartidaDeEjemploConStockDespidosQuiebraYPenalidad) {
    CarpetaTemporal trabajo;
    auto r = ejecutarCli({"demo"}, TEntorno{localeDeLaPrueba(), trabajo.ruta()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const fs::path dir = trabajo / "corvelian-demo";
    ASSERT_TRUE(fs::is_directory(dir));
    EXPECT_EQ(parametros(dir).periodoActual, 11);
    EXPECT_EQ(parametros(dir).cantEquipos, 4);  // Delta went bankrupt
    EXPECT_EQ(fs::file_size(dir / "DATOS ACUMULADOS.DAT"), 4u * 104);
    EXPECT_NE(r.salida.find("La empresa \"Delta\" ha quebrado."), std::string::npos) << r.salida;
    for (const char* informe : {"  INDZONA1.txt", "  COMZONA1Alfa.txt", "  QuiebraEmpresa_Delta.txt",
                                "  PenalidadEmpresa_Épsilon.txt"})
        EXPECT_NE(r.salida.find(informe), std::string::npos) << informe << "\n" << r.salida;

    // What the demo tells the newcomer to look at is really there.
    const fs::path historial = dir / "historial";
    EXPECT_GT(valorDeInforme(historial / "Periodo 4" / "COMZONA1Beta.txt", "Stock en Unidades"), 0);
    EXPECT_GT(valorDeInforme(historial / "Periodo 4" / "COMZONA1Gamma.txt", "Empleados Indemniz."), 0);
    EXPECT_NE(leerTexto(historial / "Periodo 5" / "QuiebraEmpresa_Delta.txt").find("QUIEBRA"), std::string::npos);
    EXPECT_NE(leerTexto(historial / "Periodo 10" / "PenalidadEmpresa_Épsilon.txt").find("PENALIDAD"),
              std::string::npos);
    EXPECT_GT(valorDeInforme(historial / "Periodo 10" / "COMZONA1Épsilon.txt", "Penalidad           "), 0);
    EXPECT_FALSE(fs::exists(historial / "Periodo 10" / "COMZONA1Delta.txt"));
    for (int periodo = 0; periodo <= 10; ++periodo)
        EXPECT_TRUE(fs::is_directory(historial / ("Periodo " + std::to_string(periodo)))) << periodo;

    // A second demo goes to a folder of its own; a folder with a game is refused untouched.
    // It is played in the other number format: only the reports follow the
    // separator, every file of the game's own is the same bytes.
    const auto primera = fotoDeCarpeta(dir);
    const std::string otroLocale = localeDeLaPrueba() == "es_AR.UTF-8" ? "C.UTF-8" : "es_AR.UTF-8";
    r = ejecutarCli({"demo"}, TEntorno{otroLocale, trabajo.ruta()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto segunda = fotoDeCarpeta(trabajo / "corvelian-demo-2");
    ASSERT_TRUE(segunda.count("INDZONA1.txt"));
    EXPECT_NE(segunda.at("INDZONA1.txt"), primera.at("INDZONA1.txt")) << "los informes no siguieron " << otroLocale;
    const auto propios = [](std::map<std::string, std::string> foto) {
        std::erase_if(foto, [](const auto& archivo) { return archivo.first.ends_with(".txt"); });
        return foto;
    };
    const auto propiosPrimera = propios(primera), propiosSegunda = propios(segunda);
    for (int periodo = 0; periodo <= 10; ++periodo)
        EXPECT_TRUE(propiosPrimera.count("historial/Periodo " + std::to_string(periodo) + "/INDUSTRIA.csv")) << periodo;
    ASSERT_EQ(propiosPrimera.size(), propiosSegunda.size());
    for (const auto& [archivo, bytes] : propiosPrimera)
        EXPECT_TRUE(propiosSegunda.count(archivo) && propiosSegunda.at(archivo) == bytes) << archivo << " difiere";

    // The season's exports and documents read the game played in this format.
    std::vector<std::vector<std::string>> salidas = {{"exportar", (trabajo / "temporada.xlsx").string()},
                                                     {"exportar", (trabajo / "temporada.csv").string()}};
#ifdef CORVELIAN_DOCUMENTOS
    salidas.push_back({"graficos", (trabajo / "graficos").string()});
    salidas.push_back({"pdf", "10", (trabajo / "pdf").string()});
#endif
    for (auto argumentos : salidas) {
        argumentos.insert(argumentos.begin(), {"--datos", dir.string()});
        r = ejecutarCli(argumentos);
        EXPECT_EQ(r.codigo, 0) << argumentos[2] << ": " << r.errores;
        EXPECT_TRUE(fs::exists(argumentos.back())) << argumentos.back();
    }
    r = ejecutarCli({"demo", dir.string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("ya tiene un juego"), std::string::npos) << r.errores;
    EXPECT_EQ(fotoDeCarpeta(dir), primera);
}

// Before the history's writer ignored the desktop's separator, a game played
// under a decimal comma wrote the market share as "25,98" inside its
// comma-separated lines. The fixture is such a game (set-up, period 0 and two
// periods of the sample files, under es_AR.UTF-8); it must open and show every
// period as the same game played under C does.
TEST(Partida, UnJuegoDeLaComaDecimalAntiguaMuestraTodosSusPeriodos) {
    CarpetaTemporal carpeta;
    const fs::path danado = carpeta / "danado", sano = carpeta / "sano";
    fs::copy(fs::path(__FILE__).parent_path() / "juego_danado_por_la_coma", danado, fs::copy_options::recursive);
    const std::string industria = leerTexto(danado / "historial" / "Periodo 1" / "INDUSTRIA.csv");
    const std::string primeraFila = industria.substr(industria.find('\n') + 1);
    ASSERT_EQ(std::count(primeraFila.begin(), primeraFila.begin() + primeraFila.find('\n'), ','), 11)
        << "la participación ya no está partida en dos campos:\n" << industria;

    const std::string decisiones = (carpetaEjemplos() / "decisiones.csv").string();
    const std::vector<std::vector<std::string>> partida = {
        {"nuevo", (carpetaEjemplos() / "equipos.txt").string(), (carpetaEjemplos() / "parametros.ini").string()},
        kPeriodo0, {"decisiones", decisiones}, {"simular"}, {"decisiones", decisiones}, {"simular"}};
    TResultado r;
    for (auto argumentos : partida) {
        argumentos.insert(argumentos.begin(), {"--datos", sano.string()});
        r = ejecutarCli(argumentos, TEntorno{"C.UTF-8", {}});
        ASSERT_EQ(r.codigo, 0) << argumentos[2] << ": " << r.errores;
    }

    // The standings below the line that names the folder.
    const auto estado = [](const fs::path& juego) {
        const TResultado e = orden(juego, {"estado"});
        EXPECT_EQ(e.codigo, 0) << e.errores;
        return e.salida.substr(std::min(e.salida.find('\n'), e.salida.size()));
    };
    EXPECT_EQ(estado(danado), estado(sano));
    // Periods 0 to 2 of four companies, every figure the same as the sound game's.
    for (const fs::path& juego : {danado, sano}) {
        r = orden(juego, {"exportar", (juego.string() + ".csv")});
        ASSERT_EQ(r.codigo, 0) << juego << ": " << r.errores;
    }
    const std::string exportado = leerTexto(danado.string() + ".csv");
    EXPECT_EQ(exportado, leerTexto(sano.string() + ".csv"));
    EXPECT_EQ(std::count(exportado.begin(), exportado.end(), '\n'), 1 + 3 * 4);
#ifdef CORVELIAN_DOCUMENTOS
    r = orden(danado, {"graficos", (carpeta / "graficos").string()});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(fs::exists(carpeta / "graficos" / "participacion.png"));
#endif
}
