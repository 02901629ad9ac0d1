#pragma once
// TFClase ("FClase"): the projector view, full screen: the standings in
// large type (rank, team, accumulated profit, places gained or lost since
// the previous period) beside the chart of accumulated profit. Every company
// stays listed, the computer's marked "(PC)", a bankrupt one with the period
// it went bankrupt in; at the end the winner is named and, with the computer
// in the game, the best team of the class. "Equipos" hides lines from the
// chart. Ctrl+plus and Ctrl+minus change the type; Esc leaves.
//
// It reads the history through the game core again after every run.

#include "juego/Evolucion.h"

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QChart;
class QChartView;
class QLabel;
class QMenu;
class QTableWidget;
class QToolButton;

class TJuego;

class TFClase : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    TFClase(TJuego& juego, QWidget* padre);

    /// Reads the history again, keeping the companies hidden and the one stood out.
    void actualizar();

    const TEvolucion& evolucionMostrada() const { return evolucion_; }
    const std::vector<TFilaClase>& filas() const { return filas_; }
    QChart* grafico() const;

    /// The table's type, puntos larger (Ctrl+plus) or smaller (Ctrl+minus),
    /// kept so; 0 puts back the usual 20 points, made smaller (to 12) while
    /// the rows do not all fit the screen.
    void cambiarLetra(int puntos);

    /// Company empresa (its place in evolucionMostrada().empresas) stands
    /// out: its line thick, its row bold. -1 for none.
    void resaltarEmpresa(int empresa);

    /// Shows or hides company empresa's line in the chart.
    void mostrarEmpresa(int empresa, bool visible);

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    void llenarTabla();
    void redibujar();
    void llenarMenuEquipos();
    void ajustarFilas();
    void aplicarLetra(int tamano);

    QLabel* lblTitulo = nullptr;
    QLabel* lblMejorEquipo = nullptr;
    QTableWidget* tblPosiciones = nullptr;
    QToolButton* btnEquipos = nullptr;
    QMenu* mnuEquipos = nullptr;
    QChartView* vista = nullptr;
    TEvolucion evolucion_;
    std::vector<TFilaClase> filas_;
    std::vector<std::string> ocultas_;  // by name: they stay hidden across runs
    std::string resaltada_;             // by name, empty for none
    bool letraElegida_ = false;         // Ctrl+plus or Ctrl+minus: no longer fitted to the screen
};

/// "▲ 2", "▼ 1", "=" or nothing: the change of rank as the projector shows it.
QString textoCambio(const TFilaClase& fila);
