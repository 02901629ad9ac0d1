#pragma once
// Support for the tests of the set-up screens: a fresh data folder per test,
// finding the windows a menu item or a button opened, typing into boxes, and
// reading back the game files the screens wrote.

#include "store/CarpetaDatos.h"
#include "store/Datos_UD.h"
#include "store/Registros.h"
#include "JuegoDePrueba.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <stdexcept>
#include <string>

/// An empty data folder for one test; the previous folder comes back when it
/// is destroyed.
class CarpetaDeJuego {
public:
    CarpetaDeJuego() : anterior_(apoyo::rutaActual()) {
        usarCarpetaDePrueba(std::filesystem::path(temporal_.path().toStdString()));
    }
    ~CarpetaDeJuego() { usarCarpetaDePrueba(anterior_); }
    CarpetaDeJuego(const CarpetaDeJuego&) = delete;
    CarpetaDeJuego& operator=(const CarpetaDeJuego&) = delete;

    QString ruta(const QString& nombre) const { return temporal_.filePath(nombre); }
    bool existe(const QString& nombre) const { return QFile::exists(ruta(nombre)); }
    /// The file's bytes; empty when it is missing.
    QByteArray leer(const QString& nombre) const {
        QFile archivo(ruta(nombre));
        return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
    }
    void escribir(const QString& nombre, const QByteArray& bytes) const {
        QFile archivo(ruta(nombre));
        if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate)) archivo.write(bytes);
    }
    /// Every file of the folder with its bytes, to prove that nothing changed
    /// (the empty lock files that any access creates are not game content).
    QMap<QString, QByteArray> contenido() const {
        QMap<QString, QByteArray> archivos;
        for (const QString& nombre : QDir(temporal_.path()).entryList(QDir::Files))
            if (!nombre.endsWith(QStringLiteral(".LCK"))) archivos[nombre] = leer(nombre);
        return archivos;
    }

private:
    QTemporaryDir temporal_;
    std::filesystem::path anterior_;
};

/// The user's data folder moved to a test's folder while it lives.
class DatosDeUsuarioEn {
public:
    explicit DatosDeUsuarioEn(const QString& carpeta) : anterior_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(carpeta));
    }
    ~DatosDeUsuarioEn() {
        if (anterior_.isNull()) qunsetenv("XDG_DATA_HOME");
        else qputenv("XDG_DATA_HOME", anterior_);
    }

private:
    QByteArray anterior_;
};

/// The stored parameters record, zero when there is none.
inline TRegDatosIniciales parametrosGuardados() {
    TRegDatosIniciales r{};
    TDatosjuego(carpetaDePrueba()).leerDatosIniciales(r);
    return r;
}

inline QByteArray bytesDe(const TRegDatosIniciales& r) {
    return QByteArray(reinterpret_cast<const char*>(&r), sizeof r);
}

/// Runs the deletions that closed windows asked for.
inline void descartarCerradas() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

/// The visible window of type T, or nullptr.
template <class T>
T* ventanaVisible() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = qobject_cast<T*>(w); v && v->isVisible()) return v;
    return nullptr;
}

/// How many windows of type T exist, shown or hidden.
template <class T>
int ventanasVivas() {
    descartarCerradas();
    int cantidad = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<T*>(w)) ++cantidad;
    return cantidad;
}

/// The control called nombre inside ventana. A missing one throws, which
/// fails the test that asked for it.
template <class T>
T* control(const QWidget* ventana, const char* nombre) {
    T* c = ventana ? ventana->findChild<T*>(QString::fromLatin1(nombre)) : nullptr;
    if (!c) throw std::runtime_error(std::string("falta el control ") + nombre);
    return c;
}

/// Clicks the push button called boton inside ventana.
inline void pulsar(const QWidget* ventana, const char* boton) {
    QTest::mouseClick(control<QPushButton>(ventana, boton), Qt::LeftButton);
}

/// "a|b", the texts of columns a and b of every row of the list, top to bottom.
inline QStringList filasDeLista(const QTreeWidget* lista, int a, int b) {
    QStringList texto;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        texto << lista->topLevelItem(i)->text(a) + QLatin1Char('|') + lista->topLevelItem(i)->text(b);
    return texto;
}

/// Replaces the box's text by typing it, as the game master would.
inline void escribir(QLineEdit* caja, const QString& texto) {
    caja->selectAll();
    QTest::keyClick(caja, Qt::Key_Delete);
    for (QChar letra : texto) {
        // QTest types ASCII only; other letters arrive as a key with text.
        if (letra.unicode() < 128)
            QTest::keyClick(caja, letra.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, caja, Qt::Key_unknown, QString(letra), Qt::NoModifier);
    }
}

/// Shows the window and makes it the active one, so that focus moves
/// (leaving a box) happen as on the desktop.
inline bool activar(QWidget* ventana) {
    ventana->show();
    ventana->activateWindow();
    return QTest::qWaitForWindowActive(ventana);
}

/// The menu item called nombre of the main window.
inline QAction* item(const QWidget* principal, const char* nombre) {
    return principal->findChild<QAction*>(QString::fromLatin1(nombre));
}

/// A QTest program on the offscreen platform (unless another was asked for).
#define CORVELIAN_PRUEBA_PANTALLAS(Clase)                                         \
    int main(int argc, char** argv) {                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                               \
        QApplication aplicacion(argc, argv);                                       \
        QApplication::setApplicationName(QStringLiteral("CORVELIAN V2.0"));       \
        Clase prueba;                                                              \
        return QTest::qExec(&prueba, argc, argv);                                  \
    }
