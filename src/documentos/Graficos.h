#pragma once
// The season's line charts (Qt Charts), shared by the window, the teacher's
// PDF and the tool: one line per company over the periods, for one measure
// of the history. Drawing needs a QApplication (see asegurarAplicacionGrafica)
// and, as every graphics scene, the program's own thread.

#include "juego/Evolucion.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <filesystem>
#include <vector>

class QChart;
class TSistemaArchivos;
class QPainter;

/// Beyond this many lines the chart's own legend is hidden: the screens
/// list the companies with their colours instead.
inline constexpr int maximoLeyenda = 12;

/// The smallest picture the tool writes.
inline const QSize tamanoMinimoGrafico{1280, 720};

/// The colour of company i's line, the same in every chart.
QColor colorDeEmpresa(std::size_t empresa);

/// A line chart of medida with a line per company (each named after its
/// team) whose entry of visibles is true, all when visibles is empty:
/// x is the period, y the value. A bankruptcy far beyond the others' values
/// does not set the scale: its line leaves through the edge, where a
/// triangle (a series with the property "recorte") marks it. The caller owns it.
QChart* crearGrafico(const TEvolucion& e, TMedida medida, const std::vector<bool>& visibles = {});

/// What hovering over punto of company empresa's line tells: the company,
/// the nearest period it has a point in and its value.
QString textoDelPunto(const TEvolucion& e, std::size_t empresa, TMedida medida, QPointF punto);

/// A value as the charts show it: thousands grouped, the share with two decimals.
QString textoDelValor(TMedida medida, double valor);

/// Draws grafico (taken over and deleted) into destino of pintor, laid out
/// at the size of destino.
void dibujarGrafico(QChart* grafico, QPainter& pintor, const QRectF& destino);

enum class TFormatoGrafico { png, svg };

/// Writes the chart of medida for the companies in visibles as a picture of
/// tamano pixels through sa, replacing archivo only once it is complete and
/// never through a link. ErrorArchivo when it cannot be written.
void guardarGrafico(TSistemaArchivos& sa, const TEvolucion& e, TMedida medida, const std::vector<bool>& visibles,
                    QSize tamano, TFormatoGrafico formato, const std::filesystem::path& archivo);

/// Every measure's chart of the game's whole history as a PNG of tamano
/// (at least tamanoMinimoGrafico) in carpeta, created when missing, named
/// after archivoMedida. ErrorJuego when nothing is filed yet.
std::vector<std::filesystem::path> escribirGraficos(TJuego& juego, const std::filesystem::path& carpeta,
                                                    QSize tamano = tamanoMinimoGrafico);

/// Every measure's chart in a grid filling area under one legend naming every
/// company: the last page of the teacher's PDF.
void dibujarPaginaDeGraficos(const TEvolucion& e, QPainter& pintor, const QRectF& area);
