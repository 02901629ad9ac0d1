#include "ui/CamposDecision.h"

#include "store/Texto.h"
#include "ui/Formularios.h"
#include "ui/MensajesDecision.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <exception>
#include <iterator>

namespace {

// The period screen's list keeps the texts it has always shown.
const char* const kNivelesPeriodo[] = {"0 ", "25 ", "50  ", "75 ", "100 "};

// The key with its first letter raised, after a prefix: "bancoPedPrestamoA".
QString conPrefijo(const char* prefijo, const char* clave) {
    QString nombre = QString::fromLatin1(clave);
    nombre[0] = nombre[0].toUpper();
    return QString::fromLatin1(prefijo) + nombre;
}

// A bounded amount (price, marketing, training) that is not a number is
// reported on leaving it; the open amounts wait for the team change.
bool acotado(const TRangoDecision& r) { return r.maximo != kMaxMonto; }

// Price and marketing out of range fall back to their upper bound; other
// fields keep what was typed, so the game master sees what to correct.
bool vuelveAlMaximo(const TRangoDecision& r) { return acotado(r) && r.paso == 1; }

// The field without its article, for "Ud. ha colocado un valor incorrecto en precio".
QString nombreSinArticulo(const TRangoDecision& r) {
    const QString nombre = QString::fromUtf8(r.nombre);
    return nombre.mid(nombre.indexOf(QLatin1Char(' ')) + 1);
}

}  // namespace

TCamposDecision::TCamposDecision(Uso uso, QWidget* padre) : QWidget(padre), uso_(uso) {
    setObjectName(QStringLiteral("camposDecision"));
    auto* grilla = new QGridLayout(this);
    if (uso_ == Uso::periodo) {
        grilla->setContentsMargins(0, 0, 0, 0);
        grilla->setColumnMinimumWidth(2, 90);
    } else {
        grilla->setContentsMargins(20, 14, 20, 14);
        grilla->setHorizontalSpacing(12);
        grilla->setVerticalSpacing(6);
        grilla->setColumnStretch(2, 1);
    }
    int fila = 0;
    for (const TRangoDecision& rango : rangosDecision()) {
        Campo campo = crearCampo(rango);
        agregarFila(grilla, fila, QString::fromUtf8(rango.titulo), campo.control, campo.banco);
        campo.titulo = qobject_cast<QLabel*>(grilla->itemAtPosition(fila - 1, 0)->widget());
        campo.control->installEventFilter(this);
        campos_.push_back(campo);
    }
    mostrarBancos(QString(), QString());
}

TCamposDecision::Campo TCamposDecision::crearCampo(const TRangoDecision& rango) {
    Campo campo;
    campo.rango = &rango;
    const QString clave = QString::fromLatin1(rango.columna);
    if (rango.campo == &TRegDecision::nivelProduccion) {
        campo.lista = new QComboBox(this);
        campo.lista->setObjectName(clave);
        for (int32_t nivel = rango.minimo, i = 0; nivel <= rango.maximo; nivel += rango.paso, ++i) {
            const bool propio = uso_ == Uso::periodo && i < static_cast<int32_t>(std::size(kNivelesPeriodo));
            campo.lista->addItem(propio ? QString::fromLatin1(kNivelesPeriodo[i]) : QString::number(nivel));
        }
        campo.lista->setCurrentIndex(uso_ == Uso::periodo ? 0 : -1);
        connect(campo.lista, &QComboBox::activated, this, &TCamposDecision::editado);
        campo.control = campo.lista;
    } else {
        auto* texto = new TCampoTexto(clave, this);
        if (uso_ == Uso::periodo) {
            connect(texto, &TCampoTexto::salida, this, [this, i = campos_.size()] { comprobarAlSalir(campos_[i]); });
        } else if (rango.campo == &TRegDecision::devPrestamoA || rango.campo == &TRegDecision::devPrestamoB) {
            // Nothing is owed before period 0.
            texto->setText(QStringLiteral("0"));
            texto->setEnabled(false);
        }
        connect(texto, &QLineEdit::textEdited, this, &TCamposDecision::editado);
        campo.texto = texto;
        campo.control = texto;
    }
    if (uso_ == Uso::periodo0) campo.control->setFixedWidth(120);
    if (rango.banco) {
        campo.banco = new QLabel(this);
        campo.banco->setObjectName(conPrefijo("banco", rango.columna));
        if (uso_ == Uso::periodo0) {
            campo.banco->setMinimumWidth(90);
            QFont letra = campo.banco->font();
            letra.setBold(true);
            campo.banco->setFont(letra);
        }
    }
    return campo;
}

void TCamposDecision::mostrarBancos(const QString& bancoA, const QString& bancoB) {
    bancoA_ = bancoA;
    bancoB_ = bancoB;
    for (const Campo& c : campos_) {
        if (c.banco) c.banco->setText(c.rango->banco == 'B' ? bancoB : bancoA);
        const QString ayuda = QString::fromUtf8(ayudaDecision(*c.rango, bancoA.toStdString(), bancoB.toStdString()));
        c.control->setToolTip(ayuda);
        c.titulo->setToolTip(ayuda);
    }
}

void TCamposDecision::mostrar(const TRegDecision& d) {
    for (const Campo& c : campos_) {
        if (!c.control->isEnabled()) continue;
        const int32_t valor = d.*(c.rango->campo);
        if (c.texto) {
            c.texto->setText(QString::number(valor));
        } else if (enRango(*c.rango, valor)) {
            c.lista->setCurrentIndex((valor - c.rango->minimo) / c.rango->paso);
        }
    }
}

