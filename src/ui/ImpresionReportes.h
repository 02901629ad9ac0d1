#pragma once
// Printing the reports of a period: each report starts on a new page, every
// page carries a header with the game, the period and the company, and a
// page break falls between the report's blocks (runs of lines separated by
// blank lines) wherever a block fits on one page.

#include <QList>
#include <QString>
#include <QStringList>

class QPrinter;

/// One report to print: whose it is (the header's last part) and its text
/// as textoDeReporte gives it.
struct TReporteImpreso {
    QString empresa;
    QString texto;
};

/// The lines of one report split into pages of at most lineasPorPagina
/// lines; a block moves whole to the next page when it fits there and not on
/// the current one, and blank lines are dropped at the top of a later page.
/// Always at least one page.
QList<QStringList> paginar(const QStringList& lineas, int lineasPorPagina);

/// Prints the reports in order on impresora; returns the header of every
/// page printed, in order, or nothing when the printer could not start.
QStringList imprimirReportes(QPrinter& impresora, const QString& juego, int periodo,
                             const QList<TReporteImpreso>& reportes);
