#pragma once
// TFDatosIniciales ("Cargar Datos Iniciales"): the second step of a new game.
// The game master types the game parameters; a successful save replaces the
// parameters record (and drops the previous game's checkpoint), enables
// "Período 0" and "Modificar" and ends the set-up. Neither opening it nor
// the tables screen writes anything: the tables' figures are held here and
// stored with the new game, so a cancelled set-up leaves the folder as it was.

#include "store/TablaParametros.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QLayout;
class QVBoxLayout;
class QPushButton;
class TCampoTexto;
class TEtiquetaDobleClic;
class TFEquipos;
class TFPrincipal;

class TJuego;

class TFDatosIniciales : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// On top of the main window; equipos is the hidden teams screen whose
    /// rows give the team count and which the cancel shows again.
    TFDatosIniciales(TJuego& juego, TFPrincipal* principal, TFEquipos* equipos);

public slots:
    void Edit1Exit();
    void Edit2Exit();
    void btnAdminTablasClick();
    void Label15DblClick();
    void btnGuardarClick();
    void btnCancelarClick();

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void FormCreate();
    void crearCajas();
    QLayout* crearColumnas();
    QWidget* crearBotones(QVBoxLayout* principal);
    /// The box of a row of kTablaParametros.
    TCampoTexto* caja(std::string TTextosDatosIniciales::*texto) const;
    /// The bank's name box: upper case from now on.
    void salidaBanco(char banco);
    /// The name in the bank's box, in upper case, beside each row of that bank.
    void mostrarBanco(char banco);

    TFPrincipal* principal_;
    QPointer<TFEquipos> equipos_;
    /// Set by the cancel button, the only way back to the teams screen.
    bool volverAEquipos_ = false;
    /// One box per row of kTablaParametros, and beside each row of one bank
    /// the label with its name (nullptr elsewhere).
    std::vector<TCampoTexto*> cajas_;
    std::vector<QLabel*> etiquetasBanco_;
    TEtiquetaDobleClic* Label15 = nullptr;
    QPushButton* btnAdminTablas = nullptr;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnCancelar = nullptr;
};
