#pragma once
// TFDecicionesPeriodo0: the one set of decisions that every company takes in
// period 0. Saving checks the figures the engine's tables can hold and runs
// the period-0 start-up, which opens "Período 1"; the screen then closes. A
// figure that does not convert or is out of range keeps the screen open with
// what was typed, and nothing is written.

#include "engine/UDecicionesPeriodo0.h"
#include "juego/Juego.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;
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

protected:
    /// Shows the empty title: the platform would put the program's name
    /// in place of an empty one.
    void showEvent(QShowEvent* evento) override;

private:
    void FormCreate();
    /// Every field against its range, with the decision screen's messages;
    /// false, and the offending box focused, when one is out of range.
    bool comprobarRangos(const TDecisionesPeriodo0& decisiones);

    QLineEdit* edPrecio = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label20 = nullptr;
    TEtiquetaDobleClic* Label1 = nullptr;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnCancelar = nullptr;
    TMarca marca_;  ///< the game as it stood when the screen opened
};
