#pragma once
// TCamposDecision: the ten decision fields of the decision screens, built
// from the table of decision ranges. Each field is named by its key and
// captioned by its title, with its help as tooltip; loans and repayments show
// their bank's name beside them. Enter moves to the next open field and
// Shift+Enter back; entering a field selects its text. The fields convert to
// and from a decision record, and reading them checks every range, showing
// the table's message and giving the faulty field the focus.

#include "engine/ValidarDecision.h"
#include "store/Registros.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;

class TCamposDecision : public QWidget {
    Q_OBJECT

public:
    /// What differs between the two screens that hold the fields.
    enum class Uso {
        /// The period screen: the production level opens on its first item;
        /// a field is checked when the focus leaves it, and price and
        /// marketing out of range fall back to their upper bound; PgDn and
        /// PgUp ask for another team.
        periodo,
        /// The period-0 screen: the fields open empty with no level chosen;
        /// the repayments stay at 0, closed; nothing is checked before saving.
        periodo0,
    };

    TCamposDecision(Uso uso, QWidget* padre);

    /// The names of banks A and B, beside loans and repayments and in their help.
    void mostrarBancos(const QString& bancoA, const QString& bancoB);
    const QString& bancoA() const { return bancoA_; }
    const QString& bancoB() const { return bancoB_; }

    /// Puts the record into every open field (closed ones keep their text).
    void mostrar(const TRegDecision& decision);
    /// The fields as a record. A field that is not a whole number or out of
    /// its range is shown to the game master (the range fault focusing the
    /// field) and gives nothing.
    std::optional<TRegDecision> leer();
    /// The fields as a record when every one is a whole number in its range,
    /// without showing anything: for what the screen says while typing.
    std::optional<TRegDecision> leerSinMostrar() const;
    /// The fields as typed, out of range or not, for the review grid that
    /// marks them; a field that is not a whole number keeps base's value.
    TRegDecision leerComoEsta(TRegDecision base) const;
    /// The first field takes the focus, its text selected, without checking
    /// the field it leaves.
    void enfocarPrimero();

signals:
    /// Enter on the last open field.
    void despuesDelUltimo();
    /// PgDn (adelante) or PgUp on a field, on the period screen.
    void otroEquipo(bool adelante);
    /// The game master changed a field.
    void editado();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct Campo {
        const TRangoDecision* rango = nullptr;
        QWidget* control = nullptr;
        QLineEdit* texto = nullptr;  ///< every field but the production level
        QComboBox* lista = nullptr;  ///< the production level
        QLabel* titulo = nullptr;
        QLabel* banco = nullptr;     ///< loans and repayments
    };

    Campo crearCampo(const TRangoDecision& rango);
    /// The check of a field the focus left (period screen only).
    void comprobarAlSalir(const Campo& campo);
    /// Shows a field's range message and gives it the focus back.
    void rechazar(const Campo& campo);
    void enfocar(QWidget* control);
    void pasarDeCampo(QObject* desde, bool atras);

    Uso uso_;
    std::vector<Campo> campos_;
    QString bancoA_;
    QString bancoB_;
    /// Set while the fields move the focus or show a message themselves, so
    /// that those moves check no field.
    bool sinComprobar_ = false;
    /// A click gave a field the focus: its release selects the text.
    bool seleccionarAlSoltar_ = false;
};
