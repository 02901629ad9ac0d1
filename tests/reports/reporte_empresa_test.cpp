// The company's private report, byte for byte.

#include "comun/CarpetaTemporal.h"
#include "reports/Reportes_UD.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

#include <csignal>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

/// A record in which every field holds a different text, so that a field
/// printed in the wrong place changes the file.
empstr empresaDelta() {
    empstr r;
    r.bancoa = "NACION\t";  // six characters or more: one TAB
    r.bancob = "BNA\t\t";   // fewer than six: two TABs
    r.empresa = "Delta";
    r.precio = "    120";
    r.girodesc = "   1501";
    r.periodo = "3";
    r.zona = "1";
    r.capacitacion = "   2002";
    r.marketing = "   3003";
    r.capacacum = "  40004";
    r.capacidad = "  50005";
    r.iyd = "   6006";
    r.iydacum = "  70007";
    r.mantenimiento = "   808";
    r.mantstock = "    909";
    r.subsidios = "   1010";
    r.indemnizaciones = "   1111";
    r.intereses = "   1212";
    r.impuestos = "   1313";
    r.produccion = "   1414";
    r.capplanta = "   1515";
    r.nivelprod = "     75";
    r.empleados = "     16";
    r.ordrecibidas = "   1717";
    r.ventasunid = "   1818";
    r.ordnorealiz = "   1919";
    r.stockunid = "   2020";
    r.penalidad = "    500";
    r.costounid = " 12.35";
    r.tasaa = " 24.00";
    r.tasab = " 30.00";
    r.prestamosa = "  21021";
    r.prestamosb = "  22022";
    r.maxcreditoa = "  50000";
    r.maxcreditob = "  60000";
    r.efectivo = "  23023";
    r.stock = "  24024";
    r.planta = " 250000";
    r.totalactivo = " 297047";
    r.prestamostomados = "  43043";
    r.utacumuladas = "  -4404";
    r.capital = " 258408";
    r.pasivopatrimonio = " 297048";
    r.ventas = " 218160";
    r.costomerc = "  22453";
    r.margenbruto = " 195707";
    r.utilanteimp = "  30303";
    r.utilperiodo = "  20202";
    r.ampplanta = "  10000";
    r.prestadica = "   3131";
    r.prestadicb = "   3232";
    r.pedprestamoa = "   5000";
    r.pedprestamob = "   6000";
    r.devprestamoa = "   1000";
    r.devprestamob = "   2000";
    r.empindemniz = "      4";
    return r;
}

/// The report text of the lines as the game master reads them (UTF-8 in this
/// source), each ended by CR LF, as Windows-1252 bytes.
std::string archivo(const std::vector<std::string>& lineas) {
    std::string texto;
    for (const auto& linea : lineas) texto += linea + "\r\n";
    return texto;
}

std::vector<std::string> lineasDe(const std::string& texto) {
    std::vector<std::string> lineas;
    std::size_t inicio = 0;
    for (std::size_t fin; (fin = texto.find("\r\n", inicio)) != std::string::npos; inicio = fin + 2)
        lineas.push_back(texto.substr(inicio, fin - inicio));
    return lineas;
}

const std::string S = "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -";

}  // namespace

