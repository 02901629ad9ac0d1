#pragma once
// TFDatosIniciales ("Cargar Datos Iniciales"): the second step of a new game.
// The game master types the game parameters; a successful save replaces the
// parameters record (and drops the previous game's checkpoint), enables
// "Período 0" and "Modificar" and ends the set-up. Opening the screen writes
// nothing, so a cancelled set-up leaves the previous game as it was.

#include <QPointer>
#include <QWidget>

class QLabel;
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
    /// Upper case from now on, and the bank's name in its two labels.
    void salidaBanco(TCampoTexto* banco, QLabel* etiqueta1, QLabel* etiqueta2);

    TFPrincipal* principal_;
    QPointer<TFEquipos> equipos_;
    /// Set by the cancel button, the only way back to the teams screen.
    bool volverAEquipos_ = false;

    TCampoTexto* Edit1 = nullptr;
    TCampoTexto* Edit2 = nullptr;
    TCampoTexto* Edit3 = nullptr;
    TCampoTexto* Edit4 = nullptr;
    TCampoTexto* Edit5 = nullptr;
    TCampoTexto* Edit6 = nullptr;
    TCampoTexto* Edit7 = nullptr;
    TCampoTexto* Edit8 = nullptr;
    TCampoTexto* Edit9 = nullptr;
    TCampoTexto* Edit10 = nullptr;
    TCampoTexto* Edit11 = nullptr;
    TCampoTexto* Edit12 = nullptr;
    TCampoTexto* Edit13 = nullptr;
    TCampoTexto* Edit14 = nullptr;
    TCampoTexto* Edit15 = nullptr;
    TCampoTexto* Edit16 = nullptr;
    TCampoTexto* Edit17 = nullptr;
    TCampoTexto* edMaxGiroDescub = nullptr;
    TCampoTexto* edNroZona = nullptr;
    TCampoTexto* edIndemXEmp = nullptr;
    TCampoTexto* edPenalidad = nullptr;
    QLabel* lblBancoA1 = nullptr;
    QLabel* lblBancoB1 = nullptr;
    QLabel* lblBancoA2 = nullptr;
    QLabel* lblBancoB2 = nullptr;
    TEtiquetaDobleClic* Label15 = nullptr;
    QPushButton* btnAdminTablas = nullptr;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnCancelar = nullptr;
};
