#pragma once
// The program's pictures are JPEG files compiled into it as Qt resources and
// decoded with libjpeg, so they show the same whatever image plug-ins the
// desktop's Qt has.

#include <QByteArray>
#include <QImage>
#include <QString>

/// Decodes a JPEG held in memory into an RGB image. A null image when the
/// data is not a JPEG libjpeg can read (nothing is thrown).
QImage decodificarJpeg(const QByteArray& datos);

/// Decodes the JPEG of a resource path such as ":/imagenes/portada.jpg";
/// a null image when the resource is missing or unreadable.
QImage imagenDeRecurso(const QString& ruta);
