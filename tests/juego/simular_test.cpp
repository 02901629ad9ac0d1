// The period run, end to end on temporary game folders.

#include "engine/apoyo_juego.h"
#include "juego/CorridaPeriodo.h"
#include "engine/ValidarDecision.h"
#include "store/ErrorArchivo.h"
#include "store/Texto.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::vector<uint8_t>> archivosDelJuego(const CarpetaTemporal& c) {
    std::vector<std::vector<uint8_t>> contenido;
    for (const char* nombre : {"DATOS INICIALES.DAT", "DATOS ACUMULADOS.DAT", "DECISIONES.DAT"})
        contenido.push_back(leerBytes(c / nombre));
    return contenido;
}

}  // namespace

TEST(Simular, PozoDeInvestigacionRepartidoPorLaZona) {
    CarpetaTemporal carpeta;
    auto ini = parametrosNeutros(2);
    ini.nroInvYDes = 400;
    auto a = empresaNeutra("Alfa"), b = empresaNeutra("Beta");
    a.invYDesAcumulada = b.invYDesAcumulada = 1000;
    auto d = decisionNeutra();
    d.invYDes = 1000;
    guardarJuego(ini, {a, b}, {d, d});
    simularPeriodo(carpetaDePrueba());

    // Zone R&D 4000, each holds 1000 of it: 100 of the 400 extra orders each.
    // Price 60 with marketing 3000 orders 7130 from the table.
    for (int i = 1; i <= 2; ++i) {
        auto r = leerEmpresa(i);
        EXPECT_EQ(r.stockUnidades, 20000 - 7230);
        EXPECT_EQ(r.invYDesAcumulada, 2000);
    }
    auto reporte = leerTexto(carpeta / "COMZONA1Alfa.txt");
    EXPECT_EQ(valorEnReporte(reporte, "Ordenes Recibidas    "), "   7230");
}

TEST(Simular, FondosJustosNoPaganPenalidad) {
    CarpetaTemporal carpeta;
    auto ini = parametrosNeutros(2);
    auto justa = empresaNeutra("Justa"), corta = empresaNeutra("Corta");
    auto d = decisionNeutra();
    d.invYDes = 2000;  // outlays: marketing 3000 + R&D 2000
    justa.efectivo = 5000;
    corta.efectivo = 4999;
    guardarJuego(ini, {justa, corta}, {d, d});
    simularPeriodo(carpetaDePrueba());

    EXPECT_FALSE(fs::exists(carpeta / "PenalidadEmpresa_Justa.txt"));
    EXPECT_EQ(valorEnReporte(leerTexto(carpeta / "COMZONA1Justa.txt"), "Penalidad           "), "      0");
    // One u$s short: the penalty of 500 and the shortfall come as a loan from bank A.
    EXPECT_TRUE(fs::exists(carpeta / "PenalidadEmpresa_Corta.txt"));
    auto corta2 = leerEmpresa(2);
    EXPECT_EQ(corta2.prestamoA, 501);
    EXPECT_EQ(valorEnReporte(leerTexto(carpeta / "COMZONA1Corta.txt"), "Penalidad           "), "    500");
}

TEST(Simular, DevolucionBMenorQueElGiroArrastrado) {
    CarpetaTemporal carpeta;
    auto ini = parametrosNeutros(1);
    auto e = empresaNeutra("Giro");
    e.giroDescubierto = 10000;
    e.prestamoB = 20000;
    auto d = decisionNeutra();
    d.devPrestamoB = 4000;
    guardarJuego(ini, {e}, {d});
    simularPeriodo(carpetaDePrueba());

    auto r = leerEmpresa(1);
    EXPECT_EQ(r.giroDescubierto, 6000);  // the repayment went to the overdraft
    EXPECT_EQ(r.prestamoB, 20000);       // and none of it to bank B
    EXPECT_EQ(valorEnReporte(leerTexto(carpeta / "COMZONA1Giro.txt"), "Dev. Prestamo Bco PROVINCIA\tu$s"), "   4000");
}

TEST(Simular, PrestamoPorEncimaDelLimite) {
    CarpetaTemporal carpeta;
    auto ini = parametrosNeutros(1);
    ini.maxCreditoA = 50000;
    auto e = empresaNeutra("Tope");
    e.prestamoA = 40000;
    auto d = decisionNeutra();
    d.pedPrestamoA = 30000;
    guardarJuego(ini, {e}, {d});
    simularPeriodo(carpetaDePrueba());

    auto r = leerEmpresa(1);
    EXPECT_EQ(r.prestamoA, 50000);        // capped at the limit
    EXPECT_EQ(r.giroDescubierto, 20000);  // the excess became overdraft
}

