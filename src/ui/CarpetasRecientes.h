#pragma once
// TCarpetasRecientes: the last game folders opened, most recent first and at
// most `maximo`, kept in the user's settings, and their items in a menu
// ("&1 name (folder)", object names mnuReciente1 …) placed just before one
// of its items. Choosing an item emits elegida; what opening a folder means
// is the window's business.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;

class TCarpetasRecientes : public QObject {
    Q_OBJECT

public:
    static constexpr int maximo = 5;

    /// Shows the stored list in menu, before antesDe.
    TCarpetasRecientes(QMenu* menu, QAction* antesDe, QObject* padre);

    /// The list as stored.
    static QStringList lista();

    /// Puts carpeta first (once) and drops what passes the maximum.
    void recordar(const QString& carpeta);
    /// Takes carpeta out of the list.
    void olvidar(const QString& carpeta);

signals:
    void elegida(const QString& carpeta);
    /// The settings could not be written; mensaje says where.
    void noSeGuardo(const QString& mensaje);

private:
    void guardar(const QStringList& recientes);
    void mostrar(const QStringList& recientes);

    QMenu* menu_;
    QAction* antesDe_;
    QList<QAction*> items_;
};
