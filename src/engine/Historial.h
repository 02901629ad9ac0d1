#pragma once
// The game's history: the reports are rewritten every period, so each run
// files, in "historial/Periodo N" of the data folder, a copy of its reports
// and of what the exports and screens need, so that nobody parses report
// text: the results after the run ("DATOS ACUMULADOS.DAT"), the decisions the
// run used ("DECISIONES.DAT"), the parameters it left ("DATOS INICIALES.DAT"),
// every company of the run as it stored it ("EMPRESAS.DAT") and the
// per-company figures of the industry report ("INDUSTRIA.csv",
// UTF-8). The copy is part of the run's transaction.

#include "store/CarpetaDatos.h"
#include "store/Registros.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TTransaccion;

/// One company's line of the industry report, as numbers.
struct TFilaIndustria {
    std::string empresa;            ///< Windows-1252, as stored
    int32_t precio = 0;
    int32_t ventas = 0;             ///< sales, u$s
    int32_t utilidadPeriodo = 0;    ///< profit of the period, u$s, as the report prints it
    int32_t utilidadAcumulada = 0;  ///< u$s
    int32_t unidadesVendidas = 0;
    double participacion = 0;       ///< market share, percent, to two decimals as printed
    int posicion = 0;               ///< rank by accumulated profit; 0 when it has none (bankrupt, period 0)
    bool quebrada = false;
    std::string reporte;            ///< its report's file name in the period's folder (UTF-8)
    std::string aviso;              ///< its notice's file name, empty when it got none
};

/// What a run files for one period, besides its reports.
struct TArchivoPeriodo {
    int periodo = 0;
    TRegDatosIniciales parametros{};           ///< as the run left them
    std::vector<TRegDatosAcum> resultados;     ///< the results file after the run, bankrupt companies removed
    std::vector<TRegDatosAcum> empresas;       ///< every company of the run as it stored it, bankrupt ones included
    std::vector<TRegDecision> decisiones;      ///< the decisions the run used, company order
    std::vector<TFilaIndustria> industria;     ///< every company of the run, company order
    std::string reporteIndustria;              ///< the industry report's file name
};

/// Stages "historial/Periodo <periodo>" to replace the folder of that name
/// when the transaction commits: the reports (already staged in the
/// transaction) as links, and the files of the period's record.
void archivarPeriodo(TTransaccion& transaccion, const TArchivoPeriodo& archivo,
                     const std::vector<std::filesystem::path>& reportes);

/// "historial/Periodo <periodo>" in the game folder.
std::filesystem::path carpetaDePeriodo(const TCarpeta& carpeta, int periodo);

/// The periods whose record is filed, in order (a history of an older
/// version, without the record, is left out).
std::vector<int> periodosArchivados(const TCarpeta& carpeta);

/// The record of one filed period. A missing or damaged file of it raises
/// ErrorArchivo (ErrorArchivoDanado), naming the file.
TArchivoPeriodo leerArchivoPeriodo(const TCarpeta& carpeta, int periodo);

/// The ranks of companies 1..n by accumulated profit, as the industry
/// report ranks them (bankrupt companies have none: 0).
std::vector<int> posicionesPorUtilidad(const std::vector<TRegDatosAcum>& empresas, std::size_t n);