TEST(ReporteEmpresa, ArchivoCompletoByteAByte) {
    CarpetaTemporal carpeta;
    TReporte(carpetaDePrueba()).ReporteEmpresa(empresaDelta());

    const std::string esperado = archivo({
        cp1252("            Reporte de la Compañía Delta para el Período 3"),
        "",
        "                   DECISIONES TOMADAS DEL PERIODO",
        "                   ---------- ------- --- -------",
        cp1252("Precio De Venta u$s    120    Ampliación Planta     \t\tu$s  10000"),
        "Marketing       u$s   3003    Ped. Prestamo Bco NACION\tu$s   5000",
        "Nivel de Prod.  (%)     75    Dev. Prestamo Bco NACION\tu$s   1000",
        "Inv. en Capac.  u$s   2002    Ped. Prestamo Bco BNA\t\tu$s   6000",
        "Inv. en I & D   u$s   6006    Dev. Prestamo Bco BNA\t\tu$s   2000",
        S,
        "        BALANCE EN u$s              ESTADO DE RESULTADO EN u$s",
        "        ------- -- ---              ------ -- --------- -- ---",
        "Efectivo              23023        Ventas               218160",
        "                                   Costo Merc. Vend.     22453",
        "Stock                 24024        ---------------------------",
        "                                   Margen Bruto         195707",
        "Planta               250000        Subsidios              1010",
        "---------------------------        Marketing              3003",
        "Total Activo         297047        Mantenimiento           808",
        cp1252("---------------------------        Capacitación           2002"),
        "Prestamos Tomados     43043        I & D                  6006",
        "                                   Indemnizaciones        1111",
        "Ut. Acumuladas        -4404        Mantenimiento Stock     909",
        "                                   Intereses              1212",
        "Capital              258408        Penalidad               500",
        "                                   ---------------------------",
        "---------------------------        Util. ante Imp.       30303",
        "Pasivo+Patrimonio    297048        Impuestos Ganancias    1313",
        "                                   ---------------------------",
        cp1252("                                   Util. del Período     20202"),
        S,
        "                   INFORME PRIVADO DE LA EMPRESA",
        "                   ------- ------- -- -- -------",
        cp1252("  Reporte Producción Periodo 3    Reporte de Marketing en Unid."),
        "  ------- ---------- ------- --   ------- -- --------- -- -----",
        "Cap. de la Planta      1515        Ordenes Recibidas       1717",
        cp1252("Producción             1414        Ventas realizadas       1818"),
        "Nivel Utilizado  (%)     75        Ordenes no realiz.      1919",
        "Prod. Costo/Unid.     12.35        Stock en Unidades       2020",
        "Empleados                16",
        "Empleados Indemniz.       4",
        S,
        "                      REPORTE DE CREDITOS",
        "                      ------- -- --------",
        "    Banco NACION\t                     Banco BNA\t\t",
        cp1252("Máximo Crédito     u$s  50000        Máximo Crédito      u$s  60000"),
        cp1252("Tasa Interés Anual (%)  24.00        Tasa Interés Anual  (%)  30.00"),
        cp1252("Préstamos Tomados  u$s  21021        Préstamos Tomados   u$s  22022"),
        cp1252("Prést. Adicional   u$s   3131        Prést. Adicional    u$s   3232"),
        "                                     Giro en Descub.     u$s   1501",
        S,
        "DATOS PARA EL PERIODO 4",
        "----- ---- -- ------- --",
        cp1252("Capacitación Acumulada   u$s  40004"),
        "Planta                   u$s 250000",
        cp1252("Capacidad Producción (100%)   50005 unidades"),
        "I&D Acumulado            u$s  70007",
    });
    const std::string escrito = leerTexto(carpeta / "COMZONA1Delta.txt");
    EXPECT_EQ(escrito, esperado);
    EXPECT_EQ(lineasDe(escrito).size(), 57u);
    // The accented letters are single Windows-1252 bytes.
    EXPECT_EQ(escrito.substr(0, 40), "            Reporte de la Compa\xF1\xED" "a Delta");
    EXPECT_EQ(rutaReporteEmpresa(empresaDelta()), "COMZONA1Delta.txt");
}

TEST(ReporteEmpresa, PeriodoCeroYPeriodoIlegible) {
    CarpetaTemporal carpeta;
    empstr r = empresaDelta();
    r.empresa = "IGUALES";
    r.periodo = "";
    TReporte(carpetaDePrueba()).ReporteEmpresa(r);
    auto lineas = lineasDe(leerTexto(carpeta / "COMZONA1IGUALES.txt"));
    ASSERT_EQ(lineas.size(), 57u);
    EXPECT_EQ(lineas[0], cp1252("            Reporte de la Compañía IGUALES para el Período "));
    EXPECT_EQ(lineas[33], cp1252("  Reporte Producción              Reporte de Marketing en Unid."));
    EXPECT_EQ(lineas[51], "DATOS PARA EL PERIODO 1");

    r.empresa = "Delta";
    r.periodo = "x";
    TReporte(carpetaDePrueba()).ReporteEmpresa(r);
    lineas = lineasDe(leerTexto(carpeta / "COMZONA1Delta.txt"));
    ASSERT_EQ(lineas.size(), 57u);
    EXPECT_EQ(lineas[0], cp1252("            Reporte de la Compañía Delta para el Período x"));
    EXPECT_EQ(lineas[33], cp1252("  Reporte Producción              Reporte de Marketing en Unid."));
    EXPECT_EQ(lineas[51], "DATOS PARA EL PERIODO 1");

    r.periodo = "10";
    TReporte(carpetaDePrueba()).ReporteEmpresa(r);
    lineas = lineasDe(leerTexto(carpeta / "COMZONA1Delta.txt"));
    EXPECT_EQ(lineas[33], cp1252("  Reporte Producción Periodo 10    Reporte de Marketing en Unid."));
    EXPECT_EQ(lineas[51], "DATOS PARA EL PERIODO 11");
}

