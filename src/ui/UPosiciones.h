#pragma once
// TFPosiciones ("FPosiciones"): the standings of zone 1. The grid lists the
// companies still in the game, best accumulated profit first, in the order
// the industry report ranks them; it reads the results file when it opens.

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

class TJuego;

class TFPosiciones : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// Rows the grid shows even when fewer companies are playing.
    static constexpr int filasMinimas = 13;

    /// On top of padre (the main window) and centred on it.
    TFPosiciones(TJuego& juego, QWidget* padre);

    /// The zone title; the main window sets it right after creating the screen.
    QLabel* Label1() const { return Label1_; }

public slots:
    void btnGuardarClick();

private:
    void FormCreate();
    void mostrarPosiciones();

    QLabel* Label1_ = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QPushButton* btnGuardar = nullptr;
};