TEST(Simular, DeudaBYaExcedidaNoSeCobraDosVecesComoGiro) {
    CarpetaTemporal carpeta;
    auto ini = parametrosNeutros(1);
    ini.maxCreditoA = 0;
    ini.maxCreditoB = 80000;
    auto e = empresaNeutra("Excedida");
    e.prestamoB = 110000;  // 30000 above bank B's limit
    e.efectivo = 0;
    auto d = decisionNeutra();
    d.marketing = 10000;  // a shortfall of 10000, 10500 with the penalty
    guardarJuego(ini, {e}, {d});
    simularPeriodo(carpetaDePrueba());

    EXPECT_EQ(leerEmpresa(1).giroDescubierto, 40500);
}

TEST(Simular, DosQuiebrasEnLasPosicionesDosYTres) {
    CarpetaTemporal carpeta;
    auto ini = parametrosNeutros(4);
    ini.maxCreditoA = 50000;
    ini.limiteGiroDescubierto = 1000;
    auto sana = decisionNeutra();
    auto quiebra = decisionNeutra();
    quiebra.pedPrestamoA = 100000;  // 50000 over the limit: an overdraft far beyond 1000
    guardarJuego(ini, {empresaNeutra("A"), empresaNeutra("B"), empresaNeutra("C"), empresaNeutra("D")},
                 {sana, quiebra, quiebra, sana});
    const TResultadoCorrida corrida = simularPeriodo(carpetaDePrueba());

    EXPECT_EQ(TDatosAcum(carpetaDePrueba()).cantidadAcum(), 2);
    EXPECT_EQ(aTexto(leerEmpresa(1).nombreEmpresa), "A");
    EXPECT_EQ(aTexto(leerEmpresa(2).nombreEmpresa), "D");
    auto p = leerParametros();
    EXPECT_EQ(p.cantEquipos, 2);
    EXPECT_EQ(p.cantEquiposZona1, 2);
    EXPECT_EQ(p.periodoActual, 2);
    EXPECT_TRUE(fs::exists(carpeta / "QuiebraEmpresa_B.txt"));
    EXPECT_TRUE(fs::exists(carpeta / "QuiebraEmpresa_C.txt"));

    EXPECT_EQ(corrida.quiebras, (std::vector<std::string>{"B", "C"}));

    // The bankrupt companies have no line in the competition table.
    auto industria = leerTexto(carpeta / "INDZONA1.txt");
    EXPECT_NE(industria.find("\r\nA    "), std::string::npos);
    EXPECT_EQ(industria.find("\r\nB    "), std::string::npos);
    EXPECT_EQ(industria.find("\r\nC    "), std::string::npos);

    // A step back brings them back, counted again.
    ASSERT_TRUE(restaurarRespaldo(carpetaDePrueba()));
    EXPECT_EQ(TDatosAcum(carpetaDePrueba()).cantidadAcum(), 4);
    EXPECT_EQ(leerParametros().cantEquipos, 4);
    EXPECT_EQ(leerParametros().periodoActual, 1);
}

// The run says what it did and tells nobody: the game core decides that.
TEST(Simular, DiceLoQueHizoSinAvisarANadie) {
    CarpetaTemporal carpeta;
    guardarJuego(parametrosNeutros(1, 3), {empresaNeutra("Una")}, {decisionNeutra()});
    const TResultadoCorrida corrida = simularPeriodo(carpetaDePrueba());
    EXPECT_EQ(corrida.periodo, 3);
    EXPECT_EQ(corrida.empresas, 1);
    EXPECT_TRUE(corrida.quiebras.empty());
    EXPECT_EQ(corrida.periodoNuevo, 4);
    EXPECT_TRUE(registroNotificador().eventos.empty());
    EXPECT_EQ(fs::file_size(carpeta / "DECISIONES.DAT"), 0u);
    EXPECT_TRUE(fs::exists(carpeta / "historial" / "Periodo 3" / "COMZONA1Una.txt"));
    EXPECT_TRUE(fs::exists(carpeta / "historial" / "Periodo 3" / "INDZONA1.txt"));
    EXPECT_TRUE(fs::exists(carpeta / "historial" / "Periodo 3" / "DATOS ACUMULADOS.DAT"));
}

TEST(Simular, DelPeriodoDiezAlOnce) {
    CarpetaTemporal carpeta;
    guardarJuego(parametrosNeutros(1, 10), {empresaNeutra("Una")}, {decisionNeutra()});
    EXPECT_EQ(simularPeriodo(carpetaDePrueba()).periodoNuevo, 11);
    EXPECT_EQ(leerParametros().periodoActual, 11);
}

