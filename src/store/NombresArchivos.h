#pragma once
// The names of everything the game keeps in its folder, in one place: every
// writer and reader takes them from here, so a name is spelled once. Names
// are in the file system's encoding (UTF-8); report names built from a
// company's name go through textoParaArchivo (reports/Reportes_UD.h) first.

#include <string>

// The game files (fixed-layout records, store/Registros.h).
inline constexpr const char* kArchivoParametros = "DATOS INICIALES.DAT";
inline constexpr const char* kArchivoNombres = "NOMBRES.DAT";
inline constexpr const char* kArchivoResultados = "DATOS ACUMULADOS.DAT";
inline constexpr const char* kArchivoDecisiones = "DECISIONES.DAT";
/// The companies as they entered a period (history only).
inline constexpr const char* kArchivoEmpresas = "EMPRESAS.DAT";

// The checkpoint of the last period run: a copy of each game file it changes.
inline constexpr const char* kRespaldoResultados = "AUXACUM.DAT";
inline constexpr const char* kRespaldoDecisiones = "AUXDECISIONES.DAT";
inline constexpr const char* kRespaldoParametros = "AUXINI.DAT";

/// The folder lock that one game object holds at a time.
inline constexpr const char* kArchivoBloqueo = "CORVELIAN.LCK";
/// The turn of a change waiting for that lock: while one holds it, no new
/// reader takes the lock.
inline constexpr const char* kArchivoTurno = "CORVELIAN-TURNO.LCK";

/// The staging folder and the journal of the transaction (store/Transaccion.h).
inline constexpr const char* kCarpetaTransaccion = "TRANSACCION.TMP";
inline constexpr const char* kDiarioTransaccion = "TRANSACCION.DAT";
/// The suffix of a file being written before it takes its place.
inline constexpr const char* kSufijoTemporal = ".tmp";

// Files of our own beside the game files (locale-free text).
inline constexpr const char* kArchivoCodigos = "CODIGOS PORTAL.txt";
inline constexpr const char* kArchivoComputadora = "EMPRESAS COMPUTADORA.csv";
inline constexpr const char* kArchivoRegistroPortal = "REGISTRO PORTAL.csv";
/// Present only in a practice: which company is the student's.
inline constexpr const char* kArchivoPractica = "PRACTICA.csv";
/// The folder of the teams' submissions through the portal.
inline constexpr const char* kCarpetaEnvios = "envios portal";

// The history: a copy of every period's files and reports.
inline constexpr const char* kCarpetaHistorial = "historial";
/// The industry's figures of one period, inside its history folder.
inline constexpr const char* kArchivoIndustria = "INDUSTRIA.csv";
/// "Periodo N": a period's folder inside the history, and the start of its PDF names.
inline std::string nombrePeriodo(int periodo) { return "Periodo " + std::to_string(periodo); }
/// "historial/Periodo N", relative to the game folder.
inline std::string carpetaHistorialDe(int periodo) { return std::string(kCarpetaHistorial) + "/" + nombrePeriodo(periodo); }
/// Where an older history goes when a new game starts over one: "historial anterior N".
inline std::string historialAnterior(int n) { return std::string(kCarpetaHistorial) + " anterior " + std::to_string(n); }

// The reports (Windows-1252 company names, not yet made safe for a file name).
inline constexpr const char* kExtensionInforme = ".txt";
inline constexpr const char* kPrefijoInformeEmpresa = "COMZONA";
inline constexpr const char* kPrefijoInformeIndustria = "INDZONA";
inline constexpr const char* kPrefijoQuiebra = "QuiebraEmpresa_";
inline constexpr const char* kPrefijoPenalidad = "PenalidadEmpresa_";
/// The company name of the period-0 reports, common to every company.
inline constexpr const char* kEmpresaPeriodo0 = "IGUALES";

/// "COMZONA" + zone + company + ".txt".
inline std::string nombreInformeEmpresa(const std::string& zona, const std::string& empresa) {
    return kPrefijoInformeEmpresa + zona + empresa + kExtensionInforme;
}
/// "INDZONA" + zone + ".txt", or "INDZONA" + zone + "IGUALES.txt" for period 0.
inline std::string nombreInformeIndustria(const std::string& zona, bool periodo0) {
    return kPrefijoInformeIndustria + zona + (periodo0 ? kEmpresaPeriodo0 : "") + kExtensionInforme;
}
/// "QuiebraEmpresa_" or "PenalidadEmpresa_" + company + ".txt".
inline std::string nombreAviso(bool quiebra, const std::string& empresa) {
    return (quiebra ? kPrefijoQuiebra : kPrefijoPenalidad) + empresa + kExtensionInforme;
}
/// A report of the game folder, by the names the runs give them.
inline bool esNombreDeInforme(const std::string& nombre) {
    if (!nombre.ends_with(kExtensionInforme)) return false;
    for (const char* prefijo : {kPrefijoInformeEmpresa, kPrefijoInformeIndustria, kPrefijoQuiebra, kPrefijoPenalidad})
        if (nombre.starts_with(prefijo)) return true;
    return false;
}
