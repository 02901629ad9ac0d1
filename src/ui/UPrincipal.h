#pragma once
// TFPrincipal: the main window, the only window created at start-up. Its
// menu starts or resumes a game, opens the period screens one period at a
// time, corrects the parameters, steps back one period and shows the
// standings. The enabled "Período n" item is the game's position: at most
// one of "Período 1" … "Período 10" is enabled, the one the stored
// parameters name.
//
// It owns the open game (a TJuego) and is that game's notifier: the game
// asks it, through TNotificador, to show its messages and open the game
// folder. Its menus and status line are read from the game's state after
// every operation, never told; the open screens hear of each change through
// its TNotificadorJuego. Opening another game folder is in
// AbrirCarpetaJuego.cpp, the practice in PracticaDelAlumno.cpp.

#include "store/Notificador.h"
#include "ui/CarpetasRecientes.h"

#include <filesystem>
#include <memory>
#include <optional>

#include <QMainWindow>
#include <QStringList>

#include <array>

class QAction;
class QFileSystemWatcher;
class QLabel;
class QTimer;
class TJuego;
struct TEvolucion;
class TNotificadorJuego;
class TPortal;

class TFPrincipal : public QMainWindow, public TNotificador {
    Q_OBJECT

public:
    /// Builds the menus (items as at program start) and the picture for the
    /// game in carpeta, whose notifier it becomes.
    explicit TFPrincipal(const std::filesystem::path& carpeta, QWidget* padre = nullptr);
    ~TFPrincipal() override;

    /// The open game; every screen the window opens works on it.
    TJuego& juego() { return *juego_; }
    /// What the open screens listen to.
    TNotificadorJuego& notificador() { return *notificador_; }

    // TNotificador
    void advertencia(const std::string& titulo, const std::string& texto) override;
    void informacion(const std::string& texto) override;
    /// Shows a box of the core's, whose event loop must not read the folder.
    void mostrarAvisoDelNucleo(const QString& titulo, const QString& texto, bool esAdvertencia);
    void abrirCarpeta(const std::filesystem::path& carpeta) override;

    /// The game is now shown (set up, resumed, opened): from here on the
    /// menus follow its stored position, and the screens hear it changed.
    void mostrarJuego();

    /// Reads the game's state and shows it: the status line, and once the
    /// game is shown, the menus ("Modificar" with a game, "Período 0" until
    /// it runs, then only the open period's item).
    void actualizarEstado();

    /// At start: when the folder holds a game with a period open, asks
    /// whether to resume it there (Sí is the default) and does what
    /// Juego → Reanudar does; declined, the status line says how to resume.
    void ofrecerReanudar();

    /// The period whose decisions are entered next, as last read.
    int periodoActual() const { return periodoActual_; }

    /// A run (period 0 included) succeeded: the status line sums it up and
    /// the results of that period come to the front.
    void periodoSimulado(int periodo);

    /// The teams' portal: it runs on this window's event loop while the
    /// window lives, whether its screen is open or not. portal().detener()
    /// stops it from anywhere.
    TPortal& portal() { return *portal_; }

