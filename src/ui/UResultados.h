#pragma once
// TFResultados ("FResultados"): the reports a period left, as the files hold
// them. The game master picks a period (from the history: 0 up to the last
// one run) and a report (the industry's, each company's, the period's
// notices) and may print the one on show or every report of the period.
// Up and Down move through the reports, PgUp and PgDn through the periods,
// wherever the focus is in the screen. In a practice it opens on the
// student's own report, their company in bold in the list. Above the report,
// the period and the report's name, the name shortened to fit (whole in its
// tooltip) so that the period always shows. While it shows the last period
// filed it follows the game: a period run elsewhere comes on screen when the
// game is read again.

#include "engine/Historial.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
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
    /// Reads the history again, staying on the period on show while it is
    /// filed, or on the last one filed when that was the one on show.
    void actualizar() { mostrarPeriodo(periodo_ == ultimoPeriodo_ ? -1 : periodo_); }

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
        bool deComputadora = false;  ///< marked "(PC)" in the list
    };

    void FormCreate();
    void cargarPeriodo(int periodo);
    TReporteImpreso reporte(int fila) const;
    void imprimir(const QList<TReporteImpreso>& reportes);
    void moverReporte(int paso);
    void moverPeriodo(int paso);
    /// The header above the report: the period, and the name fitted to the room left.
    void mostrarCabecera(const QString& nombre);
    void ajustarNombre();

    QComboBox* cbPeriodo = nullptr;
    QListWidget* lstReportes = nullptr;
    QPlainTextEdit* txtReporte = nullptr;
    QLabel* lblPeriodo = nullptr;
    QLabel* lblNombre = nullptr;
    QPushButton* btnImprimir = nullptr;
    QPushButton* btnImprimirPeriodo = nullptr;
    QPushButton* btnCerrar = nullptr;

    int periodo_ = -1;
    int ultimoPeriodo_ = -1;  ///< the last period filed, as last read
    QString nombre_;          ///< the report's name on show, whole
    QString alumno_;  ///< the student's company in a practice; empty in a class game
    QList<TEntrada> entradas_;
    QStringList ultimasCabeceras_;
};
