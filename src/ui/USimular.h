#pragma once
// TFSimular ("FSimular"): the small screen between the decisions and the
// period run. "SIMULAR" runs the period; the small button closes the screen
// without running anything. It has no close box, so it is left only through
// those two buttons.

#include "juego/Juego.h"

#include <optional>

#include <QWidget>

class QCloseEvent;
class QPushButton;

class TFSimular : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// A window on top of padre (the main window), centred on it, non-modal,
    /// deleted on close.
    /// marca: the game as the decision screen saw it; without one the run
    /// takes the game as it finds it.
    TFSimular(TJuego& juego, QWidget* padre, std::optional<TMarca> marca = std::nullopt);

public slots:
    /// Runs the period. On success the screen closes (the run itself has
    /// asked the main window to update its menus and open the folder). When
    /// the run fails the error is shown, the game files are as before the
    /// run, the menus keep the period open and the screen stays usable.
    void btnSimularClick();
    void btnCerrarClick();

protected:
    /// The window manager's close (a close box it draws anyway, Alt+F4) is
    /// refused: the screen is left through its two buttons.
    void closeEvent(QCloseEvent* evento) override;

private:
    QPushButton* btnSimular = nullptr;
    QPushButton* btnCerrar = nullptr;
    std::optional<TMarca> marca_;
};
