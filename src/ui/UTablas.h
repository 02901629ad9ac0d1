#pragma once
// TFTablas ("ADMINISTRACIÓN TABLAS"): the three figures that describe the
// demand table: the divisor of its numbers, the price its rows start at and
// the marketing step between its columns. Saving hands the last two to the
// screen that opened it (the set-up, which stores them with the new game);
// this screen writes nothing. The orders calculation does not read them.

#include <QWidget>

#include <cstdint>
#include <functional>

class QLineEdit;
class QPushButton;

class TFTablas : public QWidget {
    Q_OBJECT

public:
    using TGuardar = std::function<void(int32_t columnaPrecios, int32_t intervaloMarketing)>;

    /// On top of padre (the initial data screen), centred on the screen;
    /// guardar receives the two figures of a save.
    TFTablas(QWidget* padre, TGuardar guardar);

public slots:
    void btnGuardarClick();
    void btnCancelarClick();

private:
    void FormCreate();

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* btnGuardar = nullptr;
    QPushButton* btnCancelar = nullptr;
    TGuardar guardar_;
};
