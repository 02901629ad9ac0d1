#pragma once
// TFPrincipal: the main window, the only window created at start-up. Its
// menu starts or resumes a game, opens the period screens one period at a
// time, corrects the parameters, steps back one period and shows the
// standings. The enabled "Período n" item is the game's position: at most
// one of "Período 1" … "Período 10" is enabled, the one the stored
// parameters name.
//
// It is also the core's notifier while it lives: the runs ask it, through
// TNotificador, to show their messages, switch the period items and open the
// data folder.

#include "store/Notificador.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>

#include <array>

class QAction;
class QLabel;
class QMenu;

class TFPrincipal : public QMainWindow, public TNotificador {
    Q_OBJECT

public:
    /// Builds the menus (items as at program start) and the picture, and
    /// installs itself as the core's notifier.
    explicit TFPrincipal(QWidget* padre = nullptr);
    ~TFPrincipal() override;

    // TNotificador
    void advertencia(const std::string& titulo, const std::string& texto) override;
    void informacion(const std::string& texto) override;
    void habilitarPeriodo(int periodo, bool habilitado) override;
    void cambiarPeriodoActual(int periodo) override;
    void abrirCarpeta(const std::filesystem::path& carpeta) override;

    /// "Modificar" becomes available once a game's parameters exist.
    void habilitarModificar();

    /// The period whose decisions are entered next, as last read or reported.
    int periodoActual() const { return periodoActual_; }

    /// A run (period 0 included) succeeded: the status line sums it up and
    /// the results of that period come to the front.
    void periodoSimulado(int periodo);

public slots:
    void NuevoClick();
    void ReanudarClick();
    void ExportarPdfClick();
    void SalirClick();
    void Periodo0Click();
    void PeriodoClick();
    void ModificarClick();
    void VolverAtrasClick();
    void Zona1Click();
    void ResultadosClick();
    void AcercaDeClick();
    void ExportarPlanillaClick();
    void EvolucionClick();
    void ClaseClick();

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void FormCreate();
    void crearMenus();
    /// Shows the stored game's position: "Modificar" on, then only the
    /// "Período" item of the stored periodoActual (1..10) among 1..10.
    void mostrarPeriodoGuardado(int periodo);
    bool confirmarSalida();
    /// Opens a screen, or brings forward the one of that kind already open.
    template <class Pantalla>
    void abrirUnaVez();
    /// Closes the screens bound to the open period (decisions, period 0,
    /// simulate, modify) before the game moves under them. False when the
    /// game master keeps one open (it holds decisions not stored).
    bool cerrarPantallasDePeriodo();

    QAction* mnuNuevo = nullptr;
    QAction* mnuReanudar = nullptr;
    QAction* mnuExportarPlanilla = nullptr;
    QAction* mnuExportarPdf = nullptr;
    QAction* mnuSalir = nullptr;
    std::array<QAction*, 11> mnuPeriodo{};
    QAction* mnuModificar = nullptr;
    QAction* mnuVolverAtras = nullptr;
    QAction* mnuZona1 = nullptr;
    QAction* mnuResultados = nullptr;
    QAction* mnuAcercaDe = nullptr;
    QAction* mnuEvolucion = nullptr;
    QAction* mnuClase = nullptr;
    /// The charts' screens that are open read the history again.
    void actualizarGraficos();

    int periodoActual_ = 0;
    bool salidaConfirmada_ = false;

    /// The status line: the game folder, the period open and the active
    /// companies, read from the core (or the error that reading raised).
    void actualizarEstado();
    /// Refreshes the status line once the current action has let the folder go.
    void actualizarEstadoLuego();
    QLabel* lblEstado = nullptr;
    bool estadoPendiente_ = false;

    // Several games, one folder each.
public:
    /// Makes carpeta the open game: closes every screen of the game that was
    /// open (asking, as "Nuevo" does, when one keeps decisions not stored),
    /// points the core at the folder and shows its state. False, with the
    /// previous game still open, when a screen stays, the folder is missing
    /// or its game cannot be read.
    bool abrirCarpetaDeJuego(const QString& carpeta);
    /// The last game folders opened, most recent first.
    static QStringList carpetasRecientes();
    static constexpr int maxRecientes = 5;

public slots:
    void AbrirCarpetaClick();

private:
    void abrirReciente(const QString& carpeta);
    /// Closes every screen; false when one stays open.
    bool cerrarPantallas();
    /// Puts the folder first in the recent list and its menu items.
    void recordarCarpeta(const QString& carpeta);
    void guardarRecientes(const QStringList& recientes);
    void mostrarRecientes(const QStringList& recientes);
    /// "CORVELIAN V2.0 - " and the name of the open game's folder.
    void mostrarTitulo();
    QMenu* mnuJuego_ = nullptr;
    QAction* mnuAbrirCarpeta = nullptr;
    QAction* sepSalir_ = nullptr;
    QList<QAction*> mnuRecientes_;
};