    /// Makes carpeta the open game: closes every screen of the game that was
    /// open (asking, as "Nuevo" does, when one keeps decisions not stored),
    /// points the core at the folder and shows its state. False, with the
    /// previous game still open, when a screen stays, the folder is missing
    /// or its game cannot be read.
    bool abrirCarpetaDeJuego(const QString& carpeta);
    /// The last game folders opened, most recent first.
    static QStringList carpetasRecientes() { return TCarpetasRecientes::lista(); }
    static constexpr int maxRecientes = TCarpetasRecientes::maximo;

public slots:
    void NuevoClick();
    /// A practice game in one step: the student's company and companies of
    /// the computer (how many, which style), the sample parameters, period 0
    /// run; then the decisions screen of period 1. It is played in a new
    /// folder of its own, or in one without a game that the user picks,
    /// which it opens; the game that was open stays as it was.
    void PracticaClick();
    void ReanudarClick();
    void ExportarPlanillaClick();
    void ExportarPdfClick();
    /// Opens the screen that starts and stops the teams' portal.
    void PortalClick();
    void AbrirCarpetaClick();
    /// The games a new game replaced in this folder: the one chosen opens
    /// as a game folder of its own under the user's data folder, made from
    /// its history; this folder stays as it is.
    void JuegosAnterioresClick();
    /// Shows the game's folder in the desktop's file browser, when the game master asks.
    void MostrarCarpetaClick();
    void SalirClick();
    void Periodo0Click();
    void PeriodoClick();
    void ModificarClick();
    void VolverAtrasClick();
    void Zona1Click();
    void ResultadosClick();
    void EvolucionClick();
    void ClaseClick();
    void ComoSeJuegaClick();
    void AcercaDeClick();

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void FormCreate();
    void crearMenus();
    /// A portal for the open game; the one of the game left behind goes.
    void crearPortal();
    /// Watches the open game's folder: another program's change (the tool
    /// ran a period, stepped back) shows in the menus and screens at once.
    void vigilarCarpeta();
    /// After a change seen in the folder: the status line, the menus and the
    /// screens that show the game.
    void seguirAlJuego();
    bool confirmarSalida();
    /// Juego → Reanudar once the question is answered.
    void reanudarJuego();
    /// Brings forward the screen of that kind already open; false when none is.
    template <class Pantalla>
    bool traerAlFrente();
    /// Opens a screen, or brings forward the one of that kind already open.
    template <class Pantalla>
    void abrirUnaVez();
    /// Closes the screens bound to the open period (decisions, period 0,
    /// simulate, modify) before the game moves under them. False when the
    /// game master keeps one open (it holds decisions not stored).
    bool cerrarPantallasDePeriodo();
    /// Closes every screen; false when one stays open.
    bool cerrarPantallas();
    void abrirReciente(const QString& carpeta);
    /// Juego → Volver atrás once the question is answered.
    void volverAtras();
    /// In a practice, when the student's company went bankrupt in the
    /// period just run: says so and offers to step back or a new practice.
    void avisarQuiebraDelAlumno(int periodo);
    /// In a practice, the student's company's place in evolucion.empresas, so
    /// that Evolución and Clase make it stand out; none in a class game.
    std::optional<int> alumnoEn(const TEvolucion& evolucion);
    /// A folder the user picks for a practice, created when it does not
    /// exist; nothing (the user told why) when it holds a game.
    std::optional<QString> elegirCarpetaDePractica();
    /// A new folder for a practice, "Prácticas/<fecha hora>" under the
    /// user's data folder, created; nothing (the user told why) when it
    /// cannot be made.
    std::optional<QString> crearCarpetaDePractica();
    /// "CORVELIAN V2.0 - " and the name of the open game's folder.
    void mostrarTitulo();
    /// Refreshes the status line once the current action has let the folder go.
    void actualizarEstadoLuego();

    std::unique_ptr<TJuego> juego_;
    TNotificadorJuego* notificador_ = nullptr;
    TPortal* portal_ = nullptr;
    TCarpetasRecientes* recientes_ = nullptr;
    QFileSystemWatcher* vigilante_ = nullptr;
    QTimer* cambioVisto_ = nullptr;
    std::array<QAction*, 11> mnuPeriodo{};
    QAction* mnuModificar = nullptr;
    QLabel* lblEstado = nullptr;

    int periodoActual_ = 0;
    bool juegoEnPantalla_ = false;
    bool salidaConfirmada_ = false;
    bool estadoPendiente_ = false;
    /// Boxes the core has open from inside its own operation, and whether a
    /// look at the folder waits for them.
    int avisosDelNucleo_ = 0;
    bool vistaPostergada_ = false;
};
