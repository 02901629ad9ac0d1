#pragma once
// Every modal box of the window goes through this one service: message boxes
// with their icon and buttons, the input box, the about box, choosing a file
// to open and opening the data folder in the file browser. The program uses the Qt implementation;
// tests install a scripted one, so every Yes/No, OK/Cancel, typed answer and
// cancelled input box can be driven on the offscreen platform.

#include <QString>

#include <optional>

class QWidget;

class ServicioDialogos {
public:
    enum class Icono { ninguno, informacion, advertencia, pregunta };
    enum class Botones { ok, okCancelar, siNo };
    enum class Respuesta { ok, cancelar, si, no };

    virtual ~ServicioDialogos() = default;

    /// A modal message box; returns the button pressed.
    virtual Respuesta mensaje(QWidget* padre, const QString& titulo, const QString& texto, Icono icono,
                              Botones botones) = 0;
    /// An input box with caption, prompt and default answer; nothing when cancelled.
    virtual std::optional<QString> pedirTexto(QWidget* padre, const QString& titulo, const QString& etiqueta,
                                              const QString& porDefecto) = 0;
    /// The toolkit's standard about box.
    virtual void acercaDe(QWidget* padre, const QString& titulo, const QString& texto) = 0;
    /// Shows a folder in the desktop's file browser without waiting.
    virtual void abrirCarpeta(const QString& carpeta) = 0;
    /// The file the user chose to open; nothing when cancelled. filtro as
    /// Qt's file dialogs take it ("Archivos CSV (*.csv)").
    virtual std::optional<QString> elegirArchivoAbrir(QWidget* padre, const QString& titulo,
                                                      const QString& filtro) = 0;
};

/// The service in use: the Qt one unless another was installed.
ServicioDialogos& dialogos();
/// Installs a service (not owned); nullptr puts back the Qt one.
void fijarDialogos(ServicioDialogos* servicio);

/// A plain message box (no icon, OK), as most of the game's notices are.
void mostrarMensaje(QWidget* padre, const QString& texto);
