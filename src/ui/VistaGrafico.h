#pragma once
// What the season's screens (Evolución, Clase) share: the chart's view, the
// history read with its failure shown, the company's line made to stand out,
// and the computer's mark beside a name.

#include "juego/Evolucion.h"

#include <QString>

class QChart;
class QChartView;
class QWidget;
class TJuego;

/// "Todavía no hay resultados: …", for a game with no period run.
QString textoSinHistorial();

/// A chart view, antialiased, named "vistaGrafico".
QChartView* crearVistaGrafico(QWidget* padre);

/// Puts grafico in vista and deletes the one it replaces.
void ponerGrafico(QChartView* vista, QChart* grafico);

/// The history as far as it can be read; a failure is shown and leaves it empty.
TEvolucion leerEvolucion(TJuego& juego, QWidget* pantalla);

/// Company empresa's line (its place in TEvolucion::empresas) drawn thick;
/// nothing for another number.
void resaltarLinea(QChart* grafico, int empresa);

/// " (PC)" and its tooltip "Empresa de la computadora".
QString marcaComputadora();
QString ayudaComputadora();
