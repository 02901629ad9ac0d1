#include "ui/Formularios.h"

#include "store/ErrorArchivo.h"
#include "store/Texto.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLayout>
#include <QMouseEvent>
#include <QScreen>
#include <QSet>
#include <QShortcut>

TCampoTexto::TCampoTexto(const QString& nombre, QWidget* padre) : QLineEdit(padre) { setObjectName(nombre); }

void TCampoTexto::focusOutEvent(QFocusEvent* evento) {
    QLineEdit::focusOutEvent(evento);
    // A message box or another window taking the focus is not leaving the box.
    if (evento->reason() != Qt::ActiveWindowFocusReason && evento->reason() != Qt::PopupFocusReason) emit salida();
}

TEtiquetaDobleClic::TEtiquetaDobleClic(const QString& nombre, QWidget* padre) : QLabel(padre) {
    setObjectName(nombre);
}

void TEtiquetaDobleClic::mouseDoubleClickEvent(QMouseEvent* evento) {
    QLabel::mouseDoubleClickEvent(evento);
    if (evento->button() == Qt::LeftButton) emit dobleClic();
}

void prepararPantalla(QWidget* ventana, const QString& titulo) {
    // A dialog-kind window is kept by the window manager above its parent.
    ventana->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint);
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    ventana->setWindowTitle(titulo);
}

QWidget* crearBandaTitulo(const QString& texto, QWidget* padre, QLabel* extremo) {
    auto* banda = new QWidget(padre);
    banda->setObjectName(QStringLiteral("bandaTitulo"));
    banda->setAttribute(Qt::WA_StyledBackground);
    banda->setStyleSheet(QStringLiteral("#bandaTitulo { background: #000080; }"));
    auto* fila = new QHBoxLayout(banda);
    fila->setContentsMargins(12, 8, 12, 8);

    auto* titulo = new QLabel(texto, banda);
    titulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont letra = titulo->font();
    letra.setPointSize(18);
    letra.setBold(true);
    titulo->setFont(letra);
    titulo->setStyleSheet(QStringLiteral("color: white;"));
    titulo->setAlignment(Qt::AlignCenter);
    titulo->setMinimumWidth(titulo->sizeHint().width() + 80);
    fila->addWidget(titulo, 1);
    if (extremo) {
        extremo->setParent(banda);
        extremo->setFixedSize(28, 28);
        fila->addWidget(extremo, 0, Qt::AlignRight | Qt::AlignVCenter);
    }
    return banda;
}

QPushButton* crearBotonImagen(const QString& nombre, QStyle::StandardPixmap icono, const QString& ayuda,
                              QWidget* padre) {
    auto* boton = new QPushButton(padre);
    boton->setObjectName(nombre);
    boton->setIcon(boton->style()->standardIcon(icono));
    boton->setIconSize(QSize(32, 32));
    boton->setFixedSize(64, 48);
    boton->setToolTip(ayuda);
    boton->setAccessibleName(ayuda);
    return boton;
}

void agregarFila(QGridLayout* grilla, int& fila, const QString& texto, QWidget* control, QLabel* extremo) {
    auto* etiqueta = new QLabel(texto, control->parentWidget());
    etiqueta->setBuddy(control);
    grilla->addWidget(etiqueta, fila, 0);
    grilla->addWidget(control, fila, 1);
    if (extremo) grilla->addWidget(extremo, fila, 2);
    ++fila;
}

QLabel* crearEtiquetaBanco(const char* nombre, QWidget* padre) {
    auto* l = new QLabel(padre);
    l->setObjectName(QString::fromLatin1(nombre));
    l->setMinimumWidth(80);
    QFont letra = l->font();
    letra.setBold(true);
    l->setFont(letra);
    return l;
}

std::vector<QLabel*> crearEtiquetasBanco(QWidget* padre) {
    std::vector<QLabel*> etiquetas;
    int deA = 0, deB = 0;
    for (const TParametro& p : kTablaParametros) {
        QLabel* etiqueta = nullptr;
        if (p.banco) {
            const int n = ++(p.banco == 'A' ? deA : deB);
            etiqueta = crearEtiquetaBanco(qPrintable(QStringLiteral("lblBanco%1%2").arg(QLatin1Char(p.banco)).arg(n)), padre);
        }
        etiquetas.push_back(etiqueta);
    }
    return etiquetas;
}

void agregarFilaParametro(QGridLayout* grilla, int fila, int columna, const QString& texto, QLabel* banco,
                          QWidget* caja) {
    auto* etiqueta = new QLabel(texto, caja->parentWidget());
    etiqueta->setBuddy(caja);
    if (banco) {
        grilla->addWidget(etiqueta, fila, columna);
        grilla->addWidget(banco, fila, columna + 1);
    } else {
        grilla->addWidget(etiqueta, fila, columna, 1, 2);
    }
    grilla->addWidget(caja, fila, columna + 2);
}

