// CORVELIAN: the game master's desktop program.

#include "store/CarpetaDatos.h"
#include "ui/ServicioDialogos.h"
#include "ui/UPrincipal.h"

#include <QApplication>

#include <clocale>
#include <exception>

int main(int argc, char* argv[]) {
    QApplication aplicacion(argc, argv);
    // Numbers are read and written with the desktop's decimal separator.
    // QApplication already takes the locale from the environment on Unix;
    // saying so here keeps it true whatever the toolkit does.
    std::setlocale(LC_ALL, "");
    QApplication::setApplicationName(QStringLiteral("CORVELIAN V2.0"));

    traducirQtAlEspanol();

    // The game opened at start is the default one, as for the tool: beside
    // a program run from a folder it can write, else in the user's data
    // folder. The other games are in the "Juego" menu.
    std::filesystem::path carpeta;
    try {
        carpeta = carpetaDatosPorOmision();
    } catch (const std::exception& e) {
        dialogos().mensaje(nullptr, QStringLiteral("CORVELIAN V2.0"), QString::fromUtf8(e.what()),
                           ServicioDialogos::Icono::advertencia, ServicioDialogos::Botones::ok);
        return 1;
    }

    TFPrincipal principal(carpeta);
    principal.showMaximized();
    // The game in the folder is offered at once: its periods stay closed until it is resumed.
    principal.ofrecerReanudar();
    return aplicacion.exec();
}
