#pragma once
// TFDecicionesPeriodo0: the one set of decisions that every company takes in
// period 0. Saving checks the figures the engine's tables can hold and runs
// the period-0 start-up, which opens "Período 1"; the screen then closes. A
// figure that does not convert or is out of range keeps the screen open with
// what was typed, and nothing is written.

#include "engine/UDecicionesPeriodo0.h"
#include "juego/Juego.h"

#include <QWidget>

class QPushButton;
class TCamposDecision;
class TEtiquetaDobleClic;

class TFDecicionesPeriodo0 : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// On top of padre (the main window) and centred on it; shows the stored
    /// bank names.
    TFDecicionesPeriodo0(TJuego& juego, QWidget* padre);

public slots:
    void Label1DblClick();
    void btnGuardarClick();
    void btnCancelarClick();

private:
    void FormCreate();

    TCamposDecision* campos_ = nullptr;
    TEtiquetaDobleClic* Label1 = nullptr;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnCancelar = nullptr;
    TMarca marca_;  ///< the game as it stood when the screen opened
};
