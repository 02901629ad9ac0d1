#pragma once
// The QR code of an address, so that a phone's camera opens the portal.

#include <QImage>
#include <QString>

/// The QR code of texto (UTF-8, error correction M) with its quiet zone of
/// four modules, each module escala pixels wide; a null image when the text
/// cannot be encoded.
QImage imagenQr(const QString& texto, int escala = 6);
