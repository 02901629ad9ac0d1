#pragma once
// TFDeciciones ("Decisiones"): the game master types in the decisions every
// team handed in for the coming period, one team after the other. The
// decisions of all teams stay in memory while the game master moves back and
// forth; the decisions file is written whole after the last team, and the
// screen then offers to go on to the simulate screen. The fields can be
// filled from the stored decisions, the previous period, a CSV file or the
// portal, and reviewed all at once in a grid; none of these stores anything
// by itself. In a practice the screen is the student's: it shows their
// company alone and never the computer's decisions, which the computer
// takes when the student's are stored.

#include "juego/Juego.h"
#include "ui/FuentesDecision.h"
#include "store/Registros.h"

#include <QFont>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TCamposDecision;

class TFDeciciones : public QWidget {
    Q_OBJECT

    TJuego& juego_;  // the game this screen works on

public:
    /// A window on top of padre (the main window), non-modal, deleted on
    /// close. Reads the stored parameters and shows team 1; with no teams
    /// left it says so and closes itself.
    TFDeciciones(TJuego& juego, QWidget* padre);

    /// Team shown (from 1), number of teams and the decisions held in memory.
    uint8_t equipoActual() const { return equipoActual_; }
    uint8_t cantEquipos() const { return cantEquipos_; }
    const std::vector<TRegDecision>& decisionesEquipos() const { return decisionesEquipos_; }
    /// Which companies the computer plays (their fields open with its decisions).
    const std::vector<bool>& deComputadora() const { return computadora_; }
    /// Which teams submitted through the portal for the period on show.
    const std::vector<bool>& enviadosPortal() const { return enviadosPortal_; }
    /// In a practice, the student's company (from 1); none in a class game.
    std::optional<int> empresaDelAlumno() const { return alumno_; }
    /// Something was typed since the decisions were last stored.
    bool decisionesSinGuardar() const { return sinGuardar_; }

protected:
    /// Closing with decisions typed but not stored asks first.
    void closeEvent(QCloseEvent* evento) override;
    /// The team's name fitted again when its label changes size.
    bool eventFilter(QObject* objeto, QEvent* evento) override;

public slots:
    void btnSiguienteClick();
    void btnAnteriorClick();
    void btnCancelarClick();
    void btnCargarDatosClick();
    void btnCargarDatosTodasClick();
    /// Every team's decisions of the previous period, from the history
    /// (period 1 starts from the common decisions of period 0); nothing is
    /// stored until the game master goes on.
    void btnCopiarAnteriorClick();
    /// Every team's decisions from the tool's CSV file, chosen in a dialog;
    /// a file with any fault is listed line by line and changes nothing.
    /// Nothing is stored until the game master goes on.
    void btnImportarCsvClick();
    /// Keeps the team on show (checked as on a team change) and opens every
    /// team's decisions in the review grid.
    void btnRevisarClick();
    /// Every team's decisions as it submitted them through the portal for
    /// this period; teams without a submission keep what the screen holds.
    /// Nothing is stored until the game master goes on.
    void btnCargarPortalClick();
    /// Reads again which teams submitted through the portal, for the marks.
    void actualizarMarcasPortal();

private:
    QHBoxLayout* crearCabecera();
    QVBoxLayout* crearBotones();
    void conectar();
    /// The company's name for lists, "(computadora)" after the computer's.
    QString nombreMarcado(std::size_t i) const;
    void FormCreate();
    void mostrarEquipo(uint8_t t);
    /// mostrarEquipo with its error shown, not thrown.
    void mostrarSinFallar(uint8_t equipo);
    /// Decisions changed by a load or a copy: the screen holds them unsaved
    /// and shows equipo.
    void mostrarSinGuardar(uint8_t equipo);
    /// The first and last team shown: in a practice, only the student's.
    uint8_t primerEquipo() const { return alumno_ ? static_cast<uint8_t>(*alumno_) : uint8_t{1}; }
    uint8_t ultimoEquipo() const { return alumno_ ? static_cast<uint8_t>(*alumno_) : cantEquipos_; }
    /// The teams as the decision sources see them.
    TEquiposDecision equipos() const;
    /// Keeps what a source brought and shows why it brought nothing, or not
    /// everything; true when the teams are to be shown again.
    bool traer(const TDecisionesTraidas& traidas);
    /// Reads and checks the fields and keeps them as team equipoActual's
    /// decisions; false, with the reason shown, when it cannot.
    bool guardarFormulario();
    void guardarEnMemoria(uint8_t t, const TRegDecision& r);
    void guardarDecisiones();
    /// Under the fields: what each bank still lends the team on show and the
    /// warnings on the decisions as typed (juego/AvisosDecision.h); nothing
    /// while a field is not a valid number.
    void mostrarAvisos();
    /// Fits the team's name whole into Label6, wrapping and shrinking the font.
    void ajustarNombre();

    uint8_t equipoActual_ = 1;
    uint8_t cantEquipos_ = 0;
    uint8_t periodoActual_ = 0;
    std::vector<TRegDecision> decisionesEquipos_;

    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* lbNroEquipo = nullptr;
    TCamposDecision* campos_ = nullptr;
    QPushButton* btnAnterior = nullptr;
    QPushButton* btnSiguiente = nullptr;
    QPushButton* btnCancelar = nullptr;
    QPushButton* btnCargarDatos = nullptr;
    QPushButton* btnCargarDatosTodas = nullptr;
    QPushButton* btnCopiarAnterior = nullptr;
    QPushButton* btnImportarCsv = nullptr;
    QPushButton* btnRevisar = nullptr;
    QPushButton* btnCargarPortal = nullptr;
    QLabel* lblPortal = nullptr;        ///< the team on show submitted through the portal
    QLabel* lblComputadora = nullptr;   ///< "(computadora)" when the computer plays the company on show
    QLabel* lblAvisos = nullptr;        ///< remaining credit and warnings of the team on show
    QLabel* lblEnviosPortal = nullptr;  ///< how many teams did, and who is missing
    std::vector<bool> enviadosPortal_;
    std::vector<bool> computadora_;
    std::optional<int> alumno_;
    bool sinGuardar_ = false;
    TMarca marca_;  ///< the game as it stood when the screen opened
    std::vector<std::string> nombres_;
    QFont fuenteNombre_;
};
