#pragma once
// TFTablas ("ADMINISTRACIÓN TABLAS"): the three figures that describe the
// demand table: the divisor of its numbers, the price its rows start at and
// the marketing step between its columns. Saving stores the last two in the
// parameters record, keeping every other field as stored; the orders
// calculation does not read them.

#include <QWidget>

class QLineEdit;
class QPushButton;

class TJuego;

class TFTablas : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// On top of padre (the initial data screen), centred on the screen.
    TFTablas(TJuego& juego, QWidget* padre);

public slots:
    void btnGuardarClick();
    void btnCancelarClick();

private:
    void FormCreate();

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnCancelar = nullptr;
};
