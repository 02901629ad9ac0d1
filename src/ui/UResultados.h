#pragma once
// TFResultados ("FResultados"): the reports a period left, as the files hold
// them. The game master picks a period (from the history: 0 up to the last
// one run) and a report (the industry's, each company's, the period's
// notices) and may print the one on show or every report of the period.
// Up and Down move through the reports, PgUp and PgDn through the periods,
// wherever the focus is in the screen. In a practice it opens on the
// student's own report.

#include "engine/Historial.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
struct TReporteImpreso;

class TJuego;

class TFResultados : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// On top of padre (the main window), on the last period filed.
    TFResultados(TJuego& juego, QWidget* padre);

    /// Reads the history again and shows periodo (the last one filed when it
    /// is not filed), keeping the report chosen when that period has it.
    void mostrarPeriodo(int periodo);
    /// Reads the history again, staying on the period on show while it is filed.
    void actualizar() { mostrarPeriodo(periodo_); }

    /// The text on show, exactly as the screen holds it.
    QString textoMostrado() const;
    /// The header of every page of the last print, in order; none when the
    /// dialog was cancelled.
    const QStringList& ultimasCabeceras() const { return ultimasCabeceras_; }

public slots:
    void cbPeriodoChange(int indice);
    void lstReportesChange(int fila);
    void btnImprimirClick();
    void btnImprimirPeriodoClick();
    void btnCerrarClick();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // One entry of the list: its name and the files it shows, in order.
    struct TEntrada {
        QString nombre;
        std::vector<std::string> archivos;
    };

    void FormCreate();
    void cargarPeriodo(int periodo);
    TReporteImpreso reporte(int fila) const;
    void imprimir(const QList<TReporteImpreso>& reportes);
    void moverReporte(int paso);
    void moverPeriodo(int paso);

    QComboBox* cbPeriodo = nullptr;
    QListWidget* lstReportes = nullptr;
    QPlainTextEdit* txtReporte = nullptr;
    QPushButton* btnImprimir = nullptr;
    QPushButton* btnImprimirPeriodo = nullptr;
    QPushButton* btnCerrar = nullptr;

    int periodo_ = -1;
    QString alumno_;  ///< the student's company in a practice; empty in a class game
    QList<TEntrada> entradas_;
    QStringList ultimasCabeceras_;
};