TEST(Simular, SinEmpresasSoloAvanzaElPeriodo) {
    CarpetaTemporal carpeta;
    guardarJuego(parametrosNeutros(0, 5), {}, {});
    EXPECT_EQ(simularPeriodo(carpetaDePrueba()).empresas, 0);
    EXPECT_EQ(leerParametros().periodoActual, 6);
    EXPECT_FALSE(fs::exists(carpeta / "INDZONA1.txt"));
    EXPECT_EQ(fs::file_size(carpeta / "DECISIONES.DAT"), 0u);
}

TEST(Simular, ErrorDeArchivoDejaElJuegoComoEstaba) {
    CarpetaTemporal carpeta;
    guardarJuego(parametrosNeutros(3), {empresaNeutra("Uno"), empresaNeutra("Dos"), empresaNeutra("Tres")},
                 {decisionNeutra(), decisionNeutra(), decisionNeutra()});
    const auto antes = archivosDelJuego(carpeta);
    // The second company's report cannot be written: the first one is already stored by then.
    fs::create_directory(carpeta / "COMZONA1Dos.txt");
    EXPECT_THROW(simularPeriodo(carpetaDePrueba()), ErrorArchivo);
    EXPECT_EQ(archivosDelJuego(carpeta), antes);
    EXPECT_FALSE(fs::exists(carpeta / "historial"));
    EXPECT_TRUE(registroNotificador().eventos.empty());

    // Once the obstacle is gone the same period runs normally.
    fs::remove(carpeta / "COMZONA1Dos.txt");
    simularPeriodo(carpetaDePrueba());
    EXPECT_EQ(leerParametros().periodoActual, 2);
}

TEST(Simular, DecisionesFueraDeRangoNoTocanNingunArchivo) {
    struct Caso {
        void (*cambiar)(TRegDecision&);
        const char* campo;
    };
    const Caso casos[] = {
        {[](TRegDecision& d) { d.precio = 49; }, "precio 49"},
        {[](TRegDecision& d) { d.precio = 101; }, "precio 101"},
        {[](TRegDecision& d) { d.marketing = -1; }, "marketing -1"},
        {[](TRegDecision& d) { d.marketing = 10001; }, "marketing 10001"},
        {[](TRegDecision& d) { d.capacitacion = 3000; }, "capacitación 3000"},
        {[](TRegDecision& d) { d.capacitacion = 22000; }, "capacitación 22000"},
        {[](TRegDecision& d) { d.nivelProduccion = 60; }, "nivel de producción 60"},
        {[](TRegDecision& d) { d.devPrestamoB = 2147483647; }, "devolución al banco B 2147483647"},
        {[](TRegDecision& d) { d.invYDes = -1000000; }, "investigación y desarrollo -1000000"},
        {[](TRegDecision& d) { d.invPlanta = 10000000; }, "planta 10000000"},
        {[](TRegDecision& d) { d.pedPrestamoA = -1; }, "préstamo pedido al banco A -1"},
        {[](TRegDecision& d) { d.pedPrestamoB = 10000000; }, "préstamo pedido al banco B 10000000"},
        {[](TRegDecision& d) { d.devPrestamoA = -2147483647 - 1; }, "devolución al banco A -2147483648"},
    };
    for (const auto& caso : casos) {
        CarpetaTemporal carpeta;
        auto mala = decisionNeutra();
        caso.cambiar(mala);
        guardarJuego(parametrosNeutros(2), {empresaNeutra("Buena"), empresaNeutra("Mala")}, {decisionNeutra(), mala});
        const auto antes = archivosDelJuego(carpeta);
        try {
            simularPeriodo(carpetaDePrueba());
            ADD_FAILURE() << caso.campo;
        } catch (const ErrorDecision& e) {
            std::string mensaje = e.what();
            EXPECT_NE(mensaje.find("\"Mala\""), std::string::npos) << mensaje;
            EXPECT_NE(mensaje.find(caso.campo), std::string::npos) << mensaje;
        }
        EXPECT_EQ(archivosDelJuego(carpeta), antes);
        EXPECT_FALSE(fs::exists(carpeta / "AUXACUM.DAT"));
        EXPECT_FALSE(fs::exists(carpeta / "COMZONA1Buena.txt"));
    }
}

TEST(Simular, FaltanDecisiones) {
    CarpetaTemporal carpeta;
    guardarJuego(parametrosNeutros(2), {empresaNeutra("A"), empresaNeutra("B")}, {decisionNeutra()});
    EXPECT_THROW(simularPeriodo(carpetaDePrueba()), ErrorArchivo);
    EXPECT_FALSE(fs::exists(carpeta / "AUXACUM.DAT"));
    EXPECT_EQ(leerParametros().periodoActual, 1);
}
