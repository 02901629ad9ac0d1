#pragma once
// TFPortal ("Portal de equipos"): starts and stops the teams' portal on
// every address of the machine or on the one chosen (the network of the
// classroom), shows the addresses to type and a QR code of the first, lists the teams with
// their access codes, renews one team's code, ends one team's sessions,
// sets the period's deadline (warning when it is already past) and the
// connections one address may hold, tells which addresses hit a cap lately,
// lists the register of submissions and prints the slips that hand each
// team its code. The portal belongs to the main
// window and keeps running when this screen is closed.

#include "juego/CodigosAcceso.h"

#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;
class TPortal;

class TJuego;

class TFPortal : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// A window on top of padre, non-modal, deleted on close, for portal.
    TFPortal(TJuego& juego, QWidget* padre, TPortal& portal);

public slots:
    /// Starts the portal on the port typed, or stops it.
    void btnIniciarClick();
    /// A new code for the team selected, after asking.
    void btnRenovarClick();
    void btnRenovarTodosClick();
    /// Prints every team's slip.
    void btnImprimirClick();
    /// Ends every session of the team selected.
    void btnCerrarSesionesClick();
    /// Sets the deadline typed as HH:MM, or removes it when the field is empty.
    void btnPlazoClick();
    /// Reads the register of submissions again.
    void actualizarEnvios();
    /// Reads the codes and the portal's state again.
    void actualizar();
    /// Shows the deadline in force and the caps addresses hit lately.
    void actualizarAvisos();

private:
    // The parts of the screen, made by the constructor in this order.
    void crearDireccion();
    /// The machine's addresses in the combo, the one in force kept chosen.
    void llenarDirecciones();
    void crearListaCodigos();
    void crearBotonesEquipo();
    void crearPlazo();
    void crearListaEnvios();
    void disponer(QPushButton* btnCerrar);
    void conectar(QPushButton* btnCerrar);

    TPortal& portal_;
    std::vector<TCodigoEquipo> codigos_;
    QSpinBox* edPuerto = nullptr;
    QComboBox* cmbDireccion = nullptr;  ///< "Todas" or one of the machine's IPv4 addresses
    QPushButton* btnIniciar = nullptr;
    QPushButton* btnRenovar = nullptr;
    QPushButton* btnRenovarTodos = nullptr;
    QPushButton* btnImprimir = nullptr;
    QPushButton* btnCerrarSesiones = nullptr;
    QLineEdit* edPlazo = nullptr;
    QPushButton* btnPlazo = nullptr;
    QLabel* lblPlazo = nullptr;
    QSpinBox* edConexiones = nullptr;
    QLabel* lblTopes = nullptr;
    QTableWidget* tblEnvios = nullptr;
    QTimer* reintentoEnvios_ = nullptr;  ///< reads the register again after a moment the game was in use
    QLabel* lblEstado = nullptr;
    QLabel* lblDirecciones = nullptr;
    QLabel* lblQr = nullptr;
    QTableWidget* tblCodigos = nullptr;
};

/// Prints one slip per team (its name, its code, the address to type),
/// eight to a page; returns the pages printed, 0 when printing failed.
int imprimirTarjetas(QPrinter& impresora, const std::vector<TCodigoEquipo>& codigos, const QString& direccion);
