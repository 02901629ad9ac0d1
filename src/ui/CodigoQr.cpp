#include "ui/CodigoQr.h"

#include <qrencode.h>

#include <memory>

QImage imagenQr(const QString& texto, int escala) {
    const QByteArray bytes = texto.toUtf8();
    const std::unique_ptr<QRcode, void (*)(QRcode*)> codigo(
        QRcode_encodeString8bit(bytes.constData(), 0, QR_ECLEVEL_M), QRcode_free);
    if (!codigo || escala < 1) return {};
    constexpr int margen = 4;
    const int lado = codigo->width + 2 * margen;
    QImage imagen(lado * escala, lado * escala, QImage::Format_Mono);
    imagen.fill(Qt::color1);
    imagen.setColor(1, qRgb(255, 255, 255));
    imagen.setColor(0, qRgb(0, 0, 0));
    imagen.fill(1);
    for (int y = 0; y < codigo->width; ++y)
        for (int x = 0; x < codigo->width; ++x) {
            // The low bit of each module is its colour: 1 dark.
            if (!(codigo->data[y * codigo->width + x] & 1)) continue;
            for (int dy = 0; dy < escala; ++dy)
                for (int dx = 0; dx < escala; ++dx)
                    imagen.setPixel((x + margen) * escala + dx, (y + margen) * escala + dy, 0);
        }
    return imagen;
}
