#pragma once
// Every modal box of the window goes through this one service: message boxes
// with their icon and buttons, the input box, the about box, the print
// dialog, choosing files to open and save, and opening the data folder in the file browser. The program uses the Qt implementation;
// tests install a scripted one, so every Yes/No, OK/Cancel, typed answer and
// cancelled input box can be driven on the offscreen platform.

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

class ServicioDialogos {
public:
    enum class Icono { ninguno, informacion, advertencia, pregunta };
    /// siNo answers Sí on Enter; siNoPorOmisionNo answers No, for a Yes that loses something.
    enum class Botones { ok, okCancelar, siNo, siNoPorOmisionNo };
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
    /// The platform's print dialog, which sets up impresora; false when cancelled.
    virtual bool configurarImpresora(QWidget* padre, QPrinter& impresora) = 0;
    /// A folder chooser starting at inicial; nothing when cancelled.
    virtual std::optional<QString> pedirCarpeta(QWidget* padre, const QString& titulo, const QString& inicial) = 0;
    /// Shows a folder in the desktop's file browser without waiting.
    virtual void abrirCarpeta(const QString& carpeta) = 0;
    /// A save-file dialog starting at sugerido, with name filters such as
    /// "Planilla (*.xlsx)"; the chosen path, nothing when cancelled.
    virtual std::optional<QString> pedirArchivoParaGuardar(QWidget* padre, const QString& titulo,
                                                           const QString& sugerido, const QStringList& filtros) = 0;

    /// A choice among opciones (a drop-down list starting at actual); the
    /// option chosen, nothing when cancelled.
    virtual std::optional<QString> elegirOpcion(QWidget* padre, const QString& titulo, const QString& etiqueta,
                                                const QStringList& opciones, int actual) = 0;

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

/// Puts the toolkit's own words in Spanish (the file dialogs' "Carpeta",
/// the boxes' buttons, the edit boxes' menu), from Qt's translations
/// (Debian's qt6-translations-l10n). False when they are not installed:
/// the program runs all the same. Call it once the application exists.
bool traducirQtAlEspanol();
