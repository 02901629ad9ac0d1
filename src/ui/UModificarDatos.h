#pragma once
// TFModificarDatos ("Modificar Datos"): corrects the game parameters between
// periods. The parameters that define the game's starting position (bank
// names, plant, capital, production rate, zone number) are shown but cannot
// be changed; saving keeps every field the screen does not edit.

#include "juego/Juego.h"

#include <QWidget>

#include <vector>

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

    /// One box per row of kTablaParametros, editable when the row is
    /// modifiable, and beside each row of one bank the label with its name.
    std::vector<QLineEdit*> cajas_;
    std::vector<QLabel*> etiquetasBanco_;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnCancelar = nullptr;
    TMarca marca_;  ///< the game as it stood when the screen opened
};