std::optional<TRegDecision> TCamposDecision::leer() {
    TRegDecision r{};
    try {
        for (const Campo& c : campos_) {
            const int indice = c.lista ? c.lista->currentIndex() : -1;
            // No level chosen counts as the first one.
            r.*(c.rango->campo) = c.texto ? enteroDe(c.texto->text()) : c.rango->minimo + std::max(indice, 0) * c.rango->paso;
        }
    } catch (const std::exception& e) {
        mostrarError(window(), e);
        return std::nullopt;
    }
    for (const Campo& c : campos_) {
        if (enRango(*c.rango, r.*(c.rango->campo))) continue;
        rechazar(c);
        return std::nullopt;
    }
    return r;
}

std::optional<TRegDecision> TCamposDecision::leerSinMostrar() const {
    TRegDecision r{};
    for (const Campo& c : campos_) {
        const int indice = c.lista ? c.lista->currentIndex() : -1;
        int32_t valor = c.rango->minimo + std::max(indice, 0) * c.rango->paso;
        if (c.texto) {
            const std::optional<int32_t> leido = leerEntero(c.texto->text().trimmed().toStdString());
            if (!leido) return std::nullopt;
            valor = *leido;
        }
        if (!enRango(*c.rango, valor)) return std::nullopt;
        r.*(c.rango->campo) = valor;
    }
    return r;
}

TRegDecision TCamposDecision::leerComoEsta(TRegDecision base) const {
    for (const Campo& c : campos_) {
        if (c.lista) {
            if (c.lista->currentIndex() >= 0)
                base.*(c.rango->campo) = c.rango->minimo + c.lista->currentIndex() * c.rango->paso;
        } else if (const auto leido = leerEntero(c.texto->text().trimmed().toStdString())) {
            base.*(c.rango->campo) = *leido;
        }
    }
    return base;
}

void TCamposDecision::enfocarPrimero() {
    enfocar(campos_.front().control);
    // The field may have held the focus already, so no focus event selects it.
    if (campos_.front().texto) campos_.front().texto->selectAll();
}

void TCamposDecision::enfocar(QWidget* control) {
    const bool antes = sinComprobar_;
    sinComprobar_ = true;
    control->setFocus(Qt::OtherFocusReason);
    sinComprobar_ = antes;
}

void TCamposDecision::rechazar(const Campo& campo) {
    const bool antes = sinComprobar_;
    sinComprobar_ = true;
    mostrarMensaje(window(), mensajeRango(*campo.rango));
    if (campo.texto && uso_ == Uso::periodo && vuelveAlMaximo(*campo.rango))
        campo.texto->setText(QString::number(campo.rango->maximo));
    enfocar(campo.control);
    sinComprobar_ = antes;
}

void TCamposDecision::comprobarAlSalir(const Campo& campo) {
    if (sinComprobar_) return;
    sinComprobar_ = true;
    const auto valor = leerEntero(aCp1252(campo.texto->text()).value_or(std::string()));
    if (!valor && acotado(*campo.rango)) {
        dialogos().mensaje(window(), QStringLiteral("Error"),
                           QStringLiteral("Ud. ha colocado un valor incorrecto en %1").arg(nombreSinArticulo(*campo.rango)),
                           ServicioDialogos::Icono::advertencia, ServicioDialogos::Botones::ok);
    } else if (valor && !enRango(*campo.rango, *valor)) {
        rechazar(campo);
    }
    sinComprobar_ = false;
}

void TCamposDecision::pasarDeCampo(QObject* desde, bool atras) {
    const auto donde = std::find_if(campos_.begin(), campos_.end(), [desde](const Campo& c) { return c.control == desde; });
    if (donde == campos_.end()) return;
    const auto abierto = [](const Campo& c) { return c.control->isEnabled(); };
    if (atras) {
        const auto previo = std::find_if(std::make_reverse_iterator(donde), campos_.rend(), abierto);
        if (previo != campos_.rend()) previo->control->setFocus(Qt::BacktabFocusReason);
        return;
    }
    const auto siguiente = std::find_if(std::next(donde), campos_.end(), abierto);
    // Leaving the field this way runs its check, as Tab does.
    if (siguiente != campos_.end()) siguiente->control->setFocus(Qt::TabFocusReason);
    else emit despuesDelUltimo();
}

bool TCamposDecision::eventFilter(QObject* objeto, QEvent* evento) {
    auto* edit = qobject_cast<QLineEdit*>(objeto);
    switch (evento->type()) {
    case QEvent::KeyPress: {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        const bool pagina = tecla->key() == Qt::Key_PageDown || tecla->key() == Qt::Key_PageUp;
        if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
            pasarDeCampo(objeto, tecla->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
        if (pagina && uso_ == Uso::periodo) {
            emit otroEquipo(tecla->key() == Qt::Key_PageDown);
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
        if (edit) {
            // Typing replaces what the field holds, however the focus came.
            objeto->event(evento);  // virtual: the field's own handling first
            edit->selectAll();
            seleccionarAlSoltar_ = static_cast<QFocusEvent*>(evento)->reason() == Qt::MouseFocusReason;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (edit && seleccionarAlSoltar_) {
            // The press of the click that gave the focus placed the cursor.
            seleccionarAlSoltar_ = false;
            objeto->event(evento);  // virtual: the field's own handling first
            if (!edit->hasSelectedText()) edit->selectAll();
            return true;
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(objeto, evento);
}
