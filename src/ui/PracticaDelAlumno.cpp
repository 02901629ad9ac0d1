// The main window's practice: a game of the student's company against the
// computer's, set up in a folder of its own, and what the window says when
// the student's company goes bankrupt.

#include "ui/UPrincipal.h"

#include "documentos/TextoQt.h"
#include "juego/Juego.h"
#include "store/CarpetaDatos.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "ui/UEquipos.h"

#include <QDateTime>
#include <QStatusBar>

#include <algorithm>
#include <exception>

void TFPrincipal::PracticaClick() {
    if (dialogos().mensaje(this, QStringLiteral("Atención"),
                           QStringLiteral("La práctica se juega en una carpeta nueva; el juego abierto queda como "
                                          "está. ¿Desea comenzarla?"),
                           ServicioDialogos::Icono::pregunta,
                           ServicioDialogos::Botones::siNo) != ServicioDialogos::Respuesta::si)
        return;
    const auto nombre = dialogos().pedirTexto(this, QStringLiteral("Práctica"), QStringLiteral("Nombre de su empresa:"),
                                              QStringLiteral("Mi empresa"));
    if (!nombre) return;
    const auto pedido = pedirEmpresasComputadora(this, QStringLiteral("Práctica"),
                                                 QStringLiteral("¿Cuántas empresas juega la computadora?"),
                                                 QStringLiteral("Estilo de la computadora (mezcla: uno de cada uno):"),
                                                 TFEquipos::maximoEquipos - 1);
    if (!pedido) return;
    const QString limpio = nombre->trimmed();
    const auto equipo = aCp1252(limpio);
    if (limpio.isEmpty() || !equipo || limpio.size() > static_cast<qsizetype>(sizeof(cadena::texto))) {
        mostrarMensaje(this, QStringLiteral("El nombre «%1» no sirve para una empresa: de 1 a 50 letras que el "
                                            "juego pueda guardar.")
                                 .arg(limpio));
        return;
    }
    // Never over a game: the practice gets a folder of its own and opens it.
    const auto carpeta = crearCarpetaDePractica();
    if (!carpeta) return;
    if (!abrirCarpetaDeJuego(*carpeta)) {
        std::error_code ignorado;
        std::filesystem::remove(aRuta(*carpeta), ignorado);  // still empty
        return;
    }
    try {
        juego_->crearPractica(*equipo, static_cast<std::size_t>(pedido->cantidad), pedido->estilo, semillaNueva());
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    mostrarJuego();
    statusBar()->showMessage(QStringLiteral("Práctica lista: decida el período 1, simule y lea su informe."));
    PeriodoClick();
}

std::optional<QString> TFPrincipal::crearCarpetaDePractica() {
    try {
        const std::filesystem::path practicas = carpetaDeUsuario() / aRuta(QStringLiteral("Prácticas"));
        // Dots for the time: a colon is not allowed in a Windows folder name.
        const QString momento = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
        for (int n = 1; n <= 100; ++n) {
            const std::filesystem::path ruta =
                practicas / aRuta(n == 1 ? momento : QStringLiteral("%1 (%2)").arg(momento).arg(n));
            if (std::filesystem::exists(ruta)) continue;
            crearCarpetaDeJuego(ruta, juego_->sistemaArchivos());
            return deRuta(ruta);
        }
        mostrarMensaje(this, QStringLiteral("Ya hay demasiadas prácticas de este momento en «%1».").arg(deRuta(practicas)));
    } catch (const std::exception& e) {
        mostrarError(this, e);
    }
    return std::nullopt;
}

void TFPrincipal::avisarQuiebraDelAlumno(int periodo) {
    QString alumno;
    try {
        const auto equipo = juego_->equipoDePractica();
        if (!equipo) return;
        const TArchivoPeriodo archivo = juego_->periodoDelHistorial(periodo);
        const bool quebro = std::any_of(archivo.industria.begin(), archivo.industria.end(),
                                        [&](const TFilaIndustria& fila) { return fila.quebrada && fila.empresa == *equipo; });
        if (!quebro) return;
        alumno = aQString(*equipo);
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return;
    }
    const QString volver = QStringLiteral("Volver atrás: deshacer el período %1 y decidirlo de nuevo").arg(periodo);
    const QString nueva = QStringLiteral("Comenzar una práctica nueva");
    const auto eleccion = dialogos().elegirOpcion(
        this, QStringLiteral("Práctica"),
        QStringLiteral("Su empresa «%1» quebró en el período %2: la práctica sigue sin ella.\n¿Qué desea hacer?")
            .arg(alumno)
            .arg(periodo),
        {volver, nueva, QStringLiteral("Solo mirar los resultados")}, 0);
    if (eleccion == volver) volverAtras();
    else if (eleccion == nueva) PracticaClick();
}
