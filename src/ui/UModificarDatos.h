#pragma once
// TFModificarDatos ("Modificar Datos"): corrects the game parameters between
// periods. The parameters that define the game's starting position (bank
// names, plant, capital, production rate, zone number) are shown but cannot
// be changed; saving keeps every field the screen does not edit.

#include "juego/Juego.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class TFModificarDatos : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// A window on top of padre (the main window), non-modal, deleted on
    /// close, filled from the stored parameters.
    TFModificarDatos(TJuego& juego, QWidget* padre);

public slots:
    /// Converts every editable box, writes the parameters and then sets the
    /// program-wide severance and penalty values, and closes. A box that does
    /// not convert, or a failed write, is shown in a box and changes nothing:
    /// neither the file nor the program-wide values; the screen stays open.
    void btnGuardarClick();
    void btnCancelarClick();

private:
    void FormCreate();

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QLineEdit* Edit12 = nullptr;
    QLineEdit* Edit13 = nullptr;
    QLineEdit* Edit14 = nullptr;
    QLineEdit* Edit15 = nullptr;
    QLineEdit* Edit16 = nullptr;
    QLineEdit* Edit17 = nullptr;
    QLineEdit* edMaxGiroDescub = nullptr;
    QLineEdit* edNroZona = nullptr;
    QLineEdit* edIndemXEmp = nullptr;
    QLineEdit* edPenalidad = nullptr;
    QLabel* lblBancoA1 = nullptr;
    QLabel* lblBancoA2 = nullptr;
    QLabel* lblBancoB1 = nullptr;
    QLabel* lblBancoB2 = nullptr;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnCancelar = nullptr;
    TMarca marca_;  ///< the game as it stood when the screen opened
};
