#pragma once
// The one way the core speaks to whoever runs it. The core never shows
// anything itself: where the game calls for a message box, a menu change or
// the file browser, it asks the notifier. The window implements it with Qt,
// the command-line tool by printing, and tests by recording the calls.
// Texts are Windows-1252, as everywhere in the core.

#include <filesystem>
#include <string>

class TNotificador {
public:
    virtual ~TNotificador() = default;

    /// A warning box (warning icon, one OK button) with a caption.
    virtual void advertencia(const std::string& titulo, const std::string& texto) = 0;
    /// An information box (information icon, OK): a run's bankruptcy message.
    virtual void informacion(const std::string& texto) = 0;
    /// Enables or disables the main window's "Período n" item, n = 0..10.
    virtual void habilitarPeriodo(int periodo, bool habilitado) = 0;
    /// The period whose decisions are entered next, after a run.
    virtual void cambiarPeriodoActual(int periodo) = 0;
    /// Shows the data folder in the desktop's file browser, without waiting.
    virtual void abrirCarpeta(const std::filesystem::path& carpeta) = 0;
};

/// The notifier in use; by default one that ignores every call.
TNotificador& notificador();
/// Installs a notifier (not owned); nullptr puts back the silent one.
void fijarNotificador(TNotificador* nuevo);
