#pragma once
// TFEvolucion ("FEvolucion"): the season's line charts, one line per
// company over the periods filed, for the measure chosen; the game master
// picks the companies shown from a list that a search box filters (the
// chart's own legend is hidden beyond a few lines: the list shows each
// company's colour instead), and saves the chart as PNG or SVG.
//
// TFClase ("FClase"): the projector view, full screen: the standings in
// large type (rank, team, accumulated profit, places gained or lost since
// the previous period) beside the chart of accumulated profit. Esc leaves it.
//
// Both read the history through the game core and are read again after
// every run.

#include "juego/Evolucion.h"

#include <QString>
#include <QWidget>

#include <vector>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

class TJuego;

class TFEvolucion : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    TFEvolucion(TJuego& juego, QWidget* padre);

    /// Reads the history again, keeping the measure and the companies chosen.
    void actualizar();

    const TEvolucion& evolucionMostrada() const { return evolucion_; }
    TMedida medida() const;
    /// The chart on show.
    QChart* grafico() const;
    /// Which companies are chosen, in company order.
    std::vector<bool> elegidas() const;
    /// The text of the last tooltip shown by hovering, empty once it left.
    const QString& textoFlotante() const { return textoFlotante_; }

public slots:
    void cbMedidaChange(int indice);
    void txtBuscarChange(const QString& texto);
    void btnTodasClick();
    void btnNingunaClick();
    void btnGuardarPngClick();
    void btnGuardarSvgClick();

private:
    void FormCreate();
    void llenarLista(const std::vector<bool>& marcadas);
    void redibujar();
    void marcarFiltradas(bool marcada);
    void guardar(bool png);

    QComboBox* cbMedida = nullptr;
    QLineEdit* txtBuscar = nullptr;
    QListWidget* lstEmpresas = nullptr;
    QPushButton* btnTodas = nullptr;
    QPushButton* btnNinguna = nullptr;
    QPushButton* btnGuardarPng = nullptr;
    QPushButton* btnGuardarSvg = nullptr;
    QLabel* lblAviso = nullptr;
    QChartView* vista = nullptr;

    TEvolucion evolucion_;
    QString textoFlotante_;
};

class TFClase : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    TFClase(TJuego& juego, QWidget* padre);

    /// Reads the history again.
    void actualizar();

    const std::vector<TFilaClase>& filas() const { return filas_; }
    QChart* grafico() const;

    /// The table's type, puntos larger (Ctrl+plus) or smaller (Ctrl+minus);
    /// 0 puts back the usual 20 points.
    void cambiarLetra(int puntos);

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    QLabel* lblTitulo = nullptr;
    QTableWidget* tblPosiciones = nullptr;
    QChartView* vista = nullptr;
    std::vector<TFilaClase> filas_;
};

/// "▲ 2", "▼ 1", "=" or nothing: the change of rank as the projector shows it.
QString textoCambio(const TFilaClase& fila);
