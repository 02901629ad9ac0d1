#pragma once
// TFEvolucion ("FEvolucion"): the season's line charts, one line per
// company over the periods filed, for the measure chosen; the game master
// picks the companies shown from a list that a search box filters (the
// chart's own legend is hidden beyond a few lines: the list shows each
// company's colour instead), and saves the chart as PNG or SVG.
//
// The computer's companies are marked "(PC)"; one company may stand out
// (a student's own in a practice). It reads the history through the game
// core again after every run. The projector view, TFClase, is in UClase.h,
// included here for the screens that open both.

#include "juego/Evolucion.h"
#include "ui/UClase.h"

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

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

    /// Company empresa (its place in evolucionMostrada().empresas) stands
    /// out: its line thick, its name bold in the list. -1 for none.
    void resaltarEmpresa(int empresa);

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
    std::string resaltada_;  // by name, empty for none: it stays across runs
};
