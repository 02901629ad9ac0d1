#pragma once
// The PDF hand-outs of a period: one file per company with what its team may
// see (its report, its notice if it got one, the industry report) and one
// file with every report for the teacher (industry report, then each
// company's report, then the notices, and last a page with the season's
// charts up to that period). The history is read through the game
// core; the reports are drawn as real text in a fixed-width font, one report
// from a new page, with a header on every page.
//
// Needs a QApplication (see asegurarAplicacionGrafica for programs
// without one).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>
#include <vector>

class TJuego;

/// Report lines per page, header excluded.
inline constexpr int lineasPorPagina = 66;

/// One written PDF.
struct TDocumentoPdf {
    std::filesystem::path ruta;
    std::string empresa;  ///< Windows-1252; empty for the teacher's file
    int paginas = 0;
};

/// The lines of a report as the PDF shows them: Windows-1252 decoded, CR LF,
/// LF or a lone CR ending a line, tabs expanded to 8 columns, trailing blank
/// lines dropped.
QStringList lineasDeReporte(const std::string& bytes1252);

/// A line with its tabs expanded to the next multiple of 8 columns.
QString expandirTabulaciones(const QString& linea);

/// "Periodo 3 - Alfa.pdf" (empresa in Windows-1252, made safe as report
/// names are), in the file system's encoding (UTF-8).
std::string nombrePdfEmpresa(int periodo, const std::string& empresa1252);
/// "Periodo 3 (todos los informes).pdf": it cannot clash with a company's.
std::string nombrePdfDocente(int periodo);

/// The width in points of one character of a document whose widest report
/// line has columnas characters (the font shrinks for lines wider than the page).
double puntosPorColumna(qsizetype columnas);

/// Writes the period's hand-outs into carpeta (created when missing) and
/// returns them, the companies' in company order, then the teacher's.
/// ErrorJuego when the period is not in the history; ErrorArchivo when a
/// file cannot be written.
std::vector<TDocumentoPdf> escribirPdfsDelPeriodo(TJuego& juego, int periodo, const std::filesystem::path& carpeta);

/// One company's hand-out of a period (its report, its notice if any, the
/// industry report) as the bytes of a PDF, made in memory. ErrorJuego when
/// the period is not in the history or the company did not play it.
QByteArray pdfDeEmpresa(TJuego& juego, int periodo, const std::string& empresa1252);

/// For programs without a window: creates the QApplication that drawing
/// needs when there is none, on the offscreen platform when no display is
/// set or sinPantalla asks for it. Idempotent.
void asegurarAplicacionGrafica(bool sinPantalla = false);
