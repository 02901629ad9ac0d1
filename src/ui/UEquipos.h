#pragma once
// TFEquipos ("Nuevo Juego - Carga de equipos"): the first step of a new game.
// The game master lists the teams, one company each, in the order the
// companies keep for the whole game; saving checks the names and goes on to
// the initial data screen, which stores them with the new game. The list is the screen's whole state; a
// company the computer plays carries its style in the third column
// ("computadora (prudente)"), which a double click changes.

#include "juego/Computadora.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
class TFPrincipal;

class TJuego;
class QString;

/// How many companies the computer plays and their style (none: "mezcla",
/// each style in turn).
struct TPedidoComputadora {
    int cantidad = 0;
    std::optional<TEstilo> estilo;
};

/// Asks how many companies the computer plays (1 to maximo) and their style.
/// Nothing when the game master cancels, or types a count out of range (said
/// in a box).
std::optional<TPedidoComputadora> pedirEmpresasComputadora(QWidget* padre, const QString& titulo,
                                                            const QString& pregunta, const QString& preguntaEstilo,
                                                            int maximo);

class TFEquipos : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// A game's teams are counted in bytes.
    static constexpr int maximoEquipos = 255;

    /// An empty list, on top of the main window, discarded when closed.
    TFEquipos(TJuego& juego, TFPrincipal* principal);

    /// Rows in the list: the team count of the new game.
    int cantidadEquipos() const;
    /// The names as last saved (Windows-1252), in list order.
    const std::vector<std::string>& nombresEquipos() const { return nombres_; }
    /// Which of them the computer plays, as last saved, with a new seed.
    const TComputadora& computadora() const { return computadora_; }

public slots:
    void btnAgregarClick();
    void btnQuitarClick();
    void btnLimpiarClick();
    void btnAgregarVariosClick();
    /// Asks how many companies of the computer and their style ("mezcla":
    /// each in turn), and adds them with names of their own.
    void btnComputadoraClick();
    void btnGuardarClick();
    void btnCancelarClick();
    /// Moves the selected team one place up (-1) or down (+1).
    void moverEquipo(int paso);

private:
    void FormCreate();
    void crearLista(QWidget* marco);
    /// The buttons beside the list, in the column they fill.
    QVBoxLayout* crearBotones(QWidget* marco);
    /// The frame over the band of "Guardar" and "Cancelar".
    void ubicarConBanda(QWidget* marco);
    void conectar();
    /// A name corrected in place is kept when still valid and unique, else
    /// put back (with the reason when there is one).
    void nombreEditado(QTreeWidgetItem* fila, int columna);
    /// Appends a row with the text as typed unless it is blank; false (with
    /// a message) when the list already holds maximoEquipos rows, the name
    /// is longer than 50 characters, or it is another team's ignoring case.
    bool agregarEquipo(const QString& nombre);
    /// Marks row fila as the computer's with that style, or a team's (none).
    void fijarEstilo(int fila, std::optional<TEstilo> estilo);
    std::optional<TEstilo> estiloDe(int fila) const;
    /// Double click on the third column: the computer's style or a team.
    void cambiarEstilo(int fila);
    /// Why nombre cannot join the list beside the rows other than fila
    /// (-1: all of them), or empty when it can.
    QString fallaDeNombre(const QString& nombre, int fila) const;
    /// Writes "k." in the number column of row k, selecting each row in turn.
    void enumerarEquipos();
    /// Keeps the trimmed names for the new game, nothing written; false, with
    /// the reason shown, for an empty list or names the game refuses.
    bool guardarEquipos();

    TFPrincipal* principal_;
    QTreeWidget* lsvEquipos = nullptr;
    QLineEdit* edNombreEquipo = nullptr;
    QPushButton* btnAgregar = nullptr;
    QPushButton* btnQuitar = nullptr;
    QPushButton* btnLimpiar = nullptr;
    QPushButton* btnAgregarVarios = nullptr;
    QPushButton* btnComputadora = nullptr;
    QPushButton* btnSubir = nullptr;
    QPushButton* btnBajar = nullptr;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnCancelar = nullptr;
    std::vector<std::string> nombres_;
    TComputadora computadora_;
};
