#pragma once
// TFRevisionDecisiones ("Revisar decisiones"): every team's decisions in one
// grid, a row per team and a column per decision, opened from the decision
// screen before going on to the simulation. Cells are edited with the range
// checks of the decision screen; a cell out of range is marked and named, and
// the grid does not go on while one remains, but it opens on incomplete teams
// and marks their rows. Each complete row shows its warnings (a loan above
// what a bank still lends, a funds shortfall, layoffs) on the cells they
// concern and its team's name, and the current row's under the grid with
// what each bank still lends it. "Guardar y simular" stores the
// decisions through the game core on the game the decision screen was opened
// on and opens the simulate screen; "Volver" hands the grid back to the
// decision screen.

#include "juego/Juego.h"
#include "store/Registros.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QCloseEvent;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

class TFRevisionDecisiones : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// What the grid gives back to the decision screen: the decisions and
    /// whether they were stored.
    using Devolver = std::function<void(const std::vector<TRegDecision>&, bool guardadas)>;

    /// A window on top of padre (the decision screen), deleted on close.
    /// equipos: the teams' names; bancos: the names of banks A and B; marca:
    /// the game as the decision screen saw it.
    TFRevisionDecisiones(TJuego& juego, QWidget* padre, const QStringList& equipos, const QStringList& bancos,
                         const std::vector<TRegDecision>& decisiones, const TMarca& marca, Devolver devolver);

    /// The cells out of range, each as "team, column: message", in grid order.
    QStringList fallas() const;
    /// The warnings on each row's decisions as they stand (none for a row
    /// with a cell out of range), in grid order.
    const std::vector<std::vector<TAvisoDecision>>& avisos() const { return avisos_; }

public slots:
    void btnGuardarSimularClick();
    void btnVolverClick();
    void grillaItemChanged(QTableWidgetItem* celda);

protected:
    /// The close box goes back to the decision screen as "Volver" does.
    void closeEvent(QCloseEvent* evento) override;

private:
    /// Hands the grid back to the decision screen, asking first when a cell
    /// is out of range; false when the game master stays on the grid.
    bool devolverGrilla();
    /// The grid as decision records; the cells must all be valid.
    std::vector<TRegDecision> leerGrilla() const;
    /// The message of a cell's value; empty when it is in range.
    QString fallaCelda(int fila, int columna) const;
    void marcarCelda(int fila, int columna);
    void mostrarFallas();
    /// Works out every row's warnings again and marks them.
    void actualizarAvisos();
    /// The current row's credit and warnings, under the grid.
    void mostrarAvisosFila();
    void crearEncabezados(const QStringList& bancos);

    QTableWidget* grilla = nullptr;
    QLabel* lblFallas = nullptr;
    QLabel* lblAvisos = nullptr;
    QPushButton* btnGuardarSimular = nullptr;
    QPushButton* btnVolver = nullptr;
    QStringList equipos_;
    QStringList columnas_;
    QStringList bancos_;
    std::vector<std::vector<TAvisoDecision>> avisos_;
    std::vector<std::optional<TCreditoRestante>> creditos_;
    TMarca marca_;
    Devolver devolver_;
    bool terminada_ = false;  ///< already handed back or stored
};
