#pragma once
// The pieces every screen of the set-up is built from, so that they all look
// alike: the window kind, the title band, the picture buttons of the bottom
// band, and the two controls that react to events Qt widgets do not signal
// (leaving an edit box, a double click on a label). Also the one way a screen
// shows an error that the core raised.

#include "juego/Juego.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStyle>

#include <cstdint>
#include <exception>
#include <vector>

class QGridLayout;
class QWidget;

/// An edit box that signals when the input focus leaves it for another
/// control of its window (not when the window itself loses the focus, e.g.
/// to a message box).
class TCampoTexto : public QLineEdit {
    Q_OBJECT

public:
    TCampoTexto(const QString& nombre, QWidget* padre);

signals:
    void salida();

protected:
    void focusOutEvent(QFocusEvent* evento) override;
};

/// A label that signals a double click.
class TEtiquetaDobleClic : public QLabel {
    Q_OBJECT

public:
    TEtiquetaDobleClic(const QString& nombre, QWidget* padre);

signals:
    void dobleClic();

protected:
    void mouseDoubleClickEvent(QMouseEvent* evento) override;
};

/// Makes ventana a screen of the game: its own window on top of its parent,
/// fixed border with only the close control, discarded when closed.
void prepararPantalla(QWidget* ventana, const QString& titulo);

/// A band across the top of a screen: the title in large bold white letters
/// on dark blue. When extremo is given it is placed at the band's right end.
QWidget* crearBandaTitulo(const QString& texto, QWidget* padre, QLabel* extremo = nullptr);

/// A picture button without text: the style's icon and a tooltip.
QPushButton* crearBotonImagen(const QString& nombre, QStyle::StandardPixmap icono, const QString& ayuda,
                              QWidget* padre);

/// The bottom band: izquierda at the left end, derecha (if any) at the right.
QWidget* crearBandaBotones(QWidget* padre, QPushButton* izquierda, QPushButton* derecha = nullptr);

/// The window kind of the screens that keep their own size (Resultados,
/// Evolución, Clase): kept above the main window by the window manager, as
/// a dialog is, yet minimized and maximized as a window.
inline constexpr Qt::WindowFlags kVentanaSobrePrincipal =
    Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;

/// "Completar con ejemplo" in the middle of a band of crearBandaBotones:
/// the set-up screens' sample, in sight (the title's double click stays).
QPushButton* agregarBotonEjemplo(QWidget* banda);

/// Adds a row to a form grid: the label, its field and, when given, a label
/// beside the field (a bank name); advances fila.
void agregarFila(QGridLayout* grilla, int& fila, const QString& texto, QWidget* control, QLabel* extremo = nullptr);

/// The label that repeats a bank's name on the rows of that bank, in bold.
QLabel* crearEtiquetaBanco(const char* nombre, QWidget* padre);

/// For each row of kTablaParametros, the label with its bank's name beside
/// a row of one bank ("lblBancoA1", "lblBancoB1", … down the screen), else nullptr.
std::vector<QLabel*> crearEtiquetasBanco(QWidget* padre);

/// A row of the parameter screens, from column columna of grilla: the
/// label, the bank's name when the row belongs to a bank (else the label
/// spans its place), then the box.
void agregarFilaParametro(QGridLayout* grilla, int fila, int columna, const QString& texto, QLabel* banco,
                          QWidget* caja);

/// Readies ventana's push buttons for the keyboard, once they are built:
/// Tab reaches each (one kept from the click focus still is), Enter presses
/// the focused one as Space does, and each without an Alt letter gets the
/// first free letter of its words (of its tooltip, for a picture button,
/// which then names it in the tooltip). Letters already taken by the
/// window's buttons and labels are not given twice.
void prepararTeclado(QWidget* ventana);

/// A viewer (Resultados, Evolución): prepararTeclado, and Esc closes it.
void prepararVisor(QWidget* ventana);

/// Fixes the window to the size its contents need.
void fijarTamano(QWidget* ventana);

/// Centres ventana on referencia (on the screen when there is none).
void centrarSobre(QWidget* ventana, const QWidget* referencia);

/// A box's text as a whole number (optional blanks and sign, then digits);
/// ErrorConversion with textoNoEsEntero otherwise.
int32_t enteroDe(const QString& texto);

/// The general error handling: the error's own text in a plain box.
void mostrarError(QWidget* padre, const std::exception& error);

/// The game as a screen finds it when it opens, for its fields and its
/// mark; a failure to read it is shown and leaves the state empty.
TEstadoJuego estadoAlAbrir(TJuego& juego, QWidget* pantalla);