QWidget* crearBandaBotones(QWidget* padre, QPushButton* izquierda, QPushButton* derecha) {
    auto* banda = new QWidget(padre);
    banda->setObjectName(QStringLiteral("bandaBotones"));
    banda->setAttribute(Qt::WA_StyledBackground);
    banda->setStyleSheet(QStringLiteral("#bandaBotones { background: #d6dce8; border-top: 1px solid #9aa5bb; }"));
    auto* fila = new QHBoxLayout(banda);
    fila->setContentsMargins(16, 8, 16, 8);
    izquierda->setParent(banda);
    fila->addWidget(izquierda);
    fila->addStretch(1);
    if (derecha) {
        derecha->setParent(banda);
        fila->addWidget(derecha);
    }
    return banda;
}

QPushButton* agregarBotonEjemplo(QWidget* banda) {
    auto* boton = new QPushButton(QStringLiteral("Completar con ejemplo"), banda);
    boton->setObjectName(QStringLiteral("btnEjemplo"));
    boton->setToolTip(QStringLiteral("Llena la pantalla con los datos de un juego de ejemplo"));
    boton->setAutoDefault(false);
    static_cast<QHBoxLayout*>(banda->layout())->insertWidget(2, boton);
    static_cast<QHBoxLayout*>(banda->layout())->insertStretch(3, 1);
    return boton;
}

namespace {

/// The letter of an Alt shortcut ("Alt+G" gives 'g'), else a null char.
QChar letraAlt(const QKeySequence& atajo) {
    if (atajo.count() != 1 || atajo[0].keyboardModifiers() != Qt::AltModifier) return {};
    const int tecla = atajo[0].key();
    return tecla >= Qt::Key_A && tecla <= Qt::Key_Z ? QChar(u'a' + (tecla - Qt::Key_A)) : QChar();
}

/// Where in texto is the first plain letter not in usadas, word initials
/// first; -1 when there is none.
qsizetype letraLibre(const QString& texto, const QSet<QChar>& usadas) {
    const auto libre = [&](qsizetype i) {
        const QChar c = texto[i].toLower();
        return c >= u'a' && c <= u'z' && !usadas.contains(c);
    };
    for (qsizetype i = 0; i < texto.size(); ++i)
        if ((i == 0 || !texto[i - 1].isLetter()) && libre(i)) return i;
    for (qsizetype i = 0; i < texto.size(); ++i)
        if (libre(i)) return i;
    return -1;
}

}  // namespace

void prepararTeclado(QWidget* ventana) {
    QSet<QChar> usadas;
    for (const QAbstractButton* b : ventana->findChildren<QAbstractButton*>()) usadas.insert(letraAlt(b->shortcut()));
    for (const QLabel* l : ventana->findChildren<QLabel*>())
        if (l->buddy()) usadas.insert(letraAlt(QKeySequence::mnemonic(l->text())));
    for (QPushButton* b : ventana->findChildren<QPushButton*>()) {
        // A button kept from the click focus stays so; Tab brings it.
        if (b->focusPolicy() == Qt::NoFocus) b->setFocusPolicy(Qt::TabFocus);
        // Outside a dialog Qt presses a button on Enter only when it is auto-default.
        b->setAutoDefault(true);
        if (!letraAlt(b->shortcut()).isNull()) continue;
        const bool imagen = b->text().isEmpty();
        const QString palabras = imagen ? b->toolTip() : b->text();
        const qsizetype i = letraLibre(palabras, usadas);
        if (i < 0) continue;
        const QChar letra = palabras[i].toUpper();
        usadas.insert(letra.toLower());
        if (imagen) {
            b->setShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_A + (letra.unicode() - u'A'))));
            b->setToolTip(QStringLiteral("%1 (Alt+%2)").arg(b->toolTip(), letra));
        } else {
            b->setText(palabras.left(i) + QLatin1Char('&') + palabras.mid(i));
        }
    }
}

void prepararVisor(QWidget* ventana) {
    prepararTeclado(ventana);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), ventana);
    QObject::connect(esc, &QShortcut::activated, ventana, &QWidget::close);
}

void fijarTamano(QWidget* ventana) {
    if (ventana->layout()) ventana->layout()->activate();
    ventana->setFixedSize(ventana->sizeHint());
}

void centrarSobre(QWidget* ventana, const QWidget* referencia) {
    QRect zona;
    if (referencia) {
        zona = referencia->window()->frameGeometry();
    } else if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
        zona = pantalla->availableGeometry();
    }
    if (zona.isValid()) ventana->move(zona.center() - QPoint(ventana->width() / 2, ventana->height() / 2));
}

int32_t enteroDe(const QString& texto) {
    if (auto bytes = aCp1252(texto))
        if (auto valor = leerEntero(*bytes)) return *valor;
    throw ErrorConversion(textoNoEsEntero(texto.toStdString()));
}

void mostrarError(QWidget* padre, const std::exception& error) {
    mostrarMensaje(padre, QString::fromUtf8(error.what()));
}

TEstadoJuego estadoAlAbrir(TJuego& juego, QWidget* pantalla) {
    try {
        return juego.leerEstado();
    } catch (const std::exception& e) {
        mostrarError(pantalla, e);
    }
    return {};
}