TEST(ReporteEmpresa, NombreDelArchivoEnLaCodificacionDelSistema) {
    CarpetaTemporal carpeta;
    empstr r = empresaDelta();
    r.empresa = cp1252("Compañía Ñandú");
    TReporte(carpetaDePrueba()).ReporteEmpresa(r);
    // The file browser shows the name with its accents; the text inside
    // stays Windows-1252.
    const auto ruta = carpeta / "COMZONA1Compañía Ñandú.txt";
    ASSERT_TRUE(std::filesystem::exists(ruta));
    EXPECT_EQ(rutaReporteEmpresa(r), ruta.filename());
    EXPECT_EQ(lineasDe(leerTexto(ruta))[0],
              "            Reporte de la Compa\xF1\xED" "a Compa\xF1\xED" "a \xD1" "and\xFA para el Per\xED" "odo 3");
}

TEST(ReporteEmpresa, NombreConCaracteresProhibidosEnElArchivo) {
    CarpetaTemporal carpeta;
    empstr r = empresaDelta();
    r.empresa = "A/B\\C:D*E?F\"G<H>I|J\tK";
    TReporte(carpetaDePrueba()).ReporteEmpresa(r);
    const auto ruta = carpeta / "COMZONA1A_B_C_D_E_F_G_H_I_J_K.txt";
    ASSERT_TRUE(std::filesystem::exists(ruta));
    EXPECT_EQ(rutaReporteEmpresa(r), ruta.filename());
    // Only the file name changes: the report keeps the name as entered.
    EXPECT_EQ(lineasDe(leerTexto(ruta))[0],
              cp1252("            Reporte de la Compañía A/B\\C:D*E?F\"G<H>I|J\tK para el Período 3"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta.ruta()), {}), 1);
}

TEST(ReporteEmpresa, NombreDeCincuentaCaracteres) {
    CarpetaTemporal carpeta;
    empstr r = empresaDelta();
    r.empresa = std::string(25, 'N') + std::string(25, 'm');
    TReporte(carpetaDePrueba()).ReporteEmpresa(r);
    const auto ruta = carpeta / ("COMZONA1" + r.empresa + ".txt");
    ASSERT_TRUE(std::filesystem::exists(ruta));
    EXPECT_EQ(lineasDe(leerTexto(ruta))[0], cp1252("            Reporte de la Compañía ") + r.empresa +
                                                 cp1252(" para el Período 3"));
}

TEST(ReporteEmpresa, ReemplazaElReporteAnterior) {
    CarpetaTemporal carpeta;
    escribirBytes(carpeta / "COMZONA1Delta.txt", std::vector<uint8_t>(20000, '#'));
    TReporte(carpetaDePrueba()).ReporteEmpresa(empresaDelta());
    const std::string escrito = leerTexto(carpeta / "COMZONA1Delta.txt");
    EXPECT_EQ(escrito.find('#'), std::string::npos);
    EXPECT_EQ(lineasDe(escrito).size(), 57u);
}

TEST(ReporteEmpresa, ArchivoQueNoSePuedeCrear) {
    CarpetaTemporal carpeta;
    std::filesystem::create_directory(carpeta / "COMZONA1Delta.txt");
    try {
        TReporte(carpetaDePrueba()).ReporteEmpresa(empresaDelta());
        FAIL() << "se esperaba ErrorArchivo";
    } catch (const ErrorArchivo& e) {
        EXPECT_EQ(e.archivo(), carpeta / "COMZONA1Delta.txt");
    }
}

// POSIX only: the file-size limit (setrlimit) has no Windows counterpart.
#ifndef _WIN32
TEST(ReporteEmpresa, EscrituraQueFallaNoDejaUnReporteAMedias) {
    CarpetaTemporal carpeta;
    // A file-size limit makes the disk refuse the write past the first bytes.
    constexpr rlim_t kLimite = 300;
    rlimit anterior{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &anterior), 0);
    auto senal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limitado = anterior;
    limitado.rlim_cur = kLimite;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limitado), 0);
    bool fallo = false;
    try {
        TReporte(carpetaDePrueba()).ReporteEmpresa(empresaDelta());
    } catch (const ErrorArchivo&) {
        fallo = true;
    }
    setrlimit(RLIMIT_FSIZE, &anterior);
    std::signal(SIGXFSZ, senal);

    EXPECT_TRUE(fallo);
    // A report is written whole or not at all: a full disk leaves no partial file.
    EXPECT_FALSE(std::filesystem::exists(carpeta / "COMZONA1Delta.txt"));
    TReporte(carpetaDePrueba()).ReporteEmpresa(empresaDelta());
    const std::string inicio = archivo({cp1252("            Reporte de la Compañía Delta para el Período 3"), "",
                                        "                   DECISIONES TOMADAS DEL PERIODO",
                                        "                   ---------- ------- --- -------"});
    EXPECT_EQ(leerTexto(carpeta / "COMZONA1Delta.txt").substr(0, inicio.size()), inicio);
}
#endif
